#include "core/sim/QuietTicks.h"

#include <unordered_map>

#include "core/model/BlockDlg.h"
#include "core/model/Model.h"

namespace mardo {

std::vector<CBlockDlg*> WatchForQuietTicks(const CModel& model) {
    std::vector<CBlockDlg*> reached;
    std::unordered_map<CBlockDlg*, std::vector<CTransactList*>> inputs;
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsNamed() && pBlock->IsSource()) {
            inputs[pBlock.get()];
            reached.push_back(pBlock.get());
        }
    }
    for (std::size_t i = 0; i < reached.size(); ++i) {
        CBlockDlg* pBlock = reached[i];
        if (!pBlock->IsActive()) {
            continue;  // ignores every pass, so calls nothing further
        }
        for (std::int32_t k = 0; k < pBlock->GetOutputCount(); ++k) {
            CBlockDlg* pDest = pBlock->GetOutLink(k);
            if (pDest == nullptr) {
                continue;
            }
            if (pDest->IsSource()) {
                return {};
            }
            const auto [it, bNew] = inputs.try_emplace(pDest);
            if (bNew) {
                reached.push_back(pDest);
            }
            it->second.push_back(pBlock->GetOutputList(k));
        }
    }
    std::vector<CBlockDlg*> watched;
    for (CBlockDlg* pBlock : reached) {
        // Unprepared blocks ignore every pass; a block where transacts leave needs no
        // preparation to act.
        if (pBlock->IsActive() || pBlock->IsExit()) {
            pBlock->WatchInputs(std::move(inputs[pBlock]));
            if (!pBlock->TakesAllHanded()) {
                watched.push_back(pBlock);
            }
        }
    }
    return watched;
}

}  // namespace mardo
