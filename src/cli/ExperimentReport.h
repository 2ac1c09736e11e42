#pragma once

#include <iosfwd>
#include <string>

#include "core/experiment/ExperimentDoc.h"
#include "core/experiment/Replication.h"

namespace mardo::cli {

// An experiment's replications and their summaries, point by point, as text tables of
// "mean ± ci95" (a share: "mean [low; high]"). Computed from the record alone, so an experiment
// run here and one merged from documents made elsewhere print the same bytes. Quiet: without
// the line per replication that names its seed. A warm-up chosen automatically is explained
// under the first line.
void WriteExperimentText(const SExperimentRecord& record, bool bQuiet, std::ostream& out,
                         const std::optional<SWarmupChoice>& warmup = std::nullopt);

// The precision reached and, per alternative, a table per block of
// the base: figure, base mean, other mean, difference ± half-width and whether the difference
// is significant.
void WriteFindingsText(const SExperimentFindings& findings, std::ostream& out);

// The warning about replications that drew more than their share of the exact generator's
// cycle, a line per point that has such; empty when none has.
std::string OverdrawnText(const SExperimentRecord& record);

}  // namespace mardo::cli
