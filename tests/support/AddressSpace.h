#pragma once

#include <cstddef>

namespace mardo::test {

// Lets the process map at most nBytes of address space beyond what it has mapped now, so that
// an allocation larger than that fails. The limit counts from the present size because the
// sanitizers reserve terabytes of address space at start-up.
void LimitAddressSpace(std::size_t nBytes);

}  // namespace mardo::test
