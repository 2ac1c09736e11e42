#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "core/model/BlockEditor.h"

class QDialogButtonBox;
class QLineEdit;
class QTabWidget;

namespace mardo {

class CBlockPropertyPage;
class CSpinButtons;

// A modal tabbed sheet of pages with OK and Cancel. OK validates the pages in tab order and
// closes the sheet only when every page is valid; the caller then writes the pages' copies back.
class CBlockPropertySheet final : public QDialog {
    Q_OBJECT

public:
    // pBlock and pBlocks are null for the model's sheet.
    CBlockPropertySheet(const QString& strCaption, const CBlockDlg* pBlock, const CBlockList* pBlocks,
                        QWidget* pParent = nullptr);

    // Appends a page; the sheet owns it.
    template <typename TPage, typename... TArgs>
    TPage& AddPage(TArgs&&... args) {
        auto pPage = std::make_unique<TPage>(std::forward<TArgs>(args)...);
        TPage& page = *pPage;
        AddPage(std::unique_ptr<CBlockPropertyPage>(std::move(pPage)));
        return page;
    }
    void AddPage(std::unique_ptr<CBlockPropertyPage> pPage);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CBlockPropertyPage& GetPage(int nPage) const { return *m_pages.at(nPage); }
    CBlockPropertyPage* GetActivePage() const;
    void SetActivePage(CBlockPropertyPage& page);

    const CBlockDlg* GetBlock() const { return m_pBlock; }
    const CBlockList* GetBlocks() const { return m_pBlocks; }

    // Reads a numeric field: true, with the number stored in nValue, when it holds a whole
    // number within min..max. A refused number is not stored: a field that is then switched off
    // keeps its last valid value, which the model file can hold. On failure the dialog, if it
    // is a page of this sheet, comes to the front, the message is shown and the field gets the
    // focus.
    bool ValidateInt(QWidget* pDialog, QLineEdit& edit, int nMin, int nMax, int& nValue);
    // Sets a spin's range and position and writes the position into its field.
    static void SetupSpin(CSpinButtons& spin, int nMin, int nMax, int nPos);

public slots:
    // The OK button: the first invalid page stops it, otherwise the sheet closes with OK.
    void OnOk();

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    const CBlockDlg* m_pBlock;
    const CBlockList* m_pBlocks;
    QTabWidget* m_pTabs;
    QDialogButtonBox* m_pButtons;
    std::vector<CBlockPropertyPage*> m_pages;  // owned by the tabs
};

}  // namespace mardo
