#include "gui/props/PriorityPage.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/props/NumberField.h"
#include "gui/props/RadioGroup.h"

namespace mardo {

CPriorityPage::CPriorityPage(const CPriorityChange& priority, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Приоритет"), pParent),
      m_priority(priority),
      m_pModes(new CRadioGroup(
          QString(),
          {QStringLiteral("Не изменяется"), QStringLiteral("Увеличивается после выхода из блока"),
           QStringLiteral("Уменьшается после выхода из блока")},
          this)),
      m_pValueLabel(new QLabel(QStringLiteral("Значения"), this)),
      m_pValue(new CNumberField(0, 1000, this)) {
    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(m_pModes, 0, 0, 1, 3);
    pGrid->addWidget(m_pValueLabel, 1, 0);
    pGrid->addWidget(m_pValue, 1, 1, Qt::AlignLeft);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(2, 1);
    connect(m_pModes, &CRadioGroup::chosen, this, [this](int nMode) {
        m_priority.m_nMode = nMode;
        EnableValue();
    });
}

void CPriorityPage::OnInitPage() {
    m_pValue->Attach(m_priority.m_nValue);
    m_pModes->SetChecked(m_priority.m_nMode);
    EnableValue();
}

void CPriorityPage::EnableValue() {
    const bool bEnable = m_priority.m_nMode != CPriorityChange::kUnchanged;
    m_pValueLabel->setEnabled(bEnable);
    m_pValue->setEnabled(bEnable);
}

bool CPriorityPage::OnValidate() {
    return m_priority.m_nMode == CPriorityChange::kUnchanged ||
           m_pValue->Validate(*GetSheet(), this);
}

}  // namespace mardo
