#pragma once

#include <time.h>

namespace mardo::bench {

// The processor time so far of every thread of the process but the calling one: the cost of the
// simulation's thread, which other work on the machine hardly changes.
inline double OtherThreadsSeconds() {
    const auto seconds = [](clockid_t clock) {
        timespec time{};
        clock_gettime(clock, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
    };
    return seconds(CLOCK_PROCESS_CPUTIME_ID) - seconds(CLOCK_THREAD_CPUTIME_ID);
}

}  // namespace mardo::bench
