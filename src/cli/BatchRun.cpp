#include "cli/BatchRun.h"

#include <charconv>
#include <chrono>
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/JsonText.h"
#include "cli/TextTable.h"
#include "core/persist/ModelFile.h"
#include "core/report/HtmlReport.h"
#include "core/report/ReportTables.h"
#include "core/run/RunSession.h"
#include "platform/SimulationThread.h"

namespace mardo::cli {

namespace {

// The rows of a table as JSON objects, one field per column.
void AppendRows(CJsonText& json, const char* pszKey, const std::vector<std::string>& keys,
                const std::vector<std::vector<SJsonValue>>& rows) {
    json.BeginArray(pszKey);
    for (const auto& row : rows) {
        json.BeginObject();
        for (std::size_t c = 0; c < keys.size(); ++c) {
            json.Field(keys[c].c_str(), row[c]);
        }
        json.EndObject();
    }
    json.EndArray();
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
    const SLoadResult loaded = LoadModel(m_model, m_options.strModelPath);
    if (!loaded.IsLoaded()) {
        m_err << loaded.strMessage << '\n';
        return kFileRefused;
    }
    // The same lines, in the same order, as the run window writes when "&Старт" is pressed.
    CRunSession session(m_model, std::make_unique<platform::CSimulationThread>());
    if (const std::optional<CRunSession::EEnd> notStarted = session.Start()) {
        TakeLines(session);
        const bool bPassed = *notStarted != CRunSession::EEnd::kCheckFailed;
        if (m_options.bJson) {
            WriteJson(nullptr, bPassed);
        }
        return bPassed ? kNotStarted : kCheckFailed;
    }
    Simulate(session);
    const CReportTables report(m_model.GetBlocks(), m_nModelTime, m_nDeparted);
    if (m_options.bJson) {
        WriteJson(&report, true);
    } else {
        WriteText(report);
    }
    if (m_options.htmlPath) {
        WriteHtml(report);
    }
    return kRan;
}

void CBatchRun::Simulate(CRunSession& session) {
    for (;;) {
        TakeLines(session);
        if (session.TakeEnd()) {
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

    std::vector<std::vector<SJsonValue>> blocks, devices, queues;
    if (pReport != nullptr) {
        for (const auto& row : pReport->GetBlockRows()) {
            blocks.push_back({std::int64_t{row.nNumber}, row.strName, row.strKind,
                              std::int64_t{row.nEntered}, std::int64_t{row.nLeft},
                              std::int64_t{row.nRemaining}});
        }
        for (const auto& row : pReport->GetDeviceRows()) {
            devices.push_back({std::int64_t{row.nNumber}, row.strName, std::int64_t{row.nLeft},
                               row.dUtilization, row.dAvgTime, row.bFree,
                               std::int64_t{row.nWaiting}});
        }
        for (const auto& row : pReport->GetQueueRows()) {
            queues.push_back({std::int64_t{row.nNumber}, row.strName, std::int64_t{row.nEntered},
                              std::int64_t{row.nZeroEntries}, std::int64_t{row.nMaxContent},
                              std::int64_t{row.nRemaining}, row.dAvgContent, row.dAvgTimeAll,
                              row.dAvgTimeNonZero, row.bFree, std::int64_t{row.nWaiting}});
        }
    }
    AppendRows(json, "blocks", {"number", "name", "kind", "entered", "left", "remaining"}, blocks);
    AppendRows(json, "devices",
               {"number", "name", "left", "utilization", "avgTime", "free", "waiting"}, devices);
    AppendRows(json, "queues",
               {"number", "name", "entered", "zeroEntries", "maxContent", "remaining",
                "avgContent", "avgTimeAll", "avgTimeNonZero", "free", "waiting"},
               queues);
    json.EndObject();
    m_out << json.GetText() << '\n';
}

}  // namespace mardo::cli
