#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace mardo {

// A signal that stays set until one test consumes it. Any thread may set it; the simulation
// tests it without waiting at tick boundaries, and waits on it only for the resume signal.
class CAutoResetEvent {
public:
    void Set();
    void Reset() { m_bSet.store(false); }
    // Consumes the signal if it is set; never waits.
    bool TryConsume() { return m_bSet.load(std::memory_order_relaxed) && m_bSet.exchange(false); }
    // Waits, without limit, until the signal is set, and consumes it.
    void Wait();
    bool IsSet() const { return m_bSet.load(); }

private:
    std::atomic<bool> m_bSet{false};
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

}  // namespace mardo
