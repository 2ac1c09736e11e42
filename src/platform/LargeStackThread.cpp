#include "platform/LargeStackThread.h"

#include <climits>

#include <algorithm>
#include <utility>

namespace mardo::platform {

CLargeStackThread::~CLargeStackThread() {
    Join();
}

bool CLargeStackThread::Start(std::function<void()> work, std::size_t nStackBytes) {
    if (m_bJoinable) {
        return false;
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    m_work = std::move(work);
    m_bDone = false;
    const std::size_t nBytes = std::max<std::size_t>(nStackBytes, PTHREAD_STACK_MIN);
    const bool bStarted =
        pthread_attr_setstacksize(&attributes, nBytes) == 0 &&
        pthread_create(&m_thread, &attributes, &CLargeStackThread::Run, this) == 0;
    pthread_attr_destroy(&attributes);
    m_bJoinable = bStarted;
    if (!bStarted) {
        m_work = nullptr;
    }
    return bStarted;
}

void* CLargeStackThread::Run(void* pThis) {
    auto& thread = *static_cast<CLargeStackThread*>(pThis);
    thread.m_work();
    {
        std::lock_guard<std::mutex> lock(thread.m_mutex);
        thread.m_bDone = true;
    }
    thread.m_done.notify_all();
    return nullptr;
}

bool CLargeStackThread::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_done.wait_for(lock, timeout, [this] { return m_bDone; });
}

void CLargeStackThread::Join() {
    if (m_bJoinable) {
        pthread_join(m_thread, nullptr);
        m_bJoinable = false;
        m_work = nullptr;
    }
}

}  // namespace mardo::platform
