// Whole models simulated end to end, with figures worked out by hand from the rules of the
// blocks, tick by tick (the derivations are in the comments).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::CRecordingLog;
using test::Link;

CFlowLaw Fixed(std::int32_t n) { return CFlowLaw(CFlowLaw::kDeterministic, n, n); }

struct SResult {
    CSimulationLoop::EOutcome nOutcome;
    std::uint32_t nModelTime;
    std::uint32_t nDeparted;
    std::vector<std::string> messages;
};

SResult Simulate(CModel& model, bool bSkipQuiet = true) {
    CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetQuietSkipping(bSkipQuiet);
    const CSimulationLoop::EOutcome nOutcome = loop.Run();
    return {nOutcome, loop.GetModelTime(), loop.GetDeparted(), log.Texts()};
}

// G (every 2 ticks) → Q → D (3 ticks) → T, 20 ticks. The device is overloaded: it takes A0 in
// tick 2 and then one transact every 3 ticks (5, 8, 11, 14, 17, 20); six leave (ticks 5..20).
// The queue carries 0,1,1,0,0,1,1,1,1,1,2,1,2,2,2,2,3,2,3,3 into ticks 2..20 and 3 at the end:
// 27 in all. Only A0 passed it within its tick.
TEST(ScenarioTest, SingleChannelOverloaded) {
    CModel model;
    test::BuildOverloadedSingleChannel(model);
    const auto& queue = static_cast<const CQueueDlg&>(*model.BlockAt(1));
    const auto& device = static_cast<const CDeviceDlg&>(*model.BlockAt(2));

    const SResult result = Simulate(model);
    EXPECT_EQ(result.nModelTime, 20u);
    EXPECT_EQ(result.nDeparted, 6u);

    const CReportTables report(model.GetBlocks(), result.nModelTime, result.nDeparted);
    using Cells = std::vector<std::vector<std::string>>;
    EXPECT_EQ(report.GetCells(CReportTables::kBlocks),
              (Cells{{"1", "G", "Генератор", "0", "10", "0"},
                     {"2", "Q", "Очередь", "10", "7", "3"},
                     {"3", "D", "Устройство обслуживания", "7", "6", "1"},
                     {"4", "T", "Терминатор", "6", "0", "0"}}));
    // Busy 18 of 20 ticks; 18 ticks over 6 finished (the seventh has not begun its service).
    EXPECT_EQ(report.GetCells(CReportTables::kDevices),
              (Cells{{"1", "D", "6", "0.900", "3.00", "Занят", "3"}}));
    EXPECT_DOUBLE_EQ(device.GetUtilization(), 0.8995);
    EXPECT_DOUBLE_EQ(device.GetAvgTime(), 2.9995);
    // 27/20, 27/10 and 27/9, each less 0.0005.
    EXPECT_EQ(report.GetCells(CReportTables::kQueues),
              (Cells{{"1", "Q", "10", "1", "4", "3", "1.35", "2.70", "3.00", "Свободен", "0"}}));
    EXPECT_DOUBLE_EQ(queue.GetAvgTimeAll(), 2.6995);
    EXPECT_EQ(report.FormatTotalRemaining(), "4");
}

// G1 (every tick, priority 5) → Q (limit 1) → D (1 tick) → T; G2 (every tick, priority 0) and
// G3 (none within the run) also feed D. The generators rotate: G1 G2 G3, then G2 G3 G1, then
// G3 G1 G2.
// Tick 1: Q admits A1 and is full; in G1's service pass D takes A1 and Q finds room again.
// Tick 2: Q admits A2 and is full; in G2's service pass, which comes first, D releases A1 and
// takes A2 from Q, so Q is empty while it still holds itself full. G1's passes find Q empty with
// nothing offered, which leaves that so.
// Tick 3: in G1's arrival pass Q's first round admits nothing, offers its empty list to D and
// finds room; A3 still waits, so the round repeats and admits it. In G3's service pass, the
// first of the tick, D releases A2 and takes A3 (priority 5) ahead of B1 (priority 0).
// Q counted one departure only, A1's: D took A2 and A3 during other blocks' calls.
TEST(ScenarioTest, LimitedQueueAdmitsAgainOnceItFindsRoom) {
    for (const bool bSkipQuiet : {true, false}) {
        CModel model;
        auto& g1 = AddNamed<CGenerateDlg>(model, "G1");
        g1.m_params.m_bPriority = 1;
        g1.m_params.m_nPriority = 5;
        auto& g2 = AddNamed<CGenerateDlg>(model, "G2");
        auto& g3 = AddNamed<CGenerateDlg>(model, "G3");
        g3.m_law = Fixed(100);
        auto& queue = AddNamed<CQueueDlg>(model, "Q");
        queue.m_params.m_bLimit = 1;
        queue.m_params.m_nLimit = 1;
        auto& device = AddNamed<CDeviceDlg>(model, "D");
        auto& terminator = AddNamed<CTerminateDlg>(model, "T");
        Link(g1, queue);
        Link(g2, device);
        Link(g3, device);
        Link(queue, device);
        Link(device, terminator);
        model.m_experiment = {CExperimentParams::kByTime, 3, 1};

        const SResult result = Simulate(model, bSkipQuiet);
        ASSERT_EQ(result.nOutcome, CSimulationLoop::EOutcome::kCompleted);
        EXPECT_EQ(result.nDeparted, 2u);

        const CReportTables report(model.GetBlocks(), result.nModelTime, result.nDeparted);
        using Cells = std::vector<std::vector<std::string>>;
        EXPECT_EQ(report.GetCells(CReportTables::kBlocks),
                  (Cells{{"1", "G1", "Генератор", "0", "3", "0"},
                         {"2", "G2", "Генератор", "0", "0", "3"},
                         {"3", "G3", "Генератор", "0", "0", "0"},
                         {"4", "Q", "Очередь", "3", "1", "0"},
                         {"5", "D", "Устройство обслуживания", "3", "2", "1"},
                         {"6", "T", "Терминатор", "2", "0", "0"}}))
            << (bSkipQuiet ? "with" : "without") << " quiet ticks skipped";
    }
}

// G (every tick, 2 in all) → S (1 copy to D1, 2 copies to D2) → D1 (1 tick) / D2 (2 ticks)
// → A (assembles 3) → T. A0 completes in tick 5 when D2 releases its second copy, A1 in tick 9;
// then the system is empty.
TEST(ScenarioTest, ForkAndJoin) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 2;
    auto& split = AddNamed<CSplitDlg>(model, "S");
    split.m_copyCounts = {1, 2};
    auto& d1 = AddNamed<CDeviceDlg>(model, "D1");
    auto& d2 = AddNamed<CDeviceDlg>(model, "D2");
    d2.m_law = Fixed(2);
    auto& assemble = AddNamed<CAssembleDlg>(model, "A");
    assemble.m_nWaitCount = 3;
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, split);
    Link(split, d1, 0);
    Link(split, d2, 1);
    Link(d1, assemble);
    Link(d2, assemble);
    Link(assemble, terminator);
    model.m_experiment = {CExperimentParams::kByTime, 100, 1};

    const SResult result = Simulate(model);
    EXPECT_EQ(result.nModelTime, 9u);
    EXPECT_EQ(result.nDeparted, 2u);
    EXPECT_EQ(result.messages,
              (std::vector<std::string>{"Начало запуска",
                                        "Моделирование остановлено - нет транзактов в системе!",
                                        "Завершен запуск"}));
    EXPECT_EQ(split.GetLeft(), 6u);
    EXPECT_EQ(assemble.GetEntered(), 6u);
    EXPECT_EQ(assemble.GetLeft(), 2u);
    EXPECT_DOUBLE_EQ(d1.GetUtilization(), 2.0 / 9 - 0.0005);
    EXPECT_DOUBLE_EQ(d2.GetUtilization(), 8.0 / 9 - 0.0005);
    EXPECT_DOUBLE_EQ(d2.GetAvgTime(), 1.9995);
}

// G (every tick, 4 in all) → K by state: to D while D is free, else to T2. D takes A0 in tick 1
// and serves it until tick 4; A1..A3 arrive while D is busy and go to T2, the last named
// terminator, which therefore counts the departures.
TEST(ScenarioTest, RoutingByBlockState) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 4;
    auto& block = AddNamed<CTransferDlg>(model, "K");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = Fixed(3);
    auto& t1 = AddNamed<CTerminateDlg>(model, "T1");
    auto& t2 = AddNamed<CTerminateDlg>(model, "T2");
    block.m_rule.m_nKind = CTransferRule::kByState;
    block.m_rule.m_conditionBlocks = {&device, &device};
    block.m_rule.m_conditionStates = {CTransferRule::kFree, CTransferRule::kBusy};
    Link(generator, block);
    Link(block, device, 0);
    Link(block, t2, 1);
    Link(device, t1);
    model.m_experiment = {CExperimentParams::kByTime, 100, 1};

    const SResult result = Simulate(model);
    EXPECT_EQ(result.nModelTime, 4u);
    EXPECT_EQ(result.nDeparted, 3u);
    EXPECT_EQ(t1.GetEntered(), 1u);
    EXPECT_EQ(block.GetLeft(), 4u);
}

// G (every tick, 3 in all) → K by probability 0.100 / 0.900 → T1 / T2. The draws of a fresh
// simulation are 41, 18467, 6334 (mod 1000: 41, 467, 334): outputs 1, 2, 2.
TEST(ScenarioTest, RoutingByProbability) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_params.m_bLimit = 1;
    generator.m_params.m_nLimit = 3;
    auto& block = AddNamed<CTransferDlg>(model, "K");
    block.m_rule.m_nKind = CTransferRule::kByProbability;
    block.m_rule.m_probabilities = {100, 900};
    auto& t1 = AddNamed<CTerminateDlg>(model, "T1");
    auto& t2 = AddNamed<CTerminateDlg>(model, "T2");
    Link(generator, block);
    Link(block, t1, 0);
    Link(block, t2, 1);
    model.m_experiment = {CExperimentParams::kByTime, 100, 1};

    const SResult result = Simulate(model);
    EXPECT_EQ(result.nModelTime, 3u);
    EXPECT_EQ(t1.GetEntered(), 1u);
    EXPECT_EQ(t2.GetEntered(), 2u);
}

TEST(ReportTablesTest, NumbersNamedBlocksByTableAndFormatsFigures) {
    CModel model;
    model.Add<CQueueDlg>();  // unnamed: no row, no number
    AddNamed<CGenerateDlg>(model, "G");
    model.Add<CDeviceDlg>();
    AddNamed<CQueueDlg>(model, "Q");
    AddNamed<CDeviceDlg>(model, "D");
    const CReportTables report(model.GetBlocks(), 0, 0);
    EXPECT_EQ(report.GetBlockRows().size(), 3u);
    EXPECT_EQ(report.GetBlockRows()[2].nNumber, 3);
    EXPECT_EQ(report.GetDeviceRows()[0].nNumber, 1);
    EXPECT_EQ(report.GetQueueRows()[0].nNumber, 1);
    EXPECT_EQ(report.GetCells(CReportTables::kDevices)[0][3], "0.000");
    EXPECT_EQ(report.GetCells(CReportTables::kDevices)[0][4], "0.00");
    EXPECT_EQ(report.GetCells(CReportTables::kQueues)[0][9], "Свободен");

    EXPECT_EQ(CReportTables::FormatFixed(0.2995, 3), "0.299");
    EXPECT_EQ(CReportTables::FormatFixed(0.9995, 3), "1.000");
    EXPECT_EQ(CReportTables::FormatInt(std::uint32_t{4294967295u}), "-1");
    EXPECT_EQ(CReportTables::GetColumnTitles(CReportTables::kQueues).size(), 11u);
    EXPECT_EQ(CReportTables::GetColumnTitles(CReportTables::kQueues)[8],
              "Среднее время, проведенное в очереди без учета “нулевых” входов в очередь");
}

}  // namespace
}  // namespace mardo
