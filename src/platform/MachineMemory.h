#pragma once

#include <cstddef>

namespace mardo::platform {

// What the machine lets this process have: its physical memory, less where the process's
// control group or its address-space limit allows less.
class CMachineMemory {
public:
    // The machine's physical memory (SIZE_MAX when the system does not say).
    static std::size_t Physical();
    // The most the process can still take: the least of the physical memory, its control
    // group's memory limit and what its address-space limit leaves beyond what it maps now.
    static std::size_t Usable();
    // Sets the core's limit on the memory of transacts, once per process, to half of what is
    // usable when first called: the rest is for the program, the system and the other programs.
    static void LimitTransacts();
};

}  // namespace mardo::platform
