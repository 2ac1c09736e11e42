#include "core/model/PriorityChange.h"

#include "core/persist/FileModel.h"

namespace mardo {

void CPriorityChange::Save(CFileModel& file) const { file.WriteInt(m_nMode).WriteInt(m_nValue); }

void CPriorityChange::Load(CFileModel& file) {
    file.ReadIntInRange(m_nMode, kUnchanged, kLower)
        .ReadIntInRange(m_nValue, 0, CTransact::kMaxPriority);
}

}  // namespace mardo
