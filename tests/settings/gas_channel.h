#pragma once
#include "records/instrument.h"

#include <cstdint>

// Sets gas channel g of an instrument, enabled, with its scale and its set
// points.
inline void SetGas(clsInstrument& in, int g, const char* name, const char* unit, float full, float desit, int points,
                   float warn, float alarm, float stel, float twa, float autoCal)
{
    in.SetGasName(g, QString::fromLatin1(name));
    in.SetGasUnit(g, QString::fromLatin1(unit));
    in.SetGasFullScale(g, full);
    in.SetGasDesit(g, desit);
    in.SetGasPoint(g, static_cast<std::int16_t>(points));
    in.SetGasEnabled(g, true);
    in.SetWarning(g, warn);
    in.SetAlarm(g, alarm);
    in.SetStel(g, stel);
    in.SetTwa(g, twa);
    in.SetAutoCalib(g, autoCal);
}
