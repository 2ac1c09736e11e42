#pragma once

#include <cstdint>

#include "core/model/QueueDlg.h"
#include "core/model/WaitRecorder.h"

namespace mardo {

// A queue that records the waiting time of every transact that leaves it. Experiments asked
// for the waits read their models with this in place of every queue; its passes are the
// queue's own, instantiated with a recorder, so that a queue not asked pays nothing at all.
class CWaitRecordingQueue final : public CQueueDlg {
public:
    // Its copy (Clone, the editor's) is a plain queue: the recording belongs to a simulation.
    using CQueueDlg::CQueueDlg;

    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override {
        Move<EPass::kArrival, CWaitRecorder&>(pIn, nTime, m_waits);
    }
    void ServicePass(CTransactList* pIn, std::uint32_t nTime) override {
        Move<EPass::kService, CWaitRecorder&>(pIn, nTime, m_waits);
    }
    void FinalPass(CTransactList* pIn, std::uint32_t nTime) override {
        Move<EPass::kFinal, CWaitRecorder&>(pIn, nTime, m_waits);
    }
    void PrepareRun() override;
    void ClearTransacts() override;
    void ResetStatistics(std::uint32_t nTime) override;

    // The waits of the transacts that left since the figures were last reset.
    const CWaitHistogram& GetWaits() const { return m_waits.GetWaits(); }

protected:
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

private:
    CWaitRecorder m_waits;
};

}  // namespace mardo
