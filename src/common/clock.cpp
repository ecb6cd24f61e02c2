#include "common/clock.h"

#include "common/dates.h"

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
    return WholeSeconds(QDateTime(local.date(), local.time(), Qt::UTC));
}

void SetClock(std::function<QDateTime()> clock)
{
    ClockOverride() = std::move(clock);
}
