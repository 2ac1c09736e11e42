#include "core/experiment/Comparison.h"

#include <map>

#include "core/experiment/Summary.h"

namespace mardo {

namespace {

std::vector<double> Values(const std::vector<SReplication>& replications, const SFigureRef& ref) {
    std::vector<double> values;
    values.reserve(replications.size());
    for (const SReplication& replication : replications) {
        values.push_back(AsNumber(FigureOf(replication, ref)));
    }
    return values;
}

}  // namespace

std::string FigurePath(const SFigureName& name) {
    return name.strBlock.empty() ? name.strFigure : name.strBlock + "." + name.strFigure;
}

SComparison ComparePoints(const SPointRecord& base, const SPointRecord& other, int nComparisons,
                          double dConfidence) {
    SComparison comparison;
    comparison.nComparisons = nComparisons;
    const std::vector<SReplication>& baseReps = base.replications;
    const std::vector<SReplication>& otherReps = other.replications;
    if (baseReps.empty() || baseReps.size() != otherReps.size()) {
        return comparison;
    }
    for (std::size_t r = 0; r < baseReps.size(); ++r) {
        if (baseReps[r].nIndex != otherReps[r].nIndex) {
            return comparison;
        }
    }
    std::map<SFigureName, SFigureRef> otherRefs;
    for (const SFigureRef& ref : FigureRefs(otherReps[0])) {
        otherRefs.emplace(NameOf(otherReps[0], ref), ref);
    }
    for (const SFigureRef& ref : FigureRefs(baseReps[0])) {
        const SFigureName name = NameOf(baseReps[0], ref);
        const auto it = otherRefs.find(name);
        if (it == otherRefs.end() ||
            std::holds_alternative<std::string>(FigureOf(baseReps[0], ref))) {
            continue;
        }
        const std::vector<double> baseValues = Values(baseReps, ref);
        const std::vector<double> otherValues = Values(otherReps, it->second);
        SDifference& difference = comparison.differences.emplace_back();
        difference.name = name;
        difference.dBase = MeanInterval(baseValues).dMean;
        difference.dOther = MeanInterval(otherValues).dMean;
        difference.interval = PairedDifference(baseValues, otherValues, dConfidence, nComparisons);
    }
    return comparison;
}

}  // namespace mardo
