#pragma once

#include <functional>

class QWidget;

namespace mardo {

class CFlowLaw;

// The flow test window that "&Тест" of "Характеристика потока" opens modally on the page's
// working copy of the law. The window lives with the run windows; the program plugs it in here
// at start-up. Until then the button checks the law and opens nothing.
using CFlowTestFunction = std::function<void(QWidget* pParent, const CFlowLaw& law)>;

void RunFlowTest(QWidget* pParent, const CFlowLaw& law);
// Replaces the function that opens the flow test; answers the previous one.
CFlowTestFunction SetFlowTestFunction(CFlowTestFunction function);

}  // namespace mardo
