#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "core/experiment/Replication.h"

namespace mardo {

// A figure over the replications: their mean, their standard deviation (with R-1 in the
// divisor) and the confidence interval of the mean (95% unless asked), from dCiLow to dCiHigh. For
// most figures it is Student's (t with R-1 degrees of freedom), mean ± dCi95, and its bounds and
// deviation are not numbers for a single replication. A share, a figure that is 0 or 1 in every
// replication (a state at the end), gets the Wilson score interval instead: the Student one is
// zero-wide whenever the replications agree. It is not symmetric, so its dCi95 is not a number.
struct SStat {
    double dMean = 0.0;
    double dStdev = 0.0;
    double dCi95 = 0.0;
    double dCiLow = 0.0;
    double dCiHigh = 0.0;
    bool bShare = false;
};

// dConfidence is the interval's (0.95 for 95%; dCi95 is then that interval's half-width).
SStat Summarize(const std::vector<double>& values, double dConfidence = 0.95);
// The same for values that are each 0 or 1.
SStat SummarizeShare(const std::vector<double>& values, double dConfidence = 0.95);
// A figure of a replication as a number (a state: true 1, false 0); a text is not one.
double AsNumber(const SFigure& figure);

// A table of the summary: the naming columns as in the replications, every other figure
// summarized (a state as the share of replications that ended with it free).
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
                                  std::uint64_t nShare, double dConfidence = 0.95);

}  // namespace mardo
