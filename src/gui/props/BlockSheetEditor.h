#pragma once

#include <functional>
#include <memory>

#include "core/model/BlockEditor.h"

class QString;
class QWidget;

namespace mardo {

class CBlockPropertySheet;
struct CPriorityChange;
struct CExperimentParams;

// Opens the property sheet of each block kind: the "Блок" page first, then the pages of the
// kind; on OK the name is applied and the kind's pages write their copies back into the block
// the sheet was opened on. The editor opens a sheet on a working copy, which the model then
// takes over as one edit. It also opens the model's own sheet of experiment conditions.
class CBlockSheetEditor final : public IBlockEditor {
public:
    explicit CBlockSheetEditor(QWidget* pParent) : m_pParent(pParent) {}

    bool Edit(CGenerateDlg& block, const CBlockList& blocks) override;
    bool Edit(CTerminateDlg& block, const CBlockList& blocks) override;
    bool Edit(CDeviceDlg& block, const CBlockList& blocks) override;
    bool Edit(CQueueDlg& block, const CBlockList& blocks) override;
    bool Edit(CTransferDlg& block, const CBlockList& blocks) override;
    bool Edit(CSplitDlg& block, const CBlockList& blocks) override;
    bool Edit(CAssembleDlg& block, const CBlockList& blocks) override;
    bool Edit(CGatherDlg& block, const CBlockList& blocks) override;
    bool Edit(CMultiDeviceDlg& block, const CBlockList& blocks) override;

    // Opens the block's sheet on a working copy: the copy as OK left it, or null when cancelled.
    std::unique_ptr<CBlockDlg> EditCopy(const CBlockDlg& block, const CBlockList& blocks);

    // "Свойства модели": the conditions change only when the sheet is closed with OK.
    bool EditExperiment(CExperimentParams& params);

private:
    // What a kind adds to its sheet after the name page, and how it writes back after OK.
    struct SKindPages {
        std::function<void(CBlockPropertySheet& sheet)> addPages;
        std::function<void()> writeBack;
        // The kinds that change priorities end their sheet with "Приоритет" on this record.
        CPriorityChange* pPriority = nullptr;
    };

    bool RunSheet(CBlockDlg& block, const QString& strCaption, const CBlockList& blocks,
                  const SKindPages& pages);
    // A kind with one page of its own on one record, read back through the page's getter.
    template <typename TPage, typename TRecord, typename TRead>
    static SKindPages OnePage(TRecord& record, TRead read, CPriorityChange& priority);

    QWidget* m_pParent;
    // While a working copy is edited: the block it stands for, which the name rule and the
    // sheet's place go by.
    const CBlockDlg* m_pOriginal = nullptr;
};

}  // namespace mardo
