#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "core/sim/Transact.h"
#include "core/sim/TransactMemory.h"

namespace mardo {

// The incomplete groups of a waiting or assembling block: one group per source transact whose
// copies have not all arrived. Copies of one transact are equal (same generator, number and
// priority), so a group is just the transact and how many of it have arrived; at most one
// group per transact exists at a time, found in constant time.
class CCopyGroups {
public:
    // Adds one arrival of the transact to its group (creating the group) and answers how many
    // the group now holds.
    std::uint32_t Add(const CTransact& transact);
    // How many the transact's group holds (0: no group).
    std::uint32_t CountOf(const CTransact& transact) const;
    // Removes the transact's group and everything in it.
    void Remove(const CTransact& transact);
    void Clear();

    bool IsEmpty() const { return m_groups.empty(); }
    std::size_t GetGroupCount() const { return m_groups.size(); }
    // The transacts held in all groups.
    std::size_t GetTotalCount() const { return m_nTotal; }

private:
    struct SHash {
        std::size_t operator()(const CTransact& t) const noexcept {
            const auto nGenerator = reinterpret_cast<std::uintptr_t>(t.GetGenerator());
            const std::uint64_t nKey = (static_cast<std::uint64_t>(t.GetNumber()) << 32) ^
                                       static_cast<std::uint32_t>(t.GetPriority());
            return std::hash<std::uint64_t>{}(nKey * 0x9E3779B97F4A7C15ull ^ nGenerator);
        }
    };

    // What a group takes: its node (the transact, its count, the link, the allocator's
    // header) and its share of the buckets, which may be twice as many as the groups.
    static constexpr std::size_t kBytesPerGroup = 64;
    // The memory is counted for this many groups, doubling as they grow.
    std::size_t CountedGroups() const { return m_share.GetBytes() / kBytesPerGroup; }

    std::unordered_map<CTransact, std::uint32_t, SHash> m_groups;
    std::size_t m_nTotal = 0;
    CTransactMemory::CShare m_share;
};

}  // namespace mardo
