#pragma once

#include <QAbstractScrollArea>
#include <map>
#include <memory>
#include <optional>

#include "core/model/Point.h"
#include "gui/editor/DiagramLink.h"
#include "gui/editor/LinkPath.h"

namespace mardo {

class CBlockDlg;
class CBlockWindow;
class CModel;
class IBlockWindowOwner;

// The diagram: the main window's client area, on which every block of the model is a small
// window and the links are drawn on the background. The diagram has its own coordinates; the
// view shows it shifted by the scroll positions, which run in steps of 20 pixels.
class CDiagramView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kStep = 20;
    static constexpr int kMaxVertical = 500;
    static constexpr int kMaxHorizontal = 250;

    CDiagramView(const CModel& model, IBlockWindowOwner& owner, QWidget* pParent = nullptr);
    ~CDiagramView() override;

    // A window for the block, shown at the block's diagram position.
    CBlockWindow& AddWindow(CBlockDlg& block);
    void RemoveWindow(const CBlockDlg& block);
    void RemoveAllWindows();
    CBlockWindow* WindowOf(const CBlockDlg& block) const;
    // The topmost block window under a point of the screen, or null.
    CBlockWindow* WindowAt(QPoint ptGlobal) const;
    // Whether a point of the screen lies on the diagram's empty background.
    bool IsBackgroundAt(QPoint ptGlobal) const;

    // Moves a block window within the diagram while it is dragged; the block keeps its position
    // until the drag ends (DiagramPosition tells the window's).
    void MoveWindow(CBlockWindow& window, QPoint ptClientTopLeft);
    CPoint DiagramPosition(const CBlockWindow& window) const;
    // Brings the windows in line with the model after it changed: a window for every block and
    // none for a block that has gone, each at its block's position and fitted to its rows; a
    // selected link that no longer exists is dropped.
    void FollowModel();
    // The whole diagram, every block and link wherever it is scrolled, drawn onto a painter from
    // its origin; Extent is the part of the diagram it shows, the blocks with a margin.
    void Render(QPainter& painter) const;
    QRect Extent() const;
    QPoint ScrollOffset() const;
    // The diagram position of a client point, within the diagram's bounds.
    CPoint ToDiagram(QPoint ptClient) const;
    // A client point near ptClient where a window of the size overlaps no block window and is
    // seen whole: down and right of it in steps, else the first such place of the visible part
    // in reading order. Where none is free, the first of those places that is no window's
    // top-left corner, so that the new window is never hidden exactly under another.
    QPoint FreePlace(QPoint ptClient, QSize size) const;
    void ResetScroll();

    // The links as drawn now, in list order.
    std::optional<SLinkPath> PathOf(const SDiagramLink& link) const;
    std::optional<SDiagramLink> LinkAt(QPoint ptClient) const;
    const SDiagramLink& GetSelectedLink() const { return m_selectedLink; }
    void SetSelectedLink(const SDiagramLink& link);

    // Whether the block takes part in a link: a linked output, or a named block's output that
    // leads to it. An unnamed block never does.
    bool IsLinked(const CBlockDlg& block) const;

signals:
    void backgroundPressed(QPoint ptClient);
    void backgroundDoubleClicked(QPoint ptClient);
    // From the keyboard the point is the client area's top-left corner.
    void backgroundContextMenu(QPoint ptClient);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    void PaintLinks(QPainter& painter, bool bShowSelection) const;

    // Windows are deleted through the event loop, so that a window may delete itself from its
    // own menu.
    struct SDeleteLater {
        void operator()(CBlockWindow* pWindow) const;
    };
    using CWindowPtr = std::unique_ptr<CBlockWindow, SDeleteLater>;

    const CModel& m_model;
    IBlockWindowOwner& m_owner;
    std::map<const CBlockDlg*, CWindowPtr> m_windows;
    SDiagramLink m_selectedLink;
};

}  // namespace mardo
