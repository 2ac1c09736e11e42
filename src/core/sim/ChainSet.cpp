#include "core/sim/ChainSet.h"

#include <algorithm>

#include "core/sim/TransactList.h"

namespace mardo {

void CChainSet::AddIfNew(CTransactList* pList) {
    if (std::find(m_lists.begin(), m_lists.end(), pList) == m_lists.end()) {
        m_lists.push_back(pList);
    }
}

std::size_t CChainSet::GetTotalCount() const {
    std::size_t nTotal = 0;
    for (const CTransactList* pList : m_lists) {
        nTotal += pList->GetCount();
    }
    return nTotal;
}

std::optional<CTransact> CChainSet::TakeBest() {
    if (m_lists.size() == 1) {  // most devices have one input
        CTransactList& list = *m_lists.front();
        return list.IsEmpty() ? std::nullopt : std::optional<CTransact>(list.PopFront());
    }
    CTransactList* pBest = nullptr;
    for (CTransactList* pList : m_lists) {
        if (pList->IsEmpty()) {
            continue;
        }
        if (pBest == nullptr) {
            pBest = pList;
            continue;
        }
        const int nPriority = pList->Front().GetPriority();
        const int nBestPriority = pBest->Front().GetPriority();
        if (nPriority > nBestPriority ||
            (nPriority == nBestPriority && pList->GetCount() > pBest->GetCount())) {
            pBest = pList;
        }
    }
    if (pBest == nullptr) {
        return std::nullopt;
    }
    return pBest->PopFront();
}

}  // namespace mardo
