#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace mardo {

// The "O&K" and "&Отмена" buttons of the small value dialogs. "&Отмена" closes the dialog
// without any change; what "O&K" does is the dialog's own, so its button is answered.
QDialogButtonBox* CreateOkCancelButtons(QDialog& dialog, QPushButton*& pOk);

}  // namespace mardo
