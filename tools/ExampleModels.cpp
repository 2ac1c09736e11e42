#include "ExampleModels.h"

#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"

namespace mardo::tools {

namespace {

constexpr std::int32_t kColumn = 170;
constexpr std::int32_t kRow = 130;

// Places blocks on a grid of columns and rows, as a person would lay them out.
template <typename TBlock>
TBlock& Place(CModel& model, const std::string& strName, int nColumn, int nRow) {
    TBlock& block = model.Add<TBlock>(CPoint{20 + kColumn * nColumn, 20 + kRow * nRow});
    block.SetName(strName);
    return block;
}

CFlowLaw Uniform(std::int32_t nMin, std::int32_t nMax) {
    return CFlowLaw(CFlowLaw::kUniform, nMin, nMax);
}

CFlowLaw Fixed(std::int32_t n) { return CFlowLaw(CFlowLaw::kDeterministic, n, n); }

void Link(CBlockDlg& from, CBlockDlg& to, std::int32_t k = 0) { from.SetOutLink(k, &to); }

// G1 → Q1 → D1 → T1 for 10 000 ticks, with the arrivals' and the service's laws; answers D1.
template <typename TDevice>
TDevice& OneLine(CModel& model, CFlowLaw arrivals, CFlowLaw service) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 0);
    g.m_law = arrivals;
    auto& q = Place<CQueueDlg>(model, "Q1", 1, 0);
    auto& d = Place<TDevice>(model, "D1", 2, 0);
    d.m_law = service;
    auto& t = Place<CTerminateDlg>(model, "T1", 3, 0);
    Link(g, q);
    Link(q, d);
    Link(d, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
    return d;
}

void SingleChannel(CModel& model) { OneLine<CDeviceDlg>(model, Uniform(1, 10), Uniform(1, 8)); }

void Bank(CModel& model) {
    OneLine<CMultiDeviceDlg>(model, Uniform(1, 3), Uniform(3, 7)).m_nChannels = 3;
}

void TwoPhases(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 0);
    g.m_law = Uniform(2, 6);
    auto& q1 = Place<CQueueDlg>(model, "Q1", 1, 0);
    auto& d1 = Place<CDeviceDlg>(model, "D1", 2, 0);
    d1.m_law = Uniform(2, 5);
    auto& q2 = Place<CQueueDlg>(model, "Q2", 3, 0);
    q2.m_params.m_bLimit = 1;
    q2.m_params.m_nLimit = 3;
    auto& d2 = Place<CDeviceDlg>(model, "D2", 4, 0);
    d2.m_law = Uniform(3, 5);
    auto& t = Place<CTerminateDlg>(model, "T1", 5, 0);
    Link(g, q1);
    Link(q1, d1);
    Link(d1, q2);
    Link(q2, d2);
    Link(d2, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void RoutingByProbability(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 1);
    g.m_law = Uniform(1, 4);
    auto& k = Place<CTransferDlg>(model, "K1", 1, 1);
    k.m_rule.m_nKind = CTransferRule::kByProbability;
    k.m_rule.m_probabilities = {300, 700};
    auto& q1 = Place<CQueueDlg>(model, "Q1", 2, 0);
    auto& d1 = Place<CDeviceDlg>(model, "D1", 3, 0);
    d1.m_law = Uniform(2, 8);
    auto& q2 = Place<CQueueDlg>(model, "Q2", 2, 2);
    auto& d2 = Place<CDeviceDlg>(model, "D2", 3, 2);
    d2.m_law = Uniform(1, 5);
    auto& t = Place<CTerminateDlg>(model, "T1", 4, 1);
    Link(g, k);
    Link(k, q1, 0);
    Link(k, q2, 1);
    Link(q1, d1);
    Link(q2, d2);
    Link(d1, t);
    Link(d2, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void RoutingByState(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 1);
    g.m_law = Uniform(1, 3);
    auto& k = Place<CTransferDlg>(model, "K1", 1, 1);
    k.SetOutputCount(3);
    k.m_rule.SetOutputCount(3);
    auto& d1 = Place<CDeviceDlg>(model, "D1", 2, 0);
    d1.m_law = Uniform(3, 6);
    auto& d2 = Place<CDeviceDlg>(model, "D2", 2, 1);
    d2.m_law = Uniform(3, 6);
    auto& q3 = Place<CQueueDlg>(model, "Q3", 2, 2);
    auto& d3 = Place<CDeviceDlg>(model, "D3", 3, 2);
    d3.m_law = Uniform(2, 4);
    auto& t = Place<CTerminateDlg>(model, "T1", 4, 1);
    // To the first free device; when both are busy, to the reserve line.
    k.m_rule.m_nKind = CTransferRule::kByState;
    k.m_rule.m_conditionBlocks = {&d1, &d2, &d3};
    k.m_rule.m_conditionStates = {CTransferRule::kFree, CTransferRule::kFree, CTransferRule::kBusy};
    Link(g, k);
    Link(k, d1, 0);
    Link(k, d2, 1);
    Link(k, q3, 2);
    Link(q3, d3);
    Link(d1, t);
    Link(d2, t);
    Link(d3, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void Priorities(CModel& model) {
    auto& regular = Place<CGenerateDlg>(model, "Regular", 0, 0);
    regular.m_law = Uniform(2, 6);
    auto& urgent = Place<CGenerateDlg>(model, "Urgent", 0, 1);
    urgent.m_law = Uniform(8, 16);
    urgent.m_params.m_bPriority = 1;
    urgent.m_params.m_nPriority = 5;
    auto& q = Place<CQueueDlg>(model, "Q1", 1, 0);
    q.m_params.m_nDiscipline = CQueueParams::kPriority;
    auto& d = Place<CDeviceDlg>(model, "D1", 2, 0);
    d.m_law = Uniform(2, 4);
    auto& t = Place<CTerminateDlg>(model, "T1", 3, 0);
    Link(regular, q);
    Link(urgent, q);
    Link(q, d);
    Link(d, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void ForkAndJoin(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 1);
    g.m_law = Uniform(4, 8);
    auto& s = Place<CSplitDlg>(model, "S1", 1, 1);
    auto& q1 = Place<CQueueDlg>(model, "Q1", 2, 0);
    auto& d1 = Place<CDeviceDlg>(model, "D1", 3, 0);
    d1.m_law = Uniform(2, 6);
    auto& q2 = Place<CQueueDlg>(model, "Q2", 2, 2);
    auto& d2 = Place<CDeviceDlg>(model, "D2", 3, 2);
    d2.m_law = Uniform(3, 7);
    auto& a = Place<CAssembleDlg>(model, "A1", 4, 1);
    a.m_nWaitCount = 2;
    auto& t = Place<CTerminateDlg>(model, "T1", 5, 1);
    Link(g, s);
    Link(s, q1, 0);
    Link(s, q2, 1);
    Link(q1, d1);
    Link(q2, d2);
    Link(d1, a);
    Link(d2, a);
    Link(a, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void Regather(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 0);
    g.m_law = Uniform(6, 12);
    auto& s = Place<CSplitDlg>(model, "S1", 1, 0);
    s.SetOutputCount(1);
    s.FitCopyCounts();
    s.m_copyCounts = {3};
    auto& q = Place<CQueueDlg>(model, "Q1", 2, 0);
    auto& d = Place<CDeviceDlg>(model, "D1", 3, 0);
    d.m_law = Uniform(1, 3);
    auto& w = Place<CGatherDlg>(model, "W1", 4, 0);
    w.m_nWaitCount = 3;
    auto& t = Place<CTerminateDlg>(model, "T1", 5, 0);
    Link(g, s);
    Link(s, q);
    Link(q, d);
    Link(d, w);
    Link(w, t);
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
}

void TwoGenerators(CModel& model) {
    auto& steady = Place<CGenerateDlg>(model, "Steady", 0, 0);
    steady.m_law = Fixed(5);
    auto& burst = Place<CGenerateDlg>(model, "Burst", 0, 1);
    burst.m_law = Uniform(1, 2);
    burst.m_params.m_bDelay = 1;
    burst.m_params.m_nDelay = 100;
    burst.m_params.m_bLimit = 1;
    burst.m_params.m_nLimit = 50;
    auto& q = Place<CQueueDlg>(model, "Q1", 1, 0);
    auto& d = Place<CDeviceDlg>(model, "D1", 2, 0);
    d.m_law = Uniform(2, 4);
    auto& t = Place<CTerminateDlg>(model, "T1", 3, 0);
    Link(steady, q);
    Link(burst, q);
    Link(q, d);
    Link(d, t);
    model.m_experiment = {CExperimentParams::kByTime, 2000, 5};
}

void BenchSingleChannel(CModel& model) {
    SingleChannel(model);
    model.m_experiment = {CExperimentParams::kByTime, 30000, 1000};
}

void BenchForkAndJoin(CModel& model) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 2);
    g.m_law = Fixed(2);
    auto& s = Place<CSplitDlg>(model, "S1", 1, 2);
    s.SetOutputCount(4);
    s.m_copyCounts = {1, 2, 3, 4};
    auto& a = Place<CAssembleDlg>(model, "A1", 4, 2);
    a.m_nWaitCount = 10;
    auto& t = Place<CTerminateDlg>(model, "T1", 5, 2);
    Link(g, s);
    for (int i = 0; i < 4; ++i) {
        const std::string strNumber = std::to_string(i + 1);
        auto& q = Place<CQueueDlg>(model, "Q" + strNumber, 2, i);
        q.m_params.m_nDiscipline = CQueueParams::kPriority;
        auto& d = Place<CDeviceDlg>(model, "D" + strNumber, 3, i);
        d.m_law = Uniform(1, 5 + 2 * i);
        Link(s, q, i);
        Link(q, d);
        Link(d, a);
    }
    Link(a, t);
    model.m_experiment = {CExperimentParams::kByTime, 30000, 100};
}

void BenchRandomQueue(CModel& model, std::int32_t nRuns) {
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 0);
    auto& q = Place<CQueueDlg>(model, "Q1", 1, 0);
    q.m_params.m_nDiscipline = CQueueParams::kRandom;
    auto& d = Place<CDeviceDlg>(model, "D1", 2, 0);
    d.m_law = Fixed(2);
    auto& t = Place<CTerminateDlg>(model, "T1", 3, 0);
    Link(g, q);
    Link(q, d);
    Link(d, t);
    model.m_experiment = {CExperimentParams::kByTime, 30000, nRuns};
}

// Arrivals every tick, each sent by chance to one of 19 lines (a draw every tick, so no tick can
// be skipped): 18 lines of a queue and a device, and one device that takes its transacts
// straight from the switching block; 40 blocks in all.
void BenchSwitch40(CModel& model) {
    constexpr int kLines = 19;
    auto& g = Place<CGenerateDlg>(model, "G1", 0, 9);
    g.m_law = Fixed(1);
    auto& k = Place<CTransferDlg>(model, "K1", 1, 9);
    k.SetOutputCount(kLines);
    k.m_rule.SetOutputCount(kLines);
    k.m_rule.m_nKind = CTransferRule::kByProbability;
    k.m_rule.m_probabilities.assign(kLines, 53);
    k.m_rule.m_probabilities.back() = CTransferRule::kWhole - 53 * (kLines - 1);
    auto& t = Place<CTerminateDlg>(model, "T1", 4, 9);
    Link(g, k);
    for (int i = 0; i < kLines; ++i) {
        const std::string strNumber = std::to_string(i + 1);
        auto& d = Place<CDeviceDlg>(model, "D" + strNumber, 3, i);
        d.m_law = Uniform(5, 25);
        if (i + 1 < kLines) {
            auto& q = Place<CQueueDlg>(model, "Q" + strNumber, 2, i);
            Link(k, q, i);
            Link(q, d);
        } else {
            Link(k, d, i);
        }
        Link(d, t);
    }
    model.m_experiment = {CExperimentParams::kByTime, 30000, 30};
}

}  // namespace

const std::vector<SShippedModel>& ShippedModels() {
    static const std::vector<SShippedModel> models = {
        {"examples", "single-channel.mrd",
         "one queue before one device: arrivals every 1 to 10 ticks, service 1 to 8 ticks",
         SingleChannel},
        {"examples", "two-phases.mrd",
         "two devices in series; the queue before the second holds at most 3, so the first "
         "device waits when it is full",
         TwoPhases},
        {"examples", "routing-by-probability.mrd",
         "a switching block sends 30% of the arrivals to one line and 70% to another",
         RoutingByProbability},
        {"examples", "routing-by-state.mrd",
         "a switching block sends each arrival to the first free device, or to a reserve "
         "line when both are busy",
         RoutingByState},
        {"examples", "priorities.mrd",
         "urgent arrivals (priority 5) overtake regular ones in a queue served by priority",
         Priorities},
        {"examples", "fork-and-join.mrd",
         "each arrival is copied to two lines and assembled back into one when both copies "
         "are done",
         ForkAndJoin},
        {"examples", "regather.mrd",
         "each arrival is copied three times; a waiting block holds the copies until all three "
         "are served and releases them together",
         Regather},
        {"examples", "two-generators.mrd",
         "a steady flow and a burst of 50 arrivals per run share one device, five runs",
         TwoGenerators},
        {"examples", "bank.mrd",
         "one line before three tellers (a multichannel device): arrivals every 1 to 3 ticks, "
         "service 3 to 7 ticks",
         Bank},
        {"bench/models", "b1-single-channel.mrd",
         "B1: the single channel for 1000 runs of 30 000 ticks (3*10^7 ticks)", BenchSingleChannel},
        {"bench/models", "b2-fork-and-join.mrd",
         "B2: every arrival copied 1, 2, 3 and 4 times to overloaded devices and assembled "
         "from 10; 100 runs of 30 000 ticks",
         BenchForkAndJoin},
        {"bench/models", "b3-random-queue.mrd",
         "B3: a queue with random discipline that grows to about 150 000; 10 runs",
         [](CModel& model) { BenchRandomQueue(model, 10); }},
        {"bench/models", "b3-random-queue-20.mrd",
         "B3 with 20 runs (the queue grows twice as long), for the growth of its cost",
         [](CModel& model) { BenchRandomQueue(model, 20); }},
        {"bench/models", "b4-switch-40.mrd",
         "B4: a switching block choosing by chance every tick among 19 lines, 40 blocks; "
         "30 runs of 30 000 ticks, none of which can be skipped",
         BenchSwitch40},
    };
    return models;
}

}  // namespace mardo::tools
