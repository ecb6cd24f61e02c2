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

// The settings panel's usual instrument, read and unchanged: H2S 0..30 ppm
// (step 0.5, one decimal) and oxygen 0..25 VOL% ("L-LL"), serial "SN1".
inline void SetH2sAndOxygen(clsInstrument& in)
{
    SetGas(in, 0, "H2S", "ppm", 30, 0.5f, 1, 5, 10, 1, 1, 25);
    SetGas(in, 1, "OXY", "VOL%", 25, 0.1f, 1, 19.5f, 18, -101, -101, 20.9f);
    in.SetOxyAlarmType("00");
    in.SetSpecType("00");
    in.SetSerialNo("SN1");
    in.SetCommFlags(-1);
    in.ClearChangeFlags();
}
