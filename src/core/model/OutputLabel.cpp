#include "core/model/OutputLabel.h"

#include <cstdio>

namespace mardo {

std::string OutputLabel(std::int32_t k, std::int32_t nCount, bool bCapital) {
    std::string strLabel = bCapital ? "Выход" : "выход";
    if (nCount == 1) {
        return strLabel;
    }
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, " №%02d", k + 1);
    return strLabel + szNumber;
}

}  // namespace mardo
