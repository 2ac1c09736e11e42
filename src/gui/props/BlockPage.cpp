#include "gui/props/BlockPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/model/BlockDlg.h"
#include "gui/props/BlockNameRule.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/FieldText.h"

namespace mardo {

CBlockPage::CBlockPage(QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Блок"), pParent), m_pName(new QLineEdit(this)) {
    auto* pLayout = new QFormLayout(this);
    pLayout->addRow(new QLabel(QStringLiteral("Имя блока"), this), m_pName);
    m_pName->setMinimumWidth(220);
}

void CBlockPage::OnInitPage() {
    if (const CBlockDlg* pBlock = GetSheet()->GetBlock()) {
        m_pName->setText(QString::fromStdString(pBlock->GetName()));
    }
}

bool CBlockPage::OnValidate() {
    CBlockPropertySheet& sheet = *GetSheet();
    const QString strName = TrimSpaces(m_pName->text());
    const ENameCheck nCheck = CheckBlockName(strName, *sheet.GetBlock(), *sheet.GetBlocks());
    if (IsNameFault(nCheck)) {
        sheet.SetActivePage(*this);
        ReportNameFault(&sheet, *m_pName, nCheck);
        return false;
    }
    m_strName = strName;
    return true;
}

}  // namespace mardo
