#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/sim/Transact.h"
#include "core/sim/TransactList.h"

namespace mardo {

// The upstream output lists that have been offered to a service device or a queue, in the
// order they were first offered. The set owns neither the lists nor their transacts.
class CChainSet {
public:
    // Adds the list unless it is already in the set.
    void Add(CTransactList* pList) {
        if (m_lists.empty() || m_lists.back() != pList) {
            AddIfNew(pList);
        }
    }
    void Clear() { m_lists.clear(); }
    std::size_t GetListCount() const { return m_lists.size(); }
    // The number of transacts in all lists of the set.
    std::size_t GetTotalCount() const;
    // Whether some list of the set holds a transact.
    bool HasTransacts() const {
        // A plain loop: the standard search is unrolled for long ranges, and sets are short.
        for (const CTransactList* pList : m_lists) {
            if (!pList->IsEmpty()) {
                return true;
            }
        }
        return false;
    }
    // Removes and returns the best head of all lists: the highest priority; on equal
    // priority the head of the longer list; on equal length the list added first.
    std::optional<CTransact> TakeBest();

private:
    void AddIfNew(CTransactList* pList);

    std::vector<CTransactList*> m_lists;
};

}  // namespace mardo
