#include "core/run/RunSession.h"

#include <utility>

#include "core/model/Model.h"
#include "core/run/WatchControl.h"
#include "core/sim/ModelCheck.h"

namespace mardo {

namespace {

constexpr const char* kCheckStart = "Начало проверки модели";
constexpr const char* kCheckEnd = "Закончена проверка модели";

}  // namespace

CRunSession::CRunSession(CModel& model, std::unique_ptr<IRunThread> pThread,
                         std::function<void()> onEnded)
    : m_model(model),
      m_pThread(std::move(pThread)),
      m_onEnded(std::move(onEnded)),
      m_queue(LocalTimeOfDay),
      m_loop(model, m_queue, m_signals) {}

CRunSession::~CRunSession() {
    if (IsRunning()) {
        Abandon();
    }
}

std::optional<CRunSession::EEnd> CRunSession::Start() {
    if (IsRunning()) {
        return std::nullopt;
    }
    // Lines of an abandoned simulation that nobody took belong to no one now.
    m_queue.Clear();
    m_queue.AddMessage(kCheckStart, IMessageLog::kInformation, true);
    if (!CheckModel(m_model, m_queue)) {
        return EEnd::kCheckFailed;
    }
    m_queue.AddMessage(kCheckEnd, IMessageLog::kInformation, true);
    m_signals.Clear();
    m_progress.emplace(m_model.m_experiment);
    m_bEnded = false;
    if (std::optional<std::string> refusal = m_pThread->Start(m_model, [this] { Work(); })) {
        m_queue.AddMessage(*refusal, IMessageLog::kError, true);
        return EEnd::kRefused;
    }
    m_eState = EState::kRunning;
    return std::nullopt;
}

void CRunSession::Work() {
    const CSimulationLoop::EOutcome outcome = m_loop.Run();
    {
        const std::lock_guard<std::mutex> lock(m_endMutex);
        m_outcome = outcome;
        m_bEnded = true;
    }
    m_endCondition.notify_all();
    // Abandoning means the client is going away: nothing may call it after that.
    if (outcome != CSimulationLoop::EOutcome::kAbandoned && m_onEnded) {
        m_onEnded();
    }
}

void CRunSession::Hold() {
    if (m_eState == EState::kRunning) {
        m_signals.Hold();
        m_eState = EState::kHeld;
    }
}

void CRunSession::Resume() {
    if (m_eState == EState::kHeld) {
        m_signals.Resume();
        m_eState = EState::kRunning;
    }
}

void CRunSession::Stop() {
    m_signals.Stop();
    if (m_pWatch != nullptr) {
        m_pWatch->Release();
    }
}

CRunSession::EEnd CRunSession::Abandon() {
    if (!IsRunning()) {
        return EEnd::kAbandoned;
    }
    m_signals.Abandon();
    if (m_pWatch != nullptr) {
        m_pWatch->Release();
    }
    return Join();
}

CRunSession::SProgress CRunSession::GetProgress() {
    SProgress progress{m_loop.GetModelTime(), m_loop.GetDeparted(), m_loop.GetRun(), 0.0};
    if (m_progress) {
        progress.share = m_progress->Update(progress.nRun, progress.nModelTime, progress.nDeparted);
    }
    return progress;
}

bool CRunSession::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_endMutex);
    return m_endCondition.wait_for(lock, timeout, [this] { return m_bEnded; });
}

std::optional<CRunSession::EEnd> CRunSession::TakeEnd() {
    if (m_eState != EState::kRunning || !m_queue.IsEmpty()) {
        return std::nullopt;
    }
    {
        const std::lock_guard<std::mutex> lock(m_endMutex);
        if (!m_bEnded) {
            return std::nullopt;
        }
    }
    return Join();
}

CRunSession::EEnd CRunSession::Join() {
    m_pThread->Join();
    // No simulation runs now, so whatever request is still set was meant for one that has gone.
    m_signals.Clear();
    m_eState = EState::kIdle;
    switch (m_outcome) {
        case CSimulationLoop::EOutcome::kCompleted:
            return EEnd::kCompleted;
        case CSimulationLoop::EOutcome::kStopped:
            return EEnd::kStopped;
        case CSimulationLoop::EOutcome::kOutOfMemory:
            return EEnd::kOutOfMemory;
        case CSimulationLoop::EOutcome::kOutOfTime:
            return EEnd::kOutOfTime;
        case CSimulationLoop::EOutcome::kAbandoned:
            break;
    }
    return EEnd::kAbandoned;
}

void CRunSession::SetTracing(bool bTrace) {
    m_pTrace = bTrace ? std::make_unique<CTrace>() : nullptr;
    m_loop.SetTrace(m_pTrace.get());
}

void CRunSession::SetWatch(CWatchControl* pWatch) {
    m_pWatch = pWatch;
    m_loop.SetObserver(pWatch);
}

}  // namespace mardo
