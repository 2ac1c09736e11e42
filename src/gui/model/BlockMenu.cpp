#include "gui/model/BlockMenu.h"

namespace mardo {

namespace {

QAction* AddCommand(QMenu& menu, const char* pszText, int nCommand) {
    QAction* pAction = menu.addAction(QString::fromUtf8(pszText));
    pAction->setData(nCommand);
    return pAction;
}

}  // namespace

CBlockMenu::CBlockMenu(QWidget* pParent) : m_menu(pParent) {
    AddCommand(m_menu, "&Копировать", kCopy);
    AddCommand(m_menu, "&Удалить", kDelete);
    m_menu.addSeparator();
    AddCommand(m_menu, "&Свойства ...", kProperties);
}

QAction* CBlockMenu::ActionOf(int nCommand) const {
    for (QAction* pAction : m_menu.actions()) {
        if (!pAction->isSeparator() && pAction->data().toInt() == nCommand) {
            return pAction;
        }
    }
    return nullptr;
}

void CBlockMenu::EnableCommand(int nCommand, bool bEnable) {
    if (QAction* pAction = ActionOf(nCommand)) {
        pAction->setEnabled(bEnable);
    }
}

bool CBlockMenu::IsCommandEnabled(int nCommand) const {
    const QAction* pAction = ActionOf(nCommand);
    return pAction != nullptr && pAction->isEnabled();
}

int CBlockMenu::Exec(QPoint ptGlobal) {
    const QAction* pChosen = m_menu.exec(ptGlobal);
    return pChosen != nullptr ? pChosen->data().toInt() : 0;
}

}  // namespace mardo
