#pragma once

#include <cstdint>

#include "core/sim/Transact.h"

namespace mardo {

class CFileModel;

// A block's rule for changing a transact's priority as it passes: mode 0 leaves it alone,
// mode 1 raises it by the value, mode 2 lowers it by the value; both clamp to 0..1000.
struct CPriorityChange {
    enum EMode : std::int32_t { kUnchanged = 0, kRaise = 1, kLower = 2 };

    std::int32_t m_nMode = kUnchanged;
    std::int32_t m_nValue = 0;

    void Apply(CTransact& transact) const {
        if (m_nMode == kRaise) {
            transact.RaisePriority(m_nValue);
        } else if (m_nMode == kLower) {
            transact.LowerPriority(m_nValue);
        }
    }

    // Mode and value; loading refuses a mode outside 0..2 or a value outside 0..1000.
    void Save(CFileModel& file) const;
    void Load(CFileModel& file);

    friend bool operator==(const CPriorityChange&, const CPriorityChange&) = default;
};

}  // namespace mardo
