#include "gui/props/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mardo {

CRadioGroup::CRadioGroup(const QString& strTitle, const QStringList& texts, QWidget* pParent)
    : QGroupBox(strTitle, pParent), m_pGroup(new QButtonGroup(this)) {
    auto* pLayout = new QVBoxLayout(this);
    for (int i = 0; i < texts.size(); ++i) {
        auto* pButton = new QRadioButton(texts[i], this);
        m_pGroup->addButton(pButton, i);
        pLayout->addWidget(pButton);
    }
    connect(m_pGroup, &QButtonGroup::idClicked, this, &CRadioGroup::chosen);
}

void CRadioGroup::SetChecked(int nValue) {
    // An exclusive group keeps one button checked; clearing them all needs it lifted a moment.
    m_pGroup->setExclusive(false);
    for (QAbstractButton* pButton : m_pGroup->buttons()) {
        pButton->setChecked(m_pGroup->id(pButton) == nValue);
    }
    m_pGroup->setExclusive(true);
}

int CRadioGroup::GetChecked() const {
    return m_pGroup->checkedId();
}

QRadioButton& CRadioGroup::GetButton(int nValue) const {
    return *static_cast<QRadioButton*>(m_pGroup->button(nValue));
}

int CRadioGroup::GetButtonCount() const {
    return static_cast<int>(m_pGroup->buttons().size());
}

}  // namespace mardo
