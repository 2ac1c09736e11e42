#pragma once

#include <QString>

#include "core/model/BlockEditor.h"
#include "core/model/NameRule.h"

class QLineEdit;
class QWidget;

namespace mardo {

// Checks a name, already trimmed of spaces, for the block within the model's block list.
ENameCheck CheckBlockName(const QString& strName, const CBlockDlg& block, const CBlockList& blocks);
bool IsNameFault(ENameCheck nCheck);
// Shows the fault's message over the owner, writes the trimmed text back into an emptied field
// and gives it the focus.
void ReportNameFault(QWidget* pOwner, QLineEdit& edit, ENameCheck nCheck);

}  // namespace mardo
