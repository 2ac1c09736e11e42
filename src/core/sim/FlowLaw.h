#pragma once

#include <cstdint>
#include <vector>

#include "core/sim/RandomSource.h"

namespace mardo {

class CFileModel;

// A flow law: the number of ticks between two arrivals at a generator, or the number of
// ticks a service device needs for one transact. Deterministic (always m_nMin), uniform
// (m_nMin..m_nMax) or special (a table of intervals, each with its probability in thousandths).
class CFlowLaw {
public:
    enum EKind : std::int32_t { kDeterministic = 0, kUniform = 1, kSpecial = 2 };
    static constexpr std::int32_t kMinValue = 1;
    static constexpr std::int32_t kMaxValue = 10000;

    struct SInterval {
        std::int32_t m_nMin = 1;
        std::int32_t m_nMax = 1;
        std::int32_t m_nProbability = 0;  // thousandths

        friend bool operator==(const SInterval&, const SInterval&) = default;
    };

    CFlowLaw() = default;
    CFlowLaw(std::int32_t nKind, std::int32_t nMin, std::int32_t nMax)
        : m_nKind(nKind), m_nMin(nMin), m_nMax(nMax) {}
    // A copy never has its maximum below its minimum: it is raised to the minimum.
    CFlowLaw(const CFlowLaw& other);
    CFlowLaw& operator=(const CFlowLaw& other);
    virtual ~CFlowLaw() = default;

    // One duration in ticks, at least 1 for every valid law. Draws from the source: none for a
    // deterministic law or a uniform one whose bounds are equal, one for any other uniform
    // law, and for a special law a thousandth, then (exactly: always) one from the interval it
    // falls in; only the thousandth when no interval reaches it.
    std::int32_t Sample(CRandomSource& draws = CRandomSource::Exact()) const;

    std::int32_t GetIntervalCount() const { return static_cast<std::int32_t>(m_intervals.size()); }
    void GetInterval(std::int32_t i, std::int32_t& nMin, std::int32_t& nMax,
                     std::int32_t& nProbability) const;
    void SetInterval(std::int32_t i, std::int32_t nMin, std::int32_t nMax,
                     std::int32_t nProbability);
    void RemoveInterval(std::int32_t i);
    void AddInterval(std::int32_t nMin, std::int32_t nMax, std::int32_t nProbability);
    std::int32_t GetTotalProbability() const;
    const std::vector<SInterval>& GetIntervals() const { return m_intervals; }

    // Kind, minimum, maximum, the interval count and each interval's minimum, maximum and
    // probability. Loading holds the law to its invariants: kind 0..2; bounds within
    // 1..10000 with the maximum not below the minimum, for the law and for every interval;
    // probabilities 0..1000 whose running sum never passes 1000.
    void Save(CFileModel& file) const;
    void Load(CFileModel& file);

    friend bool operator==(const CFlowLaw& a, const CFlowLaw& b) {
        return a.m_nKind == b.m_nKind && a.m_nMin == b.m_nMin && a.m_nMax == b.m_nMax &&
               a.m_intervals == b.m_intervals;
    }

    std::int32_t m_nKind = kDeterministic;
    std::int32_t m_nMin = 1;
    std::int32_t m_nMax = 1;

private:
    bool HasInterval(std::int32_t i) const {
        return i >= 0 && static_cast<std::size_t>(i) < m_intervals.size();
    }

    std::vector<SInterval> m_intervals;
};

}  // namespace mardo
