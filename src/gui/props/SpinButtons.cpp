#include "gui/props/SpinButtons.h"

#include <QLineEdit>

namespace mardo {

CSpinButtons::CSpinButtons(QLineEdit& buddy, QWidget* pParent) : QSpinBox(pParent), m_buddy(buddy) {
    lineEdit()->hide();
    setFixedWidth(18);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QSpinBox::valueChanged, this,
            [this](int nValue) { m_buddy.setText(QString::number(nValue)); });
}

}  // namespace mardo
