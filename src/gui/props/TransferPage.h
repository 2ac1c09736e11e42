#pragma once

#include "gui/props/BlockPropertyPage.h"

namespace mardo {

class CRadioGroup;
class CTransferRule;

// "Характеристика коммутирующего блока": which rule chooses the output. It works on the sheet's
// one copy of the rule, which "Значение выходов" shares.
class CTransferPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CTransferPage(CTransferRule& rule, QWidget* pParent = nullptr);

    CRadioGroup& GetKinds() const { return *m_pKinds; }

protected:
    void OnInitPage() override;

private:
    CTransferRule& m_rule;
    CRadioGroup* m_pKinds;
};

}  // namespace mardo
