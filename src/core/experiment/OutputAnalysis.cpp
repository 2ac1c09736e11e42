#include "core/experiment/OutputAnalysis.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>
#include <numeric>

namespace mardo {

namespace {

// MSER-5's batches: five points each.
constexpr std::size_t kMserBatch = 5;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Mean, deviation and half-width, with deviations taken from the first value: equal values give
// exactly that value and a zero deviation, however large they are.
SInterval Interval(const std::vector<double>& values, double dTwoSidedP) {
    SInterval interval{kNaN, kNaN, kNaN};
    const std::size_t n = values.size();
    if (n == 0) {
        return interval;
    }
    const double dFirst = values[0];
    double dSum = 0.0;
    for (const double d : values) {
        dSum += d - dFirst;
    }
    const double dShift = dSum / static_cast<double>(n);
    interval.dMean = dFirst + dShift;
    if (n < 2) {
        return interval;
    }
    double dSquares = 0.0;
    for (const double d : values) {
        const double dDeviation = d - dFirst - dShift;
        dSquares += dDeviation * dDeviation;
    }
    interval.dStdev = std::sqrt(dSquares / static_cast<double>(n - 1));
    interval.dHalfWidth = StudentQuantile(dTwoSidedP, static_cast<std::int64_t>(n) - 1) *
                          interval.dStdev / std::sqrt(static_cast<double>(n));
    return interval;
}

double UpperPoint(double dConfidence, int nComparisons) {
    return 1.0 - (1.0 - dConfidence) / (2.0 * std::max(nComparisons, 1));
}

double Mean(std::vector<double>::const_iterator first, std::vector<double>::const_iterator last) {
    return std::accumulate(first, last, 0.0) / static_cast<double>(last - first);
}

}  // namespace

double StudentQuantile(double dP, std::int64_t nDegrees) {
    const boost::math::students_t_distribution<double> t(static_cast<double>(nDegrees));
    return boost::math::quantile(t, dP);
}

bool SInterval::ExcludesZero() const {
    return !std::isnan(dHalfWidth) && std::abs(dMean) > dHalfWidth;
}

SInterval MeanInterval(const std::vector<double>& values, double dConfidence, int nComparisons) {
    return Interval(values, UpperPoint(dConfidence, nComparisons));
}

SShareInterval WilsonInterval(double dShare, std::size_t n, double dConfidence) {
    const double z = boost::math::quantile(boost::math::normal(), UpperPoint(dConfidence, 1));
    const double dN = static_cast<double>(n);
    const double dScale = 1.0 + z * z / dN;
    const double dCentre = (dShare + z * z / (2.0 * dN)) / dScale;
    const double dHalf =
        z / dScale * std::sqrt(dShare * (1.0 - dShare) / dN + z * z / (4.0 * dN * dN));
    return {std::max(0.0, dCentre - dHalf), std::min(1.0, dCentre + dHalf)};
}

SInterval PairedDifference(const std::vector<double>& base, const std::vector<double>& other,
                           double dConfidence, int nComparisons) {
    std::vector<double> differences(std::min(base.size(), other.size()));
    for (std::size_t i = 0; i < differences.size(); ++i) {
        differences[i] = other[i] - base[i];
    }
    return MeanInterval(differences, dConfidence, nComparisons);
}

double RelativeHalfWidth(const std::vector<double>& values, double dConfidence) {
    const SInterval interval = MeanInterval(values, dConfidence);
    if (std::isnan(interval.dHalfWidth)) {
        return std::numeric_limits<double>::infinity();  // one value says nothing of precision
    }
    if (interval.dHalfWidth == 0.0) {
        return 0.0;
    }
    return interval.dHalfWidth / std::abs(interval.dMean);  // infinite for a mean of 0
}

SPrecisionCheck CheckPrecision(const std::map<std::string, std::vector<double>>& figures,
                               double dShare, double dConfidence) {
    SPrecisionCheck check;
    check.bMet = true;
    bool bFirst = true;
    for (const auto& [strFigure, values] : figures) {
        const double dRelative = RelativeHalfWidth(values, dConfidence);
        if (bFirst || dRelative > check.dWorst) {
            check.strDeciding = strFigure;
            check.dWorst = dRelative;
            bFirst = false;
        }
        if (!(dRelative <= dShare)) {
            check.bMet = false;
            check.shortfalls.emplace(strFigure, dRelative);
        }
    }
    return check;
}

std::int32_t NextRoundTotal(std::int32_t nDone, std::int32_t nFirst, std::int32_t nMost) {
    const std::int64_t nNext =
        nDone < nFirst ? std::int64_t{nFirst} : std::int64_t{nDone} + std::max(nDone / 2, 1);
    return static_cast<std::int32_t>(std::min<std::int64_t>(nNext, nMost));
}

std::size_t Mser5Limit(std::size_t nPoints) {
    const std::size_t nBatches = nPoints / kMserBatch;
    return nBatches < 2 ? 0 : nBatches / 2 * kMserBatch;
}

std::size_t Mser5(const std::vector<double>& series) {
    constexpr std::size_t kBatch = kMserBatch;
    const std::size_t nBatches = series.size() / kBatch;
    if (nBatches < 2) {
        return 0;
    }
    std::vector<double> means(nBatches);
    for (std::size_t b = 0; b < nBatches; ++b) {
        means[b] = Mean(series.begin() + static_cast<std::ptrdiff_t>(b * kBatch),
                        series.begin() + static_cast<std::ptrdiff_t>((b + 1) * kBatch));
    }
    // Sums over the batches from d on, built from the back.
    std::size_t nBest = 0;
    double dBest = std::numeric_limits<double>::infinity();
    double dSum = 0.0;
    double dSquares = 0.0;
    std::vector<double> statistic(nBatches, 0.0);
    for (std::size_t d = nBatches; d-- > 0;) {
        dSum += means[d];
        dSquares += means[d] * means[d];
        const double dLeft = static_cast<double>(nBatches - d);
        const double dVariance = std::max(dSquares - dSum * dSum / dLeft, 0.0);
        statistic[d] = dVariance / (dLeft * dLeft);
    }
    // Near the end a few batch means always look steady: the search keeps to the first half, as
    // the method prescribes, and a minimum at its limit means the series did not settle.
    for (std::size_t d = 0; d <= nBatches / 2; ++d) {
        if (statistic[d] < dBest) {
            dBest = statistic[d];
            nBest = d;
        }
    }
    return nBest * kBatch;
}

bool Settled(const std::vector<std::vector<double>>& replications, std::size_t nTruncation,
             double dConfidence, double dTolerance) {
    std::vector<double> first;
    std::vector<double> second;
    double dLevel = 0.0;
    for (const std::vector<double>& series : replications) {
        if (series.size() < nTruncation + 2) {
            continue;
        }
        const auto begin = series.begin() + static_cast<std::ptrdiff_t>(nTruncation);
        const auto middle = begin + static_cast<std::ptrdiff_t>((series.size() - nTruncation) / 2);
        first.push_back(Mean(begin, middle));
        second.push_back(Mean(middle, series.end()));
        dLevel += (first.back() + second.back()) / 2.0;
    }
    const SInterval difference = PairedDifference(first, second, dConfidence);
    if (!difference.ExcludesZero()) {
        return true;
    }
    dLevel = first.empty() ? 0.0 : std::abs(dLevel / static_cast<double>(first.size()));
    return std::abs(difference.dMean) <= dTolerance * dLevel;
}

void CWaitHistogram::AddBeyondTable(std::uint64_t nWait, std::uint64_t nCount) {
    if (nWait < kDenseWaits) {
        m_dense.resize(std::min<std::uint64_t>(std::max<std::uint64_t>(nWait + 1,
                                                                      2 * m_dense.size()),
                                               kDenseWaits));
        m_dense[nWait] += nCount;
    } else {
        m_sparse[nWait] += nCount;
    }
    m_nCount += nCount;
}

void CWaitHistogram::Merge(const CWaitHistogram& other) {
    for (std::size_t nWait = 0; nWait < other.m_dense.size(); ++nWait) {
        if (other.m_dense[nWait] != 0) {
            Add(nWait, other.m_dense[nWait]);
        }
    }
    for (const auto& [nWait, nCount] : other.m_sparse) {
        Add(nWait, nCount);
    }
}

std::uint64_t CWaitHistogram::Percentile(double dQ) const {
    if (m_nCount == 0) {
        return 0;
    }
    // The nearest rank: the ceil(q N)-th smallest wait, at least the first.
    const auto nRank = std::max<std::uint64_t>(
        static_cast<std::uint64_t>(std::ceil(dQ * static_cast<double>(m_nCount))), 1);
    std::uint64_t nSeen = 0;
    for (std::size_t nWait = 0; nWait < m_dense.size(); ++nWait) {
        nSeen += m_dense[nWait];
        if (nSeen >= nRank) {
            return nWait;
        }
    }
    for (const auto& [nWait, nCount] : m_sparse) {
        nSeen += nCount;
        if (nSeen >= nRank) {
            return nWait;
        }
    }
    return m_sparse.empty() ? m_dense.size() - 1 : m_sparse.rbegin()->first;
}

std::uint64_t CWaitHistogram::CountOver(std::uint64_t nTicks) const {
    std::uint64_t nOver = 0;
    for (std::uint64_t nWait = nTicks; ++nWait < m_dense.size();) {
        nOver += m_dense[nWait];
    }
    for (auto it = m_sparse.upper_bound(nTicks); it != m_sparse.end(); ++it) {
        nOver += it->second;
    }
    return nOver;
}

double CWaitHistogram::ShareOver(std::uint64_t nTicks) const {
    if (m_nCount == 0) {
        return 0.0;
    }
    return static_cast<double>(CountOver(nTicks)) / static_cast<double>(m_nCount);
}

}  // namespace mardo
