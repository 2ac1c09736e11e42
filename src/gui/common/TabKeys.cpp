#include "gui/common/TabKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

namespace mardo {

void AddTabTurningKeys(QWidget& window, QTabWidget& tabs) {
    const auto turn = [&window, &tabs](const QKeySequence& keys, int nStep) {
        QObject::connect(new QShortcut(keys, &window), &QShortcut::activated, &tabs,
                         [&tabs, nStep] {
                             const int nCount = tabs.count();
                             if (nCount > 0) {
                                 tabs.setCurrentIndex((tabs.currentIndex() + nStep + nCount) % nCount);
                             }
                         });
    };
    turn(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    turn(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    turn(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
}

}  // namespace mardo
