#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/experiment/OutputAnalysis.h"

namespace mardo {

// The waiting times of a queue's transacts: the tick each one entered, kept by its position in
// the queue, and the waits of those that left since the figures were last reset. Only a queue
// asked to record keeps one, so that a plain run pays nothing for it. The entry ticks stand in
// a ring, as the queue's transacts do: a test of the count is all a pass without movement costs.
class CWaitRecorder {
public:
    // Where the queue's moves note the positions the transacts they admit take; a queue that
    // only appends (first come, first served) notes none.
    std::vector<std::size_t>& Places() { return m_places; }
    // The nAdmitted transacts just admitted, at the noted positions or else at the end,
    // entered at tick nTime.
    void Entered(std::uint32_t nTime, std::size_t nAdmitted) {
        if (!m_places.empty()) {
            EnteredAtPlaces(nTime);
            return;
        }
        for (; nAdmitted != 0; --nAdmitted) {
            if (m_nCount == m_ring.size()) {
                Grow();
            }
            At(m_nCount++) = nTime;
        }
    }
    // Transacts leave a queue only from its front: those beyond its count nCount left at nTime.
    void LeftDownTo(std::size_t nCount, std::uint32_t nTime) {
        for (; m_nCount > nCount; --m_nCount) {
            m_waits.Add(nTime - At(0));
            m_nHead = (m_nHead + 1) & (m_ring.size() - 1);
        }
    }
    std::size_t GetCount() const { return m_nCount; }

    void ResetFigures() { m_waits = {}; }
    // The queue was emptied at the end of a simulation: its figures stay until the next.
    void ForgetEntries() { m_nCount = 0; }
    void Clear();
    const CWaitHistogram& GetWaits() const { return m_waits; }

private:
    void EnteredAtPlaces(std::uint32_t nTime);
    void Grow();
    void InsertAt(std::size_t k, std::uint32_t nTime);
    std::uint32_t& At(std::size_t k) { return m_ring[(m_nHead + k) & (m_ring.size() - 1)]; }

    std::vector<std::uint32_t> m_ring;  // capacity a power of 2
    std::size_t m_nHead = 0;
    std::size_t m_nCount = 0;
    std::vector<std::size_t> m_places;
    CWaitHistogram m_waits;
};

}  // namespace mardo
