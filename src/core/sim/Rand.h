#pragma once

#include <cstdint>

namespace mardo {

// The calling thread's generator state; use the functions below, not the variable.
extern thread_local constinit std::uint32_t t_nRandState;

// The generator's step, s <- s * kRandMultiplier + kRandIncrement (mod 2^32). Its cycle is
// all 2^32 states (the increment is odd and the multiplier is 1 modulo 4).
inline constexpr std::uint32_t kRandMultiplier = 214013u;
inline constexpr std::uint32_t kRandIncrement = 2531011u;

// The system's one pseudo-random generator: a linear congruential sequence with the step
// above, answering (s >> 16) & 32767. Its state belongs to the calling thread, so a
// simulation's worker and the window thread never share it.
inline int Rand() {
    t_nRandState = t_nRandState * kRandMultiplier + kRandIncrement;
    return static_cast<int>((t_nRandState >> 16) & 32767u);
}

// The value the next Rand() will answer, without drawing it.
inline int PeekRand() {
    return static_cast<int>(((t_nRandState * kRandMultiplier + kRandIncrement) >> 16) & 32767u);
}

// The state every simulation starts from unless an experiment gives another.
inline constexpr std::uint32_t kFirstRandState = 1;

// Sets the calling thread's state back to 1. Every simulation starts from a set state, so it
// draws the same sequence whatever thread runs it.
inline void ResetRand() { t_nRandState = kFirstRandState; }
inline void SeedRand(std::uint32_t nState) { t_nRandState = nState; }
inline std::uint32_t GetRandState() { return t_nRandState; }

}  // namespace mardo
