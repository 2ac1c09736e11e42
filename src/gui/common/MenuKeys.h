#pragma once

class QMenuBar;
class QWidget;

namespace mardo {

// F10, or Alt pressed and released alone, opens the first menu of a window's menu bar, from
// which the arrows reach every other: the bar's mnemonics alone leave a user who does not know
// them no way in without a mouse.
void AddMenuBarKeys(QWidget& window, QMenuBar& bar);

}  // namespace mardo
