#include "core/experiment/Precision.h"

#include <algorithm>

#include "core/experiment/Comparison.h"
#include "core/experiment/FlatFigures.h"
#include "core/experiment/Summary.h"

namespace mardo {

namespace {

bool IsDefaultFigure(const SFigureName& name) {
    return (name.strTable == "queues" && name.strFigure == "avgTimeAll") ||
           (name.strTable == "devices" && name.strFigure == "utilization");
}

}  // namespace

std::map<std::string, std::vector<double>> ChosenFigures(const std::vector<SPointRecord>& points,
                                                         const std::vector<std::string>& names,
                                                         std::string& strUnknown) {
    std::map<std::string, std::vector<double>> chosen;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const std::vector<SReplication>& replications = points[p].replications;
        if (replications.empty()) {
            continue;
        }
        const std::string strPrefix = points.size() > 1 ? std::to_string(p) + ":" : "";
        std::vector<std::string> found;
        for (const SFigureRef& ref : FigureRefs(replications[0])) {
            const SFigureName name = NameOf(replications[0], ref);
            const std::string strPath = FigurePath(name);
            const bool bChosen = names.empty()
                                     ? IsDefaultFigure(name)
                                     : std::find(names.begin(), names.end(), strPath) != names.end();
            // A device is in the blocks' table too: its first table names the figure.
            if (!bChosen || chosen.count(strPrefix + strPath) != 0) {
                continue;
            }
            std::vector<double>& values = chosen[strPrefix + strPath];
            for (const SReplication& replication : replications) {
                values.push_back(AsNumber(FigureOf(replication, ref)));
            }
            found.push_back(strPath);
        }
        for (const std::string& strName : names) {
            if (std::find(found.begin(), found.end(), strName) == found.end()) {
                strUnknown = strName;
            }
        }
    }
    return chosen;
}

SExperimentResult RunUntilPrecise(const CModel& model, SExperimentPlan plan,
                                  const SPrecisionGoal& goal, const FRunThreadFactory& newThread,
                                  SPrecisionOutcome& outcome) {
    const std::int32_t nMost = plan.nReplications;
    const std::size_t nPoints = plan.points.size();
    const auto onProgress = plan.onProgress;
    SExperimentResult total;
    std::int32_t nDone = 0;
    do {
        plan.nFirst = nDone;
        plan.nReplications = NextRoundTotal(nDone, kFirstRound, nMost);
        // Progress counts every round's simulations, up to this round's end.
        if (onProgress) {
            const std::size_t nBefore = static_cast<std::size_t>(nDone) * nPoints;
            plan.onProgress = [&onProgress, nBefore](std::size_t n, std::size_t nTotal) {
                onProgress(nBefore + n, nBefore + nTotal);
            };
        }
        SExperimentResult round = RunExperiment(model, plan, newThread);
        if (round.notStarted) {
            return round;
        }
        if (total.points.empty()) {
            total.points = std::move(round.points);
        } else {
            for (std::size_t p = 0; p < total.points.size(); ++p) {
                std::vector<SReplication>& into = total.points[p].replications;
                std::vector<SReplication>& more = round.points[p].replications;
                into.insert(into.end(), std::make_move_iterator(more.begin()),
                            std::make_move_iterator(more.end()));
            }
        }
        if (round.bStopped) {
            total.bStopped = true;
            nDone = total.points.empty()
                        ? 0
                        : static_cast<std::int32_t>(total.points[0].replications.size());
            break;
        }
        nDone = plan.nReplications;
        const auto figures = ChosenFigures(total.points, goal.figures, outcome.strUnknown);
        if (!outcome.strUnknown.empty()) {
            break;
        }
        outcome.check = CheckPrecision(figures, goal.dPercent / 100.0, goal.dConfidence);
    } while (!outcome.check.bMet && nDone < nMost);
    outcome.nReplications = nDone;
    return total;
}

}  // namespace mardo
