#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/model/ExperimentParams.h"

namespace mardo {

class CBlockDlg;

// What one edit operation of the model changed: every block it touched as it was before and
// after, the block it added or removed with its place in the list, and the experiment
// conditions before and after. The model takes an edit back and does it again from this alone,
// so an edit must be undone and redone in the order the edits were made. While a removed block
// is out of the list the edit owns it, so that undoing puts back the very same block and the
// links and conditions that named it still hold.
class CModelEdit {
public:
    CModelEdit() = default;
    CModelEdit(CModelEdit&&) noexcept = default;
    CModelEdit& operator=(CModelEdit&&) noexcept = default;
    ~CModelEdit();

    // Whether the operation changed nothing (it was refused, or the model already was so).
    bool IsEmpty() const { return m_blocks.empty() && m_nPlace == EPlace::kNone && !m_experiment; }
    // The block the edit adds or removes, or null.
    CBlockDlg* GetPlacedBlock() const { return m_pPlaced; }
    bool AddsBlock() const { return m_nPlace == EPlace::kAdds; }
    bool RemovesBlock() const { return m_nPlace == EPlace::kRemoves; }

    // Everything the model file holds of one block: its own entry (kind, parameters, name,
    // position), the blocks it names besides its links, and its links.
    struct SBlockState {
        std::vector<std::uint8_t> entry;
        std::vector<CBlockDlg*> references;
        std::vector<CBlockDlg*> links;

        friend bool operator==(const SBlockState&, const SBlockState&) = default;
    };
    struct SBlockChange {
        CBlockDlg* pBlock;
        SBlockState before;
        SBlockState after;
    };

private:
    friend class CModel;

    enum class EPlace { kNone, kAdds, kRemoves };

    std::vector<SBlockChange> m_blocks;
    EPlace m_nPlace = EPlace::kNone;
    std::int32_t m_nIndex = -1;
    CBlockDlg* m_pPlaced = nullptr;
    std::unique_ptr<CBlockDlg> m_pHeld;  // the placed block while it is out of the list
    std::optional<std::pair<CExperimentParams, CExperimentParams>> m_experiment;
};

}  // namespace mardo
