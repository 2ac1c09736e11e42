#include "props/BlockSheetEditor.h"

#include <QString>
#include <QWidget>

#include "common/DialogRunner.h"
#include "model/AssembleDlg.h"
#include "model/DeviceDlg.h"
#include "model/GatherDlg.h"
#include "model/GenerateDlg.h"
#include "model/QueueDlg.h"
#include "model/SplitDlg.h"
#include "model/TerminateDlg.h"
#include "model/TransferDlg.h"
#include "props/BlockPage.h"
#include "props/BlockPropertySheet.h"
#include "props/ExperimentPage.h"
#include "props/FlowPage.h"
#include "props/GeneratePage.h"
#include "props/OutCountPage.h"
#include "props/PriorityPage.h"
#include "props/QueuePage.h"
#include "props/SetOutPage.h"
#include "props/TransferPage.h"
#include "props/WaitTransactPage.h"

namespace mardo {

bool CBlockSheetEditor::RunSheet(CBlockDlg& block, const QString& strCaption,
                                 const CBlockList& blocks, const SKindPages& pages) {
    QWidget* pParent = dynamic_cast<QWidget*>(block.GetView());
    CBlockPropertySheet sheet(strCaption, &block, &blocks, pParent != nullptr ? pParent : m_pParent);
    CBlockPage& namePage = sheet.AddPage<CBlockPage>();
    namePage.SetName(QString::fromStdString(block.GetName()));
    if (pages.addPages) {
        pages.addPages(sheet);
    }
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
    return RunSheet(block, QStringLiteral("Свойства терминатора"), blocks);
}

bool CBlockSheetEditor::Edit(CDeviceDlg& block, const CBlockList& blocks) {
    CFlowPage* pLaw = nullptr;
    CPriorityPage* pPriority = nullptr;
    return RunSheet(block, QStringLiteral("Свойства устройства обслуживания"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pLaw = &sheet.AddPage<CFlowPage>(block.m_law);
                         pPriority = &sheet.AddPage<CPriorityPage>(block.m_priority);
                     },
                     [&] {
                         block.m_law = pLaw->GetLaw();
                         block.m_priority = pPriority->GetPriority();
                     }});
}

bool CBlockSheetEditor::Edit(CQueueDlg& block, const CBlockList& blocks) {
    CQueuePage* pParams = nullptr;
    CPriorityPage* pPriority = nullptr;
    return RunSheet(block, QStringLiteral("Свойства очереди"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pParams = &sheet.AddPage<CQueuePage>(block.m_params);
                         pPriority = &sheet.AddPage<CPriorityPage>(block.m_priority);
                     },
                     [&] {
                         block.m_params = pParams->GetParams();
                         block.m_priority = pPriority->GetPriority();
                     }});
}

bool CBlockSheetEditor::Edit(CTransferDlg& block, const CBlockList& blocks) {
    // One copy of the rule, shared by the rule's page and the outputs' values.
    CTransferRule rule = block.m_rule;
    COutCountPage* pOutputs = nullptr;
    CPriorityPage* pPriority = nullptr;
    return RunSheet(block, QStringLiteral("Свойства коммутирующего блока"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         sheet.AddPage<CTransferPage>(rule);
                         pOutputs = &sheet.AddPage<COutCountPage>(block.GetOutputCount());
                         sheet.AddPage<CSetOutPage>(*pOutputs, rule);
                         pPriority = &sheet.AddPage<CPriorityPage>(block.m_priority);
                     },
                     [&] {
                         block.SetOutputCount(pOutputs->GetCount());
                         block.m_rule = rule;
                         block.m_rule.SetOutputCount(block.GetOutputCount());
                         block.m_priority = pPriority->GetPriority();
                     }});
}

bool CBlockSheetEditor::Edit(CSplitDlg& block, const CBlockList& blocks) {
    std::vector<std::int32_t> copyCounts = block.m_copyCounts;
    COutCountPage* pOutputs = nullptr;
    CPriorityPage* pPriority = nullptr;
    return RunSheet(block, QStringLiteral("Свойства копирующего блока"), blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pOutputs = &sheet.AddPage<COutCountPage>(block.GetOutputCount());
                         sheet.AddPage<CSetOutPage>(*pOutputs, copyCounts);
                         pPriority = &sheet.AddPage<CPriorityPage>(block.m_priority);
                     },
                     [&] {
                         block.SetOutputCount(pOutputs->GetCount());
                         block.m_copyCounts = copyCounts;
                         block.FitCopyCounts();
                         block.m_priority = pPriority->GetPriority();
                     }});
}

bool CBlockSheetEditor::Edit(CAssembleDlg& block, const CBlockList& blocks) {
    return EditGroupBlock(block, QStringLiteral("Свойства компонующего блока"), blocks);
}

bool CBlockSheetEditor::Edit(CGatherDlg& block, const CBlockList& blocks) {
    return EditGroupBlock(block, QStringLiteral("Свойства ожидающего блока"), blocks);
}

bool CBlockSheetEditor::EditGroupBlock(CGroupBlockDlg& block, const QString& strCaption,
                                       const CBlockList& blocks) {
    CWaitTransactPage* pWait = nullptr;
    CPriorityPage* pPriority = nullptr;
    return RunSheet(block, strCaption, blocks,
                    {[&](CBlockPropertySheet& sheet) {
                         pWait = &sheet.AddPage<CWaitTransactPage>(block.m_nWaitCount);
                         pPriority = &sheet.AddPage<CPriorityPage>(block.m_priority);
                     },
                     [&] {
                         block.m_nWaitCount = pWait->GetWaitCount();
                         block.m_priority = pPriority->GetPriority();
                     }});
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
