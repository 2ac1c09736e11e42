#include "gui/props/NumberField.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>

#include "gui/props/BlockPropertySheet.h"
#include "gui/props/SpinButtons.h"

namespace mardo {

CNumberField::CNumberField(int nMin, int nMax, QWidget* pParent)
    : QWidget(pParent),
      m_nMin(nMin),
      m_nMax(nMax),
      m_pEdit(new QLineEdit(this)),
      m_pSpin(new CSpinButtons(*m_pEdit, this)) {
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pEdit);
    pLayout->addWidget(m_pSpin);
    // One width for every field, so that fields in a column line up; room for seven digits.
    m_pEdit->setFixedWidth(m_pEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                           16);
    m_pSpin->setFixedHeight(m_pEdit->sizeHint().height());
    setFocusProxy(m_pEdit);
    m_pEdit->installEventFilter(this);
    connect(m_pSpin, &CSpinButtons::valueChanged, this, [this](int nValue) {
        if (m_pValue != nullptr) {
            *m_pValue = nValue;
        }
    });
}

bool CNumberField::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pEdit && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
            m_pSpin->stepBy(nKey == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CNumberField::Attach(std::int32_t& nValue) {
    m_pValue = &nValue;
    SetValue(nValue);
}

void CNumberField::SetValue(int nValue) {
    CBlockPropertySheet::SetupSpin(*m_pSpin, m_nMin, m_nMax, nValue);
}

bool CNumberField::Validate(CBlockPropertySheet& sheet, QWidget* pDialog) {
    int nValue = m_pValue != nullptr ? *m_pValue : 0;
    const bool bValid = sheet.ValidateInt(pDialog, *m_pEdit, m_nMin, m_nMax, nValue);
    if (m_pValue != nullptr) {
        *m_pValue = nValue;
    }
    return bValid;
}

}  // namespace mardo
