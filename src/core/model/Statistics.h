#pragma once

#include <cstdint>

namespace mardo {

// A figure of the report: the quotient of two unsigned counters less 0.0005, which makes the
// three-decimal display round down at the half; exactly 0 when the divisor is 0. The numerator
// may be a sum beyond 32 bits (a queue's content-time sum).
inline double ReportQuotient(std::uint64_t nNumerator, std::uint32_t nDenominator) {
    if (nDenominator == 0) {
        return 0.0;
    }
    return static_cast<double>(nNumerator) / static_cast<double>(nDenominator) - 0.0005;
}

}  // namespace mardo
