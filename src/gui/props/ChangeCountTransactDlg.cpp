#include "gui/props/ChangeCountTransactDlg.h"

#include <QGridLayout>
#include <QLabel>

#include "core/model/SplitDlg.h"
#include "gui/props/NumberField.h"

namespace mardo {

CChangeCountTransactDlg::CChangeCountTransactDlg(CBlockPropertySheet& sheet, int nCount,
                                                 QWidget* pParent)
    : CValueDlg(QStringLiteral("Изменить количество транзактов"), pParent),
      m_sheet(sheet),
      m_nCount(nCount),
      m_pCount(new CNumberField(1, CSplitDlg::kMaxCopies, this)) {
    GetForm().addWidget(new QLabel(QStringLiteral("Количество транзактов"), this), 0, 0);
    GetForm().addWidget(m_pCount, 0, 1, Qt::AlignLeft);
    m_pCount->Attach(m_nCount);
}

bool CChangeCountTransactDlg::CheckValues() {
    return m_pCount->Validate(m_sheet, this);
}

}  // namespace mardo
