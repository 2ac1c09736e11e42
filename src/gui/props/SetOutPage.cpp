#include "gui/props/SetOutPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <numeric>

#include "core/model/BlockDlg.h"
#include "core/sim/TransferRule.h"
#include "gui/common/DialogRunner.h"
#include "gui/model/BlockWindow.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/ChangeCountTransactDlg.h"
#include "gui/props/ChangeProbabilityDlg.h"
#include "gui/props/ChangeStateBlockDlg.h"
#include "gui/props/FieldText.h"
#include "gui/props/OutCountPage.h"
#include "gui/props/ReportList.h"
#include "gui/props/StateCandidates.h"

namespace mardo {

namespace {

enum EColumn { kOutputColumn, kValueColumn, kStateColumn };

constexpr int kWholeProbability = 1000;

}  // namespace

CSetOutPage::CSetOutPage(const COutCountPage& outputs, std::vector<std::int32_t>& copyCounts,
                         QWidget* pParent)
    : CSetOutPage(outputs, &copyCounts, nullptr, pParent) {}

CSetOutPage::CSetOutPage(const COutCountPage& outputs, CTransferRule& rule, QWidget* pParent)
    : CSetOutPage(outputs, nullptr, &rule, pParent) {}

CSetOutPage::CSetOutPage(const COutCountPage& outputs, std::vector<std::int32_t>* pCopyCounts,
                         CTransferRule* pRule, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Значение выходов"), pParent),
      m_outputs(outputs),
      m_pCopyCounts(pCopyCounts),
      m_pRule(pRule),
      m_pList(new CReportList(this)),
      m_pEdit(new QPushButton(QStringLiteral("Ред&актировать"), this)) {
    m_pList->setColumnCount(2);
    m_pList->setHeaderLabels({QString(), QString()});
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(m_pEdit);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pList, 1);
    pLayout->addLayout(pButtons);
    connect(m_pEdit, &QPushButton::clicked, this, &CSetOutPage::OnEdit);
    connect(m_pList, &CReportList::rowDoubleClicked, this, &CSetOutPage::OnEdit);
}

void CSetOutPage::OnActivate() {
    m_pList->clear();
    m_pList->SetColumn(kOutputColumn, QStringLiteral("Выходы"), 80);
    const int nCount = m_outputs.GetCount();
    for (int i = 0; i < nCount; ++i) {
        m_pList->AddRow({CBlockWindow::OutputLabel(i, nCount)});
    }
    if (m_pCopyCounts != nullptr) {
        ShowCopyCounts();
    } else {
        ShowRule();
    }
    m_pList->MarkRow(0);
}

void CSetOutPage::ShowCopyCounts() {
    m_pList->SetColumn(kValueColumn, QStringLiteral("Количество транзактов"), 250);
    m_pCopyCounts->resize(static_cast<std::size_t>(m_outputs.GetCount()), 1);
    for (std::size_t i = 0; i < m_pCopyCounts->size(); ++i) {
        m_pList->SetCell(static_cast<int>(i), kValueColumn, QString::number((*m_pCopyCounts)[i]));
    }
}

void CSetOutPage::ShowRule() {
    m_pList->setColumnCount(2);
    m_pRule->SetOutputCount(m_outputs.GetCount());
    const int nCount = m_pRule->GetOutputCount();
    if (m_pRule->m_nKind == CTransferRule::kByState) {
        m_pEdit->setEnabled(true);
        m_pList->SetColumn(kValueColumn, QStringLiteral("Имя блока"), 150);
        m_pList->SetColumn(kStateColumn, QStringLiteral("Состояние"), 100);
        for (int i = 0; i < nCount; ++i) {
            ShowCondition(i);
        }
        return;
    }
    const bool bEqual = m_pRule->m_nKind == CTransferRule::kEqual;
    m_pEdit->setEnabled(!bEqual);
    m_pList->SetColumn(kValueColumn, QStringLiteral("Вероятность"), 250);
    const std::vector<std::int32_t>& values =
        bEqual ? m_pRule->m_weights : m_pRule->m_probabilities;
    for (int i = 0; i < nCount; ++i) {
        m_pList->SetCell(i, kValueColumn, FormatThousandths(values[static_cast<std::size_t>(i)]));
    }
}

void CSetOutPage::ShowCondition(int nRow) {
    const auto nIndex = static_cast<std::size_t>(nRow);
    const CBlockDlg* pBlock = m_pRule->m_conditionBlocks[nIndex];
    if (pBlock == nullptr) {
        m_pList->SetCell(nRow, kValueColumn, QString());
        m_pList->SetCell(nRow, kStateColumn, QString());
        return;
    }
    m_pList->SetCell(nRow, kValueColumn, QString::fromStdString(pBlock->GetName()));
    m_pList->SetCell(nRow, kStateColumn,
                     m_pRule->m_conditionStates[nIndex] != CTransferRule::kFree
                         ? QStringLiteral("Занят")
                         : QStringLiteral("Свободен"));
}

void CSetOutPage::OnEdit() {
    const int nRow = m_pList->GetMarkedRow();
    if (nRow < 0) {
        return;
    }
    if (m_pCopyCounts != nullptr) {
        EditCopyCount(nRow);
    } else if (m_pRule->m_nKind == CTransferRule::kByProbability) {
        EditProbability(nRow);
    } else if (m_pRule->m_nKind == CTransferRule::kByState) {
        EditCondition(nRow);
    }
}

void CSetOutPage::EditCopyCount(int nRow) {
    std::int32_t& nCount = m_pCopyCounts->at(static_cast<std::size_t>(nRow));
    CChangeCountTransactDlg dialog(*GetSheet(), nCount, this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        nCount = dialog.GetCount();
        m_pList->SetCell(nRow, kValueColumn, QString::number(nCount));
    }
}

void CSetOutPage::EditProbability(int nRow) {
    std::vector<std::int32_t>& probabilities = m_pRule->m_probabilities;
    std::int32_t& nProbability = probabilities.at(static_cast<std::size_t>(nRow));
    const int nSum = std::accumulate(probabilities.begin(), probabilities.end(), 0);
    CChangeProbabilityDlg dialog(nProbability, nProbability + kWholeProbability - nSum, this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        nProbability = dialog.GetProbability();
        m_pList->SetCell(nRow, kValueColumn, FormatThousandths(nProbability));
    }
}

void CSetOutPage::EditCondition(int nRow) {
    const auto nIndex = static_cast<std::size_t>(nRow);
    CChangeStateBlockDlg dialog(FindStateCandidates(*GetSheet()->GetBlocks(), *m_pRule, nRow),
                                m_pRule->m_conditionBlocks.at(nIndex),
                                m_pRule->m_conditionStates.at(nIndex), this);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    m_pRule->m_conditionBlocks[nIndex] = dialog.GetBlock();
    m_pRule->m_conditionStates[nIndex] =
        dialog.GetBlock() != nullptr ? dialog.GetState() : CTransferRule::kFree;
    ShowCondition(nRow);
}

}  // namespace mardo
