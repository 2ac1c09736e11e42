#include "gui/props/ChangeNameBlockDlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/model/BlockDlg.h"
#include "gui/props/BlockNameRule.h"
#include "gui/props/DialogButtons.h"
#include "gui/props/FieldText.h"

namespace mardo {

CChangeNameBlockDlg::CChangeNameBlockDlg(const CBlockList& blocks, const CBlockDlg& block,
                                         QWidget* pParent)
    : QDialog(pParent), m_blocks(blocks), m_block(block), m_pName(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Имя блока"));
    m_pName->setText(QString::fromStdString(block.GetName()));
    m_pName->setMinimumWidth(240);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pName);
    pLayout->addWidget(CreateOkCancelButtons(*this, m_pOk));
    connect(m_pOk, &QPushButton::clicked, this, &CChangeNameBlockDlg::OnOk);
}

void CChangeNameBlockDlg::OnOk() {
    const QString strName = TrimSpaces(m_pName->text());
    const ENameCheck nCheck = CheckBlockName(strName, m_block, m_blocks);
    if (nCheck == ENameCheck::kUnchanged) {
        reject();
    } else if (IsNameFault(nCheck)) {
        ReportNameFault(this, *m_pName, nCheck);
    } else {
        accept();
    }
}

std::string CChangeNameBlockDlg::GetNewName() const { return TrimSpaces(m_pName->text()).toStdString(); }

}  // namespace mardo
