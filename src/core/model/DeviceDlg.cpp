#include "core/model/DeviceDlg.h"

#include <algorithm>

#include "core/model/Statistics.h"
#include "core/persist/FileModel.h"
#include "core/sim/RandomContext.h"

namespace mardo {

CDeviceDlg::CDeviceDlg(CPoint ptPos)
    : CBlockOf(EBlockKind::kDevice, "Устройство обслуживания",
                {.bLongTitle = true, .bHasState = true}, 1, ptPos) {}

CDeviceDlg::CDeviceDlg(const CDeviceDlg& other)
    : CBlockOf(other), m_law(other.m_law), m_priority(other.m_priority) {}

void CDeviceDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode());
    m_law.Save(file);
    m_priority.Save(file);
    CBlockDlg::Save(file);
}

void CDeviceDlg::Load(CFileModel& file) {
    m_law.Load(file);
    m_priority.Load(file);
    CBlockDlg::Load(file);
}

void CDeviceDlg::TakeRandomSources(CRandomContext& random) {
    m_pServiceTimes = &random.Source(GetName(), CRandomContext::ERole::kService);
}

void CDeviceDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    m_bServing = false;
    m_nWaiting = 0;
    m_nBusyTime = 0;
    m_nLastTick = 0;
    m_nFirstTick = 0;
}

void CDeviceDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    CBlockDlg::ResetStatistics(nTime);
    m_nEntered = static_cast<std::uint32_t>(m_outList.GetCount()) + (m_bServing ? 1 : 0);
    m_nBusyTime = 0;
    m_nFirstTick = nTime;
    // A service under way is a service begun with the figures.
    m_nServiceTime = m_nRemainingService;
}

void CDeviceDlg::ClearTransacts() {
    m_bServing = false;
    m_inputs.Clear();
    m_outList.DeleteAll();
    CBlockDlg::ClearTransacts();
}

// Takes the best waiting head of the registered lists into service, or becomes free.
void CDeviceDlg::StartNext() {
    if (std::optional<CTransact> next = m_inputs.TakeBest()) {
        m_current = *next;
        m_bServing = true;
        m_nRemainingService = m_nServiceTime = m_law.Sample(*m_pServiceTimes);
        ++m_nEntered;
        m_bFree = 0;
    } else {
        m_bServing = false;
        m_bFree = 1;
    }
}

// The device's one service step of a tick: a free device takes the next transact (that tick
// is not yet service); a busy one serves a tick and, when the service ends, releases the
// transact and starts the next at once.
void CDeviceDlg::ServeTick() {
    if (m_bFree) {
        StartNext();
    } else if (m_bServing) {
        ++m_nBusyTime;
        if (--m_nRemainingService == 0) {
            m_priority.Apply(m_current);
            m_outList.PushBack(m_current);
            StartNext();
        }
    }
}

template <EPass P>
void CDeviceDlg::Pass(CTransactList* pIn, std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    if (pIn != nullptr) {
        m_inputs.Add(pIn);
    }
    if (CatchesUp()) {
        // The service step of this tick comes in the service pass.
        CatchUpTo(P == EPass::kFinal ? nTime : nTime - 1);
    }
    if constexpr (P == EPass::kService) {
        if (m_nLastTick < nTime) {
            ServeTick();
            m_nLastTick = nTime;
        }
    }
    CallPass<P>(Destination(0), &m_outList, nTime);
}

void CDeviceDlg::CatchUpTo(std::uint32_t nTime) {
    if (nTime <= m_nLastTick) {
        return;
    }
    const std::uint32_t nTicks = nTime - m_nLastTick;
    if (m_bServing) {
        m_nRemainingService -= static_cast<std::int32_t>(nTicks);
        m_nBusyTime += nTicks;
    }
    m_nLastTick = nTime;
}

void CDeviceDlg::CatchUp(std::uint32_t nTime) {
    if (m_bActive && CatchesUp() && m_nLastTick != 0) {
        CatchUpTo(nTime);
    }
}

CTransactList* CDeviceDlg::GetOutputList(std::int32_t /*k*/) { return &m_outList; }

SQuietTicks CDeviceDlg::QuietUntil(std::uint32_t nTime) {
    if (!m_bActive) {
        return kForever;
    }
    if (m_inputs.GetListCount() < GetInputListCount()) {
        return nTime;  // an input is not registered yet
    }
    std::uint32_t nUntil = kForever;
    if (m_bServing) {
        // The service ends in the step of this tick, or later.
        nUntil = m_nLastTick + static_cast<std::uint32_t>(m_nRemainingService);
    } else if (m_inputs.HasTransacts()) {
        nUntil = m_nLastTick + 1;  // it takes a transact in its next step
    }
    // Its arrival pass only keeps count; its steps come in the service pass.
    return {std::max(nUntil, nTime), kForever};
}

int CDeviceDlg::HasTransacts() { return m_bActive && (!m_bFree || !m_outList.IsEmpty()); }

void CDeviceDlg::ComputeStatistics() {
    if (!m_bActive) {
        return;
    }
    m_nRemaining = static_cast<std::uint32_t>(m_outList.GetCount()) + (m_bServing ? 1 : 0);
    m_nWaiting = static_cast<std::uint32_t>(m_inputs.GetTotalCount());
    m_nLeft = m_nEntered - m_nRemaining;
    if (m_nBusyTime == 0) {
        m_dUtilization = 0.0;
        m_dAvgTime = 0.0;
        return;
    }
    m_dUtilization = ReportQuotient(m_nBusyTime, m_nLastTick - m_nFirstTick);
    const bool bPartlyServed = !m_bFree && m_nRemainingService != m_nServiceTime;
    m_dAvgTime = ReportQuotient(m_nBusyTime, m_nLeft + (bPartlyServed ? 1u : 0u));
}

// The three passes, through the shared trampolines.
template void CDeviceDlg::Pass<EPass::kArrival>(CTransactList* pIn, std::uint32_t nTime);
template void CDeviceDlg::Pass<EPass::kService>(CTransactList* pIn, std::uint32_t nTime);
template void CDeviceDlg::Pass<EPass::kFinal>(CTransactList* pIn, std::uint32_t nTime);

void CDeviceDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const {
    snapshot.bBusy = m_bServing;
    if (m_bServing) {
        // The service steps of ticks left out as quiet have not been done yet; none of them
        // ended the service.
        const std::uint32_t nLag = CatchesUp() && nTime > m_nLastTick ? nTime - m_nLastTick : 0;
        snapshot.nRemainingService = m_nRemainingService - static_cast<std::int32_t>(nLag);
    }
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    snapshot.nCount = static_cast<std::uint32_t>(m_outList.GetCount()) + (m_bServing ? 1u : 0u);
    if (bHeld) {
        if (m_bServing) {
            snapshot.AddHeld(m_current);
        }
        snapshot.AddHeld(m_outList);
    }
}

}  // namespace mardo
