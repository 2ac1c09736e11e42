#pragma once

class QTabWidget;
class QWidget;

namespace mardo {

// Ctrl+Tab and Ctrl+Shift+Tab turn the tabs of a window from any of its controls. The tab
// control turns them only when the key reaches it, and a drop-down, a list or a table with the
// focus keeps the key for itself.
void AddTabTurningKeys(QWidget& window, QTabWidget& tabs);

}  // namespace mardo
