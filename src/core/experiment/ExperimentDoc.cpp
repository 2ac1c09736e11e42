#include "core/experiment/ExperimentDoc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <utility>

#include "core/experiment/FlatFigures.h"
#include "core/experiment/RandStreams.h"
#include "core/experiment/Summary.h"

namespace mardo {

namespace {

// Fields keep the order they are written in.
using CJson = nlohmann::ordered_json;

std::string Dump(const CJson& doc) {
    return doc.dump(2, ' ', false, CJson::error_handler_t::replace) + "\n";
}

// A number as JSON: a whole number as an integer ("0", not "0.0"), one that is not finite as null.
CJson Number(double d) {
    constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
    if (std::isfinite(d) && d == std::trunc(d) && std::abs(d) < kExactIntegers) {
        return static_cast<std::int64_t>(d);
    }
    return std::isfinite(d) ? CJson(d) : CJson(nullptr);
}

CJson FigureJson(const SFigure& figure) {
    return std::visit(
        [](const auto& value) -> CJson {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, double>) {
                return Number(value);
            } else {
                return value;
            }
        },
        figure);
}

template <typename TTable, typename TCellJson>
void PutTables(CJson& object, const std::vector<TTable>& tables, TCellJson cellJson) {
    for (const TTable& table : tables) {
        CJson rows = CJson::array();
        for (const auto& row : table.rows) {
            CJson cells = CJson::object();
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                // A key "a.b" is figure b of the group a ("waitOver": {"10": ...}).
                const std::string& strKey = table.columns[c];
                const std::size_t nDot = strKey.find('.');
                if (nDot == std::string::npos) {
                    cells[strKey] = cellJson(row[c]);
                } else {
                    cells[strKey.substr(0, nDot)][strKey.substr(nDot + 1)] = cellJson(row[c]);
                }
            }
            rows.push_back(std::move(cells));
        }
        object[table.strKey] = std::move(rows);
    }
}

CJson StatJson(const SStat& stat) {
    CJson json = {{keys::kMean, Number(stat.dMean)}, {keys::kStdev, Number(stat.dStdev)}};
    if (stat.bShare) {
        json[keys::kCiLow] = Number(stat.dCiLow);
        json[keys::kCiHigh] = Number(stat.dCiHigh);
    } else {
        json[keys::kCi95] = Number(stat.dCi95);
    }
    return json;
}

CJson ReplicationsJson(const std::vector<SReplication>& replications) {
    CJson array = CJson::array();
    for (const SReplication& replication : replications) {
        CJson json = {{keys::kIndex, replication.nIndex},
                      {keys::kSeed, replication.nSeed},
                      {keys::kDraws, replication.nDraws},
                      {keys::kModelTime, replication.nModelTime},
                      {keys::kDeparted, replication.nDeparted}};
        PutTables(json, replication.tables, FigureJson);
        array.push_back(std::move(json));
    }
    return array;
}

CJson SummaryJson(const SSummary& summary) {
    CJson json = {{keys::kCount, summary.nCount},
                  {keys::kModelTime, StatJson(summary.modelTime)},
                  {keys::kDeparted, StatJson(summary.departed)}};
    PutTables(json, summary.tables, [](const SSummaryCell& cell) {
        const auto* pStat = std::get_if<SStat>(&cell);
        return pStat != nullptr ? StatJson(*pStat) : FigureJson(std::get<SFigure>(cell));
    });
    json[keys::kOverdrawn] = summary.overdrawn;
    return json;
}

CJson DifferenceJson(const SInterval& interval) {
    return {{keys::kMean, Number(interval.dMean)},
            {keys::kStdev, Number(interval.dStdev)},
            {keys::kCi95, Number(interval.dHalfWidth)},
            {"significant", interval.ExcludesZero()}};
}

// The differences in the summary's shape: the model's own figures, then a row per block of
// each table, named as the summary's rows are.
CJson ComparisonJson(const SComparison& comparison) {
    CJson json = CJson::object();
    const auto nameJson = [&](const std::string& strName) {
        return comparison.bPoints ? CJson(std::stoll(strName)) : CJson(strName);
    };
    json[comparison.bPoints ? keys::kPoint : keys::kModel] = nameJson(comparison.strModel);
    json["against"] = nameJson(comparison.strAgainst);
    // The intervals share the 95% among the alternatives: each is at 1 - 0.05 / this.
    json["bonferroni"] = comparison.nComparisons;
    CJson figures = CJson::object();
    for (const SDifference& difference : comparison.differences) {
        const SFigureName& name = difference.name;
        if (name.strBlock.empty()) {
            figures[name.strFigure] = DifferenceJson(difference.interval);
            continue;
        }
        CJson& rows = figures[name.strTable];
        if (rows.is_null()) {
            rows = CJson::array();
        }
        if (rows.empty() || rows.back()["name"] != name.strBlock) {
            rows.push_back({{"name", name.strBlock}});
        }
        rows.back()[name.strFigure] = DifferenceJson(difference.interval);
    }
    json["figures"] = std::move(figures);
    return json;
}

CJson PrecisionJson(const SPrecisionGoal& goal, const SPrecisionOutcome& outcome) {
    CJson shortfalls = CJson::object();
    for (const auto& [strFigure, dShare] : outcome.check.shortfalls) {
        shortfalls[strFigure] = Number(100.0 * dShare);
    }
    return {{"target", Number(goal.dPercent)},
            {"replications", outcome.nReplications},
            {"met", outcome.check.bMet},
            {"deciding", outcome.check.strDeciding},
            {"worst", Number(100.0 * outcome.check.dWorst)},
            {"shortfalls", std::move(shortfalls)}};
}

// The reading of one document; every Need* throws this when the document lacks what it needs.
struct SBadDocument {
    std::string strWhat;
};

const CJson& Need(const CJson& object, const char* pszKey) {
    const auto it = object.find(pszKey);
    if (it == object.end()) {
        throw SBadDocument{std::string("no \"") + pszKey + "\""};
    }
    return *it;
}

// A whole number in nMin..nMax, however it is spelled (7500, 7.5e3).
std::int64_t WholeNumber(const CJson& value, const std::string& strWhat, std::int64_t nMin,
                         std::int64_t nMax) {
    if (value.is_number_integer()) {
        const bool bInRange = value.is_number_unsigned()
                                  ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(nMax)
                                  : value.get<std::int64_t>() <= nMax;
        if (bInRange && value.get<std::int64_t>() >= nMin) {
            return value.get<std::int64_t>();
        }
    } else if (value.is_number_float()) {
        const double d = value.get<double>();
        if (d == std::trunc(d) && d >= static_cast<double>(nMin) && d <= static_cast<double>(nMax)) {
            return static_cast<std::int64_t>(d);
        }
    }
    throw SBadDocument{"\"" + strWhat + "\" is not a whole number in " + std::to_string(nMin) +
                       ".." + std::to_string(nMax)};
}

std::int64_t NeedInt(const CJson& object, const char* pszKey, std::int64_t nMin, std::int64_t nMax) {
    return WholeNumber(Need(object, pszKey), pszKey, nMin, nMax);
}

std::string NeedText(const CJson& value, const std::string& strWhat) {
    if (!value.is_string()) {
        throw SBadDocument{"\"" + strWhat + "\" is not a text"};
    }
    return value.get<std::string>();
}

// A cell of a report table, checked against its column's range.
SFigure ReadFigure(const CJson& value, const SReportColumn& column, const std::string& strWhat) {
    constexpr std::int64_t kMostCount = UINT32_MAX;
    switch (column.eKind) {
        case EColumnKind::kNumber:
            return WholeNumber(value, strWhat, 1, INT32_MAX);
        case EColumnKind::kText:
            return NeedText(value, strWhat);
        case EColumnKind::kCount:
            return WholeNumber(value, strWhat, 0, kMostCount);
        case EColumnKind::kState:
            if (!value.is_boolean()) {
                throw SBadDocument{"\"" + strWhat + "\" is not true or false"};
            }
            return value.get<bool>();
        case EColumnKind::kFraction:
        case EColumnKind::kQuotient:
            break;
    }
    const double dMost = column.eKind == EColumnKind::kFraction
                             ? 1.0
                             : static_cast<double>(std::numeric_limits<std::uint32_t>::max());
    if (!value.is_number() || !(value.get<double>() >= 0.0 && value.get<double>() <= dMost)) {
        throw SBadDocument{"\"" + strWhat + "\" is not a number in 0.." +
                           (column.eKind == EColumnKind::kFraction ? "1" : "4294967295")};
    }
    return value.get<double>();
}

SReplication ReadReplication(const CJson& object) {
    if (!object.is_object()) {
        throw SBadDocument{"a replication that is not an object"};
    }
    SReplication replication;
    replication.nIndex =
        static_cast<std::int32_t>(NeedInt(object, keys::kIndex, 0, kMostReplications - 1));
    replication.nSeed = static_cast<std::uint32_t>(NeedInt(object, keys::kSeed, 0, UINT32_MAX));
    replication.nDraws = static_cast<std::uint32_t>(NeedInt(object, keys::kDraws, 0, UINT32_MAX));
    replication.nModelTime =
        static_cast<std::uint32_t>(NeedInt(object, keys::kModelTime, 0, UINT32_MAX));
    replication.nDeparted =
        static_cast<std::uint32_t>(NeedInt(object, keys::kDeparted, 0, UINT32_MAX));
    replication.tables = ReportFigures(nullptr);
    for (std::size_t t = 0; t < replication.tables.size(); ++t) {
        SFigureTable& table = replication.tables[t];
        const std::vector<SReportColumn>& columns =
            CReportTables::GetColumns(static_cast<int>(t));
        if (t == CReportTables::kChannels && !object.contains(table.strKey)) {
            continue;  // written before devices had channels
        }
        const CJson& rows = Need(object, table.strKey.c_str());
        if (!rows.is_array()) {
            throw SBadDocument{"\"" + table.strKey + "\" is not an array"};
        }
        for (const CJson& row : rows) {
            if (!row.is_object()) {
                throw SBadDocument{"a row of \"" + table.strKey + "\" that is not an object"};
            }
            std::vector<SFigure>& figures = table.rows.emplace_back();
            for (const SReportColumn& column : columns) {
                const std::string strWhat = table.strKey + "." + column.pszKey;
                figures.push_back(ReadFigure(Need(row, column.pszKey), column, strWhat));
            }
        }
    }
    return replication;
}

std::vector<SReplication> ReadReplications(const CJson& object) {
    const CJson& items = Need(object, keys::kReplications);
    if (!items.is_array()) {
        throw SBadDocument{"\"replications\" is not an array"};
    }
    std::vector<SReplication> replications;
    for (const CJson& item : items) {
        replications.push_back(ReadReplication(item));
    }
    return replications;
}

std::string PointKey(const std::vector<SSetting>& settings) {
    std::string strKey;
    for (const SSetting& setting : settings) {
        strKey += setting.strTarget + '=' + setting.strValue + '\n';
    }
    return strKey;
}

// The cells that name the rows of every table: which blocks the replication reports on.
std::vector<std::vector<SFigure>> BlockNames(const SReplication& replication) {
    std::vector<std::vector<SFigure>> names;
    for (const SFigureTable& table : replication.tables) {
        for (const std::vector<SFigure>& row : table.rows) {
            names.emplace_back(row.begin(),
                               row.begin() + static_cast<std::ptrdiff_t>(table.nNameColumns));
        }
    }
    return names;
}

// The seed the experiment gives a replication: the exact generator's state jumped along its
// sequence, or the streams' base seed.
std::uint32_t ExpectedSeed(const SExperimentRecord& record, std::int32_t nIndex) {
    return record.generator == EGenerator::kExact
               ? ReplicationSeed(record.nSeed, nIndex, record.nReplicationCount)
               : record.nSeed;
}

}  // namespace

std::string WriteSimulationDoc(const SSimulationDoc& doc) {
    CJson json = {{keys::kModel, doc.strModel}, {"check", doc.bPassed ? "passed" : "failed"}};
    // A document that names no generator was made by the exact one, as every document before
    // the streams was.
    if (doc.generator != EGenerator::kExact) {
        json[keys::kGenerator] = GeneratorName(doc.generator);
    }
    CJson messages = CJson::array();
    for (const CMessageQueue::SLine& line : doc.lines) {
        messages.push_back({{"kind", line.nKind}, {"timed", line.bWithTime}, {"text", line.strText}});
    }
    json["messages"] = std::move(messages);
    json[keys::kModelTime] = doc.nModelTime;
    json[keys::kDeparted] = doc.nDeparted;
    PutTables(json, doc.tables, FigureJson);
    return Dump(json);
}

void WriteExperimentDoc(const SExperimentRecord& record, std::ostream& out,
                        const SExperimentFindings& findings) {
    // The replications are the bulk of the document, and a tree of all of them would take many
    // times their text: the document is dumped with a mark where each point's replications go,
    // and they are dumped there one at a time.
    const auto mark = [](std::size_t p) {
        return "\"" + std::string(keys::kReplications) + "\": " +
               CJson("\x01" + std::to_string(p)).dump();
    };
    CJson json = {{keys::kModel, record.strModel},
                  {keys::kGenerator, GeneratorName(record.generator)},
                  {keys::kSeed, record.nSeed},
                  {keys::kReplicationCount, record.nReplicationCount},
                  {keys::kWarmup, record.nWarmup}};
    if (findings.warmup) {
        json["warmupAuto"] = {{"ticks", findings.warmup->nTicks},
                              {"series", findings.warmup->strSeries},
                              {"steady", findings.warmup->bSteady}};
    }
    CJson points = CJson::array();
    for (std::size_t p = 0; p < record.points.size(); ++p) {
        const SPointRecord& point = record.points[p];
        CJson pointJson = CJson::object();
        if (record.bSwept) {
            pointJson[keys::kIndex] = p;
            CJson set = CJson::object();
            for (const SSetting& setting : point.settings) {
                set[setting.strTarget] = setting.strValue;
            }
            pointJson[keys::kSet] = std::move(set);
        }
        pointJson[keys::kReplications] = "\x01" + std::to_string(p);
        pointJson[keys::kSummary] = SummaryJson(PointSummary(record, point));
        points.push_back(std::move(pointJson));
    }
    if (record.bSwept) {
        json[keys::kPoints] = std::move(points);
    } else if (!points.empty()) {
        json.update(points[0]);
    }
    if (findings.precisionGoal) {
        json["precision"] = PrecisionJson(*findings.precisionGoal, findings.precision);
    }
    if (!findings.comparisons.empty()) {
        CJson comparisons = CJson::array();
        for (const SComparison& comparison : findings.comparisons) {
            comparisons.push_back(ComparisonJson(comparison));
        }
        json["comparisons"] = std::move(comparisons);
    }
    const std::string strText = Dump(json);
    std::size_t nDone = 0;
    for (std::size_t p = 0; p < record.points.size(); ++p) {
        const std::string strMark = mark(p);
        const std::size_t nAt = strText.find(strMark, nDone);
        const std::size_t nLine = strText.rfind('\n', nAt) + 1;
        const std::string strIndent(nAt - nLine + 2, ' ');
        out.write(strText.data() + nDone, static_cast<std::streamsize>(nAt - nDone));
        out << "\"" << keys::kReplications << "\": [";
        const std::vector<SReplication>& replications = record.points[p].replications;
        for (std::size_t r = 0; r < replications.size(); ++r) {
            std::string strItem = Dump(ReplicationsJson({replications[r]})[0]);
            strItem.pop_back();  // its line break
            out << (r == 0 ? "\n" : ",\n") << strIndent;
            for (const char ch : strItem) {
                out << ch;
                if (ch == '\n') {
                    out << strIndent;
                }
            }
        }
        out << (replications.empty() ? "]" : "\n" + strIndent.substr(2) + "]");
        nDone = nAt + strMark.size();
    }
    out.write(strText.data() + nDone, static_cast<std::streamsize>(strText.size() - nDone));
}

std::optional<SExperimentRecord> ReadExperimentDoc(const std::string& strText,
                                                   std::string& strError) {
    const CJson root = CJson::parse(strText, nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        strError = "not a JSON document";
        return std::nullopt;
    }
    try {
        SExperimentRecord record;
        record.strModel = NeedText(Need(root, keys::kModel), keys::kModel);
        // Documents written before there was a choice of generator were made by the exact one.
        if (const auto it = root.find(keys::kGenerator); it != root.end()) {
            const std::optional<EGenerator> generator =
                it->is_string() ? ParseGenerator(it->get<std::string>()) : std::nullopt;
            if (!generator) {
                throw SBadDocument{"\"generator\" is neither \"exact\" nor \"streams\""};
            }
            record.generator = *generator;
        }
        record.nSeed = static_cast<std::uint32_t>(NeedInt(root, keys::kSeed, 0, UINT32_MAX));
        record.nReplicationCount = static_cast<std::int32_t>(
            NeedInt(root, keys::kReplicationCount, 1, kMostReplications));
        record.nWarmup = static_cast<std::uint32_t>(NeedInt(root, keys::kWarmup, 0, UINT32_MAX - 1));
        record.bSwept = root.contains(keys::kPoints);
        if (!record.bSwept) {
            record.points.push_back({{}, ReadReplications(root)});
        } else {
            const CJson& points = Need(root, keys::kPoints);
            if (!points.is_array()) {
                throw SBadDocument{"\"points\" is not an array"};
            }
            for (const CJson& item : points) {
                SPointRecord& point = record.points.emplace_back();
                const CJson& set = item.is_object() ? Need(item, keys::kSet) : item;
                if (!set.is_object()) {
                    throw SBadDocument{"a point without its settings"};
                }
                for (const auto& [strTarget, value] : set.items()) {
                    point.settings.push_back({strTarget, NeedText(value, strTarget)});
                }
                point.replications = ReadReplications(item);
            }
        }
        for (const SPointRecord& point : record.points) {
            for (const SReplication& replication : point.replications) {
                if (replication.nIndex >= record.nReplicationCount) {
                    throw SBadDocument{"a replication beyond \"replicationCount\""};
                }
            }
        }
        return record;
    } catch (const SBadDocument& bad) {
        strError = bad.strWhat;
        return std::nullopt;
    }
}

std::optional<SExperimentRecord> MergeExperimentDocs(const std::vector<SExperimentRecord>& docs,
                                                     std::string& strError) {
    if (docs.empty()) {
        strError = "no documents";
        return std::nullopt;
    }
    SExperimentRecord merged = docs[0];
    for (SPointRecord& point : merged.points) {
        point.replications.clear();
    }
    std::map<std::string, std::size_t> pointOf;
    for (std::size_t p = 0; p < merged.points.size(); ++p) {
        pointOf.emplace(PointKey(merged.points[p].settings), p);
    }
    for (const SExperimentRecord& doc : docs) {
        if (doc.generator != merged.generator) {
            strError = std::string("the documents were made by different generators (") +
                       GeneratorName(merged.generator) + ", " + GeneratorName(doc.generator) + ")";
            return std::nullopt;
        }
        if (doc.strModel != merged.strModel || doc.nSeed != merged.nSeed ||
            doc.nReplicationCount != merged.nReplicationCount || doc.nWarmup != merged.nWarmup ||
            doc.bSwept != merged.bSwept || doc.points.size() != merged.points.size()) {
            strError = "the documents come from different experiments (model, seed, "
                       "replicationCount, warmup or points differ)";
            return std::nullopt;
        }
        for (const SPointRecord& point : doc.points) {
            const auto it = pointOf.find(PointKey(point.settings));
            if (it == pointOf.end()) {
                strError = "the documents come from different experiments (points differ)";
                return std::nullopt;
            }
            std::vector<SReplication>& replications = merged.points[it->second].replications;
            replications.insert(replications.end(), point.replications.begin(),
                                point.replications.end());
        }
    }
    std::optional<std::vector<std::vector<SFigure>>> blocks;
    for (SPointRecord& point : merged.points) {
        std::vector<SReplication>& replications = point.replications;
        std::stable_sort(replications.begin(), replications.end(),
                         [](const SReplication& a, const SReplication& b) {
                             return a.nIndex < b.nIndex;
                         });
        const auto twice = std::adjacent_find(replications.begin(), replications.end(),
                                              [](const SReplication& a, const SReplication& b) {
                                                  return a.nIndex == b.nIndex;
                                              });
        if (twice != replications.end()) {
            strError = "replication " + std::to_string(twice->nIndex) + " is given twice";
            return std::nullopt;
        }
        for (const SReplication& replication : replications) {
            const std::uint32_t nSeed = ExpectedSeed(merged, replication.nIndex);
            if (nSeed != replication.nSeed) {
                strError = "replication " + std::to_string(replication.nIndex) + " has seed " +
                           std::to_string(replication.nSeed) + ", not the experiment's " +
                           std::to_string(nSeed);
                return std::nullopt;
            }
            // A sweep changes parameters, never which blocks there are.
            const std::vector<std::vector<SFigure>> names = BlockNames(replication);
            if (blocks && *blocks != names) {
                strError = "the replications name different blocks (not one model)";
                return std::nullopt;
            }
            blocks = names;
        }
        if (!Summarize(replications, 0)) {
            strError = "the replications' tables differ (not one model)";
            return std::nullopt;
        }
    }
    return merged;
}

}  // namespace mardo
