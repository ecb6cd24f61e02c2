#pragma once
// Instruments and replacement tables that the settings tests share.

#include "common/appstate.h"
#include "common/resstrings.h"
#include "gas_channel.h"
#include "records/instrument.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// A fresh program state with the English table; a typical two-gas
// instrument: H2S 0..30 ppm in steps of 0.5 with one decimal, oxygen
// 0..25 VOL% in steps of 0.1.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
        App().FactAutoCal = {-101.0f, -101.0f};
        SetGas(inst, 0, "H2S", "ppm", 30.0f, 0.5f, 1, 5.0f, 10.0f, 1.0f, 1.0f, 25.0f);
        SetGas(inst, 1, "OXY", "VOL%", 25.0f, 0.1f, 1, 19.5f, 18.0f, -101.0f, -101.0f, 20.9f);
        inst.SetOxyAlarmType("00");
        inst.SetSpecType("00");
        inst.SetCommFlags(-1);
        inst.ClearChangeFlags();
    }
    void TearDown() override { SetResLanguage(ResLanguage::System); }

    static GasEntry Entry(const char* name, const char* unit, float full, float warn, float alarm,
                          float autoCal, bool enabled = true)
    {
        GasEntry e;
        e.Enabled = enabled;
        e.Name = QString::fromLatin1(name);
        e.Unit = QString::fromLatin1(unit);
        e.FullScale = full;
        e.Desit = 1.0f;
        e.Points = 0;
        e.Warning = warn;
        e.Alarm = alarm;
        e.Stel = 35;
        e.Twa = 25;
        e.AutoCal = autoCal;
        return e;
    }

    static bool AnyGasFlag(const clsInstrument& in, int g)
    {
        return in.Change_GasEnable(g) || in.Change_Warn(g) || in.Change_Alarm(g) || in.Change_Stel(g)
            || in.Change_Twa(g) || in.Change_AutoCal(g);
    }

    clsInstrument inst;
};
