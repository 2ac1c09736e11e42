#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/experiment/OutputAnalysis.h"

namespace mardo {

// The waiting times of a queue's transacts: the tick each one entered, kept by its position in
// the queue, and the waits of those that left since the figures were last reset. Only a queue
// made to record keeps one (CWaitRecordingQueue), so that a plain run pays nothing for it. The
// entry ticks stand in a ring, as the queue's transacts do: a test of the count is all a pass
// without movement costs.
class CWaitRecorder {
public:
    // Where the queue's moves note the positions the transacts they admit take; a queue that
    // only appends (first come, first served) notes none.
    std::vector<std::size_t>& Places() { return m_places; }
    // The nAdmitted transacts just admitted, at the end if the queue appends, else at the
    // noted positions, entered at tick nTime.
    void Entered(std::uint32_t nTime, std::uint32_t nAdmitted, bool bAppends) {
        if (!bAppends) {
            EnteredAtPlaces(nTime);
            return;
        }
        for (; nAdmitted != 0; --nAdmitted) {
            if (m_nCount > m_nMask) {
                Grow();
            }
            At(m_nCount++) = nTime;
        }
    }
    // Transacts leave a queue only from its front: those beyond its count nCount left at nTime.
    void LeftDownTo(std::uint32_t nCount, std::uint32_t nTime) {
        for (; m_nCount > nCount; --m_nCount) {
            m_waits.Add(nTime - m_ring[m_nHead]);
            m_nHead = (m_nHead + 1) & m_nMask;
        }
    }
    // Whether transacts left the queue, whose count is now nCount, that are not noted yet.
    bool LagsBehind(std::uint32_t nCount) const { return m_nCount != nCount; }

    void ResetFigures() { m_waits = {}; }
    // The queue was emptied at the end of a simulation: its figures stay until the next.
    void ForgetEntries() { m_nCount = 0; }
    void Clear();
    const CWaitHistogram& GetWaits() const { return m_waits; }

private:
    void EnteredAtPlaces(std::uint32_t nTime);
    void Grow();
    void InsertAt(std::uint32_t k, std::uint32_t nTime);
    std::uint32_t& At(std::uint32_t k) { return m_ring[(m_nHead + k) & m_nMask]; }

    // The ring's capacity is a power of 2, at least the count, and the mask one less: a new
    // ring has one place, so that the mask is never that of none. The positions are 32-bit, as
    // a queue's count is, so that the histogram's 64-bit counts are never taken for them.
    std::vector<std::uint32_t> m_ring = std::vector<std::uint32_t>(1);
    std::uint32_t m_nMask = 0;
    std::uint32_t m_nHead = 0;
    std::uint32_t m_nCount = 0;
    std::vector<std::size_t> m_places;
    CWaitHistogram m_waits;
};

// What a queue not made to record does with its waits: nothing, at no cost.
struct SNoWaits {
    static void Entered(std::uint32_t /*nTime*/, std::uint32_t /*nAdmitted*/, bool /*bAppends*/) {}
    static void LeftDownTo(std::uint32_t /*nCount*/, std::uint32_t /*nTime*/) {}
    static bool LagsBehind(std::uint32_t /*nCount*/) { return false; }
};

}  // namespace mardo
