#include "core/model/GroupBlockDlg.h"

#include "core/model/TransactMoves.h"
#include "core/persist/Error.h"
#include "core/persist/FileModel.h"

namespace mardo {

CGroupBlockDlg::CGroupBlockDlg(EBlockKind nKind, std::string strKind, CPoint ptPos)
    : CPassesOf(nKind, std::move(strKind), {.bLongTitle = true, .bTakesAllHanded = true}, 1,
                ptPos) {}

CGroupBlockDlg::CGroupBlockDlg(const CGroupBlockDlg& other)
    : CPassesOf(other), m_nWaitCount(other.m_nWaitCount), m_priority(other.m_priority) {}

void CGroupBlockDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode()).WriteInt(m_nWaitCount);
    m_priority.Save(file);
    CBlockDlg::Save(file);
}

void CGroupBlockDlg::Load(CFileModel& file) {
    file.ReadInt(m_nWaitCount);
    if (!IsValidWaitCount(m_nWaitCount)) {
        throw CError();
    }
    m_priority.Load(file);
    CBlockDlg::Load(file);
}

void CGroupBlockDlg::ClearTransacts() {
    m_groups.Clear();
    m_outList.DeleteAll();
    CBlockDlg::ClearTransacts();
}

void CGroupBlockDlg::Release(CTransact transact, std::size_t n) {
    m_priority.Apply(transact);
    m_outList.AppendCopies(transact, n);
}

template <EPass P>
void CGroupBlockDlg::Pass(CTransactList* pIn, std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    if (pIn != nullptr && !pIn->IsEmpty()) {
        m_nEntered += static_cast<std::uint32_t>(pIn->GetCount());
        if (m_nWaitCount < 2) {
            TakeFifo(m_outList, pIn, 0, false, &m_priority);
        } else {
            while (!pIn->IsEmpty()) {
                Collect(pIn->Front());
                pIn->PopFront();
            }
        }
    }
    const std::size_t nOffered = m_outList.GetCount();
    CallPass<P>(Destination(0), &m_outList, nTime);
    m_nLeft += static_cast<std::uint32_t>(nOffered - m_outList.GetCount());
}

CTransactList* CGroupBlockDlg::GetOutputList(std::int32_t /*k*/) { return &m_outList; }

int CGroupBlockDlg::HasTransacts() {
    return m_bActive && (!m_groups.IsEmpty() || !m_outList.IsEmpty());
}

void CGroupBlockDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    m_nEntered = static_cast<std::uint32_t>(m_groups.GetTotalCount() + m_outList.GetCount());
}

void CGroupBlockDlg::ComputeStatistics() {
    if (m_bActive) {
        m_nRemaining += static_cast<std::uint32_t>(m_groups.GetTotalCount());
    }
}

// The three passes, through the shared trampolines.
template void CGroupBlockDlg::Pass<EPass::kArrival>(CTransactList* pIn, std::uint32_t nTime);
template void CGroupBlockDlg::Pass<EPass::kService>(CTransactList* pIn, std::uint32_t nTime);
template void CGroupBlockDlg::Pass<EPass::kFinal>(CTransactList* pIn, std::uint32_t nTime);

void CGroupBlockDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t /*nTime*/,
                                 bool bHeld) const {
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    snapshot.nCount = static_cast<std::uint32_t>(m_groups.GetTotalCount() + m_outList.GetCount());
    if (bHeld) {
        snapshot.AddHeld(m_outList);
    }
}

}  // namespace mardo
