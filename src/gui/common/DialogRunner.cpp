#include "gui/common/DialogRunner.h"

#include <QDialog>
#include <utility>

namespace mardo {

namespace {

CDialogRunner& Runner() {
    static CDialogRunner runner = [](QDialog& dialog) { return dialog.exec(); };
    return runner;
}

}  // namespace

int RunDialog(QDialog& dialog) { return Runner()(dialog); }

CDialogRunner SetDialogRunner(CDialogRunner runner) {
    return std::exchange(Runner(), std::move(runner));
}

}  // namespace mardo
