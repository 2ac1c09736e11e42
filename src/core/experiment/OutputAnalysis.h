#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The analysis of replications' results, each a pure function over numbers: intervals at a
// chosen confidence, paired differences between alternatives, the precision rule that says when
// replications suffice, the end of the start-up period (MSER-5), whether a run settled, and
// the percentiles of waiting times.
namespace mardo {

// The p-quantile of Student's t distribution with nDegrees (at least 1) degrees of freedom.
double StudentQuantile(double dP, std::int64_t nDegrees);

// The mean of values and the half-width of its two-sided interval at the confidence (0.95 for
// 95%), shared among nComparisons intervals by Bonferroni (each at 1 - (1 - confidence) / m).
struct SInterval {
    double dMean = 0.0;
    double dStdev = 0.0;      // with n - 1 in the divisor; not a number below two values
    double dHalfWidth = 0.0;  // not a number below two values
    bool ExcludesZero() const;
};
SInterval MeanInterval(const std::vector<double>& values, double dConfidence = 0.95,
                       int nComparisons = 1);

// The Wilson score interval of a share p of n replications (each 0 or 1) at the confidence,
// within 0..1; unlike Student's, it keeps a width when every replication agrees.
struct SShareInterval {
    double dLow = 0.0;
    double dHigh = 0.0;
};
SShareInterval WilsonInterval(double dShare, std::size_t n, double dConfidence = 0.95);

// The differences other - base, replication by replication (common random numbers make them
// vary far less than either), and their interval. Both lists are in replication order and
// equally long.
SInterval PairedDifference(const std::vector<double>& base, const std::vector<double>& other,
                           double dConfidence = 0.95, int nComparisons = 1);

// The precision rule: every figure's half-width at most the share of its absolute mean
// (0.05 for 5%). A figure whose values are all equal meets it, whatever its mean.
struct SPrecisionCheck {
    bool bMet = false;
    // The figure whose relative half-width is largest: the one that decided, or that fell
    // shortest; and that relative half-width (infinite for a mean of 0 with a spread).
    std::string strDeciding;
    double dWorst = 0.0;
    // Every figure that falls short, with its relative half-width.
    std::map<std::string, double> shortfalls;
};
double RelativeHalfWidth(const std::vector<double>& values, double dConfidence = 0.95);
SPrecisionCheck CheckPrecision(const std::map<std::string, std::vector<double>>& figures,
                               double dShare, double dConfidence = 0.95);
// How many replications the next round should bring the total to: at least nFirst, then half
// as many again as done so far (at least one more), never beyond nMost.
std::int32_t NextRoundTotal(std::int32_t nDone, std::int32_t nFirst, std::int32_t nMost);

// MSER-5: the series' values in batches of five, and the number of leading batches whose
// removal leaves the remaining batch means with the smallest squared standard error, among the
// truncations that leave at least half the batches. Answers the truncation in points of the
// series (a multiple of five); one at that limit says the series did not settle.
std::size_t Mser5(const std::vector<double>& series);
// The latest truncation Mser5 can answer for a series of nPoints: one there says the series
// did not settle (0 when the series is too short to be judged).
std::size_t Mser5Limit(std::size_t nPoints);

// Whether a series settled after its truncation: per replication, the mean of the second half
// of what is left against the first half's; the series settled unless the interval of those
// differences excludes 0 and their mean is more than dTolerance of the series' level (the mean
// of what is left, in absolute value). The tolerance keeps a deterministic model, whose
// replications agree and so give a zero-wide interval, from being called unsettled for the
// small difference a periodic pattern leaves between two halves. Each series is one
// replication's, all equally long.
bool Settled(const std::vector<std::vector<double>>& replications, std::size_t nTruncation,
             double dConfidence = 0.95, double dTolerance = 0.0);

// Waiting times in whole ticks, counted by value: short waits in a table (a transact's count is
// one increment), the rare long ones in a map.
class CWaitHistogram {
public:
    // Inline for the table's waits, which a recording queue adds at every departure.
    void Add(std::uint64_t nWait, std::uint64_t nCount = 1) {
        if (nWait < m_dense.size()) {
            m_dense[nWait] += nCount;
            m_nCount += nCount;
            return;
        }
        AddBeyondTable(nWait, nCount);
    }
    std::uint64_t GetCount() const { return m_nCount; }
    // The smallest wait that at least the share q (0 < q <= 1) of the transacts did not exceed
    // (the nearest rank); 0 when none was counted.
    std::uint64_t Percentile(double dQ) const;
    // The share of transacts that waited more than nTicks; 0 when none was counted.
    double ShareOver(std::uint64_t nTicks) const;

    void Merge(const CWaitHistogram& other);

private:
    static constexpr std::uint64_t kDenseWaits = 1 << 16;
    // Grows the table to hold a short wait, or counts a long one in the map.
    void AddBeyondTable(std::uint64_t nWait, std::uint64_t nCount);
    // The count of transacts whose wait is above nTicks.
    std::uint64_t CountOver(std::uint64_t nTicks) const;

    std::vector<std::uint64_t> m_dense;
    std::map<std::uint64_t, std::uint64_t> m_sparse;
    std::uint64_t m_nCount = 0;
};

}  // namespace mardo
