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

// The same with an insertion that answers the place it took, noted in places when the caller
// gives them: a move whose places nobody asks for is compiled without them.
template <typename Insert, typename... TPlaces>
void TakeNoting(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, Insert insert, TPlaces&... places) {
    if constexpr (sizeof...(places) == 0) {
        Take(target, pSource, nMax, bLimited, pRule, insert);
    } else {
        Take(target, pSource, nMax, bLimited, pRule,
             [&places..., &insert](const CTransact& t) { (places.push_back(insert(t)), ...); });
    }
}

template <typename... TPlaces>
void TakeAtFront(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                 bool bLimited, const CPriorityChange* pRule, TPlaces&... places) {
    TakeNoting(
        target, pSource, nMax, bLimited, pRule,
        [&target](const CTransact& t) {
            target.PushFront(t);
            return std::size_t{0};
        },
        places...);
}

template <typename... TPlaces>
void TakeByPriorityNoting(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                          bool bLimited, const CPriorityChange* pRule, TPlaces&... places) {
    TakeNoting(
        target, pSource, nMax, bLimited, pRule,
        [&target](const CTransact& t) { return target.InsertByPriority(t); }, places...);
}

template <typename... TPlaces>
void TakeAtRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                  bool bLimited, const CPriorityChange* pRule, CRandomSource& draws,
                  TPlaces&... places) {
    TakeNoting(
        target, pSource, nMax, bLimited, pRule,
        [&target, &draws](const CTransact& t) {
            const std::size_t k = draws.Place(static_cast<std::uint32_t>(target.GetCount()));
            target.InsertAt(k, t);
            return k;
        },
        places...);
}

}  // namespace

void TakeFifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule) {
    Take(target, pSource, nMax, bLimited, pRule,
         [&target](const CTransact& t) { target.PushBack(t); });
}

void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule) {
    TakeAtFront(target, pSource, nMax, bLimited, pRule);
}

void TakeLifo(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
              const CPriorityChange* pRule, std::vector<std::size_t>& places) {
    TakeAtFront(target, pSource, nMax, bLimited, pRule, places);
}

void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule) {
    TakeByPriorityNoting(target, pSource, nMax, bLimited, pRule);
}

void TakeByPriority(CTransactList& target, CTransactList* pSource, std::uint32_t nMax,
                    bool bLimited, const CPriorityChange* pRule, std::vector<std::size_t>& places) {
    TakeByPriorityNoting(target, pSource, nMax, bLimited, pRule, places);
}

void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws) {
    TakeAtRandom(target, pSource, nMax, bLimited, pRule, draws);
}

void TakeRandom(CTransactList& target, CTransactList* pSource, std::uint32_t nMax, bool bLimited,
                const CPriorityChange* pRule, CRandomSource& draws,
                std::vector<std::size_t>& places) {
    TakeAtRandom(target, pSource, nMax, bLimited, pRule, draws, places);
}

}  // namespace mardo
