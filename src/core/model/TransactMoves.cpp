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

// The same with an insertion that answers the place it took, noted in pPlaces when given: the
// choice is made once per move, so that a move whose places nobody asks for pays nothing.
template <typename Insert>
void TakeNoting(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, std::vector<std::size_t>* pPlaces, Insert insert) {
    if (pPlaces == nullptr) {
        Take(target, pSource, nMax, bLimited, pRule, insert);
        return;
    }
    Take(target, pSource, nMax, bLimited, pRule,
         [pPlaces, &insert](const CTransact& t) { pPlaces->push_back(insert(t)); });
}

}  // namespace

void TakeFifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule) {
    Take(target, pSource, nMax, bLimited, pRule,
         [&target](const CTransact& t) { target.PushBack(t); });
}

void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule, std::vector<std::size_t>* pPlaces) {
    TakeNoting(target, pSource, nMax, bLimited, pRule, pPlaces, [&target](const CTransact& t) {
        target.PushFront(t);
        return std::size_t{0};
    });
}

void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule,
                    std::vector<std::size_t>* pPlaces) {
    TakeNoting(target, pSource, nMax, bLimited, pRule, pPlaces,
               [&target](const CTransact& t) { return target.InsertByPriority(t); });
}

void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws,
                std::vector<std::size_t>* pPlaces) {
    TakeNoting(target, pSource, nMax, bLimited, pRule, pPlaces,
               [&target, &draws](const CTransact& t) {
                   const std::size_t k = draws.Place(static_cast<std::uint32_t>(target.GetCount()));
                   target.InsertAt(k, t);
                   return k;
               });
}

}  // namespace mardo
