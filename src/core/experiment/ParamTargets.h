#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/model/BlockParam.h"

namespace mardo {

class CModel;

// A value for a parameter target: "model.stopValue", or "NAME.PARAM" for the block named NAME.
struct SSetting {
    std::string strTarget;
    std::string strValue;

    friend bool operator==(const SSetting&, const SSetting&) = default;
};

// The owner of the model's own targets, its experiment conditions.
inline constexpr const char* kModelOwner = "model";

// A target split into its owner (a block's name, or kModelOwner) and its parameter, at its last
// dot: block names may hold dots, parameters do not. Nothing when it has no dot.
std::optional<std::pair<std::string, std::string>> SplitTarget(const std::string& strTarget);

// Every target of the model with its current value: the experiment conditions, then every
// named block's parameters in the model's order. The entries refer into the model.
std::vector<SBlockParam> GetParamTargets(CModel& model);

// Applies a setting to the model; answers why it cannot be applied (naming the target and the
// value), or an empty text once it is.
std::string ApplySetting(CModel& model, const SSetting& setting);

// "TARGET=VALUE" split at its last "=" (a block's name may hold one), or nothing when there is
// none.
std::optional<SSetting> ParseSetting(const std::string& strText);

}  // namespace mardo
