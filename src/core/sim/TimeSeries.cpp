#include "core/sim/TimeSeries.h"

#include <algorithm>

namespace mardo {

void CTimeSeries::AddAcross(std::uint32_t nValue, std::uint64_t nTicks) {
    while (nTicks > 0) {
        if (m_intervals.empty() || m_intervals.back().nTicks == m_nLength) {
            if (m_intervals.size() == kMaxIntervals) {
                MergePairs();
                continue;  // the last interval may have room now
            }
            m_intervals.push_back({nValue, nValue, 0, 0});
        }
        SInterval& last = m_intervals.back();
        const std::uint64_t nTaken = std::min(nTicks, m_nLength - last.nTicks);
        Extend(last, nValue, nTaken);
        nTicks -= nTaken;
    }
}

void CTimeSeries::Coarsen(std::size_t nMost) {
    while (m_intervals.size() > nMost) {
        MergePairs();
    }
    m_intervals.shrink_to_fit();
}

std::vector<double> CTimeSeries::Means(std::uint64_t nLength, std::uint64_t nTicks) const {
    const std::uint64_t nGroup = nLength / m_nLength;
    // The last interval may be short; a whole one of nLength ticks never reaches past it.
    const std::uint64_t nWhole =
        std::min<std::uint64_t>(nTicks / nLength, m_intervals.size() / nGroup);
    std::vector<double> means(nWhole);
    for (std::uint64_t i = 0; i < nWhole; ++i) {
        std::uint64_t nSum = 0;
        for (std::uint64_t j = i * nGroup; j < (i + 1) * nGroup; ++j) {
            nSum += m_intervals[j].nSum;
        }
        means[i] = static_cast<double>(nSum) / static_cast<double>(nLength);
    }
    return means;
}

void CTimeSeries::MergePairs() {
    std::size_t nKept = 0;
    for (std::size_t i = 0; i < m_intervals.size(); i += 2) {
        SInterval merged = m_intervals[i];
        if (i + 1 < m_intervals.size()) {
            const SInterval& next = m_intervals[i + 1];
            merged.nMin = std::min(merged.nMin, next.nMin);
            merged.nMax = std::max(merged.nMax, next.nMax);
            merged.nSum += next.nSum;
            merged.nTicks += next.nTicks;
        }
        m_intervals[nKept++] = merged;
    }
    m_intervals.resize(nKept);
    m_nLength *= 2;
}

}  // namespace mardo
