#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "SimulationThread.h"
#include "sim/SimulationLoop.h"

namespace mardo {

class CModel;
class IMessageLog;
struct CRunSignals;

// One simulation on its own thread. The thread runs the loop and nothing else: it logs
// through the given log, publishes its progress in the loop's atomics, and when the
// simulation has ended, unless it was abandoned, calls back once from the worker thread so
// that the owner can schedule the rest on its own thread. Abandoning means the owner is
// going away, so the worker calls nothing after it.
class CSimulationWorker {
public:
    using EOutcome = CSimulationLoop::EOutcome;

    CSimulationWorker(CModel& model, IMessageLog& log, CRunSignals& runSignals,
                      std::function<void()> onEnd);
    CSimulationWorker(const CSimulationWorker&) = delete;
    CSimulationWorker& operator=(const CSimulationWorker&) = delete;
    // Abandons a simulation that still runs and waits for its thread.
    ~CSimulationWorker();

    // Starts the thread, whose stack is sized for the model's longest chain of blocks. Answers
    // nothing when it runs, or the message telling why the model cannot be simulated.
    std::optional<std::string> Start();
    // Waits for the thread to end. The loop's figures and the outcome are final afterwards.
    void Join();
    // Makes a running simulation quit at its next tick boundary without figures.
    void Abandon();

    EOutcome GetOutcome() const { return m_outcome.load(); }
    std::uint32_t GetModelTime() const { return m_loop.GetModelTime(); }
    std::uint32_t GetDeparted() const { return m_loop.GetDeparted(); }
    std::int32_t GetRun() const { return m_loop.GetRun(); }

private:
    void Work();

    CSimulationLoop m_loop;
    CRunSignals& m_signals;
    const std::function<void()> m_onEnd;
    std::atomic<EOutcome> m_outcome{EOutcome::kAbandoned};
    CModel& m_model;
    platform::CSimulationThread m_thread;
};

}  // namespace mardo
