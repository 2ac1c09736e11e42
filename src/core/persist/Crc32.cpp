#include "core/persist/Crc32.h"

#include <array>

namespace mardo {

namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t n = i;
        for (int k = 0; k < 8; ++k) {
            n = (n & 1) ? (n >> 1) ^ 0xEDB88320u : n >> 1;
        }
        table[i] = n;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t ComputeChecksum(const std::uint8_t* pBytes, std::size_t nLength) {
    std::uint32_t nRegister = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < nLength; ++i) {
        nRegister = kTable[(pBytes[i] ^ nRegister) & 0xFF] ^ (nRegister >> 8);
    }
    return nRegister;
}

}  // namespace mardo
