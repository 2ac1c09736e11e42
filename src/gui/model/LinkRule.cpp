#include "gui/model/LinkRule.h"

#include "core/model/BlockDlg.h"
#include "gui/model/RowAnchors.h"

namespace mardo {

bool CanDropLink(const CBlockDlg& source, int nDragRow, const CBlockDlg* pTarget, int nTargetRow) {
    if (!source.IsNamed() || pTarget == nullptr || !pTarget->IsNamed()) {
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
        return pCurrent == nullptr || pCurrent == &source;
    }
    return pTarget->HasInput();
}

}  // namespace mardo
