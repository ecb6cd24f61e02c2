#include "settings/settings_edit.h"

#include "settings_fixture.h"

namespace {

using Outcome = SetPointEdit::Outcome;

struct EditCase {
    const char* what;
    bool serviceMode;
    int row, col; // full layout
    const char* typed;
    const char* cell;
    Outcome outcome;
    float stored;     // when Stored
    const char* shown; // when Stored
};

// Gas 0: H2S 0..30 ppm, step 0.5, one decimal, warning 5; gas 1: oxygen
// 0..25 VOL%, step 0.1, warning 19.5.
const EditCase kEdits[] = {
    {"rounded to the step", false, 2, 2, "12.34", "5.0", Outcome::Stored, 12.5f, "12.5"},
    {"halves go to even", false, 2, 2, "12.25", "5.0", Outcome::Stored, 12.0f, "12.0"},
    {"blanks around", false, 2, 3, " 7 ", "10.0", Outcome::Stored, 7.0f, "7.0"},
    {"exponent", false, 2, 3, "1.5e1", "10.0", Outcome::Stored, 15.0f, "15.0"},
    {"empty", false, 2, 2, "", "5.0", Outcome::Stored, -101.0f, "-----"},
    {"blanks only", false, 2, 2, "   ", "5.0", Outcome::Stored, -101.0f, "-----"},
    {"three hyphens", false, 2, 2, "---", "5.0", Outcome::Stored, -101.0f, "-----"},
    {"hyphens among text", false, 2, 4, "x--y", "1.0", Outcome::Stored, -101.0f, "-----"},
    {"letters", false, 2, 2, "abc", "5.0", Outcome::Refused, 0, ""},
    {"one hyphen", false, 2, 2, "-", "5.0", Outcome::Refused, 0, ""},
    {"negative", false, 2, 2, "-1", "5.0", Outcome::Refused, 0, ""},
    {"full scale", false, 2, 3, "30", "10.0", Outcome::Stored, 30.0f, "30.0"},
    {"above full scale", false, 2, 3, "30.01", "10.0", Outcome::Refused, 0, ""},
    {"same text again", false, 2, 2, " 5.0 ", "5.0", Outcome::Unchanged, 0, ""},
    {"caption row", false, 1, 2, "3", "Warning", Outcome::NotASetPoint, 0, ""},
    {"Enable column", false, 2, 1, "3", "", Outcome::NotASetPoint, 0, ""},
    {"gas column", false, 2, 0, "3", "H2S(30ppm)", Outcome::NotASetPoint, 0, ""},
    // STEL and TWA need "ppm" under "-R" only.
    {"STEL on VOL% under -R", true, 3, 4, "5", "-----", Outcome::Refused, 0, ""},
    {"TWA on VOL% under -R", true, 3, 5, "5", "-----", Outcome::Refused, 0, ""},
    {"STEL on VOL% under -U", false, 3, 4, "5", "-----", Outcome::Stored, 5.0f, "5.0"},
    {"STEL on ppm under -R", true, 2, 4, "5", "1.0", Outcome::Stored, 5.0f, "5.0"},
    {"STEL cleared under -R", true, 3, 4, "", "1.0", Outcome::Stored, -101.0f, "-----"},
    // Auto Cal. must have reached the warning level.
    {"auto cal at warning, gas 0", false, 2, 6, "5", "25.0", Outcome::Stored, 5.0f, "5.0"},
    {"auto cal below warning, gas 0", false, 2, 6, "4.9", "25.0", Outcome::Refused, 0, ""},
    {"auto cal above warning, oxygen", false, 3, 6, "19.6", "20.9", Outcome::Refused, 0, ""},
    {"auto cal below warning, oxygen", false, 3, 6, "18", "20.9", Outcome::Stored, 18.0f, "18.0"},
};

} // namespace

TEST_F(SettingsTest, TypedSetPoints)
{
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.what);
        clsInstrument in = inst;
        in.ClearChangeFlags();
        const SetPointEdit edit = CheckSetPointEdit(in, c.row, c.col, QString::fromLatin1(c.typed),
                                                    QString::fromLatin1(c.cell), true, c.serviceMode);
        ASSERT_EQ(edit.outcome, c.outcome);
        const QString shown = StoreSetPointEdit(in, c.row, edit);
        if (c.outcome == Outcome::Stored) {
            EXPECT_FLOAT_EQ(SetPointValue(in, c.row - 2, *FieldOfColumn(true, c.col)), c.stored);
            EXPECT_EQ(shown, QString::fromLatin1(c.shown));
            EXPECT_EQ(edit.text, shown);
        } else {
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_FALSE(AnyGasFlag(in, 0) || AnyGasFlag(in, 1)) << "no change flag";
        }
    }
}

TEST_F(SettingsTest, StoredEditRaisesOnlyItsFlag)
{
    const SetPointEdit edit = CheckSetPointEdit(inst, 2, 3, "12", "10.0", false, false); // compact: STEL
    ASSERT_EQ(edit.outcome, Outcome::Stored);
    EXPECT_EQ(edit.field, SetPointField::Stel);
    StoreSetPointEdit(inst, 2, edit);
    EXPECT_TRUE(inst.Change_Stel(0));
    EXPECT_FALSE(inst.Change_Warn(0) || inst.Change_Alarm(0) || inst.Change_Twa(0) || inst.Change_AutoCal(0));
    EXPECT_FALSE(AnyGasFlag(inst, 1));
}

TEST_F(SettingsTest, ZeroResolutionStoresTheTypedValue)
{
    inst.SetGasDesit(0, 0); // a stored record or an instrument may carry 0
    const SetPointEdit edit = CheckSetPointEdit(inst, 2, 2, "12.34", "5.0", true, false);
    ASSERT_EQ(edit.outcome, Outcome::Stored);
    EXPECT_FLOAT_EQ(edit.value, 12.34f);
    EXPECT_EQ(edit.text, "12.3");
}

TEST_F(SettingsTest, SensorOffClearsOneGasAndRaisesBothEnableFlags)
{
    SwitchSensorOff(inst, 1, {true, false});
    EXPECT_TRUE(inst.GasEnabled(0));
    EXPECT_FALSE(inst.GasEnabled(1));
    EXPECT_TRUE(inst.Change_GasEnable(0) && inst.Change_GasEnable(1));
    for (float v : {inst.Warning(1), inst.Alarm(1), inst.Stel(1), inst.Twa(1), inst.AutoCalib(1)})
        EXPECT_FLOAT_EQ(v, -101);
    EXPECT_TRUE(inst.Change_Warn(1) && inst.Change_Alarm(1) && inst.Change_Stel(1) && inst.Change_Twa(1)
                && inst.Change_AutoCal(1));
    EXPECT_FALSE(inst.Change_Warn(0) || inst.Change_Alarm(0) || inst.Change_Stel(0) || inst.Change_Twa(0)
                 || inst.Change_AutoCal(0));
    EXPECT_FLOAT_EQ(inst.Warning(0), 5);
}

TEST_F(SettingsTest, ReplacementGasSetsTheFactoryValueAsShown)
{
    App().ChgGasTable[0][2] = Entry("CO", "ppm", 500, 50, 100, 150.26f);
    App().ChgGasTable[0][2].Points = 1;
    App().ChgGasTable[0][4] = Entry("NH3", "ppm", 100, 25, 50, -101);
    inst.SetGasEnabled(0, false);

    ASSERT_TRUE(LoadReplacementGas(inst, 0, 2));
    EXPECT_TRUE(inst.GasEnabled(0));
    EXPECT_EQ(inst.GasName(0), "CO");
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], 150.3f);

    ASSERT_TRUE(LoadReplacementGas(inst, 0, 4));
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], -101);

    App().FactAutoCal[0] = 7;
    EXPECT_FALSE(LoadReplacementGas(inst, 0, -1)); // no choice made
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], 7);
}

TEST_F(SettingsTest, SpanTicksFollowTheSensorSwitch)
{
    inst.SetGasEnabled(1, false);
    EXPECT_EQ(SyncSpanTicks(inst, {true, true}, {true, true}), (std::array<bool, 2>{true, false}));
    inst.SetGasEnabled(1, true);
    EXPECT_EQ(SyncSpanTicks(inst, {true, true}, {false, true}), (std::array<bool, 2>{false, true}));
    EXPECT_EQ(SyncSpanTicks(inst, {false, true}, {true, true}), (std::array<bool, 2>{false, true}));
}
