#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/sim/Rand.h"

namespace mardo {
namespace {

using test::ListOf;
using test::Numbers;
using test::Priorities;

using test::Link;

CTransact Source(std::int32_t nNumber, std::int32_t nPriority = 0) {
    static const CTerminateDlg generator;  // any block stands for the originating generator
    return CTransact(&generator, nNumber, nPriority);
}

TEST(TransferTest, CheckOutputsRefusesUnusableValues) {
    CTransferDlg block;
    block.SetName("K");
    block.m_rule.m_nKind = CTransferRule::kByProbability;
    block.m_rule.m_probabilities = {1000, 0};
    EXPECT_EQ(block.CheckOutputs(), 0);
    block.m_rule.m_probabilities = {999, 1};
    EXPECT_EQ(block.CheckOutputs(), 1);
    block.m_rule.m_probabilities = {600, 300};
    EXPECT_EQ(block.CheckOutputs(), 0);

    CQueueDlg queue;
    block.m_rule.m_nKind = CTransferRule::kByState;
    block.m_rule.m_conditionBlocks = {&queue, nullptr};
    EXPECT_EQ(block.CheckOutputs(), 0);
    CDeviceDlg device;
    block.m_rule.m_conditionBlocks = {&queue, &device};
    EXPECT_EQ(block.CheckOutputs(), 1);
    // Routing to a block only while it is busy cannot work.
    block.SetOutLink(1, &device);
    block.m_rule.m_conditionStates = {0, 1};
    EXPECT_EQ(block.CheckOutputs(), 0);
    // An unnamed block is not checked.
    block.SetName("");
    EXPECT_EQ(block.CheckOutputs(), 1);
}

TEST(TransferTest, StateRuleFallsBackToTheLastOutput) {
    CQueueDlg queue;
    CDeviceDlg device;
    queue.PrepareRun();
    device.PrepareRun();
    CTransactList one = ListOf({Source(0)});
    device.ServicePass(&one, 1);  // takes the transact: busy
    ASSERT_FALSE(device.IsFree());

    CTransferRule rule(2);
    rule.m_nKind = CTransferRule::kByState;
    rule.m_conditionBlocks = {&queue, &device};
    rule.m_conditionStates = {CTransferRule::kBusy, CTransferRule::kFree};
    EXPECT_EQ(rule.ChooseOutput(), 1);  // no condition holds
    rule.m_conditionStates = {CTransferRule::kBusy, CTransferRule::kBusy};
    EXPECT_EQ(rule.ChooseOutput(), 1);
    rule.m_conditionStates = {CTransferRule::kFree, CTransferRule::kBusy};
    EXPECT_EQ(rule.ChooseOutput(), 0);
}

TEST(TransferTest, WaitingTransactsFollowTheChoiceInTheSamePass) {
    // Draws 41 and 467: output 1 in tick 1, output 2 in tick 2. Output 1 leads nowhere, so the
    // transact waits there; in tick 2 it moves to output 2, whose terminator takes it at once.
    CTransferDlg block;
    block.m_rule.m_nKind = CTransferRule::kByProbability;
    block.m_rule.m_probabilities = {100, 900};
    block.m_priority = {CPriorityChange::kRaise, 5};
    CTerminateDlg terminator;
    Link(block, terminator, 1);
    block.PrepareRun();
    ResetRand();
    CTransactList in = ListOf({Source(0)});
    block.ArrivalPass(&in, 1);
    EXPECT_EQ(block.GetActiveOutput(), 0);
    EXPECT_EQ(block.GetOutList(0).Front().GetPriority(), 5);
    block.ArrivalPass(&in, 2);
    EXPECT_EQ(block.GetActiveOutput(), 1);
    EXPECT_EQ(terminator.GetEntered(), 1u);
    EXPECT_TRUE(block.GetOutList(0).IsEmpty());
    // No second choice within a tick.
    block.ServicePass(&in, 2);
    EXPECT_EQ(block.GetActiveOutput(), 1);
    block.ComputeStatistics();
    EXPECT_EQ(block.GetEntered(), 1u);
    EXPECT_EQ(block.GetLeft(), 1u);
}

TEST(TransferTest, DeletingAConditionBlockLeavesTheOutputWithoutOne) {
    CModel model;
    auto& block = model.Add<CTransferDlg>();
    block.SetName("K");
    auto& device = model.Add<CDeviceDlg>();
    auto& queue = model.Add<CQueueDlg>();
    block.m_rule.m_nKind = CTransferRule::kByState;
    block.m_rule.m_conditionBlocks = {&device, &queue};
    block.m_rule.m_conditionStates = {1, 1};
    Link(block, device, 0);
    model.DeleteBlock(device);
    EXPECT_EQ(block.m_rule.m_conditionBlocks[0], nullptr);
    EXPECT_EQ(block.m_rule.m_conditionStates[0], 0);
    EXPECT_EQ(block.m_rule.m_conditionStates[1], 1);
    EXPECT_EQ(block.GetOutLink(0), nullptr);
    EXPECT_EQ(block.CheckOutputs(), 0);
}

TEST(SplitTest, CopiesEachTransactOnEveryOutput) {
    CSplitDlg split;
    split.m_copyCounts = {2, 3};
    split.m_priority = {CPriorityChange::kLower, 100};
    split.PrepareRun();
    CTransactList in = ListOf({Source(4, 50)});
    split.ArrivalPass(&in, 1);
    EXPECT_TRUE(in.IsEmpty());
    ASSERT_EQ(split.GetOutList(0).GetCount(), 2u);
    ASSERT_EQ(split.GetOutList(1).GetCount(), 3u);
    EXPECT_EQ(split.GetOutList(1).At(2), Source(4, 0));
    EXPECT_EQ(split.GetEntered(), 1u);
}

TEST(SplitTest, LeftCountsTakenCopies) {
    // Four enter with one copy per output; the terminator takes output 1's four, a queue
    // that holds one takes one of output 2's: three remain, five left.
    CSplitDlg split;
    split.m_copyCounts = {1, 1};
    CTerminateDlg terminator;
    CQueueDlg queue;
    queue.m_params.m_bLimit = 1;
    queue.m_params.m_nLimit = 1;
    Link(split, terminator, 0);
    Link(split, queue, 1);
    split.PrepareRun();
    queue.PrepareRun();
    CTransactList in = ListOf({Source(0), Source(1), Source(2), Source(3)});
    split.ArrivalPass(&in, 1);
    EXPECT_EQ(terminator.GetEntered(), 4u);
    split.ComputeStatistics();
    EXPECT_EQ(split.GetRemaining(), 3u);
    EXPECT_EQ(split.GetLeft(), 5u);
}

TEST(SplitTest, GrowingKeepsCountsAndAddsOnes) {
    CSplitDlg split;
    split.m_copyCounts = {4, 5};
    split.SetOutputCount(3);
    split.FitCopyCounts();
    EXPECT_EQ(split.m_copyCounts, (std::vector<std::int32_t>{4, 5, 1}));
    EXPECT_EQ(split.GetOutLink(2), nullptr);
}

TEST(GatherTest, ReleasesACompleteSetTogether) {
    CGatherDlg gather;
    gather.m_nWaitCount = 3;
    gather.PrepareRun();
    CTransactList two = ListOf({Source(1), Source(1)});
    gather.ArrivalPass(&two, 1);
    EXPECT_TRUE(gather.GetOutList().IsEmpty());
    EXPECT_TRUE(gather.HasTransacts());
    CTransactList third = ListOf({Source(1)});
    gather.ArrivalPass(&third, 1);
    EXPECT_EQ(gather.GetOutList().GetCount(), 3u);
    EXPECT_EQ(gather.GetGroups().GetGroupCount(), 0u);
}

TEST(GatherTest, InterleavedFamiliesAndPrioritiesFormSeparateGroups) {
    CGatherDlg gather;
    gather.m_nWaitCount = 2;
    gather.PrepareRun();
    CTransactList arrivals =
        ListOf({Source(1), Source(2), Source(1, 9), Source(1), Source(2)});
    std::vector<std::size_t> released;
    while (!arrivals.IsEmpty()) {
        CTransactList one;
        one.PushBack(arrivals.PopFront());
        gather.ArrivalPass(&one, 1);
        released.push_back(gather.GetOutList().GetCount());
    }
    // A1 B1 A1' A2 B2: A leaves when its second copy arrives, then B; the copy with another
    // priority is a family of its own.
    EXPECT_EQ(released, (std::vector<std::size_t>{0, 0, 0, 2, 4}));
    EXPECT_EQ(Numbers(gather.GetOutList()), (std::vector<std::int32_t>{1, 1, 2, 2}));
    gather.ComputeStatistics();
    EXPECT_EQ(gather.GetRemaining(), 1u);
    EXPECT_EQ(gather.GetEntered(), 5u);
}

TEST(GatherTest, CountsBelowTwoLetEverythingThrough) {
    for (std::int32_t nCount : {1, 0, -5}) {
        CGatherDlg gather;
        gather.m_nWaitCount = nCount;
        gather.m_priority = {CPriorityChange::kRaise, 1};
        gather.PrepareRun();
        CTransactList in = ListOf({Source(1), Source(1)});
        gather.ArrivalPass(&in, 1);
        ASSERT_EQ(gather.GetOutList().GetCount(), 2u);
        EXPECT_EQ(gather.GetOutList().At(1).GetPriority(), 1);
    }
}

TEST(AssembleTest, TheCopyThatCompletesTheSetGoesOn) {
    CAssembleDlg assemble;
    assemble.m_nWaitCount = 3;
    assemble.m_priority = {CPriorityChange::kRaise, 7};
    CTerminateDlg terminator;
    Link(assemble, terminator);
    assemble.PrepareRun();
    CTransactList in = ListOf({Source(1), Source(1), Source(1)});
    assemble.ArrivalPass(&in, 1);
    EXPECT_EQ(terminator.GetEntered(), 1u);
    EXPECT_EQ(assemble.GetEntered(), 3u);
    EXPECT_EQ(assemble.GetLeft(), 1u);
    EXPECT_FALSE(assemble.HasTransacts());
}

TEST(AssembleTest, InterleavedFamiliesLeaveOneByOne) {
    CAssembleDlg assemble;
    assemble.m_nWaitCount = 2;
    assemble.PrepareRun();
    std::vector<std::size_t> released;
    for (std::int32_t nNumber : {1, 2, 1, 2}) {
        CTransactList one = ListOf({Source(nNumber)});
        assemble.ArrivalPass(&one, 1);
        released.push_back(assemble.GetOutList().GetCount());
    }
    EXPECT_EQ(released, (std::vector<std::size_t>{0, 0, 1, 2}));
    EXPECT_EQ(Numbers(assemble.GetOutList()), (std::vector<std::int32_t>{1, 2}));
}

}  // namespace
}  // namespace mardo
