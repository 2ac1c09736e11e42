#pragma once

#include <cstddef>
#include <cstdint>

namespace mardo {

// The model file's checksum: CRC-32 with the reflected polynomial 0xEDB88320 and the register
// starting at 0xFFFFFFFF, stored without the final inversion (so it is the bitwise complement
// of the common CRC-32 of the same bytes). "abc" gives 0xCADBBE3D, no bytes 0xFFFFFFFF.
std::uint32_t ComputeChecksum(const std::uint8_t* pBytes, std::size_t nLength);

}  // namespace mardo
