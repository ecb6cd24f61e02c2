#pragma once
// Stand-ins for common services that have not landed yet: the settings file
// and the USB-serial finder. Replaced by the common library's functions.
#include "common/appstate.h"

#include <QString>

inline void StandInReadSettings() {}
inline void StandInFindUsbSerialPort(const QString&)
{
    App().CommPort = 0;
    App().CommDevice.clear();
}
