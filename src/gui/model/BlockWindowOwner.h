#pragma once

#include <QPoint>

namespace mardo {

class CBlockDlg;
class CBlockWindow;

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
    // Moves the window to a place in the diagram's client area, as far as the diagram reaches.
    virtual void MoveBlockWindow(CBlockWindow& window, QPoint ptClientTopLeft) = 0;
    // The block window under a point of the screen, or null.
    virtual CBlockWindow* BlockWindowAt(QPoint ptGlobal) const = 0;
    // A link has been made or changed: it becomes the selected link.
    virtual void LinkCreated(CBlockDlg& source, int nOutput, CBlockDlg& destination) = 0;
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
