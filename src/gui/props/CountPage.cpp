#include "gui/props/CountPage.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/props/NumberField.h"

namespace mardo {

CCountPage::CCountPage(const QString& strTitle, const QString& strLabel, std::int32_t nMin,
                       std::int32_t nMax, std::int32_t nCount, QWidget* pParent)
    : CBlockPropertyPage(strTitle, pParent),
      m_nCount(nCount),
      m_pCount(new CNumberField(nMin, nMax, this)) {
    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(strLabel, this), 0, 0);
    pGrid->addWidget(m_pCount, 0, 1, Qt::AlignLeft);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(1, 1);
}

void CCountPage::OnInitPage() {
    m_pCount->Attach(m_nCount);
}

bool CCountPage::OnValidate() {
    return m_pCount->Validate(*GetSheet(), this);
}

}  // namespace mardo
