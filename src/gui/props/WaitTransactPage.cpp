#include "gui/props/WaitTransactPage.h"

#include <QGridLayout>
#include <QLabel>

#include "core/model/GroupBlockDlg.h"
#include "gui/props/NumberField.h"

namespace mardo {

CWaitTransactPage::CWaitTransactPage(std::int32_t nWaitCount, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Ожидаемые транзакты"), pParent),
      m_nWaitCount(nWaitCount),
      m_pCount(new CNumberField(1, CGroupBlockDlg::kMaxWaitCount, this)) {
    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(QStringLiteral("Количество ожидаемых транзактов"), this), 0, 0);
    pGrid->addWidget(m_pCount, 0, 1, Qt::AlignLeft);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(1, 1);
}

void CWaitTransactPage::OnInitPage() {
    m_pCount->Attach(m_nWaitCount);
}

bool CWaitTransactPage::OnValidate() {
    return m_pCount->Validate(*GetSheet(), this);
}

}  // namespace mardo
