#pragma once

#include <QSpinBox>

class QLineEdit;

namespace mardo {

// The up and down arrows beside a numeric edit field. Its own text is hidden: the field beside
// it holds the text, which may be anything the user types and is read only by validation, while
// a move of the arrows writes its position into that field at once.
class CSpinButtons final : public QSpinBox {
    Q_OBJECT

public:
    CSpinButtons(QLineEdit& buddy, QWidget* pParent = nullptr);

    QLineEdit& GetBuddy() const { return m_buddy; }

private:
    QLineEdit& m_buddy;
};

}  // namespace mardo
