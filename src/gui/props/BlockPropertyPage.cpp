#include "props/BlockPropertyPage.h"

namespace mardo {

CBlockPropertyPage::CBlockPropertyPage(QString strTitle, QWidget* pParent)
    : QWidget(pParent), m_strTitle(std::move(strTitle)) {}

bool CBlockPropertyPage::Validate() { return m_bNotInitialized || OnValidate(); }

void CBlockPropertyPage::showEvent(QShowEvent* pEvent) {
    if (m_bNotInitialized) {
        OnInitPage();
        m_bNotInitialized = false;
    }
    QWidget::showEvent(pEvent);
}

}  // namespace mardo
