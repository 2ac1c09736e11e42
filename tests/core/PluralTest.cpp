// Counts written with their nouns in the form Russian asks for.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/report/Plural.h"

namespace mardo {
namespace {

TEST(PluralTest, FormFollowsTheLastDigitsOfTheCount) {
    const struct {
        std::int64_t n;
        const char* pszText;
    } kCases[] = {{0, "0 прогонов"},
                  {1, "1 прогон"},
                  {2, "2 прогона"},
                  {3, "3 прогона"},
                  {4, "4 прогона"},
                  {5, "5 прогонов"},
                  {11, "11 прогонов"},
                  {12, "12 прогонов"},
                  {14, "14 прогонов"},
                  {21, "21 прогон"},
                  {22, "22 прогона"},
                  {25, "25 прогонов"},
                  {101, "101 прогон"},
                  {111, "111 прогонов"},
                  {112, "112 прогонов"},
                  {1000, "1000 прогонов"},
                  {100001, "100001 прогон"},
                  {-1, "-1 прогон"},
                  {INT64_MIN, "-9223372036854775808 прогонов"}};
    for (const auto& c : kCases) {
        EXPECT_EQ(CountText(c.n, "прогон", "прогона", "прогонов"), c.pszText) << c.n;
    }
}

}  // namespace
}  // namespace mardo
