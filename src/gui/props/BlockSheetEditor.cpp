#include "gui/props/BlockSheetEditor.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "gui/common/DialogRunner.h"
#include "gui/props/BlockPage.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/ChannelsPage.h"
#include "gui/props/ExperimentPage.h"
#include "gui/props/FlowPage.h"
#include "gui/props/GeneratePage.h"
#include "gui/props/OutCountPage.h"
#include "gui/props/PriorityPage.h"
#include "gui/props/QueuePage.h"
#include "gui/props/SetOutPage.h"
#include "gui/props/TransferPage.h"
#include "gui/props/WaitTransactPage.h"

namespace mardo {

template <typename TPage, typename TRecord, typename TRead>
CBlockSheetEditor::SKindPages CBlockSheetEditor::OnePage(TRecord& record, TRead read,
                                                         CPriorityChange& priority) {
    // Both steps need the page, which exists only once the sheet adds it.
    auto ppPage = std::make_shared<TPage*>(nullptr);
    return {
        [ppPage, &record](CBlockPropertySheet& sheet) { *ppPage = &sheet.AddPage<TPage>(record); },
        [ppPage, &record, read] { record = std::invoke(read, **ppPage); }, &priority};
}

bool CBlockSheetEditor::RunSheet(CBlockDlg& block, const QString& strCaption,
                                 const CBlockList& blocks, const SKindPages& pages) {
    const CBlockDlg& original = m_pOriginal != nullptr ? *m_pOriginal : block;
    QWidget* pParent = dynamic_cast<QWidget*>(original.GetView());
    CBlockPropertySheet sheet(strCaption, &original, &blocks,
                              pParent != nullptr ? pParent : m_pParent);
    CBlockPage& namePage = sheet.AddPage<CBlockPage>();
    namePage.SetName(QString::fromStdString(block.GetName()));
    if (pages.addPages) {
        pages.addPages(sheet);
    }
    const CPriorityPage* pPriorityPage =
        pages.pPriority != nullptr ? &sheet.AddPage<CPriorityPage>(*pages.pPriority) : nullptr;
    if (RunDialog(sheet) != QDialog::Accepted) {
        return false;
    }
    const std::string strName = namePage.GetName().toStdString();
    if (strName != block.GetName()) {
        block.SetName(strName);
    }
    if (pages.writeBack) {
        pages.writeBack();
    }
    if (pPriorityPage != nullptr) {
        *pages.pPriority = pPriorityPage->GetPriority();
    }
    return true;
}

bool CBlockSheetEditor::Edit(CGenerateDlg& block, const CBlockList& blocks) {
    CGeneratePage* pParams = nullptr;
    CFlowPage* pLaw = nullptr;
    return RunSheet(block, QStringLiteral("Свойства генератора"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pParams = &sheet.AddPage<CGeneratePage>(block.m_params);
                         pLaw = &sheet.AddPage<CFlowPage>(block.m_law);
                     },
                     [&] {
                         block.m_params = pParams->GetParams();
                         block.m_law = pLaw->GetLaw();
                     }});
}

bool CBlockSheetEditor::Edit(CTerminateDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства терминатора"), blocks, {});
}

bool CBlockSheetEditor::Edit(CDeviceDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства устройства обслуживания"), blocks,
                    OnePage<CFlowPage>(block.m_law, &CFlowPage::GetLaw, block.m_priority));
}

bool CBlockSheetEditor::Edit(CQueueDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства очереди"), blocks,
                    OnePage<CQueuePage>(block.m_params, &CQueuePage::GetParams, block.m_priority));
}

bool CBlockSheetEditor::Edit(CTransferDlg& block, const CBlockList& blocks) {
    // One copy of the rule, shared by the rule's page and the outputs' values.
    CTransferRule rule = block.m_rule;
    COutCountPage* pOutputs = nullptr;
    return RunSheet(block, QStringLiteral("Свойства коммутирующего блока"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         sheet.AddPage<CTransferPage>(rule);
                         pOutputs = &sheet.AddPage<COutCountPage>(block.GetOutputCount());
                         sheet.AddPage<CSetOutPage>(*pOutputs, rule);
                     },
                     [&] {
                         block.SetOutputCount(pOutputs->GetCount());
                         block.m_rule = rule;
                         block.m_rule.SetOutputCount(block.GetOutputCount());
                     },
                     &block.m_priority});
}

bool CBlockSheetEditor::Edit(CSplitDlg& block, const CBlockList& blocks) {
    std::vector<std::int32_t> copyCounts = block.m_copyCounts;
    COutCountPage* pOutputs = nullptr;
    return RunSheet(block, QStringLiteral("Свойства копирующего блока"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pOutputs = &sheet.AddPage<COutCountPage>(block.GetOutputCount());
                         sheet.AddPage<CSetOutPage>(*pOutputs, copyCounts);
                     },
                     [&] {
                         block.SetOutputCount(pOutputs->GetCount());
                         block.m_copyCounts = copyCounts;
                         block.FitCopyCounts();
                     },
                     &block.m_priority});
}

bool CBlockSheetEditor::Edit(CAssembleDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства компонующего блока"), blocks,
                    OnePage<CWaitTransactPage>(block.m_nWaitCount, &CWaitTransactPage::GetWaitCount,
                                               block.m_priority));
}

bool CBlockSheetEditor::Edit(CGatherDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства ожидающего блока"), blocks,
                    OnePage<CWaitTransactPage>(block.m_nWaitCount, &CWaitTransactPage::GetWaitCount,
                                               block.m_priority));
}

bool CBlockSheetEditor::Edit(CMultiDeviceDlg& block, const CBlockList& blocks) {
    CFlowPage* pLaw = nullptr;
    CChannelsPage* pChannels = nullptr;
    return RunSheet(block, QStringLiteral("Свойства многоканального устройства"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pLaw = &sheet.AddPage<CFlowPage>(block.m_law);
                         pChannels = &sheet.AddPage<CChannelsPage>(block.m_nChannels);
                     },
                     [&] {
                         block.m_law = pLaw->GetLaw();
                         block.m_nChannels = pChannels->GetChannels();
                     },
                     &block.m_priority});
}

std::unique_ptr<CBlockDlg> CBlockSheetEditor::EditCopy(const CBlockDlg& block,
                                                       const CBlockList& blocks) {
    std::unique_ptr<CBlockDlg> pCopy = block.Clone();
    pCopy->SetName(block.GetName());
    m_pOriginal = &block;
    const bool bApplied = pCopy->EditProperties(*this, blocks);
    m_pOriginal = nullptr;
    return bApplied ? std::move(pCopy) : nullptr;
}

bool CBlockSheetEditor::EditExperiment(CExperimentParams& params) {
    CBlockPropertySheet sheet(QStringLiteral("Свойства модели"), nullptr, nullptr, m_pParent);
    const CExperimentPage& page = sheet.AddPage<CExperimentPage>(params);
    if (RunDialog(sheet) != QDialog::Accepted) {
        return false;
    }
    params = page.GetParams();
    return true;
}

}  // namespace mardo
