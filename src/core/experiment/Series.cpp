#include "core/experiment/Series.h"

#include <charconv>
#include <cmath>

#include "core/experiment/RandStreams.h"
#include "core/model/BlockParam.h"
#include "core/model/Model.h"
#include "core/persist/Error.h"
#include "core/persist/ModelFile.h"
#include "core/report/ReportTables.h"

namespace mardo {

namespace {

const char* const kModelObject = "Модель";
const char* const kModelTimeTitle = "Время моделирования";
const char* const kDepartedTitle = "Количество транзактов, вышедших из системы";
// The report's tables a series shows, with the word that names their rows.
struct SShownTable {
    std::size_t nTable;
    const char* pszObject;
};
constexpr SShownTable kShownTables[] = {{1, "Устройство"}, {2, "Очередь"}};

std::string Trimmed(const std::string& strText) {
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos) {
        return {};
    }
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

}  // namespace

std::string CsvNumber(double d) {
    if (!std::isfinite(d)) {
        return {};
    }
    char sz[64];
    const auto result = std::to_chars(sz, sz + sizeof sz, d);
    return std::string(sz, result.ptr);
}

std::string CsvField(const std::string& strText) {
    if (strText.find_first_of(",\"\n\r") == std::string::npos) {
        return strText;
    }
    std::string strQuoted = "\"";
    for (const char c : strText) {
        strQuoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return strQuoted + '"';
}

std::vector<std::string> ListValues(const std::string& strText) {
    std::vector<std::string> values;
    for (const std::string& strItem : SplitList(strText, ",")) {
        if (std::string strValue = Trimmed(strItem); !strValue.empty()) {
            values.push_back(std::move(strValue));
        }
    }
    return values;
}

std::optional<std::vector<std::string>> RangeValues(std::int64_t nFrom, std::int64_t nTo,
                                                    std::int64_t nStep, std::size_t nMost) {
    if (nStep <= 0 || nFrom > nTo || static_cast<std::uint64_t>((nTo - nFrom) / nStep) >= nMost) {
        return std::nullopt;
    }
    std::vector<std::string> values;
    for (std::int64_t n = nFrom; n <= nTo; n += nStep) {
        values.push_back(std::to_string(n));
    }
    return values;
}

std::string CheckSweep(const CModel& model, const SSweep& sweep, std::string* pRefused) {
    const std::optional<std::vector<std::uint8_t>> bytes = WriteModelBytes(model);
    if (!bytes) {
        return {};  // the experiment refuses such a model itself
    }
    CModel scratch;
    try {
        ReadModelBytes(scratch, *bytes);
    } catch (const CError&) {
        return {};
    }
    for (const std::string& strValue : sweep.values) {
        if (std::string strError = ApplySetting(scratch, {sweep.strTarget, strValue});
            !strError.empty()) {
            if (pRefused != nullptr) {
                *pRefused = strValue;
            }
            return strError;
        }
    }
    return {};
}

std::vector<SSeriesRow> SeriesRows(const std::vector<SPointRecord>& points,
                                   std::int32_t nReplicationCount) {
    std::vector<SSeriesRow> rows;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const SPointRecord& point = points[p];
        const std::optional<SSummary> summary =
            Summarize(point.replications, ReplicationShare(nReplicationCount));
        if (!summary || point.replications.empty()) {
            continue;
        }
        const std::string strValue = point.settings.empty() ? "" : point.settings[0].strValue;
        rows.push_back({p, strValue, kModelObject, kModelTimeTitle, summary->modelTime,
                        kModelTable, 0, 0});
        rows.push_back({p, strValue, kModelObject, kDepartedTitle, summary->departed,
                        kModelTable, 0, 1});
        for (const SShownTable& shown : kShownTables) {
            const SSummaryTable& table = summary->tables.at(shown.nTable);
            const std::size_t nNames = point.replications[0].tables[shown.nTable].nNameColumns;
            const std::vector<std::string>& titles =
                CReportTables::GetColumnTitles(static_cast<int>(shown.nTable));
            for (std::size_t r = 0; r < table.rows.size(); ++r) {
                const SFigure& name = std::get<SFigure>(table.rows[r][nNames - 1]);
                const std::string strObject =
                    std::string(shown.pszObject) + " " + std::get<std::string>(name);
                for (std::size_t c = nNames; c < table.columns.size(); ++c) {
                    rows.push_back({p, strValue, strObject, titles.at(c),
                                    std::get<SStat>(table.rows[r][c]), shown.nTable, r, c});
                }
            }
        }
    }
    return rows;
}

std::vector<double> ReplicationValues(const SPointRecord& point, const SSeriesRow& row) {
    std::vector<double> values;
    for (const SReplication& replication : point.replications) {
        if (row.nTable == kModelTable) {
            values.push_back(row.nColumn == 0 ? replication.nModelTime : replication.nDeparted);
        } else {
            values.push_back(AsNumber(replication.tables.at(row.nTable).rows.at(row.nRow).at(row.nColumn)));
        }
    }
    return values;
}

std::string SeriesCsv(const std::vector<SSeriesRow>& rows, const std::string& strParameter) {
    const bool bVaried = !strParameter.empty();
    std::string strCsv = bVaried ? CsvField(strParameter) + "," : "";
    strCsv += "Объект,Показатель,Среднее,Стандартное отклонение,Полуширина 95% интервала\n";
    for (const SSeriesRow& row : rows) {
        if (bVaried) {
            strCsv += CsvField(row.strValue) + ",";
        }
        strCsv += CsvField(row.strObject) + "," + CsvField(row.strFigure) + "," +
                  CsvNumber(row.stat.dMean) + "," + CsvNumber(row.stat.dStdev) + "," +
                  CsvNumber(row.stat.dCi95) + "\n";
    }
    return strCsv;
}

std::string ProgressText(std::size_t nDone, std::size_t nTotal, double dElapsedSeconds) {
    std::string strText = std::to_string(nDone) + " из " + std::to_string(nTotal);
    if (nDone > 0 && nDone < nTotal) {
        const double dLeft = dElapsedSeconds / static_cast<double>(nDone) *
                             static_cast<double>(nTotal - nDone);
        const auto nSeconds = static_cast<std::int64_t>(std::ceil(dLeft));
        strText += nSeconds >= 60 ? ", осталось около " + std::to_string(nSeconds / 60) + " мин " +
                                        std::to_string(nSeconds % 60) + " с"
                                  : ", осталось около " + std::to_string(nSeconds) + " с";
    }
    return strText;
}

}  // namespace mardo
