#include "sim/SimulationWorker.h"

#include <utility>

#include "sim/RunSignals.h"

namespace mardo {

CSimulationWorker::CSimulationWorker(CModel& model, IMessageLog& log, CRunSignals& runSignals,
                                     std::function<void()> onEnd)
    : m_loop(model, log, runSignals),
      m_signals(runSignals),
      m_onEnd(std::move(onEnd)),
      m_model(model) {}

CSimulationWorker::~CSimulationWorker() {
    if (m_thread.IsJoinable()) {
        Abandon();
        m_thread.Join();
    }
}

std::optional<std::string> CSimulationWorker::Start() {
    return m_thread.Start(m_model, [this] { Work(); });
}

void CSimulationWorker::Join() {
    m_thread.Join();
}

void CSimulationWorker::Abandon() {
    // The loop looks for the abandon signal only after a pause; the order makes sure it finds
    // it set once it has taken the pause, whenever that happens.
    m_signals.m_evAbandon.Set();
    m_signals.m_evPause.Set();
    m_signals.m_evResume.Set();
}

void CSimulationWorker::Work() {
    const EOutcome outcome = m_loop.Run();
    m_outcome.store(outcome);
    if (outcome != EOutcome::kAbandoned && m_onEnd) {
        m_onEnd();
    }
}

}  // namespace mardo
