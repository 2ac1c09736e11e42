#include "core/model/MultiDeviceDlg.h"

#include <algorithm>
#include <optional>

#include "core/model/Statistics.h"
#include "core/persist/FileModel.h"

namespace mardo {

CMultiDeviceDlg::CMultiDeviceDlg(CPoint ptPos)
    : CServiceBlockOf(EBlockKind::kMultiDevice, "Многоканальное устройство",
                      {.bLongTitle = true, .bHasState = true}, 1, ptPos) {}

CMultiDeviceDlg::CMultiDeviceDlg(const CMultiDeviceDlg& other)
    : CServiceBlockOf(other), m_nChannels(other.m_nChannels) {}

void CMultiDeviceDlg::Save(CFileModel& file) const {
    file.WriteInt(GetKindCode());
    m_law.Save(file);
    m_priority.Save(file);
    file.WriteInt(m_nChannels);
    CBlockDlg::Save(file);
}

void CMultiDeviceDlg::Load(CFileModel& file) {
    m_law.Load(file);
    m_priority.Load(file);
    file.ReadIntInRange(m_nChannels, 1, kMaxChannels);
    CBlockDlg::Load(file);
}

std::vector<SBlockParam> CMultiDeviceDlg::GetParams() {
    return {LawParam("service", "Время обслуживания", m_law),
            IntParam("channels", "Число каналов", m_nChannels, 1, kMaxChannels)};
}

void CMultiDeviceDlg::PrepareRun() {
    CBlockDlg::PrepareRun();
    PrepareService();
    m_channels.assign(static_cast<std::size_t>(m_nChannels), CServiceChannel{});
    m_nBusy = 0;
    m_nBusyTime = 0;
}

void CMultiDeviceDlg::ResetStatistics(std::uint32_t nTime) {
    if (!m_bActive) {
        return;
    }
    RestartServiceFigures(nTime, m_nBusy);
    m_nBusyTime = 0;
    for (CServiceChannel& channel : m_channels) {
        channel.RestartFigures();
    }
}

void CMultiDeviceDlg::ClearTransacts() {
    m_channels.clear();
    m_nBusy = 0;
    ClearService();
    CBlockDlg::ClearTransacts();
}

void CMultiDeviceDlg::StartNext(CServiceChannel& channel) {
    const bool bWasServing = channel.IsServing();
    if (channel.Start(m_inputs, m_law, *m_pServiceTimes)) {
        ++m_nEntered;
        m_nBusy += bWasServing ? 0 : 1;
    } else {
        m_nBusy -= bWasServing ? 1 : 0;
    }
}

// The service step of a tick. A channel that ends a service takes the next transact before a
// later channel serves its tick, as one device would; what is still waiting then goes to the
// free channels, the first free one first (that tick is not yet service).
void CMultiDeviceDlg::ServeTick() {
    for (CServiceChannel& channel : m_channels) {
        if (channel.IsServing()) {
            ++m_nBusyTime;
            if (channel.Serve()) {
                m_priority.Apply(channel.Current());
                m_outList.PushBack(channel.Current());
                StartNext(channel);
            }
        }
    }
    for (CServiceChannel& channel : m_channels) {
        if (m_nBusy == m_channels.size() || !m_inputs.HasTransacts()) {
            break;
        }
        if (!channel.IsServing()) {
            StartNext(channel);
        }
    }
    m_bFree = m_nBusy < m_channels.size() ? 1 : 0;
}

void CMultiDeviceDlg::CatchUpTo(std::uint32_t nTime) {
    if (nTime <= m_nLastTick) {
        return;
    }
    const std::uint32_t nTicks = nTime - m_nLastTick;
    if (m_nBusy != 0) {
        for (CServiceChannel& channel : m_channels) {
            if (channel.IsServing()) {
                channel.Skip(static_cast<std::int32_t>(nTicks));
            }
        }
        m_nBusyTime += std::uint64_t{nTicks} * m_nBusy;
    }
    m_nLastTick = nTime;
}

SQuietTicks CMultiDeviceDlg::QuietUntil(std::uint32_t nTime) {
    if (!m_bActive) {
        return kForever;
    }
    if (!KnowsAllInputs()) {
        return nTime;  // an input is not registered yet
    }
    std::uint32_t nUntil = kForever;
    if (m_nBusy < m_channels.size() && m_inputs.HasTransacts()) {
        nUntil = m_nLastTick + 1;  // a free channel takes a transact in the next step
    } else if (m_nBusy != 0) {
        // The first service to end ends in the step of this tick, or later.
        for (const CServiceChannel& channel : m_channels) {
            if (channel.IsServing()) {
                nUntil = std::min(nUntil,
                                  m_nLastTick + static_cast<std::uint32_t>(channel.GetRemaining()));
            }
        }
    }
    // Its arrival pass only keeps count; its steps come in the service pass.
    return {std::max(nUntil, nTime), kForever};
}

int CMultiDeviceDlg::HasTransacts() {
    return m_bActive && (m_nBusy != 0 || !m_outList.IsEmpty());
}

void CMultiDeviceDlg::ComputeStatistics() {
    if (!m_bActive) {
        return;
    }
    const auto nPartlyServed = static_cast<std::uint64_t>(
        std::count_if(m_channels.begin(), m_channels.end(),
                      [](const CServiceChannel& channel) { return channel.IsPartlyServed(); }));
    ComputeServiceFigures(m_nBusy, m_nBusyTime, m_channels.size(), nPartlyServed);
    m_dMeanBusy = m_nBusyTime == 0 ? 0.0 : ReportQuotient(m_nBusyTime, CountedTicks());
}

void CMultiDeviceDlg::FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime,
                                   bool bHeld) const {
    // Busy while some channel serves, as its trace counts them; the ticks to go are those of
    // the service that ends first.
    snapshot.bBusy = m_nBusy != 0;
    std::optional<std::int32_t> nSoonest;
    for (const CServiceChannel& channel : m_channels) {
        if (channel.IsServing()) {
            nSoonest = std::min(nSoonest.value_or(channel.GetRemaining()), channel.GetRemaining());
        }
    }
    if (nSoonest) {
        snapshot.nRemainingService = *nSoonest - static_cast<std::int32_t>(StepsBehind(nTime));
    }
    snapshot.eCount = SBlockSnapshot::ECount::kHeld;
    snapshot.nCount = static_cast<std::uint32_t>(m_outList.GetCount() + m_nBusy);
    if (bHeld) {
        for (const CServiceChannel& channel : m_channels) {
            if (channel.IsServing()) {
                snapshot.AddHeld(channel.Current());
            }
        }
        snapshot.AddHeld(m_outList);
    }
}

}  // namespace mardo
