#pragma once

#include <cstdint>

#include "gui/props/ValueDlg.h"

namespace mardo {

class CBlockPropertySheet;
class CNumberField;

// "Изменить количество транзактов": how many copies a copying block sends to one output, 1..1000.
class CChangeCountTransactDlg final : public CValueDlg {
    Q_OBJECT

public:
    CChangeCountTransactDlg(CBlockPropertySheet& sheet, int nCount, QWidget* pParent = nullptr);

    int GetCount() const { return m_nCount; }
    CNumberField& GetField() const { return *m_pCount; }

protected:
    bool CheckValues() override;

private:
    CBlockPropertySheet& m_sheet;
    std::int32_t m_nCount;
    CNumberField* m_pCount;
};

}  // namespace mardo
