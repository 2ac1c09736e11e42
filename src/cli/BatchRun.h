#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/ExperimentDoc.h"
#include "core/experiment/Replication.h"
#include "core/model/Model.h"
#include "core/run/MessageQueue.h"
#include "core/run/RunSession.h"

namespace mardo {
class CReportTables;
class CTrace;
}

namespace mardo::cli {

// Exit statuses of the batch runner. The numbers are kept apart (64 and 74 as in sysexits.h)
// so that new ones can be added between them.
enum EExitStatus : int {
    kRan = 0,
    kCheckFailed = 1,
    kFileRefused = 2,
    kNotStarted = 3,  // the model cannot be simulated safely (too deep, too many paths)
    kOutOfMemory = 4,  // the simulation ended for want of memory; the figures are those so far
    kOutOfTime = 5,    // model time ran out before the stop rule was met; the figures so far
    kUsageError = 64,
    kOutputFailed = 74  // an output (a file, or the standard output) could not be written
};

// One model file through the same steps as the run window: read it, check it, simulate it once
// with its own experiment conditions, and report: log lines and tables as text, or one JSON
// document; optionally the HTML page.
class CBatchRun {
public:
    CBatchRun(const SOptions& options, std::ostream& out, std::ostream& err, bool bShowProgress);
    ~CBatchRun();

    EExitStatus Execute();

private:
    // Writes the session's waiting log lines and keeps them for the JSON document.
    void TakeLines(CRunSession& session);
    // Follows the started simulation to its end, and answers it.
    CRunSession::EEnd Simulate(CRunSession& session);
    // The status a simulation that ended so exits with; a simulation cut short says why on
    // the error stream too (the log's last line, which names the reason).
    EExitStatus EndStatus(CRunSession::EEnd end) const;
    void ShowProgress(std::uint32_t nModelTime, std::int32_t nRun, std::uint32_t nDeparted);
    void ClearProgress();
    bool WriteHtml(const CReportTables& report);
    bool WriteTrace(const CTrace& trace);
    void WriteText(const CReportTables& report) const;
    void WriteJson(const CReportTables* pReport, bool bPassed) const;
    // Replaces the file by the text, or says why it cannot (pszError, or that it cannot write
    // the path) and answers false.
    bool WriteFile(const std::string& strPath, const std::string& strText,
                   const char* pszError = nullptr);
    // Whether an output would overwrite the model, a document to merge or another output;
    // says so and answers false.
    bool OutputsAreSafe();
    // Applies the settings to a loaded model; a bad one ends with kUsageError.
    bool ApplySettings(CModel& model);
    // Whether the warm-up ends before the simulation does at every point of the sweeps.
    bool WarmupFits();
    void ListParams();
    EExitStatus RunExperiment();
    // The experiment did not start or was cut short: the lines that say why, and the status.
    EExitStatus Refuse(CRunSession::EEnd notStarted, std::vector<CMessageQueue::SLine> lines);
    // Whether every replication measured something after the warm-up; says which did not.
    bool WarmupMeasured(const SExperimentRecord& record);
    EExitStatus Merge();
    // Prints an experiment's record in the chosen form and writes its CSV file.
    EExitStatus WriteExperiment(const SExperimentRecord& record,
                                const SExperimentFindings& findings);
    std::string ModelName() const;

    const SOptions& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bShowProgress;
    CModel m_model;
    std::vector<CMessageQueue::SLine> m_lines;
    std::uint32_t m_nModelTime = 0;
    std::uint32_t m_nDeparted = 0;
    bool m_bProgressShown = false;
};

}  // namespace mardo::cli
