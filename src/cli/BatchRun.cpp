#include "cli/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/ExperimentReport.h"
#include "cli/JsonText.h"
#include "core/experiment/Series.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/ExperimentDoc.h"
#include "core/experiment/ParamTargets.h"
#include "cli/TextTable.h"
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
    if (m_options.bMerge) {
        return Merge();
    }
    const SLoadResult loaded = LoadModel(m_model, m_options.strModelPath);
    if (!loaded.IsLoaded()) {
        m_err << loaded.strMessage << '\n';
        return kFileRefused;
    }
    if (!ApplySettings()) {
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
    const CReportTables report(m_model.GetBlocks(), m_nModelTime, m_nDeparted);
    if (m_options.bJson) {
        WriteJson(&report, true);
    } else {
        WriteText(report);
    }
    if (m_options.htmlPath) {
        WriteHtml(report);
    }
    if (m_options.tracePath) {
        WriteTrace(*session.GetTrace());
    }
    return EndStatus(end);
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

void CBatchRun::WriteHtml(const CReportTables& report) {
    const std::string strPage = BuildHtmlReport(report, ModelName(), ReportClock(true));
    if (!SaveHtmlReport(strPage, *m_options.htmlPath)) {
        m_err << kReportSaveErrorText << '\n';
    }
}

// One row per interval of every followed figure: block, figure, first and last tick, least,
// greatest and mean value.
void CBatchRun::WriteTrace(const CTrace& trace) {
    std::ofstream csv(*m_options.tracePath, std::ios::binary);
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
    if (!csv.flush()) {
        m_err << "mardo-run: cannot write " << *m_options.tracePath << '\n';
    }
}

void CBatchRun::WriteText(const CReportTables& report) const {
    if (!m_options.bQuiet) {
        m_out << '\n';
    }
    m_out << "Время моделирования: " << report.FormatModelTime() << '\n'
          << "Количество транзактов, вышедших из системы: " << report.FormatDeparted() << '\n';
    for (int nTable = 0; nTable < CReportTables::kTableCount; ++nTable) {
        if (report.GetRowCount(nTable) == 0) {
            continue;
        }
        const std::vector<std::string>& titles = CReportTables::GetColumnTitles(nTable);
        std::vector<bool> leftAligned(titles.size(), false);
        leftAligned[1] = true;
        if (nTable == CReportTables::kBlocks) {
            leftAligned[2] = true;
        }
        m_out << '\n' << CReportTables::GetTitle(nTable) << '\n'
              << FormatTextTable(titles, report.GetCells(nTable), leftAligned);
    }
}

void CBatchRun::WriteJson(const CReportTables* pReport, bool bPassed) const {
    CJsonText json;
    json.BeginObject();
    json.Field("model", ModelName());
    json.Field("check", bPassed ? "passed" : "failed");
    // A document that names no generator was made by the exact one, as every document before
    // the streams was.
    if (m_options.Generator() != EGenerator::kExact) {
        json.Field(keys::kGenerator, GeneratorName(m_options.Generator()));
    }
    json.BeginArray("messages");
    for (const CMessageQueue::SLine& line : m_lines) {
        json.BeginObject();
        json.Field("kind", std::int64_t{line.nKind});
        json.Field("timed", line.bWithTime);
        json.Field("text", line.strText);
        json.EndObject();
    }
    json.EndArray();
    json.Field("modelTime", std::int64_t{pReport ? m_nModelTime : 0});
    json.Field("departed", std::int64_t{pReport ? m_nDeparted : 0});

    AppendFigures(json, ReportFigures(pReport));
    json.EndObject();
    m_out << json.GetText() << '\n';
}

bool CBatchRun::ApplySettings() {
    for (const SSetting& setting : m_options.settings) {
        if (const std::string strError = ApplySetting(m_model, setting); !strError.empty()) {
            m_err << "mardo-run: --set: " << strError << '\n';
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
    SExperimentPlan plan;
    plan.nSeed = m_options.seed.value_or(kFirstRandState);
    plan.generator = m_options.Generator();
    plan.nReplications = m_options.replications.value_or(1);
    plan.onlyReplication = m_options.replication;
    plan.nWarmup = m_options.nWarmup;
    plan.bTickByTick = m_options.bTickByTick;
    plan.points = SweepPoints(m_options.sweeps);
    plan.nJobs = m_options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    // Every swept value is checked, on a copy, before anything runs.
    if (const std::optional<std::vector<std::uint8_t>> bytes = WriteModelBytes(m_model)) {
        CModel scratch;
        ReadModelBytes(scratch, *bytes);
        for (const SSweep& sweep : m_options.sweeps) {
            for (const std::string& strValue : sweep.values) {
                const std::string strError = ApplySetting(scratch, {sweep.strTarget, strValue});
                if (!strError.empty()) {
                    m_err << "mardo-run: --sweep: " << strError << '\n';
                    return kUsageError;
                }
            }
        }
    }
    if (m_bShowProgress) {
        plan.onProgress = [this](std::size_t nDone, std::size_t nTotal) {
            m_err << "\r\033[KПрогоны: " << nDone << " из " << nTotal << std::flush;
            m_bProgressShown = true;
        };
    }
    SExperimentResult result = mardo::RunExperiment(m_model, plan, NewSimulationThread);
    ClearProgress();
    if (result.notStarted) {
        m_lines = std::move(result.lines);
        if (m_options.bJson) {
            WriteJson(nullptr, *result.notStarted != CRunSession::EEnd::kCheckFailed);
        } else {
            for (const CMessageQueue::SLine& line : m_lines) {
                m_out << line.Format() << '\n';
            }
        }
        if (*result.notStarted == CRunSession::EEnd::kCheckFailed) {
            return kCheckFailed;
        }
        const EExitStatus status = EndStatus(*result.notStarted);
        return status != kRan ? status : kNotStarted;
    }
    SExperimentRecord record;
    record.strModel = ModelName();
    record.nSeed = plan.nSeed;
    record.generator = plan.generator;
    record.nReplicationCount = plan.nReplications;
    record.nWarmup = plan.nWarmup;
    record.bSwept = !m_options.sweeps.empty();
    record.points = std::move(result.points);
    WriteExperiment(record);
    return kRan;
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
    WriteExperiment(*merged);
    return kRan;
}

void CBatchRun::WriteExperiment(const SExperimentRecord& record) {
    if (m_options.bJson) {
        WriteExperimentJson(record, m_out);
    } else {
        WriteExperimentText(record, m_out);
    }
    if (m_options.csvPath) {
        std::ofstream csv(*m_options.csvPath, std::ios::binary);
        csv << FormatExperimentCsv(record);
        if (!csv.flush()) {
            m_err << "mardo-run: cannot write " << *m_options.csvPath << '\n';
        }
    }
}

}  // namespace mardo::cli
