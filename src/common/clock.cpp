#include "common/clock.h"


namespace {
std::function<QDateTime()>& ClockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}
}

QDateTime Now()
{
    if (ClockOverride())
        return ClockOverride()();
    const QDateTime local = QDateTime::currentDateTime();
    const QTime t = local.time();
    return QDateTime(local.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

void SetClock(std::function<QDateTime()> clock)
{
    ClockOverride() = std::move(clock);
}
