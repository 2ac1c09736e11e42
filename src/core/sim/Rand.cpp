#include "core/sim/Rand.h"

namespace mardo {

thread_local constinit std::uint32_t t_nRandState = 1;

}  // namespace mardo
