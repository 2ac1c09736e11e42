#pragma once

#include <cstdint>
#include <vector>

#include "core/model/BlockSnapshot.h"

namespace mardo {

// Every block's state at one tick boundary, in the order of the model's blocks (an unnamed
// block, which takes no part, has an empty one).
struct SModelSnapshot {
    std::uint32_t nTime = 0;
    std::uint32_t nDeparted = 0;
    bool bHeld = false;  // the blocks' snapshots list the transacts they hold
    std::vector<SBlockSnapshot> blocks;
};

}  // namespace mardo
