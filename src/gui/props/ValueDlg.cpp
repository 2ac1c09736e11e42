#include "props/ValueDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "props/DialogButtons.h"

namespace mardo {

CValueDlg::CValueDlg(const QString& strCaption, QWidget* pParent)
    : QDialog(pParent), m_pForm(new QGridLayout) {
    setWindowTitle(strCaption);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(m_pForm);
    pLayout->addStretch(1);
    pLayout->addWidget(CreateOkCancelButtons(*this, m_pOk));
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_pOk, &QPushButton::clicked, this, &CValueDlg::OnOk);
}

void CValueDlg::OnOk() {
    if (CheckValues()) {
        accept();
    }
}

}  // namespace mardo
