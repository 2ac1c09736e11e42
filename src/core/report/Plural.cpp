#include "core/report/Plural.h"

namespace mardo {

const char* PluralWord(std::int64_t n, const char* one, const char* few, const char* many) {
    // The magnitude decides the form; unsigned arithmetic keeps the lowest value defined.
    const std::uint64_t nAbs =
        n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    const std::uint64_t nLast = nAbs % 10;
    const std::uint64_t nLastTwo = nAbs % 100;
    const char* word = many;
    if (nLastTwo < 11 || nLastTwo > 14) {
        if (nLast == 1) {
            word = one;
        } else if (nLast >= 2 && nLast <= 4) {
            word = few;
        }
    }
    return word;
}

std::string CountText(std::int64_t n, const char* one, const char* few, const char* many) {
    return std::to_string(n) + " " + PluralWord(n, one, few, many);
}

}  // namespace mardo
