#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/sim/Rand.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::DriveTicks;
using test::Link;

// The ticks in which the generator's output list grew.
std::vector<std::uint32_t> ArrivalTicks(CModel& model, const CGenerateDlg& generator,
                                        std::uint32_t nTicks) {
    std::vector<std::uint32_t> ticks;
    std::size_t nSeen = 0;
    DriveTicks(model, nTicks, [&](std::uint32_t t) {
        if (generator.GetOutList().GetCount() > nSeen) {
            ticks.push_back(t);
        }
        nSeen = generator.GetOutList().GetCount();
    });
    return ticks;
}

TEST(GeneratorTest, CreatesOnItsLawAfterTheDelay) {
    ResetRand();
    CModel model;
    auto& everyTick = AddNamed<CGenerateDlg>(model, "G");
    EXPECT_EQ(ArrivalTicks(model, everyTick, 4), (std::vector<std::uint32_t>{1, 2, 3, 4}));

    CModel delayed;
    auto& generator = AddNamed<CGenerateDlg>(delayed, "G");
    generator.m_params.m_bDelay = 1;
    generator.m_params.m_nDelay = 5;
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    EXPECT_EQ(ArrivalTicks(delayed, generator, 15), (std::vector<std::uint32_t>{8, 11, 14}));

    // The delay counts only when switched on.
    generator.ClearTransacts();
    generator.m_params.m_bDelay = 0;
    EXPECT_EQ(ArrivalTicks(delayed, generator, 7), (std::vector<std::uint32_t>{3, 6}));
}

TEST(GeneratorTest, LimitEndsCreationUntilTheNextRun) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 3;
    generator.m_params.m_nPriority = 700;  // not switched on: priority 0
    std::vector<int> hasTransacts;
    DriveTicks(model, 5, [&](std::uint32_t) { hasTransacts.push_back(generator.HasTransacts()); });
    EXPECT_EQ(hasTransacts, (std::vector<int>{1, 1, 0, 0, 0}));
    const CTransactList& out = generator.GetOutList();
    ASSERT_EQ(out.GetCount(), 3u);
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(out.At(static_cast<std::size_t>(i)).GetNumber(), i);
        EXPECT_EQ(out.At(static_cast<std::size_t>(i)).GetPriority(), 0);
        EXPECT_EQ(out.At(static_cast<std::size_t>(i)).GetGenerator(), &generator);
    }

    // The next run numbers from 0 again and creates three more.
    generator.EndRun();
    EXPECT_TRUE(generator.HasTransacts());
    for (std::uint32_t t = 6; t <= 9; ++t) {
        generator.ArrivalPass(nullptr, t);
    }
    ASSERT_EQ(out.GetCount(), 6u);
    EXPECT_EQ(out.At(3).GetNumber(), 0);
    EXPECT_EQ(out.At(5).GetNumber(), 2);
    EXPECT_EQ(generator.GetTotalCount(), 6u);

    generator.ComputeStatistics();
    EXPECT_EQ(generator.GetLeft(), 0u);
    EXPECT_EQ(generator.GetRemaining(), 6u);
    EXPECT_EQ(generator.GetEntered(), 0u);
}

TEST(GeneratorTest, PriorityAppliesOnlyWhenSwitchedOn) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bPriority = 1;
    generator.m_params.m_nPriority = 700;
    DriveTicks(model, 1, [](std::uint32_t) {});
    EXPECT_EQ(generator.GetOutList().Front().GetPriority(), 700);
}

// Generator → device → terminator with a deterministic service.
struct SDeviceModel {
    CModel model;
    CGenerateDlg& generator = AddNamed<CGenerateDlg>(model, "G");
    CDeviceDlg& device = AddNamed<CDeviceDlg>(model, "D");
    CTerminateDlg& terminator = AddNamed<CTerminateDlg>(model, "T");

    SDeviceModel(std::int32_t nInterval, std::int32_t nService, std::int32_t nLimit) {
        generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, nInterval, nInterval);
        generator.m_params.m_bLimit = 1;
        generator.m_params.m_nLimit = nLimit;
        device.m_law = CFlowLaw(CFlowLaw::kDeterministic, nService, nService);
        Link(generator, device);
        Link(device, terminator);
    }
};

TEST(DeviceTest, ServesBackToBackAndReleasesInTheLastServiceTick) {
    // Two transacts in ticks 1 and 2; service 3: the first leaves in tick 4, the second
    // starts in tick 4 and leaves in tick 7.
    SDeviceModel m(1, 3, 2);
    std::vector<std::uint32_t> departures;
    DriveTicks(m.model, 8, [&](std::uint32_t) { departures.push_back(m.terminator.GetEntered()); });
    EXPECT_EQ(departures, (std::vector<std::uint32_t>{0, 0, 0, 1, 1, 1, 2, 2}));
    EXPECT_EQ(m.device.GetBusyTime(), 6u);
    EXPECT_EQ(m.device.GetEntered(), 2u);
    EXPECT_TRUE(m.device.IsFree());
}

TEST(DeviceTest, ReportsWhatItHoldsAtTheEnd) {
    // Service 3 of transacts arriving each tick, without a way out: at tick 8 two finished ones
    // wait in the output list and a third has had one of its three ticks.
    SDeviceModel m(1, 3, 100);
    m.device.SetOutLink(0, nullptr);
    DriveTicks(m.model, 8, [](std::uint32_t) {});
    EXPECT_EQ(m.device.GetOutList().GetCount(), 2u);
    EXPECT_EQ(m.device.GetRemainingService(), 2);
    m.device.ComputeStatistics();
    EXPECT_EQ(m.device.GetRemaining(), 3u);
    EXPECT_EQ(m.device.GetLeft(), 0u);
    EXPECT_EQ(m.device.GetWaiting(), 5u);  // ticks 4..8 arrivals still in the generator's list
    // Busy 7 of 8 ticks; mean time 7 over the partly served one.
    EXPECT_DOUBLE_EQ(m.device.GetUtilization(), 7.0 / 8.0 - 0.0005);
    EXPECT_DOUBLE_EQ(m.device.GetAvgTime(), 7.0 / 1.0 - 0.0005);
}

TEST(DeviceTest, PriorityChangeAppliesWhenServiceEnds) {
    SDeviceModel m(1, 1, 1);
    m.generator.m_params.m_bPriority = 1;
    m.generator.m_params.m_nPriority = 500;
    m.device.m_priority = {CPriorityChange::kRaise, 600};
    m.device.SetOutLink(0, nullptr);
    DriveTicks(m.model, 3, [](std::uint32_t) {});
    ASSERT_EQ(m.device.GetOutList().GetCount(), 1u);
    EXPECT_EQ(m.device.GetOutList().Front().GetPriority(), 1000);
}

TEST(DeviceTest, NeverServedShowsZeroes) {
    SDeviceModel m(5, 3, 1);
    m.generator.m_params.m_bDelay = 1;
    m.generator.m_params.m_nDelay = 100;
    DriveTicks(m.model, 10, [](std::uint32_t) {});
    m.device.ComputeStatistics();
    EXPECT_EQ(m.device.GetUtilization(), 0.0);
    EXPECT_EQ(m.device.GetAvgTime(), 0.0);
}

TEST(TerminatorTest, DestroysAndCountsEverythingOffered) {
    CTerminateDlg terminator;
    CTransactList list;
    list.AppendCopies(CTransact(nullptr, 0, 0), 3);
    terminator.ArrivalPass(&list, 1);
    EXPECT_EQ(terminator.GetEntered(), 3u);
    EXPECT_TRUE(list.IsEmpty());
    terminator.FinalPass(&list, 1);
    EXPECT_EQ(terminator.GetEntered(), 3u);
    EXPECT_FALSE(terminator.HasTransacts());
}

}  // namespace
}  // namespace mardo
