#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/sim/RandomSource.h"
#include "core/sim/TransactList.h"

namespace mardo {

struct CPriorityChange;

// The moves by which a block takes transacts from the front of the list it is handed, in
// source order: all of them, or at most nMax when bLimited is set. Each applies the block's
// priority rule (if any) to a transact and inserts it into the target at its place: at the end,
// at the front, behind all of equal or higher priority, or at a random position. The four are
// the queue's disciplines; the switching and the regathering blocks use two of them unlimited.
// With places, the position each transact took is appended to them, in the order of the
// moves; the first-come move appends every transact at the end, so its places need no noting.
void TakeFifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule);
void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule);
void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule, std::vector<std::size_t>& places);
void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule);
void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule, std::vector<std::size_t>& places);
// The position of each transact is a place drawn from the source among the target's count plus
// one.
void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws = CRandomSource::Exact());
void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws,
                std::vector<std::size_t>& places);

}  // namespace mardo
