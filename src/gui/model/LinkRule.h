#pragma once

namespace mardo {

class CBlockDlg;
class CModel;

// Whether a link dragged from a row of the source block may be dropped on the target's row:
// from the input onto an output that is free or already leads here, from an output onto a
// block, as far as the model allows that link. Over the source itself only its own row is
// allowed (dropping there does nothing). An unnamed source links nothing.
bool CanDropLink(const CModel& model, const CBlockDlg& source, int nDragRow,
                 const CBlockDlg* pTarget, int nTargetRow);

}  // namespace mardo
