#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/sim/Transact.h"
#include "core/sim/TransactMemory.h"

namespace mardo {

// A long sequence of transacts kept in chunks of at most kChunkSize, with an index of the chunk
// sizes (a binary indexed tree), so that a transact can be found by its position, or inserted
// at any position, by walking the index and moving within one chunk only. A transact list
// turns into one when it grows long and receives insertions in its middle, which would
// otherwise move half of it each time.
class CTransactRope {
public:
    static constexpr std::size_t kChunkSize = 256;

    // A rope holding the transacts in this order.
    explicit CTransactRope(const std::vector<CTransact>& transacts);

    std::size_t GetCount() const { return m_nCount; }
    const CTransact& At(std::size_t i) const;
    const CTransact& Front() const { return m_chunks.front()->Front(); }
    const CTransact& Back() const { return m_chunks.back()->Back(); }

    // Inserts the transact at position k. Answers whether its priority lies between those of
    // its new neighbours (at most the one before it, at least the one after it), so that a rope
    // whose priorities fell from front to back still does.
    bool InsertAt(std::size_t k, const CTransact& transact);
    void PushBack(const CTransact& transact) { InsertAt(m_nCount, transact); }
    void PushFront(const CTransact& transact) { InsertAt(0, transact); }
    // Removes and returns the first transact; the rope must not be empty.
    CTransact PopFront();
    // The position of the first transact of priority below nPriority, in a rope whose
    // priorities fall from front to back (the count when there is none).
    std::size_t FirstBelow(std::int32_t nPriority) const;
    // The transacts in order.
    std::vector<CTransact> Flatten() const;

private:
    // Up to kChunkSize transacts in a window of a fixed array, so that both ends move cheaply.
    struct SChunk {
        std::uint32_t nHead = 0;
        std::uint32_t nCount = 0;
        CTransact items[kChunkSize];

        const CTransact& Front() const { return items[nHead]; }
        const CTransact& Back() const { return items[nHead + nCount - 1]; }
        bool IsFull() const { return nCount == kChunkSize; }
        void Insert(std::size_t nOffset, const CTransact& transact);
    };
    struct SPlace {
        std::size_t nChunk;
        std::size_t nOffset;
    };

    // The chunk holding position i (or, for i equal to the count, the last chunk's end).
    SPlace Find(std::size_t i) const;
    void AddToIndex(std::size_t nChunk, std::int64_t nDelta);
    // The transacts in the chunks before nChunk.
    std::size_t CountBefore(std::size_t nChunk) const;
    void RebuildIndex();
    // Whether the transact at the place lies between its neighbours' priorities.
    bool FallsAround(const SPlace& place) const;
    // Splits a full chunk in two halves.
    void Split(std::size_t nChunk);

    std::vector<CTransactMemory::TPtr<SChunk>> m_chunks;
    std::vector<std::uint32_t> m_index;  // binary indexed tree over the chunk sizes, from 1
    std::size_t m_nCount = 0;
};

}  // namespace mardo
