#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/experiment/OutputAnalysis.h"

namespace mardo {

// Replications until the chosen figures are known to a stated precision.
struct SPrecisionGoal {
    double dPercent = 5.0;  // the most half-width, in percent of the absolute mean
    // "BLOCK.figure" each; empty: every queue's mean time and every device's utilisation.
    std::vector<std::string> figures;
    double dConfidence = 0.95;  // of the half-widths
};

struct SPrecisionOutcome {
    std::int32_t nReplications = 0;
    SPrecisionCheck check;  // its shares are fractions (0.05 for 5%)
    // A chosen figure the model does not have; nothing was decided then.
    std::string strUnknown;
};

// The first round: fewer replications give intervals too wide and too unsteady to stop on.
inline constexpr std::int32_t kFirstRound = 10;

// The chosen figures' values over the replications of every point (a point's figure named
// "N:BLOCK.figure" when there are several points); a name not found goes to strUnknown.
std::map<std::string, std::vector<double>> ChosenFigures(const std::vector<SPointRecord>& points,
                                                         const std::vector<std::string>& names,
                                                         std::string& strUnknown);

// Runs the plan in rounds (kFirstRound replications, then NextRoundTotal) up to its
// nReplications, and stops at the first round after which the goal is met. The rounds do not
// depend on nJobs, and replication k is the same in any round, so the result is the same for
// any number of threads. The plan must use the streams (the exact generator's replication k
// depends on the number planned).
SExperimentResult RunUntilPrecise(const CModel& model, SExperimentPlan plan,
                                  const SPrecisionGoal& goal, const FRunThreadFactory& newThread,
                                  SPrecisionOutcome& outcome);

}  // namespace mardo
