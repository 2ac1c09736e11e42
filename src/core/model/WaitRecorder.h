#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/experiment/OutputAnalysis.h"

namespace mardo {

// The waiting times of a queue's transacts: the tick each one entered, kept by its position in
// the queue, and the waits of those that left since the figures were last reset. Only a queue
// asked to record keeps one, so that a plain run pays nothing for it.
class CWaitRecorder {
public:
    // Where the queue's moves note the positions the transacts they admit take.
    std::vector<std::size_t>& Places() { return m_places; }
    // The transacts just admitted, at the noted positions, entered at tick nTime.
    void Entered(std::uint32_t nTime);
    // Transacts leave a queue only from its front: those beyond its count nCount left at nTime.
    void LeftDownTo(std::size_t nCount, std::uint32_t nTime);
    std::size_t GetCount() const { return m_entries.size(); }

    void ResetFigures() { m_waits = {}; }
    // The queue was emptied at the end of a simulation: its figures stay until the next.
    void ForgetEntries() { m_entries.clear(); }
    void Clear();
    const CWaitHistogram& GetWaits() const { return m_waits; }

private:
    std::deque<std::uint32_t> m_entries;
    std::vector<std::size_t> m_places;
    CWaitHistogram m_waits;
};

}  // namespace mardo
