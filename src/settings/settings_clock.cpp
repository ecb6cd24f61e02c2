#include "settings/settings_clock.h"

#include "common/dates.h"

#include <cmath>

QDateTime SettingsClock::InstrumentTime(const QDateTime& now, double offsetDays)
{
    return now.addMSecs(-std::llround(offsetDays * 86400000.0));
}

SettingsClock::Update SettingsClock::Tick(bool paneVisible, bool linkUp, double offsetDays, const QDateTime& now)
{
    Update u;
    if (!paneVisible) {
        m_lastSecond.clear();
        return u;
    }
    if (!linkUp) {
        m_lastSecond.clear();
        u.write = true;
        u.pcText = GeneralDate(now);
        return u;
    }
    const QString second = DateToIso(now);
    if (second == m_lastSecond)
        return u;
    m_lastSecond = second;
    u.write = true;
    u.pcText = GeneralDate(now);
    u.instrumentText = GeneralDate(InstrumentTime(now, offsetDays));
    return u;
}
