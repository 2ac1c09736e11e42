#include "core/model/SplitDlg.h"

#include <algorithm>

#include "core/persist/Error.h"
#include "core/persist/FileModel.h"

namespace mardo {

CSplitDlg::CSplitDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kSplit, "Копирующий блок",
               {.bLongTitle = true, .bVariableOutputs = true, .bTakesAllHanded = true}, 2, ptPos),
      m_copyCounts(2, 1) {}

CSplitDlg::CSplitDlg(const CSplitDlg& other)
    : CBlockOf(other), m_copyCounts(other.m_copyCounts), m_priority(other.m_priority) {}

void CSplitDlg::FitCopyCounts() { m_copyCounts.resize(static_cast<std::size_t>(m_nOutputs), 1); }

void CSplitDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode())
        .WriteInt(m_nOutputs)
        .WriteInt(static_cast<std::int32_t>(m_copyCounts.size()));
    for (std::int32_t nCount : m_copyCounts) {
        file.WriteInt(nCount);
    }
    m_priority.Save(file);
    CBlockDlg::Save(file);
}

void CSplitDlg::Load(CFileModel& file) {
    std::int32_t nOutputs = 0;
    std::int32_t nCounts = 0;
    file.ReadIntInRange(nOutputs, 1, kMaxOutputs).ReadIntInRange(nCounts, 1, kMaxOutputs);
    // One count per output, or copying would index past the counts.
    if (nCounts != nOutputs) {
        throw CError();
    }
    SetOutputCount(nOutputs);
    m_copyCounts.assign(static_cast<std::size_t>(nCounts), 1);
    for (std::int32_t& nCount : m_copyCounts) {
        file.ReadIntInRange(nCount, 1, kMaxCopies);
    }
    m_priority.Load(file);
    CBlockDlg::Load(file);
}

void CSplitDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    m_nHeldAtReset = 0;
    FitCopyCounts();  // the sheet keeps one count per output; a run relies on it
    m_outLists.clear();
    m_outLists.resize(static_cast<std::size_t>(m_nOutputs));
}

void CSplitDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    m_nHeldAtReset = 0;
    for (const CTransactList& list : m_outLists) {
        m_nHeldAtReset += static_cast<std::uint32_t>(list.GetCount());
    }
}

void CSplitDlg::ClearTransacts() {
    m_outLists.clear();
    CBlockDlg::ClearTransacts();
}

template <EPass P>
void CSplitDlg::Pass(CTransactList* pIn, std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    if (pIn != nullptr && !pIn->IsEmpty()) {
        m_nEntered += static_cast<std::uint32_t>(pIn->GetCount());
        while (!pIn->IsEmpty()) {
            CTransact transact = pIn->Front();
            m_priority.Apply(transact);
            for (std::size_t j = 0; j < m_outLists.size(); ++j) {
                m_outLists[j].AppendCopies(transact, static_cast<std::size_t>(m_copyCounts[j]));
            }
            pIn->PopFront();
        }
    }
    PassOnEach<P>(m_outLists, nTime);
}

CTransactList* CSplitDlg::GetOutputList(std::int32_t k) { return ListAt(m_outLists, k); }

int CSplitDlg::HasTransacts() {
    if (!m_bActive) {
        return 0;
    }
    for (const CTransactList& list : m_outLists) {
        if (!list.IsEmpty()) {
            return 1;
        }
    }
    return 0;
}

void CSplitDlg::ComputeStatistics() {
    if (!m_bActive) {
        return;
    }
    std::uint32_t nCopiesPerTransact = 0;
    for (std::int32_t nCount : m_copyCounts) {
        nCopiesPerTransact += static_cast<std::uint32_t>(nCount);
    }
    for (const CTransactList& list : m_outLists) {
        m_nRemaining += static_cast<std::uint32_t>(list.GetCount());
    }
    m_nLeft = nCopiesPerTransact * m_nEntered + m_nHeldAtReset - m_nRemaining;
}

// The three passes, through the shared trampolines.
template void CSplitDlg::Pass<EPass::kArrival>(CTransactList* pIn, std::uint32_t nTime);
template void CSplitDlg::Pass<EPass::kService>(CTransactList* pIn, std::uint32_t nTime);
template void CSplitDlg::Pass<EPass::kFinal>(CTransactList* pIn, std::uint32_t nTime);

void CSplitDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                            bool bHeld) const {
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    for (const CTransactList& list : m_outLists) {
        snapshot.nCount += static_cast<std::uint32_t>(list.GetCount());
        if (bHeld) {
            snapshot.AddHeld(list);
        }
    }
}

}  // namespace mardo
