// The run session that both the run window and the batch runner drive: the check before a
// simulation, its lines in order, and stop, hold, resume and abandon from the client's thread.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/run/RunSession.h"
#include "core/run/RunThread.h"

namespace mardo {
namespace {

using EEnd = CRunSession::EEnd;

// A thread with the system's default stack, enough for the small models here; or none at
// all, with the given refusal.
using test::CPlainThread;

std::chrono::seconds Noon() {
    return std::chrono::hours(12);
}

// The session with a fixed clock, and its lines as the client shows them.
struct SClient {
    explicit SClient(CModel& model, std::optional<std::string> refusal = std::nullopt)
        : session(model, std::make_unique<CPlainThread>(std::move(refusal))) {
        session.SetClock(Noon);
    }

    void Take() {
        for (const CMessageQueue::SLine& line : session.TakeMessages()) {
            lines.push_back(line.Format());
        }
    }
    // Takes lines, as a client's timer would, until the end comes.
    EEnd RunToEnd() {
        for (;;) {
            Take();
            if (const std::optional<EEnd> end = session.TakeEnd()) {
                return *end;
            }
            session.WaitFor(std::chrono::milliseconds(5));
        }
    }
    void WaitForTime(std::uint32_t nTime) {
        while (session.GetProgress().nModelTime < nTime) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    CRunSession session;
    std::vector<std::string> lines;
};

bool HoldsTransacts(const CModel& model) {
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsActive()) {
            return true;
        }
    }
    return false;
}

// Runs until stopped or abandoned; its queue only grows.
void MakeEndless(CModel& model) {
    test::BuildOverloadedSingleChannel(model);
    model.m_experiment = {CExperimentParams::kByTime, 30000, 30000};
}

TEST(RunSessionTest, AModelThatFailsTheCheckOrIsRefusedIsNotSimulatedAndTheLogSaysWhy) {
    CModel empty;
    SClient failed(empty);
    EXPECT_EQ(failed.session.Start(), EEnd::kCheckFailed);
    EXPECT_FALSE(failed.session.IsRunning());
    failed.Take();
    ASSERT_GE(failed.lines.size(), 2u);
    EXPECT_EQ(failed.lines.front(), "[12:00:00] Начало проверки модели");
    EXPECT_NE(failed.lines.back(), "[12:00:00] Закончена проверка модели");

    CModel model;
    test::BuildOverloadedSingleChannel(model);
    SClient refused(model, "Моделирование не запущено - отказ");
    EXPECT_EQ(refused.session.Start(), EEnd::kRefused);
    EXPECT_FALSE(refused.session.IsRunning());
    const std::vector<CMessageQueue::SLine> lines = refused.session.TakeMessages();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Format(), "[12:00:00] Закончена проверка модели");
    EXPECT_EQ(lines[2].strText, "Моделирование не запущено - отказ");
    EXPECT_EQ(lines[2].nKind, IMessageLog::kError);
}

TEST(RunSessionTest, ACompletedSimulationHandsOverItsLinesInOrderAndItsFigures) {
    CModel model;
    test::BuildOverloadedSingleChannel(model);
    model.m_experiment = {CExperimentParams::kByTime, 20, 2};
    SClient client(model);
    // Twice in the same session: the second simulation starts afresh.
    for (int nTime = 0; nTime < 2; ++nTime) {
        client.lines.clear();
        ASSERT_EQ(client.session.Start(), std::nullopt);
        EXPECT_TRUE(client.session.IsRunning());
        EXPECT_EQ(client.RunToEnd(), EEnd::kCompleted);
        EXPECT_EQ(client.lines, (std::vector<std::string>{
                                    "[12:00:00] Начало проверки модели",
                                    "[12:00:00] Закончена проверка модели",
                                    "[12:00:00] Начало запуска №00001",
                                    "[12:00:00] Завершен запуск №00001",
                                    "[12:00:00] Начало запуска №00002",
                                    "[12:00:00] Завершен запуск №00002",
                                }));
        const CRunSession::SProgress figures = client.session.GetProgress();
        EXPECT_EQ(figures.nModelTime, 40u);
        EXPECT_EQ(figures.nDeparted, model.BlockAt(3)->GetEntered());
        EXPECT_EQ(figures.share, 1.0);
        EXPECT_FALSE(client.session.IsRunning());
        EXPECT_EQ(client.session.TakeEnd(), std::nullopt);  // answered once
    }
}

TEST(RunSessionTest, AHeldSimulationStandsStillAndItsEndWaitsUntilItIsResumed) {
    CModel model;
    MakeEndless(model);
    SClient client(model);
    ASSERT_EQ(client.session.Start(), std::nullopt);
    client.session.Hold();
    while (!client.session.IsHoldTaken()) {
        std::this_thread::yield();
    }
    const std::uint32_t nHeld = client.session.GetProgress().nModelTime;
    EXPECT_FALSE(client.session.WaitFor(std::chrono::milliseconds(0)));
    EXPECT_EQ(client.session.GetProgress().nModelTime, nHeld);
    EXPECT_TRUE(client.session.IsHoldTaken());
    client.session.Resume();
    client.WaitForTime(nHeld + 1000);
    client.session.Stop();
    EXPECT_EQ(client.RunToEnd(), EEnd::kStopped);

    model.m_experiment = {CExperimentParams::kByTime, 40000, 5};
    // Held after it had ended by itself: the end is kept until the question is answered, and
    // the hold it never took is not left over for the next simulation.
    ASSERT_EQ(client.session.Start(), std::nullopt);
    while (!client.session.WaitFor(std::chrono::milliseconds(100))) {
    }
    client.session.Hold();
    EXPECT_FALSE(client.session.IsHoldTaken());
    client.Take();
    EXPECT_EQ(client.session.TakeEnd(), std::nullopt);
    client.session.Resume();
    EXPECT_EQ(client.session.TakeEnd(), EEnd::kCompleted);
    EXPECT_TRUE(client.session.AreSignalsClear());
}

TEST(RunSessionTest, AStopKeepsTheFiguresAndAnAbandonedHoldClearsTheModelWithoutAWord) {
    for (const bool bStop : {true, false}) {
        CModel model;
        MakeEndless(model);
        SClient client(model);
        ASSERT_EQ(client.session.Start(), std::nullopt);
        client.WaitForTime(10000);
        if (bStop) {
            client.session.Stop();
            EXPECT_EQ(client.RunToEnd(), EEnd::kStopped);
            EXPECT_EQ(client.lines.back(), "[12:00:00] Моделирование прервано");
            EXPECT_GE(client.session.GetProgress().nModelTime, 10000u);
        } else {
            client.session.Hold();
            EXPECT_TRUE(client.session.IsHeld());
            EXPECT_EQ(client.session.Abandon(), EEnd::kAbandoned);
            EXPECT_FALSE(client.session.IsRunning());
            client.Take();
            EXPECT_EQ(client.lines.back().rfind("[12:00:00] Начало запуска", 0), 0u);
        }
        EXPECT_FALSE(HoldsTransacts(model)) << bStop;
        EXPECT_TRUE(client.session.AreSignalsClear()) << bStop;
    }
}

TEST(RunSessionTest, RunningOutOfMemoryEndsLikeAStopWithItsOwnLine) {
    CModel model;
    test::BuildOverloadedSingleChannel(model);
    SClient client(model);
    // The third timed line is the simulation's first: its memory runs out there.
    int nCalls = 0;
    client.session.SetClock([&nCalls] {
        if (++nCalls == 3) {
            throw std::bad_alloc();
        }
        return Noon();
    });
    ASSERT_EQ(client.session.Start(), std::nullopt);
    EXPECT_EQ(client.RunToEnd(), EEnd::kOutOfMemory);
    EXPECT_EQ(client.lines.back(),
              "[12:00:00] Недостаточно памяти для моделирования: в модели 0 транзактов");
}

}  // namespace
}  // namespace mardo
