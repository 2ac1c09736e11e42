#pragma once

#include <cstdint>

namespace mardo {

// The eight kinds of block. The code is the kind's number in the model file.
enum class EBlockKind : std::int32_t {
    kGenerate = 0,
    kTerminate = 1,
    kDevice = 2,
    kQueue = 3,
    kTransfer = 4,
    kSplit = 5,
    kAssemble = 6,
    kGather = 7,
};

inline constexpr std::int32_t kBlockKindCount = 8;

}  // namespace mardo
