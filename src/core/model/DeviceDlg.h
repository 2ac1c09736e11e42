#pragma once

#include "core/model/ServiceBlockOf.h"
#include "core/model/ServiceChannel.h"
#include "core/model/Statistics.h"

namespace mardo {

// Serves one transact at a time for a time drawn from its law. It keeps no waiting line of its
// own: it remembers every upstream output list offered to it and, whenever it becomes free,
// takes the best head of those lists. Served transacts wait in its output list.
class CDeviceDlg final : public CServiceBlockOf<CDeviceDlg> {
public:
    explicit CDeviceDlg(CPoint ptPos = {});
    CDeviceDlg(const CDeviceDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void PrepareRun() override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override {
        return {LawParam("service", "Время обслуживания", m_law)};
    }
    std::optional<STraceSource> GetTraceSource() const override {
        return STraceSource{"Устройство занято", nullptr, m_channel.ServingFlag()};
    }

    // Report figures.
    std::uint32_t GetBusyTime() const { return m_nBusyTime; }
    // The quotients as the report shows them (the report's figures hold them exact).
    double GetUtilization() const { return ShownQuotient(m_dUtilization); }
    double GetAvgTime() const { return ShownQuotient(m_dAvgTime); }

    // Run-time state.
    bool IsServing() const { return m_channel.IsServing(); }
    std::int32_t GetRemainingService() const { return m_channel.GetRemaining(); }

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

private:
    friend class CPassesOf<CDeviceDlg>;
    friend class CServiceBlockOf<CDeviceDlg>;

    void ServeTick();
    void StartNext();
    // Does the service steps of the ticks slept through, up to tick nTime: none of them ended
    // a service or could start one.
    void CatchUpTo(std::uint32_t nTime);

    CServiceChannel m_channel;
    std::uint32_t m_nBusyTime = 0;
};

}  // namespace mardo
