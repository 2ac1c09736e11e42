#pragma once

#include <QPoint>

namespace mardo {

class CBlockDlg;

// What the block palette asks of the main window.
class IPaletteOwner {
public:
    virtual ~IPaletteOwner() = default;

    // Whether a block dropped at a point of the screen would land on the diagram's background.
    virtual bool IsDropPlace(QPoint ptGlobal) const = 0;
    // Adds a copy of the prototype at a point of the screen, or at the visible top-left corner
    // of the diagram.
    virtual void AddBlockAt(const CBlockDlg& prototype, QPoint ptGlobal) = 0;
    virtual void AddBlockAtTopLeft(const CBlockDlg& prototype) = 0;
    // The palette was closed with its close box.
    virtual void PaletteClosed() = 0;
};

}  // namespace mardo
