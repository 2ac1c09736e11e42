#pragma once

#include <QPoint>

namespace mardo {

class CBlockDlg;
class CBlockWindow;
class CModel;

// What a block window asks of the diagram that holds it: selection, moves, links and the
// block commands.
class IBlockWindowOwner {
public:
    virtual ~IBlockWindowOwner() = default;

    // Makes the block the selected one (nothing if it already is).
    virtual void SelectBlock(CBlockDlg& block) = 0;
    virtual void ClearLinkSelection() = 0;
    // Whether the block takes part in a link that is drawn.
    virtual bool IsLinked(const CBlockDlg& block) const = 0;
    // The model being edited, whose rules the window asks.
    virtual const CModel& GetEditedModel() const = 0;
    // Moves the window to a place in the diagram's client area, as far as the diagram reaches,
    // while it is dragged; the block moves with the model when the drag ends.
    virtual void MoveBlockWindow(CBlockWindow& window, QPoint ptClientTopLeft) = 0;
    virtual void BlockWindowDropped(CBlockWindow& window) = 0;
    // The block window under a point of the screen, or null.
    virtual CBlockWindow* BlockWindowAt(QPoint ptGlobal) const = 0;
    // Makes a link dragged between two rows; it becomes the selected link.
    virtual void MakeLink(CBlockDlg& source, int nOutput, CBlockDlg& destination) = 0;
    // The links have changed in a way that needs them drawn again.
    virtual void RepaintLinks() = 0;

    // The commands of a block window; each answers or acts on the given block.
    virtual bool RenameBlock(CBlockDlg& block) = 0;
    virtual void ChangeOutputLink(CBlockDlg& block, int nOutput) = 0;
    virtual void EditBlockProperties(CBlockDlg& block) = 0;
    virtual void CopyBlock(const CBlockDlg& block) = 0;
    virtual void DeleteBlock(CBlockDlg& block) = 0;
};

}  // namespace mardo
