#include "gui/props/FlowTest.h"

#include <utility>

#include "gui/common/DialogRunner.h"
#include "gui/sim/TestFlowDlg.h"

namespace mardo {

namespace {

CFlowTestFunction& Function() {
    static CFlowTestFunction function = [](QWidget* pParent, const CFlowLaw& law) {
        CTestFlowDlg dialog(law, pParent);
        RunDialog(dialog);
    };
    return function;
}

}  // namespace

void RunFlowTest(QWidget* pParent, const CFlowLaw& law) {
    if (Function()) {
        Function()(pParent, law);
    }
}

CFlowTestFunction SetFlowTestFunction(CFlowTestFunction function) {
    return std::exchange(Function(), std::move(function));
}

}  // namespace mardo
