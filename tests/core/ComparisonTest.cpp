// Alternatives against each other and replications until precise, on random models.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "TestSupport.h"
#include "core/experiment/Comparison.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/ExperimentSession.h"
#include "core/experiment/Precision.h"
#include "core/model/Model.h"

namespace mardo {
namespace {

const auto kNewThread = [] { return std::make_unique<test::CPlainThread>(); };

// The seeds of the first random models that pass the check and start: most do not.
std::vector<unsigned> StartingSeeds(std::size_t nWanted) {
    std::vector<unsigned> seeds;
    for (unsigned nSeed = 1; nSeed <= 1000 && seeds.size() < nWanted; ++nSeed) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        if (!RunExperiment(model, SExperimentPlan{}, kNewThread).notStarted) {
            seeds.push_back(nSeed);
        }
    }
    return seeds;
}

// A model against itself, simulated again on another number of threads: the streams give
// every replication the same numbers, so every paired difference is exactly 0 with no width,
// and none is significant.
TEST(ComparisonTest, AModelAgainstItselfDiffersByExactlyNothing) {
    const std::vector<unsigned> seeds = StartingSeeds(10);
    ASSERT_EQ(seeds.size(), 10u);
    for (const unsigned nSeed : seeds) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        SExperimentPlan plan;
        plan.nSeed = nSeed;
        plan.nReplications = 6;
        const SExperimentResult base = RunExperiment(model, plan, kNewThread);
        ASSERT_FALSE(base.notStarted);
        plan.nJobs = 2;
        const SExperimentResult other = RunExperiment(model, plan, kNewThread);
        const SComparison comparison = ComparePoints(base.points[0], other.points[0], 1 + nSeed % 3);
        ASSERT_GE(comparison.differences.size(), 2u) << "seed " << nSeed;
        for (const SDifference& difference : comparison.differences) {
            EXPECT_EQ(difference.interval.dMean, 0.0) << FigurePath(difference.name);
            EXPECT_EQ(difference.interval.dHalfWidth, 0.0) << FigurePath(difference.name);
            EXPECT_EQ(difference.dBase, difference.dOther);
            EXPECT_FALSE(difference.interval.ExcludesZero());
        }
    }
}

// The rounds stop at the first whose replications meet the goal (none before did), and give
// the same replications on one thread as on two.
TEST(ComparisonTest, PrecisionStopsAtTheFirstRoundThatMeetsIt) {
    for (const unsigned nSeed : StartingSeeds(6)) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        SExperimentPlan plan;
        plan.nSeed = nSeed;
        plan.nReplications = 60;
        const SPrecisionGoal goal{2.0 + nSeed % 5, {}};
        SPrecisionOutcome one;
        const SExperimentResult result = RunUntilPrecise(model, plan, goal, kNewThread, one);
        ASSERT_FALSE(result.notStarted);
        plan.nJobs = 2;
        SPrecisionOutcome two;
        const SExperimentResult again = RunUntilPrecise(model, plan, goal, kNewThread, two);
        EXPECT_EQ(two.nReplications, one.nReplications);
        EXPECT_EQ(two.check.strDeciding, one.check.strDeciding);
        ASSERT_EQ(result.points[0].replications.size(), static_cast<std::size_t>(one.nReplications));
        for (std::size_t k = 0; k < result.points[0].replications.size(); ++k) {
            EXPECT_EQ(result.points[0].replications[k].nIndex, static_cast<std::int32_t>(k));
            EXPECT_EQ(result.points[0].replications[k].tables,
                      again.points[0].replications[k].tables);
        }
        std::string strUnknown;
        for (std::int32_t n = NextRoundTotal(0, kFirstRound, 60);;
             n = NextRoundTotal(n, kFirstRound, 60)) {
            SPointRecord first = result.points[0];
            first.replications.resize(static_cast<std::size_t>(n));
            const bool bMet =
                CheckPrecision(ChosenFigures({first}, goal.figures, strUnknown), 0.01 * goal.dPercent)
                    .bMet;
            EXPECT_EQ(bMet, n == one.nReplications && one.check.bMet) << "seed " << nSeed;
            if (n == one.nReplications) {
                break;
            }
        }
    }
}

// A study stopped while its alternative runs keeps, in the base and the alternative, the
// replications both ended, and compares those; the session's thread gives what the calling
// thread gives.
TEST(ComparisonTest, AStoppedStudyKeepsAndComparesTheReplicationsBothEnded) {
    const std::vector<unsigned> seeds = StartingSeeds(3);
    for (const unsigned nSeed : seeds) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        SStudy study;
        study.plan.nSeed = nSeed;
        study.plan.nReplications = 8;
        auto pSame = std::make_shared<CModel>();
        test::CRandomModel(nSeed).Build(*pSame);
        study.alternatives.push_back({"same.mrd", pSame});
        std::atomic<bool> bStop{false};
        const SStudyOutcome stopped = RunStudy(
            model, "base.mrd", study, kNewThread,
            [&bStop](const SStudyProgress& progress) {
                if (progress.strStage == "same.mrd" && progress.nDone == 3) {
                    bStop = true;
                }
            },
            &bStop);
        ASSERT_TRUE(stopped.bStopped);
        ASSERT_EQ(stopped.alternatives.size(), 1u);
        for (const SExperimentRecord* pRecord : {&stopped.record, &stopped.alternatives[0]}) {
            ASSERT_EQ(pRecord->points[0].replications.size(), 3u) << pRecord->strModel;
            for (std::int32_t k = 0; k < 3; ++k) {
                EXPECT_EQ(pRecord->points[0].replications[static_cast<std::size_t>(k)].nIndex, k);
            }
        }
        ASSERT_EQ(stopped.comparisons.size(), 1u);
        for (const SDifference& difference : stopped.comparisons[0].differences) {
            EXPECT_EQ(difference.interval.dMean, 0.0) << FigurePath(difference.name);
        }

        CExperimentSession session(kNewThread);
        ASSERT_TRUE(session.Start(model, "base.mrd", study));
        EXPECT_FALSE(session.Start(model, "base.mrd", study));
        while (!session.IsFinished()) {
            std::this_thread::yield();
        }
        const SStudyOutcome whole = session.TakeOutcome();
        EXPECT_FALSE(whole.bStopped);
        ASSERT_EQ(whole.record.points[0].replications.size(), 8u);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(whole.record.points[0].replications[k].tables,
                      stopped.record.points[0].replications[k].tables);
        }
        EXPECT_FALSE(session.IsRunning());
    }
}

}  // namespace
}  // namespace mardo
