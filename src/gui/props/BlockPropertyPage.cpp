#include "gui/props/BlockPropertyPage.h"

#include <QShowEvent>

namespace mardo {

CBlockPropertyPage::CBlockPropertyPage(QString strTitle, QWidget* pParent)
    : QWidget(pParent), m_strTitle(std::move(strTitle)) {}

bool CBlockPropertyPage::Validate() { return m_bNotInitialized || OnValidate(); }

void CBlockPropertyPage::showEvent(QShowEvent* pEvent) {
    if (m_bNotInitialized) {
        OnInitPage();
        m_bNotInitialized = false;
    }
    // A window restored from the task bar shows its pages again; that is no change of tab.
    if (!pEvent->spontaneous()) {
        OnActivate();
    }
    QWidget::showEvent(pEvent);
}

}  // namespace mardo
