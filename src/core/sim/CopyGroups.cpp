#include "core/sim/CopyGroups.h"

namespace mardo {

std::uint32_t CCopyGroups::Add(const CTransact& transact) {
    std::uint32_t& nCount = m_groups[transact];
    ++nCount;
    ++m_nTotal;
    return nCount;
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
    m_groups.clear();
    m_nTotal = 0;
}

}  // namespace mardo
