#include "core/sim/CopyGroups.h"

#include <algorithm>

namespace mardo {

std::uint32_t CCopyGroups::Add(const CTransact& transact) {
    const auto [it, bNew] = m_groups.try_emplace(transact, 0);
    ++it->second;
    ++m_nTotal;
    // Counted after the group is complete, so that a refusal leaves it consistent.
    if (bNew && m_groups.size() > CountedGroups()) {
        m_share.Grow(std::max<std::size_t>(CountedGroups(), 64) * kBytesPerGroup);
    }
    return it->second;
}

std::uint32_t CCopyGroups::CountOf(const CTransact& transact) const {
    const auto it = m_groups.find(transact);
    return it == m_groups.end() ? 0 : it->second;
}

void CCopyGroups::Remove(const CTransact& transact) {
    const auto it = m_groups.find(transact);
    if (it != m_groups.end()) {
        m_nTotal -= it->second;
        m_groups.erase(it);
    }
}

void CCopyGroups::Clear() {
    // The buckets go too: a model may leave millions of groups behind.
    std::unordered_map<CTransact, std::uint32_t, SHash>().swap(m_groups);
    m_nTotal = 0;
    m_share.Clear();
}

}  // namespace mardo
