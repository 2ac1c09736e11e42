#pragma once

#include <cstdint>

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/model/Statistics.h"
#include "core/sim/ChainSet.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/RandomContext.h"
#include "core/sim/RandomSource.h"
#include "core/sim/TransactList.h"

namespace mardo {

// What a service device and a multichannel device do alike: they keep no waiting line of their
// own but remember every upstream output list offered to them, serve in the service pass only
// (once a tick), and put served transacts in one output list. The kind gives its step of a tick
// (ServeTick) and how it does the steps of ticks slept through (CatchUpTo), and befriends this
// class for them.
template <typename TKind>
class CServiceBlockOf : public CBlockOf<TKind, CPassesOf<TKind>> {
public:
    // The service times come from a source of the service role under the block's name, so a
    // multichannel device with one channel draws as the device it stands for.
    void TakeRandomSources(CRandomContext& random) override {
        m_pServiceTimes = &random.Source(this->GetName(), CRandomContext::ERole::kService);
    }
    CTransactList* GetOutputList(std::int32_t /*k*/) override { return &m_outList; }
    void CatchUp(std::uint32_t nTime) override {
        if (this->m_bActive && this->CatchesUp() && m_nLastTick != 0) {
            Self().CatchUpTo(nTime);
        }
    }

    std::optional<SDeviceFigures> GetDeviceFigures() const override {
        return SDeviceFigures{this->GetLeft(), m_dUtilization, m_dAvgTime, this->IsFree(),
                              m_nWaiting};
    }

    // How long a service takes, and the priority a served transact leaves with.
    CFlowLaw m_law;
    CPriorityChange m_priority;

    std::uint32_t GetLastTick() const { return m_nLastTick; }
    std::uint32_t GetWaiting() const { return m_nWaiting; }
    const CTransactList& GetOutList() const { return m_outList; }

protected:
    using CBlockOf<TKind, CPassesOf<TKind>>::CBlockOf;
    // A copy has its law and priority, and no run state: no registered lists, nothing served.
    CServiceBlockOf(const CServiceBlockOf& other)
        : CBlockOf<TKind, CPassesOf<TKind>>(other),
          m_law(other.m_law),
          m_priority(other.m_priority) {}

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime) {
        if (!this->m_bActive) {
            return;
        }
        if (pIn != nullptr) {
            m_inputs.Add(pIn);
        }
        if (this->CatchesUp()) {
            // The service step of this tick comes in the service pass.
            Self().CatchUpTo(P == EPass::kFinal ? nTime : nTime - 1);
        }
        if constexpr (P == EPass::kService) {
            if (m_nLastTick < nTime) {
                Self().ServeTick();
                m_nLastTick = nTime;
            }
        }
        CallPass<P>(this->Destination(0), &m_outList, nTime);
    }

    // Before a simulation.
    void PrepareService() {
        m_nWaiting = 0;
        m_nLastTick = 0;
        m_nFirstTick = 0;
    }
    // After a simulation: the lists belong to the upstream blocks; the served transacts go.
    void ClearService() {
        m_inputs.Clear();
        m_outList.DeleteAll();
    }
    // The figures start again at the end of tick nTime, with nInService transacts in service.
    void RestartServiceFigures(std::uint32_t nTime, std::uint64_t nInService) {
        this->CBlockDlg::ResetStatistics(nTime);
        this->m_nEntered = static_cast<std::uint32_t>(m_outList.GetCount() + nInService);
        m_nFirstTick = nTime;
    }
    // The figures at the end: nInService transacts still in service, nBusyTime channel-ticks
    // of service by nChannels channels, and nPartlyServed services under way that began before
    // the figures did (each counts as a transact served).
    void ComputeServiceFigures(std::uint64_t nInService, std::uint64_t nBusyTime,
                               std::uint64_t nChannels, std::uint64_t nPartlyServed) {
        this->m_nRemaining = static_cast<std::uint32_t>(m_outList.GetCount() + nInService);
        CountWaiting();
        this->m_nLeft = this->m_nEntered - this->m_nRemaining;
        if (nBusyTime == 0) {
            m_dUtilization = 0.0;
            m_dAvgTime = 0.0;
            return;
        }
        m_dUtilization = ReportQuotient(nBusyTime, std::uint64_t{CountedTicks()} * nChannels);
        m_dAvgTime = ReportQuotient(nBusyTime, this->m_nLeft + nPartlyServed);
    }
    // Whether every input is registered: until then a pass may register one.
    bool KnowsAllInputs() const { return m_inputs.GetListCount() >= this->GetInputListCount(); }
    // The transacts waiting for it at the end, for the report.
    void CountWaiting() { m_nWaiting = static_cast<std::uint32_t>(m_inputs.GetTotalCount()); }
    // The ticks up to tick nTime left out as quiet, whose service steps are not done yet; none
    // of them ends a service.
    std::uint32_t StepsBehind(std::uint32_t nTime) const {
        return this->CatchesUp() && nTime > m_nLastTick ? nTime - m_nLastTick : 0;
    }
    // The ticks the figures count.
    std::uint32_t CountedTicks() const { return m_nLastTick - m_nFirstTick; }

    CRandomSource* m_pServiceTimes = &CRandomSource::Exact();
    CChainSet m_inputs;
    std::uint32_t m_nLastTick = 0;
    std::uint32_t m_nFirstTick = 0;  // the figures count the ticks after this one
    CTransactList m_outList;
    std::uint32_t m_nWaiting = 0;
    double m_dUtilization = 0.0;
    double m_dAvgTime = 0.0;

private:
    TKind& Self() { return static_cast<TKind&>(*this); }
};

}  // namespace mardo
