#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

// A window test waits for the state it needs, never for a time, and sets no limit on how long
// that takes: a machine many times slower only takes longer, and a test that hangs is ctest's
// to end. The window thread's events are processed meanwhile; a short timer wakes the loop so
// that a state another thread changes is seen too.
namespace mardo::test {

template <typename FCondition>
bool WaitUntil(FCondition condition) {
    QTimer wake;
    wake.start(5);
    while (!condition()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace mardo::test
