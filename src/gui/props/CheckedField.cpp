#include "gui/props/CheckedField.h"

#include <QCheckBox>
#include <QGridLayout>

#include "gui/props/NumberField.h"

namespace mardo {

CCheckedField::CCheckedField(QGridLayout& grid, int nRow, const QString& strText, int nMin,
                             int nMax, QWidget* pPage)
    : m_pCheck(new QCheckBox(strText, pPage)), m_pField(new CNumberField(nMin, nMax, pPage)) {
    grid.addWidget(m_pCheck, nRow, 0);
    grid.addWidget(m_pField, nRow, 1, Qt::AlignLeft);
    QObject::connect(m_pCheck, &QCheckBox::clicked, m_pField, [this](bool bChecked) {
        if (m_pFlag != nullptr) {
            *m_pFlag = bChecked ? 1 : 0;
        }
        m_pField->setEnabled(bChecked);
    });
}

void CCheckedField::Attach(std::int32_t& bFlag, std::int32_t& nValue) {
    m_pFlag = &bFlag;
    m_pField->Attach(nValue);
    m_pCheck->setChecked(bFlag != 0);
    m_pField->setEnabled(bFlag != 0);
}

bool CCheckedField::Validate(CBlockPropertySheet& sheet, QWidget* pPage) const {
    return !m_pCheck->isChecked() || m_pField->Validate(sheet, pPage);
}

}  // namespace mardo
