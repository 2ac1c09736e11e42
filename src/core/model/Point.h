#pragma once

#include <cstdint>

namespace mardo {

// A position on the diagram, in pixels.
struct CPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const CPoint&, const CPoint&) = default;
};

}  // namespace mardo
