#include "ModelInput.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>

#include "MemoryBudget.h"
#include "core/model/Model.h"
#include "core/persist/Crc32.h"
#include "core/persist/Error.h"
#include "core/persist/ModelFile.h"
#include "core/report/HtmlReport.h"
#include "core/report/ReportTables.h"
#include "core/sim/MessageLog.h"
#include "core/sim/ModelCheck.h"
#include "core/sim/PassShape.h"
#include "core/sim/RunSignals.h"
#include "core/sim/SimulationLoop.h"
#include "platform/SimulationThread.h"

namespace mardo::fuzz {

namespace {

// A simulation of an input is brief: a few runs of a few hundred ticks, through few enough
// calls that each input takes a moment, on little enough memory that a model whose transacts
// multiply reaches its out-of-memory end quickly. One that still takes long (thousands of
// transacts a tick put in random places of a queue) is stopped as a user would stop it.
constexpr std::int32_t kMostTicks = 200;
constexpr std::int32_t kMostRuns = 2;
constexpr std::uint64_t kMostCallsPerPass = 2000;
constexpr std::size_t kMemoryBudget = std::size_t{64} << 20;
constexpr std::chrono::seconds kPatience{1};

using Bytes = std::vector<std::uint8_t>;

void PutLittleEndian(Bytes& bytes, std::size_t nAt, std::uint32_t n) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[nAt + i] = static_cast<std::uint8_t>(n >> (8 * i));
    }
}

class CLogLines : public IMessageLog {
public:
    void AddMessage(const std::string& strText, int nKind, bool bWithTime) override {
        m_lines.push_back(std::to_string(nKind) + (bWithTime ? "t " : " ") + strText);
    }
    std::vector<std::string> m_lines;
};

// What a simulation leaves: its outcome, its log and its report, cell by cell.
struct SSimulation {
    CSimulationLoop::EOutcome nOutcome;
    std::vector<std::string> lines;
    std::vector<std::vector<std::vector<std::string>>> tables;
    std::string strFault;
};

SSimulation Simulate(CModel& model, bool bSkipQuiet) {
    SSimulation simulation{CSimulationLoop::EOutcome::kCompleted, {}, {}, {}};
    CLogLines log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.SetQuietSkipping(bSkipQuiet);
    platform::CSimulationThread thread;
    const std::optional<std::string> refusal =
        thread.Start(model, [&] { simulation.nOutcome = loop.Run(); });
    if (refusal) {
        simulation.strFault = "a model of few calls was refused: " + *refusal;
        return simulation;
    }
    if (!thread.WaitFor(kPatience)) {
        signals.Stop();
    }
    thread.Join();
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->HasTransacts() != 0) {
            simulation.strFault = "a block holds transacts after the simulation";
        }
    }
    const CReportTables report(model.GetBlocks(), loop.GetModelTime(), loop.GetDeparted());
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        simulation.tables.push_back(report.GetCells(nTable));
    }
    BuildHtmlReport(report, "fuzz.mrd", std::tm{});
    simulation.lines = std::move(log.m_lines);
    return simulation;
}

// Writes the accepted model back; answers what went wrong, if anything.
std::string CheckWriteBack(const CModel& model, std::size_t nReadSize) {
    const std::optional<Bytes> written = WriteModelBytes(model);
    if (!written) {
        return "an accepted model cannot be written back";
    }
    // The fields read may run into the trailer's eight bytes, which are written anew; nothing
    // else is written that was not read.
    if (written->size() > nReadSize + 8) {
        return "the model is written back longer than it was read";
    }
    CModel again;
    try {
        ReadModelBytes(again, *written);
    } catch (const CError&) {
        return "the written model is refused";
    }
    if (WriteModelBytes(again) != written) {
        return "the written model reads back as another model";
    }
    return {};
}

// Brings the experiment within the brief simulation of an input.
void ShortenExperiment(CExperimentParams& experiment) {
    experiment.nStopRule = CExperimentParams::kByTime;
    if (experiment.nStopValue == 0 || experiment.nStopValue > kMostTicks) {
        experiment.nStopValue = kMostTicks;
    }
    experiment.nRuns = std::min(experiment.nRuns, kMostRuns);
}

}  // namespace

Bytes WithTrailerFixed(const std::uint8_t* pBytes, std::size_t nSize) {
    Bytes bytes(pBytes, pBytes + nSize);
    if (nSize >= 8) {
        PutLittleEndian(bytes, nSize - 8, static_cast<std::uint32_t>(nSize));
        PutLittleEndian(bytes, nSize - 4, ComputeChecksum(bytes.data(), nSize - 4));
    }
    return bytes;
}

std::string ExerciseModelFile(const Bytes& bytes) {
    const test::CMemoryBudget budget(kMemoryBudget);
    CModel model;
    try {
        ReadModelBytes(model, bytes);
    } catch (const CError&) {
        return {};
    }
    if (std::string strFault = CheckWriteBack(model, bytes.size()); !strFault.empty()) {
        return strFault;
    }
    CLogLines checkLog;
    if (!CheckModel(model, checkLog) || MeasurePasses(model).nCallsPerPass > kMostCallsPerPass) {
        return {};
    }
    ShortenExperiment(model.m_experiment);
    const SSimulation skipping = Simulate(model, true);
    const SSimulation ticking = Simulate(model, false);
    if (!skipping.strFault.empty() || !ticking.strFault.empty()) {
        return skipping.strFault + ticking.strFault;
    }
    if (skipping.nOutcome != ticking.nOutcome ||
        skipping.nOutcome != CSimulationLoop::EOutcome::kCompleted) {
        return {};  // memory ran out, or patience, at a different moment in each
    }
    if (skipping.lines != ticking.lines || skipping.tables != ticking.tables) {
        return "skipping quiet ticks changed the simulation";
    }
    return {};
}

}  // namespace mardo::fuzz
