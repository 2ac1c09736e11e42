#pragma once

#include <QMenu>

#include "core/model/BlockView.h"

namespace mardo {

// A block window's popup menu: "&Копировать", "&Удалить", a separator and "&Свойства ...". The
// block itself may disable commands before it is shown.
class CBlockMenu final : public IBlockContextMenu {
public:
    explicit CBlockMenu(QWidget* pParent = nullptr);

    void EnableCommand(int nCommand, bool bEnable) override;
    bool IsCommandEnabled(int nCommand) const;
    // Shows the menu at a point of the screen; answers the chosen command, or 0.
    int Exec(QPoint ptGlobal);
    QMenu& GetMenu() { return m_menu; }

private:
    QAction* ActionOf(int nCommand) const;

    QMenu m_menu;
};

}  // namespace mardo
