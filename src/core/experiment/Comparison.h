#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/experiment/FlatFigures.h"
#include "core/experiment/OutputAnalysis.h"
#include "core/experiment/Replication.h"

namespace mardo {

// One figure of two alternatives simulated with the same random numbers: the means of each and
// the interval of the paired differences other - base.
struct SDifference {
    SFigureName name;
    double dBase = 0.0;
    double dOther = 0.0;
    SInterval interval;
};

// An alternative against the base: every figure both have (the same table, block and figure),
// in the base's order. nComparisons is how many alternatives share the confidence (Bonferroni).
struct SComparison {
    // The models' names, or, for points of a sweep (bPoints), their indices.
    std::string strModel;
    std::string strAgainst;
    bool bPoints = false;
    int nComparisons = 1;
    std::vector<SDifference> differences;
};

// The replications of both must be the same ones (the same indices in the same order); answers
// an empty list of differences when they are not. The intervals are at the confidence, shared
// among nComparisons.
SComparison ComparePoints(const SPointRecord& base, const SPointRecord& other, int nComparisons,
                          double dConfidence = 0.95);

// A figure's name as --figures spells it: "BLOCK.figure", or the model's own "modelTime".
std::string FigurePath(const SFigureName& name);

}  // namespace mardo
