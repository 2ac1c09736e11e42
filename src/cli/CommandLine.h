#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Experiment.h"
#include "core/experiment/ParamTargets.h"

namespace mardo::cli {

// What the batch runner was asked to do.
struct SOptions {
    bool bJson = false;
    bool bQuiet = false;
    bool bHelp = false;
    bool bListParams = false;
    // Every pass of every tick simulated: the reference the usual simulation must equal.
    bool bTickByTick = false;
    bool bListKinds = false;
    std::optional<std::string> htmlPath;
    std::optional<std::string> csvPath;
    std::optional<std::string> tracePath;
    std::string strModelPath;
    // The experiment: without any of these, one simulation as always.
    std::optional<std::uint32_t> seed;
    std::optional<EGenerator> generator;
    std::vector<SSetting> settings;
    std::optional<std::int32_t> replications;
    std::optional<std::int32_t> replication;
    std::vector<SSweep> sweeps;
    std::uint32_t nWarmup = 0;
    // --warmup auto: the warm-up is chosen from replications made for it first.
    bool bWarmupAuto = false;
    std::optional<unsigned> jobs;
    // --compare: the alternatives replicated with the base's random numbers; --compare-to-first:
    // every point of the sweeps against the first.
    bool bCompare = false;
    std::vector<std::string> comparePaths;
    bool bCompareToFirst = false;
    // --precision: replications in rounds, up to --replications, until the chosen figures'
    // half-widths are at most this percent of their means.
    std::optional<double> precision;
    std::vector<std::string> figures;
    // --waits: every queue's waiting-time percentiles; --wait-over X (repeatable, implies
    // --waits): the share of transacts that waited more than X ticks.
    bool bWaits = false;
    std::vector<std::uint64_t> waitOver;
    // --merge: the documents to join instead of a model.
    bool bMerge = false;
    std::vector<std::string> mergePaths;

    // Whether replications are made and summarized (rather than one simulation reported).
    bool IsExperiment() const {
        return replications || replication || !sweeps.empty() || csvPath;
    }
    // The generator asked for: by default the streams for experiments and their documents,
    // the exact generator for one simulation.
    EGenerator Generator() const {
        return generator.value_or(IsExperiment() || bMerge ? EGenerator::kStreams
                                                           : EGenerator::kExact);
    }
};

// The options, or the one-line reason why the arguments cannot be used.
struct SParseResult {
    std::optional<SOptions> options;
    std::string strError;
};

SParseResult ParseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "usage: mardo-run [--json] [--html FILE] [--trace FILE] [--quiet] [--tick-by-tick]\n"
    "                 [--seed N] [--generator streams|exact] [--set TARGET=VALUE]...\n"
    "                 [--replications R [--replication K]] [--sweep TARGET=V1,V2,...]...\n"
    "                 [--warmup TICKS|auto] [--waits] [--wait-over X]... [--jobs J] [--csv FILE]\n"
    "                 [--precision PERCENT [--figures BLOCK.FIGURE,...]] [--compare-to-first]\n"
    "                 MODEL.mrd\n"
    "       mardo-run --replications R [--json] [--csv FILE] --compare BASE.mrd OTHER.mrd...\n"
    "       mardo-run --list-params MODEL.mrd\n"
    "       mardo-run --list-kinds\n"
    "       mardo-run [--json] [--csv FILE] [--generator streams|exact] --merge FILE.json...";

}  // namespace mardo::cli
