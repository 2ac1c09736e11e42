#include "core/run/MessageQueue.h"

#include <algorithm>
#include <utility>

namespace mardo {

CMessageQueue::CMessageQueue(CTimeOfDayFunction clock) : m_clock(std::move(clock)) {}

void CMessageQueue::AddMessage(const std::string& strText, int nKind, bool bWithTime) {
    // Everything that may allocate or read the clock happens outside the lock, so the client
    // never holds the simulation up for longer than one push.
    SLine line{strText, nKind, bWithTime, bWithTime ? m_clock() : std::chrono::seconds(0)};
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
}

std::vector<CMessageQueue::SLine> CMessageQueue::Take(std::size_t nMost) {
    std::vector<SLine> taken;
    const std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t nCount = std::min(nMost, m_lines.size());
    taken.reserve(nCount);
    for (std::size_t i = 0; i < nCount; ++i) {
        taken.push_back(std::move(m_lines.front()));
        m_lines.pop_front();
    }
    return taken;
}

bool CMessageQueue::IsEmpty() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines.empty();
}

void CMessageQueue::Clear() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

void CMessageQueue::SetClock(CTimeOfDayFunction clock) {
    m_clock = std::move(clock);
}

}  // namespace mardo
