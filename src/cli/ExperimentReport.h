#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/experiment/Replication.h"

namespace mardo::cli {

// An experiment's replications and their summaries, point by point, as one JSON document, as
// text tables of "mean ± ci95", or as CSV rows (one per replication and one summary row per
// point). Each is computed from the record alone, so an experiment run here and one merged
// from documents made elsewhere print the same bytes.
void WriteExperimentJson(const SExperimentRecord& record, std::ostream& out);
void WriteExperimentText(const SExperimentRecord& record, std::ostream& out);
std::string FormatExperimentCsv(const SExperimentRecord& record);

}  // namespace mardo::cli

namespace mardo::cli {

class CJsonText;

// The report's tables, each an array of objects with one field per column.
void AppendFigures(CJsonText& json, const std::vector<SFigureTable>& tables);

}  // namespace mardo::cli
