#include "core/model/QueueDlg.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/TerminateDlg.h"

namespace mardo {
namespace {

using test::ListOf;
using test::Numbers;
using test::Priorities;

using test::AddNamed;
using test::DriveTicks;
using test::Link;

CTransactList Offered(std::initializer_list<std::int32_t> priorities) {
    CTransactList list;
    std::int32_t nNumber = 0;
    for (std::int32_t nPriority : priorities) {
        list.PushBack(CTransact(nullptr, nNumber++, nPriority));
    }
    return list;
}

TEST(QueueTest, FullQueueLeavesTheRestUpstreamAndReportsItBusy) {
    CQueueDlg queue;
    queue.SetName("Q");
    queue.m_params.m_bLimit = 1;
    queue.m_params.m_nLimit = 2;
    queue.PrepareRun();
    CTransactList offered = Offered({0, 0, 0});
    queue.ArrivalPass(&offered, 1);
    EXPECT_EQ(queue.GetContent().GetCount(), 2u);
    EXPECT_EQ(offered.GetCount(), 1u);
    EXPECT_FALSE(queue.IsFree());
    queue.ComputeStatistics();
    EXPECT_EQ(queue.GetWaiting(), 1u);
    EXPECT_EQ(queue.GetEntered(), 2u);
    EXPECT_EQ(queue.GetMaxContent(), 2u);
}

TEST(QueueTest, DisciplinesPlaceAdmittedTransacts) {
    CQueueDlg byPriority;
    byPriority.m_params.m_nDiscipline = CQueueParams::kPriority;
    byPriority.PrepareRun();
    CTransactList offered = Offered({5, 7, 5});
    byPriority.ArrivalPass(&offered, 1);
    EXPECT_EQ(Numbers(byPriority.GetContent()), (std::vector<std::int32_t>{1, 0, 2}));

    CQueueDlg lifo;
    lifo.m_params.m_nDiscipline = CQueueParams::kLifo;
    lifo.PrepareRun();
    CTransactList pair = Offered({0, 0});
    lifo.ArrivalPass(&pair, 1);
    EXPECT_EQ(Numbers(lifo.GetContent()), (std::vector<std::int32_t>{1, 0}));

    // The priority change comes before the placement.
    CQueueDlg raised;
    raised.m_params.m_nDiscipline = CQueueParams::kPriority;
    raised.m_priority = {CPriorityChange::kRaise, 10};
    raised.PrepareRun();
    CTransactList first = Offered({3});
    raised.ArrivalPass(&first, 1);
    CTransactList second = Offered({12});
    raised.ArrivalPass(&second, 1);
    EXPECT_EQ(raised.GetContent().At(0).GetPriority(), 22);
}

TEST(QueueTest, EmptyQueueStillPassesTheTickOn) {
    CQueueDlg queue;
    CDeviceDlg device;
    queue.PrepareRun();
    device.PrepareRun();
    Link(queue, device);
    CTransactList nothing;
    queue.ServicePass(&nothing, 5);
    EXPECT_EQ(device.GetLastTick(), 5u);
}

TEST(QueueTest, ZeroEntriesAreThoseThatLeaveInTheirTickOfArrival) {
    // G (every tick, 2 transacts) → Q → D (service 3) → T. A0 enters the empty queue in tick 1
    // and is taken by the device in that tick: a zero entry. A1 enters the empty queue in tick 2
    // and waits until tick 4: no zero entry, and it carries content 1 into ticks 3 and 4.
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 2;
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, queue);
    Link(queue, device);
    Link(device, terminator);
    DriveTicks(model, 10, [](std::uint32_t) {});
    queue.ComputeStatistics();
    EXPECT_EQ(queue.GetEntered(), 2u);
    EXPECT_EQ(queue.GetZeroEntries(), 1u);
    EXPECT_EQ(queue.GetLeft(), 2u);
    EXPECT_EQ(queue.GetContentTime(), 2u);
    EXPECT_EQ(queue.GetMaxContent(), 1u);
    EXPECT_DOUBLE_EQ(queue.GetAvgContent(), 2.0 / 10 - 0.0005);
    EXPECT_DOUBLE_EQ(queue.GetAvgTimeAll(), 2.0 / 2 - 0.0005);
    EXPECT_DOUBLE_EQ(queue.GetAvgTimeNonZero(), 2.0 / 1 - 0.0005);
}

TEST(QueueTest, OnlyZeroEntriesGiveZeroMeans) {
    // A device with service 1 takes every transact in its tick of arrival.
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 2, 2);
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    Link(generator, queue);
    Link(queue, device);
    Link(device, AddNamed<CTerminateDlg>(model, "T"));
    DriveTicks(model, 20, [](std::uint32_t) {});
    queue.ComputeStatistics();
    EXPECT_EQ(queue.GetEntered(), 10u);
    EXPECT_EQ(queue.GetZeroEntries(), 10u);
    EXPECT_EQ(queue.GetAvgContent(), 0.0);
    EXPECT_EQ(queue.GetAvgTimeAll(), 0.0);
    EXPECT_EQ(queue.GetAvgTimeNonZero(), 0.0);
}

TEST(QueueTest, ClearingForgetsUpstreamListsAndDropsOnlyItsOwnTransacts) {
    CQueueDlg queue;
    queue.m_params.m_bLimit = 1;
    queue.m_params.m_nLimit = 1;
    queue.PrepareRun();
    CTransactList offered = Offered({0, 0, 0});
    queue.ArrivalPass(&offered, 1);
    queue.ClearTransacts();
    EXPECT_TRUE(queue.GetContent().IsEmpty());
    EXPECT_EQ(offered.GetCount(), 2u);
    EXPECT_FALSE(queue.HasTransacts());
}

}  // namespace
}  // namespace mardo
