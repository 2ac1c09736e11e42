#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/experiment/Comparison.h"
#include "core/experiment/Experiment.h"
#include "core/experiment/Precision.h"
#include "core/experiment/Replication.h"
#include "core/experiment/Warmup.h"

namespace mardo {

class CModel;

// Another model compared with the base: replicated with the same seeds, so that a generator of
// the same name brings the same arrivals to both.
struct SAlternative {
    std::string strName;  // as the comparisons name it: the file's name
    std::shared_ptr<const CModel> pModel;
};

// What a user asks of an experiment, beyond its plan.
struct SStudy {
    // The plan's nReplications is the limit when a precision goal is set; its onProgress and
    // pStop are the session's own.
    SExperimentPlan plan;
    std::optional<SPrecisionGoal> precision;
    // The warm-up is chosen first (ChooseWarmup) and the plan's nWarmup is ignored.
    bool bWarmupAuto = false;
    // Models to compare with the base (no sweep, no precision goal with them).
    std::vector<SAlternative> alternatives;
    // Every point of the sweep against the first.
    bool bCompareToFirst = false;
    double dConfidence = 0.95;
};

// How far a study is: the stage ("Разогрев", "Прогоны", or an alternative's name) and its
// replications done of those planned so far (a precision goal may plan more).
struct SStudyProgress {
    std::string strStage;
    std::size_t nDone = 0;
    std::size_t nTotal = 0;
};

struct SStudyOutcome {
    // The base's experiment as its documents record it (nWarmup the warm-up used), and every
    // alternative's, in the order asked.
    SExperimentRecord record;
    std::vector<SExperimentRecord> alternatives;
    std::vector<SComparison> comparisons;
    std::optional<SPrecisionOutcome> precision;
    std::optional<SWarmupChoice> warmup;
    // When a simulation did not start or was cut short: how, and the lines that say why.
    std::optional<CRunSession::EEnd> notStarted;
    std::vector<CMessageQueue::SLine> lines;
    // Stopped on request. The records keep the replications that had ended at every point (and
    // in every alternative), and the comparisons are over those; nothing else is kept.
    bool bStopped = false;
};

// Runs the study on the calling thread: the warm-up, then the replications (in rounds, for a
// precision goal), then the alternatives', then the comparisons. onProgress is called as the
// plan's is; pStop, when set, stops it.
SStudyOutcome RunStudy(const CModel& model, const std::string& strModelName, SStudy study,
                       const FRunThreadFactory& newThread,
                       const std::function<void(const SStudyProgress&)>& onProgress,
                       const std::atomic<bool>* pStop);

// A study under way on a thread of its own, for a window: start, progress, stop, outcome. The
// session copies the model, so the window's model may change while it runs.
class CExperimentSession {
public:
    explicit CExperimentSession(FRunThreadFactory newThread);
    ~CExperimentSession();  // stops a study under way and waits for it
    CExperimentSession(const CExperimentSession&) = delete;
    CExperimentSession& operator=(const CExperimentSession&) = delete;

    // Starts the study; nothing when one is under way or its outcome not yet taken.
    bool Start(const CModel& model, const std::string& strModelName, SStudy study);
    // Asks the study to stop; the outcome keeps what had ended.
    void Stop();
    bool IsRunning() const;  // started and its outcome not yet taken
    bool IsFinished() const;  // the outcome is ready to take
    SStudyProgress GetProgress() const;
    // The outcome, once finished; the session is then free to start again.
    SStudyOutcome TakeOutcome();

private:
    FRunThreadFactory m_newThread;
    std::thread m_worker;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bFinished{false};
    mutable std::mutex m_progressMutex;
    SStudyProgress m_progress;
    SStudyOutcome m_outcome;
};

}  // namespace mardo
