#include "gui/props/TransferPage.h"

#include <QVBoxLayout>

#include "core/sim/TransferRule.h"
#include "gui/props/RadioGroup.h"

namespace mardo {

CTransferPage::CTransferPage(CTransferRule& rule, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Характеристика коммутирующего блока"), pParent),
      m_rule(rule),
      m_pKinds(new CRadioGroup(QStringLiteral("Условия передачи сообщений"),
                               {QStringLiteral("Равновероятное"), QStringLiteral("По вероятности"),
                                QStringLiteral("По состоянию блоков")},
                               this)) {
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pKinds);
    pLayout->addStretch(1);
    connect(m_pKinds, &CRadioGroup::chosen, this, [this](int nKind) { m_rule.m_nKind = nKind; });
}

void CTransferPage::OnInitPage() {
    m_pKinds->SetChecked(m_rule.m_nKind);
}

}  // namespace mardo
