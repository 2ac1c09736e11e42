#include "cli/CommandLine.h"

namespace mardo::cli {

SParseResult ParseCommandLine(const std::vector<std::string>& args) {
    SOptions options;
    bool bHaveModel = false;
    bool bOptionsEnded = false;
    auto fail = [](std::string strError) { return SParseResult{std::nullopt, std::move(strError)}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        if (!bOptionsEnded && strArg.size() > 1 && strArg[0] == '-') {
            if (strArg == "--") {
                bOptionsEnded = true;
            } else if (strArg == "--json") {
                options.bJson = true;
            } else if (strArg == "--quiet") {
                options.bQuiet = true;
            } else if (strArg == "--help" || strArg == "-h") {
                options.bHelp = true;
            } else if (strArg == "--html") {
                if (i + 1 >= args.size()) {
                    return fail("mardo-run: --html needs a file name");
                }
                options.htmlPath = args[++i];
            } else if (strArg.rfind("--html=", 0) == 0) {
                if (strArg.size() == 7) {
                    return fail("mardo-run: --html needs a file name");
                }
                options.htmlPath = strArg.substr(7);
            } else {
                return fail("mardo-run: unknown option " + strArg);
            }
            continue;
        }
        if (bHaveModel) {
            return fail("mardo-run: only one model file may be given (also got " + strArg + ")");
        }
        options.strModelPath = strArg;
        bHaveModel = true;
    }
    if (!bHaveModel && !options.bHelp) {
        return fail("mardo-run: no model file given");
    }
    return {options, {}};
}

}  // namespace mardo::cli
