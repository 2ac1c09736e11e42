#include "core/experiment/FlatFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/experiment/Comparison.h"
#include "core/experiment/RandStreams.h"

namespace mardo {

std::vector<SFigureRef> FigureRefs(const SReplication& replication) {
    std::vector<SFigureRef> refs{{kModelTable, 0, 0}, {kModelTable, 0, 1}};
    for (std::size_t t = 0; t < replication.tables.size(); ++t) {
        const SFigureTable& table = replication.tables[t];
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            for (std::size_t c = table.nNameColumns; c < table.columns.size(); ++c) {
                refs.push_back({t, r, c});
            }
        }
    }
    return refs;
}

SFigure FigureOf(const SReplication& replication, const SFigureRef& ref) {
    if (ref.nTable == kModelTable) {
        return std::int64_t{ref.nColumn == 0 ? replication.nModelTime : replication.nDeparted};
    }
    return replication.tables.at(ref.nTable).rows.at(ref.nRow).at(ref.nColumn);
}

const SStat& StatOf(const SSummary& summary, const SFigureRef& ref) {
    if (ref.nTable == kModelTable) {
        return ref.nColumn == 0 ? summary.modelTime : summary.departed;
    }
    return std::get<SStat>(summary.tables.at(ref.nTable).rows.at(ref.nRow).at(ref.nColumn));
}

SFigureName NameOf(const SReplication& replication, const SFigureRef& ref) {
    if (ref.nTable == kModelTable) {
        return {keys::kModel, "", ref.nColumn == 0 ? keys::kModelTime : keys::kDeparted};
    }
    const SFigureTable& table = replication.tables.at(ref.nTable);
    // The name is the last naming column (the number, then the name, then perhaps the kind).
    const SFigure& name = table.rows.at(ref.nRow).at(std::min<std::size_t>(1, table.nNameColumns - 1));
    return {table.strKey, FigureText(name), table.columns.at(ref.nColumn)};
}

SSummary PointSummary(const SExperimentRecord& record, const SPointRecord& point) {
    return Summarize(point.replications, ReplicationShare(record.generator, record.nReplicationCount))
        .value_or(SSummary{});
}

std::string CsvNumber(double d) {
    if (!std::isfinite(d)) {
        return {};
    }
    char sz[64];
    const auto result = std::to_chars(sz, sz + sizeof sz, d);
    return std::string(sz, result.ptr);
}

std::string CsvField(const std::string& strText, char cSeparator) {
    if (strText.find_first_of(std::string(1, cSeparator) + "\"\n\r") == std::string::npos) {
        return strText;
    }
    std::string strQuoted = "\"";
    for (const char c : strText) {
        strQuoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return strQuoted + '"';
}

std::string FigureText(const SFigure& figure) {
    if (const auto* pText = std::get_if<std::string>(&figure)) {
        return *pText;
    }
    if (const auto* pInt = std::get_if<std::int64_t>(&figure)) {
        return std::to_string(*pInt);
    }
    if (const auto* pBool = std::get_if<bool>(&figure)) {
        return *pBool ? "1" : "0";
    }
    return CsvNumber(std::get<double>(figure));
}

std::string ExperimentCsv(const SExperimentRecord& record) { return ExperimentCsv(record, {}); }

namespace {

// A number's text with a decimal comma; any other text as it is.
std::string WithDecimalComma(std::string strText) {
    double d = 0.0;
    const char* pEnd = strText.data() + strText.size();
    const auto result = std::from_chars(strText.data(), pEnd, d);
    if (result.ec == std::errc() && result.ptr == pEnd) {
        std::replace(strText.begin(), strText.end(), '.', ',');
    }
    return strText;
}

}  // namespace

std::string ExperimentCsv(const SExperimentRecord& record,
                          const std::vector<SComparison>& comparisons, ECsvDialect dialect) {
    const bool bRussian = dialect == ECsvDialect::kRussian;
    const char cSeparator = bRussian ? ';' : ',';
    std::string strOut = bRussian ? "\xEF\xBB\xBF" : "";
    // The columns that name (the header, the kind of line, the table, block and figure, the
    // models compared) keep their texts; the others hold numbers.
    const std::size_t nSettings = record.points.empty() ? 0 : record.points[0].settings.size();
    const auto isName = [&nSettings](std::size_t i) {
        return i == nSettings || (i >= nSettings + 4 && i <= nSettings + 8 && i != nSettings + 5) ||
               i >= nSettings + 14;
    };
    bool bHeader = true;
    const auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const bool bNumber = bRussian && !bHeader && !isName(i);
            strOut += (i == 0 ? "" : std::string(1, cSeparator)) +
                      CsvField(bNumber ? WithDecimalComma(fields[i]) : fields[i], cSeparator);
        }
        strOut += '\n';
        bHeader = false;
    };
    // Without comparisons the lines keep the columns they always had.
    const std::vector<std::string> notCompared(comparisons.empty() ? 0 : 2);
    std::vector<std::string> header;
    if (!record.points.empty()) {
        for (const SSetting& setting : record.points[0].settings) {
            header.push_back(setting.strTarget);
        }
    }
    header.insert(header.end(), {keys::kGenerator, "baseSeed", keys::kWarmup, "R",
                                 "replication", keys::kSeed, "table", "block", "figure", "value",
                                 keys::kStdev, keys::kCi95, keys::kCiLow, keys::kCiHigh});
    if (!comparisons.empty()) {
        header.insert(header.end(), {keys::kModel, "against"});
    }
    line(header);
    const auto leadOf = [&record](const SPointRecord& point) {
        std::vector<std::string> lead;
        for (const SSetting& setting : point.settings) {
            lead.push_back(setting.strValue);
        }
        lead.insert(lead.end(), {GeneratorName(record.generator), std::to_string(record.nSeed),
                                 std::to_string(record.nWarmup),
                                 std::to_string(record.nReplicationCount)});
        return lead;
    };
    for (const SPointRecord& point : record.points) {
        if (point.replications.empty()) {
            continue;
        }
        const std::vector<std::string> lead = leadOf(point);
        const SReplication& first = point.replications[0];
        const std::vector<SFigureRef> refs = FigureRefs(first);
        const auto add = [&](const std::string& strReplication, const std::string& strSeed,
                             const SFigureRef& ref, std::vector<std::string> values) {
            std::vector<std::string> fields = lead;
            const SFigureName name = NameOf(first, ref);
            fields.insert(fields.end(), {strReplication, strSeed, name.strTable, name.strBlock,
                                         name.strFigure});
            fields.insert(fields.end(), values.begin(), values.end());
            fields.insert(fields.end(), notCompared.begin(), notCompared.end());
            line(fields);
        };
        for (const SReplication& replication : point.replications) {
            for (const SFigureRef& ref : refs) {
                add(std::to_string(replication.nIndex), std::to_string(replication.nSeed), ref,
                    {FigureText(FigureOf(replication, ref)), "", "", "", ""});
            }
        }
        const SSummary summary = PointSummary(record, point);
        for (const SFigureRef& ref : refs) {
            const SStat& stat = StatOf(summary, ref);
            add(keys::kSummary, "", ref,
                {CsvNumber(stat.dMean), CsvNumber(stat.dStdev), CsvNumber(stat.dCi95),
                 CsvNumber(stat.dCiLow), CsvNumber(stat.dCiHigh)});
        }
    }
    for (const SComparison& comparison : comparisons) {
        const std::size_t nPoint = comparison.bPoints ? std::stoul(comparison.strModel) : 0;
        if (nPoint >= record.points.size()) {
            continue;
        }
        const std::vector<std::string> lead = leadOf(record.points[nPoint]);
        for (const SDifference& difference : comparison.differences) {
            const SInterval& interval = difference.interval;
            std::vector<std::string> fields = lead;
            fields.insert(fields.end(),
                          {"difference", "", difference.name.strTable, difference.name.strBlock,
                           difference.name.strFigure, CsvNumber(interval.dMean),
                           CsvNumber(interval.dStdev), CsvNumber(interval.dHalfWidth),
                           CsvNumber(interval.dMean - interval.dHalfWidth),
                           CsvNumber(interval.dMean + interval.dHalfWidth), comparison.strModel,
                           comparison.strAgainst});
            line(fields);
        }
    }
    return strOut;
}

}  // namespace mardo
