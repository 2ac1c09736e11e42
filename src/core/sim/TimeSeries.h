#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mardo {

// How one figure went over model time, from tick 1 on, kept in at most kMaxIntervals intervals
// of equal length (a power of two ticks): the least, the greatest and the sum of the values in
// each, so that no peak is lost however long the simulation runs. When the intervals run out,
// neighbours merge in pairs and the length doubles.
class CTimeSeries {
public:
    static constexpr std::size_t kMaxIntervals = 2048;

    struct SInterval {
        std::uint32_t nMin = 0;
        std::uint32_t nMax = 0;
        std::uint64_t nSum = 0;    // of the value over the ticks the interval holds so far
        std::uint64_t nTicks = 0;  // up to the length; the last interval may hold fewer

        double Mean() const { return nTicks == 0 ? 0.0 : static_cast<double>(nSum) / nTicks; }
    };

    // Appends a value held through nTicks consecutive ticks.
    void Add(std::uint32_t nValue, std::uint64_t nTicks) {
        // Mostly the run fits into the last interval: that is all a simulation's tick costs.
        if (!m_intervals.empty() && m_intervals.back().nTicks + nTicks <= m_nLength) {
            Extend(m_intervals.back(), nValue, nTicks);
        } else {
            AddAcross(nValue, nTicks);
        }
    }

    std::uint64_t GetLength() const { return m_nLength; }
    const std::vector<SInterval>& GetIntervals() const { return m_intervals; }
    // The first tick of interval i.
    std::uint64_t FirstTick(std::size_t i) const { return 1 + i * m_nLength; }
    // Merges neighbours until at most nMost intervals are left (nMost at least one), for a
    // series kept long after its simulation.
    void Coarsen(std::size_t nMost);
    // The mean value over each whole interval of nLength ticks from tick 1 on (a multiple of
    // the length), for as many such intervals as end within the first nTicks.
    std::vector<double> Means(std::uint64_t nLength, std::uint64_t nTicks) const;

private:
    static void Extend(SInterval& interval, std::uint32_t nValue, std::uint64_t nTicks) {
        interval.nMin = nValue < interval.nMin ? nValue : interval.nMin;
        interval.nMax = nValue > interval.nMax ? nValue : interval.nMax;
        interval.nSum += nTicks * nValue;
        interval.nTicks += nTicks;
    }
    void AddAcross(std::uint32_t nValue, std::uint64_t nTicks);
    void MergePairs();

    std::vector<SInterval> m_intervals;
    std::uint64_t m_nLength = 1;
};

}  // namespace mardo
