#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Comparison.h"
#include "core/experiment/Precision.h"
#include "core/experiment/Replication.h"
#include "core/experiment/Warmup.h"
#include "core/run/MessageQueue.h"

namespace mardo {

// The JSON documents of the batch runner: of one simulation, and of an experiment, which is
// written, read back and merged here alone. Texts that are not UTF-8 (a model file's name)
// are written with their bad bytes replaced, so every document is valid JSON; numbers are
// written in the shortest form that reads back exactly, a whole number as an integer, and a
// number that is none (the interval of a single replication) as null.

// One simulation: its model, whether the check passed, the generator (named unless exact), its
// log lines and its report (no
// report: the model time, the departures and the tables' rows are empty).
struct SSimulationDoc {
    std::string strModel;
    bool bPassed = true;
    EGenerator generator = EGenerator::kExact;
    std::vector<CMessageQueue::SLine> lines;
    std::uint32_t nModelTime = 0;
    std::uint32_t nDeparted = 0;
    std::vector<SFigureTable> tables;
};
std::string WriteSimulationDoc(const SSimulationDoc& doc);

// An experiment: what it was made of, every replication at every point and each point's
// summary (a share's interval as "ciLow" and "ciHigh", any other's half-width as "ci95").
// What an experiment found beyond its summaries: alternatives against a base ("comparisons",
// each figure's difference as the summary's numbers are, with "significant"), the precision
// its replications reached ("precision", the shares in percent), and how the warm-up was chosen
// when it was ("warmupAuto": ticks, the deciding block as "series", and "steady").
struct SExperimentFindings {
    std::vector<SComparison> comparisons;
    std::optional<SPrecisionGoal> precisionGoal;
    SPrecisionOutcome precision;
    std::optional<SWarmupChoice> warmup;
};
void WriteExperimentDoc(const SExperimentRecord& record, std::ostream& out,
                        const SExperimentFindings& findings = {});

// Reads an experiment's document (its summary is not read: it is computed again): any valid
// JSON spelling of it, every figure checked against its column's range. Answers nothing, with
// the reason in strError, for a text that is not such a document.
std::optional<SExperimentRecord> ReadExperimentDoc(const std::string& strText,
                                                   std::string& strError);

// Joins the documents of one experiment made by separate runs: the same model, generator, base
// seed, number of replications, warm-up and points, the same blocks in every replication, each
// replication once and with the seed the experiment gives it. The replications come out by
// point and index, as one run of all of them gives them.
std::optional<SExperimentRecord> MergeExperimentDocs(const std::vector<SExperimentRecord>& docs,
                                                     std::string& strError);

}  // namespace mardo
