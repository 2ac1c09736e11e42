#pragma once

#include <cstdint>
#include <string>

#include "core/model/BlockSnapshot.h"

namespace mardo {

// A condition that stops a watched simulation at the first tick in which it comes to hold:
// it holds at the end of that tick and did not at the end of the one before.
struct SPauseCondition {
    enum class EKind {
        kQueueContent,  // the queue's content reaches nValue
        kDeviceBusy,    // the device becomes busy
        kDeviceFree,    // the device becomes free
        kDepartures,    // the departures reach nValue
        kModelTime,     // model time reaches nValue
    };

    EKind eKind = EKind::kModelTime;
    std::string strBlock;  // the queue or the device; empty for the others
    std::uint32_t nValue = 0;

    // Whether the condition names a block.
    bool NamesBlock() const { return eKind <= EKind::kDeviceFree; }
    // Whether it holds in the state at the end of tick nTime; pBlock is the named block's
    // snapshot (null when it names none).
    bool Holds(const SBlockSnapshot* pBlock, std::uint32_t nTime, std::uint32_t nDeparted) const;
    // The condition as the user reads it: "Q1: в очереди 3".
    std::string Describe() const;
};

}  // namespace mardo
