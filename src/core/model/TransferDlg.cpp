#include "core/model/TransferDlg.h"

#include <algorithm>
#include <numeric>

#include "core/model/TransactMoves.h"
#include "core/persist/Error.h"
#include "core/persist/FileModel.h"
#include "core/sim/RandomContext.h"

namespace mardo {

CTransferDlg::CTransferDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kTransfer, "Коммутирующий блок", {.bLongTitle = true, .bVariableOutputs = true}, 2, ptPos), m_rule(2) {}

CTransferDlg::CTransferDlg(const CTransferDlg& other)
    : CBlockOf(other), m_rule(other.m_rule), m_priority(other.m_priority) {}

void CTransferDlg::RemoveLinksTo(const CBlockDlg* pBlock) {
    CBlockDlg::RemoveLinksTo(pBlock);
    for (std::size_t i = 0; i < m_rule.m_conditionBlocks.size(); ++i) {
        if (m_rule.m_conditionBlocks[i] == pBlock) {
            m_rule.m_conditionBlocks[i] = nullptr;
            m_rule.m_conditionStates[i] = CTransferRule::kFree;
        }
    }
}

void CTransferDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode()).WriteInt(m_nOutputs);
    m_rule.Save(file);
    m_priority.Save(file);
    CBlockDlg::Save(file);
}

void CTransferDlg::Load(CFileModel& file) {
    std::int32_t nOutputs = 0;
    file.ReadIntInRange(nOutputs, 1, kMaxOutputs);
    SetOutputCount(nOutputs);
    m_rule.Load(file);
    // One rule entry per output, or routing would index past the outputs.
    if (m_rule.GetOutputCount() != nOutputs) {
        throw CError();
    }
    m_priority.Load(file);
    CBlockDlg::Load(file);
}

int CTransferDlg::CheckOutputs() const {
    if (!IsNamed()) {
        return 1;
    }
    const std::size_t nOutputs = m_rule.m_probabilities.size();
    if (m_rule.m_nKind == CTransferRule::kByProbability) {
        for (std::int32_t nProbability : m_rule.m_probabilities) {
            if (nProbability == 0) {
                return 0;
            }
        }
        if (std::accumulate(m_rule.m_probabilities.begin(), m_rule.m_probabilities.end(), 0) !=
            1000) {
            return 0;
        }
    } else if (m_rule.m_nKind == CTransferRule::kByState) {
        for (std::size_t i = 0; i < nOutputs; ++i) {
            const CBlockDlg* pCondition = m_rule.m_conditionBlocks[i];
            if (pCondition == nullptr) {
                return 0;
            }
            if (pCondition == GetOutLink(static_cast<std::int32_t>(i)) &&
                m_rule.m_conditionStates[i] == CTransferRule::kBusy) {
                return 0;
            }
        }
    }
    return 1;
}

void CTransferDlg::TakeRandomSources(CRandomContext& random) {
    m_pChoices = &random.Source(GetName(), CRandomContext::ERole::kChoice);
}

void CTransferDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    m_nLastTick = 0;
    m_nActiveOut = 0;
    m_outLists.clear();
    m_outLists.resize(static_cast<std::size_t>(m_nOutputs));
}

void CTransferDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    m_nEntered = static_cast<std::uint32_t>(
        m_outLists[static_cast<std::size_t>(m_nActiveOut)].GetCount());
}

std::vector<SBlockParam> CTransferDlg::GetParams() {
    // Probabilities given mean routing by them; the model check takes none that is 0 and only a
    // whole that adds up to 1000.
    return {ListParam("probabilities", "Вероятности выходов", m_rule.m_probabilities, 1,
                      CTransferRule::kWhole, CTransferRule::kWhole,
                      [this] { m_rule.m_nKind = CTransferRule::kByProbability; })};
}

void CTransferDlg::ClearTransacts() {
    m_outLists.clear();
    CBlockDlg::ClearTransacts();
}

// The choice of the tick: the transacts waiting at the old output move to the new one.
void CTransferDlg::ChooseOutput() {
    std::int32_t k = m_rule.ChooseOutput(*m_pChoices);
    if (k < 0 || static_cast<std::size_t>(k) >= m_outLists.size()) {
        k = static_cast<std::int32_t>(m_outLists.size()) - 1;
    }
    if (k != m_nActiveOut) {
        m_outLists[static_cast<std::size_t>(m_nActiveOut)].Swap(
            m_outLists[static_cast<std::size_t>(k)]);
        m_nActiveOut = k;
    }
}

const char* CTransferDlg::CheckParameters() const {
    return CheckOutputs() ? nullptr : " - неправильное значение выходов!";
}

template <EPass P>
void CTransferDlg::Pass(CTransactList* pIn, std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    if constexpr (P == EPass::kArrival) {
        if (m_nLastTick < nTime) {
            m_nLastTick = nTime;
            ChooseOutput();
        }
    }
    if (pIn != nullptr && !pIn->IsEmpty()) {
        m_nEntered += static_cast<std::uint32_t>(pIn->GetCount());
        TakeByPriority(m_outLists[static_cast<std::size_t>(m_nActiveOut)], pIn, 0, false,
                                                                          &m_priority);
    }
    PassOnEach<P>(m_outLists, nTime);
}

CTransactList* CTransferDlg::GetOutputList(std::int32_t k) { return ListAt(m_outLists, k); }

SQuietTicks CTransferDlg::QuietUntil(std::uint32_t nTime) {
    if (!m_bActive) {
        return kForever;
    }
    // The choice of a tick, made in its first arrival pass, reads other blocks' states as they
    // are at that moment.
    return AreInputsEmpty() ? std::max(m_nLastTick + 1, nTime) : nTime;
}

int CTransferDlg::HasTransacts() {
    return m_bActive && !m_outLists[static_cast<std::size_t>(m_nActiveOut)].IsEmpty();
}

void CTransferDlg::ComputeStatistics() {
    if (m_bActive) {
        m_nRemaining =
            static_cast<std::uint32_t>(m_outLists[static_cast<std::size_t>(m_nActiveOut)].GetCount());
        m_nLeft = m_nEntered - m_nRemaining;
    }
}

// The three passes, through the shared trampolines.
template void CTransferDlg::Pass<EPass::kArrival>(CTransactList* pIn, std::uint32_t nTime);
template void CTransferDlg::Pass<EPass::kService>(CTransactList* pIn, std::uint32_t nTime);
template void CTransferDlg::Pass<EPass::kFinal>(CTransactList* pIn, std::uint32_t nTime);

void CTransferDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                               bool bHeld) const {
    snapshot.nLastOutput = m_nActiveOut;
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    for (const CTransactList& list : m_outLists) {
        snapshot.nCount += static_cast<std::uint32_t>(list.GetCount());
        if (bHeld) {
            snapshot.AddHeld(list);
        }
    }
}

}  // namespace mardo
