#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <vector>

#include "core/experiment/Replication.h"
#include "core/experiment/Summary.h"

namespace mardo {

// Where one measured figure is in every replication of a model: a cell of a report table, or,
// for the model's own figures (nTable kModelTable), 0 for the model time and 1 for departures.
struct SFigureRef {
    std::size_t nTable = 0;
    std::size_t nRow = 0;
    std::size_t nColumn = 0;
};
inline constexpr std::size_t kModelTable = static_cast<std::size_t>(-1);

// The one flattening of an experiment's figures that every table of them reads: the model
// time, the departures, then each table's measured (not naming) cells, row by row.
std::vector<SFigureRef> FigureRefs(const SReplication& replication);
SFigure FigureOf(const SReplication& replication, const SFigureRef& ref);
const SStat& StatOf(const SSummary& summary, const SFigureRef& ref);
// The keys that name the figure in documents: its table ("model" for the model's own), the
// name of its row's block (empty for the model's) and its column.
struct SFigureName {
    std::string strTable;
    std::string strBlock;
    std::string strFigure;

    // The same figure of the same block in the same table, in any model or point.
    friend auto operator<=>(const SFigureName&, const SFigureName&) = default;
};
SFigureName NameOf(const SReplication& replication, const SFigureRef& ref);

// The summary of a point's replications; they come from one model, so their tables agree.
SSummary PointSummary(const SExperimentRecord& record, const SPointRecord& point);

// The experiment as tidy CSV: a header, then one line per point, replication and figure, and
// after each point's replications one summary line per figure (replication "summary": the
// mean in the value column, then deviation, Student half-width and interval bounds). Every
// line carries the point's settings, the generator, base seed, warm-up and R. Numbers are in
// the shortest form that reads back exactly.
// With comparisons, lines of replication "difference" follow (a comparison of sweep points
// carries the other point's settings): the difference's mean, deviation and half-width and
// its interval's bounds; every line then ends with the compared "model" and the one it is
// compared "against", empty on the other lines.
// The Russian dialect is for spreadsheets that read a comma as the decimal sign: the text
// starts with the UTF-8 byte order mark, fields are separated by ";", and every number (a
// figure, a statistic, a setting's value that is a number) has a decimal comma.
enum class ECsvDialect { kPlain, kRussian };
struct SComparison;
std::string ExperimentCsv(const SExperimentRecord& record);
std::string ExperimentCsv(const SExperimentRecord& record,
                          const std::vector<SComparison>& comparisons,
                          ECsvDialect dialect = ECsvDialect::kPlain);

// A number as the shortest text that reads back as the same number, with a dot whatever the
// locale; empty when it is not finite (the interval of a single replication).
std::string CsvNumber(double d);
// A CSV field: quoted, with its quotes doubled, when it holds the separator, a quote or a line
// break.
std::string CsvField(const std::string& strText, char cSeparator = ',');
// A figure as a CSV field or a text table's cell: a state as 1 (free) or 0 (busy).
std::string FigureText(const SFigure& figure);

}  // namespace mardo
