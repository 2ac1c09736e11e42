#include "core/sim/FlowLaw.h"

#include <algorithm>

#include "core/persist/Error.h"
#include "core/persist/FileModel.h"

namespace mardo {

CFlowLaw::CFlowLaw(const CFlowLaw& other)
    : m_nKind(other.m_nKind),
      m_nMin(other.m_nMin),
      m_nMax(std::max(other.m_nMax, other.m_nMin)),
      m_intervals(other.m_intervals) {}

CFlowLaw& CFlowLaw::operator=(const CFlowLaw& other) {
    if (this != &other) {
        m_nKind = other.m_nKind;
        m_nMin = other.m_nMin;
        m_nMax = std::max(other.m_nMax, other.m_nMin);
        m_intervals = other.m_intervals;
    }
    return *this;
}

std::int32_t CFlowLaw::Sample(CRandomSource& draws) const {
    switch (m_nKind) {
        case kDeterministic:
            return m_nMin;
        case kUniform:
            return m_nMin == m_nMax ? m_nMin : draws.Between(m_nMin, m_nMax);
        case kSpecial: {
            const std::int32_t nDraw = draws.Thousandth() + 1;
            std::int32_t nSum = 0;
            for (const SInterval& interval : m_intervals) {
                nSum += interval.m_nProbability;
                if (nSum >= nDraw) {
                    return draws.Between(interval.m_nMin, interval.m_nMax);
                }
            }
            return 1;
        }
        default:
            return 1;
    }
}

void CFlowLaw::GetInterval(std::int32_t i, std::int32_t& nMin, std::int32_t& nMax,
                           std::int32_t& nProbability) const {
    if (HasInterval(i)) {
        const SInterval& interval = m_intervals[static_cast<std::size_t>(i)];
        nMin = interval.m_nMin;
        nMax = interval.m_nMax;
        nProbability = interval.m_nProbability;
    }
}

void CFlowLaw::SetInterval(std::int32_t i, std::int32_t nMin, std::int32_t nMax,
                           std::int32_t nProbability) {
    if (HasInterval(i)) {
        m_intervals[static_cast<std::size_t>(i)] = {nMin, nMax, nProbability};
    }
}

void CFlowLaw::RemoveInterval(std::int32_t i) {
    if (HasInterval(i)) {
        m_intervals.erase(m_intervals.begin() + i);
    }
}

void CFlowLaw::AddInterval(std::int32_t nMin, std::int32_t nMax, std::int32_t nProbability) {
    m_intervals.push_back({nMin, nMax, nProbability});
}

std::int32_t CFlowLaw::GetTotalProbability() const {
    std::int32_t nTotal = 0;
    for (const SInterval& interval : m_intervals) {
        nTotal += interval.m_nProbability;
    }
    return nTotal;
}

void CFlowLaw::Save(CFileModel& file) const {
    file.WriteInt(m_nKind).WriteInt(m_nMin).WriteInt(m_nMax).WriteInt(GetIntervalCount());
    for (const SInterval& interval : m_intervals) {
        file.WriteInt(interval.m_nMin).WriteInt(interval.m_nMax).WriteInt(interval.m_nProbability);
    }
}

void CFlowLaw::Load(CFileModel& file) {
    file.ReadIntInRange(m_nKind, kDeterministic, kSpecial)
        .ReadIntInRange(m_nMin, kMinValue, kMaxValue)
        .ReadIntInRange(m_nMax, m_nMin, kMaxValue);
    std::int32_t nCount = 0;
    file.ReadInt(nCount);
    file.RequireRecords(nCount, 3 * sizeof(std::int32_t));
    m_intervals.clear();
    m_intervals.reserve(static_cast<std::size_t>(nCount));
    std::int32_t nSum = 0;
    for (std::int32_t i = 0; i < nCount; ++i) {
        SInterval interval;
        file.ReadIntInRange(interval.m_nMin, kMinValue, kMaxValue)
            .ReadIntInRange(interval.m_nMax, interval.m_nMin, kMaxValue)
            .ReadIntInRange(interval.m_nProbability, 0, 1000 - nSum);
        nSum += interval.m_nProbability;
        m_intervals.push_back(interval);
    }
}

}  // namespace mardo
