#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/experiment/Replication.h"
#include "core/experiment/Summary.h"

namespace mardo {

// The values of a varied parameter given as a list separated by commas (blanks around an item
// dropped, empty items skipped).
std::vector<std::string> ListValues(const std::string& strText);
// The whole numbers from nFrom to nTo by nStep, or nothing when the step is not positive, the
// range is reversed or it holds more than nMost values.
std::optional<std::vector<std::string>> RangeValues(std::int64_t nFrom, std::int64_t nTo,
                                                    std::int64_t nStep, std::size_t nMost);

// Whether every value of the sweep applies to the model (tried on a copy): why the first that
// does not cannot, or an empty text; that value goes into pRefused, if given.
std::string CheckSweep(const CModel& model, const SSweep& sweep,
                       std::string* pRefused = nullptr);

// One figure of one device, queue or of the model at one point of a series, summarized over
// the point's replications.
struct SSeriesRow {
    std::size_t nPoint = 0;
    std::string strValue;   // the varied parameter's value; empty when nothing varies
    std::string strObject;  // "Устройство D1", "Очередь Q1" or "Модель"
    std::string strFigure;  // the figure's title as the report names it
    SStat stat;
    // Where the figure is in each replication: a table, row and column of its figures, or, for
    // the model's own figures (table kModelTable), 0 for the model time and 1 for departures.
    std::size_t nTable = 0;
    std::size_t nRow = 0;
    std::size_t nColumn = 0;
};
inline constexpr std::size_t kModelTable = static_cast<std::size_t>(-1);

// Every row of a series' points, point by point: the model's figures, then each device's and
// each queue's.
std::vector<SSeriesRow> SeriesRows(const std::vector<SPointRecord>& points,
                                   std::int32_t nReplicationCount);
// The row's figure in each replication of its point.
std::vector<double> ReplicationValues(const SPointRecord& point, const SSeriesRow& row);

// A number as the shortest text that reads back as the same number, with a dot whatever the
// locale; empty when it is not finite (the interval of a single replication).
std::string CsvNumber(double d);
// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& strText);
// The rows as CSV: a header, then one line per row (the value column only when something
// varies), numbers with a dot.
std::string SeriesCsv(const std::vector<SSeriesRow>& rows, const std::string& strParameter);

// "k из n", and once something is done, an estimate of the time left from the time spent.
std::string ProgressText(std::size_t nDone, std::size_t nTotal, double dElapsedSeconds);

}  // namespace mardo
