// The series window's logic: values of a varied parameter, the progress line, the rows of the
// results table and stopping an experiment.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "RandomModel.h"
#include "TestSupport.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/Series.h"
#include "core/model/Model.h"

namespace mardo {
namespace {

const auto kNewThread = [] { return std::make_unique<test::CPlainThread>(); };

TEST(SeriesTest, ValuesAndProgressLine) {
    EXPECT_EQ(ListValues(" 5, ,10 ,1..3"), (std::vector<std::string>{"5", "10", "1..3"}));
    EXPECT_EQ(RangeValues(1, 10, 3, 100), (std::vector<std::string>{"1", "4", "7", "10"}));
    EXPECT_FALSE(RangeValues(5, 1, 1, 100));
    EXPECT_FALSE(RangeValues(1, 5, 0, 100));
    EXPECT_FALSE(RangeValues(1, 1000, 1, 999));
    EXPECT_EQ(ProgressText(0, 10, 0.0), "0 из 10");
    EXPECT_EQ(ProgressText(5, 10, 10.0), "5 из 10, осталось около 10 с");
    EXPECT_EQ(ProgressText(1, 10, 10.0), "1 из 10, осталось около 1 мин 30 с");
    EXPECT_EQ(ProgressText(10, 10, 7.0), "10 из 10");
}

// On random models swept over two values: every row is the summary of its figure in the
// replications of its point, every device and queue has its rows at every point, the CSV has a
// line per row, and a sweep the model refuses is caught before anything runs.
TEST(SeriesTest, RowsSummarizeTheReplicationsOfRandomModels) {
    int nRan = 0;
    for (unsigned nSeed = 1; nSeed <= 1000 && nRan < 10; ++nSeed) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        const SSweep sweep{"model.runs", {"1", "2"}};
        ASSERT_EQ(CheckSweep(model, sweep), "");
        EXPECT_NE(CheckSweep(model, {"model.runs", {"1", "x"}}), "");
        SExperimentPlan plan;
        plan.nSeed = nSeed;
        plan.nReplications = 4;
        plan.nJobs = 2;
        plan.points = SweepPoints({sweep});
        const SExperimentResult result = RunExperiment(model, plan, kNewThread);
        if (result.notStarted) {
            continue;
        }
        ++nRan;
        const std::vector<SSeriesRow> rows = SeriesRows(result.points, plan.nReplications);
        const std::vector<SFigureTable>& tables = result.points[0].replications[0].tables;
        const std::size_t nPerPoint =
            2 + tables[1].rows.size() * 5 + tables[2].rows.size() * 9 + tables[3].rows.size() * 2;
        ASSERT_EQ(rows.size(), 2 * nPerPoint) << "seed " << nSeed;
        for (const SSeriesRow& row : rows) {
            EXPECT_EQ(row.strValue, sweep.values[row.nPoint]);
            // A state at the end is a share, with its own interval.
            const std::vector<double> values = ReplicationValues(result.points[row.nPoint], row);
            const SStat stat = row.stat.bShare ? SummarizeShare(values) : Summarize(values);
            EXPECT_EQ(row.stat.bShare, row.nTable != kModelTable &&
                                           tables[row.nTable].columns[row.nColumn] == "free");
            EXPECT_DOUBLE_EQ(stat.dMean, row.stat.dMean) << row.strObject << row.strFigure;
            EXPECT_TRUE(stat.dCi95 == row.stat.dCi95 ||
                        (std::isnan(stat.dCi95) && std::isnan(row.stat.dCi95)));
        }
        // The tidy CSV: a line per point, replication and figure (blocks' and channels' too), and a summary
        // line per point and figure.
        SExperimentRecord record;
        record.nReplicationCount = plan.nReplications;
        record.points = result.points;
        const std::string strCsv = ExperimentCsv(record);
        const std::size_t nFigures = FigureRefs(result.points[0].replications[0]).size();
        EXPECT_EQ(nFigures, nPerPoint + tables[0].rows.size() * 3);
        EXPECT_EQ(static_cast<std::size_t>(std::count(strCsv.begin(), strCsv.end(), '\n')),
                  1 + 2 * (4 + 1) * nFigures);
    }
    EXPECT_EQ(nRan, 10);
}

// A stop during an experiment starts no further replication and says it was stopped.
TEST(SeriesTest, StopEndsTheExperimentEarly) {
    unsigned nSeed = 1;
    for (;; ++nSeed) {
        CModel probe;
        test::CRandomModel(nSeed).Build(probe);
        if (!RunExperiment(probe, SExperimentPlan{}, kNewThread).notStarted) {
            break;
        }
    }
    CModel model;
    test::CRandomModel(nSeed).Build(model);
    std::atomic<bool> bStop{false};
    std::size_t nDoneAtEnd = 0;
    SExperimentPlan plan;
    plan.nReplications = 50;
    plan.pStop = &bStop;
    plan.onProgress = [&](std::size_t nDone, std::size_t) {
        nDoneAtEnd = nDone;
        bStop = true;
    };
    const SExperimentResult result = RunExperiment(model, plan, kNewThread);
    EXPECT_TRUE(result.bStopped);
    EXPECT_EQ(nDoneAtEnd, 1u) << "seed " << nSeed;
}

}  // namespace
}  // namespace mardo
