#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

// Yields to the event loop until pred holds or ms have passed.
inline bool WaitUntil(const std::function<bool()>& pred, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
