#include "core/experiment/ExperimentSession.h"

#include <algorithm>
#include <utility>

#include "core/model/Model.h"
#include "core/persist/ModelFile.h"

namespace mardo {

namespace {

const char* const kWarmupStage = "Разогрев";
const char* const kReplicationsStage = "Прогоны";

SExperimentRecord RecordOf(const std::string& strModelName, const SExperimentPlan& plan,
                           std::vector<SPointRecord> points) {
    SExperimentRecord record;
    record.strModel = strModelName;
    record.nSeed = plan.nSeed;
    record.generator = plan.generator;
    record.nReplicationCount = plan.nReplications;
    record.nWarmup = plan.nWarmup;
    record.bSwept = !plan.points.empty() && !plan.points[0].empty();
    record.points = std::move(points);
    return record;
}

// Why a part of the study ended early, into the outcome; true when it did.
bool EndedEarly(SExperimentResult& result, SStudyOutcome& outcome) {
    if (result.notStarted) {
        outcome.notStarted = result.notStarted;
        outcome.lines = std::move(result.lines);
        return true;
    }
    outcome.bStopped = outcome.bStopped || result.bStopped;
    return result.bStopped;
}

void Compare(const SStudy& study, SStudyOutcome& outcome) {
    const std::vector<SPointRecord>& points = outcome.record.points;
    const int nOthers = static_cast<int>(outcome.alternatives.size());
    for (const SExperimentRecord& other : outcome.alternatives) {
        SComparison& comparison = outcome.comparisons.emplace_back(
            ComparePoints(points[0], other.points[0], nOthers, study.dConfidence));
        comparison.strModel = other.strModel;
        comparison.strAgainst = outcome.record.strModel;
    }
    if (study.bCompareToFirst) {
        const int nPoints = static_cast<int>(points.size());
        for (int p = 1; p < nPoints; ++p) {
            SComparison& comparison = outcome.comparisons.emplace_back(
                ComparePoints(points[0], points[static_cast<std::size_t>(p)], nPoints - 1,
                              study.dConfidence));
            comparison.strModel = std::to_string(p);
            comparison.strAgainst = std::to_string(0);
            comparison.bPoints = true;
        }
    }
}

}  // namespace

SStudyOutcome RunStudy(const CModel& model, const std::string& strModelName, SStudy study,
                       const FRunThreadFactory& newThread,
                       const std::function<void(const SStudyProgress&)>& onProgress,
                       const std::atomic<bool>* pStop) {
    SExperimentPlan& plan = study.plan;
    plan.pStop = pStop;
    const auto stage = [&onProgress](std::string strStage) {
        return [&onProgress, strStage = std::move(strStage)](std::size_t nDone,
                                                              std::size_t nTotal) {
            if (onProgress) {
                onProgress({strStage, nDone, nTotal});
            }
        };
    };
    SStudyOutcome outcome;
    if (study.bWarmupAuto) {
        plan.onProgress = stage(kWarmupStage);
        // With a precision goal the first round is enough to see the start-up in (ChooseWarmup
        // takes no fewer than it needs).
        SExperimentPlan pilot = plan;
        pilot.nReplications = study.precision ? std::min(plan.nReplications, kFirstRound)
                                              : plan.nReplications;
        SExperimentResult failure;
        outcome.warmup = ChooseWarmup(model, pilot, newThread, failure);
        if (!outcome.warmup) {
            EndedEarly(failure, outcome);
            outcome.bStopped = outcome.bStopped || (pStop != nullptr && pStop->load());
            outcome.record = RecordOf(strModelName, plan, {});
            return outcome;
        }
        plan.nWarmup = outcome.warmup->nTicks;
    }
    plan.onProgress = stage(kReplicationsStage);
    SExperimentResult result;
    if (study.precision) {
        study.precision->dConfidence = study.dConfidence;
        result = RunUntilPrecise(model, plan, *study.precision, newThread,
                                 outcome.precision.emplace());
        plan.nReplications = std::max(outcome.precision->nReplications, std::int32_t{1});
    } else {
        result = RunExperiment(model, plan, newThread);
    }
    const bool bEarly = EndedEarly(result, outcome);
    outcome.record = RecordOf(strModelName, plan, std::move(result.points));
    if (bEarly) {
        return outcome;
    }
    for (const SAlternative& alternative : study.alternatives) {
        plan.onProgress = stage(alternative.strName);
        SExperimentResult other = RunExperiment(*alternative.pModel, plan, newThread);
        const bool bOtherEarly = EndedEarly(other, outcome);
        outcome.alternatives.push_back(
            RecordOf(alternative.strName, plan, std::move(other.points)));
        if (bOtherEarly) {
            break;
        }
    }
    if (outcome.notStarted) {
        return outcome;
    }
    if (outcome.bStopped) {
        // Each comparison pairs the replications the base and every alternative have.
        std::vector<std::vector<SPointRecord>*> records{&outcome.record.points};
        for (SExperimentRecord& record : outcome.alternatives) {
            records.push_back(&record.points);
        }
        KeepCommonReplications(records);
    }
    const bool bAnyLeft = !outcome.record.points.empty() &&
                          !outcome.record.points[0].replications.empty();
    if (bAnyLeft && outcome.alternatives.size() == study.alternatives.size()) {
        Compare(study, outcome);
    }
    return outcome;
}

CExperimentSession::CExperimentSession(FRunThreadFactory newThread)
    : m_newThread(std::move(newThread)) {}

CExperimentSession::~CExperimentSession() {
    m_bStop = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

bool CExperimentSession::Start(const CModel& model, const std::string& strModelName,
                               SStudy study) {
    if (m_worker.joinable()) {
        return false;
    }
    auto pCopy = std::make_shared<CModel>();
    const bool bCopied = CopyModel(model, *pCopy);
    m_bStop = false;
    m_bFinished = false;
    {
        const std::lock_guard<std::mutex> lock(m_progressMutex);
        m_progress = {};
    }
    m_worker = std::thread([this, pCopy, bCopied, strModelName, study = std::move(study)]() mutable {
        SStudyOutcome outcome;
        if (bCopied) {
            outcome = RunStudy(
                *pCopy, strModelName, std::move(study), m_newThread,
                [this](const SStudyProgress& progress) {
                    const std::lock_guard<std::mutex> lock(m_progressMutex);
                    m_progress = progress;
                },
                &m_bStop);
        } else {
            // A model the file cannot hold cannot be replicated either.
            outcome.notStarted = CRunSession::EEnd::kRefused;
        }
        m_outcome = std::move(outcome);
        m_bFinished = true;
    });
    return true;
}

void CExperimentSession::Stop() { m_bStop = true; }

bool CExperimentSession::IsRunning() const { return m_worker.joinable(); }

bool CExperimentSession::IsFinished() const { return m_bFinished; }

SStudyProgress CExperimentSession::GetProgress() const {
    const std::lock_guard<std::mutex> lock(m_progressMutex);
    return m_progress;
}

SStudyOutcome CExperimentSession::TakeOutcome() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_bFinished = false;
    return std::move(m_outcome);
}

}  // namespace mardo
