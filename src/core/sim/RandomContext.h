#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "core/sim/RandomSource.h"

namespace mardo {

// Which numbers a simulation draws: the system's one generator with its formulas, as the run
// window and a plain batch run always have, or independent streams fit for statistics, the
// default of every experiment.
enum class EGenerator { kExact, kStreams };

// "exact" or "streams", as options and documents name them.
const char* GeneratorName(EGenerator generator);
std::optional<EGenerator> ParseGenerator(std::string_view text);

// The randomness of one simulation, which its blocks draw through. Exact: the generator starts
// from a given state and every source shares its one sequence. Streams: each random source of
// the model has a stream of its own, chosen by the base seed, the block's name and the source's
// role, with the replication in the counter. So replication k is the same whatever the number of
// replications, a block keeps its stream when the model changes around it (a sweep point, or a
// model with a generator of the same name, sees the very same arrivals), and no source's draws
// depend on how often another draws.
class CRandomContext {
public:
    // What a source is for; part of its stream's key.
    enum class ERole : std::uint8_t { kArrivals = 1, kService = 2, kChoice = 3, kPlacement = 4 };

    // The exact generator from state nState (1: the usual simulation).
    static CRandomContext Exact(std::uint32_t nState = kFirstRandState) {
        return CRandomContext(EGenerator::kExact, nState, 0);
    }
    // Replication nReplication of the streams of base seed nSeed.
    static CRandomContext Streams(std::uint32_t nSeed, std::uint32_t nReplication) {
        return CRandomContext(EGenerator::kStreams, nSeed, nReplication);
    }

    EGenerator GetGenerator() const { return m_generator; }
    // The exact generator's starting state, or the streams' base seed.
    std::uint32_t GetSeed() const { return m_nSeed; }
    std::uint32_t GetReplication() const { return m_nReplication; }

    // Before a simulation: the exact generator is set to its state, and the sources handed out
    // before are dropped (their blocks ask again).
    void Start();
    // The source of the named block for the role, for the simulation under way; it stays where
    // it is until the next Start.
    CRandomSource& Source(std::string_view strBlock, ERole role);
    // The numbers the streams have drawn since Start, all together (0 for the exact generator,
    // whose draws are counted by its state).
    std::uint64_t CountStreamDraws() const;

    // The key of a stream: a 64-bit FNV-1a hash of the seed, the role and the block's name.
    static std::uint64_t StreamKey(std::uint32_t nSeed, std::string_view strBlock, ERole role);

private:
    CRandomContext(EGenerator generator, std::uint32_t nSeed, std::uint32_t nReplication)
        : m_generator(generator), m_nSeed(nSeed), m_nReplication(nReplication) {}

    EGenerator m_generator;
    std::uint32_t m_nSeed;
    std::uint32_t m_nReplication;
    std::deque<CRandomSource> m_sources;  // a deque keeps every handed-out source in place
};

}  // namespace mardo
