#include "core/sim/PassShape.h"

#include <gtest/gtest.h>

#include <limits>

#include "ChainModels.h"
#include "TestSupport.h"
#include "core/model/SplitDlg.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::Link;

// A copying block named strName whose nOutputs outputs all lead to pTo.
CSplitDlg& AddFan(CModel& model, const std::string& strName, std::int32_t nOutputs,
                  CBlockDlg* pTo) {
    auto& split = AddNamed<CSplitDlg>(model, strName);
    split.SetOutputCount(nOutputs);
    for (std::int32_t k = 0; k < nOutputs; ++k) {
        split.SetOutLink(k, pTo);
    }
    return split;
}

TEST(PassShapeTest, ChainsCountEveryLevelOfNestedCalls) {
    CModel model;
    EXPECT_EQ(MeasurePasses(model).nLongestChain, 0u);

    CBlockDlg& last = test::AddChain(model, 100000, test::kForwardingKinds);
    Link(last, AddNamed<CTerminateDlg>(model, "T"));
    const SPassShape shape = MeasurePasses(model);
    EXPECT_EQ(shape.nLongestChain, 100002u);  // the generator and the terminator included
    EXPECT_EQ(shape.nCallsPerPass, 100002u);

    // An unnamed block takes no part: it is called, and calls nothing further.
    model.BlockAt(50)->SetName("");
    EXPECT_EQ(MeasurePasses(model).nLongestChain, 51u);
}

TEST(PassShapeTest, EveryPathToABlockIsACallOfIt) {
    // A copying block of twenty outputs, each to a copying block of twenty outputs, all of
    // which lead to one terminator: it is called 400 times in every pass.
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    auto& first = AddFan(model, "S", 20, nullptr);
    Link(generator, first);
    for (std::int32_t k = 0; k < 20; ++k) {
        first.SetOutLink(k, &AddFan(model, "S" + std::to_string(k), 20, &terminator));
    }
    SPassShape shape = MeasurePasses(model);
    EXPECT_EQ(shape.nLongestChain, 4u);
    EXPECT_EQ(shape.nCallsPerPass, 1u + 1u + 20u + 400u);

    // A generator that another one leads to is called by the loop and by the other one.
    CModel two;
    auto& g1 = AddNamed<CGenerateDlg>(two, "G1");
    auto& g2 = AddNamed<CGenerateDlg>(two, "G2");
    Link(g1, g2);
    Link(g2, AddNamed<CTerminateDlg>(two, "T"));
    shape = MeasurePasses(two);
    EXPECT_EQ(shape.nLongestChain, 3u);
    EXPECT_EQ(shape.nCallsPerPass, 1u + 2u + 2u);
}

TEST(PassShapeTest, PathsThatMultiplyBeyondCountingSaturate) {
    CModel model;
    test::AddLadder(model, 3, 20);
    EXPECT_EQ(MeasurePasses(model).nCallsPerPass, 1u + 1u + 20u + 400u + 8000u);
    // 20^20 paths to the terminator, more than 64 bits can count.
    CModel ladder;
    test::AddLadder(ladder, 20, 20);
    const SPassShape shape = MeasurePasses(ladder);
    EXPECT_EQ(shape.nLongestChain, 22u);
    EXPECT_EQ(shape.nCallsPerPass, SPassShape::kUnbounded);
}

TEST(PassShapeTest, ACircleIsUnbounded) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& q1 = AddNamed<CQueueDlg>(model, "Q1");
    auto& q2 = AddNamed<CQueueDlg>(model, "Q2");
    Link(generator, q1);
    Link(q1, q2);
    Link(q2, q1);
    const SPassShape shape = MeasurePasses(model);
    EXPECT_EQ(shape.nLongestChain, std::numeric_limits<std::size_t>::max());
    EXPECT_EQ(shape.nCallsPerPass, SPassShape::kUnbounded);
}

}  // namespace
}  // namespace mardo
