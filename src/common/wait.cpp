#include "common/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
bool g_abandoned = false;
}

void SetWaitsAbandoned(bool abandoned) { g_abandoned = abandoned; }

bool WaitsAbandoned()
{
    return g_abandoned || QCoreApplication::closingDown();
}

bool WaitYielding(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the event loop at least every 10 ms, so each turn blocks only
    // until the next event or the next wake-up.
    QTimer wake;
    wake.setInterval(10);
    wake.start();
    while (true) {
        if (done())
            return true;
        if (WaitsAbandoned() || clock.elapsed() >= maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
