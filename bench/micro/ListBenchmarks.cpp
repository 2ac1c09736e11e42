// Micro-benchmarks of the operations whose cost could grow with the number of transacts: random
// and priority insertion into long lists, the choice of the best head among several lists, and
// the regathering blocks' lookup of a transact's group among many open ones.
#include <benchmark/benchmark.h>

#include <random>

#include "core/model/PriorityChange.h"
#include "core/model/TransactMoves.h"
#include "core/sim/ChainSet.h"
#include "core/sim/CopyGroups.h"
#include "core/sim/Rand.h"
#include "core/sim/TransactList.h"

namespace mardo {
namespace {

// A queue of n transacts with random discipline: each step admits one and serves one.
void RandomInsertion(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    ResetRand();
    CTransactList queue;
    CTransactList arrival;
    for (std::size_t i = 0; i < n; ++i) {
        arrival.PushBack(CTransact(nullptr, static_cast<std::int32_t>(i), 0));
        TakeRandom(queue, &arrival, 0, false, nullptr);
    }
    std::int32_t nNumber = 0;
    for (auto _ : state) {
        arrival.PushBack(CTransact(nullptr, ++nNumber, 0));
        TakeRandom(queue, &arrival, 0, false, nullptr);
        benchmark::DoNotOptimize(queue.PopFront());
    }
}
BENCHMARK(RandomInsertion)->RangeMultiplier(10)->Range(1000, 1000000);

// A queue of n transacts served by priority, newcomers of random priority among 10.
void PriorityInsertion(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::mt19937 random(1);
    CTransactList queue;
    CTransactList arrival;
    const CPriorityChange unchanged;
    for (std::size_t i = 0; i < n; ++i) {
        arrival.PushBack(CTransact(nullptr, 0, static_cast<std::int32_t>(random() % 10)));
        TakeByPriority(queue, &arrival, 0, false, &unchanged);
    }
    for (auto _ : state) {
        arrival.PushBack(CTransact(nullptr, 0, static_cast<std::int32_t>(random() % 10)));
        TakeByPriority(queue, &arrival, 0, false, &unchanged);
        benchmark::DoNotOptimize(queue.PopFront());
    }
}
BENCHMARK(PriorityInsertion)->RangeMultiplier(10)->Range(1000, 1000000);

// A device fed by k lists of 100 transacts each takes the best head, which is then put back.
void TakeBest(benchmark::State& state) {
    const auto nLists = static_cast<std::size_t>(state.range(0));
    std::vector<CTransactList> lists(nLists);
    CChainSet set;
    std::mt19937 random(2);
    for (CTransactList& list : lists) {
        for (int i = 0; i < 100; ++i) {
            list.PushBack(CTransact(nullptr, i, static_cast<std::int32_t>(random() % 5)));
        }
        set.Add(&list);
    }
    std::size_t nNext = 0;
    for (auto _ : state) {
        const std::optional<CTransact> best = set.TakeBest();
        lists[nNext++ % nLists].PushBack(*best);
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(TakeBest)->DenseRange(1, 20, 19)->Arg(5)->Arg(10);

// An assembling block with 10^5 open groups: each step completes the oldest and opens one.
void GroupLookup(benchmark::State& state) {
    const auto nOpen = static_cast<std::int32_t>(state.range(0));
    CCopyGroups groups;
    for (std::int32_t i = 0; i < nOpen; ++i) {
        groups.Add(CTransact(nullptr, i, 0));
    }
    std::int32_t nOldest = 0;
    for (auto _ : state) {
        const CTransact oldest(nullptr, nOldest, 0);
        benchmark::DoNotOptimize(groups.CountOf(oldest));
        groups.Remove(oldest);
        groups.Add(CTransact(nullptr, nOldest + nOpen, 0));
        ++nOldest;
    }
}
BENCHMARK(GroupLookup)->Arg(100000);

}  // namespace
}  // namespace mardo

BENCHMARK_MAIN();
