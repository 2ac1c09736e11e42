#include "gui/model/LinkRule.h"

#include "core/model/Model.h"
#include "gui/model/RowAnchors.h"

namespace mardo {

bool CanDropLink(const CModel& model, const CBlockDlg& source, int nDragRow,
                 const CBlockDlg* pTarget, int nTargetRow) {
    if (!source.IsNamed() || pTarget == nullptr) {
        return false;
    }
    if (pTarget == &source) {
        return nTargetRow == nDragRow;
    }
    if (nDragRow == kInputRow) {
        if (nTargetRow < 0) {
            return false;
        }
        const CBlockDlg* pCurrent = pTarget->GetOutLink(nTargetRow);
        return (pCurrent == nullptr || pCurrent == &source) &&
               model.CanLink(*pTarget, nTargetRow, &source);
    }
    return model.CanLink(source, nDragRow, pTarget);
}

}  // namespace mardo
