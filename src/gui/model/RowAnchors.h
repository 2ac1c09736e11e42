#pragma once

#include <QPoint>

namespace mardo {

// The two ends of a block row's middle line, in the diagram's client coordinates: where the
// links of that row start or end.
struct SRowAnchors {
    QPoint ptLeft;
    QPoint ptRight;
};

// Row codes of a block window: the name row (or no row), the input row, and output k as k.
inline constexpr int kNameRow = -2;
inline constexpr int kInputRow = -1;

}  // namespace mardo
