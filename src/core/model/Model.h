#pragma once

#include <cstdint>
#include <memory>

#include "core/model/BlockDlg.h"
#include "core/model/ExperimentParams.h"

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

    // Appends a block and answers it.
    CBlockDlg& AddBlock(std::unique_ptr<CBlockDlg> pBlock);
    template <typename TBlock, typename... TArgs>
    TBlock& Add(TArgs&&... args) {
        return static_cast<TBlock&>(AddBlock(std::make_unique<TBlock>(std::forward<TArgs>(args)...)));
    }
    // Unlinks every other block from the block and destroys it.
    void DeleteBlock(const CBlockDlg* pBlock);
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
    CBlockList m_blocks;
};

// A new block of the kind with the given code and its defaults, or null for an unknown code.
std::unique_ptr<CBlockDlg> CreateBlock(std::int32_t nKindCode, CPoint ptPos = {});

}  // namespace mardo
