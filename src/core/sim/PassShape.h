#pragma once

#include <cstddef>
#include <cstdint>

namespace mardo {

class CModel;

// How one pass of a tick travels through a model. A pass starts at every named generator and
// goes down the links depth first, each named block calling the pass on the destination of
// every output while the callers wait: a chain of linked blocks is a chain of nested calls,
// and a block that can be reached along several paths is called once for each path.
struct SPassShape {
    // The blocks on the longest chain of nested calls, the generator included (0 for a model
    // without named generators). The thread that simulates needs a stack this deep.
    std::size_t nLongestChain = 0;
    // The calls of one pass (at most kUnbounded): every path from a named generator counts.
    std::uint64_t nCallsPerPass = 0;

    static constexpr std::uint64_t kUnbounded = UINT64_MAX;
    // The most calls a pass may take. Stop and close requests are heeded between ticks, so a
    // tick must end in a moment; a model whose outputs fan out and meet again can ask for more
    // calls in one tick than there is time for (twenty copying blocks of twenty outputs, each
    // leading to the next, ask for 20^20).
    static constexpr std::uint64_t kMostCallsPerPass = 10'000'000;
};

// Measures the passes of a model that passed the model check. A path that runs in a circle,
// which the check refuses, gives the largest chain and kUnbounded calls.
SPassShape MeasurePasses(const CModel& model);

}  // namespace mardo
