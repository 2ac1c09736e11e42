#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/ParamTargets.h"
#include "core/experiment/Replication.h"
#include "core/run/MessageQueue.h"
#include "core/run/RunSession.h"
#include "core/run/RunThread.h"
#include "core/sim/Rand.h"

namespace mardo {

class CModel;

// The most replications an experiment may ask for, and the most simulations (sweep points times
// replications, times models compared) it may plan: as many, whose records, documents and CSV
// rows all stay in memory at once. The batch runner and the experiment window refuse more.
inline constexpr std::int32_t kMostReplications = 100000;
inline constexpr std::uint64_t kMostSimulations = 100000;

// What an experiment does with a model: R replications (or only one of them, for job arrays),
// each with its own random numbers, at every point of the sweeps, with the figures
// taken after a warm-up.
struct SExperimentPlan {
    // The exact generator's state for replication 0 (the others jumped along its sequence), or
    // the streams' base seed.
    std::uint32_t nSeed = kFirstRandState;
    EGenerator generator = EGenerator::kStreams;
    std::int32_t nReplications = 1;
    std::optional<std::int32_t> onlyReplication;
    // The first replication made: rounds of replications continue where the last one ended.
    std::int32_t nFirst = 0;
    std::uint32_t nWarmup = 0;
    // Every queue records the waiting time of every transact after the warm-up (waitP50...
    // in the queue table), and the share that waited more than each of these ticks.
    bool bRecordWaits = false;
    std::vector<std::uint64_t> waitOver;
    // Every pass of every tick simulated (see CRunSession::SetQuietSkipping).
    bool bTickByTick = false;
    // Every replication's figures over model time are kept in the result (traces), for the
    // choice of a warm-up; a look at each figure after every tick.
    bool bKeepTraces = false;
    // The settings of every point; one point without settings when nothing is swept.
    std::vector<std::vector<SSetting>> points{{}};
    unsigned nJobs = 1;
    // Called after each replication with how many are done of how many, one call at a time, on
    // the threads that simulate; it must not wait for anything.
    std::function<void(std::size_t nDone, std::size_t nTotal)> onProgress;
    // When given and set (from any thread), no replication starts any more and those under way
    // are abandoned within a fraction of a second; the result then says it was stopped.
    const std::atomic<bool>* pStop = nullptr;

    bool IsStopped() const { return pStop != nullptr && pStop->load(); }

    // The indices of the replications the plan simulates.
    std::vector<std::int32_t> Indices() const;
};

// A swept target and its values.
struct SSweep {
    std::string strTarget;
    std::vector<std::string> values;
};

// Every combination of the sweeps' values, the last sweep changing fastest.
std::vector<std::vector<SSetting>> SweepPoints(const std::vector<SSweep>& sweeps);

struct SExperimentResult {
    std::vector<SPointRecord> points;
    // When some simulation did not start, or was cut short (for want of memory, or at the end
    // of model time): how, and the lines that say why (of the first point and replication that
    // failed). A replication cut short ends the experiment: its figures are not those of the
    // conditions asked for, and the next would take the same memory or time.
    std::optional<CRunSession::EEnd> notStarted;
    std::vector<CMessageQueue::SLine> lines;
    // Stopped on request: every point keeps the replications that had ended at every point, and
    // only those.
    bool bStopped = false;
    // With the plan's bKeepTraces, every replication's figures over model time, point by point
    // in the order of the points' replications, each in at most kTraceIntervals intervals;
    // none when stopped.
    std::vector<std::vector<CTrace::SFollowed>> traces;
};

// Enough intervals to see a start-up in, few enough to keep for every replication.
inline constexpr std::size_t kTraceIntervals = 512;

// Keeps, in every point of every record, only the replications (by index) that every point of
// every record has: those a stop left whole everywhere, which comparisons can pair.
void KeepCommonReplications(const std::vector<std::vector<SPointRecord>*>& records);

using FRunThreadFactory = std::function<std::unique_ptr<IRunThread>()>;

// Runs the plan on the model, whose settings are already applied; the model itself is not
// simulated, each replication simulates a copy of its own. The replications run on nJobs
// threads, and the result is the same whatever their number. Every point's settings must have
// been found applicable (ApplySetting) beforehand.
SExperimentResult RunExperiment(const CModel& model, const SExperimentPlan& plan,
                                const FRunThreadFactory& newThread);

}  // namespace mardo
