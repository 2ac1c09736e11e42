#pragma once

#include <cstdint>

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/sim/ChainSet.h"
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

    std::uint32_t GetLastTick() const { return m_nLastTick; }
    std::uint32_t GetWaiting() const { return m_nWaiting; }
    const CTransactList& GetOutList() const { return m_outList; }

protected:
    using CBlockOf<TKind, CPassesOf<TKind>>::CBlockOf;
    // A copy has no run state: no registered lists, nothing served.
    CServiceBlockOf(const CServiceBlockOf& other) : CBlockOf<TKind, CPassesOf<TKind>>(other) {}

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

private:
    TKind& Self() { return static_cast<TKind&>(*this); }
};

}  // namespace mardo
