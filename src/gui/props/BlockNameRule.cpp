#include "gui/props/BlockNameRule.h"

#include <QLineEdit>
#include "core/model/BlockDlg.h"
#include "gui/common/Dialogs.h"

namespace mardo {

ENameCheck CheckBlockName(const QString& strName, const CBlockDlg& block, const CBlockList& blocks) {
    return CheckBlockName(strName.toStdString(), block, blocks);
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
