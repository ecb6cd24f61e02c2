// The model buttons' factory configurations.

#include "settings/model_defaults.h"

#include "records/instrument.h"
#include "settings_fixture.h"

namespace {

struct GasExpect {
    const char* name;
    float desit;
    int point;
    const char* unit;
    float full, warning, alarm, stel, twa, autoCal;
};
struct ModelExpect {
    GasExpect gas[2];
    const char *spec, *cold, *oxy, *warnType, *alarmType, *vib;
    int backLight;
    const char *password, *warmDisp;
    int warmTime;
};

// The configurations as the instrument's documentation lists them, one
// column per model type.
const ModelExpect kExpected[] = {
    {{{"CO", 1.0f, 0, "ppm", 500, 50, 150, 200, 50, 50}, {"OXY", 0.1f, 1, "VOL%", 40, 19.5f, 18.0f, -101, -101, 0}},
     "00", "01", "00", "01", "01", "02", 20, "01", "00", 15},
    {{{"CO", 1.0f, 0, "ppm", 1500, 25, 50, 200, 25, 80}, {"OXY", 0.1f, 1, "VOL%", 40, 19.5f, 23.5f, -101, -101, 0}},
     "01", "01", "01", "01", "01", "02", 20, "00", "00", 15},
    {{{"H2S", 0.5f, 1, "ppm", 100, 10, 30, 15, 10, 25}, {"OXY", 0.1f, 1, "VOL%", 40, 19.5f, 18.0f, -101, -101, 0}},
     "00", "01", "00", "01", "01", "02", 20, "01", "01", 15},
    {{{"H2S", 0.5f, 1, "ppm", 100, 10, 30, 15, 10, 25}, {"OXY", 0.1f, 1, "VOL%", 40, 19.5f, 23.5f, -101, -101, 0}},
     "01", "01", "01", "01", "01", "02", 20, "00", "01", 15},
};

clsInstrument Identified()
{
    clsInstrument i;
    i.SetSerialNo(QStringLiteral("SN1"));
    i.SetStationID(QStringLiteral("ST"));
    i.SetUserID(QStringLiteral("US"));
    i.SetDummySerial(QStringLiteral("D1"));
    i.SetModel(QStringLiteral("KV-9"));
    i.SetCalCoefficient(0, 77);
    i.SetAirP1Coefficient(5);
    i.SetCalibAfter(0, 12.0f);
    i.ClearChangeFlags();
    i.SetChange_AirCoefficient(false);
    return i;
}

class ModelDefaultsTest : public SettingsTest {};

TEST_F(ModelDefaultsTest, EachTypeWritesItsColumnAndRaisesEveryFlag)
{
    for (int type = 0; type < kModelTypeCount; ++type) {
        SCOPED_TRACE(type);
        const ModelExpect& e = kExpected[type];
        clsInstrument i = Identified();
        LoadModelDefaults(type, i);
        for (int g = 0; g < 2; ++g) {
            SCOPED_TRACE(g);
            const GasExpect& x = e.gas[g];
            EXPECT_EQ(i.GasName(g), QString::fromLatin1(x.name));
            EXPECT_FLOAT_EQ(i.GasDesit(g), x.desit);
            EXPECT_EQ(i.GasPoint(g), x.point);
            EXPECT_EQ(i.GasUnit(g), QString::fromLatin1(x.unit));
            EXPECT_FLOAT_EQ(i.GasFullScale(g), x.full);
            EXPECT_TRUE(i.GasEnabled(g));
            EXPECT_FLOAT_EQ(i.Warning(g), x.warning);
            EXPECT_FLOAT_EQ(i.Alarm(g), x.alarm);
            EXPECT_FLOAT_EQ(i.Stel(g), x.stel);
            EXPECT_FLOAT_EQ(i.Twa(g), x.twa);
            EXPECT_FLOAT_EQ(i.AutoCalib(g), x.autoCal);
            EXPECT_TRUE(i.Change_GasPoint(g) && i.Change_GasEnable(g) && i.Change_Warn(g) && i.Change_Alarm(g) &&
                        i.Change_Stel(g) && i.Change_Twa(g) && i.Change_AutoCal(g));
        }
        EXPECT_EQ(i.SpecType(), QString::fromLatin1(e.spec));
        EXPECT_EQ(i.ColdDistricts(), QString::fromLatin1(e.cold));
        EXPECT_EQ(i.OxyAlarmType(), QString::fromLatin1(e.oxy));
        EXPECT_EQ(i.WarningType(), QString::fromLatin1(e.warnType));
        EXPECT_EQ(i.AlarmType(), QString::fromLatin1(e.alarmType));
        EXPECT_EQ(i.Vibration(), QString::fromLatin1(e.vib));
        EXPECT_EQ(i.BackLight(), e.backLight);
        EXPECT_EQ(i.AlarmPassword(), QString::fromLatin1(e.password));
        EXPECT_EQ(i.WarmDisp(), QString::fromLatin1(e.warmDisp));
        EXPECT_EQ(i.WarmTime(), e.warmTime);
        EXPECT_TRUE(i.Change_SpecType() && i.Change_ColdDistricts() && i.Change_OxyAlarmType() &&
                    i.Change_WarningType() && i.Change_AlarmType() && i.Change_Vibration() && i.Change_BackLight() &&
                    i.Change_AlarmPassword() && i.Change_WarmDisp() && i.Change_WarmTime());

        // Identity, model code and calibration values are not touched.
        EXPECT_EQ(i.SerialNo(), QStringLiteral("SN1"));
        EXPECT_EQ(i.StationID(), QStringLiteral("ST"));
        EXPECT_EQ(i.UserID(), QStringLiteral("US"));
        EXPECT_EQ(i.DummySerial(), QStringLiteral("D1"));
        EXPECT_EQ(i.Model(), QStringLiteral("KV-9"));
        EXPECT_EQ(i.CalCoefficient(0), 77);
        EXPECT_EQ(i.AirP1Coefficient(), 5);
        EXPECT_FLOAT_EQ(i.CalibAfter(0), 12.0f);
        EXPECT_FALSE(i.Change_UserID() || i.Change_StationID() || i.Change_SerialNo() || i.Change_DummySerial() ||
                     i.Change_AirCoefficient() || i.Change_CalCoefficient(0));
    }
}

TEST_F(ModelDefaultsTest, AnyOtherTypeChangesNothing)
{
    for (int type : {-1, 4, 99}) {
        clsInstrument i = Identified();
        LoadModelDefaults(type, i);
        EXPECT_EQ(i.GasName(0), QString()) << type;
        EXPECT_FALSE(i.GasEnabled(0));
        EXPECT_FALSE(i.Change_Warn(0) || i.Change_GasEnable(1) || i.Change_SpecType() || i.Change_WarmTime());
        EXPECT_EQ(ModelCaption(type), QString());
    }
}

TEST_F(ModelDefaultsTest, CaptionsNameTheButtons)
{
    EXPECT_EQ(ModelCaption(0), QStringLiteral("KV-1 Domestic"));
    EXPECT_EQ(ModelCaption(3), QStringLiteral("KV-2 Foreign"));
}

} // namespace
