#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "core/experiment/Replication.h"

namespace mardo {

// A figure over the replications: their mean, their standard deviation (with R-1 in the
// divisor) and the half-width of the 95% confidence interval of the mean (Student's t with
// R-1 degrees of freedom). Deviation and interval are not numbers for a single replication.
struct SStat {
    double dMean = 0.0;
    double dStdev = 0.0;
    double dCi95 = 0.0;
};

SStat Summarize(const std::vector<double>& values);
// A figure of a replication as a number (a state: true 1, false 0); a text is not one.
double AsNumber(const SFigure& figure);
// The 97.5% point of Student's t distribution with nDegrees (at least 1) degrees of freedom.
double StudentT975(std::int64_t nDegrees);

// A table of the summary: the naming columns as in the replications, every other figure
// (a state as 1 for free, 0 for busy) summarized.
using SSummaryCell = std::variant<SFigure, SStat>;
struct SSummaryTable {
    std::string strKey;
    std::vector<std::string> columns;
    std::vector<std::vector<SSummaryCell>> rows;
};

struct SSummary {
    std::size_t nCount = 0;
    SStat modelTime;
    SStat departed;
    std::vector<SSummaryTable> tables;
    // The replications that drew more numbers than their share of the generator's cycle.
    std::vector<std::int32_t> overdrawn;
};

// The summary of replications of one model, or nothing when their tables differ in shape (they
// cannot come from one model then).
std::optional<SSummary> Summarize(const std::vector<SReplication>& replications,
                                  std::uint64_t nShare);

}  // namespace mardo
