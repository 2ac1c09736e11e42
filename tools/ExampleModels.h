#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/model/Model.h"

namespace mardo::tools {

// A model the project ships as a file, built through the core's own classes.
struct SShippedModel {
    std::string strFolder;       // "examples" or "bench/models", from the source tree's root
    std::string strFile;         // file name with its extension
    std::string strDescription;  // one line for the folder's README
    std::function<void(CModel&)> build;
};

// Every sample model and benchmark model, in a fixed order.
const std::vector<SShippedModel>& ShippedModels();

}  // namespace mardo::tools
