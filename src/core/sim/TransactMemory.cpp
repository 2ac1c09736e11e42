#include "core/sim/TransactMemory.h"

#include <atomic>
#include <cstdint>

namespace mardo {

namespace {

std::atomic<std::size_t> g_nTaken{0};
std::atomic<std::size_t> g_nLimit{SIZE_MAX};

}  // namespace

void CTransactMemory::SetLimit(std::size_t nBytes) {
    g_nLimit.store(nBytes, std::memory_order_relaxed);
}

std::size_t CTransactMemory::GetLimit() {
    return g_nLimit.load(std::memory_order_relaxed);
}

std::size_t CTransactMemory::GetTaken() {
    return g_nTaken.load(std::memory_order_relaxed);
}

void CTransactMemory::Take(std::size_t nBytes) {
    const std::size_t nLimit = g_nLimit.load(std::memory_order_relaxed);
    std::size_t nTaken = g_nTaken.load(std::memory_order_relaxed);
    do {
        if (nBytes > nLimit || nTaken > nLimit - nBytes) {
            throw COverLimit();
        }
    } while (!g_nTaken.compare_exchange_weak(nTaken, nTaken + nBytes, std::memory_order_relaxed));
}

void CTransactMemory::Give(std::size_t nBytes) noexcept {
    if (nBytes != 0) {
        g_nTaken.fetch_sub(nBytes, std::memory_order_relaxed);
    }
}

}  // namespace mardo
