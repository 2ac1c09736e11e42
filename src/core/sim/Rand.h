#pragma once

#include <cstdint>

namespace mardo {

// The calling thread's generator state; use the functions below, not the variable.
extern thread_local constinit std::uint32_t t_nRandState;

// The system's one pseudo-random generator: a linear congruential sequence with
// s <- s * 214013 + 2531011 (mod 2^32), answering (s >> 16) & 32767. Its state belongs
// to the calling thread, so a simulation's worker and the window thread never share it.
inline int Rand() {
    t_nRandState = t_nRandState * 214013u + 2531011u;
    return static_cast<int>((t_nRandState >> 16) & 32767u);
}

// The value the next Rand() will answer, without drawing it.
inline int PeekRand() {
    return static_cast<int>(((t_nRandState * 214013u + 2531011u) >> 16) & 32767u);
}

// Sets the calling thread's state back to 1. Every simulation starts with this, so it draws
// the same sequence whatever thread runs it.
inline void ResetRand() { t_nRandState = 1; }

}  // namespace mardo
