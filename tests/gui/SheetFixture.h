#pragma once

// A property sheet opened offscreen with its message boxes recorded: pages are added as the
// block editor adds them and shown as the user would bring them to the front.

#include <QLineEdit>
#include <QtTest>

#include "GuiTestDoubles.h"
#include "gui/props/BlockPropertyPage.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/NumberField.h"
#include "gui/props/ReportList.h"
#include "gui/props/SpinButtons.h"

namespace mardo::test {

inline const QString kNotNumeric = QStringLiteral("Не числовое значение.");

inline QString RangeText(int nMin, int nMax) {
    return QStringLiteral("Значение параметра должно находиться в пределах от %1 до %2.")
        .arg(nMin)
        .arg(nMax);
}

struct SSheetFixture {
    CMessageRecorder messages;
    CDialogScript dialogs;
    CBlockPropertySheet sheet;

    explicit SSheetFixture(CBlockDlg* pBlock = nullptr, const CBlockList* pBlocks = nullptr)
        : sheet(QStringLiteral("Свойства"), pBlock, pBlocks) {}

    template <typename TPage, typename... TArgs>
    TPage& Add(TArgs&&... args) {
        return sheet.AddPage<TPage>(std::forward<TArgs>(args)...);
    }
    // Opens the sheet, if it is not yet open, and brings the page to the front.
    void Show(CBlockPropertyPage& page) {
        if (!sheet.isVisible()) {
            sheet.show();
        }
        sheet.SetActivePage(page);
    }
};

inline void Type(CNumberField& field, const QString& strText) {
    field.GetEdit().setText(strText);
}
inline QString TextOf(const CNumberField& field) {
    return field.GetEdit().text();
}

// The cells of one column of a page's list, top to bottom.
inline QStringList Column(const CReportList& list, int nColumn) {
    QStringList cells;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        cells << list.GetCell(i, nColumn);
    }
    return cells;
}

}  // namespace mardo::test
