#include "core/run/PauseCondition.h"

namespace mardo {

bool SPauseCondition::Holds(const SBlockSnapshot* pBlock, std::uint32_t nTime,
                            std::uint32_t nDeparted) const {
    switch (eKind) {
        case EKind::kQueueContent:
            return pBlock != nullptr && pBlock->nCount >= nValue;
        case EKind::kDeviceBusy:
            return pBlock != nullptr && pBlock->bBusy.value_or(false);
        case EKind::kDeviceFree:
            return pBlock != nullptr && pBlock->bBusy.has_value() && !*pBlock->bBusy;
        case EKind::kDepartures:
            return nDeparted >= nValue;
        case EKind::kModelTime:
            break;
    }
    return nTime >= nValue;
}

std::string SPauseCondition::Describe() const {
    const std::string strValue = std::to_string(nValue);
    switch (eKind) {
        case EKind::kQueueContent:
            return strBlock + ": в очереди " + strValue;
        case EKind::kDeviceBusy:
            return strBlock + ": занято";
        case EKind::kDeviceFree:
            return strBlock + ": свободно";
        case EKind::kDepartures:
            return "Вышло " + strValue;
        case EKind::kModelTime:
            break;
    }
    return "Модельное время " + strValue;
}

}  // namespace mardo
