#include "MemoryBudget.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace mardo::test {

namespace {

std::atomic<std::size_t> g_nLive{0};
std::atomic<std::size_t> g_nLimit{0};  // 0: no budget

void* Allocate(std::size_t nSize) {
    const std::size_t nLimit = g_nLimit.load(std::memory_order_relaxed);
    if (nLimit != 0 && nSize > nLimit - std::min(nLimit, g_nLive.load(std::memory_order_relaxed))) {
        return nullptr;
    }
    void* p = std::malloc(nSize != 0 ? nSize : 1);
    if (p != nullptr) {
        g_nLive.fetch_add(malloc_usable_size(p), std::memory_order_relaxed);
    }
    return p;
}

void* AllocateOrThrow(std::size_t nSize) {
    void* p = Allocate(nSize);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void Release(void* p) noexcept {
    if (p != nullptr) {
        g_nLive.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
        std::free(p);
    }
}

}  // namespace

CMemoryBudget::CMemoryBudget(std::size_t nBytes) {
    g_nLimit.store(g_nLive.load() + nBytes);
}

CMemoryBudget::~CMemoryBudget() {
    g_nLimit.store(0);
}

}  // namespace mardo::test

// Every ordinary form of operator new and delete, so that none of them bypasses the budget and
// none pairs with another allocator's counterpart.
void* operator new(std::size_t nSize) {
    return mardo::test::AllocateOrThrow(nSize);
}
void* operator new[](std::size_t nSize) {
    return mardo::test::AllocateOrThrow(nSize);
}
void* operator new(std::size_t nSize, const std::nothrow_t&) noexcept {
    return mardo::test::Allocate(nSize);
}
void* operator new[](std::size_t nSize, const std::nothrow_t&) noexcept {
    return mardo::test::Allocate(nSize);
}
void operator delete(void* p) noexcept {
    mardo::test::Release(p);
}
void operator delete[](void* p) noexcept {
    mardo::test::Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    mardo::test::Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    mardo::test::Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    mardo::test::Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    mardo::test::Release(p);
}

// The sanitizers end the process when malloc fails unless told to answer null, which the
// operator new above turns into std::bad_alloc as the standard library's would.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
extern "C" const char* __tsan_default_options() {
    return "allocator_may_return_null=1";
}
