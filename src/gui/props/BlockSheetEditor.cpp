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
    return RunSheet(block, QStringLiteral("Свойства генератора"), blocks);
}

bool CBlockSheetEditor::Edit(CTerminateDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства терминатора"), blocks);
}

bool CBlockSheetEditor::Edit(CDeviceDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства устройства обслуживания"), blocks);
}

bool CBlockSheetEditor::Edit(CQueueDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства очереди"), blocks);
}

bool CBlockSheetEditor::Edit(CTransferDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства коммутирующего блока"), blocks);
}

bool CBlockSheetEditor::Edit(CSplitDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства копирующего блока"), blocks);
}

bool CBlockSheetEditor::Edit(CAssembleDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства компонующего блока"), blocks);
}

bool CBlockSheetEditor::Edit(CGatherDlg& block, const CBlockList& blocks) {
    return RunSheet(block, QStringLiteral("Свойства ожидающего блока"), blocks);
}

}  // namespace mardo
