#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace mardo {

// The local time of day that stamps a log line, since midnight; tests replace it with a fixed
// clock.
using CTimeOfDayFunction = std::function<std::chrono::seconds()>;

// The local time of day now.
std::chrono::seconds LocalTimeOfDay();

// The stamp that opens a timed log line, "[HH:MM:SS] ", the same in the run window and the
// batch runner's output.
std::string TimeStamp(std::chrono::seconds timeOfDay);

}  // namespace mardo
