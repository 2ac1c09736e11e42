#include "gui/props/BlockNameRule.h"

#include <QLineEdit>
#include <algorithm>

#include "core/model/BlockDlg.h"
#include "core/persist/Cp1251.h"
#include "gui/common/Dialogs.h"

namespace mardo {

ENameCheck CheckBlockName(const QString& strName, const CBlockDlg& block, const CBlockList& blocks) {
    const std::string strUtf8 = strName.toStdString();
    if (strUtf8 == block.GetName()) {
        return ENameCheck::kUnchanged;
    }
    if (strUtf8.empty()) {
        return ENameCheck::kEmpty;
    }
    // Refused here rather than when saving, where the whole model could not be written.
    if (!Utf8ToCp1251(strUtf8)) {
        return ENameCheck::kUnstorable;
    }
    const bool bTaken = std::any_of(blocks.begin(), blocks.end(), [&](const auto& pOther) {
        return pOther.get() != &block && pOther->GetName() == strUtf8;
    });
    return bTaken ? ENameCheck::kTaken : ENameCheck::kAccepted;
}

bool IsNameFault(ENameCheck nCheck) {
    return nCheck != ENameCheck::kUnchanged && nCheck != ENameCheck::kAccepted;
}

void ReportNameFault(QWidget* pOwner, QLineEdit& edit, ENameCheck nCheck) {
    QString strMessage;
    switch (nCheck) {
        case ENameCheck::kEmpty:
            strMessage = QStringLiteral("Не задано имя блока.");
            edit.clear();
            break;
        case ENameCheck::kUnstorable:
            strMessage = QStringLiteral(
                "Имя блока содержит символы, которые нельзя сохранить в файле модели.");
            break;
        case ENameCheck::kTaken:
            strMessage = QStringLiteral("Блок с таким именем уже существует.");
            break;
        case ENameCheck::kUnchanged:
        case ENameCheck::kAccepted:
            return;
    }
    ShowMessage(pOwner, strMessage, EMessageIcon::kExclamation);
    edit.setFocus(Qt::OtherFocusReason);
}

}  // namespace mardo
