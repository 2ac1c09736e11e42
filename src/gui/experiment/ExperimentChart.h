#pragma once

#include <QString>
#include <vector>

#include "core/experiment/Warmup.h"

class QChart;

namespace mardo {

// The charts of an experiment's results, each a new chart for a QChartView to own.
namespace experiment_chart {

// A mean with its interval's bounds (not numbers when there is no interval), at a label: a
// value of the swept parameter, or an alternative's name.
struct SMeanPoint {
    QString strLabel;
    double dMean = 0.0;
    double dLow = 0.0;
    double dHigh = 0.0;
};

// The means joined by a line, each with a bar over its interval; labels that are all numbers
// stand at their values, others at 1, 2, ... with their texts. bZeroLine draws the line at 0
// that a difference's interval is read against (a line does not join differences then).
QChart* Means(const QString& strTitle, const std::vector<SMeanPoint>& points,
              const QString& strAxisTitle, bool bZeroLine);

// How a figure spread over the replications: a histogram of up to ten bins.
QChart* Histogram(const QString& strTitle, const std::vector<double>& values);

// The averaged series the warm-up was chosen from over model time, with the warm-up marked by
// a vertical line; the title names the series and says whether the run settled.
QChart* Warmup(const SWarmupChoice& choice);

// An empty chart with a title (or none).
QChart* Empty(const QString& strTitle = {});

}  // namespace experiment_chart

}  // namespace mardo
