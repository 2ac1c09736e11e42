#include "core/sim/TransactList.h"

#include <utility>


namespace mardo {

CTransactList::CTransactList(CTransactList&& other) noexcept {
    Swap(other);
}

CTransactList& CTransactList::operator=(CTransactList&& other) noexcept {
    if (this != &other) {
        DeleteAll();
        Swap(other);
    }
    return *this;
}

void CTransactList::Reserve(std::size_t nCount) {
    std::size_t nCapacity = m_pItems ? m_nMask + 1 : 0;
    if (nCount <= nCapacity) {
        return;
    }
    std::size_t nNew = nCapacity ? nCapacity : 4;
    while (nNew < nCount) {
        nNew *= 2;
    }
    // Allocate first: when memory runs out the list stays exactly as it was.
    auto pNew = CTransactMemory::MakeCountedArray<CTransact[]>(nNew);
    for (std::size_t i = 0; i < m_nCount; ++i) {
        pNew[i] = At(i);
    }
    m_pItems = std::move(pNew);
    m_nMask = nNew - 1;
    m_nHead = 0;
}

void CTransactList::PushFront(const CTransact& transact) {
    m_bFalling = m_bFalling && (m_nCount == 0 || transact.GetPriority() >= Front().GetPriority());
    if (m_pRope) {
        m_pRope->PushFront(transact);
        ++m_nCount;
        return;
    }
    Reserve(m_nCount + 1);
    m_nHead = (m_nHead - 1) & m_nMask;
    m_pItems[m_nHead] = transact;
    ++m_nCount;
}

CTransact CTransactList::PopFrontSlowly() {
    // A rope turns back into a ring below a quarter of kRopeLength, so this never empties it.
    const CTransact transact = m_pRope->PopFront();
    if (--m_nCount < kRopeLength / 4) {
        BecomeRing();
    }
    return transact;
}

void CTransactList::BecomeRope() {
    std::vector<CTransact> transacts;
    transacts.reserve(m_nCount);
    for (std::size_t i = 0; i < m_nCount; ++i) {
        transacts.push_back(At(i));
    }
    m_pRope = std::make_unique<CTransactRope>(transacts);
    m_pItems.reset();
    m_nMask = 0;
    m_nHead = 0;
}

void CTransactList::BecomeRing() {
    const std::vector<CTransact> transacts = m_pRope->Flatten();
    m_pRope.reset();
    m_pItems.reset();
    m_nMask = 0;
    m_nHead = 0;
    m_nCount = 0;
    Reserve(transacts.size());
    std::copy(transacts.begin(), transacts.end(), m_pItems.get());
    m_nCount = transacts.size();
}

void CTransactList::AppendCopies(const CTransact& transact, std::size_t n) {
    if (n == 0) {
        return;
    }
    if (m_pRope) {
        for (std::size_t i = 0; i < n; ++i) {
            PushBack(transact);
        }
        return;
    }
    Reserve(m_nCount + n);
    m_bFalling = m_bFalling && (m_nCount == 0 || Back().GetPriority() >= transact.GetPriority());
    for (std::size_t i = 0; i < n; ++i) {
        Slot(m_nCount + i) = transact;
    }
    m_nCount += n;
}

void CTransactList::InsertAt(std::size_t k, const CTransact& transact) {
    if (k >= m_nCount) {
        k = m_nCount;
    } else if (k == 0) {
        PushFront(transact);
        return;
    }
    if (!m_pRope && k != m_nCount && m_nCount >= kRopeLength) {
        BecomeRope();
    }
    if (m_pRope) {
        const bool bFallsAround = m_pRope->InsertAt(k, transact);
        m_bFalling = m_bFalling && bFallsAround;
        ++m_nCount;
        return;
    }
    InsertInRing(k, transact);
}

void CTransactList::InsertInRing(std::size_t k, const CTransact& transact) {
    Reserve(m_nCount + 1);
    if (k < m_nCount / 2) {
        // Shift the first k one place towards the front.
        m_nHead = (m_nHead - 1) & m_nMask;
        for (std::size_t i = 0; i < k; ++i) {
            Slot(i) = Slot(i + 1);
        }
    } else {
        for (std::size_t i = m_nCount; i > k; --i) {
            Slot(i) = Slot(i - 1);
        }
    }
    Slot(k) = transact;
    ++m_nCount;
    NoteInsertedAt(k);
}

void CTransactList::NoteInsertedAt(std::size_t k) {
    if (!m_bFalling) {
        return;
    }
    const std::int32_t nPriority = At(k).GetPriority();
    m_bFalling = (k == 0 || At(k - 1).GetPriority() >= nPriority) &&
                 (k + 1 == m_nCount || nPriority >= At(k + 1).GetPriority());
}

std::size_t CTransactList::PriorityPosition(std::int32_t nPriority) const {
    if (m_bFalling && m_pRope) {
        return m_pRope->FirstBelow(nPriority);
    }
    if (m_bFalling) {
        // Falling priorities: the place is found by halving.
        std::size_t nLow = 0;
        std::size_t nHigh = m_nCount;
        while (nLow < nHigh) {
            const std::size_t nMid = nLow + (nHigh - nLow) / 2;
            if (At(nMid).GetPriority() < nPriority) {
                nHigh = nMid;
            } else {
                nLow = nMid + 1;
            }
        }
        return nLow;
    }
    for (std::size_t i = 0; i < m_nCount; ++i) {
        if (At(i).GetPriority() < nPriority) {
            return i;
        }
    }
    return m_nCount;
}

std::size_t CTransactList::InsertByPriority(const CTransact& transact) {
    if (m_nCount == 0 || (m_bFalling && Back().GetPriority() >= transact.GetPriority())) {
        PushBack(transact);
        return m_nCount - 1;
    }
    const std::size_t k = PriorityPosition(transact.GetPriority());
    InsertAt(k, transact);
    return k;
}

void CTransactList::Release() {
    m_pRope.reset();
    // A small buffer is kept for the next transacts; a large one goes back to the system.
    if (m_pItems && m_nMask + 1 > kKeptCapacity) {
        m_pItems.reset();
        m_nMask = 0;
    }
}

void CTransactList::Swap(CTransactList& other) noexcept {
    std::swap(m_pItems, other.m_pItems);
    std::swap(m_nMask, other.m_nMask);
    std::swap(m_nHead, other.m_nHead);
    std::swap(m_nCount, other.m_nCount);
    std::swap(m_bFalling, other.m_bFalling);
    std::swap(m_pRope, other.m_pRope);
}

}  // namespace mardo
