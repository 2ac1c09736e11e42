#include "core/experiment/Summary.h"

#include "core/experiment/OutputAnalysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mardo {

namespace {

bool SameShape(const SFigureTable& a, const SFigureTable& b) {
    return a.strKey == b.strKey && a.columns == b.columns && a.nNameColumns == b.nNameColumns &&
           a.rows.size() == b.rows.size();
}

// The states at the end are the figures that are 0 or 1 in every replication.
bool IsShare(std::size_t nTable, std::size_t nColumn) {
    const std::vector<SReportColumn>& columns = CReportTables::GetColumns(static_cast<int>(nTable));
    return nColumn < columns.size() && columns[nColumn].eKind == EColumnKind::kState;
}

}  // namespace

double AsNumber(const SFigure& figure) {
    if (const auto* pInt = std::get_if<std::int64_t>(&figure)) {
        return static_cast<double>(*pInt);
    }
    if (const auto* pDouble = std::get_if<double>(&figure)) {
        return *pDouble;
    }
    if (const auto* pBool = std::get_if<bool>(&figure)) {
        return *pBool ? 1.0 : 0.0;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

SStat Summarize(const std::vector<double>& values, double dConfidence) {
    if (values.empty()) {
        return {};
    }
    const SInterval interval = MeanInterval(values, dConfidence);
    SStat stat{interval.dMean, interval.dStdev, interval.dHalfWidth,
               interval.dMean - interval.dHalfWidth, interval.dMean + interval.dHalfWidth, false};
    return stat;
}

SStat SummarizeShare(const std::vector<double>& values, double dConfidence) {
    SStat stat = Summarize(values, dConfidence);
    if (values.empty()) {
        return stat;
    }
    const SShareInterval interval = WilsonInterval(stat.dMean, values.size(), dConfidence);
    stat.bShare = true;
    stat.dCi95 = std::numeric_limits<double>::quiet_NaN();
    stat.dCiLow = interval.dLow;
    stat.dCiHigh = interval.dHigh;
    return stat;
}

std::optional<SSummary> Summarize(const std::vector<SReplication>& replications,
                                  std::uint64_t nShare, double dConfidence) {
    SSummary summary;
    summary.nCount = replications.size();
    if (replications.empty()) {
        return summary;
    }
    const auto over = [&](auto figureOf, bool bShare = false) {
        std::vector<double> values;
        for (const SReplication& replication : replications) {
            values.push_back(figureOf(replication));
        }
        return bShare ? SummarizeShare(values, dConfidence) : Summarize(values, dConfidence);
    };
    summary.modelTime = over([](const SReplication& r) { return double(r.nModelTime); });
    summary.departed = over([](const SReplication& r) { return double(r.nDeparted); });
    const std::vector<SFigureTable>& first = replications[0].tables;
    for (const SReplication& replication : replications) {
        if (replication.tables.size() != first.size()) {
            return std::nullopt;
        }
        for (std::size_t t = 0; t < first.size(); ++t) {
            if (!SameShape(replication.tables[t], first[t])) {
                return std::nullopt;
            }
        }
        if (replication.nDraws > nShare) {
            summary.overdrawn.push_back(replication.nIndex);
        }
    }
    for (std::size_t t = 0; t < first.size(); ++t) {
        const SFigureTable& table = first[t];
        SSummaryTable& out = summary.tables.emplace_back();
        out.strKey = table.strKey;
        out.columns = table.columns;
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            std::vector<SSummaryCell>& row = out.rows.emplace_back();
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                if (c < table.nNameColumns) {
                    row.emplace_back(table.rows[r][c]);
                } else {
                    row.emplace_back(over(
                        [&](const SReplication& replication) {
                            return AsNumber(replication.tables[t].rows[r][c]);
                        },
                        IsShare(t, c)));
                }
            }
        }
    }
    return summary;
}

}  // namespace mardo
