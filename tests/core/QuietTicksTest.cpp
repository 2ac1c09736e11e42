// Skipping ticks in which nothing would happen must not change a single figure. Random models
// of every kind of block are simulated with and without the skipping and compared in full.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"
#include "core/sim/Trace.h"

namespace mardo {
namespace {

class CRandomModel {
public:
    explicit CRandomModel(unsigned nSeed) : m_random(nSeed) {}

    // Generators first, then the other blocks; each output leads to a later block, so that no
    // path runs in a circle, and the last blocks are terminators.
    void Build(CModel& model) {
        const int nGenerators = Pick(1, 3);
        const int nMiddle = Pick(2, 12);
        const int nTerminators = Pick(1, 2);
        for (int i = 0; i < nGenerators; ++i) {
            auto& generator = model.Add<CGenerateDlg>();
            generator.m_law = Law();
            generator.m_params = {Pick(0, 1), Pick(0, 1), Pick(0, 1), Pick(0, 30), Pick(1, 40),
                                  Pick(0, 9)};
        }
        for (int i = 0; i < nMiddle; ++i) {
            AddMiddleBlock(model);
        }
        for (int i = 0; i < nTerminators; ++i) {
            model.Add<CTerminateDlg>();
        }
        const auto nCount = static_cast<std::int32_t>(model.GetBlockCount());
        for (std::int32_t i = 0; i < nCount; ++i) {
            CBlockDlg& block = *model.BlockAt(i);
            // Now and then a block stays unnamed, and so takes no part.
            block.SetName(Pick(0, 15) == 0 ? "" : "B" + std::to_string(i));
            const std::int32_t nFirst = std::max(i + 1, nGenerators);
            for (std::int32_t k = 0; k < block.GetOutputCount(); ++k) {
                block.SetOutLink(k, model.BlockAt(Pick(nFirst, nCount - 1)));
            }
            if (block.GetKind() == EBlockKind::kTransfer) {
                ChooseConditions(model, static_cast<CTransferDlg&>(block));
            }
        }
        // By time: a count of departures might never be reached.
        model.m_experiment = {CExperimentParams::kByTime, Pick(1, 400), Pick(1, 3)};
    }

private:
    int Pick(int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(m_random); }

    CFlowLaw Law() {
        switch (Pick(0, 2)) {
            case 0:
                return CFlowLaw(CFlowLaw::kDeterministic, Pick(1, 12), 1);
            case 1: {
                const int nMin = Pick(1, 10);
                return CFlowLaw(CFlowLaw::kUniform, nMin, nMin + Pick(0, 15));
            }
            default: {
                CFlowLaw law(CFlowLaw::kSpecial, 1, 1);
                const int nFirst = Pick(0, 1000);
                law.AddInterval(1, Pick(1, 5), nFirst);
                law.AddInterval(Pick(6, 20), 25, 1000 - nFirst);
                return law;
            }
        }
    }

    CPriorityChange Priority() { return {Pick(0, 2), Pick(0, 5)}; }

    void AddMiddleBlock(CModel& model) {
        switch (Pick(0, 5)) {
            case 0: {
                auto& queue = model.Add<CQueueDlg>();
                queue.m_params = {Pick(0, 3), Pick(0, 1), Pick(1, 6)};
                queue.m_priority = Priority();
                break;
            }
            case 1: {
                auto& device = model.Add<CDeviceDlg>();
                device.m_law = Law();
                device.m_priority = Priority();
                break;
            }
            case 2: {
                auto& block = model.Add<CTransferDlg>();
                const int nOutputs = Pick(1, 3);
                block.SetOutputCount(nOutputs);
                block.m_rule.SetOutputCount(nOutputs);
                block.m_rule.m_nKind = Pick(0, 2);
                block.m_rule.m_probabilities.assign(static_cast<std::size_t>(nOutputs), 0);
                block.m_rule.m_probabilities[0] = 1000;
                block.m_priority = Priority();
                break;
            }
            case 3: {
                auto& split = model.Add<CSplitDlg>();
                const int nOutputs = Pick(1, 2);
                split.SetOutputCount(nOutputs);
                split.m_copyCounts.assign(static_cast<std::size_t>(nOutputs), Pick(1, 3));
                split.m_priority = Priority();
                break;
            }
            case 4: {
                auto& gather = model.Add<CGatherDlg>();
                gather.m_nWaitCount = Pick(0, 3);
                gather.m_priority = Priority();
                break;
            }
            default: {
                auto& assemble = model.Add<CAssembleDlg>();
                assemble.m_nWaitCount = Pick(1, 3);
                assemble.m_priority = Priority();
                break;
            }
        }
    }

    void ChooseConditions(const CModel& model, CTransferDlg& block) {
        const auto nCount = static_cast<std::int32_t>(model.GetBlockCount());
        for (std::size_t j = 0; j < block.m_rule.m_conditionBlocks.size(); ++j) {
            block.m_rule.m_conditionBlocks[j] = model.BlockAt(Pick(0, nCount - 1));
            block.m_rule.m_conditionStates[j] = Pick(0, 1);
        }
    }

    std::mt19937 m_random;
};

// The figures followed over model time, as text. Each series covers every tick once; a queue
// never holds more at the end of a tick than its largest content, a device is busy or not.
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
        } else {
            const auto& row = report.GetQueueRows().at(nQueue++);
            EXPECT_EQ(row.strName, followed.strBlock);
            EXPECT_LE(nMax, row.nMaxContent);
        }
        strText += "\n";
    }
    return strText;
}

// Every figure of a simulation, as text.
std::string Simulate(CModel& model, bool bSkipQuiet) {
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetQuietSkipping(bSkipQuiet);
    CTrace trace;
    loop.SetTrace(&trace);
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
    return strFigures + TraceText(trace, report, loop.GetModelTime());
}

TEST(QuietTicksTest, SkippingChangesNoFigureOfRandomModels) {
    for (unsigned nSeed = 1; nSeed <= 400; ++nSeed) {
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
