#include "gui/props/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace mardo {

QDialogButtonBox* CreateOkCancelButtons(QDialog& dialog, QPushButton*& pOk) {
    auto* pButtons = new QDialogButtonBox(&dialog);
    pOk = pButtons->addButton(QStringLiteral("O&K"), QDialogButtonBox::AcceptRole);
    QPushButton* pCancel =
        pButtons->addButton(QStringLiteral("&Отмена"), QDialogButtonBox::RejectRole);
    pOk->setDefault(true);
    QObject::connect(pCancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return pButtons;
}

}  // namespace mardo
