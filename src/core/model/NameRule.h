#pragma once

#include <string>

#include "core/model/BlockEditor.h"

namespace mardo {

// The verdicts of the block name rule, which the model's rename, the name page and the rename
// dialog share.
enum class ENameCheck {
    kUnchanged,   // the block's own name: nothing changes
    kAccepted,    // a new name
    kEmpty,       // "Не задано имя блока."
    kUnstorable,  // a character the model file's code page cannot hold
    kTaken,       // another block has it
};

// Whether the model file's code page can hold the name.
bool IsStorableName(const std::string& strName);
// Checks a name, already trimmed of spaces, for the block within the model's block list.
ENameCheck CheckBlockName(const std::string& strName, const CBlockDlg& block,
                          const CBlockList& blocks);

}  // namespace mardo
