#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/model/ServiceBlockOf.h"
#include "core/model/ServiceChannel.h"

namespace mardo {

// Several identical channels in front of one waiting line: the device's rules, kept by every
// channel over the same registered lists. In a tick's service step the busy channels, in
// order, serve their tick and, when a service ends, take the next best transact at once; then
// the free channels, in order, take what is waiting. It is free while some channel is.
class CMultiDeviceDlg final : public CServiceBlockOf<CMultiDeviceDlg> {
public:
    static constexpr std::int32_t kMaxChannels = 1000;

    explicit CMultiDeviceDlg(CPoint ptPos = {});
    CMultiDeviceDlg(const CMultiDeviceDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void PrepareRun() override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override;
    std::optional<SChannelFigures> GetChannelFigures() const override {
        return SChannelFigures{m_nChannels, m_dMeanBusy};
    }
    std::optional<STraceSource> GetTraceSource() const override {
        return STraceSource{"Занятые каналы", &m_nBusy, nullptr};
    }

    std::int32_t m_nChannels = 2;

    // Run-time state.
    std::size_t GetBusyCount() const { return m_nBusy; }

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

private:
    friend class CPassesOf<CMultiDeviceDlg>;
    friend class CServiceBlockOf<CMultiDeviceDlg>;

    void ServeTick();
    // Takes the next best transact into the channel, if one waits.
    void StartNext(CServiceChannel& channel);
    // Does the service steps of the ticks slept through, up to tick nTime: none of them ended
    // a service or could start one.
    void CatchUpTo(std::uint32_t nTime);

    std::vector<CServiceChannel> m_channels;  // as many as m_nChannels while prepared
    std::size_t m_nBusy = 0;                  // the channels serving
    std::uint64_t m_nBusyTime = 0;            // channel-ticks of service

    double m_dMeanBusy = 0.0;
};

}  // namespace mardo
