#include "gui/common/MenuKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>

namespace mardo {

namespace {

void OpenFirstMenu(QMenuBar& bar) {
    if (!bar.actions().isEmpty()) {
        bar.setActiveAction(bar.actions().constFirst());
    }
}

// Alt is a modifier, which no shortcut can be: its press and release are watched on their way
// to whichever control of the window has the focus.
class CLoneAltWatcher final : public QObject {
public:
    CLoneAltWatcher(QWidget& window, QMenuBar& bar)
        : QObject(&window), m_window(window), m_bar(bar) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*pWatched*/, QEvent* pEvent) override {
        switch (pEvent->type()) {
            case QEvent::KeyPress: {
                const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
                m_bAltAlone = pKey->key() == Qt::Key_Alt && !pKey->isAutoRepeat() &&
                              QApplication::activeWindow() == &m_window;
                break;
            }
            // A key pressed with Alt may be taken by a shortcut (a mnemonic): it never arrives
            // as a press, only as this question first.
            case QEvent::ShortcutOverride:
                if (static_cast<const QKeyEvent*>(pEvent)->key() != Qt::Key_Alt) {
                    m_bAltAlone = false;
                }
                break;
            case QEvent::KeyRelease: {
                const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
                if (m_bAltAlone && pKey->key() == Qt::Key_Alt) {
                    m_bAltAlone = false;
                    OpenFirstMenu(m_bar);
                }
                break;
            }
            case QEvent::MouseButtonPress:
            case QEvent::WindowDeactivate:
                m_bAltAlone = false;
                break;
            default:
                break;
        }
        return false;
    }

private:
    QWidget& m_window;
    QMenuBar& m_bar;
    bool m_bAltAlone = false;
};

}  // namespace

void AddMenuBarKeys(QWidget& window, QMenuBar& bar) {
    auto* pF10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(pF10, &QShortcut::activated, &bar, [&bar] { OpenFirstMenu(bar); });
    new CLoneAltWatcher(window, bar);
}

}  // namespace mardo
