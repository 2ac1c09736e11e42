#include "core/model/WaitRecorder.h"

#include <iterator>

namespace mardo {

void CWaitRecorder::Entered(std::uint32_t nTime) {
    for (const std::size_t k : m_places) {
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(k), nTime);
    }
    m_places.clear();
}

void CWaitRecorder::LeftDownTo(std::size_t nCount, std::uint32_t nTime) {
    while (m_entries.size() > nCount) {
        m_waits.Add(nTime - m_entries.front());
        m_entries.pop_front();
    }
}

void CWaitRecorder::Clear() {
    m_entries.clear();
    m_places.clear();
    m_waits = {};
}

}  // namespace mardo
