#pragma once

#include <functional>

class QWidget;

namespace mardo {

class CFlowLaw;

// The flow test window that "&Тест" of "Характеристика потока" opens modally on the page's
// working copy of the law. Tests replace the function to see which law the page hands over.
using CFlowTestFunction = std::function<void(QWidget* pParent, const CFlowLaw& law)>;

void RunFlowTest(QWidget* pParent, const CFlowLaw& law);
// Replaces the function that opens the flow test; answers the previous one.
CFlowTestFunction SetFlowTestFunction(CFlowTestFunction function);

}  // namespace mardo
