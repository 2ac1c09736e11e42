#include "core/experiment/Series.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/experiment/RandStreams.h"
#include "core/experiment/WaitFigures.h"
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
// The report's tables whose figures a series shows (not the blocks' counts), and the words
// that name their rows; the channels' rows are the devices'.
struct SShownTable {
    std::size_t nTable;
    const char* pszObject;
    bool bSeries;
};
constexpr SShownTable kObjectTables[] = {{CReportTables::kBlocks, "Блок", false},
                                         {CReportTables::kDevices, "Устройство", true},
                                         {CReportTables::kQueues, "Очередь", true},
                                         {CReportTables::kChannels, "Устройство", true}};

const SShownTable* ShownTable(const std::string& strKey) {
    const auto* pShown = std::find_if(
        std::begin(kObjectTables), std::end(kObjectTables), [&strKey](const SShownTable& shown) {
            return strKey == CReportTables::GetKey(static_cast<int>(shown.nTable));
        });
    return pShown != std::end(kObjectTables) ? pShown : nullptr;
}

std::string Trimmed(const std::string& strText) {
    const std::size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos) {
        return {};
    }
    return strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

}  // namespace

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
    CModel scratch;
    if (!CopyModel(model, scratch)) {
        return {};  // the experiment refuses such a model itself
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
                                   std::int32_t nReplicationCount, double dConfidence) {
    std::vector<SSeriesRow> rows;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const SPointRecord& point = points[p];
        const std::optional<SSummary> summary =
            Summarize(point.replications, ReplicationShare(nReplicationCount), dConfidence);
        if (!summary || point.replications.empty()) {
            continue;
        }
        const std::string strValue = point.settings.empty() ? "" : point.settings[0].strValue;
        const SReplication& first = point.replications[0];
        for (const SFigureRef& ref : FigureRefs(first)) {
            const SFigureName name = NameOf(first, ref);
            if (const SShownTable* pShown = ShownTable(name.strTable);
                ref.nTable != kModelTable && (pShown == nullptr || !pShown->bSeries)) {
                continue;
            }
            rows.push_back({p, strValue, FigureObject(name), FigureTitle(name),
                            StatOf(*summary, ref), ref.nTable, ref.nRow, ref.nColumn});
        }
    }
    return rows;
}

std::string FigureObject(const SFigureName& name) {
    const SShownTable* pShown = ShownTable(name.strTable);
    return pShown != nullptr ? std::string(pShown->pszObject) + " " + name.strBlock : kModelObject;
}

std::string FigureTitle(const SFigureName& name) {
    if (name.strTable == keys::kModel) {
        return name.strFigure == keys::kModelTime ? kModelTimeTitle : kDepartedTitle;
    }
    for (int t = 0; t < CReportTables::kDataTableCount; ++t) {
        if (name.strTable != CReportTables::GetKey(t)) {
            continue;
        }
        for (const SReportColumn& column : CReportTables::GetColumns(t)) {
            if (name.strFigure == column.pszKey) {
                return column.strTitle;
            }
        }
    }
    return WaitColumnTitle(name.strFigure);  // a queue's waits, or the key itself
}

std::string StatMeanText(const SStat& stat) {
    return CReportTables::FormatFixed(stat.dMean, stat.bShare ? 2 : 3);
}

std::string StatIntervalText(const SStat& stat) {
    if (stat.bShare) {
        return "[" + CReportTables::FormatFixed(stat.dCiLow, 2) + "; " +
               CReportTables::FormatFixed(stat.dCiHigh, 2) + "]";
    }
    return std::isfinite(stat.dCi95) ? CReportTables::FormatFixed(stat.dCi95, 3) : std::string();
}

std::string FigureCellText(const SFigureRef& ref, const SFigure& figure) {
    if (ref.nTable < static_cast<std::size_t>(CReportTables::kDataTableCount)) {
        const std::vector<SReportColumn>& columns =
            CReportTables::GetColumns(static_cast<int>(ref.nTable));
        if (ref.nColumn < columns.size()) {
            return CReportTables::FormatCell(columns[ref.nColumn], figure);
        }
    }
    if (const auto* pDouble = std::get_if<double>(&figure)) {
        return CReportTables::FormatFixed(*pDouble, 3);
    }
    return FigureText(figure);
}

std::vector<double> ReplicationValues(const SPointRecord& point, const SSeriesRow& row) {
    std::vector<double> values;
    for (const SReplication& replication : point.replications) {
        values.push_back(AsNumber(FigureOf(replication, {row.nTable, row.nRow, row.nColumn})));
    }
    return values;
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
