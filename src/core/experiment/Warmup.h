#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/model/BlockKind.h"

namespace mardo {

class CModel;

// A warm-up chosen from the model's own start-up: every queue's content and every device's
// state, followed over model time in intervals of ticks and averaged over the replications;
// MSER-5 picks each series' truncation, and the latest of them is the warm-up.
struct SWarmupChoice {
    std::uint32_t nTicks = 0;  // the warm-up chosen
    std::string strSeries;     // the block whose series decided it ("Q1")
    EBlockKind seriesKind = EBlockKind::kQueue;
    // False when a series' truncation lies in the last half of the run, or its means over the
    // halves of what is left differ beyond their interval: the run never settled, and means
    // over it describe the run, not the system. strUnsettled names such a series then.
    bool bSteady = true;
    std::string strUnsettled;
    EBlockKind unsettledKind = EBlockKind::kQueue;
    // The deciding series as averaged, for a chart: the length of an interval in ticks and the
    // mean of each interval.
    std::uint32_t nInterval = 0;
    std::vector<double> averaged;
};

// The fewest replications the start-up is followed in: with fewer, the halves' test misses a
// queue that grows through the whole run (priorities.mrd at 10 replications).
inline constexpr std::int32_t kLeastPilotReplications = 20;

// Simulates the plan's replications (at least kLeastPilotReplications) at its first point with
// no warm-up, following the series,
// and chooses the warm-up. Answers nothing when they did not all end; failure then says why
// (not started, cut short, or stopped).
std::optional<SWarmupChoice> ChooseWarmup(const CModel& model, const SExperimentPlan& plan,
                                          const FRunThreadFactory& newThread,
                                          SExperimentResult& failure);

// "Разогрев: 1 350 тактов (по очереди Q1)", and when the run never settled, the sentence
// that says so ("Стационарный режим не достигнут: ...") on a line of its own.
std::string WarmupText(const SWarmupChoice& choice);

}  // namespace mardo
