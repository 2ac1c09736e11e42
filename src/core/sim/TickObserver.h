#pragma once

#include <cstdint>

namespace mardo {

// Looks at a simulation at its tick boundaries, on the simulation's thread, and may keep it
// waiting there (a view that watches the model work). It only reads the blocks.
class ITickObserver {
public:
    virtual ~ITickObserver() = default;
    // At the end of tick nTime (0: before the first tick of the simulation), with the departures
    // so far. Answers the last tick up to which the loop may leave out quiet ticks from here:
    // nTime when it must simulate the next tick.
    virtual std::uint32_t AtBoundary(std::uint32_t nTime, std::uint32_t nDeparted) = 0;
};

}  // namespace mardo
