#include "core/sim/SimulationLoop.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "core/model/BlockDlg.h"
#include "core/model/Model.h"
#include "core/sim/QuietTicks.h"
#include "core/sim/TickObserver.h"
#include "core/sim/Rand.h"
#include "core/sim/Trace.h"

namespace mardo {

namespace {

constexpr const char* kRunStart = "Начало запуска";
constexpr const char* kRunEnd = "Завершен запуск";
constexpr const char* kEmptySystem = "Моделирование остановлено - нет транзактов в системе!";
constexpr const char* kStopped = "Моделирование прервано";
constexpr const char* kOutOfTime =
    "Моделирование остановлено - модельное время достигло предела 4294967295";

// "N транзактов", in the form the number asks for.
std::string TransactCount(std::uint64_t n) {
    const std::uint64_t nLast = n % 10;
    const bool bTeen = n % 100 / 10 == 1;
    const char* pszWord = !bTeen && nLast == 1                 ? "транзакт"
                          : !bTeen && nLast >= 2 && nLast <= 4 ? "транзакта"
                                                               : "транзактов";
    return std::to_string(n) + " " + pszWord;
}

}  // namespace

CSimulationLoop::CSimulationLoop(CModel& model, IMessageLog& log, CRunSignals& signals)
    : m_model(model), m_log(log), m_signals(signals) {}

std::string CSimulationLoop::RunMessage(const char* pszText, std::int32_t nRun,
                                        std::int32_t nRuns) {
    if (nRuns < 2) {
        return pszText;
    }
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%05d", nRun);
    return std::string(pszText) + " №" + szNumber;
}

CSimulationLoop::EOutcome CSimulationLoop::Run() {
    m_random.Start();
    m_nTime = 0;
    m_bQuietAfterLastTick = false;
    m_nAskCredit = 0;
    m_bWarmedUp = m_nWarmup == 0;
    m_nWarmupDepartures = 0;
    m_nModelTime.store(0, std::memory_order_relaxed);
    m_nDeparted.store(0, std::memory_order_relaxed);
    m_nRun.store(0, std::memory_order_relaxed);
    EOutcome outcome;
    try {
        Prepare();
        outcome = RunAll();
    } catch (const std::bad_alloc&) {
        outcome = EOutcome::kOutOfMemory;
    } catch (const std::length_error&) {  // a list asked for more than memory can hold
        outcome = EOutcome::kOutOfMemory;
    }
    m_nEndState = GetRandState();
    if (outcome == EOutcome::kAbandoned) {
        ClearAll();
        return outcome;
    }
    Finish();
    if (outcome == EOutcome::kOutOfMemory) {
        // Logged once the transacts are gone, so that the line itself has memory to live in.
        try {
            m_log.AddMessage("Недостаточно памяти для моделирования: в модели " +
                                 TransactCount(HeldAtEnd()),
                             IMessageLog::kError, true);
        } catch (const std::bad_alloc&) {
        }
    }
    return outcome;
}

void CSimulationLoop::Prepare() {
    m_generators.clear();
    m_nFirstGenerator = 0;
    m_pReference = nullptr;
    m_bNeverEmpty = false;
    for (const auto& pBlock : m_model.GetBlocks()) {
        if (!pBlock->IsNamed()) {
            continue;
        }
        pBlock->TakeRandomSources(m_random);
        pBlock->PrepareRun();
        if (pBlock->IsSource()) {
            m_generators.push_back(pBlock.get());
        }
        m_bNeverEmpty = m_bNeverEmpty || pBlock->KeepsSystemAlive();
        if (pBlock->IsExit()) {
            m_pReference = pBlock.get();
        }
    }
    if (m_pTrace != nullptr) {
        m_pTrace->Follow(m_model.GetBlocks());
    }
    m_watched.clear();
    if (m_bSkipQuiet) {
        m_watched = WatchForQuietTicks(m_model);
    }
}

CSimulationLoop::EOutcome CSimulationLoop::RunAll() {
    const std::int32_t nRuns = m_model.m_experiment.nRuns;
    for (std::int32_t k = 1; k <= nRuns; ++k) {
        m_nRun.store(k, std::memory_order_relaxed);
        m_log.AddMessage(RunMessage(kRunStart, k, nRuns), IMessageLog::kInformation, true);
        std::optional<EOutcome> end = RunTicks();
        if (const ESignal signal = end ? ESignal::kGoOn : m_signals.Take();
            signal != ESignal::kGoOn) {
            end = EndFor(signal);
        }
        if (end == EOutcome::kStopped) {
            m_log.AddMessage(kStopped, IMessageLog::kError, true);
        }
        if (end) {
            return *end;
        }
        for (const auto& pBlock : m_model.GetBlocks()) {
            pBlock->EndRun();
        }
        m_log.AddMessage(RunMessage(kRunEnd, k, nRuns), IMessageLog::kInformation, true);
    }
    return EOutcome::kCompleted;
}

CSimulationLoop::EOutcome CSimulationLoop::EndFor(ESignal signal) {
    return signal == ESignal::kAbandon ? EOutcome::kAbandoned : EOutcome::kStopped;
}

std::optional<CSimulationLoop::EOutcome> CSimulationLoop::RunTicks() {
    const CExperimentParams& experiment = m_model.m_experiment;
    const auto nStopValue = static_cast<std::uint32_t>(experiment.nStopValue);
    const bool bByTime = experiment.nStopRule == CExperimentParams::kByTime;
    // The stop rule counts the departures of the warm-up too: the warm-up changes the figures,
    // never the course of the simulation.
    const auto departures = [this] { return Departures() + m_nWarmupDepartures; };
    const std::uint32_t nDeparturesAtStart = departures();
    m_nextBusy = SQuietTicks{0};
    // Model time runs out at its last tick, which the last run may have reached already.
    const auto outOfTime = [this] {
        m_log.AddMessage(kOutOfTime, IMessageLog::kError, true);
        return EOutcome::kOutOfTime;
    };
    if (m_nTime == kLastTick) {
        return outOfTime();
    }
    if (m_nTime == 0 && m_pObserver != nullptr) {
        Observe();
        if (const ESignal signal = m_signals.Take(); signal != ESignal::kGoOn) {
            return EndFor(signal);
        }
    }
    for (std::uint32_t t = 1;; ++t) {
        Tick(++m_nTime);
        if (m_pTrace != nullptr) {
            m_pTrace->Sample(m_nTime);
        }
        if (m_nTime == m_nWarmup) {
            ResetStatistics();
        }
        Publish();
        const std::uint32_t nSkipTo = Observe();
        if (bByTime ? t == nStopValue : departures() - nDeparturesAtStart >= nStopValue) {
            return std::nullopt;
        }
        if (IsSystemEmpty()) {
            m_log.AddMessage(kEmptySystem, IMessageLog::kWarning, true);
            return std::nullopt;
        }
        if (m_nTime == kLastTick) {
            return outOfTime();
        }
        ESignal signal = m_signals.Take();
        if (signal != ESignal::kGoOn) {
            return EndFor(signal);
        }
        if (m_watched.empty()) {
            continue;
        }
        // Ticks in which nothing would change pass at once; departures, the system's
        // emptiness and the stop rule's count stay as they are through them. When the rest of
        // the tick was found quiet, the blocks' answers then hold now as well.
        const std::uint32_t nNext = m_nTime + 1;
        if (m_nextBusy.nAny <= m_nTime) {
            m_nextBusy = NextBusyTicks(nNext, false);
        }
        const std::uint32_t nBusy = m_nextBusy.nAny;
        std::uint32_t nQuiet = nBusy > nNext ? nBusy - nNext : 0;
        m_bQuietAfterLastTick = nQuiet != 0;
        if (bByTime && nStopValue > t) {
            nQuiet = std::min(nQuiet, nStopValue - t);
        }
        if (m_nTime < m_nWarmup) {
            nQuiet = std::min(nQuiet, m_nWarmup - m_nTime);
        }
        nQuiet = std::min(nQuiet, nSkipTo - m_nTime);
        if (nQuiet == 0) {
            continue;
        }
        m_nTime += nQuiet;
        t += nQuiet;
        if (m_generators.size() > 1) {
            m_nFirstGenerator = (m_nFirstGenerator + nQuiet) % m_generators.size();
        }
        if (m_nTime == m_nWarmup) {
            ResetStatistics();
        }
        Publish();
        Observe();
        if (bByTime && t == nStopValue) {
            return std::nullopt;
        }
        signal = m_signals.Take();
        if (signal != ESignal::kGoOn) {
            return EndFor(signal);
        }
    }
}

void CSimulationLoop::Publish() {
    m_nModelTime.store(m_nTime, std::memory_order_relaxed);
    m_nDeparted.store(Departures(), std::memory_order_relaxed);
}

std::uint32_t CSimulationLoop::Observe() {
    return m_pObserver != nullptr ? m_pObserver->AtBoundary(m_nTime, Departures())
                                  : CBlockDlg::kForever;
}

SQuietTicks CSimulationLoop::NextBusyTicks(std::uint32_t nFrom, bool bWithinTick) {
    // Stop short of the end of model time, where it would wrap around.
    SQuietTicks busy{CBlockDlg::kForever - 1};
    for (CBlockDlg* pBlock : m_watched) {
        const SQuietTicks quiet = pBlock->QuietUntil(nFrom);
        busy.nAny = std::min(busy.nAny, quiet.nAny);
        busy.nArrival = std::min(busy.nArrival, quiet.nArrival);
        if (busy.nAny <= nFrom && (bWithinTick || busy.nArrival <= nFrom)) {
            break;
        }
    }
    return busy;
}

inline SQuietTicks CSimulationLoop::AskWithinTick(std::uint32_t nTime) {
    const SQuietTicks busy = NextBusyTicks(nTime, true);
    m_nAskCredit = busy.nAny > nTime ? kFullAskCredit : std::max(m_nAskCredit - 1, 0);
    return busy;
}

// One tick: the three passes through every generator, which then rotate by one. A pass is
// left out when no block it reaches could do anything in it but keep its figures, which the
// blocks catch up on lazily: it would change nothing. The arrival pass, when the blocks' answers
// after the last tick say so (a tick in which a service only ends); the rest of the tick when
// their answers after a pass say so: after the arrival pass in a tick in which a transact only
// arrives, after the service pass in most ticks of most models, where what it released has
// already moved on. When the rest of the tick is quiet the answers serve the skip that follows;
// otherwise the asking ends at the first block that could act now.
void CSimulationLoop::Tick(std::uint32_t nTime) {
    const bool bArrival = m_nextBusy.nArrival <= nTime;
    m_nextBusy = SQuietTicks{0};
    if (bArrival) {
        ForEachGenerator([nTime](CBlockDlg& generator) { generator.ArrivalPass(nullptr, nTime); });
        if (WorthAsking()) {
            m_nextBusy = AskWithinTick(nTime);
        }
    }
    if (m_nextBusy.nAny <= nTime) {
        ForEachGenerator([nTime](CBlockDlg& generator) { generator.ServicePass(nullptr, nTime); });
        m_nextBusy = WorthAsking() ? AskWithinTick(nTime) : SQuietTicks{0};
        if (m_nextBusy.nAny <= nTime) {
            ForEachGenerator(
                [nTime](CBlockDlg& generator) { generator.FinalPass(nullptr, nTime); });
        }
    }
    if (++m_nFirstGenerator >= m_generators.size()) {
        m_nFirstGenerator = 0;
    }
}

template <typename TCall>
void CSimulationLoop::ForEachGenerator(TCall call) {
    const std::size_t nCount = m_generators.size();
    for (std::size_t g = m_nFirstGenerator; g < nCount; ++g) {
        call(*m_generators[g]);
    }
    for (std::size_t g = 0; g < m_nFirstGenerator; ++g) {
        call(*m_generators[g]);
    }
}

bool CSimulationLoop::IsSystemEmpty() const {
    if (m_bNeverEmpty) {
        return false;
    }
    for (const auto& pBlock : m_model.GetBlocks()) {
        if (pBlock->HasTransacts()) {
            return false;
        }
    }
    return true;
}

void CSimulationLoop::ResetStatistics() {
    m_nWarmupDepartures = Departures();
    for (const auto& pBlock : m_model.GetBlocks()) {
        pBlock->CatchUp(m_nTime);
        pBlock->ResetStatistics(m_nTime);
    }
    m_bWarmedUp = true;
}

// The end of a completed or stopped simulation: the figures, then no transacts anywhere.
void CSimulationLoop::Finish() {
    if (!m_bWarmedUp) {
        // The simulation ended within its warm-up: nothing is left to measure.
        ResetStatistics();
    }
    for (const auto& pBlock : m_model.GetBlocks()) {
        pBlock->CatchUp(m_nTime);
        pBlock->ComputeStatistics();
    }
    if (m_pTrace != nullptr) {
        m_pTrace->Finish(m_nTime);
    }
    ClearAll();
    m_nModelTime.store(m_nTime - std::min(m_nTime, m_nWarmup), std::memory_order_relaxed);
    m_nDeparted.store(Departures(), std::memory_order_relaxed);
}

void CSimulationLoop::ClearAll() {
    for (const auto& pBlock : m_model.GetBlocks()) {
        pBlock->ClearTransacts();
    }
}

std::uint64_t CSimulationLoop::HeldAtEnd() const {
    std::uint64_t nHeld = 0;
    for (const auto& pBlock : m_model.GetBlocks()) {
        nHeld += pBlock->GetRemaining();
    }
    return nHeld;
}

std::uint32_t CSimulationLoop::Departures() const {
    return m_pReference != nullptr ? m_pReference->GetEntered() : 0;
}

}  // namespace mardo
