#include "core/sim/ModelCheck.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/model/Model.h"
#include "core/model/OutputLabel.h"

namespace mardo {

namespace {

// "<kind title> "<name>"<ending>", the form of every message about a named block.
std::string BlockMessage(const CBlockDlg& block, const std::string& strEnding) {
    return block.GetKindTitle() + " \"" + block.GetName() + "\"" + strEnding;
}

std::string UnlinkedOutputEnding(const CBlockDlg& block, std::int32_t k) {
    return " - " + OutputLabel(k, block.GetOutputCount(), false) + " не связан с блоком!";
}

class CModelChecker {
public:
    CModelChecker(const CModel& model, IMessageLog& log) : m_model(model), m_log(log) {}

    bool Check() {
        if (!CheckPresence() || !CheckSwitchingBlocks() || !CheckLinks() || !CheckLoops()) {
            return false;
        }
        WarnUnnamed();
        return true;
    }

private:
    const CBlockList& Blocks() const { return m_model.GetBlocks(); }

    void Error(const std::string& strText) { m_log.AddMessage(strText, IMessageLog::kError, false); }

    template <typename TTest>
    bool Has(TTest test) const {
        return std::any_of(Blocks().begin(), Blocks().end(),
                           [&test](const auto& pBlock) { return test(*pBlock); });
    }

    // Stages 1 to 4: blocks, a generator, a terminator, and at least one name.
    bool CheckPresence() {
        if (Blocks().empty()) {
            Error("В модели не существует блоков!");
            return false;
        }
        if (!Has([](const CBlockDlg& block) { return block.IsSource(); })) {
            Error("В модели нет генератора!");
            return false;
        }
        if (!Has([](const CBlockDlg& block) { return block.IsExit(); })) {
            Error("В модели нет терминатора!");
            return false;
        }
        for (const auto& pBlock : Blocks()) {
            if (pBlock->IsNamed()) {
                return true;
            }
        }
        Error("В модели нет зарегистрированных блоков!");
        return false;
    }

    bool CheckSwitchingBlocks() {
        bool bPassed = true;
        for (const auto& pBlock : Blocks()) {
            if (!pBlock->IsNamed()) {
                continue;
            }
            if (const char* pszEnding = pBlock->CheckParameters()) {
                Error(BlockMessage(*pBlock, pszEnding));
                bPassed = false;
            }
        }
        return bPassed;
    }

    // The blocks that some other named block's output leads to.
    std::unordered_set<const CBlockDlg*> FedBlocks() const {
        std::unordered_set<const CBlockDlg*> fed;
        for (const auto& pBlock : Blocks()) {
            if (!pBlock->IsNamed()) {
                continue;
            }
            for (std::int32_t k = 0; k < pBlock->GetOutputCount(); ++k) {
                const CBlockDlg* pNext = pBlock->GetOutLink(k);
                if (pNext != nullptr && pNext != pBlock.get()) {
                    fed.insert(pNext);
                }
            }
        }
        return fed;
    }

    bool CheckLinks() {
        const std::unordered_set<const CBlockDlg*> fed = FedBlocks();
        bool bPassed = true;
        for (const auto& pBlock : Blocks()) {
            if (!pBlock->IsNamed()) {
                continue;
            }
            for (std::int32_t k = 0; k < pBlock->GetOutputCount(); ++k) {
                if (pBlock->GetOutLink(k) == nullptr) {
                    Error(BlockMessage(*pBlock, UnlinkedOutputEnding(*pBlock, k)));
                    bPassed = false;
                }
            }
            if (pBlock->HasInput() && !fed.contains(pBlock.get())) {
                Error(BlockMessage(*pBlock, " - вход не связан с блоком!"));
                bPassed = false;
            }
        }
        return bPassed;
    }

    bool CheckLoops() {
        for (const auto& pBlock : Blocks()) {
            if (!pBlock->IsSource() || !pBlock->IsNamed()) {
                continue;
            }
            m_path.clear();
            const CBlockDlg* pLooped = Search(pBlock->GetOutLink(0));
            if (pLooped != nullptr) {
                std::size_t i = 0;
                while (m_path[i].m_pBlock != pLooped) {
                    ++i;
                }
                for (; i < m_path.size(); ++i) {
                    Error(BlockMessage(*m_path[i].m_pBlock, " - зациклен!"));
                }
                return false;
            }
        }
        return true;
    }

    // The depth-first search for a path that comes back to a block on it, from pStart. The path
    // is the current chain of blocks only, so paths that meet again further down are no loop.
    // The walk keeps its own stack (a chain of blocks may be as long as a file can hold), and
    // skips blocks already explored without finding a loop, which could find none the second
    // time either; the first loop found is the one the plain recursive walk would find.
    // Answers the block where the loop closes, leaving the path as it stood then.
    const CBlockDlg* Search(const CBlockDlg* pStart) {
        if (Enter(pStart)) {
            return pStart;
        }
        while (!m_path.empty()) {
            SFrame& frame = m_path.back();
            if (frame.m_nNextOutput >= frame.m_pBlock->GetOutputCount()) {
                m_state[frame.m_pBlock] = EState::kExplored;
                m_path.pop_back();
                continue;
            }
            const CBlockDlg* pNext = frame.m_pBlock->GetOutLink(frame.m_nNextOutput++);
            if (Enter(pNext)) {
                return pNext;
            }
        }
        return nullptr;
    }

    // Steps onto a block: answers true when it is already on the path (a loop); pushes it when
    // it still needs exploring.
    bool Enter(const CBlockDlg* pBlock) {
        if (pBlock == nullptr || pBlock->IsExit()) {
            return false;
        }
        EState& state = m_state[pBlock];
        if (state == EState::kOnPath) {
            return true;
        }
        if (state == EState::kNew) {
            state = EState::kOnPath;
            m_path.push_back({pBlock, 0});
        }
        return false;
    }

    void WarnUnnamed() {
        for (const auto& pBlock : Blocks()) {
            if (!pBlock->IsNamed()) {
                m_log.AddMessage(pBlock->GetKindTitle() + " - без имени!", IMessageLog::kWarning,
                                 false);
            }
        }
    }

    enum class EState { kNew, kOnPath, kExplored };
    struct SFrame {
        const CBlockDlg* m_pBlock;
        std::int32_t m_nNextOutput;
    };

    const CModel& m_model;
    IMessageLog& m_log;
    std::vector<SFrame> m_path;
    std::unordered_map<const CBlockDlg*, EState> m_state;
};

}  // namespace

bool CheckModel(const CModel& model, IMessageLog& log) { return CModelChecker(model, log).Check(); }

}  // namespace mardo
