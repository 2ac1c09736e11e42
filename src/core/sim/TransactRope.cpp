#include "core/sim/TransactRope.h"

#include <algorithm>
#include <bit>

namespace mardo {

void CTransactRope::SChunk::Insert(std::size_t nOffset, const CTransact& transact) {
    if (nOffset < nCount / 2 && nHead > 0) {
        // Shift the front part one place towards the start of the array.
        std::copy(items + nHead, items + nHead + nOffset, items + nHead - 1);
        --nHead;
    } else {
        if (nHead + nCount == kChunkSize) {
            std::copy(items + nHead, items + nHead + nCount, items);
            nHead = 0;
        }
        std::copy_backward(items + nHead + nOffset, items + nHead + nCount,
                           items + nHead + nCount + 1);
    }
    items[nHead + nOffset] = transact;
    ++nCount;
}

CTransactRope::CTransactRope(const std::vector<CTransact>& transacts) {
    // Half-full chunks leave room for the insertions to come.
    const std::size_t nFill = kChunkSize / 2;
    for (std::size_t i = 0; i < transacts.size(); i += nFill) {
        auto pChunk = CTransactMemory::MakeCounted<SChunk>();
        const std::size_t n = std::min(nFill, transacts.size() - i);
        std::copy(transacts.begin() + static_cast<std::ptrdiff_t>(i),
                  transacts.begin() + static_cast<std::ptrdiff_t>(i + n), pChunk->items);
        pChunk->nCount = static_cast<std::uint32_t>(n);
        m_chunks.push_back(std::move(pChunk));
    }
    if (m_chunks.empty()) {
        m_chunks.push_back(CTransactMemory::MakeCounted<SChunk>());
    }
    m_nCount = transacts.size();
    RebuildIndex();
}

void CTransactRope::RebuildIndex() {
    const std::size_t nChunks = m_chunks.size();
    m_index.assign(nChunks + 1, 0);
    for (std::size_t i = 1; i <= nChunks; ++i) {
        m_index[i] += m_chunks[i - 1]->nCount;
        const std::size_t nParent = i + (i & (~i + 1));
        if (nParent <= nChunks) {
            m_index[nParent] += m_index[i];
        }
    }
}

void CTransactRope::AddToIndex(std::size_t nChunk, std::int64_t nDelta) {
    for (std::size_t i = nChunk + 1; i < m_index.size(); i += i & (~i + 1)) {
        m_index[i] = static_cast<std::uint32_t>(m_index[i] + nDelta);
    }
}

CTransactRope::SPlace CTransactRope::Find(std::size_t i) const {
    if (i >= m_nCount) {
        return {m_chunks.size() - 1, m_chunks.back()->nCount};
    }
    // Descend the index to the last chunk whose preceding chunks hold at most i transacts.
    std::size_t nPos = 0;
    std::size_t nRest = i;
    for (std::size_t nStep = std::bit_floor(m_chunks.size()); nStep != 0; nStep >>= 1) {
        const std::size_t nNext = nPos + nStep;
        if (nNext < m_index.size() && m_index[nNext] <= nRest) {
            nPos = nNext;
            nRest -= m_index[nNext];
        }
    }
    return {nPos, nRest};
}

std::size_t CTransactRope::CountBefore(std::size_t nChunk) const {
    std::size_t nSum = 0;
    for (std::size_t i = nChunk; i > 0; i -= i & (~i + 1)) {
        nSum += m_index[i];
    }
    return nSum;
}

std::size_t CTransactRope::FirstBelow(std::int32_t nPriority) const {
    if (m_nCount == 0) {
        return 0;
    }
    // The first chunk that ends below the priority, then the place within it, both by halving.
    const auto chunk = std::partition_point(
        m_chunks.begin(), m_chunks.end(),
        [nPriority](const auto& pChunk) { return pChunk->Back().GetPriority() >= nPriority; });
    if (chunk == m_chunks.end()) {
        return m_nCount;
    }
    const SChunk& found = **chunk;
    const CTransact* pFirst = found.items + found.nHead;
    const CTransact* pPlace = std::partition_point(
        pFirst, pFirst + found.nCount,
        [nPriority](const CTransact& t) { return t.GetPriority() >= nPriority; });
    const auto nChunk = static_cast<std::size_t>(chunk - m_chunks.begin());
    return CountBefore(nChunk) + static_cast<std::size_t>(pPlace - pFirst);
}

const CTransact& CTransactRope::At(std::size_t i) const {
    const SPlace place = Find(i);
    const SChunk& chunk = *m_chunks[place.nChunk];
    return chunk.items[chunk.nHead + place.nOffset];
}

void CTransactRope::Split(std::size_t nChunk) {
    SChunk& full = *m_chunks[nChunk];
    auto pSecond = CTransactMemory::MakeCounted<SChunk>();
    const std::uint32_t nKeep = full.nCount / 2;
    std::copy(full.items + full.nHead + nKeep, full.items + full.nHead + full.nCount,
              pSecond->items);
    pSecond->nCount = full.nCount - nKeep;
    full.nCount = nKeep;
    m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(nChunk + 1), std::move(pSecond));
    RebuildIndex();
}

bool CTransactRope::FallsAround(const SPlace& place) const {
    const SChunk& chunk = *m_chunks[place.nChunk];
    const std::int32_t nPriority = chunk.items[chunk.nHead + place.nOffset].GetPriority();
    // Every chunk but a lone one of an empty rope holds transacts.
    const CTransact* pBefore = place.nOffset > 0  ? &chunk.items[chunk.nHead + place.nOffset - 1]
                               : place.nChunk > 0 ? &m_chunks[place.nChunk - 1]->Back()
                                                  : nullptr;
    const CTransact* pAfter =
        place.nOffset + 1 < chunk.nCount     ? &chunk.items[chunk.nHead + place.nOffset + 1]
        : place.nChunk + 1 < m_chunks.size() ? &m_chunks[place.nChunk + 1]->Front()
                                             : nullptr;
    return (pBefore == nullptr || pBefore->GetPriority() >= nPriority) &&
           (pAfter == nullptr || nPriority >= pAfter->GetPriority());
}

bool CTransactRope::InsertAt(std::size_t k, const CTransact& transact) {
    SPlace place = Find(std::min(k, m_nCount));
    if (m_chunks[place.nChunk]->IsFull()) {
        Split(place.nChunk);
        const std::uint32_t nFirst = m_chunks[place.nChunk]->nCount;
        if (place.nOffset > nFirst) {
            place = {place.nChunk + 1, place.nOffset - nFirst};
        }
    }
    m_chunks[place.nChunk]->Insert(place.nOffset, transact);
    AddToIndex(place.nChunk, 1);
    ++m_nCount;
    return FallsAround(place);
}

CTransact CTransactRope::PopFront() {
    SChunk& first = *m_chunks.front();
    const CTransact transact = first.Front();
    ++first.nHead;
    --first.nCount;
    --m_nCount;
    if (first.nCount == 0 && m_chunks.size() > 1) {
        m_chunks.erase(m_chunks.begin());
        RebuildIndex();
    } else {
        AddToIndex(0, -1);
    }
    return transact;
}

std::vector<CTransact> CTransactRope::Flatten() const {
    std::vector<CTransact> transacts;
    transacts.reserve(m_nCount);
    for (const auto& pChunk : m_chunks) {
        transacts.insert(transacts.end(), pChunk->items + pChunk->nHead,
                         pChunk->items + pChunk->nHead + pChunk->nCount);
    }
    return transacts;
}

}  // namespace mardo
