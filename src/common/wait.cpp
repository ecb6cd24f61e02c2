#include "common/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
bool g_abandoned = false;

std::function<qint64()>& WaitClockOverride()
{
    static std::function<qint64()> clock;
    return clock;
}
} // namespace

qint64 WaitClockMs()
{
    if (WaitClockOverride())
        return WaitClockOverride()();
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

void SetWaitClock(std::function<qint64()> clock)
{
    WaitClockOverride() = std::move(clock);
}

void SetWaitsAbandoned(bool abandoned) { g_abandoned = abandoned; }

bool WaitsAbandoned()
{
    return g_abandoned || QCoreApplication::closingDown();
}

bool WaitYielding(const std::function<bool()>& done, int maxMs)
{
    const qint64 start = WaitClockMs();
    // Wakes the event loop at least every 10 ms, so each turn blocks only
    // until the next event or the next wake-up.
    QTimer wake;
    wake.setInterval(10);
    wake.start();
    while (true) {
        if (done())
            return true;
        if (WaitsAbandoned() || WaitClockMs() - start >= maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
