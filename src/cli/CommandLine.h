#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mardo::cli {

// What the batch runner was asked to do.
struct SOptions {
    bool bJson = false;
    bool bQuiet = false;
    bool bHelp = false;
    std::optional<std::string> htmlPath;
    std::string strModelPath;
};

// The options, or the one-line reason why the arguments cannot be used.
struct SParseResult {
    std::optional<SOptions> options;
    std::string strError;
};

SParseResult ParseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* kUsage = "usage: mardo-run [--json] [--html FILE] [--quiet] MODEL.mrd";

}  // namespace mardo::cli
