#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace mardo {

// A framed group of radio buttons that stand for the values 0, 1, 2, ... of one mode of a
// working copy. Only the user's choice is reported: checking a button from code is not.
class CRadioGroup final : public QGroupBox {
    Q_OBJECT

public:
    CRadioGroup(const QString& strTitle, const QStringList& texts, QWidget* pParent = nullptr);

    // Clears every button, then checks the one of the value; a value without a button leaves
    // all of them cleared.
    void SetChecked(int nValue);
    // The checked button's value, or -1.
    int GetChecked() const;
    QRadioButton& GetButton(int nValue) const;
    int GetButtonCount() const;

signals:
    void chosen(int nValue);

private:
    QButtonGroup* m_pGroup;
};

}  // namespace mardo
