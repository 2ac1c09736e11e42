#pragma once

#include <cstdint>

#include "gui/props/CountPage.h"

namespace mardo {

// "Ожидаемые транзакты": how many copies of a transact the waiting or assembling block awaits.
class CWaitTransactPage final : public CCountPage {
public:
    explicit CWaitTransactPage(std::int32_t nWaitCount, QWidget* pParent = nullptr);

    std::int32_t GetWaitCount() const { return GetCount(); }
};

}  // namespace mardo
