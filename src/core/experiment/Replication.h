#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/experiment/ParamTargets.h"
#include "core/report/ReportTables.h"
#include "core/sim/RandomContext.h"

namespace mardo {

// A table of the report as figures: its key, its columns' keys, how many leading columns name
// the row (a summary keeps them as they are) and its rows.
struct SFigureTable {
    std::string strKey;
    std::vector<std::string> columns;
    std::size_t nNameColumns = 0;
    std::vector<std::vector<SFigure>> rows;

    friend bool operator==(const SFigureTable&, const SFigureTable&) = default;
};

// The report's three tables as figures, and the channels of the devices that have several;
// with no report, the tables without rows.
std::vector<SFigureTable> ReportFigures(const CReportTables* pReport);

// The keys of an experiment's documents.
namespace keys {
inline constexpr const char* kModel = "model";
inline constexpr const char* kSeed = "seed";
inline constexpr const char* kGenerator = "generator";
inline constexpr const char* kReplicationCount = "replicationCount";
inline constexpr const char* kWarmup = "warmup";
inline constexpr const char* kReplications = "replications";
inline constexpr const char* kSummary = "summary";
inline constexpr const char* kPoints = "points";
inline constexpr const char* kSet = "set";
inline constexpr const char* kIndex = "index";
inline constexpr const char* kPoint = "point";
inline constexpr const char* kDraws = "draws";
inline constexpr const char* kOverdrawn = "overdrawn";
inline constexpr const char* kCount = "count";
inline constexpr const char* kModelTime = "modelTime";
inline constexpr const char* kDeparted = "departed";
inline constexpr const char* kMean = "mean";
inline constexpr const char* kStdev = "stdev";
inline constexpr const char* kCi95 = "ci95";
inline constexpr const char* kCiLow = "ciLow";
inline constexpr const char* kCiHigh = "ciHigh";
}  // namespace keys

// One simulation of an experiment: its number, the exact generator's state it started from (with
// the streams, the base seed), how many numbers it drew (with the streams, all of its streams
// together, up to 2^32 - 1), and its report.
struct SReplication {
    std::int32_t nIndex = 0;
    std::uint32_t nSeed = 0;
    std::uint32_t nDraws = 0;
    std::uint32_t nModelTime = 0;
    std::uint32_t nDeparted = 0;
    std::vector<SFigureTable> tables;
};

// The replications made at one point of an experiment, by index.
struct SPointRecord {
    std::vector<SSetting> settings;
    std::vector<SReplication> replications;
};

// An experiment as its documents record it: what it was made of and its replications.
struct SExperimentRecord {
    std::string strModel;
    std::uint32_t nSeed = 1;
    // Documents that do not name their generator were made by the exact one.
    EGenerator generator = EGenerator::kExact;
    std::int32_t nReplicationCount = 1;
    std::uint32_t nWarmup = 0;
    bool bSwept = false;  // the points are listed, each with its settings
    std::vector<SPointRecord> points;
};

}  // namespace mardo
