#include "gui/props/ExperimentPage.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/props/NumberField.h"
#include "gui/props/RadioGroup.h"

namespace mardo {

CExperimentPage::CExperimentPage(const CExperimentParams& params, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Условия эксперимента"), pParent),
      m_params(params),
      m_pStopRules(new CRadioGroup(
          QStringLiteral("Закончить моделирование"),
          {QStringLiteral("По времени"), QStringLiteral("По числу транзактов")}, this)),
      m_pValue(new CNumberField(1, CExperimentParams::kMaxValue, this)),
      m_pRuns(new CNumberField(1, CExperimentParams::kMaxValue, this)) {
    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(m_pStopRules, 0, 0, 1, 3);
    pGrid->addWidget(new QLabel(QStringLiteral("Значения"), this), 1, 0);
    pGrid->addWidget(m_pValue, 1, 1, Qt::AlignLeft);
    pGrid->addWidget(new QLabel(QStringLiteral("Количество запусков модели"), this), 2, 0);
    pGrid->addWidget(m_pRuns, 2, 1, Qt::AlignLeft);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(3, 1);
    connect(m_pStopRules, &CRadioGroup::chosen, this,
            [this](int nRule) { m_params.nStopRule = nRule; });
}

void CExperimentPage::OnInitPage() {
    m_pValue->Attach(m_params.nStopValue);
    m_pRuns->Attach(m_params.nRuns);
    m_pStopRules->SetChecked(m_params.nStopRule);
}

bool CExperimentPage::OnValidate() {
    return m_pValue->Validate(*GetSheet(), this) && m_pRuns->Validate(*GetSheet(), this);
}

}  // namespace mardo
