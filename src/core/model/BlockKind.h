#pragma once

#include <cstdint>

namespace mardo {

// The kinds of block. The code is the kind's number in the model file; BlockKinds() lists
// them with what is made of each.
enum class EBlockKind : std::int32_t {
    kGenerate = 0,
    kTerminate = 1,
    kDevice = 2,
    kQueue = 3,
    kTransfer = 4,
    kSplit = 5,
    kAssemble = 6,
    kGather = 7,
    kMultiDevice = 8,
};

inline constexpr std::int32_t kBlockKindCount = 9;

}  // namespace mardo
