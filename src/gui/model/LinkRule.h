#pragma once

namespace mardo {

class CBlockDlg;

// Whether a link dragged from a row of the source block may be dropped on the target's row:
// from the input onto another named block's output that is free or already leads here; from an
// output onto another named block that has an input. Over the source itself only its own row is
// allowed (dropping there does nothing). An unnamed source links nothing.
bool CanDropLink(const CBlockDlg& source, int nDragRow, const CBlockDlg* pTarget, int nTargetRow);

}  // namespace mardo
