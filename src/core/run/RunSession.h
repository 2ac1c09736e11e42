#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/run/MessageQueue.h"
#include "core/run/RunProgress.h"
#include "core/run/RunThread.h"
#include "core/run/TimeStamp.h"
#include "core/sim/RunSignals.h"
#include "core/sim/SimulationLoop.h"
#include "core/sim/Trace.h"

namespace mardo {

class CModel;
class CWatchControl;

// One model's simulations, one at a time, for a client on one thread: the run window or the
// batch runner. The session checks the model, simulates it on a thread of its own, and stops,
// holds, resumes or abandons the simulation on request. The simulation never waits for the
// client: its progress is read from the loop's atomics and its log lines wait in an ordered
// queue until the client takes them, typically from a timer. The client learns the end by
// asking for it once the lines are taken, so nothing reaches it from the simulation's thread
// except the optional wake-up call.
class CRunSession {
public:
    enum class EEnd {
        kCompleted,    // every run ended normally; figures computed
        kStopped,      // stopped on request; figures computed
        kOutOfMemory,  // ended for want of memory, as a stop; figures computed
        kOutOfTime,    // ended at the last tick model time can count, as a stop; figures computed
        kAbandoned,    // abandoned on request; no figures, the model holds no transacts
        kCheckFailed,  // not started: the model check failed
        kRefused,      // not started: the model cannot be simulated safely
    };

    struct SProgress {
        std::uint32_t nModelTime = 0;
        std::uint32_t nDeparted = 0;
        std::int32_t nRun = 0;  // from 1, 0 before the first
        // The share done, 0..1, or nothing when the stop rule gives no end to measure against.
        std::optional<double> share;
    };

    // onEnded, if given, is called from the simulation's thread when a simulation that was
    // not abandoned has ended, so that the client may ask for the end at once instead of at
    // its next look; it must only schedule that, never wait.
    CRunSession(CModel& model, std::unique_ptr<IRunThread> pThread,
                std::function<void()> onEnded = {});
    CRunSession(const CRunSession&) = delete;
    CRunSession& operator=(const CRunSession&) = delete;
    // Abandons a simulation that still runs and waits for its thread.
    ~CRunSession();

    // The clock of the timed lines; only while no simulation runs.
    void SetClock(CTimeOfDayFunction clock) { m_queue.SetClock(std::move(clock)); }

    // The randomness and the warm-up of the next simulations (see CSimulationLoop); only while
    // no simulation runs.
    void SetRandom(const CRandomContext& random) { m_loop.SetRandom(random); }
    void SetWarmup(std::uint32_t nTicks) { m_loop.SetWarmup(nTicks); }
    // Whether quiet ticks are skipped and passes left out (the default), or every pass of every
    // tick is simulated, the reference the figures of the other way must equal; only while no
    // simulation runs.
    void SetQuietSkipping(bool bSkip) { m_loop.SetQuietSkipping(bSkip); }
    // The exact generator's state when the last simulation ended, and the numbers its streams
    // drew.
    std::uint32_t GetEndState() const { return m_loop.GetEndState(); }
    std::uint64_t GetStreamDraws() const { return m_loop.GetStreamDraws(); }

    // Checks the model and, when it passes, starts simulating it. Answers nothing when the
    // simulation runs, or why it did not start; the lines that say so are waiting either way.
    std::optional<EEnd> Start();
    void Stop();
    // Holds the simulation at its next tick boundary, while the client asks whether to close;
    // its end, if it comes meanwhile, waits for the answer.
    void Hold();
    void Resume();
    // Abandons the simulation and waits while it clears its transacts, so that the model may
    // go away afterwards. Answers how it ended: abandoned, unless it had ended by itself.
    EEnd Abandon();

    // From a successful Start() until its end has been taken.
    bool IsRunning() const { return m_eState != EState::kIdle; }
    bool IsHeld() const { return m_eState == EState::kHeld; }
    // Whether the simulation has reached the tick boundary of the hold and waits there; false
    // while it has still to get there, and for good when it ended before it did.
    bool IsHoldTaken() const { return IsHeld() && m_signals.IsHeld(); }

    // Removes and answers at most nMost of the oldest waiting log lines, oldest first.
    std::vector<CMessageQueue::SLine> TakeMessages(std::size_t nMost = SIZE_MAX) {
        return m_queue.Take(nMost);
    }
    bool HasMessages() const { return !m_queue.IsEmpty(); }
    // The progress of the simulation in progress, or the final figures of the last one.
    SProgress GetProgress();
    // Only the model time of GetProgress(), for a client that merely looks.
    std::uint32_t GetModelTime() const { return m_loop.GetModelTime(); }
    // Waits at most the given time for the simulation's thread to end; answers whether it has.
    bool WaitFor(std::chrono::milliseconds timeout);
    // How the simulation ended, once it has and every line it wrote has been taken, and it is
    // not held; answered once, and the session is ready for the next one afterwards.
    std::optional<EEnd> TakeEnd();
    // Whether the next simulations follow the blocks' figures over model time (the desktop
    // program's charts); only while no simulation runs.
    void SetTracing(bool bTrace);
    // The figures over model time of the last simulation that computed its figures, when
    // tracing; null otherwise. Only while no simulation runs.
    const CTrace* GetTrace() const { return m_pTrace.get(); }
    // Lets the client watch the next simulations tick by tick through the control (null: not
    // watched), which must outlive them; only while no simulation runs. A stop or an abandon
    // releases the watch.
    void SetWatch(CWatchControl* pWatch);
    // Whether no request is left over for the loop; always so between simulations.
    bool AreSignalsClear() const { return m_signals.IsClear(); }

private:
    enum class EState { kIdle, kRunning, kHeld };

    void Work();
    EEnd Join();

    CModel& m_model;
    const std::unique_ptr<IRunThread> m_pThread;
    const std::function<void()> m_onEnded;
    CMessageQueue m_queue;
    CRunSignals m_signals;
    CSimulationLoop m_loop;
    std::optional<CRunProgress> m_progress;  // made for each simulation
    std::unique_ptr<CTrace> m_pTrace;
    CWatchControl* m_pWatch = nullptr;
    EState m_eState = EState::kIdle;

    // Written by the simulation's thread when it ends.
    std::mutex m_endMutex;
    std::condition_variable m_endCondition;
    bool m_bEnded = false;
    CSimulationLoop::EOutcome m_outcome = CSimulationLoop::EOutcome::kAbandoned;
};

}  // namespace mardo
