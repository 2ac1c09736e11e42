#include "cli/ExperimentReport.h"

#include <cmath>
#include <ostream>

#include "cli/JsonText.h"
#include "cli/TextTable.h"
#include "core/experiment/Series.h"
#include "core/experiment/RandStreams.h"
#include "core/experiment/Summary.h"
#include "core/report/ReportTables.h"

namespace mardo::cli {

namespace {

SSummary SummaryOf(const SExperimentRecord& record, const SPointRecord& point) {
    // Records are read or made from one model, so their tables agree.
    return Summarize(point.replications,
                     ReplicationShare(record.generator, record.nReplicationCount))
        .value_or(SSummary{});
}

void AppendStat(CJsonText& json, const char* pszKey, const SStat& stat) {
    json.BeginObject(pszKey);
    json.Field(keys::kMean, stat.dMean);
    json.Field(keys::kStdev, stat.dStdev);
    json.Field(keys::kCi95, stat.dCi95);
    json.EndObject();
}

void AppendReplications(CJsonText& json, const std::vector<SReplication>& replications) {
    json.BeginArray(keys::kReplications);
    for (const SReplication& replication : replications) {
        json.BeginObject();
        json.Field(keys::kIndex, std::int64_t{replication.nIndex});
        json.Field(keys::kSeed, std::int64_t{replication.nSeed});
        json.Field(keys::kDraws, std::int64_t{replication.nDraws});
        json.Field(keys::kModelTime, std::int64_t{replication.nModelTime});
        json.Field(keys::kDeparted, std::int64_t{replication.nDeparted});
        AppendFigures(json, replication.tables);
        json.EndObject();
    }
    json.EndArray();
}

void AppendSummary(CJsonText& json, const SSummary& summary) {
    json.BeginObject(keys::kSummary);
    json.Field(keys::kCount, static_cast<std::int64_t>(summary.nCount));
    AppendStat(json, keys::kModelTime, summary.modelTime);
    AppendStat(json, keys::kDeparted, summary.departed);
    for (const SSummaryTable& table : summary.tables) {
        json.BeginArray(table.strKey.c_str());
        for (const auto& row : table.rows) {
            json.BeginObject();
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                const char* pszColumn = table.columns[c].c_str();
                if (const auto* pStat = std::get_if<SStat>(&row[c])) {
                    AppendStat(json, pszColumn, *pStat);
                } else {
                    json.Field(pszColumn, std::get<SFigure>(row[c]));
                }
            }
            json.EndObject();
        }
        json.EndArray();
    }
    json.BeginArray(keys::kOverdrawn);
    for (const std::int32_t nIndex : summary.overdrawn) {
        json.Field(nullptr, std::int64_t{nIndex});
    }
    json.EndArray();
    json.EndObject();
}

std::string SettingsText(const std::vector<SSetting>& settings) {
    std::string strText;
    for (const SSetting& setting : settings) {
        strText += (strText.empty() ? "" : ", ") + setting.strTarget + "=" + setting.strValue;
    }
    return strText;
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
    return CJsonText::Number(std::get<double>(figure));
}

// "mean ± ci95", or the mean alone where there is no interval (a single replication).
std::string StatText(const SStat& stat) {
    std::string strText = CReportTables::FormatFixed(stat.dMean, 3);
    if (std::isfinite(stat.dCi95)) {
        strText += " ± " + CReportTables::FormatFixed(stat.dCi95, 3);
    }
    return strText;
}

void WriteSummaryText(const SExperimentRecord& record, const SSummary& summary,
                      std::ostream& out) {
    out << "Сводка по " << summary.nCount << " прогонам: среднее ± полуширина 95% "
        << "доверительного интервала\n"
        << "Время моделирования: " << StatText(summary.modelTime) << '\n'
        << "Количество транзактов, вышедших из системы: " << StatText(summary.departed) << '\n';
    for (std::size_t t = 0; t < summary.tables.size(); ++t) {
        const SSummaryTable& table = summary.tables[t];
        if (table.rows.empty()) {
            continue;
        }
        const auto nTable = static_cast<int>(t);
        const std::vector<std::string>& titles = CReportTables::GetColumnTitles(nTable);
        std::vector<bool> leftAligned(titles.size(), false);
        std::vector<std::vector<std::string>> cells;
        for (const auto& row : table.rows) {
            std::vector<std::string>& line = cells.emplace_back();
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (const auto* pStat = std::get_if<SStat>(&row[c])) {
                    line.push_back(StatText(*pStat));
                } else {
                    const SFigure& figure = std::get<SFigure>(row[c]);
                    leftAligned[c] = std::holds_alternative<std::string>(figure);
                    line.push_back(FigureText(figure));
                }
            }
        }
        out << '\n' << CReportTables::GetTitle(nTable) << '\n'
            << FormatTextTable(titles, cells, leftAligned);
    }
    if (!summary.overdrawn.empty()) {
        out << "\nВнимание: прогоны";
        for (const std::int32_t nIndex : summary.overdrawn) {
            out << ' ' << nIndex;
        }
        out << " взяли у генератора больше " << ReplicationShare(record.nReplicationCount)
            << " чисел, своей доли его цикла; их последовательности могут перекрываться с "
               "последовательностями следующих прогонов.\n";
    }
}

// The figures of a replication, or of a summary, in the CSV's column order: model time,
// departures, then every summarized cell of every table row by row.
template <typename TCell, typename TEach>
void ForEachFigure(const std::vector<TCell>& tables, TEach each) {
    for (const auto& table : tables) {
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                each(table, r, c);
            }
        }
    }
}

}  // namespace

void AppendFigures(CJsonText& json, const std::vector<SFigureTable>& tables) {
    for (const SFigureTable& table : tables) {
        json.BeginArray(table.strKey.c_str());
        for (const auto& row : table.rows) {
            json.BeginObject();
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                json.Field(table.columns[c].c_str(), row[c]);
            }
            json.EndObject();
        }
        json.EndArray();
    }
}

void WriteExperimentJson(const SExperimentRecord& record, std::ostream& out) {
    CJsonText json;
    json.BeginObject();
    json.Field(keys::kModel, record.strModel);
    json.Field(keys::kSeed, std::int64_t{record.nSeed});
    json.Field(keys::kGenerator, GeneratorName(record.generator));
    json.Field(keys::kReplicationCount, std::int64_t{record.nReplicationCount});
    json.Field(keys::kWarmup, std::int64_t{record.nWarmup});
    if (record.bSwept) {
        json.BeginArray(keys::kPoints);
    }
    for (std::size_t p = 0; p < record.points.size(); ++p) {
        const SPointRecord& point = record.points[p];
        if (record.bSwept) {
            json.BeginObject();
            json.Field(keys::kIndex, static_cast<std::int64_t>(p));
            json.BeginObject(keys::kSet);
            for (const SSetting& setting : point.settings) {
                json.Field(setting.strTarget.c_str(), setting.strValue);
            }
            json.EndObject();
        }
        AppendReplications(json, point.replications);
        AppendSummary(json, SummaryOf(record, point));
        if (record.bSwept) {
            json.EndObject();
        }
    }
    if (record.bSwept) {
        json.EndArray();
    }
    json.EndObject();
    out << json.GetText() << '\n';
}

void WriteExperimentText(const SExperimentRecord& record, std::ostream& out) {
    out << "Модель: " << record.strModel << "; прогонов: " << record.nReplicationCount
        << (record.generator == EGenerator::kExact
                ? "; генератор: точный; начальное состояние генератора: "
                : "; генератор: потоки; начальное значение потоков: ")
        << record.nSeed
        << "; разогрев: " << record.nWarmup << " тактов\n";
    for (std::size_t p = 0; p < record.points.size(); ++p) {
        const SPointRecord& point = record.points[p];
        if (record.bSwept) {
            out << "\nТочка " << p << ": " << SettingsText(point.settings) << '\n';
        }
        // The streams' replications need no seed of their own: the base seed and the index
        // reproduce each.
        for (const SReplication& replication : point.replications) {
            if (record.generator == EGenerator::kExact) {
                out << "Прогон " << replication.nIndex << ": состояние генератора "
                    << replication.nSeed << '\n';
            }
        }
        out << '\n';
        WriteSummaryText(record, SummaryOf(record, point), out);
    }
}

std::string FormatExperimentCsv(const SExperimentRecord& record) {
    if (record.points.empty() || record.points[0].replications.empty()) {
        return {};
    }
    std::string strOut;
    const auto line = [&strOut](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            strOut += (i == 0 ? "" : ",") + CsvField(fields[i]);
        }
        strOut += '\n';
    };
    // The header: the settings' targets, then every figure with its summary's two columns.
    std::vector<std::string> header;
    for (const SSetting& setting : record.points[0].settings) {
        header.push_back(setting.strTarget);
    }
    header.insert(header.end(), {"replication", "seed", keys::kGenerator});
    std::vector<std::string> figures{keys::kModelTime, keys::kDeparted};
    ForEachFigure(record.points[0].replications[0].tables,
                  [&](const SFigureTable& table, std::size_t r, std::size_t c) {
                      if (c >= table.nNameColumns) {
                          figures.push_back(table.strKey + "." +
                                            FigureText(table.rows[r][1]) + "." + table.columns[c]);
                      }
                  });
    for (const std::string& strFigure : figures) {
        header.insert(header.end(), {strFigure, strFigure + "." + keys::kStdev,
                                     strFigure + "." + keys::kCi95});
    }
    line(header);
    for (const SPointRecord& point : record.points) {
        std::vector<std::string> settings;
        for (const SSetting& setting : point.settings) {
            settings.push_back(setting.strValue);
        }
        for (const SReplication& replication : point.replications) {
            std::vector<std::string> fields = settings;
            fields.push_back(std::to_string(replication.nIndex));
            fields.push_back(std::to_string(replication.nSeed));
            fields.push_back(GeneratorName(record.generator));
            const auto add = [&fields](const std::string& strValue) {
                fields.insert(fields.end(), {strValue, "", ""});
            };
            add(std::to_string(replication.nModelTime));
            add(std::to_string(replication.nDeparted));
            ForEachFigure(replication.tables,
                          [&](const SFigureTable& table, std::size_t r, std::size_t c) {
                              if (c >= table.nNameColumns) {
                                  add(FigureText(table.rows[r][c]));
                              }
                          });
            line(fields);
        }
        std::vector<std::string> fields = settings;
        fields.insert(fields.end(), {keys::kSummary, "", GeneratorName(record.generator)});
        // A deviation or an interval that is no number (one replication) stays empty.
        const auto add = [&](const SStat& stat) {
            fields.insert(fields.end(),
                          {CsvNumber(stat.dMean), CsvNumber(stat.dStdev), CsvNumber(stat.dCi95)});
        };
        const SSummary summary = SummaryOf(record, point);
        add(summary.modelTime);
        add(summary.departed);
        ForEachFigure(summary.tables, [&](const SSummaryTable& table, std::size_t r, std::size_t c) {
            if (const auto* pStat = std::get_if<SStat>(&table.rows[r][c])) {
                add(*pStat);
            }
        });
        line(fields);
    }
    return strOut;
}

}  // namespace mardo::cli
