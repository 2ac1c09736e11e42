#pragma once

#include <cstdint>

#include "core/model/BlockDlg.h"
#include "core/sim/TransactList.h"

namespace mardo {

// Blocks write their pass work once, as a template on the pass (EPass), and the three pass
// operations of a kind instantiate it.

// Calls pass P on an output's destination with the output's list. An unlinked output (only a
// hand-made file can leave one behind a named block) is skipped: its transacts stay put.
template <EPass P>
inline void CallPass(CBlockDlg* pDest, CTransactList* pList, std::uint32_t nTime) {
    // A block where transacts leave does nothing when handed nothing.
    if (pDest == nullptr || (pList->IsEmpty() && pDest->IsExit())) {
        return;
    }
    if constexpr (P == EPass::kArrival) {
        pDest->ArrivalPass(pList, nTime);
    } else if constexpr (P == EPass::kService) {
        pDest->ServicePass(pList, nTime);
    } else {
        pDest->FinalPass(pList, nTime);
    }
}

}  // namespace mardo
