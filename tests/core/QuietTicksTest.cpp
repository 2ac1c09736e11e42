// Skipping ticks in which nothing would happen must not change a single figure. Random models
// of every kind of block are simulated with and without the skipping and compared in full,
// their figures over model time included.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"
#include "core/sim/Trace.h"

namespace mardo {
namespace {

using test::CRandomModel;

// The figures followed over model time, as text. Each series covers every tick once; a queue
// never holds more at the end of a tick than its largest content, a device is busy or not, and
// no more channels are busy than a device has.
std::string TraceText(const CTrace& trace, const CReportTables& report, std::uint32_t nTime) {
    std::string strText;
    std::size_t nQueue = 0;
    for (const CTrace::SFollowed& followed : trace.GetFollowed()) {
        std::uint64_t nTicks = 0;
        std::uint32_t nMax = 0;
        strText += followed.strBlock + " " + followed.strFigure + ":";
        for (const CTimeSeries::SInterval& interval : followed.series.GetIntervals()) {
            strText += " " + std::to_string(interval.nMin) + "/" + std::to_string(interval.nMax) +
                       "/" + std::to_string(interval.nSum);
            nTicks += interval.nTicks;
            nMax = std::max(nMax, interval.nMax);
            EXPECT_LE(interval.nMin * interval.nTicks, interval.nSum);
            EXPECT_LE(interval.nSum, interval.nMax * interval.nTicks);
        }
        EXPECT_EQ(nTicks, nTime) << followed.strBlock;
        EXPECT_LE(followed.series.GetIntervals().size(), CTimeSeries::kMaxIntervals);
        if (followed.strFigure == "Устройство занято") {
            EXPECT_LE(nMax, 1u);
        } else if (followed.strFigure == "Занятые каналы") {
            const auto& rows = report.GetChannelRows();
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& channels) {
                return channels.strName == followed.strBlock;
            });
            if (row == rows.end()) {
                ADD_FAILURE() << "no channels of " << followed.strBlock;
            } else {
                EXPECT_LE(nMax, static_cast<std::uint32_t>(row->nChannels));
            }
        } else {
            const auto& row = report.GetQueueRows().at(nQueue++);
            EXPECT_EQ(row.strName, followed.strBlock);
            EXPECT_LE(nMax, row.nMaxContent);
        }
        strText += "\n";
    }
    return strText;
}

// Every figure of a simulation, with the figures followed over model time, as text.
std::string Simulate(CModel& model, bool bSkipQuiet) {
    CTrace trace;
    const std::string strFigures = test::Simulate(model, bSkipQuiet, 0, &trace);
    const auto nTime = static_cast<std::uint32_t>(std::stoul(strFigures));
    return strFigures + TraceText(trace, CReportTables(model.GetBlocks(), nTime, 0), nTime);
}

TEST(QuietTicksTest, SkippingChangesNoFigureOfRandomModels) {
    for (unsigned nSeed = 1; nSeed <= 2000; ++nSeed) {
        CModel model;
        CRandomModel(nSeed).Build(model);
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
