// What watching costs a simulation at the highest speed: each model file given simulated through
// the run session as the run window does (traced), and again watched as the diagram's view does
// at "максимум" (a snapshot asked for and taken every 16 ms, no pause condition), alternately,
// three times each. Printed: the median processor time of the simulation's thread (the process's
// other threads than this one, which waits), which other work on the machine hardly changes.
// Figures, not a test: build with optimisation and read them on an otherwise idle machine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "OtherThreadsTime.h"
#include "core/model/Model.h"
#include "core/persist/ModelFile.h"
#include "core/run/RunSession.h"
#include "core/run/WatchControl.h"
#include "platform/SimulationThread.h"

using namespace mardo;

namespace {

using bench::OtherThreadsSeconds;

double Simulate(CModel& model, bool bWatched) {
    CWatchControl watch(model);
    CRunSession session(model, std::make_unique<platform::CSimulationThread>());
    session.SetTracing(true);
    if (bWatched) {
        session.SetWatch(&watch);
        watch.SetPace(0);
        watch.Run();
    }
    const double dStart = OtherThreadsSeconds();
    if (session.Start()) {
        return -1.0;
    }
    std::size_t nFrames = 0;
    for (;;) {
        session.TakeMessages();
        if (bWatched) {
            watch.WantSnapshot();
            nFrames += watch.TakeSnapshot() ? 1 : 0;
        }
        if (session.TakeEnd()) {
            break;
        }
        session.WaitFor(std::chrono::milliseconds(16));
    }
    return OtherThreadsSeconds() - dStart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("%-28s %12s %12s %8s\n", "model", "run, s", "watched, s", "cost");
    for (int i = 1; i < argc; ++i) {
        CModel model;
        if (!LoadModel(model, argv[i]).IsLoaded()) {
            std::fprintf(stderr, "%s: cannot be read\n", argv[i]);
            return 1;
        }
        std::vector<double> plain;
        std::vector<double> watched;
        for (int k = 0; k < 3; ++k) {
            plain.push_back(Simulate(model, false));
            watched.push_back(Simulate(model, true));
        }
        const double dPlain = Median(plain);
        const double dWatched = Median(watched);
        std::printf("%-28s %12.3f %12.3f %+7.1f%%\n", argv[i], dPlain, dWatched,
                    100.0 * (dWatched / dPlain - 1.0));
    }
    return 0;
}
