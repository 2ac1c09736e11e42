#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/sim/MessageLog.h"
#include "core/sim/Rand.h"
#include "core/sim/RandomContext.h"
#include "core/sim/RunSignals.h"

namespace mardo {

class CModel;
class CTrace;
class ITickObserver;

// One simulation of a model: its configured number of runs, one after another, on the same
// model state, advancing model time one tick at a time. In every tick each named generator
// drives the blocks downstream of it through the arrival, service and final passes, in a
// rotating order. The loop runs on the thread that calls Run(); it reports through the log,
// publishes its progress for other threads to read, and obeys the run signals, which it tests
// at tick boundaries only.
class CSimulationLoop {
public:
    enum class EOutcome {
        kCompleted,    // every run ended normally; statistics computed
        kStopped,      // stopped by the stop signal; statistics computed
        kOutOfMemory,  // ended for want of memory, as a stop; statistics computed
        kOutOfTime,    // ended at the last tick model time can count, as a stop; statistics computed
        kAbandoned,    // abandoned after a pause; no statistics
    };

    // The last tick model time can count; a simulation whose stop rule is not met by then ends
    // there.
    static constexpr std::uint32_t kLastTick = 0xFFFFFFFFu;

    CSimulationLoop(CModel& model, IMessageLog& log, CRunSignals& runSignals);

    // Runs the simulation. Every block holds no transacts afterwards, whatever the outcome.
    EOutcome Run();

    // Whether ticks in which nothing would change may be skipped and passes that could change
    // nothing left out (the default), or every pass of every tick is simulated. The figures
    // are the same either way; tests compare the two.
    void SetQuietSkipping(bool bSkip) { m_bSkipQuiet = bSkip; }
    // Follows the blocks' figures over model time into the trace (null: none), from the next
    // Run() on; the trace must outlive the runs.
    void SetTrace(CTrace* pTrace) { m_pTrace = pTrace; }
    // Shows every tick boundary to the observer (null: none), which may hold the loop there and
    // limits the ticks it leaves out; from the next Run() on.
    void SetObserver(ITickObserver* pObserver) { m_pObserver = pObserver; }

    // The randomness of the next simulations (the exact generator from state 1 unless an
    // experiment gives another); the exact generator's state when the simulation ended, and
    // the numbers the streams drew.
    void SetRandom(const CRandomContext& random) { m_random = random; }
    std::uint32_t GetEndState() const { return m_nEndState; }
    std::uint64_t GetStreamDraws() const { return m_random.CountStreamDraws(); }
    // Every figure is computed as if the simulation had started at the end of tick nTicks: the
    // blocks reset their statistics then and keep their transacts. 0: from the start.
    void SetWarmup(std::uint32_t nTicks) { m_nWarmup = nTicks; }

    // Progress, readable from any thread while Run() works, and the final figures after it
    // (model time counted from the end of the warm-up).
    std::uint32_t GetModelTime() const { return m_nModelTime.load(std::memory_order_relaxed); }
    std::uint32_t GetDeparted() const { return m_nDeparted.load(std::memory_order_relaxed); }
    // The run in progress, from 1 (0 before the first).
    std::int32_t GetRun() const { return m_nRun.load(std::memory_order_relaxed); }

    // The run messages: "Начало запуска", or with "№" and a five-digit number for two runs or more.
    static std::string RunMessage(const char* pszText, std::int32_t nRun, std::int32_t nRuns);

private:
    using ESignal = CRunSignals::ERequest;

    void Prepare();
    EOutcome RunAll();
    // Runs ticks until the run ends by its stop rule or an empty system (nothing), or the
    // simulation ends: a signal stops or abandons it, or model time runs out.
    std::optional<EOutcome> RunTicks();
    // The end of the simulation that a signal other than kGoOn asks for.
    static EOutcome EndFor(ESignal signal);
    void Tick(std::uint32_t nTime);
    // Whether to ask the blocks within a tick whether its rest could do anything: while ticks
    // are being skipped, or while the asking lately found quiet rests of ticks. Where it never
    // does (a model busy in every tick, whose first busy block may come late in the asking) it
    // would cost more than it saves.
    bool WorthAsking() const { return m_bQuietAfterLastTick || m_nAskCredit > 0; }
    SQuietTicks AskWithinTick(std::uint32_t nTime);
    // The first tick from nFrom on in which a pass on a watched block might do more than keep
    // the figures blocks keep lazily (nFrom: at once), short of the end of model time; and the
    // first from which on the arrival pass may not be left out, unless bWithinTick (only the
    // rest of tick nFrom is in question, and the first answer nFrom ends the asking).
    SQuietTicks NextBusyTicks(std::uint32_t nFrom, bool bWithinTick);
    void Publish();
    // Shows the boundary after the published tick to the observer; answers up to which tick
    // quiet ticks may be left out.
    std::uint32_t Observe();
    // Calls every generator once, from the first of the current rotation.
    template <typename TCall>
    void ForEachGenerator(TCall call);
    bool IsSystemEmpty() const;
    void Finish();
    // The end of the warm-up at the end of tick m_nTime.
    void ResetStatistics();
    void ClearAll();
    std::uint32_t Departures() const;
    // The transacts the blocks held when the figures were computed.
    std::uint64_t HeldAtEnd() const;

    CModel& m_model;
    IMessageLog& m_log;
    CRunSignals& m_signals;

    std::vector<CBlockDlg*> m_generators;
    std::size_t m_nFirstGenerator = 0;  // the generator list's rotation
    CBlockDlg* m_pReference = nullptr;  // the last named terminator
    bool m_bNeverEmpty = false;         // a generator without a limit keeps the system going
    bool m_bSkipQuiet = true;
    CTrace* m_pTrace = nullptr;
    ITickObserver* m_pObserver = nullptr;
    std::vector<CBlockDlg*> m_watched;  // the blocks that tell how long nothing would happen
    bool m_bQuietAfterLastTick = false;  // ticks were skipped after the last tick
    // How many more times the blocks are asked within a tick although the asking found the rest
    // of the tick busy; renewed whenever it finds a rest quiet.
    static constexpr int kFullAskCredit = 4;
    int m_nAskCredit = 0;
    // The blocks' answers last asked: within a tick, where they serve the skip after it when the
    // first tick in which one could act lies beyond that tick (its rest was then left out), and
    // after a tick, where they tell whether the next simulated tick needs its arrival pass. 0
    // when they were not asked.
    SQuietTicks m_nextBusy{0};
    std::uint32_t m_nTime = 0;
    CRandomContext m_random = CRandomContext::Exact();
    std::uint32_t m_nEndState = kFirstRandState;
    std::uint32_t m_nWarmup = 0;
    bool m_bWarmedUp = false;
    std::uint32_t m_nWarmupDepartures = 0;  // the departures the warm-up's reset took away

    std::atomic<std::uint32_t> m_nModelTime{0};
    std::atomic<std::uint32_t> m_nDeparted{0};
    std::atomic<std::int32_t> m_nRun{0};
};

}  // namespace mardo
