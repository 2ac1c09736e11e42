#pragma once

#include <cstdint>

#include "core/sim/RandomContext.h"

namespace mardo {

// Independent streams of the generator for the replications of an experiment: replication k
// of R starts k shares after the base seed, so the streams never overlap as long as no
// replication draws more than its share. A share is the golden section of the cycle divided by
// R (2654435769 / R draws), not 2^32 / R: with the modulus a power of two, states a power of two
// apart agree in their low bits forever, and replications 2^32 / R apart would draw numbers in
// step with each other.

// The state nSteps draws after nState, by the generator's own step composed by squaring.
std::uint32_t AdvanceRand(std::uint32_t nState, std::uint64_t nSteps);
// How many draws lead from nFrom to nTo (modulo 2^32, the length of the cycle).
std::uint32_t CountDraws(std::uint32_t nFrom, std::uint32_t nTo);
// The draws one of nReplications replications may make without reaching the next one's stream.
std::uint64_t ReplicationShare(std::int32_t nReplications);
// The same for either generator: the streams' replications never share a number.
std::uint64_t ReplicationShare(EGenerator generator, std::int32_t nReplications);
std::uint32_t ReplicationSeed(std::uint32_t nBaseSeed, std::int32_t nIndex,
                              std::int32_t nReplications);

}  // namespace mardo
