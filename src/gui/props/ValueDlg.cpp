#include "gui/props/ValueDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "gui/props/DialogButtons.h"

namespace mardo {

CValueDlg::CValueDlg(const QString& strCaption, QWidget* pParent)
    : QDialog(pParent), m_pForm(new QGridLayout), m_pButtons(CreateOkCancelButtons(*this, m_pOk)) {
    setWindowTitle(strCaption);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(m_pForm);
    pLayout->addStretch(1);
    pLayout->addWidget(m_pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_pOk, &QPushButton::clicked, this, &CValueDlg::OnOk);
}

void CValueDlg::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (pEvent->spontaneous()) {
        return;
    }
    // The buttons exist before the derived dialog adds its controls, so they would come first
    // in the Tab order and take the focus: typing would go nowhere and Enter would take the
    // values as they came.
    QWidget* pFirst = nullptr;
    QWidget* pLast = nullptr;
    for (QWidget* pControl = nextInFocusChain(); pControl != this;
         pControl = pControl->nextInFocusChain()) {
        if (isAncestorOf(pControl) && !m_pButtons->isAncestorOf(pControl) &&
            pControl->isVisibleTo(this) && (pControl->focusPolicy() & Qt::TabFocus) != 0) {
            if (pFirst == nullptr && pControl->isEnabled()) {
                pFirst = pControl;
            }
            pLast = pControl;
        }
    }
    if (pLast == nullptr) {
        return;
    }
    QWidget* pPrevious = pLast;
    for (QAbstractButton* pButton : m_pButtons->buttons()) {
        setTabOrder(pPrevious, pButton);
        pPrevious = pButton;
    }
    if (pFirst != nullptr) {
        pFirst->setFocus(Qt::TabFocusReason);
    }
}

void CValueDlg::OnOk() {
    if (CheckValues()) {
        accept();
    }
}

}  // namespace mardo
