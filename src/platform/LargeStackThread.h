#pragma once

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

namespace mardo::platform {

// A thread with a stack of a chosen size, which std::thread cannot ask for. A tick of a
// simulation travels down a chain of linked blocks by nested calls, so the chain's length, not
// the system's default, decides how much stack the thread needs.
class CLargeStackThread {
public:
    CLargeStackThread() = default;
    CLargeStackThread(const CLargeStackThread&) = delete;
    CLargeStackThread& operator=(const CLargeStackThread&) = delete;
    // Waits for a thread that still runs.
    ~CLargeStackThread();

    // Starts the work on a new thread with a stack of at least nStackBytes. Answers false, and
    // runs nothing, when the system cannot give such a thread.
    bool Start(std::function<void()> work, std::size_t nStackBytes);
    // Waits at most the given time for the work to end; answers whether it has.
    bool WaitFor(std::chrono::milliseconds timeout);
    // Waits for the thread to end. Everything the work did is visible afterwards.
    void Join();
    bool IsJoinable() const { return m_bJoinable; }

private:
    static void* Run(void* pThis);

    std::function<void()> m_work;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bDone = false;
    bool m_bJoinable = false;
    pthread_t m_thread{};
};

}  // namespace mardo::platform
