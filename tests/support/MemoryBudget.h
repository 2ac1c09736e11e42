#pragma once

#include <cstddef>

namespace mardo::test {

// While one lives, the program's allocations through operator new may grow by at most
// nBytes; beyond, they throw std::bad_alloc as an exhausted machine would. A model whose
// transacts multiply without bound then ends with its out-of-memory message within moments
// instead of taking all the memory there is. Allocations fail the same way whenever malloc
// does, also under the sanitizers, whose own operator new would end the process instead.
class CMemoryBudget {
public:
    explicit CMemoryBudget(std::size_t nBytes);
    CMemoryBudget(const CMemoryBudget&) = delete;
    CMemoryBudget& operator=(const CMemoryBudget&) = delete;
    ~CMemoryBudget();
};

}  // namespace mardo::test
