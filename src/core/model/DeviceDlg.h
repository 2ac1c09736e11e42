#pragma once

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/model/Statistics.h"
#include "core/sim/ChainSet.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/TransactList.h"

namespace mardo {

// Serves one transact at a time for a time drawn from its law. It keeps no waiting line of its
// own: it remembers every upstream output list offered to it and, whenever it becomes free,
// takes the best head of those lists. Served transacts wait in its output list.
class CDeviceDlg final : public CBlockOf<CDeviceDlg, CPassesOf<CDeviceDlg>> {
public:
    explicit CDeviceDlg(CPoint ptPos = {});
    CDeviceDlg(const CDeviceDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void TakeRandomSources(CRandomContext& random) override;
    void PrepareRun() override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override {
        return {LawParam("service", "Время обслуживания", m_law)};
    }
    CTransactList* GetOutputList(std::int32_t k) override;
    std::optional<SDeviceFigures> GetDeviceFigures() const override {
        return SDeviceFigures{GetLeft(), m_dUtilization, m_dAvgTime, IsFree(), m_nWaiting};
    }
    void CatchUp(std::uint32_t nTime) override;
    std::optional<STraceSource> GetTraceSource() const override {
        return STraceSource{"Устройство занято", nullptr, &m_bServing};
    }

    CFlowLaw m_law;
    CPriorityChange m_priority;

    // Report figures.
    std::uint32_t GetBusyTime() const { return m_nBusyTime; }
    std::uint32_t GetLastTick() const { return m_nLastTick; }
    std::uint32_t GetWaiting() const { return m_nWaiting; }
    // The quotients as the report shows them (the report's figures hold them exact).
    double GetUtilization() const { return ShownQuotient(m_dUtilization); }
    double GetAvgTime() const { return ShownQuotient(m_dAvgTime); }

    // Run-time state.
    bool IsServing() const { return m_bServing; }
    std::int32_t GetRemainingService() const { return m_nRemainingService; }
    const CTransactList& GetOutList() const { return m_outList; }

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

private:
    friend class CPassesOf<CDeviceDlg>;

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime);
    void ServeTick();
    void StartNext();
    // Does the service steps of the ticks slept through, up to tick nTime: none of them ended
    // a service or could start one.
    void CatchUpTo(std::uint32_t nTime);

    CRandomSource* m_pServiceTimes = &CRandomSource::Exact();
    CChainSet m_inputs;
    CTransact m_current;  // the transact in service, while m_bServing
    bool m_bServing = false;
    std::int32_t m_nRemainingService = 0;
    std::int32_t m_nServiceTime = 0;
    std::uint32_t m_nBusyTime = 0;
    std::uint32_t m_nLastTick = 0;
    std::uint32_t m_nFirstTick = 0;  // the figures count the ticks after this one
    CTransactList m_outList;

    std::uint32_t m_nWaiting = 0;
    double m_dUtilization = 0.0;
    double m_dAvgTime = 0.0;
};

}  // namespace mardo
