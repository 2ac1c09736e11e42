#pragma once

#include <functional>

class QDialog;

namespace mardo {

// Every modal dialog of the editor runs through this function, so that tests can replace it
// with one that fills the dialog's fields and presses its buttons while the flow runs offscreen.
using CDialogRunner = std::function<int(QDialog& dialog)>;

// Runs the dialog modally and answers its result (QDialog::Accepted or Rejected).
int RunDialog(QDialog& dialog);
// Replaces the function that runs dialogs; answers the previous one.
CDialogRunner SetDialogRunner(CDialogRunner runner);

}  // namespace mardo
