#include "core/model/DeviceDlg.h"

#include <algorithm>

#include "core/model/Statistics.h"
#include "core/persist/FileModel.h"

namespace mardo {

CDeviceDlg::CDeviceDlg(CPoint ptPos)
    : CServiceBlockOf(EBlockKind::kDevice, "Устройство обслуживания",
                      {.bLongTitle = true, .bHasState = true}, 1, ptPos) {}

CDeviceDlg::CDeviceDlg(const CDeviceDlg& other) : CServiceBlockOf(other) {}

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

void CDeviceDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    PrepareService();
    m_channel.Clear();
    m_nBusyTime = 0;
}

void CDeviceDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    RestartServiceFigures(nTime, IsServing() ? 1 : 0);
    m_nBusyTime = 0;
    // A service under way is a service begun with the figures.
    m_channel.RestartFigures();
}

void CDeviceDlg::ClearTransacts() {
    m_channel.Clear();
    ClearService();
    CBlockDlg::ClearTransacts();
}

// Takes the best waiting head of the registered lists into service, or becomes free.
void CDeviceDlg::StartNext() {
    if (m_channel.Start(m_inputs, m_law, *m_pServiceTimes)) {
        ++m_nEntered;
        m_bFree = 0;
    } else {
        m_bFree = 1;
    }
}

// The device's one service step of a tick: a free device takes the next transact (that tick
// is not yet service); a busy one serves a tick and, when the service ends, releases the
// transact and starts the next at once.
void CDeviceDlg::ServeTick() {
    if (m_bFree) {
        StartNext();
    } else if (IsServing()) {
        ++m_nBusyTime;
        if (m_channel.Serve()) {
            m_priority.Apply(m_channel.Current());
            m_outList.PushBack(m_channel.Current());
            StartNext();
        }
    }
}

void CDeviceDlg::CatchUpTo(std::uint32_t nTime) {
    if (nTime <= m_nLastTick) {
        return;
    }
    const std::uint32_t nTicks = nTime - m_nLastTick;
    if (IsServing()) {
        m_channel.Skip(static_cast<std::int32_t>(nTicks));
        m_nBusyTime += nTicks;
    }
    m_nLastTick = nTime;
}

SQuietTicks CDeviceDlg::QuietUntil(std::uint32_t nTime) {
    if (!m_bActive) {
        return kForever;
    }
    if (!KnowsAllInputs()) {
        return nTime;  // an input is not registered yet
    }
    std::uint32_t nUntil = kForever;
    if (IsServing()) {
        // The service ends in the step of this tick, or later.
        nUntil = m_nLastTick + static_cast<std::uint32_t>(m_channel.GetRemaining());
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
    ComputeServiceFigures(IsServing() ? 1 : 0, m_nBusyTime, 1,
                          m_channel.IsPartlyServed() ? 1 : 0);
}

void CDeviceDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const {
    snapshot.bBusy = IsServing();
    if (IsServing()) {
        snapshot.nRemainingService =
            m_channel.GetRemaining() - static_cast<std::int32_t>(StepsBehind(nTime));
    }
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    snapshot.nCount = static_cast<std::uint32_t>(m_outList.GetCount()) + (IsServing() ? 1u : 0u);
    if (bHeld) {
        if (IsServing()) {
            snapshot.AddHeld(m_channel.Current());
        }
        snapshot.AddHeld(m_outList);
    }
}

}  // namespace mardo
