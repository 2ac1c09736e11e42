#pragma once

#include <cstdint>

namespace mardo {

// A figure of the report that is the quotient of two unsigned counters, exactly as divided;
// 0 when the divisor is 0 (and, as always, when the dividend is). Either may be a sum beyond
// 32 bits (a queue's content-time sum, a multichannel device's channel-ticks).
inline double ReportQuotient(std::uint64_t nNumerator, std::uint64_t nDenominator) {
    if (nDenominator == 0) {
        return 0.0;
    }
    return static_cast<double>(nNumerator) / static_cast<double>(nDenominator);
}

// The quotient as the report window, the HTML page and the batch runner's tables show it:
// 0.0005 less, which makes the three-decimal display round down at the half; 0 stays 0.
// Documents (JSON, CSV) and experiment summaries carry the exact quotient.
inline double ShownQuotient(double dExact) { return dExact > 0.0 ? dExact - 0.0005 : dExact; }

}  // namespace mardo
