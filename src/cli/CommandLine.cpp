#include "cli/CommandLine.h"

#include <algorithm>
#include <charconv>

#include "core/model/BlockParam.h"

namespace mardo::cli {

namespace {

// A percent in (0, 100], with a dot whatever the locale.
std::optional<double> ParsePercent(const std::string& strText) {
    double d = 0.0;
    const char* pEnd = strText.data() + strText.size();
    const auto result = std::from_chars(strText.data(), pEnd, d);
    if (strText.empty() || result.ec != std::errc() || result.ptr != pEnd || !(d > 0.0) ||
        d > 100.0) {
        return std::nullopt;
    }
    return d;
}

}  // namespace

SParseResult ParseCommandLine(const std::vector<std::string>& args) {
    SOptions options;
    std::vector<std::string> operands;
    bool bOptionsEnded = false;
    auto fail = [](std::string strError) {
        return SParseResult{std::nullopt, "mardo-run: " + std::move(strError)};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string strArg = args[i];
        if (bOptionsEnded || strArg.size() < 2 || strArg[0] != '-') {
            operands.push_back(strArg);
            continue;
        }
        // "--name=value" is "--name value".
        std::optional<std::string> inlineValue;
        if (const std::size_t nEquals = strArg.find('='); strArg.rfind("--", 0) == 0 &&
                                                           nEquals != std::string::npos) {
            inlineValue = strArg.substr(nEquals + 1);
            strArg.resize(nEquals);
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
        const auto number = [&](std::int64_t nMin,
                                std::int64_t nMax) -> std::optional<std::int64_t> {
            const std::optional<std::string> text = value();
            return text ? ParseWholeNumber(*text, nMin, nMax) : std::nullopt;
        };
        const auto range = [](std::int64_t nMin, std::int64_t nMax) {
            return " needs a whole number in " + std::to_string(nMin) + ".." +
                   std::to_string(nMax);
        };
        if (strArg == "--") {
            bOptionsEnded = true;
        } else if (strArg == "--json") {
            options.bJson = true;
        } else if (strArg == "--quiet") {
            options.bQuiet = true;
        } else if (strArg == "--help" || strArg == "-h") {
            options.bHelp = true;
        } else if (strArg == "--tick-by-tick") {
            options.bTickByTick = true;
        } else if (strArg == "--list-kinds") {
            options.bListKinds = true;
        } else if (strArg == "--list-params") {
            options.bListParams = true;
        } else if (strArg == "--merge") {
            options.bMerge = true;
        } else if (strArg == "--compare") {
            options.bCompare = true;
        } else if (strArg == "--compare-to-first") {
            options.bCompareToFirst = true;
        } else if (strArg == "--precision") {
            const std::optional<std::string> text = value();
            options.precision = text ? ParsePercent(*text) : std::nullopt;
            if (!options.precision) {
                return fail("--precision needs a percent above 0 and at most 100");
            }
        } else if (strArg == "--figures") {
            const std::optional<std::string> text = value();
            options.figures = text ? SplitList(*text, ",") : std::vector<std::string>{};
            if (options.figures.empty() ||
                std::find(options.figures.begin(), options.figures.end(), "") !=
                    options.figures.end()) {
                return fail("--figures needs BLOCK.FIGURE names separated by commas");
            }
        } else if (strArg == "--html" || strArg == "--csv" || strArg == "--trace") {
            const std::optional<std::string> path = value();
            if (!path || path->empty()) {
                return fail(strArg + " needs a file name");
            }
            (strArg == "--html"  ? options.htmlPath
             : strArg == "--csv" ? options.csvPath
                                 : options.tracePath) = *path;
        } else if (strArg == "--seed") {
            const std::optional<std::int64_t> n = number(0, UINT32_MAX);
            if (!n) {
                return fail("--seed" + range(0, UINT32_MAX));
            }
            options.seed = static_cast<std::uint32_t>(*n);
        } else if (strArg == "--generator") {
            const std::optional<std::string> text = value();
            options.generator = text ? ParseGenerator(*text) : std::nullopt;
            if (!options.generator) {
                return fail("--generator needs streams or exact");
            }
        } else if (strArg == "--replications" || strArg == "--replication") {
            const bool bCount = strArg == "--replications";
            const std::int64_t nMin = bCount ? 1 : 0;
            const std::int64_t nMax = bCount ? kMostReplications : kMostReplications - 1;
            const std::optional<std::int64_t> n = number(nMin, nMax);
            if (!n) {
                return fail(strArg + range(nMin, nMax));
            }
            (bCount ? options.replications : options.replication) = static_cast<std::int32_t>(*n);
        } else if (strArg == "--warmup") {
            const std::optional<std::string> text = value();
            const std::optional<std::int64_t> n =
                text ? ParseWholeNumber(*text, 0, UINT32_MAX - 1) : std::nullopt;
            options.bWarmupAuto = text == "auto";
            if (!n && !options.bWarmupAuto) {
                return fail("--warmup" + range(0, UINT32_MAX - 1) + " or auto");
            }
            options.nWarmup = n ? static_cast<std::uint32_t>(*n) : 0;
        } else if (strArg == "--waits") {
            options.bWaits = true;
        } else if (strArg == "--wait-over") {
            const std::optional<std::int64_t> n = number(0, UINT32_MAX);
            if (!n) {
                return fail("--wait-over" + range(0, UINT32_MAX));
            }
            options.bWaits = true;
            const auto nTicks = static_cast<std::uint64_t>(*n);
            if (std::find(options.waitOver.begin(), options.waitOver.end(), nTicks) ==
                options.waitOver.end()) {
                options.waitOver.push_back(nTicks);
            }
        } else if (strArg == "--jobs") {
            const std::optional<std::int64_t> n = number(1, 1024);
            if (!n) {
                return fail("--jobs" + range(1, 1024));
            }
            options.jobs = static_cast<unsigned>(*n);
        } else if (strArg == "--set" || strArg == "--sweep") {
            const std::optional<std::string> text = value();
            const std::optional<SSetting> setting = text ? ParseSetting(*text) : std::nullopt;
            if (!setting) {
                return fail(strArg + " needs TARGET=VALUE");
            }
            if (strArg == "--set") {
                options.settings.push_back(*setting);
            } else {
                options.sweeps.push_back({setting->strTarget, SplitList(setting->strValue, ",")});
            }
        } else {
            return fail("unknown option " + strArg);
        }
    }
    if (options.bHelp || options.bListKinds) {
        return {options, {}};
    }
    if (options.bMerge) {
        if (options.seed || !options.settings.empty() || options.replications ||
            options.replication || !options.sweeps.empty() || options.nWarmup != 0 ||
            options.bWarmupAuto || options.htmlPath || options.tracePath || options.bListParams ||
            options.bTickByTick || options.bCompare || options.bCompareToFirst ||
            options.precision || !options.figures.empty() || options.bWaits) {
            return fail("--merge takes only --json, --csv, --quiet and --generator besides its "
                        "files");
        }
        if (operands.empty()) {
            return fail("--merge needs the JSON files to merge");
        }
        options.mergePaths = std::move(operands);
        return {options, {}};
    }
    if (operands.empty()) {
        return fail("no model file given");
    }
    if (operands.size() > 1 && !options.bCompare) {
        return fail("only one model file may be given (also got " + operands[1] + ")");
    }
    options.strModelPath = operands[0];
    options.comparePaths.assign(operands.begin() + 1, operands.end());
    // The simulations are planned before any runs: their number is bounded at once.
    std::uint64_t nSimulations = options.replication ? 1 : static_cast<std::uint64_t>(options.replications.value_or(1));
    nSimulations *= operands.size();
    for (std::size_t i = 0; i < options.sweeps.size(); ++i) {
        const SSweep& sweep = options.sweeps[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (options.sweeps[j].strTarget == sweep.strTarget) {
                return fail("--sweep " + sweep.strTarget + " is given twice");
            }
        }
        nSimulations = std::min(nSimulations * sweep.values.size(), kMostSimulations + 1);
    }
    if (nSimulations > kMostSimulations) {
        return fail("--sweep: more than " + std::to_string(kMostSimulations) +
                    " simulations (points times replications)");
    }
    if (options.bCompare && (options.comparePaths.empty() || options.replications.value_or(0) < 2)) {
        return fail("--compare needs --replications R (at least 2), the base model and the others");
    }
    if (options.bCompare && (options.replication || !options.sweeps.empty() ||
                             options.precision || options.bCompareToFirst)) {
        return fail("--compare takes no --replication, --sweep, --precision or "
                    "--compare-to-first");
    }
    if (options.bCompareToFirst &&
        (SweepPoints(options.sweeps).size() < 2 || options.replications.value_or(0) < 2 ||
         options.replication)) {
        return fail("--compare-to-first needs --sweep with two values at least and "
                    "--replications R (at least 2)");
    }
    if (options.precision && (!options.replications || options.replication)) {
        return fail("--precision needs --replications MAX, the most replications to make, and "
                    "no --replication");
    }
    if (options.precision && options.Generator() == EGenerator::kExact) {
        return fail("--precision needs the streams generator: the exact one's replications "
                    "depend on their number");
    }
    if (!options.figures.empty() && !options.precision) {
        return fail("--figures chooses the figures of --precision");
    }
    if (options.htmlPath && options.IsExperiment()) {
        return fail("--html writes the report of one simulation, not of an experiment");
    }
    if (options.tracePath && options.IsExperiment()) {
        return fail("--trace writes the figures of one simulation, not of an experiment");
    }
    if (options.bWaits && !options.IsExperiment()) {
        return fail("--waits and --wait-over measure the replications of an experiment "
                    "(--replications, --sweep or --csv)");
    }
    if (options.bWarmupAuto && (!options.IsExperiment() || options.replication)) {
        return fail("--warmup auto chooses the warm-up of an experiment's replications "
                    "(--replications, --sweep or --csv), all of them: not with --replication");
    }
    if (options.replication && (!options.replications || *options.replication >= *options.replications)) {
        return fail("--replication K needs --replications R with K below R");
    }
    return {options, {}};
}

}  // namespace mardo::cli
