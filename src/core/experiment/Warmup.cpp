#include "core/experiment/Warmup.h"

#include <algorithm>
#include <limits>

#include "core/experiment/OutputAnalysis.h"
#include "core/model/BlockDlg.h"
#include "core/model/Model.h"
#include "core/report/Plural.h"

namespace mardo {

namespace {

// One followed figure: its means over intervals in every replication, all equally long.
struct SFollowedMeans {
    std::string strBlock;
    std::vector<std::vector<double>> replications;
};

// The traces' figures over intervals of the longest length any of them reached, cut to the
// shortest replication: intervals of the same ticks in every replication, each a mean over
// whole intervals of the trace.
std::vector<SFollowedMeans> IntervalMeans(const SExperimentResult& result,
                                          std::uint32_t& nInterval) {
    std::uint64_t nLength = 1;
    for (const std::vector<CTrace::SFollowed>& trace : result.traces) {
        for (const CTrace::SFollowed& followed : trace) {
            nLength = std::max(nLength, followed.series.GetLength());
        }
    }
    std::uint32_t nShortest = std::numeric_limits<std::uint32_t>::max();
    for (const SReplication& replication : result.points.front().replications) {
        nShortest = std::min(nShortest, replication.nModelTime);
    }
    nInterval = static_cast<std::uint32_t>(std::min<std::uint64_t>(nLength, UINT32_MAX));
    std::vector<SFollowedMeans> figures;
    for (const std::vector<CTrace::SFollowed>& trace : result.traces) {
        figures.resize(trace.size());
        for (std::size_t i = 0; i < trace.size(); ++i) {
            figures[i].strBlock = trace[i].strBlock;
            figures[i].replications.push_back(trace[i].series.Means(nLength, nShortest));
        }
    }
    return figures;
}

std::vector<double> Averaged(const std::vector<std::vector<double>>& replications) {
    std::vector<double> averaged(replications.front().size(), 0.0);
    for (const std::vector<double>& series : replications) {
        for (std::size_t i = 0; i < averaged.size(); ++i) {
            averaged[i] += series[i] / static_cast<double>(replications.size());
        }
    }
    return averaged;
}

EBlockKind KindOf(const CModel& model, const std::string& strBlock) {
    const CBlockDlg* pBlock = model.FindBlock(strBlock);
    return pBlock != nullptr ? pBlock->GetKind() : EBlockKind::kQueue;
}

// "1 350": the thousands apart, as the texts show numbers.
std::string Grouped(std::uint64_t n) {
    std::string strDigits = std::to_string(n);
    for (std::size_t nAt = strDigits.size(); nAt > 3; nAt -= 3) {
        strDigits.insert(nAt - 3, " ");
    }
    return strDigits;
}

}  // namespace

std::optional<SWarmupChoice> ChooseWarmup(const CModel& model, const SExperimentPlan& plan,
                                          const FRunThreadFactory& newThread,
                                          SExperimentResult& failure) {
    SExperimentPlan pilot = plan;
    pilot.points = {plan.points.front()};
    pilot.nWarmup = 0;
    pilot.nReplications = std::max(plan.nReplications, kLeastPilotReplications);
    pilot.bRecordWaits = false;
    pilot.waitOver.clear();
    pilot.bKeepTraces = true;
    SExperimentResult result = RunExperiment(model, pilot, newThread);
    if (result.notStarted || result.bStopped) {
        failure = std::move(result);
        return std::nullopt;
    }
    SWarmupChoice choice;
    const std::vector<SFollowedMeans> figures = IntervalMeans(result, choice.nInterval);
    // A drift of less than a hundredth of a series' level between the halves is not one to
    // warn of (a deterministic model's periodic pattern leaves such).
    constexpr double kSettledTolerance = 0.01;
    // Every series is tested: shared by Bonferroni, a model of many blocks is not called
    // unsettled only because one of its many tests went astray.
    const double dConfidence =
        1.0 - 0.05 / static_cast<double>(std::max<std::size_t>(1, figures.size()));
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const SFollowedMeans& figure = figures[i];
        std::vector<double> averaged = Averaged(figure.replications);
        const std::size_t nTruncation = Mser5(averaged);
        // Mser5 keeps to the first half of the batches; its limit says the series kept moving.
        const bool bAtLimit =
            Mser5Limit(averaged.size()) != 0 && nTruncation == Mser5Limit(averaged.size());
        if (choice.bSteady &&
            (bAtLimit ||
             !Settled(figure.replications, nTruncation, dConfidence, kSettledTolerance))) {
            choice.bSteady = false;
            choice.strUnsettled = figure.strBlock;
            choice.unsettledKind = KindOf(model, figure.strBlock);
        }
        const std::uint64_t nTicks = static_cast<std::uint64_t>(nTruncation) * choice.nInterval;
        if (i == 0 || nTicks > choice.nTicks) {
            choice.nTicks =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(nTicks, UINT32_MAX - 1));
            choice.strSeries = figure.strBlock;
            choice.seriesKind = KindOf(model, figure.strBlock);
            choice.averaged = std::move(averaged);
        }
    }
    return choice;
}

std::string WarmupText(const SWarmupChoice& choice) {
    std::string strText = "Разогрев: " + Grouped(choice.nTicks) + " " +
                          PluralWord(choice.nTicks, "такт", "такта", "тактов");
    const auto by = [](EBlockKind kind) {
        return kind == EBlockKind::kQueue         ? "по очереди "
               : kind == EBlockKind::kMultiDevice ? "по многоканальному устройству "
                                                  : "по устройству ";
    };
    if (!choice.strSeries.empty()) {
        strText += std::string(" (") + by(choice.seriesKind) + choice.strSeries + ")";
    }
    if (!choice.bSteady) {
        const auto figure = [](EBlockKind kind) {
            return kind == EBlockKind::kQueue         ? "длина очереди "
                   : kind == EBlockKind::kMultiDevice ? "загрузка многоканального устройства "
                                                      : "загрузка устройства ";
        };
        strText += std::string("\nСтационарный режим не достигнут: ") +
                   figure(choice.unsettledKind) + choice.strUnsettled +
                   " не установилась за время прогона; средние за прогон описывают этот прогон, "
                   "а не систему.";
    }
    return strText;
}

}  // namespace mardo
