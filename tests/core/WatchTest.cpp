// Watching a simulation tick by tick: what the view is shown is what the simulation does, a
// pause condition stops at the first tick in which it comes to hold, and watching changes no
// figure.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "RandomModel.h"
#include "core/run/RunSession.h"
#include "core/run/WatchControl.h"

namespace mardo {
namespace {

// A simulation on a thread of its own, watched from the test's thread as a view would.
class CWatched {
public:
    explicit CWatched(CModel& model)
        : m_model(model), m_watch(model), m_loop(model, m_log, m_signals) {
        m_loop.SetObserver(&m_watch);
        m_thread = std::thread([this] {
            m_loop.Run();
            m_bEnded = true;
        });
    }
    ~CWatched() { Join(); }

    CWatchControl& Watch() { return m_watch; }
    // Waits until the simulation pauses, and answers the snapshot of the pause; nothing when it
    // ends instead.
    std::optional<SModelSnapshot> Settle() {
        while (!m_watch.IsPaused()) {
            if (m_bEnded) {
                return std::nullopt;
            }
            std::this_thread::yield();
        }
        return m_watch.TakeSnapshot();
    }
    // Lets it run to its end unwatched; every figure.
    std::string Figures() {
        Join();
        return test::Figures(m_model, m_loop, m_log);
    }

private:
    void Join() {
        m_watch.Release();
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    CModel& m_model;
    CWatchControl m_watch;
    test::CRecordingLog m_log;
    CRunSignals m_signals;
    CSimulationLoop m_loop;
    std::atomic<bool> m_bEnded{false};
    std::thread m_thread;
};

// A traced figure at the end of tick nTime, or nothing past the trace (the last tick's end).
std::optional<std::uint32_t> TracedAt(const CTrace::SFollowed& followed, std::uint32_t nTime) {
    // What a block holds at the end of a tick, the trace counts through the next one.
    const auto& intervals = followed.series.GetIntervals();
    EXPECT_EQ(followed.series.GetLength(), 1u);
    if (nTime == 0) {
        return 0;
    }
    if (nTime >= intervals.size()) {
        return std::nullopt;
    }
    return intervals[nTime].nMax;
}

std::size_t IndexOf(const CModel& model, const std::string& strName) {
    return static_cast<std::size_t>(model.IndexOfBlock(model.FindBlock(strName)));
}

// A device's busy mark stands for its trace's figure being other than 0: a multichannel
// device's trace counts its busy channels.
std::uint32_t SnapshotFigure(const SBlockSnapshot& block) {
    return block.bBusy ? static_cast<std::uint32_t>(*block.bBusy) : block.nCount;
}
std::uint32_t TracedFigure(const SBlockSnapshot& block, std::uint32_t nTraced) {
    return block.bBusy ? static_cast<std::uint32_t>(nTraced != 0) : nTraced;
}

TEST(WatchTest, SnapshotsAtRandomTicksAreTheTracedStateAndWatchingChangesNoFigure) {
    int nCompared = 0;
    for (unsigned nSeed = 1; nSeed <= 25; ++nSeed) {
        CModel plain;
        test::CRandomModel(nSeed).Build(plain);
        CTrace trace;
        const std::string strExpected = test::Simulate(plain, true, 0, &trace);

        CModel model;
        test::CRandomModel builder(nSeed);
        builder.Build(model);
        CWatched watched(model);
        std::optional<SModelSnapshot> snapshot = watched.Settle();
        ASSERT_TRUE(snapshot);
        EXPECT_EQ(snapshot->nTime, 0u);
        const auto nTicks =
            static_cast<std::uint32_t>(model.m_experiment.nStopValue * model.m_experiment.nRuns);
        // Four looks: a run to a random tick (quiet ticks left out), a step, a step to the next
        // move, and another run.
        for (int nLook = 0; nLook < 4 && snapshot; ++nLook) {
            const std::uint32_t nFrom = snapshot->nTime;
            std::uint32_t nWanted = nFrom + 1;
            if (nLook == 0 || nLook == 3) {
                nWanted = nFrom + static_cast<std::uint32_t>(builder.Pick(1, 150));
                watched.Watch().Run(nWanted);
            } else if (nLook == 1) {
                watched.Watch().Step();
            } else {
                watched.Watch().StepToEvent();
            }
            snapshot = watched.Settle();
            if (!snapshot) {
                break;  // it ended first
            }
            ASSERT_LE(snapshot->nTime, nTicks);
            if (nLook != 2) {
                EXPECT_EQ(snapshot->nTime, nWanted);
            } else {
                EXPECT_GT(snapshot->nTime, nFrom);
            }
            ASSERT_TRUE(snapshot->bHeld);
            for (const CTrace::SFollowed& followed : trace.GetFollowed()) {
                const SBlockSnapshot& block = snapshot->blocks[IndexOf(model, followed.strBlock)];
                if (const auto nTraced = TracedAt(followed, snapshot->nTime)) {
                    EXPECT_EQ(SnapshotFigure(block), TracedFigure(block, *nTraced))
                        << "seed " << nSeed << " " << followed.strBlock << " at "
                        << snapshot->nTime;
                    ++nCompared;
                }
                if (block.eCount == SBlockSnapshot::ECount::kContent) {
                    EXPECT_EQ(block.held.size(), block.nCount);
                    EXPECT_GE(*block.nMaxContent, block.nCount);
                }
            }
        }
        EXPECT_EQ(watched.Figures(), strExpected) << "seed " << nSeed;
    }
    EXPECT_GT(nCompared, 100);
}

TEST(WatchTest, APauseConditionStopsAtTheFirstTickInWhichItComesToHold) {
    int nPaused = 0;
    for (unsigned nSeed = 100; nSeed < 220; ++nSeed) {
        CModel plain;
        test::CRandomModel(nSeed).Build(plain);
        CTrace trace;
        const std::string strExpected = test::Simulate(plain, true, 0, &trace);
        if (trace.GetFollowed().empty()) {
            continue;
        }
        CModel model;
        test::CRandomModel builder(nSeed);
        builder.Build(model);
        const auto& followed = trace.GetFollowed()[static_cast<std::size_t>(
            builder.Pick(0, static_cast<int>(trace.GetFollowed().size()) - 1))];
        const bool bQueue = model.FindBlock(followed.strBlock)->GetKind() == EBlockKind::kQueue;
        SPauseCondition condition{SPauseCondition::EKind::kQueueContent, followed.strBlock,
                                  static_cast<std::uint32_t>(builder.Pick(1, 3))};
        if (!bQueue) {
            condition.eKind = builder.Pick(0, 1) == 0 ? SPauseCondition::EKind::kDeviceBusy
                                                      : SPauseCondition::EKind::kDeviceFree;
        }
        const auto holds = [&](std::uint32_t nValue) {
            switch (condition.eKind) {
                case SPauseCondition::EKind::kQueueContent:
                    return nValue >= condition.nValue;
                case SPauseCondition::EKind::kDeviceBusy:
                    return nValue != 0;
                default:
                    return nValue == 0;
            }
        };
        // Several at once: the model time too, now and then; the first that comes to hold wins.
        const auto nTimeLimit = static_cast<std::uint32_t>(builder.Pick(1, 1500));
        const auto nLast = static_cast<std::uint32_t>(followed.series.GetIntervals().size());
        std::optional<std::uint32_t> expected;
        for (std::uint32_t t = 1; t <= nLast && !expected; ++t) {
            const std::optional<std::uint32_t> nNow = TracedAt(followed, t);
            if (t == nTimeLimit || (nNow && holds(*nNow) && !holds(*TracedAt(followed, t - 1)))) {
                expected = t;
            }
        }
        std::vector<SPauseCondition> conditions{condition};
        conditions.push_back({SPauseCondition::EKind::kModelTime, "", nTimeLimit});

        CWatched watched(model);
        ASSERT_TRUE(watched.Settle());
        watched.Watch().SetConditions(conditions);
        watched.Watch().Run();
        const std::optional<SModelSnapshot> snapshot = watched.Settle();
        if (expected) {
            ASSERT_TRUE(snapshot) << "seed " << nSeed;
            EXPECT_EQ(snapshot->nTime, *expected) << "seed " << nSeed;
            EXPECT_FALSE(watched.Watch().GetMetConditions().empty());
            ++nPaused;
        } else if (snapshot) {
            // The end of the last tick, which no trace records.
            EXPECT_EQ(snapshot->nTime, nLast) << "seed " << nSeed;
        }
        EXPECT_EQ(watched.Figures(), strExpected) << "seed " << nSeed;
    }
    EXPECT_GT(nPaused, 25);
}

TEST(WatchTest, AStopWhilePausedEndsTheSessionWithItsFiguresAtThatTick) {
    CModel model;
    test::BuildOverloadedSingleChannel(model);
    CWatchControl watch(model);
    CRunSession session(model, std::make_unique<test::CPlainThread>());
    session.SetWatch(&watch);
    ASSERT_FALSE(session.Start());
    for (int nStep = 0; nStep < 3; ++nStep) {
        while (!watch.IsPaused()) {
            session.WaitFor(std::chrono::milliseconds(1));
        }
        if (nStep < 2) {
            watch.Step();
        }
    }
    session.Stop();
    std::optional<CRunSession::EEnd> end;
    while (!(end = session.TakeEnd())) {
        session.TakeMessages();
        session.WaitFor(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(*end, CRunSession::EEnd::kStopped);
    EXPECT_EQ(session.GetProgress().nModelTime, 2u);
}

}  // namespace
}  // namespace mardo
