#pragma once

#include <memory>
#include <vector>

#include "core/model/BlockOf.h"
#include "core/model/Pass.h"
#include "core/model/PriorityChange.h"
#include "core/model/Statistics.h"
#include "core/model/QueueParams.h"
#include "core/model/WaitRecorder.h"
#include "core/sim/ChainSet.h"
#include "core/sim/RandomSource.h"
#include "core/sim/TransactList.h"

namespace mardo {

// Holds transacts that the next block cannot take yet and releases them from its head in the
// order of its discipline, optionally up to a length limit; what does not fit waits in the
// upstream output lists. It keeps the accumulators of the report's queue table.
class CQueueDlg : public CBlockOf<CQueueDlg, CPassesOf<CQueueDlg>> {
public:
    explicit CQueueDlg(CPoint ptPos = {});
    CQueueDlg(const CQueueDlg& other);

    void Save(CFileModel& file) const override;
    void Load(CFileModel& file) override;
    void TakeRandomSources(CRandomContext& random) override;
    void PrepareRun() override;
    void ClearTransacts() override;
    int HasTransacts() override;
    void ComputeStatistics() override;
    void ResetStatistics(std::uint32_t nTime) override;
    std::vector<SBlockParam> GetParams() override;
    CTransactList* GetOutputList(std::int32_t k) override;
    std::optional<SQueueFigures> GetQueueFigures() const override {
        return SQueueFigures{GetEntered(),  m_nZeroEntries,   m_nMaxContent,
                             GetRemaining(), m_dAvgContent,   m_dAvgTimeAll,
                             m_dAvgTimeNonZero, IsFree(),     m_nWaiting};
    }
    void CatchUp(std::uint32_t nTime) override;
    std::optional<STraceSource> GetTraceSource() const override {
        return STraceSource{"Транзактов в очереди", m_queue.CountAddress(), nullptr};
    }

    CQueueParams m_params;
    CPriorityChange m_priority;

    // Report figures.
    std::uint32_t GetEntries() const { return m_nEntries; }
    std::uint32_t GetZeroEntries() const { return m_nZeroEntries; }
    std::uint32_t GetMaxContent() const { return m_nMaxContent; }
    std::uint64_t GetContentTime() const { return m_nContentTime; }
    std::uint32_t GetLastTick() const { return m_nLastTick; }
    std::uint32_t GetWaiting() const { return m_nWaiting; }
    // The quotients as the report shows them (the report's figures hold them exact).
    double GetAvgContent() const { return ShownQuotient(m_dAvgContent); }
    double GetAvgTimeAll() const { return ShownQuotient(m_dAvgTimeAll); }
    double GetAvgTimeNonZero() const { return ShownQuotient(m_dAvgTimeNonZero); }

    const CTransactList& GetContent() const { return m_queue; }

protected:
    void FillSnapshot(SBlockSnapshot& snapshot, std::uint32_t nTime, bool bHeld) const override;
    SQuietTicks QuietUntil(std::uint32_t nTime) override;

    // Pass P, telling waits (a CWaitRecorder&, or SNoWaits that does nothing) of every
    // transact the queue admits and of every one that leaves it; and the answer of QuietUntil,
    // which wakes the queue when its waits lag behind its content. A recording queue is another
    // type (CWaitRecordingQueue) whose passes instantiate these with its recorder, so that the
    // plain queue's hold no trace of the recording.
    template <EPass P, typename TWaits>
    void Move(CTransactList* pIn, std::uint32_t nTime, TWaits waits);
    template <typename TWaits>
    SQuietTicks Quiet(std::uint32_t nTime, const TWaits& waits);

private:
    friend class CPassesOf<CQueueDlg>;

    template <EPass P>
    void Pass(CTransactList* pIn, std::uint32_t nTime) {
        Move<P, SNoWaits>(pIn, nTime, {});
    }
    void StartTick(std::uint32_t nTime);
    // Does the new-tick accounting of every tick slept through, up to tick nTime; the content
    // carried into each of them was the same.
    void CatchUpTo(std::uint32_t nTime);
    template <typename... TPlaces>
    void Admit(CTransactList* pIn, TPlaces&... places);
    std::uint32_t GetCount() const { return static_cast<std::uint32_t>(m_queue.GetCount()); }
    void RaiseMaxContent();

    CRandomSource* m_pPlaces = &CRandomSource::Exact();
    CTransactList m_queue;
    CChainSet m_inputs;
    std::uint32_t m_nLastTick = 0;
    std::uint32_t m_nFirstTick = 0;  // the figures count the ticks after this one
    std::uint32_t m_nCarried = 0;
    // Content times ticks: a content in the millions over 9*10^8 ticks passes 2^32 by far.
    std::uint64_t m_nContentTime = 0;
    std::uint32_t m_nEntries = 0;
    std::uint32_t m_nMaxContent = 0;
    std::uint32_t m_nZeroEntries = 0;
    std::int32_t m_bZeroFlag = 0;

    std::uint32_t m_nWaiting = 0;
    double m_dAvgContent = 0.0;
    double m_dAvgTimeAll = 0.0;
    double m_dAvgTimeNonZero = 0.0;
};

}  // namespace mardo
