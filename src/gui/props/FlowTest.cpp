#include "props/FlowTest.h"

#include <utility>

namespace mardo {

namespace {

CFlowTestFunction& Function() {
    static CFlowTestFunction function = [](QWidget*, const CFlowLaw&) {};
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
