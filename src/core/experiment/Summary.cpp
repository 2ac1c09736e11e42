#include "core/experiment/Summary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace mardo {

namespace {

// t(0.975) for 1..30 degrees of freedom.
constexpr std::array<double, 30> kSmallDegrees = {
    12.706204736174707, 4.302652729749464,  3.182446305284263,  2.7764451051977934,
    2.570581835636314,  2.4469118511449666, 2.3646242515927853, 2.306004135204168,
    2.2621571628540993, 2.2281388519649385, 2.200985160082949,  2.1788128296634177,
    2.1603686564610127, 2.1447866879169273, 2.131449545559323,  2.1199052992210112,
    2.1098155778331806, 2.10092204024096,   2.093024054408263,  2.0859634472658364,
    2.0796138447276626, 2.0738730679040147, 2.0686576104190406, 2.0638985616280205,
    2.059538552753294,  2.055529438642871,  2.0518305164802833, 2.048407141795244,
    2.045229642132703,  2.0422724563012373};

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

double StudentT975(std::int64_t nDegrees) {
    if (nDegrees <= static_cast<std::int64_t>(kSmallDegrees.size())) {
        return kSmallDegrees[static_cast<std::size_t>(nDegrees - 1)];
    }
    // The Cornish-Fisher expansion around the normal quantile; beyond 30 degrees its error is
    // far below the figures' precision.
    const double z = 1.959963984540054;
    const double v = static_cast<double>(nDegrees);
    const double z2 = z * z;
    return z + z * (z2 + 1) / (4 * v) + z * ((5 * z2 + 16) * z2 + 3) / (96 * v * v) +
           z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * v * v * v) +
           z * ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) / (92160 * v * v * v * v);
}

SStat Summarize(const std::vector<double>& values) {
    const std::size_t n = values.size();
    if (n == 0) {
        return {};
    }
    // Deviations from the first value: equal values give exactly that value and 0.
    const double dFirst = values[0];
    double dSum = 0.0;
    for (const double d : values) {
        dSum += d - dFirst;
    }
    const double dShift = dSum / static_cast<double>(n);
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    SStat stat{dFirst + dShift, kNaN, kNaN, kNaN, kNaN, false};
    if (n < 2) {
        return stat;
    }
    double dSquares = 0.0;
    for (const double d : values) {
        const double dDeviation = d - dFirst - dShift;
        dSquares += dDeviation * dDeviation;
    }
    stat.dStdev = std::sqrt(dSquares / static_cast<double>(n - 1));
    stat.dCi95 = StudentT975(static_cast<std::int64_t>(n) - 1) * stat.dStdev /
                 std::sqrt(static_cast<double>(n));
    stat.dCiLow = stat.dMean - stat.dCi95;
    stat.dCiHigh = stat.dMean + stat.dCi95;
    return stat;
}

SStat SummarizeShare(const std::vector<double>& values) {
    SStat stat = Summarize(values);
    if (values.empty()) {
        return stat;
    }
    const double z = 1.959963984540054;
    const double n = static_cast<double>(values.size());
    const double p = stat.dMean;
    const double dScale = 1.0 + z * z / n;
    const double dCentre = (p + z * z / (2.0 * n)) / dScale;
    const double dHalf = z / dScale * std::sqrt(p * (1.0 - p) / n + z * z / (4.0 * n * n));
    stat.bShare = true;
    stat.dCi95 = std::numeric_limits<double>::quiet_NaN();
    stat.dCiLow = std::max(0.0, dCentre - dHalf);
    stat.dCiHigh = std::min(1.0, dCentre + dHalf);
    return stat;
}

std::optional<SSummary> Summarize(const std::vector<SReplication>& replications,
                                  std::uint64_t nShare) {
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
        return bShare ? SummarizeShare(values) : Summarize(values);
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
