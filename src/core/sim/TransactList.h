#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/sim/Transact.h"
#include "core/sim/TransactMemory.h"
#include "core/sim/TransactRope.h"

namespace mardo {

// An ordered list of transacts, first to last, that owns what it holds. Every block keeps
// its input, output and waiting transacts in such lists; a downstream block takes from the
// front of the list its upstream block hands it.
//
// Insertion at either end and removal from the front take constant time: the transacts stand
// in a ring buffer. A long list that receives insertions in its middle (a queue with random
// discipline) turns into a rope of chunks, where such an insertion costs the logarithm of the
// length instead of moving half the list; it turns back when it has become short again. The
// list also remembers whether its priorities fall from front to back (every list that only
// ever receives priority insertions does), so that a priority insertion can find its place by
// halving instead of walking the transacts of equal or higher priority.
class CTransactList {
public:
    CTransactList() = default;
    ~CTransactList() = default;
    CTransactList(const CTransactList&) = delete;
    CTransactList& operator=(const CTransactList&) = delete;
    CTransactList(CTransactList&& other) noexcept;
    CTransactList& operator=(CTransactList&& other) noexcept;

    bool IsEmpty() const { return m_nCount == 0; }
    std::size_t GetCount() const { return m_nCount; }
    // Where the count is kept, for a follower that reads it after every tick.
    const std::size_t* CountAddress() const { return &m_nCount; }

    // The transact at 0-based position i from the front; i must be below GetCount().
    const CTransact& At(std::size_t i) const {
        return m_pRope ? m_pRope->At(i) : m_pItems[(m_nHead + i) & m_nMask];
    }
    const CTransact& Front() const { return m_pRope ? m_pRope->Front() : m_pItems[m_nHead]; }
    const CTransact& Back() const { return At(m_nCount - 1); }

    void PushBack(const CTransact& transact) {
        m_bFalling = m_bFalling && (m_nCount == 0 || Back().GetPriority() >= transact.GetPriority());
        if (m_pRope || m_nCount > m_nMask || !m_pItems) {
            InsertAt(m_nCount, transact);
            return;
        }
        m_pItems[(m_nHead + m_nCount) & m_nMask] = transact;
        ++m_nCount;
    }
    void PushFront(const CTransact& transact);
    // Removes and returns the first transact; the list must not be empty.
    CTransact PopFront() {
        if (m_pRope) {
            return PopFrontSlowly();
        }
        const CTransact transact = m_pItems[m_nHead];
        m_nHead = (m_nHead + 1) & m_nMask;
        if (--m_nCount == 0) {
            m_bFalling = true;
        }
        return transact;
    }
    // Appends n copies of the transact at the end.
    void AppendCopies(const CTransact& transact, std::size_t n);
    // Inserts before the transact at position k (k equal to the count: at the end).
    void InsertAt(std::size_t k, const CTransact& transact);
    // Inserts before the first transact of lower priority, behind all of equal or higher;
    // answers the position it took.
    std::size_t InsertByPriority(const CTransact& transact);
    // Destroys every transact and empties the list.
    void DeleteAll() {
        if (m_pRope || m_nMask >= kKeptCapacity) {
            Release();
        }
        m_nCount = 0;
        m_nHead = 0;
        m_bFalling = true;
    }
    // Exchanges the contents of two lists without copying.
    void Swap(CTransactList& other) noexcept;

private:
    static constexpr std::size_t kKeptCapacity = 64;
    // A list this long turns into a rope at an insertion in its middle, and turns back below a
    // quarter of it.
    static constexpr std::size_t kRopeLength = 4096;

    // Removes the first transact of a rope.
    CTransact PopFrontSlowly();
    // Gives back the rope, or a ring buffer larger than the one kept for the next transacts.
    void Release();
    void InsertInRing(std::size_t k, const CTransact& transact);
    void BecomeRope();
    void BecomeRing();
    void Reserve(std::size_t nCount);
    CTransact& Slot(std::size_t i) { return m_pItems[(m_nHead + i) & m_nMask]; }
    std::size_t PriorityPosition(std::int32_t nPriority) const;
    void NoteInsertedAt(std::size_t k);

    // The ring buffer, capacity m_nMask + 1 (a power of 2).
    CTransactMemory::TPtr<CTransact[]> m_pItems;
    std::size_t m_nMask = 0;
    std::size_t m_nHead = 0;
    std::size_t m_nCount = 0;
    bool m_bFalling = true;  // priorities never rise from front to back
    std::unique_ptr<CTransactRope> m_pRope;  // holds the transacts instead, while set
};

// List k of a block's output lists, or null when k lies outside them.
inline CTransactList* ListAt(std::vector<CTransactList>& lists, std::int32_t k) {
    return k >= 0 && static_cast<std::size_t>(k) < lists.size() ? &lists[static_cast<std::size_t>(k)]
                                                                : nullptr;
}

}  // namespace mardo
