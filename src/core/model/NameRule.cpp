#include "core/model/NameRule.h"

#include <algorithm>

#include "core/model/BlockDlg.h"
#include "core/persist/Cp1251.h"

namespace mardo {

bool IsStorableName(const std::string& strName) {
    return Utf8ToCp1251(strName).has_value();
}

ENameCheck CheckBlockName(const std::string& strName, const CBlockDlg& block,
                          const CBlockList& blocks) {
    if (strName == block.GetName()) {
        return ENameCheck::kUnchanged;
    }
    if (strName.empty()) {
        return ENameCheck::kEmpty;
    }
    // Refused here rather than when saving, where the whole model could not be written.
    if (!IsStorableName(strName)) {
        return ENameCheck::kUnstorable;
    }
    const bool bTaken = std::any_of(blocks.begin(), blocks.end(), [&](const auto& pOther) {
        return pOther.get() != &block && pOther->GetName() == strName;
    });
    return bTaken ? ENameCheck::kTaken : ENameCheck::kAccepted;
}

}  // namespace mardo
