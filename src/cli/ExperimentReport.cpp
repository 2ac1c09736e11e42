#include "cli/ExperimentReport.h"

#include <cmath>
#include <ostream>

#include "cli/TextTable.h"
#include "core/experiment/FlatFigures.h"
#include "core/experiment/RandStreams.h"
#include "core/experiment/Summary.h"
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
    if (stat.bShare) {
        return CReportTables::FormatFixed(stat.dMean, 2) + " [" +
               CReportTables::FormatFixed(stat.dCiLow, 2) + "; " +
               CReportTables::FormatFixed(stat.dCiHigh, 2) + "]";
    }
    std::string strText = CReportTables::FormatFixed(stat.dMean, 3);
    if (std::isfinite(stat.dCi95)) {
        strText += " ± " + CReportTables::FormatFixed(stat.dCi95, 3);
    }
    return strText;
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
    out << "Сводка по " << summary.nCount << " прогонам: среднее ± полуширина 95% "
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
            << FormatTextTable(CReportTables::GetColumnTitles(nTable), cells, leftAligned);
    }
    if (const std::string strWarning = PointOverdrawnText(record, summary); !strWarning.empty()) {
        out << '\n' << strWarning;
    }
}

}  // namespace

void WriteExperimentText(const SExperimentRecord& record, bool bQuiet, std::ostream& out) {
    const bool bExact = record.generator == EGenerator::kExact;
    out << "Модель: " << record.strModel << "; прогонов: " << record.nReplicationCount
        << (bExact ? "; генератор: точный; начальное состояние генератора: "
                   : "; генератор: потоки; начальное значение потоков: ")
        << record.nSeed << "; разогрев: " << record.nWarmup << " тактов\n";
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
