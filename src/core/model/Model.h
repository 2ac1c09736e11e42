#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/model/BlockDlg.h"
#include "core/model/BlockKinds.h"
#include "core/model/ExperimentParams.h"
#include "core/model/ModelEdit.h"
#include "core/model/NameRule.h"

namespace mardo {

// A model: the ordered list of blocks it owns and its experiment conditions. The order numbers
// the blocks in the model file and orders the rows of the report.
class CModel {
public:
    CModel() = default;
    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    const CBlockList& GetBlocks() const { return m_blocks; }
    std::size_t GetBlockCount() const { return m_blocks.size(); }

    // Appends a block and answers it, as the model file's reader builds a model.
    CBlockDlg& AddBlock(std::unique_ptr<CBlockDlg> pBlock);
    template <typename TBlock, typename... TArgs>
    TBlock& Add(TArgs&&... args) {
        return static_cast<TBlock&>(AddBlock(std::make_unique<TBlock>(std::forward<TArgs>(args)...)));
    }

    // The edit operations, through which the editor changes the model. Each enforces the
    // model's rules and answers what it changed, empty when it was refused or changed nothing;
    // Undo and Redo take that back and do it again.

    // Appends a new block (from the palette or the clipboard): refused for a second block of a
    // kind the model holds only one of. The position is brought within what the file can store;
    // a taken name, and links and conditions naming blocks outside the model, are dropped.
    CModelEdit InsertBlock(std::unique_ptr<CBlockDlg> pBlock);
    // Removes the block, unlinking every other block from it and clearing the state conditions
    // that name it.
    CModelEdit DeleteBlock(CBlockDlg& block);
    CModelEdit MoveBlock(CBlockDlg& block, CPoint ptPos);
    // Leads output k of the source to the destination, or clears it for null.
    CModelEdit SetLink(CBlockDlg& source, std::int32_t k, CBlockDlg* pDestination);
    CModelEdit RenameBlock(CBlockDlg& block, const std::string& strName);
    CModelEdit ChangeOutputCount(CBlockDlg& block, std::int32_t nOutputs);
    // Takes over the parameters a sheet set on a working copy of the block (a clone of the same
    // kind): its name, its parameters, its number of outputs and its state conditions; the
    // block keeps its place and the links of the outputs it keeps.
    CModelEdit TakeOverParameters(CBlockDlg& block, const CBlockDlg& edited);
    CModelEdit SetExperiment(const CExperimentParams& experiment);

    void Undo(CModelEdit& edit);
    void Redo(CModelEdit& edit);

    // The rules, for windows to ask before they offer an edit.
    // Whether a block like this one may be added.
    bool CanInsert(const CBlockDlg& block) const;
    // Whether output k of the source may lead to the destination (null clears it): only a named
    // block of the model links, and only to another named block of the model that has an input.
    bool CanLink(const CBlockDlg& source, std::int32_t k, const CBlockDlg* pDestination) const;
    ENameCheck CheckName(const std::string& strName, const CBlockDlg& block) const {
        return CheckBlockName(strName, block, m_blocks);
    }
    static CPoint StorablePosition(CPoint ptPos);
    static bool IsStorable(const CExperimentParams& experiment);

    // The block's position in the list, or -1 for no block or one not in the list.
    std::int32_t IndexOfBlock(const CBlockDlg* pBlock) const;
    // The block at a position, or null for -1 (or any position outside the list).
    CBlockDlg* BlockAt(std::int32_t nIndex) const;
    // The block with that name, or null; an empty name finds nothing.
    CBlockDlg* FindBlock(const std::string& strName) const;

    // Back to a new model: no blocks, default conditions.
    void Clear();

    CExperimentParams m_experiment;

private:
    bool Contains(const CBlockDlg* pBlock) const { return IndexOfBlock(pBlock) >= 0; }
    // Records the block's state before a change; Finish records it after and drops the
    // record of a block that did not change.
    static void Begin(CModelEdit& edit, CBlockDlg& block);
    static void Finish(CModelEdit& edit);
    std::unique_ptr<CBlockDlg> Extract(std::int32_t nIndex);

    CBlockList m_blocks;
};

}  // namespace mardo
