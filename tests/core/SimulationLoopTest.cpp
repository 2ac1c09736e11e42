#include "core/sim/SimulationLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <random>
#include <thread>

#include "TestSupport.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/sim/ModelCheck.h"
#include "core/sim/TransactMemory.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::CRecordingLog;
using test::Link;
using test::SLogLine;

CGenerateDlg& AddGenerator(CModel& model, const std::string& strName, std::int32_t nInterval) {
    auto& generator = AddNamed<CGenerateDlg>(model, strName);
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, nInterval, nInterval);
    return generator;
}

void SetExperiment(CModel& model, std::int32_t nRule, std::int32_t nValue, std::int32_t nRuns) {
    model.m_experiment = {nRule, nValue, nRuns};
}

SLogLine Info(const std::string& strText) { return {strText, IMessageLog::kInformation, true}; }

TEST(SimulationLoopTest, StopByTimeWithOneRun) {
    CModel model;
    auto& generator = AddGenerator(model, "G", 5);
    Link(generator, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 12, 1);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(loop.GetModelTime(), 12u);
    EXPECT_EQ(loop.GetDeparted(), 2u);
    EXPECT_EQ(log.m_lines, (std::vector<SLogLine>{Info("Начало запуска"), Info("Завершен запуск")}));
}

TEST(SimulationLoopTest, RunsContinueOneModelTimeAndNumberTheirMessages) {
    CModel model;
    auto& generator = AddGenerator(model, "G", 5);
    Link(generator, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 12, 3);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(loop.GetModelTime(), 36u);
    EXPECT_EQ(loop.GetDeparted(), 7u);  // ticks 5, 10, ..., 35: the countdown carries over
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{
                               "Начало запуска №00001", "Завершен запуск №00001",
                               "Начало запуска №00002", "Завершен запуск №00002",
                               "Начало запуска №00003", "Завершен запуск №00003"}));
}

TEST(SimulationLoopTest, EmptySystemEndsTheRunNormally) {
    CModel model;
    auto& generator = AddGenerator(model, "G", 1);
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 3;
    Link(generator, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 1000, 2);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(loop.GetModelTime(), 6u);
    EXPECT_EQ(loop.GetDeparted(), 6u);
    const SLogLine warning{"Моделирование остановлено - нет транзактов в системе!",
                           IMessageLog::kWarning, true};
    EXPECT_EQ(log.m_lines,
              (std::vector<SLogLine>{Info("Начало запуска №00001"), warning,
                                     Info("Завершен запуск №00001"), Info("Начало запуска №00002"),
                                     warning, Info("Завершен запуск №00002")}));
}

TEST(SimulationLoopTest, StopByCountCountsOnlyTheLastNamedTerminator) {
    CModel model;
    auto& g1 = AddGenerator(model, "G1", 1);
    Link(g1, AddNamed<CTerminateDlg>(model, "T1"));
    auto& g2 = AddGenerator(model, "G2", 3);
    Link(g2, AddNamed<CTerminateDlg>(model, "T2"));
    // An unnamed terminator later in the list is no reference.
    model.Add<CTerminateDlg>();
    SetExperiment(model, CExperimentParams::kByCount, 4, 2);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(loop.GetModelTime(), 24u);
    EXPECT_EQ(loop.GetDeparted(), 8u);
    EXPECT_EQ(model.BlockAt(1)->GetEntered(), 24u);
}

TEST(SimulationLoopTest, ZeroRunsOrAZeroCountEndEarly) {
    CModel model;
    auto& generator = AddGenerator(model, "G", 1);
    Link(generator, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 10, 0);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop none(model, log, signals);
    EXPECT_EQ(none.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(none.GetModelTime(), 0u);
    EXPECT_TRUE(log.m_lines.empty());

    SetExperiment(model, CExperimentParams::kByCount, 0, 3);
    CSimulationLoop single(model, log, signals);
    single.Run();
    EXPECT_EQ(single.GetModelTime(), 3u);  // every run ends after its first tick
}

TEST(SimulationLoopTest, GeneratorsTakeTurnsAcrossTicks) {
    // Two generators feed one device: whichever generator's pass comes first in a tick offers
    // its list first, and the order rotates every tick, so the device alternates between them.
    CModel model;
    auto& g1 = AddGenerator(model, "G1", 1);
    auto& g2 = AddGenerator(model, "G2", 1);
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    Link(g1, device);
    Link(g2, device);
    Link(device, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 100, 1);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.Run();
    // Device takes one per tick from ticks 1..100 while both lists grow by one per tick.
    EXPECT_EQ(device.GetEntered(), 100u);
    EXPECT_EQ(device.GetWaiting(), 100u);
    EXPECT_EQ(g1.GetRemaining() + g2.GetRemaining(), 100u);
    EXPECT_EQ(g1.GetRemaining(), 50u);
}

TEST(SimulationLoopTest, TwoSimulationsInARowGiveIdenticalFigures) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 10);
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    queue.m_params.m_nDiscipline = CQueueParams::kRandom;
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 8);
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, queue);
    Link(queue, device);
    Link(device, terminator);
    SetExperiment(model, CExperimentParams::kByTime, 5000, 3);
    auto figures = [&] {
        CRecordingLog log;
        CRunSignals signals;
        CSimulationLoop(model, log, signals).Run();
        return std::tuple(terminator.GetEntered(), queue.GetAvgContent(), queue.GetZeroEntries(),
                          device.GetUtilization(), device.GetAvgTime());
    };
    const auto first = figures();
    // Draw from this thread's sequence in between: the next simulation starts afresh anyway.
    generator.m_law.Sample();
    const auto second = figures();
    EXPECT_EQ(first, second);
    std::tuple<std::uint32_t, double, std::uint32_t, double, double> fromAnotherThread;
    std::thread([&] { fromAnotherThread = figures(); }).join();
    EXPECT_EQ(first, fromAnotherThread);
}

TEST(SimulationLoopTest, LinksToUnnamedBlocksNeitherCrashNorMoveAnything) {
    // Only a hand-made file links named blocks to unnamed ones. An unprepared block ignores
    // every pass, so what is routed to it waits upstream; an unnamed terminator still destroys
    // and counts what reaches it, though it is never the reference terminator.
    CModel model;
    auto& generator = AddGenerator(model, "G1", 1);
    auto& block = AddNamed<CTransferDlg>(model, "K");
    auto& unnamedQueue = model.Add<CQueueDlg>();
    auto& unnamedTerminator = model.Add<CTerminateDlg>();
    auto& other = AddGenerator(model, "G2", 2);
    Link(generator, block);
    Link(block, unnamedQueue, 0);
    Link(block, unnamedTerminator, 1);
    Link(other, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 1000, 1);
    CRecordingLog log;
    ASSERT_TRUE(CheckModel(model, log));
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_EQ(loop.GetDeparted(), 500u);
    EXPECT_GT(unnamedTerminator.GetEntered(), 0u);
    EXPECT_EQ(unnamedQueue.GetEntered(), 0u);
    EXPECT_EQ(block.GetEntered(), 1000u);
    EXPECT_GT(block.GetRemaining() + unnamedTerminator.GetEntered(), 0u);
}

// A long simulation: a transact per tick for 30000 ticks in each of 30000 runs.
void MakeEndlessModel(CModel& model) {
    auto& generator = AddGenerator(model, "G", 1);
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 2, 2);
    Link(generator, queue);
    Link(queue, device);
    Link(device, AddNamed<CTerminateDlg>(model, "T"));
    SetExperiment(model, CExperimentParams::kByTime, 30000, 30000);
}

void WaitForTime(const CSimulationLoop& loop, std::uint32_t nTime) {
    while (loop.GetModelTime() < nTime) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool HoldsNoTransacts(const CModel& model) {
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsActive()) {
            return false;
        }
    }
    const auto& queue = static_cast<const CQueueDlg&>(*model.BlockAt(1));
    const auto& generator = static_cast<const CGenerateDlg&>(*model.BlockAt(0));
    return queue.GetContent().IsEmpty() && generator.GetOutList().IsEmpty();
}

TEST(SimulationLoopTest, StopFromAnotherThreadKeepsTheFigures) {
    CModel model;
    MakeEndlessModel(model);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    CSimulationLoop::EOutcome outcome{};
    std::thread worker([&] { outcome = loop.Run(); });
    WaitForTime(loop, 100000);
    signals.Stop();
    worker.join();
    EXPECT_EQ(outcome, CSimulationLoop::EOutcome::kStopped);
    ASSERT_GE(log.m_lines.size(), 2u);
    EXPECT_EQ(log.m_lines.back(), (SLogLine{"Моделирование прервано", IMessageLog::kError, true}));
    // The interrupted run has no end message.
    EXPECT_EQ(log.m_lines[log.m_lines.size() - 2].strText.rfind("Начало запуска", 0), 0u);
    const auto& queue = static_cast<const CQueueDlg&>(*model.BlockAt(1));
    EXPECT_GT(queue.GetEntered(), 100000u);
    EXPECT_GT(queue.GetRemaining(), 40000u);
    EXPECT_EQ(loop.GetDeparted(), model.BlockAt(3)->GetEntered());
    EXPECT_TRUE(HoldsNoTransacts(model));
}

TEST(SimulationLoopTest, PauseHoldsTheWorkerAndAbandonClearsWithoutMessages) {
    CModel model;
    MakeEndlessModel(model);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    CSimulationLoop::EOutcome outcome{};
    std::thread worker([&] { outcome = loop.Run(); });
    WaitForTime(loop, 50000);

    // Paused: model time stands still until resumed (the close question answered No).
    signals.Hold();
    while (!signals.IsHeld()) {
        std::this_thread::yield();
    }
    const std::uint32_t nPaused = loop.GetModelTime();
    std::this_thread::yield();
    EXPECT_TRUE(signals.IsHeld());
    EXPECT_EQ(loop.GetModelTime(), nPaused);
    signals.Resume();
    WaitForTime(loop, nPaused + 10000);

    // Answered Yes: abandon, then resume.
    signals.Hold();
    signals.Abandon();
    worker.join();
    EXPECT_EQ(outcome, CSimulationLoop::EOutcome::kAbandoned);
    // No stop message, no end message for the abandoned run.
    EXPECT_EQ(log.m_lines.back().strText.rfind("Начало запуска", 0), 0u);
    EXPECT_TRUE(HoldsNoTransacts(model));
}

// The run window's side of the signals, at moments a random generator picks.
class CRandomWindow {
public:
    CRandomWindow(CSimulationLoop& loop, CRunSignals& signals, std::uint32_t nSeed)
        : m_loop(loop), m_signals(signals), m_random(nSeed) {}

    // Waits until the simulation reaches a random tick (or not at all).
    void WaitForARandomTick() {
        const std::uint32_t nTarget = m_loop.GetModelTime() + Pick(0, 3000);
        while (m_loop.GetModelTime() < nTarget) {
            std::this_thread::yield();
        }
    }
    // The close question answered No: the simulation holds while it is asked, then goes on.
    void AnswerNo() {
        m_signals.Hold();
        SpinAWhile();
        if (m_signals.IsHeld()) {
            // Taken: the worker waits for the answer and model time stands still.
            const std::uint32_t nHeld = m_loop.GetModelTime();
            SpinAWhile();
            EXPECT_EQ(m_loop.GetModelTime(), nHeld);
        }
        m_signals.Resume();
    }
    void AnswerYes() {
        m_signals.Hold();
        SpinAWhile();
        m_signals.Abandon();
    }
    std::uint32_t Pick(std::uint32_t nLow, std::uint32_t nHigh) {
        return std::uniform_int_distribution<std::uint32_t>(nLow, nHigh)(m_random);
    }

private:
    void SpinAWhile() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(Pick(0, 300));
        while (std::chrono::steady_clock::now() < end) {
        }
    }

    CSimulationLoop& m_loop;
    CRunSignals& m_signals;
    std::mt19937 m_random;
};

TEST(SimulationLoopTest, SignalsFromAnotherThreadAtRandomTicksAreHeeded) {
    for (std::uint32_t nRound = 0; nRound < 200; ++nRound) {
        CModel model;
        MakeEndlessModel(model);
        CRecordingLog log;
        CRunSignals signals;
        CSimulationLoop loop(model, log, signals);
        CRandomWindow window(loop, signals, nRound);
        CSimulationLoop::EOutcome outcome{};
        std::thread worker([&] { outcome = loop.Run(); });
        // Any number of questions answered No, then a stop or a Yes.
        for (std::uint32_t nNo = window.Pick(0, 3); nNo > 0; --nNo) {
            window.WaitForARandomTick();
            window.AnswerNo();
        }
        window.WaitForARandomTick();
        const bool bStop = window.Pick(0, 1) == 0;
        if (bStop) {
            signals.Stop();
        } else {
            window.AnswerYes();
        }
        worker.join();
        if (bStop) {
            EXPECT_EQ(outcome, CSimulationLoop::EOutcome::kStopped) << nRound;
            EXPECT_EQ(log.m_lines.back().strText, "Моделирование прервано") << nRound;
        } else {
            EXPECT_EQ(outcome, CSimulationLoop::EOutcome::kAbandoned) << nRound;
            EXPECT_EQ(log.m_lines.back().strText.rfind("Начало запуска", 0), 0u) << nRound;
        }
        EXPECT_TRUE(HoldsNoTransacts(model)) << nRound;
        // Every signal was taken: none is left to disturb the next simulation.
        EXPECT_TRUE(signals.IsClear()) << nRound;
    }
}

// A block that runs out of memory in a given tick, standing in for a list that cannot grow.
class CFailingBlock final : public CBlockDlg {
public:
    explicit CFailingBlock(std::uint32_t nFailAt)
        : CBlockDlg(EBlockKind::kGather, "Сбой", SBlockTraits{}, 0, {}), m_nFailAt(nFailAt) {}
    std::unique_ptr<CBlockDlg> Clone() const override { return nullptr; }
    bool EditProperties(IBlockEditor&, const CBlockList&) override { return false; }
    void ArrivalPass(CTransactList* pIn, std::uint32_t nTime) override {
        if (nTime == m_nFailAt) {
            throw std::bad_alloc();
        }
        if (pIn != nullptr) {
            m_nEntered += static_cast<std::uint32_t>(pIn->GetCount());
            pIn->DeleteAll();
        }
    }

private:
    std::uint32_t m_nFailAt;
};

TEST(SimulationLoopTest, RunningOutOfMemoryEndsLikeAStopWithItsOwnMessage) {
    CModel model;
    auto& generator = AddGenerator(model, "G", 1);
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    auto& failing = static_cast<CFailingBlock&>(model.AddBlock(std::make_unique<CFailingBlock>(500)));
    failing.SetName("F");
    Link(generator, queue);
    Link(queue, device);
    Link(device, failing);
    model.Add<CTerminateDlg>();
    SetExperiment(model, CExperimentParams::kByTime, 1000, 1);
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kOutOfMemory);
    const std::uint32_t nHeld = generator.GetRemaining() + queue.GetRemaining() +
                                device.GetRemaining() + failing.GetRemaining();
    EXPECT_EQ(log.m_lines.back().strText.rfind("Недостаточно памяти для моделирования: в модели " +
                                                   std::to_string(nHeld) + " транзакт",
                                               0),
              0u)
        << log.m_lines.back().strText;
    EXPECT_EQ(log.m_lines.back().nKind, IMessageLog::kError);
    EXPECT_EQ(loop.GetModelTime(), 500u);
    // The figures were computed, then every transact was dropped.
    EXPECT_GT(queue.GetRemaining(), 300u);
    EXPECT_GT(device.GetEntered(), 100u);
    EXPECT_FALSE(queue.IsActive());
    EXPECT_TRUE(queue.GetContent().IsEmpty());
}

// Every arrival's three copies wait for five: they pile up, and the stop rule, by departures,
// is never met.
struct SEndlessRegathering {
    CModel model;
    CGenerateDlg& generator = AddGenerator(model, "G", 1);
    CSplitDlg& split = AddNamed<CSplitDlg>(model, "S");
    CGatherDlg& gather = AddNamed<CGatherDlg>(model, "W");

    SEndlessRegathering() {
        split.SetOutputCount(1);
        split.m_copyCounts = {3};
        gather.m_nWaitCount = 5;
        Link(generator, split);
        Link(split, gather);
        Link(gather, AddNamed<CTerminateDlg>(model, "T"));
        SetExperiment(model, CExperimentParams::kByCount, 1, 1);
    }
};

// The limit on the transacts' memory for as long as it lives.
class CTransactMemoryLimit {
public:
    explicit CTransactMemoryLimit(std::size_t nBytes) { CTransactMemory::SetLimit(nBytes); }
    ~CTransactMemoryLimit() { CTransactMemory::SetLimit(SIZE_MAX); }
};

TEST(SimulationLoopTest, TransactsPilingUpToTheirMemoryLimitEndTheSimulationWithTheirNumber) {
    const std::size_t nTakenBefore = CTransactMemory::GetTaken();
    {
        SEndlessRegathering endless;
        CRecordingLog log;
        CRunSignals signals;
        CSimulationLoop loop(endless.model, log, signals);
        {
            const CTransactMemoryLimit limit(nTakenBefore + (std::size_t{1} << 20));
            EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kOutOfMemory);
        }
        // The figures so far, and the transacts then held (nearly all waiting) in the message.
        std::uint64_t nHeld = 0;
        for (const auto& pBlock : endless.model.GetBlocks()) {
            nHeld += pBlock->GetRemaining();
        }
        EXPECT_GT(endless.gather.GetRemaining(), 10000u);
        EXPECT_GE(nHeld, endless.gather.GetRemaining());
        EXPECT_EQ(log.m_lines.back().strText.rfind(
                      "Недостаточно памяти для моделирования: в модели " + std::to_string(nHeld) +
                          " транзакт",
                      0),
                  0u)
            << log.m_lines.back().strText;
        EXPECT_EQ(log.m_lines.back().nKind, IMessageLog::kError);
        EXPECT_FALSE(endless.gather.HasTransacts());
    }
    // What the transacts took went back with them.
    EXPECT_EQ(CTransactMemory::GetTaken(), nTakenBefore);
}

TEST(SimulationLoopTest, ASimulationWhoseStopRuleIsNotMetByTheLastTickEndsThere) {
    // One arrival, then only the generator's draws every 10 000 ticks: the ticks between pass
    // at once. By departures, which never come; or by time, with three runs ending exactly at
    // the last tick and a fourth that has no tick left.
    const CExperimentParams never{CExperimentParams::kByCount, 1, 1};
    const CExperimentParams exact{CExperimentParams::kByTime, 1431655765, 4};
    for (const CExperimentParams& experiment : {never, exact}) {
        SEndlessRegathering endless;
        endless.generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 10000, 10000);
        endless.generator.m_params.m_bLimit = 1;
        endless.generator.m_params.m_nLimit = 1;
        endless.model.m_experiment = experiment;
        CRecordingLog log;
        CRunSignals signals;
        CSimulationLoop loop(endless.model, log, signals);
        EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kOutOfTime);
        EXPECT_EQ(log.m_lines.back(),
                  (SLogLine{"Моделирование остановлено - модельное время достигло предела 4294967295",
                            IMessageLog::kError, true}));
        EXPECT_EQ(log.m_lines[log.m_lines.size() - 2].strText,
                  CSimulationLoop::RunMessage("Начало запуска", experiment.nRuns, experiment.nRuns));
        EXPECT_EQ(loop.GetModelTime(), CSimulationLoop::kLastTick);
        // The figures of the transacts still waiting.
        EXPECT_GT(endless.gather.GetRemaining(), 0u);
    }
}

}  // namespace
}  // namespace mardo
