#include "core/experiment/Series.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
        const SReplication& first = point.replications[0];
        for (const SFigureRef& ref : FigureRefs(first)) {
            std::string strObject = kModelObject;
            std::string strFigure = ref.nColumn == 0 ? kModelTimeTitle : kDepartedTitle;
            if (ref.nTable != kModelTable) {
                const auto* pShown = std::find_if(
                    std::begin(kShownTables), std::end(kShownTables),
                    [&ref](const SShownTable& shown) { return shown.nTable == ref.nTable; });
                if (pShown == std::end(kShownTables)) {
                    continue;
                }
                strObject = std::string(pShown->pszObject) + " " + NameOf(first, ref).strBlock;
                strFigure = CReportTables::GetColumnTitles(static_cast<int>(ref.nTable)).at(ref.nColumn);
            }
            rows.push_back({p, strValue, strObject, strFigure, StatOf(*summary, ref), ref.nTable,
                            ref.nRow, ref.nColumn});
        }
    }
    return rows;
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
