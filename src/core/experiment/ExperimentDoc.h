#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/experiment/Replication.h"

namespace mardo {

// Reads an experiment's JSON document as the batch runner writes it (its summary is not
// read: it is computed again). Answers nothing, with the reason in strError, for a text that
// is not such a document.
std::optional<SExperimentRecord> ReadExperimentDoc(const std::string& strText,
                                                   std::string& strError);

// Joins the documents of one experiment made by separate runs: the same generator, model, base
// seed, number of replications, warm-up and points; each replication once. The replications come
// out by point and index, as one run of all of them gives them.
std::optional<SExperimentRecord> MergeExperimentDocs(const std::vector<SExperimentRecord>& docs,
                                                     std::string& strError);

}  // namespace mardo
