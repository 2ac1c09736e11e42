#pragma once

#include <cstdint>

#include "model/BlockDlg.h"

namespace mardo {

// The three passes of a tick. Blocks write their pass work once, as a template on the pass,
// and the three pass operations of a kind instantiate it.
enum class EPass { kArrival, kService, kFinal };

// Calls pass P on an output's destination with the output's list. An unlinked output (only a
// hand-made file can leave one behind a named block) is skipped: its transacts stay put.
template <EPass P>
inline void CallPass(CBlockDlg* pDest, CTransactList* pList, std::uint32_t nTime) {
    if (pDest == nullptr) {
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
