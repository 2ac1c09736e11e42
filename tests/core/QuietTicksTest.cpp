// Skipping ticks in which nothing would happen must not change a single figure. Random models
// of every kind of block are simulated with and without the skipping and compared in full.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "TestSupport.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"

namespace mardo {
namespace {

// Every figure of a simulation, as text.
std::string Simulate(CModel& model, bool bSkipQuiet) {
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetQuietSkipping(bSkipQuiet);
    loop.Run();
    std::string strFigures = std::to_string(loop.GetModelTime()) + " " +
                             std::to_string(loop.GetDeparted()) + "\n";
    for (const std::string& strLine : log.Texts()) {
        strFigures += strLine + "\n";
    }
    const CReportTables report(model.GetBlocks(), loop.GetModelTime(), loop.GetDeparted());
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        for (const auto& row : report.GetCells(nTable)) {
            for (const std::string& strCell : row) {
                strFigures += strCell + " ";
            }
            strFigures += "\n";
        }
    }
    for (const auto& row : report.GetDeviceRows()) {
        strFigures += std::to_string(row.dUtilization) + " " + std::to_string(row.dAvgTime) + "\n";
    }
    for (const auto& row : report.GetQueueRows()) {
        strFigures += std::to_string(row.dAvgContent) + " " + std::to_string(row.dAvgTimeAll) +
                      " " + std::to_string(row.dAvgTimeNonZero) + "\n";
    }
    return strFigures;
}

TEST(QuietTicksTest, SkippingChangesNoFigureOfRandomModels) {
    for (unsigned nSeed = 1; nSeed <= 400; ++nSeed) {
        CModel model;
        test::CRandomModel(nSeed).Build(model);
        const std::string strPlain = Simulate(model, false);
        const std::string strSkipping = Simulate(model, true);
        ASSERT_EQ(strSkipping, strPlain) << "seed " << nSeed;
    }
}

TEST(QuietTicksTest, SparseModelsSkipAlmostEveryTick) {
    // One arrival every 1000 ticks (the first in tick 1000) served for 300: the last one
    // arrives in the very last tick and has had no service yet.
    CModel model;
    auto& generator = test::AddNamed<CGenerateDlg>(model, "G");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1000, 1000);
    auto& queue = test::AddNamed<CQueueDlg>(model, "Q");
    auto& device = test::AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 300, 300);
    test::Link(generator, queue);
    test::Link(queue, device);
    test::Link(device, test::AddNamed<CTerminateDlg>(model, "T"));
    model.m_experiment = {CExperimentParams::kByTime, 30000, 3000};
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.Run();
    EXPECT_EQ(loop.GetModelTime(), 90000000u);
    EXPECT_EQ(loop.GetDeparted(), 89999u);
    EXPECT_DOUBLE_EQ(device.GetUtilization(), 89999.0 * 300 / 90000000 - 0.0005);
    EXPECT_DOUBLE_EQ(device.GetAvgTime(), 300 - 0.0005);
    EXPECT_EQ(queue.GetZeroEntries(), 90000u);
}

}  // namespace
}  // namespace mardo
