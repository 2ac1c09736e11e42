#pragma once

#include <QString>

#include "core/model/BlockEditor.h"

class QLineEdit;
class QWidget;

namespace mardo {

// The verdicts of the block name rule, which the name page and the rename dialog share.
enum class ENameCheck {
    kUnchanged,   // the block's own name: nothing changes
    kAccepted,    // a new name
    kEmpty,       // "Не задано имя блока."
    kUnstorable,  // a character the model file's code page cannot hold
    kTaken,       // another block has it
};

// Checks a name, already trimmed of spaces, for the block within the model's block list.
ENameCheck CheckBlockName(const QString& strName, const CBlockDlg& block, const CBlockList& blocks);
bool IsNameFault(ENameCheck nCheck);
// Shows the fault's message over the owner, writes the trimmed text back into an emptied field
// and gives it the focus.
void ReportNameFault(QWidget* pOwner, QLineEdit& edit, ENameCheck nCheck);

}  // namespace mardo
