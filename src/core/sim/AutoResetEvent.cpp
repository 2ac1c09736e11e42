#include "core/sim/AutoResetEvent.h"

namespace mardo {

void CAutoResetEvent::Set() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bSet.store(true);
    }
    m_cv.notify_all();
}

void CAutoResetEvent::Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_bSet.exchange(false); });
}

}  // namespace mardo
