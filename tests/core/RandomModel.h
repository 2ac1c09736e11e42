#pragma once

// Random models of every kind of block, and every figure of a simulation as text, for the
// properties that must hold of any model.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "TestSupport.h"
#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"
#include "core/sim/Trace.h"

namespace mardo::test {

// A random model with every kind of block, reproducible from its seed.
class CRandomModel {
public:
    // bOneChannel: every service device is drawn as a multichannel device with one channel.
    explicit CRandomModel(unsigned nSeed, bool bOneChannel = false)
        : m_random(nSeed), m_bOneChannel(bOneChannel) {}

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

    int Pick(int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(m_random); }

private:
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

    // The kinds a transact passes through, from the registry, so that a new kind takes part
    // in every property over random models as soon as it is registered.
    static const std::vector<const SBlockKindEntry*>& MiddleKinds() {
        static const std::vector<const SBlockKindEntry*> kinds = [] {
            std::vector<const SBlockKindEntry*> middle;
            for (const SBlockKindEntry& entry : BlockKinds()) {
                const std::unique_ptr<CBlockDlg> pBlock = entry.create({});
                if (pBlock->HasInput() && !pBlock->IsExit()) {
                    middle.push_back(&entry);
                }
            }
            return middle;
        }();
        return kinds;
    }

    void AddMiddleBlock(CModel& model) {
        const auto& kinds = MiddleKinds();
        const SBlockKindEntry& entry = *kinds[static_cast<std::size_t>(Pick(0, static_cast<int>(kinds.size()) - 1))];
        if (m_bOneChannel && entry.nKind == EBlockKind::kDevice) {
            Tune(model.Add<CMultiDeviceDlg>(), 1);
        } else {
            Tune(model.AddBlock(entry.create({})));
        }
    }

    // Gives a block random parameters of its kind, within what keeps a brief simulation brief;
    // a kind not named here keeps its defaults.
    void Tune(CBlockDlg& block, int nChannels = 0) {
        switch (block.GetKind()) {
            case EBlockKind::kQueue: {
                auto& queue = static_cast<CQueueDlg&>(block);
                queue.m_params = {Pick(0, 3), Pick(0, 1), Pick(1, 6)};
                queue.m_priority = Priority();
                break;
            }
            case EBlockKind::kDevice: {
                auto& device = static_cast<CDeviceDlg&>(block);
                device.m_law = Law();
                device.m_priority = Priority();
                break;
            }
            case EBlockKind::kMultiDevice: {
                // Drawn as a device's, so that a one-channel block draws in its place.
                auto& device = static_cast<CMultiDeviceDlg&>(block);
                device.m_law = Law();
                device.m_priority = Priority();
                device.m_nChannels = nChannels > 0 ? nChannels : Pick(1, 4);
                break;
            }
            case EBlockKind::kTransfer: {
                auto& transfer = static_cast<CTransferDlg&>(block);
                const int nOutputs = Pick(1, 3);
                transfer.SetOutputCount(nOutputs);
                transfer.m_rule.SetOutputCount(nOutputs);
                transfer.m_rule.m_nKind = Pick(0, 2);
                transfer.m_rule.m_probabilities.assign(static_cast<std::size_t>(nOutputs), 0);
                transfer.m_rule.m_probabilities[0] = 1000;
                transfer.m_priority = Priority();
                break;
            }
            case EBlockKind::kSplit: {
                auto& split = static_cast<CSplitDlg&>(block);
                const int nOutputs = Pick(1, 2);
                split.SetOutputCount(nOutputs);
                split.m_copyCounts.assign(static_cast<std::size_t>(nOutputs), Pick(1, 3));
                split.m_priority = Priority();
                break;
            }
            case EBlockKind::kGather: {
                auto& gather = static_cast<CGatherDlg&>(block);
                gather.m_nWaitCount = Pick(0, 3);
                gather.m_priority = Priority();
                break;
            }
            case EBlockKind::kAssemble: {
                auto& assemble = static_cast<CAssembleDlg&>(block);
                assemble.m_nWaitCount = Pick(1, 3);
                assemble.m_priority = Priority();
                break;
            }
            default:
                break;
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
    bool m_bOneChannel;
};

// Every figure of a simulation that has ended, as text.
inline std::string Figures(const CModel& model, const CSimulationLoop& loop,
                           const CRecordingLog& log) {
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
    // Every bit of the figures the data outputs write.
    const auto exact = [](double d) {
        char sz[32];
        std::snprintf(sz, sizeof sz, "%.17g ", d);
        return std::string(sz);
    };
    for (const auto& row : report.GetDeviceRows()) {
        strFigures += exact(row.dUtilization) + exact(row.dAvgTime) + "\n";
    }
    for (const auto& row : report.GetQueueRows()) {
        strFigures += exact(row.dAvgContent) + exact(row.dAvgTimeAll) + exact(row.dAvgTimeNonZero) + "\n";
    }
    strFigures += "channels\n";
    for (const auto& row : report.GetChannelRows()) {
        strFigures += row.strName + " " + std::to_string(row.nChannels) + " " + exact(row.dMeanBusy) + "\n";
    }
    return strFigures;
}

// Every figure of a simulation, as text; the figures over model time go into the trace, if any.
inline std::string Simulate(CModel& model, bool bSkipQuiet, std::uint32_t nWarmup = 0,
                            CTrace* pTrace = nullptr) {
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetQuietSkipping(bSkipQuiet);
    loop.SetWarmup(nWarmup);
    loop.SetTrace(pTrace);
    loop.Run();
    return Figures(model, loop, log);
}

}  // namespace mardo::test
