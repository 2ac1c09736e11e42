// The analysis of replications: intervals, paired differences, the precision rule, MSER-5 and
// waiting-time percentiles, as properties over generated numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "core/experiment/OutputAnalysis.h"

namespace mardo {
namespace {

std::vector<double> Normal(std::mt19937_64& random, std::size_t n, double dMean, double dSigma) {
    std::normal_distribution<double> normal(dMean, dSigma);
    std::vector<double> values(n);
    for (double& d : values) {
        d = normal(random);
    }
    return values;
}

TEST(OutputAnalysisTest, IntervalsAndDifferences) {
    // The quantiles every interval rests on.
    EXPECT_NEAR(StudentQuantile(0.975, 1), 12.7062047, 1e-6);
    EXPECT_NEAR(StudentQuantile(0.975, 29), 2.0452296, 1e-6);
    EXPECT_NEAR(StudentQuantile(0.995, 9), 3.2498355, 1e-6);

    std::mt19937_64 random(7);
    for (int nRound = 0; nRound < 50; ++nRound) {
        const std::vector<double> base = Normal(random, 2 + nRound, 100.0 * nRound, 3.0);
        // A model against itself: exactly no difference, with no width.
        const SInterval same = PairedDifference(base, base);
        EXPECT_EQ(same.dMean, 0.0);
        EXPECT_EQ(same.dHalfWidth, 0.0);
        EXPECT_FALSE(same.ExcludesZero());
        // A shift by a constant is found exactly, and more comparisons widen the interval.
        std::vector<double> shifted = base;
        for (double& d : shifted) {
            d += 0.5;
        }
        const SInterval shift = PairedDifference(base, shifted);
        EXPECT_NEAR(shift.dMean, 0.5, 1e-9 * (1 + 100.0 * nRound));
        const std::vector<double> other = Normal(random, base.size(), 100.0 * nRound, 3.0);
        EXPECT_LT(PairedDifference(base, other).dHalfWidth,
                  PairedDifference(base, other, 0.95, 3).dHalfWidth);
        EXPECT_LT(MeanInterval(other, 0.90).dHalfWidth, MeanInterval(other, 0.99).dHalfWidth);
    }
}

TEST(OutputAnalysisTest, ThePrecisionRuleNamesTheFigureThatDecides) {
    std::mt19937_64 random(11);
    std::map<std::string, std::vector<double>> figures{
        {"Q1.avgTime", Normal(random, 40, 10.0, 1.0)},  // about 3% relative half-width
        {"D1.utilization", std::vector<double>(40, 0.8)},
    };
    const SPrecisionCheck loose = CheckPrecision(figures, 0.10);
    EXPECT_TRUE(loose.bMet);
    EXPECT_EQ(loose.strDeciding, "Q1.avgTime");
    const SPrecisionCheck strict = CheckPrecision(figures, 0.01);
    EXPECT_FALSE(strict.bMet);
    EXPECT_EQ(strict.shortfalls.size(), 1u);
    EXPECT_DOUBLE_EQ(strict.shortfalls.at("Q1.avgTime"), strict.dWorst);
    // A single replication says nothing of precision; a spread around 0 never meets it.
    EXPECT_FALSE(CheckPrecision({{"x", {1.0}}}, 0.5).bMet);
    EXPECT_FALSE(CheckPrecision({{"x", {-1.0, 1.0}}}, 0.5).bMet);
    // Rounds: the first brings the total to the minimum, then half as many again, never more.
    EXPECT_EQ(NextRoundTotal(0, 10, 100), 10);
    EXPECT_EQ(NextRoundTotal(10, 10, 100), 15);
    EXPECT_EQ(NextRoundTotal(1, 1, 100), 2);
    EXPECT_EQ(NextRoundTotal(90, 10, 100), 100);
}

TEST(OutputAnalysisTest, MserFindsTheEndOfAStartUpAndTheHalvesTellASettledRun) {
    std::mt19937_64 random(3);
    for (const std::size_t nStep : {0u, 50u, 200u, 400u}) {
        // A start-up at a level far from the steady one, for nStep points of 1000.
        std::vector<double> series = Normal(random, 1000, 5.0, 1.0);
        for (std::size_t i = 0; i < nStep; ++i) {
            series[i] += 20.0;
        }
        const std::size_t nCut = Mser5(series);
        EXPECT_GE(nCut + 5, nStep) << nStep;
        EXPECT_LE(nCut, nStep + 5) << nStep;
    }
    // Replications that settled, and ones that keep drifting upwards.
    std::vector<std::vector<double>> settled;
    std::vector<std::vector<double>> drifting;
    for (int r = 0; r < 20; ++r) {
        settled.push_back(Normal(random, 400, 5.0, 1.0));
        std::vector<double> drift = Normal(random, 400, 5.0, 1.0);
        for (std::size_t i = 0; i < drift.size(); ++i) {
            drift[i] += 0.01 * static_cast<double>(i);
        }
        drifting.push_back(drift);
    }
    EXPECT_TRUE(Settled(settled, 0));
    EXPECT_FALSE(Settled(drifting, 0));
    // A deterministic model: every replication the same periodic series, whose halves differ a
    // little with no spread at all. Settled within a tolerance; a deterministic growth is not.
    const std::vector<std::vector<double>> periodic(20, {3, 1, 4, 1, 5, 3, 1, 4, 1, 5, 3, 1, 4});
    EXPECT_FALSE(Settled(periodic, 0));
    EXPECT_TRUE(Settled(periodic, 0, 0.95, 0.1));
    std::vector<double> growth(100);
    std::iota(growth.begin(), growth.end(), 0.0);
    EXPECT_FALSE(Settled(std::vector<std::vector<double>>(20, growth), 0, 0.95, 0.1));
}

TEST(OutputAnalysisTest, PercentilesOfWaitsAreTheExactRanks) {
    // Waits 1, 2, ..., 100 ticks, and a few very long ones beyond the table.
    CWaitHistogram histogram;
    for (std::uint64_t nWait = 1; nWait <= 100; ++nWait) {
        histogram.Add(nWait);
    }
    EXPECT_EQ(histogram.Percentile(0.50), 50u);
    EXPECT_EQ(histogram.Percentile(0.90), 90u);
    EXPECT_EQ(histogram.Percentile(0.99), 99u);
    EXPECT_EQ(histogram.Percentile(1.00), 100u);
    EXPECT_DOUBLE_EQ(histogram.ShareOver(10), 0.9);
    EXPECT_DOUBLE_EQ(histogram.ShareOver(100), 0.0);
    CWaitHistogram tail;
    tail.Add(1'000'000, 100);
    histogram.Merge(tail);
    EXPECT_EQ(histogram.GetCount(), 200u);
    EXPECT_EQ(histogram.Percentile(0.50), 100u);
    EXPECT_EQ(histogram.Percentile(0.51), 1'000'000u);
    EXPECT_DOUBLE_EQ(histogram.ShareOver(999'999), 0.5);
    EXPECT_EQ(CWaitHistogram().Percentile(0.5), 0u);
}

}  // namespace
}  // namespace mardo
