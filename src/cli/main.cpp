#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/BatchRun.h"
#include "cli/CommandLine.h"

namespace {

constexpr const char* kHelp =
    "Simulates a Mardo model file once with its own experiment conditions and prints the log\n"
    "and the report.\n"
    "\n"
    "  --json        print one JSON document instead of text\n"
    "  --html FILE   also write the report as an HTML page (Windows-1251)\n"
    "  --quiet       print only the report tables\n"
    "  --help        show this help\n"
    "  --            end of options\n"
    "\n"
    "Exit status: 0 the model ran, 1 the model check failed, 2 the file was refused,\n"
    "3 the model cannot be simulated safely (a chain too long for the memory, or outputs\n"
    "that fan out into too many paths), 64 the arguments cannot be used.\n";

}  // namespace

int main(int argc, char* argv[]) {
    using namespace mardo::cli;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const SParseResult parsed = ParseCommandLine(args);
    if (!parsed.options) {
        std::cerr << parsed.strError << '\n' << kUsage << '\n';
        return kUsageError;
    }
    if (parsed.options->bHelp) {
        std::cout << kUsage << "\n\n" << kHelp;
        return kRan;
    }
    CBatchRun run(*parsed.options, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    return run.Execute();
}
