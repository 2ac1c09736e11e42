#pragma once

#include <cstdint>
#include <vector>

#include "gui/props/BlockPropertyPage.h"

class QPushButton;

namespace mardo {

class COutCountPage;
class CReportList;
class CTransferRule;

// "Значение выходов": one row per output with its value, for a copying block the number of
// copies, for a switching block its probability or its block-and-state condition. The rows are
// rebuilt every time the page is shown, from the count "Выходы" holds at that moment, and the
// values are brought to that count.
class CSetOutPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    // A copying block's page, on the sheet's copy of the copy counts.
    CSetOutPage(const COutCountPage& outputs, std::vector<std::int32_t>& copyCounts,
                QWidget* pParent = nullptr);
    // A switching block's page, on the sheet's copy of the rule.
    CSetOutPage(const COutCountPage& outputs, CTransferRule& rule, QWidget* pParent = nullptr);

    CReportList& GetList() const { return *m_pList; }
    QPushButton& GetEditButton() const { return *m_pEdit; }

public slots:
    // Edits the value of the row with the selection mark.
    void OnEdit();

protected:
    void OnActivate() override;

private:
    CSetOutPage(const COutCountPage& outputs, std::vector<std::int32_t>* pCopyCounts,
                CTransferRule* pRule, QWidget* pParent);

    void ShowCopyCounts();
    void ShowRule();
    void ShowCondition(int nRow);
    void EditCopyCount(int nRow);
    void EditProbability(int nRow);
    void EditCondition(int nRow);

    const COutCountPage& m_outputs;
    std::vector<std::int32_t>* m_pCopyCounts;
    CTransferRule* m_pRule;
    CReportList* m_pList;
    QPushButton* m_pEdit;
};

}  // namespace mardo
