#include "LargeStackThread.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace mardo::cli {

namespace {

struct SJob {
    const std::function<void()>* pWork;
    std::mutex mutex;
    std::condition_variable done;
    bool bDone = false;
};

void* RunJob(void* pArgument) {
    auto* pJob = static_cast<SJob*>(pArgument);
    (*pJob->pWork)();
    {
        std::lock_guard<std::mutex> lock(pJob->mutex);
        pJob->bDone = true;
    }
    pJob->done.notify_all();
    return nullptr;
}

}  // namespace

bool RunOnLargeStack(const std::function<void()>& work, const std::function<void()>& idle,
                     int nIdleMilliseconds) {
    SJob job;
    job.pWork = &work;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    pthread_attr_setstacksize(&attributes, kSimulationStackBytes);
    pthread_t thread;
    const int nError = pthread_create(&thread, &attributes, RunJob, &job);
    pthread_attr_destroy(&attributes);
    if (nError != 0) {
        return false;
    }
    {
        std::unique_lock<std::mutex> lock(job.mutex);
        while (!job.done.wait_for(lock, std::chrono::milliseconds(nIdleMilliseconds),
                                  [&job] { return job.bDone; })) {
            lock.unlock();
            idle();
            lock.lock();
        }
    }
    pthread_join(thread, nullptr);
    return true;
}

}  // namespace mardo::cli
