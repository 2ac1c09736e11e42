#include "cli/ExperimentReport.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "cli/TextTable.h"
#include "core/experiment/FlatFigures.h"
#include "core/experiment/RandStreams.h"
#include "core/experiment/Series.h"
#include "core/experiment/Summary.h"
#include "core/experiment/WaitFigures.h"
#include "core/report/Plural.h"
#include "core/report/ReportTables.h"

namespace mardo::cli {

namespace {

std::string SettingsText(const std::vector<SSetting>& settings) {
    std::string strText;
    for (const SSetting& setting : settings) {
        strText += (strText.empty() ? "" : ", ") + setting.strTarget + "=" + setting.strValue;
    }
    return strText;
}

// "mean ± ci95", or the mean alone where there is no interval (a single replication); a share
// as "mean [low; high]".
std::string StatText(const SStat& stat) {
    const std::string strInterval = StatIntervalText(stat);
    if (strInterval.empty()) {
        return StatMeanText(stat);
    }
    return StatMeanText(stat) + (stat.bShare ? " " : " ± ") + strInterval;
}

std::string PointOverdrawnText(const SExperimentRecord& record, const SSummary& summary) {
    if (summary.overdrawn.empty()) {
        return {};
    }
    std::string strText = "Внимание: прогоны";
    for (const std::int32_t nIndex : summary.overdrawn) {
        strText += ' ' + std::to_string(nIndex);
    }
    return strText + " взяли у генератора больше " +
           std::to_string(ReplicationShare(record.generator, record.nReplicationCount)) +
           " чисел, своей доли его цикла; их последовательности могут перекрываться с "
           "последовательностями следующих прогонов.\n";
}

void WriteSummaryText(const SExperimentRecord& record, const SSummary& summary,
                      std::ostream& out) {
    out << "Сводка по "
        << CountText(static_cast<std::int64_t>(summary.nCount), "прогону", "прогонам", "прогонам")
        << ": среднее ± полуширина 95% "
        << "доверительного интервала (доля: среднее [границы интервала Уилсона])\n"
        << "Время моделирования: " << StatText(summary.modelTime) << '\n'
        << "Количество транзактов, вышедших из системы: " << StatText(summary.departed) << '\n';
    for (std::size_t t = 0; t < summary.tables.size(); ++t) {
        const SSummaryTable& table = summary.tables[t];
        if (table.rows.empty()) {
            continue;
        }
        const auto nTable = static_cast<int>(t);
        std::vector<bool> leftAligned;
        for (const SReportColumn& column : CReportTables::GetColumns(nTable)) {
            leftAligned.push_back(column.IsText());
        }
        // The figures an experiment adds to the report's (the waiting times) follow its columns.
        std::vector<std::string> titles = CReportTables::GetColumnTitles(nTable);
        for (std::size_t c = titles.size(); c < table.columns.size(); ++c) {
            titles.push_back(WaitColumnTitle(table.columns[c]));
            leftAligned.push_back(false);
        }
        std::vector<std::vector<std::string>> cells;
        for (const auto& row : table.rows) {
            std::vector<std::string>& line = cells.emplace_back();
            for (const SSummaryCell& cell : row) {
                const auto* pStat = std::get_if<SStat>(&cell);
                line.push_back(pStat != nullptr ? StatText(*pStat)
                                                : FigureText(std::get<SFigure>(cell)));
            }
        }
        out << '\n' << CReportTables::GetTitle(nTable) << '\n'
            << FormatTextTable(titles, cells, leftAligned);
    }
    if (const std::string strWarning = PointOverdrawnText(record, summary); !strWarning.empty()) {
        out << '\n' << strWarning;
    }
}

std::string PercentText(double dShare) {
    return std::isfinite(dShare) ? CReportTables::FormatFixed(100.0 * dShare, 2) + "%" : "∞";
}

void WritePrecisionText(const SPrecisionGoal& goal, const SPrecisionOutcome& outcome,
                        std::ostream& out) {
    const std::string strGoal = "полуширина 95% интервала не более " +
                                PercentText(goal.dPercent / 100.0) + " среднего";
    if (outcome.check.bMet) {
        out << "\nТочность: " << strGoal << " достигнута за "
            << CountText(outcome.nReplications, "прогон", "прогона", "прогонов")
            << "; решил показатель " << outcome.check.strDeciding << " ("
            << PercentText(outcome.check.dWorst) << ")\n";
        return;
    }
    out << "\nТочность: " << strGoal << " не достигнута за "
        << CountText(outcome.nReplications, "прогон", "прогона", "прогонов")
        << " (предел --replications); не хватило:\n";
    for (const auto& [strFigure, dShare] : outcome.check.shortfalls) {
        out << "  " << strFigure << ": " << PercentText(dShare) << " вместо "
            << PercentText(goal.dPercent / 100.0) << '\n';
    }
}

void WriteComparisonText(const SComparison& comparison, std::ostream& out) {
    const std::string strModel =
        comparison.bPoints ? "точка " + comparison.strModel : comparison.strModel;
    const std::string strAgainst =
        comparison.bPoints ? "точка " + comparison.strAgainst : comparison.strAgainst;
    out << "\nСравнение: " << strModel << " против "
        << (comparison.bPoints ? "точки " + comparison.strAgainst : strAgainst)
        << " (разность по парам прогонов с общими случайными числами: среднее ± полуширина 95% "
           "интервала";
    if (comparison.nComparisons > 1) {
        out << ", расширенного по Бонферрони на " << comparison.nComparisons << " сравнения";
    }
    out << ")\n";
    const std::vector<std::string> titles = {"Показатель", strAgainst, strModel, "Разность",
                                             "Вывод"};
    const std::vector<bool> leftAligned = {true, false, false, false, true};
    // A block is in the blocks' table and in its kind's: one table per block holds both.
    std::vector<std::string> blocks;
    for (const SDifference& difference : comparison.differences) {
        if (std::find(blocks.begin(), blocks.end(), difference.name.strBlock) == blocks.end()) {
            blocks.push_back(difference.name.strBlock);
        }
    }
    for (const std::string& strBlock : blocks) {
        std::vector<std::vector<std::string>> cells;
        for (const SDifference& difference : comparison.differences) {
            if (difference.name.strBlock != strBlock) {
                continue;
            }
            const SInterval& interval = difference.interval;
            std::string strDifference = CReportTables::FormatFixed(interval.dMean, 3);
            if (std::isfinite(interval.dHalfWidth)) {
                strDifference += " ± " + CReportTables::FormatFixed(interval.dHalfWidth, 3);
            }
            cells.push_back({FigureTitle(difference.name),
                             CReportTables::FormatFixed(difference.dBase, 3),
                             CReportTables::FormatFixed(difference.dOther, 3), strDifference,
                             interval.ExcludesZero() ? "значимо" : "не значимо"});
        }
        out << '\n' << (strBlock.empty() ? "Модель" : "Блок " + strBlock) << '\n'
            << FormatTextTable(titles, cells, leftAligned);
    }
}

}  // namespace

void WriteFindingsText(const SExperimentFindings& findings, std::ostream& out) {
    if (findings.precisionGoal) {
        WritePrecisionText(*findings.precisionGoal, findings.precision, out);
    }
    for (const SComparison& comparison : findings.comparisons) {
        WriteComparisonText(comparison, out);
    }
}

void WriteExperimentText(const SExperimentRecord& record, bool bQuiet, std::ostream& out,
                         const std::optional<SWarmupChoice>& warmup) {
    const bool bExact = record.generator == EGenerator::kExact;
    out << "Модель: " << record.strModel << "; прогонов: " << record.nReplicationCount
        << (bExact ? "; генератор: точный; начальное состояние генератора: "
                   : "; генератор: потоки; начальное значение потоков: ")
        << record.nSeed << "; разогрев: " << record.nWarmup << " тактов\n";
    // Before the figures: a run that never settled changes what they mean.
    if (warmup) {
        out << WarmupText(*warmup) << '\n';
    }
    for (std::size_t p = 0; p < record.points.size(); ++p) {
        const SPointRecord& point = record.points[p];
        if (record.bSwept) {
            out << "\nТочка " << p << ": " << SettingsText(point.settings) << '\n';
        }
        // The streams' replications need no seed of their own: the base seed and the index
        // reproduce each.
        if (bExact && !bQuiet) {
            for (const SReplication& replication : point.replications) {
                out << "Прогон " << replication.nIndex << ": состояние генератора "
                    << replication.nSeed << '\n';
            }
        }
        out << '\n';
        WriteSummaryText(record, PointSummary(record, point), out);
    }
}

std::string OverdrawnText(const SExperimentRecord& record) {
    std::string strText;
    for (const SPointRecord& point : record.points) {
        strText += PointOverdrawnText(record, PointSummary(record, point));
    }
    return strText;
}

}  // namespace mardo::cli
