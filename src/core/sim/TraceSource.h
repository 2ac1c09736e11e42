#pragma once

#include <cstddef>

namespace mardo {

// Where a block keeps a figure that can be followed over model time, read straight from there
// after every tick, so that following it costs a load and a comparison. Exactly one is set.
struct STraceSource {
    const char* pszFigure = "";           // what the figure is, for the chart's axis
    const std::size_t* pCount = nullptr;  // a number of transacts
    const bool* pFlag = nullptr;          // a state, 1 while it holds
};

}  // namespace mardo
