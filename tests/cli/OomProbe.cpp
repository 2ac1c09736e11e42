// The batch runner with little memory: the address space may grow by only the given number of
// megabytes beyond what the process has mapped at start.
// Usage: mardo_oom_probe MEGABYTES MODEL.mrd
#include <cstdlib>
#include <iostream>

#include "AddressSpace.h"
#include "cli/BatchRun.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: mardo_oom_probe MEGABYTES MODEL.mrd\n";
        return mardo::cli::kUsageError;
    }
    mardo::test::LimitAddressSpace(std::strtoull(argv[1], nullptr, 10) << 20);
    mardo::cli::SOptions options;
    options.strModelPath = argv[2];
    mardo::cli::CBatchRun run(options, std::cout, std::cerr, false);
    return run.Execute();
}
