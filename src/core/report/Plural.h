#pragma once

#include <cstdint>
#include <string>

namespace mardo {

// A count with its noun in the Russian form the number asks for: "1 прогон", "3 прогона",
// "5 прогонов", "21 прогон", "11 прогонов". one, few and many are the forms for 1, 2..4 and 5..
// (the forms of "21", "22" and "25" follow their last digit; 11..14 always take "many").
std::string CountText(std::int64_t n, const char* one, const char* few, const char* many);
// The noun alone, for a count written otherwise (its digits grouped).
const char* PluralWord(std::int64_t n, const char* one, const char* few, const char* many);

}  // namespace mardo
