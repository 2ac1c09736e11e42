#pragma once

#include <cstdint>

class QCheckBox;
class QGridLayout;
class QString;
class QWidget;

namespace mardo {

class CBlockPropertySheet;
class CNumberField;

// A check box that switches a numeric field on and off: one row of a page's grid. The box
// changes the working copy's flag and the field's enabled state at once; the field is
// validated only while the box is checked, and otherwise keeps whatever it holds.
class CCheckedField final {
public:
    CCheckedField(QGridLayout& grid, int nRow, const QString& strText, int nMin, int nMax,
                  QWidget* pPage);

    // Binds the working copy's flag and value and shows them.
    void Attach(std::int32_t& bFlag, std::int32_t& nValue);
    bool Validate(CBlockPropertySheet& sheet, QWidget* pPage) const;

    QCheckBox& GetCheck() const { return *m_pCheck; }
    CNumberField& GetField() const { return *m_pField; }

private:
    std::int32_t* m_pFlag = nullptr;
    QCheckBox* m_pCheck;
    CNumberField* m_pField;
};

}  // namespace mardo
