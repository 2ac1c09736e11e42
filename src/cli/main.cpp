#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "core/model/BlockDlg.h"
#include "core/model/BlockKinds.h"

namespace {

constexpr const char* kHelp =
    "Simulates a Mardo model file once with its own experiment conditions and prints the log\n"
    "and the report; or makes an experiment of it: independent replications, parameter\n"
    "changes and sweeps, summarized as mean, standard deviation and 95% confidence interval.\n"
    "\n"
    "  --json             print one JSON document instead of text\n"
    "  --html FILE        also write the report as an HTML page (Windows-1251)\n"
    "  --trace FILE       also write each queue's content and each device's state over\n"
    "                     model time as CSV: per interval of ticks (at most 2048 per\n"
    "                     block) its first and last tick and the least, greatest and mean\n"
    "                     value\n"
    "  --quiet            print only the report tables\n"
    "  --tick-by-tick     simulate every pass of every tick, as the reference: no tick in\n"
    "                     which nothing would change is skipped and no pass is left out;\n"
    "                     the output is the same, only slower\n"
    "  --seed N           the random numbers' seed (0..4294967295) instead of 1: the exact\n"
    "                     generator's starting state (with 1, or without, the simulation\n"
    "                     is exactly the usual one), or the streams' base seed\n"
    "  --generator streams|exact\n"
    "                     streams (the default with --replications, --replication,\n"
    "                     --sweep, --csv and --merge): every random source of the model\n"
    "                     (a generator's intervals, a device's service times, a switching\n"
    "                     block's choices, a random queue's places) draws unbiased numbers\n"
    "                     from a stream of its own, chosen by the seed, the block's name and\n"
    "                     the source, with replication K the same whatever R is; exact (the\n"
    "                     default for one simulation): the one generator and the formulas\n"
    "                     of the desktop program, replications jumped along its sequence.\n"
    "                     Documents name their generator; --merge joins only documents of\n"
    "                     the generator it is given\n"
    "  --set TARGET=VALUE change a parameter before simulating (repeatable); TARGET is\n"
    "                     model.stopRule (time, count), model.stopValue, model.runs or\n"
    "                     NAME.PARAM for the block named NAME: generator interval, delay,\n"
    "                     limit, priority; device service; multichannel device service\n"
    "                     and channels (1..1000); queue discipline (fifo, lifo,\n"
    "                     random, priority) and limit; switching block probabilities\n"
    "                     (thousandths, one per output: 300,700); copying block counts;\n"
    "                     waiting and assembling blocks count. A law is 5 (deterministic)\n"
    "                     or 1..10 (uniform); delay, limit and priority may be off\n"
    "  --list-params      print every target of the model with its value, and exit\n"
    "  --list-kinds       print every kind of block, as the palette orders them: its code\n"
    "                     in the model file and its title, and exit\n"
    "  --replications R   simulate R (1..100000) independent replications, each with its\n"
    "                     own random numbers, and summarize them\n"
    "  --replication K    simulate only replication K (0..R-1) of R, for job arrays\n"
    "  --sweep TARGET=V1,V2,...\n"
    "                     replicate at every value (repeatable, each target once: every\n"
    "                     combination), all points with the same seeds; a list value is\n"
    "                     written with / there (K1.probabilities=300/700,500/500); at most\n"
    "                     100000 simulations (points times replications)\n"
    "  --warmup TICKS     compute every figure as if the simulation had started at the end\n"
    "                     of tick TICKS, with the transacts then in the system kept; it\n"
    "                     must end before the simulation does\n"
    "  --warmup auto      choose the warm-up from the model's own start-up: the\n"
    "                     replications of the first point are simulated first without one,\n"
    "                     following each queue's content and each device's state; their\n"
    "                     means over intervals of ticks, averaged over the replications,\n"
    "                     give each block's truncation by MSER-5, and the latest is used\n"
    "                     (\"Разогрев: 1 350 тактов (по очереди Q1)\"; JSON: \"warmupAuto\":\n"
    "                     ticks, series, steady). When a series keeps moving (its point in\n"
    "                     the last half of the run, or its halves differ) it says the model\n"
    "                     did not settle in this run length. The first simulations, which\n"
    "                     follow every tick, double the work or more; there are at least\n"
    "                     20 of them (20 with --precision); not with --replication\n"
    "  --waits            record the waiting time (ticks) of every transact that leaves a\n"
    "                     queue after the warm-up: waitP50, waitP90, waitP95, waitP99 per\n"
    "                     queue in every replication and over them\n"
    "  --wait-over X      also the share of transacts that waited more than X ticks\n"
    "                     (\"waitOver\": {\"X\": share}); repeatable, implies --waits\n"
    "  --jobs J           simulate on J threads (default: the number of cores); the output\n"
    "                     is the same whatever J is\n"
    "  --csv FILE         also write the figures as tidy CSV: one row per point,\n"
    "                     replication and figure, then the point's summary rows (mean,\n"
    "                     stdev, ci95, ciLow, ciHigh), each with the generator, base seed,\n"
    "                     warm-up and R\n"
    "  --compare BASE.mrd OTHER.mrd...\n"
    "                     replicate every model with the same seeds (a block's random\n"
    "                     numbers follow its name, so alternatives see the same arrivals)\n"
    "                     and, for every figure both the base and another model have (same\n"
    "                     block name, same figure), summarize the paired differences\n"
    "                     other - base: mean ± 95% half-width and whether it excludes 0\n"
    "                     (\"significant\"); with several others the intervals are widened\n"
    "                     by Bonferroni. JSON: \"comparisons\"; CSV: rows \"difference\"\n"
    "  --compare-to-first the same for every point of the sweeps against the first point\n"
    "  --precision P      replicate in rounds (10 first, then half as many again) until\n"
    "                     every chosen figure's 95% half-width is at most P percent of its\n"
    "                     mean, at most --replications MAX in all; says how many it took and\n"
    "                     which figure decided, or which fell short (JSON: \"precision\")\n"
    "  --figures BLOCK.FIGURE,...\n"
    "                     the figures --precision watches (Q1.avgTimeAll, D1.utilization);\n"
    "                     default: every queue's avgTimeAll and every device's utilization\n"
    "  --merge FILE...    join the JSON documents of separate runs of single replications\n"
    "                     and print what --replications would have printed; every figure\n"
    "                     is checked, and the documents must name the same blocks and seeds\n"
    "  --help             show this help\n"
    "  --                 end of options\n"
    "\n"
    "With the exact generator every replication's seed is printed (not with --quiet), and\n"
    "--seed with that seed alone reproduces it; with the streams, --seed N --replications R\n"
    "--replication K reproduces replication K of seed N whatever R is (above K).\n"
    "\n"
    "Figures: JSON, CSV and every experiment summary carry a quotient (utilization, mean\n"
    "time, mean content) exactly as divided; the text tables and the HTML page show it\n"
    "0.0005 lower, as the report window does, so that it rounds down at the half. A share\n"
    "(a state at the end, 0 or 1 in each replication) gets a Wilson score interval, shown\n"
    "as \"0.40 [0.17; 0.69]\" and written as \"ciLow\" and \"ciHigh\".\n"
    "\n"
    "Exit status: 0 the model ran, 1 the model check failed, 2 the file was refused,\n"
    "3 the model cannot be simulated safely (a chain too long for the memory, or outputs\n"
    "that fan out into too many paths), 4 the simulation ran out of memory (its transacts\n"
    "reached half of the memory the machine, the control group or the address-space limit\n"
    "allows, or an allocation failed), 5 model time reached its end, tick 4294967295,\n"
    "before the stop rule was met; after 4 and 5 the report holds the figures up to that\n"
    "tick and the reason is also printed on standard error; 64 the arguments cannot be\n"
    "used (an unknown target or a bad value is named; an output that would overwrite the\n"
    "model or a merged document; too many simulations; a target swept twice; a warm-up\n"
    "that reaches the end of the simulation), 74 an output could not be written (--html,\n"
    "--csv or --trace to a missing folder, a folder or a full disk, or the standard output).\n";

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
        return std::cout.flush() ? kRan : kOutputFailed;
    }
    if (parsed.options->bListKinds) {
        for (const mardo::SBlockKindEntry& entry : mardo::BlockKinds()) {
            std::cout << static_cast<int>(entry.nKind) << '\t'
                      << entry.create({})->GetKindTitle() << '\n';
        }
        return kRan;
    }
    CBatchRun run(*parsed.options, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    const EExitStatus status = run.Execute();
    // A result that did not reach its reader must not count as done.
    if (!std::cout.flush()) {
        std::cerr << "mardo-run: cannot write the standard output\n";
        return kOutputFailed;
    }
    return status;
}
