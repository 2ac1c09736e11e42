#include "gui/props/StateCandidates.h"

#include "core/model/BlockDlg.h"
#include "core/sim/TransferRule.h"

namespace mardo {

namespace {

// Whether some output of the rule names the block with the state.
bool IsUsed(const CTransferRule& rule, const CBlockDlg* pBlock, int nState) {
    for (std::size_t i = 0; i < rule.m_conditionBlocks.size(); ++i) {
        const bool bBusy = rule.m_conditionStates[i] != CTransferRule::kFree;
        if (rule.m_conditionBlocks[i] == pBlock && bBusy == (nState != CTransferRule::kFree)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<SStateCandidate> FindStateCandidates(const CBlockList& blocks,
                                                 const CTransferRule& rule, int nRow) {
    const auto nIndex = static_cast<std::size_t>(nRow);
    const CBlockDlg* pOwn = rule.m_conditionBlocks.at(nIndex);
    const int nOwnState = rule.m_conditionStates.at(nIndex) != CTransferRule::kFree
                              ? CTransferRule::kBusy
                              : CTransferRule::kFree;
    std::vector<SStateCandidate> candidates;
    for (const auto& pBlock : blocks) {
        const bool bFreeUsed = IsUsed(rule, pBlock.get(), CTransferRule::kFree);
        const bool bBusyUsed = IsUsed(rule, pBlock.get(), CTransferRule::kBusy);
        if (pBlock.get() == pOwn) {
            const bool bOtherUsed = nOwnState == CTransferRule::kFree ? bBusyUsed : bFreeUsed;
            candidates.push_back({pBlock.get(), bOtherUsed ? nOwnState : SStateCandidate::kBoth});
        } else if (bFreeUsed) {
            if (!bBusyUsed) {
                candidates.push_back({pBlock.get(), SStateCandidate::kBusyOnly});
            }
        } else {
            candidates.push_back(
                {pBlock.get(), bBusyUsed ? SStateCandidate::kFreeOnly : SStateCandidate::kBoth});
        }
    }
    return candidates;
}

}  // namespace mardo
