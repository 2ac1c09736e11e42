#include "core/experiment/Experiment.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "core/experiment/RandStreams.h"
#include "core/experiment/WaitFigures.h"
#include "core/model/BlockKinds.h"
#include "core/model/Model.h"
#include "core/model/WaitRecordingQueue.h"
#include "core/persist/Error.h"
#include "core/persist/ModelFile.h"
#include "core/report/ReportTables.h"

namespace mardo {

namespace {

struct STask {
    std::size_t nPoint;
    std::size_t nReplication;  // its place among the point's replications
};

struct SFailure {
    CRunSession::EEnd end;
    std::vector<CMessageQueue::SLine> lines;
};

// The blocks of a model whose queues record their waits.
std::unique_ptr<CBlockDlg> CreateRecordingBlock(std::int32_t nKindCode) {
    if (nKindCode == static_cast<std::int32_t>(EBlockKind::kQueue)) {
        return std::make_unique<CWaitRecordingQueue>();
    }
    return CreateBlock(nKindCode);
}

// One replication of one point, on the calling thread's watch; answers why it did not start
// or was cut short. pTrace, when given, receives its figures over model time.
std::optional<SFailure> Simulate(const std::vector<std::uint8_t>& modelBytes,
                                 const std::vector<SSetting>& settings, const SExperimentPlan& plan,
                                 const FRunThreadFactory& newThread, SReplication& replication,
                                 std::vector<CTrace::SFollowed>* pTrace) {
    CModel model;
    ReadModelBytes(model, modelBytes,
                   plan.bRecordWaits ? &CreateRecordingBlock : &CreateBlockOfKind);
    for (const SSetting& setting : settings) {
        ApplySetting(model, setting);
    }
    CRunSession session(model, newThread());
    const bool bExact = plan.generator == EGenerator::kExact;
    const auto nIndex = static_cast<std::uint32_t>(replication.nIndex);
    session.SetRandom(bExact ? CRandomContext::Exact(replication.nSeed)
                             : CRandomContext::Streams(plan.nSeed, nIndex));
    session.SetWarmup(plan.nWarmup);
    session.SetQuietSkipping(!plan.bTickByTick);
    session.SetTracing(pTrace != nullptr);
    if (const std::optional<CRunSession::EEnd> end = session.Start()) {
        return SFailure{*end, session.TakeMessages()};
    }
    // The error lines say why a simulation was cut short; the others are many and say nothing.
    std::vector<CMessageQueue::SLine> errors;
    std::optional<CRunSession::EEnd> end;
    for (;;) {
        for (CMessageQueue::SLine& line : session.TakeMessages()) {
            if (line.nKind == IMessageLog::kError) {
                errors.push_back(std::move(line));
            }
        }
        if ((end = session.TakeEnd())) {
            break;
        }
        if (plan.IsStopped()) {
            return SFailure{session.Abandon(), {}};
        }
        session.WaitFor(std::chrono::milliseconds(50));
    }
    if (*end == CRunSession::EEnd::kOutOfMemory || *end == CRunSession::EEnd::kOutOfTime) {
        return SFailure{*end, std::move(errors)};
    }
    const CRunSession::SProgress figures = session.GetProgress();
    const CReportTables report(model.GetBlocks(), figures.nModelTime, figures.nDeparted);
    const std::uint64_t nStreamDraws = std::min<std::uint64_t>(session.GetStreamDraws(), UINT32_MAX);
    replication.nDraws = bExact ? CountDraws(replication.nSeed, session.GetEndState())
                                : static_cast<std::uint32_t>(nStreamDraws);
    replication.nModelTime = figures.nModelTime;
    replication.nDeparted = figures.nDeparted;
    replication.tables = ReportFigures(&report);
    if (plan.bRecordWaits) {
        AddWaitFigures(model, plan.waitOver, replication.tables[CReportTables::kQueues]);
    }
    if (pTrace != nullptr) {
        *pTrace = session.GetTrace()->GetFollowed();
        for (CTrace::SFollowed& followed : *pTrace) {
            followed.series.Coarsen(kTraceIntervals);
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::int32_t> SExperimentPlan::Indices() const {
    if (onlyReplication) {
        return {*onlyReplication};
    }
    std::vector<std::int32_t> indices;
    for (std::int32_t k = nFirst; k < nReplications; ++k) {
        indices.push_back(k);
    }
    return indices;
}

void KeepCommonReplications(const std::vector<std::vector<SPointRecord>*>& records) {
    std::size_t nPoints = 0;
    std::map<std::int32_t, std::size_t> pointsHaving;
    for (const std::vector<SPointRecord>* pPoints : records) {
        for (const SPointRecord& point : *pPoints) {
            ++nPoints;
            for (const SReplication& replication : point.replications) {
                ++pointsHaving[replication.nIndex];
            }
        }
    }
    for (std::vector<SPointRecord>* pPoints : records) {
        for (SPointRecord& point : *pPoints) {
            std::erase_if(point.replications, [&](const SReplication& replication) {
                return pointsHaving[replication.nIndex] != nPoints;
            });
        }
    }
}

std::vector<std::vector<SSetting>> SweepPoints(const std::vector<SSweep>& sweeps) {
    std::vector<std::vector<SSetting>> points{{}};
    for (const SSweep& sweep : sweeps) {
        std::vector<std::vector<SSetting>> longer;
        for (const std::vector<SSetting>& point : points) {
            for (const std::string& strValue : sweep.values) {
                longer.push_back(point);
                longer.back().push_back({sweep.strTarget, strValue});
            }
        }
        points = std::move(longer);
    }
    return points;
}

SExperimentResult RunExperiment(const CModel& model, const SExperimentPlan& plan,
                                const FRunThreadFactory& newThread) {
    const std::optional<std::vector<std::uint8_t>> modelBytes = WriteModelBytes(model);
    const std::vector<std::int32_t> indices = plan.Indices();
    SExperimentResult result;
    std::vector<STask> tasks;
    for (std::size_t p = 0; p < plan.points.size(); ++p) {
        SPointRecord& point = result.points.emplace_back();
        point.settings = plan.points[p];
        for (const std::int32_t k : indices) {
            SReplication& replication = point.replications.emplace_back();
            replication.nIndex = k;
            replication.nSeed = plan.generator == EGenerator::kExact
                                    ? ReplicationSeed(plan.nSeed, k, plan.nReplications)
                                    : plan.nSeed;
        }
    }
    // Replication by replication, every point of each: a series stopped half way keeps whole
    // replications, comparable from point to point.
    for (std::size_t r = 0; r < indices.size(); ++r) {
        for (std::size_t p = 0; p < plan.points.size(); ++p) {
            tasks.push_back({p, r});
        }
    }
    // Each replication reads its copy back; a model the file cannot hold is refused here once.
    try {
        CModel scratch;
        if (modelBytes) {
            ReadModelBytes(scratch, *modelBytes);
        }
    } catch (const CError&) {
        result.notStarted = CRunSession::EEnd::kRefused;
    }
    if (!modelBytes || result.notStarted) {
        result.notStarted = CRunSession::EEnd::kRefused;
        return result;
    }
    // Each task writes only its own replication; failures are kept by task number, so the
    // one reported is the same whatever the threads did first. A simulation that does not
    // start costs nothing, so every task runs. One cut short ends the tasks not yet begun
    // (which of the replications cut short is reported may then depend on the threads; that
    // the experiment was cut short does not).
    std::vector<std::optional<SFailure>> failures(tasks.size());
    std::vector<char> ended(tasks.size(), 0);
    if (plan.bKeepTraces) {
        result.traces.resize(tasks.size());
    }
    std::atomic<std::size_t> nNext{0};
    std::atomic<bool> bCutShort{false};
    std::mutex progressMutex;
    std::size_t nDone = 0;
    const auto work = [&] {
        for (std::size_t t; !plan.IsStopped() && !bCutShort && (t = nNext++) < tasks.size();) {
            const STask& task = tasks[t];
            SPointRecord& point = result.points[task.nPoint];
            SReplication& replication = point.replications[task.nReplication];
            std::vector<CTrace::SFollowed>* pTrace =
                plan.bKeepTraces ? &result.traces[task.nPoint * indices.size() + task.nReplication]
                                 : nullptr;
            failures[t] =
                Simulate(*modelBytes, point.settings, plan, newThread, replication, pTrace);
            ended[t] = failures[t] ? 0 : 1;
            if (failures[t] && (failures[t]->end == CRunSession::EEnd::kOutOfMemory ||
                                failures[t]->end == CRunSession::EEnd::kOutOfTime)) {
                bCutShort = true;
            }
            if (plan.onProgress) {
                const std::lock_guard<std::mutex> lock(progressMutex);
                plan.onProgress(++nDone, tasks.size());
            }
        }
    };
    std::vector<std::thread> threads;
    for (unsigned j = 1; j < std::max(1u, plan.nJobs); ++j) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (plan.IsStopped()) {
        result.bStopped = true;
        // The replications under way or not begun go; then those some point lacks.
        const std::size_t nPoints = result.points.size();
        for (std::size_t p = 0; p < nPoints; ++p) {
            std::vector<SReplication>& replications = result.points[p].replications;
            std::vector<SReplication> kept;
            for (std::size_t r = 0; r < replications.size(); ++r) {
                if (ended[r * nPoints + p] != 0) {
                    kept.push_back(std::move(replications[r]));
                }
            }
            replications = std::move(kept);
        }
        KeepCommonReplications({&result.points});
        result.traces.clear();
        return result;
    }
    for (std::optional<SFailure>& failure : failures) {
        if (failure) {
            result.notStarted = failure->end;
            result.lines = std::move(failure->lines);
            break;
        }
    }
    return result;
}

}  // namespace mardo
