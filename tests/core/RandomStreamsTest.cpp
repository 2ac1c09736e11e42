// The streams: unbiased draws, replications that depend on nothing but their index, sources
// that do not disturb each other; and sums that outgrow 32 bits.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "TestSupport.h"
#include "core/experiment/Experiment.h"
#include "core/model/TransferDlg.h"
#include "core/sim/RandomContext.h"
#include "core/sim/SimulationLoop.h"
#include "core/sim/Trace.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::Link;

// Pearson's statistic of the counts against equal expectations.
template <std::size_t N>
double ChiSquare(const std::array<std::int64_t, N>& counts, std::int64_t nTotal) {
    const double dExpected = static_cast<double>(nTotal) / N;
    double dSum = 0.0;
    for (const std::int64_t n : counts) {
        dSum += (static_cast<double>(n) - dExpected) * (static_cast<double>(n) - dExpected);
    }
    return dSum / dExpected;
}

// With a fixed key the counts are fixed too; the bounds are the 0.1% points of chi-square, far
// beyond what an even draw gives, and far below what the modulo's bias gives on these counts
// (a uniform 1..10000 of the exact generator has the mean 4695).
TEST(RandomStreamsTest, DrawsAreEvenOverSmallAndLargeRanges) {
    CRandomSource source(CRandomContext::StreamKey(7, "G1", CRandomContext::ERole::kArrivals), 0);
    constexpr std::int64_t kDraws = 300000;
    std::array<std::int64_t, 3> three{};
    std::array<std::int64_t, 2> head{};  // a newcomer at the head or the end of a list of one
    std::array<std::int64_t, 10> thousandths{};
    double dSum = 0.0;
    for (std::int64_t i = 0; i < kDraws; ++i) {
        ++three.at(static_cast<std::size_t>(source.Between(1, 3) - 1));
        ++head.at(source.Place(1));
        ++thousandths.at(static_cast<std::size_t>(source.Thousandth() / 100));
        dSum += source.Between(1, 10000);
    }
    EXPECT_LT(ChiSquare(three, kDraws), 13.82);
    EXPECT_LT(ChiSquare(head, kDraws), 10.83);
    EXPECT_LT(ChiSquare(thousandths, kDraws), 27.88);
    // The mean's standard error is 2887 / sqrt(300000) = 5.3.
    EXPECT_NEAR(dSum / kDraws, 5000.5, 25.0);
    EXPECT_EQ(source.Between(5, 5), 5);
    EXPECT_EQ(source.Between(5, 4), 5);
    const std::int32_t nWhole = source.Between(INT32_MIN, INT32_MAX);  // the full 32 bits
    EXPECT_GE(nWhole, INT32_MIN);
}

// Every figure of G1, Q1 and D1 of the single channel, in one simulation of replication k.
std::vector<std::uint64_t> SingleChannelFigures(CModel& model, std::uint32_t nSeed,
                                                std::uint32_t k) {
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetRandom(CRandomContext::Streams(nSeed, k));
    EXPECT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    const auto& queue = *static_cast<const CQueueDlg*>(model.FindBlock("Q1"));
    const auto& device = *static_cast<const CDeviceDlg*>(model.FindBlock("D1"));
    return {model.FindBlock("G1")->GetLeft(), model.FindBlock("G1")->GetRemaining(),
            queue.GetEntered(),               queue.GetZeroEntries(),
            queue.GetContentTime(),           queue.GetMaxContent(),
            device.GetLeft(),                 device.GetBusyTime()};
}

void BuildSingleChannel(CModel& model, std::uint32_t nVariant) {
    auto& generator = AddNamed<CGenerateDlg>(model, "G1");
    generator.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 4 + nVariant % 7);
    auto& queue = AddNamed<CQueueDlg>(model, "Q1");
    queue.m_params.m_nDiscipline = CQueueParams::kRandom;
    auto& device = AddNamed<CDeviceDlg>(model, "D1");
    device.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 3 + nVariant % 5);
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, queue);
    Link(queue, device);
    Link(device, terminator);
    model.m_experiment = {CExperimentParams::kByTime, 3000, 2};
}

// Blocks beside the single channel that draw from every kind of source, some of them often.
void AddUnrelatedBlocks(CModel& model) {
    auto& generator = AddNamed<CGenerateDlg>(model, "G2");
    generator.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 2);
    auto& queue = AddNamed<CQueueDlg>(model, "Q2");
    queue.m_params.m_nDiscipline = CQueueParams::kRandom;
    auto& transfer = AddNamed<CTransferDlg>(model, "K2");
    auto& first = AddNamed<CDeviceDlg>(model, "D2");
    first.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 9);
    auto& second = AddNamed<CDeviceDlg>(model, "D3");
    second.m_law = CFlowLaw(CFlowLaw::kUniform, 2, 5);
    CBlockDlg& terminator = *model.FindBlock("T");
    Link(generator, queue);
    Link(queue, transfer);
    Link(transfer, first, 0);
    Link(transfer, second, 1);
    Link(first, terminator);
    Link(second, terminator);
}

TEST(RandomStreamsTest, ABlockDrawsTheSameWhateverElseTheModelHolds) {
    for (std::uint32_t nVariant = 0; nVariant < 6; ++nVariant) {
        CModel alone;
        BuildSingleChannel(alone, nVariant);
        CModel crowded;
        BuildSingleChannel(crowded, nVariant);
        AddUnrelatedBlocks(crowded);
        const std::uint32_t nSeed = 1000 + nVariant;
        const std::uint32_t k = nVariant * 37;
        const std::vector<std::uint64_t> figures = SingleChannelFigures(alone, nSeed, k);
        EXPECT_EQ(SingleChannelFigures(crowded, nSeed, k), figures) << "variant " << nVariant;
        // Another replication, or another seed, is another simulation.
        EXPECT_NE(SingleChannelFigures(alone, nSeed, k + 1), figures);
        EXPECT_NE(SingleChannelFigures(alone, nSeed + 1, k), figures);
    }
}

TEST(RandomStreamsTest, ReplicationKIsTheSameWhateverTheNumberOfReplications) {
    CModel model;
    BuildSingleChannel(model, 3);
    AddUnrelatedBlocks(model);
    const auto newThread = [] { return std::make_unique<test::CPlainThread>(); };
    SExperimentPlan plan;
    plan.nSeed = 42;
    plan.nReplications = 4;
    const SExperimentResult few = RunExperiment(model, plan, newThread);
    plan.nReplications = 30000;
    plan.onlyReplication = 3;
    const SExperimentResult many = RunExperiment(model, plan, newThread);
    ASSERT_FALSE(few.notStarted);
    ASSERT_FALSE(many.notStarted);
    const SReplication& a = few.points.at(0).replications.at(3);
    const SReplication& b = many.points.at(0).replications.at(0);
    EXPECT_EQ(std::tie(a.nIndex, a.nSeed, a.nDraws, a.nModelTime, a.nDeparted, a.tables),
              std::tie(b.nIndex, b.nSeed, b.nDraws, b.nModelTime, b.nDeparted, b.tables));
    EXPECT_GT(a.nDraws, 0u);
}

// Two arrivals a tick, by priority, before a device that takes one in 10 000 ticks: the queue
// holds up to 200 000 transacts and its content-time sum passes 2^32 after about 65 000 ticks.
TEST(RandomStreamsTest, AContentTimeBeyond32BitsGivesTheTracesMean) {
    CModel model;
    auto& urgent = AddNamed<CGenerateDlg>(model, "Urgent");
    urgent.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1, 1);
    urgent.m_params.m_bPriority = 1;
    urgent.m_params.m_nPriority = 5;
    auto& regular = AddNamed<CGenerateDlg>(model, "Regular");
    regular.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 1);
    auto& queue = AddNamed<CQueueDlg>(model, "Q1");
    queue.m_params.m_nDiscipline = CQueueParams::kPriority;
    auto& device = AddNamed<CDeviceDlg>(model, "D1");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 10000, 10000);
    Link(urgent, queue);
    Link(regular, queue);
    Link(queue, device);
    Link(device, AddNamed<CTerminateDlg>(model, "T"));
    model.m_experiment = {CExperimentParams::kByTime, 100000, 1};
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    CTrace trace;
    loop.SetTrace(&trace);
    ASSERT_EQ(loop.Run(), CSimulationLoop::EOutcome::kCompleted);
    EXPECT_GT(queue.GetContentTime(), std::uint64_t{UINT32_MAX});
    for (const CTrace::SFollowed& followed : trace.GetFollowed()) {
        if (followed.strBlock != "Q1") {
            continue;
        }
        std::uint64_t nSum = 0;
        std::uint64_t nTicks = 0;
        for (const CTimeSeries::SInterval& interval : followed.series.GetIntervals()) {
            nSum += interval.nSum;
            nTicks += interval.nTicks;
        }
        ASSERT_EQ(nTicks, 100000u);
        // The report's figure is at most 0.0005 below the quotient.
        EXPECT_NEAR(queue.GetAvgContent(), static_cast<double>(nSum) / nTicks, 0.001);
    }
}

}  // namespace
}  // namespace mardo
