#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;

namespace mardo {

class CBlockPropertySheet;
class CSpinButtons;

// A numeric field of a page or value dialog: an edit box that keeps whatever is typed into it,
// with spin arrows beside it. The arrows write their position into the box and into the working
// copy at once; the typed text is read only when the owner validates. One range serves the
// arrows and the validation.
class CNumberField final : public QWidget {
    Q_OBJECT

public:
    CNumberField(int nMin, int nMax, QWidget* pParent = nullptr);

    // Binds the working copy and shows its value in the box and at the arrows.
    void Attach(std::int32_t& nValue);
    // Shows a value in the box and at the arrows without touching the working copy.
    void SetValue(int nValue);
    // Reads the box into the working copy: false, with the message shown over the sheet, when
    // it is not a number within the range. pDialog is the page or dialog that holds the field.
    bool Validate(CBlockPropertySheet& sheet, QWidget* pDialog);

    int GetMin() const { return m_nMin; }
    int GetMax() const { return m_nMax; }
    QLineEdit& GetEdit() const { return *m_pEdit; }
    CSpinButtons& GetSpin() const { return *m_pSpin; }

protected:
    // The Up and Down keys in the box move the arrows, as a click on them would.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    int m_nMin;
    int m_nMax;
    std::int32_t* m_pValue = nullptr;
    QLineEdit* m_pEdit;
    CSpinButtons* m_pSpin;
};

}  // namespace mardo
