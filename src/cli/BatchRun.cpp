#include "cli/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/ExperimentReport.h"
#include "cli/TextTable.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/ExperimentSession.h"
#include "core/experiment/ExperimentDoc.h"
#include "core/experiment/FlatFigures.h"
#include "core/experiment/ParamTargets.h"
#include "core/experiment/Precision.h"
#include "core/experiment/Series.h"
#include "core/persist/Error.h"
#include "core/persist/FileSystem.h"
#include "core/persist/ModelFile.h"
#include "core/report/HtmlReport.h"
#include "core/report/ReportTables.h"
#include "core/run/RunSession.h"
#include "platform/SimulationThread.h"

namespace mardo::cli {

namespace {

std::optional<std::string> ReadText(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return in.bad() ? std::nullopt : std::optional<std::string>(text.str());
}

std::unique_ptr<IRunThread> NewSimulationThread() {
    return std::make_unique<platform::CSimulationThread>();
}

// Whether two paths name one file: the same file when both exist, the same place otherwise.
bool SameFile(const std::string& strA, const std::string& strB) {
    std::error_code error;
    if (std::filesystem::equivalent(strA, strB, error)) {
        return true;
    }
    const std::filesystem::path a = std::filesystem::weakly_canonical(strA, error);
    const std::filesystem::path b = std::filesystem::weakly_canonical(strB, error);
    return !error && a == b;
}

std::string WarmupRefusal(std::uint32_t nWarmup) {
    return "mardo-run: --warmup " + std::to_string(nWarmup) +
           " reaches the end of the simulation: no tick would be measured";
}

}  // namespace

CBatchRun::CBatchRun(const SOptions& options, std::ostream& out, std::ostream& err,
                     bool bShowProgress)
    : m_options(options), m_out(out), m_err(err), m_bShowProgress(bShowProgress) {}

CBatchRun::~CBatchRun() = default;

std::string CBatchRun::ModelName() const {
    return std::filesystem::path(m_options.strModelPath).filename().string();
}

void CBatchRun::TakeLines(CRunSession& session) {
    for (CMessageQueue::SLine& line : session.TakeMessages()) {
        if (!m_options.bJson && !m_options.bQuiet) {
            ClearProgress();
            m_out << line.Format() << '\n' << std::flush;
        }
        m_lines.push_back(std::move(line));
    }
}

void CBatchRun::ClearProgress() {
    if (m_bProgressShown) {
        m_err << "\r\033[K" << std::flush;
        m_bProgressShown = false;
    }
}

EExitStatus CBatchRun::Execute() {
    if (!OutputsAreSafe()) {
        return kUsageError;
    }
    if (m_options.bMerge) {
        return Merge();
    }
    const SLoadResult loaded = LoadModel(m_model, m_options.strModelPath);
    if (!loaded.IsLoaded()) {
        m_err << loaded.strMessage << '\n';
        return kFileRefused;
    }
    if (!ApplySettings(m_model) || !WarmupFits()) {
        return kUsageError;
    }
    if (m_options.bListParams) {
        ListParams();
        return kRan;
    }
    if (m_options.IsExperiment()) {
        return RunExperiment();
    }
    // The same lines, in the same order, as the run window writes when "&Старт" is pressed.
    CRunSession session(m_model, NewSimulationThread());
    const std::uint32_t nSeed = m_options.seed.value_or(kFirstRandState);
    session.SetRandom(m_options.Generator() == EGenerator::kExact
                          ? CRandomContext::Exact(nSeed)
                          : CRandomContext::Streams(nSeed, 0));
    session.SetWarmup(m_options.nWarmup);
    session.SetTracing(m_options.tracePath.has_value());
    session.SetQuietSkipping(!m_options.bTickByTick);
    if (const std::optional<CRunSession::EEnd> notStarted = session.Start()) {
        TakeLines(session);
        const bool bPassed = *notStarted != CRunSession::EEnd::kCheckFailed;
        if (m_options.bJson) {
            WriteJson(nullptr, bPassed);
        }
        return bPassed ? kNotStarted : kCheckFailed;
    }
    const CRunSession::EEnd end = Simulate(session);
    if (m_options.nWarmup > 0 && m_nModelTime == 0) {
        m_err << WarmupRefusal(m_options.nWarmup) << '\n';
        return kUsageError;
    }
    const CReportTables report(m_model.GetBlocks(), m_nModelTime, m_nDeparted);
    if (m_options.bJson) {
        WriteJson(&report, true);
    } else {
        WriteText(report);
    }
    // Each output is tried even when another failed: what can be saved is.
    const bool bHtml = !m_options.htmlPath || WriteHtml(report);
    const bool bTrace = !m_options.tracePath || WriteTrace(*session.GetTrace());
    const EExitStatus status = EndStatus(end);
    return bHtml && bTrace ? status : kOutputFailed;
}

bool CBatchRun::OutputsAreSafe() {
    const std::vector<std::pair<const char*, const std::optional<std::string>*>> outputs = {
        {"--html", &m_options.htmlPath}, {"--csv", &m_options.csvPath}, {"--trace", &m_options.tracePath}};
    std::vector<std::string> inputs = m_options.mergePaths;
    if (!m_options.bMerge) {
        inputs.push_back(m_options.strModelPath);
        inputs.insert(inputs.end(), m_options.comparePaths.begin(), m_options.comparePaths.end());
    }
    std::vector<std::string> written;
    for (const auto& [pszOption, pPath] : outputs) {
        if (!*pPath) {
            continue;
        }
        const std::string& strPath = **pPath;
        for (const std::string& strInput : inputs) {
            if (SameFile(strPath, strInput)) {
                m_err << "mardo-run: " << pszOption << " " << strPath
                      << " would overwrite the input " << strInput << '\n';
                return false;
            }
        }
        for (const std::string& strOther : written) {
            if (SameFile(strPath, strOther)) {
                m_err << "mardo-run: " << pszOption << " " << strPath
                      << " names a file another output writes\n";
                return false;
            }
        }
        written.push_back(strPath);
    }
    return true;
}

bool CBatchRun::WriteFile(const std::string& strPath, const std::string& strText,
                          const char* pszError) {
    // A file, or a file a link leads to, is replaced whole or not at all; a device or a pipe
    // (/dev/stdout) is written into, never renamed over.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(strPath, error);
    bool bWritten = false;
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        std::ofstream out(strPath, std::ios::binary);
        out << strText;
        out.close();
        bWritten = !out.fail();
    } else {
        bWritten = ReplaceFile(strPath, std::vector<std::uint8_t>(strText.begin(), strText.end()));
    }
    if (!bWritten) {
        m_err << (pszError != nullptr ? std::string(pszError) : "mardo-run: cannot write " + strPath)
              << '\n';
    }
    return bWritten;
}

EExitStatus CBatchRun::EndStatus(CRunSession::EEnd end) const {
    const EExitStatus status = end == CRunSession::EEnd::kOutOfMemory ? kOutOfMemory
                               : end == CRunSession::EEnd::kOutOfTime ? kOutOfTime
                                                                      : kRan;
    if (status != kRan && !m_lines.empty()) {
        m_err << "mardo-run: " << m_lines.back().strText << '\n';
    }
    return status;
}

CRunSession::EEnd CBatchRun::Simulate(CRunSession& session) {
    std::optional<CRunSession::EEnd> end;
    for (;;) {
        TakeLines(session);
        if ((end = session.TakeEnd())) {
            break;
        }
        if (!session.WaitFor(std::chrono::milliseconds(250)) && m_bShowProgress) {
            const CRunSession::SProgress progress = session.GetProgress();
            ShowProgress(progress.nModelTime, progress.nRun, progress.nDeparted);
        }
    }
    ClearProgress();
    const CRunSession::SProgress figures = session.GetProgress();
    m_nModelTime = figures.nModelTime;
    m_nDeparted = figures.nDeparted;
    return *end;
}

void CBatchRun::ShowProgress(std::uint32_t nModelTime, std::int32_t nRun,
                             std::uint32_t nDeparted) {
    m_err << "\r\033[KМодельное время: " << nModelTime << "   запуск " << nRun << " из "
          << m_model.m_experiment.nRuns << "   вышло из системы: " << nDeparted << std::flush;
    m_bProgressShown = true;
}

bool CBatchRun::WriteHtml(const CReportTables& report) {
    return WriteFile(*m_options.htmlPath,
                     BuildHtmlReport(report, ModelName(), ReportClock(true)),
                     kReportSaveErrorText);
}

// One row per interval of every followed figure: block, figure, first and last tick, least,
// greatest and mean value.
bool CBatchRun::WriteTrace(const CTrace& trace) {
    std::ostringstream csv;
    csv << "block,figure,firstTick,lastTick,min,max,mean\n";
    for (const CTrace::SFollowed& followed : trace.GetFollowed()) {
        const std::string strLead = CsvField(followed.strBlock) + "," + CsvField(followed.strFigure);
        const auto& intervals = followed.series.GetIntervals();
        for (std::size_t i = 0; i < intervals.size(); ++i) {
            const std::uint64_t nFirst = followed.series.FirstTick(i);
            csv << strLead << ',' << nFirst << ',' << nFirst + intervals[i].nTicks - 1 << ','
                << intervals[i].nMin << ',' << intervals[i].nMax << ','
                << CReportTables::FormatFixed(intervals[i].Mean(), 3) << '\n';
        }
    }
    return WriteFile(*m_options.tracePath, csv.str());
}

void CBatchRun::WriteText(const CReportTables& report) const {
    if (!m_options.bQuiet) {
        m_out << '\n';
    }
    m_out << "Время моделирования: " << report.FormatModelTime() << '\n'
          << "Количество транзактов, вышедших из системы: " << report.FormatDeparted() << '\n';
    for (int nTable = 0; nTable < CReportTables::kDataTableCount; ++nTable) {
        if (report.GetRowCount(nTable) == 0) {
            continue;
        }
        std::vector<bool> leftAligned;
        for (const SReportColumn& column : CReportTables::GetColumns(nTable)) {
            leftAligned.push_back(column.IsText());
        }
        m_out << '\n' << CReportTables::GetTitle(nTable) << '\n'
              << FormatTextTable(CReportTables::GetColumnTitles(nTable), report.GetCells(nTable),
                                 leftAligned);
    }
}

void CBatchRun::WriteJson(const CReportTables* pReport, bool bPassed) const {
    SSimulationDoc doc;
    doc.strModel = ModelName();
    doc.bPassed = bPassed;
    doc.generator = m_options.Generator();
    doc.lines = m_lines;
    doc.nModelTime = pReport ? m_nModelTime : 0;
    doc.nDeparted = pReport ? m_nDeparted : 0;
    doc.tables = ReportFigures(pReport);
    m_out << WriteSimulationDoc(doc);
}

bool CBatchRun::ApplySettings(CModel& model) {
    for (const SSetting& setting : m_options.settings) {
        if (const std::string strError = ApplySetting(model, setting); !strError.empty()) {
            m_err << "mardo-run: --set: " << strError << '\n';
            return false;
        }
    }
    return true;
}

bool CBatchRun::WarmupFits() {
    if (m_options.nWarmup == 0) {
        return true;
    }
    // Every point sets the same targets, so one copy takes each point's settings in turn.
    CModel scratch;
    if (!CopyModel(m_model, scratch)) {
        return true;  // the simulation refuses such a model itself
    }
    for (const std::vector<SSetting>& point : SweepPoints(m_options.sweeps)) {
        for (const SSetting& setting : point) {
            ApplySetting(scratch, setting);
        }
        const CExperimentParams& experiment = scratch.m_experiment;
        // A simulation by time ends at its runs' ticks, unless the system empties before.
        const auto nTicks = static_cast<std::uint64_t>(experiment.nStopValue) *
                            static_cast<std::uint64_t>(experiment.nRuns);
        if (experiment.nStopRule == CExperimentParams::kByTime && m_options.nWarmup >= nTicks) {
            m_err << WarmupRefusal(m_options.nWarmup) << " (" << nTicks << " ticks)\n";
            return false;
        }
    }
    return true;
}

void CBatchRun::ListParams() {
    for (const SBlockParam& param : GetParamTargets(m_model)) {
        m_out << param.strName << '=' << param.strValue << '\n';
    }
}

EExitStatus CBatchRun::RunExperiment() {
    SStudy study;
    SExperimentPlan& plan = study.plan;
    plan.nSeed = m_options.seed.value_or(kFirstRandState);
    plan.generator = m_options.Generator();
    plan.nReplications = m_options.replications.value_or(1);
    plan.onlyReplication = m_options.replication;
    plan.nWarmup = m_options.nWarmup;
    plan.bTickByTick = m_options.bTickByTick;
    plan.bRecordWaits = m_options.bWaits;
    plan.waitOver = m_options.waitOver;
    plan.points = SweepPoints(m_options.sweeps);
    plan.nJobs = m_options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    // Every swept value is checked, on a copy, before anything runs.
    for (const SSweep& sweep : m_options.sweeps) {
        if (const std::string strError = CheckSweep(m_model, sweep); !strError.empty()) {
            m_err << "mardo-run: --sweep: " << strError << '\n';
            return kUsageError;
        }
    }
    // The models compared are read, and take the same settings, before anything runs.
    for (const std::string& strPath : m_options.comparePaths) {
        auto pOther = std::make_shared<CModel>();
        const SLoadResult loaded = LoadModel(*pOther, strPath);
        if (!loaded.IsLoaded()) {
            m_err << loaded.strMessage << '\n';
            return kFileRefused;
        }
        if (!ApplySettings(*pOther)) {
            return kUsageError;
        }
        study.alternatives.push_back(
            {std::filesystem::path(strPath).filename().string(), std::move(pOther)});
    }
    study.bCompareToFirst = m_options.bCompareToFirst;
    study.bWarmupAuto = m_options.bWarmupAuto;
    SExperimentFindings findings;
    if (m_options.precision) {
        findings.precisionGoal = SPrecisionGoal{*m_options.precision, m_options.figures};
        study.precision = findings.precisionGoal;
    }
    std::function<void(const SStudyProgress&)> onProgress;
    if (m_bShowProgress) {
        onProgress = [this](const SStudyProgress& progress) {
            m_err << "\r\033[K" << progress.strStage << ": " << progress.nDone << " из "
                  << progress.nTotal << std::flush;
            m_bProgressShown = true;
        };
    }
    SStudyOutcome outcome =
        RunStudy(m_model, ModelName(), std::move(study), NewSimulationThread, onProgress, nullptr);
    ClearProgress();
    if (outcome.notStarted) {
        return Refuse(*outcome.notStarted, std::move(outcome.lines));
    }
    if (!WarmupMeasured(outcome.record)) {
        return kUsageError;
    }
    for (const SExperimentRecord& other : outcome.alternatives) {
        if (!WarmupMeasured(other)) {
            return kUsageError;
        }
    }
    if (outcome.precision) {
        findings.precision = *outcome.precision;
        if (!findings.precision.strUnknown.empty()) {
            m_err << "mardo-run: --figures: the model has no figure "
                  << findings.precision.strUnknown
                  << " (BLOCK.FIGURE, e.g. Q1.avgTimeAll, D1.utilization)\n";
            return kUsageError;
        }
    }
    findings.comparisons = std::move(outcome.comparisons);
    findings.warmup = std::move(outcome.warmup);
    return WriteExperiment(outcome.record, findings);
}

EExitStatus CBatchRun::Refuse(CRunSession::EEnd notStarted,
                              std::vector<CMessageQueue::SLine> lines) {
    m_lines = std::move(lines);
    if (m_options.bJson) {
        WriteJson(nullptr, notStarted != CRunSession::EEnd::kCheckFailed);
    } else {
        for (const CMessageQueue::SLine& line : m_lines) {
            m_out << line.Format() << '\n';
        }
    }
    if (notStarted == CRunSession::EEnd::kCheckFailed) {
        return kCheckFailed;
    }
    const EExitStatus status = EndStatus(notStarted);
    return status != kRan ? status : kNotStarted;
}

bool CBatchRun::WarmupMeasured(const SExperimentRecord& record) {
    // A simulation by count can end before the warm-up does: nothing of it was measured.
    for (const SPointRecord& point : record.points) {
        for (const SReplication& replication : point.replications) {
            if (record.nWarmup > 0 && replication.nModelTime == 0) {
                m_err << WarmupRefusal(record.nWarmup) << " (replication " << replication.nIndex
                      << ")\n";
                return false;
            }
        }
    }
    return true;
}

EExitStatus CBatchRun::Merge() {
    std::vector<SExperimentRecord> docs;
    for (const std::string& strPath : m_options.mergePaths) {
        const std::optional<std::string> text = ReadText(strPath);
        std::string strError = "cannot be read";
        std::optional<SExperimentRecord> doc =
            text ? ReadExperimentDoc(*text, strError) : std::nullopt;
        if (!doc) {
            m_err << "mardo-run: --merge: " << strPath << ": " << strError << '\n';
            return kFileRefused;
        }
        if (doc->generator != m_options.Generator()) {
            m_err << "mardo-run: --merge: " << strPath << ": made by the "
                  << GeneratorName(doc->generator) << " generator, not the "
                  << GeneratorName(m_options.Generator()) << " one (see --generator)\n";
            return kFileRefused;
        }
        docs.push_back(std::move(*doc));
    }
    std::string strError;
    const std::optional<SExperimentRecord> merged = MergeExperimentDocs(docs, strError);
    if (!merged) {
        m_err << "mardo-run: --merge: " << strError << '\n';
        return kFileRefused;
    }
    for (const SPointRecord& point : merged->points) {
        if (static_cast<std::int64_t>(point.replications.size()) != merged->nReplicationCount) {
            m_err << "mardo-run: --merge: " << point.replications.size() << " of "
                  << merged->nReplicationCount << " replications given\n";
            break;
        }
    }
    return WriteExperiment(*merged, {});
}

EExitStatus CBatchRun::WriteExperiment(const SExperimentRecord& record,
                                       const SExperimentFindings& findings) {
    if (m_options.bJson) {
        WriteExperimentDoc(record, m_out, findings);
        // The document holds the overdrawn replications; a reader is told on the side.
        m_err << OverdrawnText(record);
    } else {
        WriteExperimentText(record, m_options.bQuiet, m_out, findings.warmup);
        WriteFindingsText(findings, m_out);
    }
    if (m_options.csvPath &&
        !WriteFile(*m_options.csvPath, ExperimentCsv(record, findings.comparisons))) {
        return kOutputFailed;
    }
    return kRan;
}

}  // namespace mardo::cli
