#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <optional>

#include "core/model/BlockView.h"
#include "gui/model/BlockImages.h"
#include "gui/model/CaptionScroller.h"
#include "gui/model/RowAnchors.h"

namespace mardo {

class CBlockDlg;
class IBlockWindowOwner;

// A block on the diagram: a caption with the kind title and, below it, one row for the name,
// one for the input (if the block has one) and one per output. Links start and end at the rows;
// the caption moves the window. The window is a view of its core block: the block tells it when
// it is selected, renamed or given another number of outputs.
class CBlockWindow final : public QWidget, public IBlockView {
    Q_OBJECT

public:
    static constexpr int kFrame = 1;
    static constexpr int kCaptionHeight = 18;
    static constexpr int kRowHeight = 17;
    static constexpr int kColumnWidth = 115;
    static constexpr int kListPadding = 10;

    CBlockWindow(CBlockDlg& block, IBlockWindowOwner& owner, QWidget* pParent);
    ~CBlockWindow() override;

    CBlockDlg& GetBlock() const { return *m_pBlock; }
    // Cuts the window from its block before the block is destroyed; the window is hidden and
    // waits for its own deletion.
    void Detach();

    // Rows: index 0 is the name row, then the input row, then the outputs.
    int GetRowCount() const;
    QString GetRowText(int nIndex) const;
    CBlockImages::EImage GetRowImage(int nIndex) const;
    int RowIndexOf(int nRowCode) const;
    // The row code under a point of the window: kNameRow also for no row at all.
    int HitTestRow(QPoint ptClient) const;
    // The middle of a row, in the window's coordinates.
    QPoint RowCenter(int nRowCode) const;
    // The anchors of a row in the parent's coordinates, with the window at its place or at a
    // proposed top-left corner.
    SRowAnchors GetRowAnchors(int nRowCode) const { return GetRowAnchors(nRowCode, pos()); }
    SRowAnchors GetRowAnchors(int nRowCode, QPoint ptTopLeft) const;
    void FitToRows();
    bool IsFitted() const { return size() == FittedSize(); }
    const QString& GetCaption() const { return m_strCaption; }
    bool IsDraggingLink() const { return m_nMode == EMouseMode::kLinkDrag; }
    bool IsDropRefused() const { return m_bRefused; }

    // Draws the window as an unselected block would look, for a picture of the diagram.
    void RenderPlain(QPainter& painter, QPoint ptAt);

    // The size of the window of a block: its caption and its rows.
    static QSize FittedSizeOf(const CBlockDlg& block);

    // The label of output k of a block with nCount outputs.
    static QString OutputLabel(int k, int nCount);

    void OnSelected() override;
    void OnDeselected() override;
    void OnRenamed() override;
    void OnOutputCountChanged() override;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;

private:
    enum class EMouseMode { kNone, kMove, kLinkPending, kLinkDrag };

    QSize FittedSize() const;
    int RowCodeOf(int nIndex) const;
    int RowIndexAt(QPoint ptClient) const;
    QRect RowRect(int nIndex) const;
    bool ShowsSelection() const;
    bool InCaption(QPoint ptClient) const { return ptClient.y() < kFrame + kCaptionHeight; }
    void PaintCaption(QPainter& painter);
    void PaintRows(QPainter& painter);

    void StartLinkDrag();
    // Whether the link may be dropped at the point, with the target block and its row.
    bool JudgeDrop(QPoint ptGlobal, CBlockDlg*& pTarget, int& nTargetRow) const;
    void TrackLinkDrag(QPoint ptGlobal);
    void FinishLinkDrag(QPoint ptGlobal);
    void EndDragCursor();

    CBlockDlg* m_pBlock;
    IBlockWindowOwner& m_owner;
    QString m_strCaption;
    std::optional<CCaptionScroller> m_scroller;
    QBasicTimer m_captionTimer;
    int m_nCurrentRow = 0;

    EMouseMode m_nMode = EMouseMode::kNone;
    QPoint m_ptGrab;
    int m_nDragRow = kNameRow;
    bool m_bRefused = false;
    bool m_bCursorSet = false;
    bool m_bPlain = false;
};

}  // namespace mardo
