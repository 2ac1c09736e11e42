#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mardo {

class CTransact;
class CTransactList;

// A transact as the watching view shows it: who made it, its number there, its priority.
struct SHeldTransact {
    std::string strGenerator;
    std::int32_t nNumber = 0;
    std::int32_t nPriority = 0;

    friend bool operator==(const SHeldTransact&, const SHeldTransact&) = default;
};

// What one block holds and has done at a tick boundary, copied out on the simulation's thread
// so that a view may show it while the simulation goes on. Each kind fills in what it has;
// the rest stays unset.
struct SBlockSnapshot {
    // What the count means, which decides how the view labels it.
    enum class ECount { kNone, kCreated, kContent, kHeld, kDeparted };

    ECount eCount = ECount::kNone;
    std::uint32_t nCount = 0;
    std::optional<std::uint32_t> nMaxContent;  // a queue's largest content so far
    std::optional<bool> bBusy;                 // a device
    std::int32_t nRemainingService = 0;        // while busy: ticks of service still to go
    std::optional<std::int32_t> nLastOutput;   // a switching block's last chosen output, from 0
    std::uint32_t nEntered = 0;                // transacts it has taken in so far
    // The transacts it holds, in their order, when asked for them; a waiting or assembling
    // block lists only those released and not yet taken on (its incomplete groups are counted).
    std::vector<SHeldTransact> held;

    friend bool operator==(const SBlockSnapshot&, const SBlockSnapshot&) = default;

    // Appends the transact, or every transact of the list, to held.
    void AddHeld(const CTransact& transact);
    void AddHeld(const CTransactList& list);
};

}  // namespace mardo
