#include "core/sim/FlowLaw.h"

#include <gtest/gtest.h>

#include "core/sim/Rand.h"
#include "core/sim/TransferRule.h"

namespace mardo {
namespace {

// The n-th value (from 1) of a fresh sequence.
int NthRand(int n) {
    ResetRand();
    int nValue = 0;
    for (int i = 0; i < n; ++i) {
        nValue = Rand();
    }
    return nValue;
}

// How many draws a call consumed, judged by the next value of the sequence.
template <typename TCall>
int DrawsConsumed(TCall call) {
    ResetRand();
    call();
    const int nNext = Rand();
    for (int n = 1; n <= 8; ++n) {
        if (NthRand(n) == nNext) {
            return n - 1;
        }
    }
    return -1;
}

TEST(FlowLawTest, EachKindConsumesItsDraws) {
    const CFlowLaw deterministic(CFlowLaw::kDeterministic, 7, 7);
    EXPECT_EQ(deterministic.Sample(), 7);
    EXPECT_EQ(DrawsConsumed([&] { deterministic.Sample(); }), 0);

    const CFlowLaw fixedUniform(CFlowLaw::kUniform, 5, 5);
    EXPECT_EQ(fixedUniform.Sample(), 5);
    EXPECT_EQ(DrawsConsumed([&] { fixedUniform.Sample(); }), 0);

    const CFlowLaw uniform(CFlowLaw::kUniform, 1, 10);
    const int nExpected = 1 + NthRand(1) % 10;
    ResetRand();
    EXPECT_EQ(uniform.Sample(), nExpected);
    EXPECT_EQ(DrawsConsumed([&] { uniform.Sample(); }), 1);

    CFlowLaw special(CFlowLaw::kSpecial, 1, 1);
    special.AddInterval(1, 10, 300);
    special.AddInterval(20, 30, 700);
    EXPECT_EQ(DrawsConsumed([&] { special.Sample(); }), 2);
    // Two equal bounds still cost the second draw.
    CFlowLaw single(CFlowLaw::kSpecial, 1, 1);
    single.AddInterval(4, 4, 1000);
    EXPECT_EQ(single.Sample(), 4);
    EXPECT_EQ(DrawsConsumed([&] { single.Sample(); }), 2);
}

TEST(FlowLawTest, SpecialLawPicksTheIntervalByRunningSum) {
    CFlowLaw special(CFlowLaw::kSpecial, 1, 1);
    special.AddInterval(1, 10, 300);
    special.AddInterval(20, 30, 700);
    ResetRand();
    for (int i = 0; i < 2000; ++i) {
        const int u = PeekRand() % 1000 + 1;
        const int nValue = special.Sample();
        if (u <= 300) {
            EXPECT_TRUE(nValue >= 1 && nValue <= 10) << u << " " << nValue;
        } else {
            EXPECT_TRUE(nValue >= 20 && nValue <= 30) << u << " " << nValue;
        }
    }
}

TEST(FlowLawTest, IncompleteSpecialLawAnswersOneWithOneDraw) {
    CFlowLaw half(CFlowLaw::kSpecial, 1, 1);
    half.AddInterval(50, 60, 500);
    ResetRand();
    int nOnes = 0;
    for (int i = 0; i < 1000; ++i) {
        const int u = PeekRand() % 1000 + 1;
        const int nValue = half.Sample();
        if (u > 500) {
            EXPECT_EQ(nValue, 1);
            ++nOnes;
        }
    }
    EXPECT_GT(nOnes, 400);
    const CFlowLaw empty(CFlowLaw::kSpecial, 1, 1);
    EXPECT_EQ(empty.Sample(), 1);
    EXPECT_EQ(DrawsConsumed([&] { empty.Sample(); }), 1);
}

TEST(FlowLawTest, CopyRaisesTheMaximumToTheMinimum) {
    CFlowLaw law(CFlowLaw::kUniform, 8, 3);
    law.AddInterval(1, 2, 100);
    const CFlowLaw copy(law);
    EXPECT_EQ(copy.m_nMin, 8);
    EXPECT_EQ(copy.m_nMax, 8);
    EXPECT_EQ(copy.GetIntervalCount(), 1);
    CFlowLaw assigned;
    assigned = law;
    EXPECT_EQ(assigned.m_nMax, 8);
}

TEST(FlowLawTest, IntervalAccessIgnoresIndicesPastTheEnd) {
    CFlowLaw law;
    law.AddInterval(1, 5, 400);
    law.AddInterval(6, 9, 600);
    law.SetInterval(5, 1, 1, 1);
    law.RemoveInterval(2);
    EXPECT_EQ(law.GetIntervalCount(), 2);
    EXPECT_EQ(law.GetTotalProbability(), 1000);
    law.RemoveInterval(0);
    std::int32_t nMin = 0, nMax = 0, nProbability = 0;
    law.GetInterval(0, nMin, nMax, nProbability);
    EXPECT_EQ(nMin, 6);
    EXPECT_EQ(nProbability, 600);
}

TEST(TransferRuleTest, EqualWeightsGiveTheRemainderToTheLastOutput) {
    CTransferRule rule(3);
    EXPECT_EQ(rule.m_weights, (std::vector<std::int32_t>{333, 333, 333}));
    // Find draws r = Rand() % 1000 of the fresh sequence and check the output they choose.
    ResetRand();
    for (int i = 0; i < 5000; ++i) {
        const int r = PeekRand() % 1000;
        const int nOut = rule.ChooseOutput();
        EXPECT_EQ(nOut, r <= 332 ? 0 : r <= 665 ? 1 : 2) << r;
    }

    CTransferRule seven(7);
    EXPECT_EQ(seven.m_weights[0], 142);
    ResetRand();
    int nLast = 0;
    for (int i = 0; i < 20000; ++i) {
        const int r = PeekRand() % 1000;
        const int nOut = seven.ChooseOutput();
        if (r >= 994) {
            EXPECT_EQ(nOut, 6);
        }
        nLast += nOut == 6;
    }
    EXPECT_NEAR(nLast / 20000.0, 0.148, 0.01);
}

TEST(TransferRuleTest, ProbabilitiesChooseByRunningSum) {
    CTransferRule rule(2);
    rule.m_nKind = CTransferRule::kByProbability;
    rule.m_probabilities = {999, 1};
    ResetRand();
    for (int i = 0; i < 30000; ++i) {
        const int r = PeekRand() % 1000;
        EXPECT_EQ(rule.ChooseOutput(), r == 999 ? 1 : 0);
    }
    // Probabilities that do not reach 1000 leave the rest to the last output.
    rule.m_probabilities = {0, 0};
    EXPECT_EQ(rule.ChooseOutput(), 1);
}

TEST(TransferRuleTest, GrowingAndShrinkingKeepsTheFirstEntries) {
    CTransferRule rule(2);
    rule.m_probabilities = {600, 400};
    rule.m_conditionStates = {1, 0};
    rule.SetOutputCount(4);
    EXPECT_EQ(rule.m_weights, (std::vector<std::int32_t>{250, 250, 250, 250}));
    EXPECT_EQ(rule.m_probabilities, (std::vector<std::int32_t>{600, 400, 0, 0}));
    EXPECT_EQ(rule.m_conditionStates, (std::vector<std::int32_t>{1, 0, 0, 0}));
    EXPECT_EQ(rule.m_conditionBlocks.size(), 4u);
    rule.SetOutputCount(1);
    EXPECT_EQ(rule.m_weights, (std::vector<std::int32_t>{1000}));
    EXPECT_EQ(rule.m_probabilities, (std::vector<std::int32_t>{600}));
}

}  // namespace
}  // namespace mardo
