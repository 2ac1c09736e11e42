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

// The insertions, each noting its place when asked.
void TakeFifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule, std::vector<std::size_t>* pPlaces) {
    Take(target, pSource, nMax, bLimited, pRule, [&target, pPlaces](const CTransact& t) {
        if (pPlaces != nullptr) {
            pPlaces->push_back(target.GetCount());
        }
        target.PushBack(t);
    });
}

void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule, std::vector<std::size_t>* pPlaces) {
    Take(target, pSource, nMax, bLimited, pRule, [&target, pPlaces](const CTransact& t) {
        target.PushFront(t);
        if (pPlaces != nullptr) {
            pPlaces->push_back(0);
        }
    });
}

void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule,
                    std::vector<std::size_t>* pPlaces) {
    Take(target, pSource, nMax, bLimited, pRule, [&target, pPlaces](const CTransact& t) {
        const std::size_t k = target.InsertByPriority(t);
        if (pPlaces != nullptr) {
            pPlaces->push_back(k);
        }
    });
}

void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws,
                std::vector<std::size_t>* pPlaces) {
    Take(target, pSource, nMax, bLimited, pRule, [&target, &draws, pPlaces](const CTransact& t) {
        const std::uint32_t k = draws.Place(static_cast<std::uint32_t>(target.GetCount()));
        target.InsertAt(k, t);
        if (pPlaces != nullptr) {
            pPlaces->push_back(k);
        }
    });
}

}  // namespace mardo
