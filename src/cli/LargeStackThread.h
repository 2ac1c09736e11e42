#pragma once

#include <cstddef>
#include <functional>

namespace mardo::cli {

// Runs the work on a new thread whose stack can hold the deepest chain of blocks a model file
// can describe (a tick travels down the links by nested calls), and waits for it, calling
// idle() about every nIdleMilliseconds meanwhile. Answers false if the thread cannot start.
bool RunOnLargeStack(const std::function<void()>& work, const std::function<void()>& idle,
                     int nIdleMilliseconds);

inline constexpr std::size_t kSimulationStackBytes = std::size_t{256} << 20;

}  // namespace mardo::cli
