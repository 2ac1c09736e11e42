// A series keeps, in each of its intervals, exactly the least, the greatest and the sum of the
// values of the ticks it covers, however the runs of values fall and however often it halves;
// coarsened, its means over longer intervals are still those of the ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/sim/TimeSeries.h"

namespace mardo {
namespace {

TEST(TimeSeriesTest, IntervalsHoldTheTicksTheyCoverExactly) {
    std::mt19937 random(7);
    for (int nCase = 0; nCase < 20; ++nCase) {
        CTimeSeries series;
        std::vector<std::uint32_t> ticks;  // the value of every tick, from tick 1
        const int nRuns = std::uniform_int_distribution<int>(1, 3000)(random);
        for (int i = 0; i < nRuns; ++i) {
            const auto nValue = std::uniform_int_distribution<std::uint32_t>(0, 50)(random);
            // Mostly short runs, now and then a long quiet stretch.
            const std::uint32_t nLength = random() % 8 == 0
                                              ? std::uniform_int_distribution<std::uint32_t>(1, 20000)(random)
                                              : std::uniform_int_distribution<std::uint32_t>(1, 5)(random);
            series.Add(nValue, nLength);
            ticks.insert(ticks.end(), nLength, nValue);
        }
        const auto& intervals = series.GetIntervals();
        ASSERT_LE(intervals.size(), CTimeSeries::kMaxIntervals);
        // The length is the smallest power of two that fits the ticks into the intervals.
        ASSERT_GE(series.GetLength() * CTimeSeries::kMaxIntervals, ticks.size());
        ASSERT_TRUE(series.GetLength() == 1 ||
                    series.GetLength() / 2 * CTimeSeries::kMaxIntervals < ticks.size());
        std::size_t nTick = 0;
        for (std::size_t i = 0; i < intervals.size(); ++i) {
            ASSERT_EQ(series.FirstTick(i), nTick + 1);
            const auto first = ticks.begin() + static_cast<std::ptrdiff_t>(nTick);
            const auto last = first + static_cast<std::ptrdiff_t>(intervals[i].nTicks);
            ASSERT_TRUE(intervals[i].nTicks == series.GetLength() || i + 1 == intervals.size());
            EXPECT_EQ(intervals[i].nMin, *std::min_element(first, last));
            EXPECT_EQ(intervals[i].nMax, *std::max_element(first, last));
            std::uint64_t nSum = 0;
            std::for_each(first, last, [&nSum](std::uint32_t n) { nSum += n; });
            EXPECT_EQ(intervals[i].nSum, nSum);
            nTick += intervals[i].nTicks;
        }
        EXPECT_EQ(nTick, ticks.size());
        // Coarsened and read in intervals twice as long, the means are still the ticks' own.
        series.Coarsen(100);
        ASSERT_LE(series.GetIntervals().size(), 100u);
        const std::uint64_t nLength = 2 * series.GetLength();
        const std::vector<double> means = series.Means(nLength, ticks.size());
        ASSERT_EQ(means.size(), ticks.size() / nLength);
        for (std::size_t i = 0; i < means.size(); ++i) {
            std::uint64_t nSum = 0;
            for (std::uint64_t t = i * nLength; t < (i + 1) * nLength; ++t) {
                nSum += ticks[t];
            }
            EXPECT_DOUBLE_EQ(means[i], static_cast<double>(nSum) / static_cast<double>(nLength));
        }
    }
}

}  // namespace
}  // namespace mardo
