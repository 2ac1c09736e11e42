#pragma once

#include <cstdint>

#include "gui/props/BlockPropertyPage.h"

namespace mardo {

class CNumberField;

// "Ожидаемые транзакты": how many copies of a transact the waiting or assembling block awaits.
class CWaitTransactPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CWaitTransactPage(std::int32_t nWaitCount, QWidget* pParent = nullptr);

    std::int32_t GetWaitCount() const { return m_nWaitCount; }
    CNumberField& GetField() const { return *m_pCount; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    std::int32_t m_nWaitCount;
    CNumberField* m_pCount;
};

}  // namespace mardo
