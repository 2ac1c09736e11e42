#include "gui/common/TabKeys.h"
#include "gui/props/BlockPropertySheet.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/common/Dialogs.h"
#include "gui/props/BlockPropertyPage.h"
#include "gui/props/FieldText.h"
#include "gui/props/SpinButtons.h"

namespace mardo {

CBlockPropertySheet::CBlockPropertySheet(const QString& strCaption, const CBlockDlg* pBlock,
                                         const CBlockList* pBlocks, QWidget* pParent)
    : QDialog(pParent),
      m_pBlock(pBlock),
      m_pBlocks(pBlocks),
      m_pTabs(new QTabWidget(this)),
      m_pButtons(new QDialogButtonBox(this)) {
    setWindowTitle(strCaption);
    // Every tab title in full: the sheet is as wide as its tabs.
    m_pTabs->setUsesScrollButtons(false);
    m_pTabs->setMinimumSize(380, 220);
    QPushButton* pOk = m_pButtons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* pCancel =
        m_pButtons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &CBlockPropertySheet::OnOk);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(m_pButtons);
    AddTabTurningKeys(*this, *m_pTabs);
}

void CBlockPropertySheet::AddPage(std::unique_ptr<CBlockPropertyPage> pPage) {
    pPage->m_pSheet = this;
    // A page's button that opens a dialog keeps the focus after it; were it a default button,
    // Enter would open the dialog again instead of pressing the sheet's OK.
    for (QPushButton* pButton : pPage->findChildren<QPushButton*>()) {
        pButton->setAutoDefault(false);
    }
    m_pages.push_back(pPage.get());
    const QString strTitle = pPage->GetTitle();
    m_pTabs->addTab(pPage.release(), strTitle);
    // The Tab key goes from the tabs through the page's fields to the buttons: a widget given
    // a parent again goes to the end of the order.
    m_pButtons->setParent(nullptr);
    m_pButtons->setParent(this);
    layout()->addWidget(m_pButtons);
}

CBlockPropertyPage* CBlockPropertySheet::GetActivePage() const {
    return qobject_cast<CBlockPropertyPage*>(m_pTabs->currentWidget());
}

void CBlockPropertySheet::SetActivePage(CBlockPropertyPage& page) { m_pTabs->setCurrentWidget(&page); }

bool CBlockPropertySheet::ValidateInt(QWidget* pDialog, QLineEdit& edit, int nMin, int nMax,
                                      int& nValue) {
    const SIntField field = ParseIntField(edit.text());
    if (field.nKind == SIntField::kNumber && field.nValue >= nMin && field.nValue <= nMax) {
        nValue = field.nValue;
        return true;
    }
    const QString strMessage =
        field.nKind == SIntField::kNotNumeric
            ? QStringLiteral("Не числовое значение.")
            : QStringLiteral("Значение параметра должно находиться в пределах от %1 до %2.")
                  .arg(nMin)
                  .arg(nMax);
    const auto it = std::find(m_pages.begin(), m_pages.end(), pDialog);
    if (it != m_pages.end()) {
        SetActivePage(**it);
    }
    ShowMessage(this, strMessage, EMessageIcon::kExclamation);
    edit.setFocus(Qt::OtherFocusReason);
    return false;
}

void CBlockPropertySheet::SetupSpin(CSpinButtons& spin, int nMin, int nMax, int nPos) {
    // Setting up is not a move of the arrows: the working copy keeps its value even when the
    // arrows cannot show it (a value out of range read from a file).
    const QSignalBlocker blocker(spin);
    spin.setRange(nMin, nMax);
    spin.setValue(nPos);
    spin.GetBuddy().setText(QString::number(nPos));
}

void CBlockPropertySheet::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (pEvent->spontaneous() || m_pTabs->currentWidget() == nullptr) {
        return;
    }
    // The sheet opens ready for typing into the first field of its first page.
    QWidget& page = *m_pTabs->currentWidget();
    for (QWidget* pField = page.nextInFocusChain(); pField != &page;
         pField = pField->nextInFocusChain()) {
        if (page.isAncestorOf(pField) && pField->isVisibleTo(&page) && pField->isEnabled() &&
            (pField->focusPolicy() & Qt::TabFocus) != 0) {
            pField->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CBlockPropertySheet::OnOk() {
    for (CBlockPropertyPage* pPage : m_pages) {
        if (!pPage->Validate()) {
            return;
        }
    }
    accept();
}

}  // namespace mardo
