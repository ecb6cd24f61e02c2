#include "settings/setpoint_rules.h"

#include "settings_fixture.h"

namespace {

struct OrderCase {
    int gas;
    const char* oxyType;
    float warning, alarm;
    bool inOrder;
};

// Every edge of the order rule: both oxygen types, -101 on either side,
// equal values, equal zeros.
const OrderCase kOrderCases[] = {
    // gas 0: warning <= alarm, -101 is a number like any other
    {0, "00", 50, 100, true},
    {0, "00", 50, 50, true},
    {0, "00", 100, 50, false},
    {0, "00", -101, 150, true},
    {0, "00", 50, -101, false},
    {0, "00", -101, -101, true},
    // gas 1, "L-LL" (falling): warning >= alarm; a missing value never fails
    {1, "00", 19.5f, 18.0f, true},
    {1, "00", 18.0f, 19.5f, false},
    {1, "00", 19.5f, 19.5f, true},
    {1, "00", -101, 10, true},
    {1, "00", 10, -101, true},
    {1, "00", 0, 0, true},
    // gas 1, "L-H" (rising): warning < alarm, or both 0
    {1, "01", 19.5f, 23.5f, true},
    {1, "01", 23.5f, 19.5f, false},
    {1, "01", 19.5f, 19.5f, false},
    {1, "01", 0, 0, true},
    {1, "01", -101, 10, true},
    {1, "01", 10, -101, true},
    // any code but "00" is the rising type
    {1, "02", 19.5f, 19.5f, false},
};

} // namespace

TEST_F(SettingsTest, SetPointOrderRules)
{
    for (const OrderCase& c : kOrderCases) {
        inst.SetOxyAlarmType(QString::fromLatin1(c.oxyType));
        inst.SetWarning(c.gas, c.warning);
        inst.SetAlarm(c.gas, c.alarm);
        EXPECT_EQ(SetPointsInOrder(inst, c.gas), c.inOrder)
            << "gas " << c.gas << " type " << c.oxyType << " W " << c.warning << " A " << c.alarm;
        if (c.gas == 1) {
            const bool falling = QLatin1String(c.oxyType) == QLatin1String("00");
            EXPECT_EQ((falling ? CheckAlarmOrderFalling(inst, 1) : CheckAlarmOrderRising(inst, 1)), c.inOrder);
        }
    }
}

TEST_F(SettingsTest, WarningLevelIsReachedFromBelowForGas0AndFromAboveForOxygen)
{
    inst.SetWarning(0, 50);
    inst.SetWarning(1, 19.5f);
    EXPECT_FALSE(IsAtWarningLevel(inst, 0, 49.9f));
    EXPECT_TRUE(IsAtWarningLevel(inst, 0, 50));
    EXPECT_TRUE(IsAtWarningLevel(inst, 1, 19.5f));
    EXPECT_TRUE(IsAtWarningLevel(inst, 1, 10));
    EXPECT_FALSE(IsAtWarningLevel(inst, 1, 19.6f));
    inst.SetWarning(0, -101);
    EXPECT_TRUE(IsAtWarningLevel(inst, 0, 0)); // no warning: every reading counts
}

TEST_F(SettingsTest, ApplyGasTypeDefaultsLoadsTheEntryOfTheSpecTypesList)
{
    for (int i = 0; i < 9; ++i) {
        App().ChgGasTable[1][i] = Entry("DOM", "VOL%", 25, 19, 18, 21);
        App().ChgGas01Table[1][i] = Entry("FOR", "VOL%", 30, 19, 23, 22);
    }
    App().ChgGasTable[0][3] = Entry("CO", "ppm", 500, 50, 100, 150);
    App().ChgGasTable[0][3].Desit = 2;
    App().ChgGasTable[0][3].Points = 2;
    inst.SetGasEnabled(0, false);
    inst.ClearChangeFlags();

    int entry = 3;
    ASSERT_TRUE(ApplyGasTypeDefaults(inst, 0, entry));
    EXPECT_EQ(entry, 3);
    EXPECT_EQ(inst.GasName(0), "CO");
    EXPECT_TRUE(inst.GasEnabled(0));
    EXPECT_EQ(inst.GasPoint(0), 2);
    EXPECT_EQ(inst.GasUnit(0), "ppm");
    EXPECT_FLOAT_EQ(inst.Warning(0), 50);
    EXPECT_FLOAT_EQ(inst.Alarm(0), 100);
    EXPECT_FLOAT_EQ(inst.Stel(0), 35);
    EXPECT_FLOAT_EQ(inst.Twa(0), 25);
    EXPECT_FLOAT_EQ(inst.GasDesit(0), 2);
    EXPECT_FLOAT_EQ(inst.GasFullScale(0), 500);
    EXPECT_FLOAT_EQ(inst.AutoCalib(0), 150);
    EXPECT_TRUE(inst.Change_GasEnable(0) && inst.Change_Warn(0) && inst.Change_Alarm(0) && inst.Change_Stel(0)
                && inst.Change_Twa(0) && inst.Change_AutoCal(0) && inst.Change_GasPoint(0));
    EXPECT_FALSE(AnyGasFlag(inst, 1));

    // "L-H" oxygen always takes entry 1, and the caller's entry follows.
    App().ChgGas01Table[1][1] = Entry("O2LH", "VOL%", 25, 19.5f, 23.5f, 20.9f);
    inst.SetSpecType("01");
    inst.SetOxyAlarmType("01");
    entry = 4;
    ASSERT_TRUE(ApplyGasTypeDefaults(inst, 1, entry));
    EXPECT_EQ(entry, 1);
    EXPECT_EQ(inst.GasName(1), "O2LH");
    EXPECT_FLOAT_EQ(inst.Alarm(1), 23.5f);
}

TEST_F(SettingsTest, ApplyGasTypeDefaultsIgnoresAnEntryOutsideTheList)
{
    inst.ClearChangeFlags();
    for (int entry : {-1, 9, 100}) {
        int e = entry;
        EXPECT_FALSE(ApplyGasTypeDefaults(inst, 0, e));
    }
    int e = 0;
    EXPECT_FALSE(ApplyGasTypeDefaults(inst, 2, e));
    EXPECT_FALSE(AnyGasFlag(inst, 0) || AnyGasFlag(inst, 1));
    EXPECT_EQ(inst.GasName(0), "H2S");
}

TEST_F(SettingsTest, InitAutoCalibTableFillsOnlyMissingFactoryValues)
{
    App().CurrentGas[0].AutoCalib = 11;
    App().CurrentGas[1].AutoCalib = 12;
    App().FactAutoCal = {25.0f, -101.0f};
    InitAutoCalibTable(inst);
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], 25);   // held: unchanged
    EXPECT_FLOAT_EQ(App().FactAutoCal[1], 20.9f); // from the instrument

    App().FactAutoCal = {-101.0f, -101.0f};
    inst.SetAutoCalib(0, -101);
    App().CurrentGas[1].AutoCalib = -101;
    inst.SetAutoCalib(1, -101);
    InitAutoCalibTable(inst);
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], 11);  // from the settings file
    EXPECT_FLOAT_EQ(App().FactAutoCal[1], -101); // nothing anywhere
}

TEST_F(SettingsTest, UploadPreChecks)
{
    struct Case {
        const char* oxyType;
        bool enabled0, enabled1;
        float w0, a0, w1, a1;
        UploadCheck expected;
    };
    const Case cases[] = {
        {"00", true, true, 5, 10, 19.5f, 18, UploadCheck::Ok},
        {"00", true, true, 50, 50, 19.5f, 18, UploadCheck::Ok},
        {"00", true, true, 11, 10, 19.5f, 18, UploadCheck::SetPointsOutOfOrder},
        {"00", true, true, 5, 10, 18, 19.5f, UploadCheck::SetPointsOutOfOrder},
        {"01", true, true, 5, 10, 19.5f, 18, UploadCheck::SetPointsOutOfOrder},
        {"01", true, true, 5, 10, 19.5f, 23.5f, UploadCheck::Ok},
        {"00", true, false, 5, 10, 18, 19.5f, UploadCheck::Ok}, // a disabled gas is not looked at
        {"00", false, false, 11, 10, 18, 19.5f, UploadCheck::NoSensor},
        {"00", true, true, -101, 0, 19.5f, 18, UploadCheck::Ok},
        {"00", true, true, 0, -101, 19.5f, 18, UploadCheck::SetPointsOutOfOrder},
    };
    for (const Case& c : cases) {
        inst.SetOxyAlarmType(QString::fromLatin1(c.oxyType));
        inst.SetGasEnabled(0, c.enabled0);
        inst.SetGasEnabled(1, c.enabled1);
        inst.SetWarning(0, c.w0);
        inst.SetAlarm(0, c.a0);
        inst.SetWarning(1, c.w1);
        inst.SetAlarm(1, c.a1);
        EXPECT_EQ(CheckSettingsForUpload(inst), c.expected) << c.oxyType << " " << c.w0 << "/" << c.a0 << " "
                                                             << c.w1 << "/" << c.a1;
    }
}
