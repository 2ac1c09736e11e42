#include "core/model/TransactMoves.h"

#include "core/model/PriorityChange.h"

namespace mardo {

namespace {

// How many transacts a move takes from pSource into the target (0: the move does nothing).
std::size_t MoveCount(const CTransactList& target, const CTransactList* pSource,
                      std::uint32_t nMax, bool bLimited) {
    if (pSource == nullptr || pSource == &target || pSource->IsEmpty()) {
        return 0;
    }
    if (bLimited && pSource->GetCount() > nMax) {
        return nMax;
    }
    return pSource->GetCount();
}

template <typename Insert>
void Take(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
          const CPriorityChange* pRule, Insert insert) {
    std::size_t n = MoveCount(target, pSource, nMax, bLimited);
    for (; n != 0; --n) {
        CTransact transact = pSource->Front();
        if (pRule != nullptr) {
            pRule->Apply(transact);
        }
        insert(transact);
        // Removed only once inserted: if memory runs out, the transact is still in the source.
        pSource->PopFront();
    }
}

}  // namespace

void TakeFifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule) {
    Take(target, pSource, nMax, bLimited, pRule,
         [&target](const CTransact& t) { target.PushBack(t); });
}

void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule) {
    Take(target, pSource, nMax, bLimited, pRule,
         [&target](const CTransact& t) { target.PushFront(t); });
}

void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule) {
    Take(target, pSource, nMax, bLimited, pRule,
         [&target](const CTransact& t) { target.InsertByPriority(t); });
}

void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws) {
    Take(target, pSource, nMax, bLimited, pRule, [&target, &draws](const CTransact& t) {
        target.InsertAt(draws.Place(static_cast<std::uint32_t>(target.GetCount())), t);
    });
}

}  // namespace mardo
