#include "core/sim/Rand.h"

#include <gtest/gtest.h>

#include <thread>

namespace mardo {
namespace {

TEST(RandTest, StartsAtStateOneOnEveryThread) {
    int nFirst = 0;
    int nSecond = 0;
    std::thread([&] {
        nFirst = Rand();
        nSecond = Rand();
    }).join();
    EXPECT_EQ(nFirst, 41);
    EXPECT_EQ(nSecond, 18467);
}

TEST(RandTest, ResetRestartsTheSequence) {
    ResetRand();
    const int a = Rand();
    const int b = Rand();
    Rand();
    ResetRand();
    EXPECT_EQ(Rand(), a);
    EXPECT_EQ(Rand(), b);
    EXPECT_EQ(a, 41);
}

}  // namespace
}  // namespace mardo
