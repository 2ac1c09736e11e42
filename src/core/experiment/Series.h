#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/experiment/FlatFigures.h"
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
    // Where the figure is in each replication (see SFigureRef).
    std::size_t nTable = 0;
    std::size_t nRow = 0;
    std::size_t nColumn = 0;
};

// Every row of a series' points, point by point: the model's figures, then each device's, each
// queue's (with the waiting times, when recorded) and the channels of devices with several; the
// intervals at the confidence (0.95 for 95%).
std::vector<SSeriesRow> SeriesRows(const std::vector<SPointRecord>& points,
                                   std::int32_t nReplicationCount, double dConfidence = 0.95);

// What a figure belongs to ("Устройство D1", "Очередь Q1", "Блок B", "Модель") and its title as
// the report's column names it, or as the waiting times' are named.
std::string FigureObject(const SFigureName& name);
std::string FigureTitle(const SFigureName& name);

// A summarized figure as tables of text show it: its mean (3 decimals, a share 2), and its
// interval: the half-width, or a share's bounds "[low; high]"; empty without one.
std::string StatMeanText(const SStat& stat);
std::string StatIntervalText(const SStat& stat);
// A figure of one replication as the report's table shows it (the waiting times' shares, which
// the report has no column for, with 3 decimals).
std::string FigureCellText(const SFigureRef& ref, const SFigure& figure);
// The row's figure in each replication of its point.
std::vector<double> ReplicationValues(const SPointRecord& point, const SSeriesRow& row);

// "k из n", and once something is done, an estimate of the time left from the time spent.
std::string ProgressText(std::size_t nDone, std::size_t nTotal, double dElapsedSeconds);

}  // namespace mardo
