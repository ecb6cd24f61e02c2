#pragma once
// Stand-in for the common string loader until it lands: the few English
// texts the start-up needs. Replaced by GetResString.
#include <QString>

inline QString ResText(int id)
{
    switch (id) {
    case 99: return QStringLiteral("It has already started.");
    case 101: return QStringLiteral("EN");
    case 5001: return QStringLiteral("Pelkar  - Data Logger Management Program");
    case 5371: return QStringLiteral("Communication Ports Error. Restart this program.");
    case 5541: return QStringLiteral("Serial Port Standby. Date = ~1");
    default: return QString();
    }
}
