#include "core/model/WaitRecorder.h"

#include <algorithm>

namespace mardo {

void CWaitRecorder::EnteredAtPlaces(std::uint32_t nTime) {
    for (const std::size_t k : m_places) {
        InsertAt(static_cast<std::uint32_t>(k), nTime);
    }
    m_places.clear();
}

void CWaitRecorder::Grow() {
    std::vector<std::uint32_t> larger(std::max<std::size_t>(64, 2 * m_ring.size()));
    for (std::uint32_t i = 0; i < m_nCount; ++i) {
        larger[i] = At(i);
    }
    m_ring.swap(larger);
    m_nMask = static_cast<std::uint32_t>(m_ring.size() - 1);
    m_nHead = 0;
}

void CWaitRecorder::InsertAt(std::uint32_t k, std::uint32_t nTime) {
    if (m_nCount > m_nMask) {
        Grow();
    }
    if (k == 0 && m_nCount != 0) {
        m_nHead = (m_nHead + m_nMask) & m_nMask;
    } else {
        // A place inside the queue (a random or priority discipline) moves the later ones on.
        for (std::uint32_t i = m_nCount; i > k; --i) {
            At(i) = At(i - 1);
        }
    }
    ++m_nCount;
    At(k) = nTime;
}

void CWaitRecorder::Clear() {
    m_nHead = 0;
    m_nCount = 0;
    m_places.clear();
    m_waits = {};
}

}  // namespace mardo
