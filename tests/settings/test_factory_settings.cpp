// The factory settings table: what it shows, what it accepts, and that OK
// marks only what the user changed.

#include "settings/factory_settings.h"

#include "settings_fixture.h"

namespace {

using Fs = FactorySettings;

clsInstrument Sample()
{
    clsInstrument i;
    i.SetRomNumber(123);
    i.SetSUM(QStringLiteral("A5C3"));
    i.SetDummySerial(QStringLiteral("DUMMY1"));
    i.SetSpecType(QStringLiteral("01"));
    i.SetColdDistricts(QStringLiteral("00"));
    i.SetOxyAlarmType(QStringLiteral("01"));
    i.SetWarningType(QStringLiteral("00"));
    i.SetAlarmType(QStringLiteral("01"));
    i.SetVibration(QStringLiteral("00"));
    i.SetBackLight(10);
    i.SetAlarmPassword(QStringLiteral("00"));
    i.SetWarmDisp(QStringLiteral("01"));
    i.SetWarmTime(30);
    i.SetWarning(0, 25);
    i.ClearChangeFlags();
    return i;
}

bool AnyFlag(const clsInstrument& i)
{
    return i.Change_DummySerial() || i.Change_SpecType() || i.Change_ColdDistricts() || i.Change_OxyAlarmType() ||
           i.Change_WarningType() || i.Change_AlarmType() || i.Change_Vibration() || i.Change_BackLight() ||
           i.Change_AlarmPassword() || i.Change_WarmDisp() || i.Change_WarmTime() || i.Change_Warn(0) ||
           i.Change_GasEnable(0) || i.Change_Alarm(1);
}

class FactorySettingsTest : public SettingsTest {};

TEST_F(FactorySettingsTest, RowsShowTheRecord)
{
    const clsInstrument i = Sample();
    const Fs fs(i);
    const struct {
        int row;
        const char* caption;
        const char* value;
        Fs::Kind kind;
    } rows[] = {
        {Fs::ProgramNo, "Program No", "00123", Fs::Kind::ReadOnly},
        {Fs::Sum, "SUM", "A5C3", Fs::Kind::ReadOnly},
        {Fs::ManufactureNo, "Manufacture number", "DUMMY1", Fs::Kind::Text},
        {Fs::Destination, "Destination", "Foreign", Fs::Kind::Choice},
        {Fs::ColdDistricts, "For Cold Districts", "Cold Districts", Fs::Kind::Choice},
        {Fs::OxyAlarmType, "Oxy Alarm Type", "L-H", Fs::Kind::Choice},
        {Fs::WarningCondition, "Warning Condition", "Restart", Fs::Kind::Choice},
        {Fs::AlarmCondition, "Alarm Condition", "Keep", Fs::Kind::Choice},
        {Fs::Vibration, "Vibration", "Off", Fs::Kind::Choice},
        {Fs::BackLight, "Back Light Time(Sec)", "10", Fs::Kind::Number},
        {Fs::AlarmPassword, "Alarm Password", "OFF", Fs::Kind::Choice},
        {Fs::WarmDisp, "Warm time Disp", "ON", Fs::Kind::Choice},
        {Fs::WarmTime, "Warm time", "30", Fs::Kind::Number},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(fs.Caption(r.row), QString::fromLatin1(r.caption)) << r.row;
        EXPECT_EQ(fs.Value(r.row), QString::fromLatin1(r.value)) << r.row;
        EXPECT_EQ(fs.RowKind(r.row), r.kind) << r.row;
    }
    EXPECT_EQ(fs.Choices(Fs::Vibration),
              (QStringList{QStringLiteral("Off"), QStringLiteral("Only at power supply on"), QStringLiteral("On")}));
    EXPECT_EQ(fs.Choices(Fs::OxyAlarmType), (QStringList{QStringLiteral("L-LL"), QStringLiteral("L-H")}));
    EXPECT_TRUE(fs.Choices(Fs::BackLight).isEmpty());
    EXPECT_EQ(fs.Value(0), QString());
    EXPECT_EQ(fs.Value(Fs::RowCount), QString());
}

TEST_F(FactorySettingsTest, ChoiceCellOfAnOddCode)
{
    clsInstrument i = Sample();
    i.SetVibration(QString());          // empty: the first entry
    i.SetAlarmType(QStringLiteral("07")); // beyond the list: an empty cell
    i.SetSpecType(QStringLiteral("xx"));  // not a number: an empty cell
    Fs fs(i);
    EXPECT_EQ(fs.Value(Fs::Vibration), QStringLiteral("Off"));
    EXPECT_EQ(fs.Value(Fs::AlarmCondition), QString());
    EXPECT_EQ(fs.Value(Fs::Destination), QString());

    // OK keeps a code that the list does not hold as long as the user did
    // not pick an entry.
    i.ClearChangeFlags();
    fs.Accept(i);
    EXPECT_EQ(i.AlarmType(), QStringLiteral("07"));
    EXPECT_EQ(i.SpecType(), QStringLiteral("xx"));
    EXPECT_FALSE(AnyFlag(i));
}

TEST_F(FactorySettingsTest, OkWithoutEditsChangesNothing)
{
    clsInstrument i = Sample();
    Fs fs(i);
    fs.Accept(i);
    EXPECT_FALSE(AnyFlag(i));
    EXPECT_EQ(i.Vibration(), QStringLiteral("00"));
    EXPECT_EQ(i.BackLight(), 10);
}

TEST_F(FactorySettingsTest, VibrationOffToOnSetsOnlyItsFlag)
{
    clsInstrument i = Sample();
    Fs fs(i);
    ASSERT_TRUE(fs.SetValue(Fs::Vibration, QStringLiteral("On")));
    fs.Accept(i);
    EXPECT_EQ(i.Vibration(), QStringLiteral("02"));
    EXPECT_TRUE(i.Change_Vibration());
    i.SetChange_Vibration(false);
    EXPECT_FALSE(AnyFlag(i));
}

TEST_F(FactorySettingsTest, EditsBackAndForthChangeNothing)
{
    clsInstrument i = Sample();
    Fs fs(i);
    fs.SetValue(Fs::Vibration, QStringLiteral("On"));
    fs.SetValue(Fs::Vibration, QStringLiteral("Off"));
    fs.SetValue(Fs::BackLight, QStringLiteral("10.0"));
    fs.Accept(i);
    EXPECT_FALSE(AnyFlag(i));
}

TEST_F(FactorySettingsTest, EveryRowWritesItsField)
{
    clsInstrument i = Sample();
    Fs fs(i);
    const struct {
        int row;
        const char* text;
    } edits[] = {
        {Fs::ManufactureNo, "NEW-1"}, {Fs::Destination, "Domestic"}, {Fs::ColdDistricts, "Standard"},
        {Fs::OxyAlarmType, "l-ll"},   {Fs::WarningCondition, "Keep"}, {Fs::AlarmCondition, "Restart"},
        {Fs::Vibration, "Only at power supply on"}, {Fs::BackLight, "60"}, {Fs::AlarmPassword, "ON"},
        {Fs::WarmTime, "255"}, {Fs::WarmDisp, "off"},
    };
    for (const auto& e : edits)
        ASSERT_TRUE(fs.SetValue(e.row, QString::fromLatin1(e.text))) << e.row;
    fs.Accept(i);
    EXPECT_EQ(i.DummySerial(), QStringLiteral("NEW-1"));
    EXPECT_EQ(i.SpecType(), QStringLiteral("00"));
    EXPECT_EQ(i.ColdDistricts(), QStringLiteral("01"));
    EXPECT_EQ(i.OxyAlarmType(), QStringLiteral("00"));
    EXPECT_EQ(i.WarningType(), QStringLiteral("01"));
    EXPECT_EQ(i.AlarmType(), QStringLiteral("00"));
    EXPECT_EQ(i.Vibration(), QStringLiteral("01"));
    EXPECT_EQ(i.BackLight(), 60);
    EXPECT_EQ(i.AlarmPassword(), QStringLiteral("01"));
    EXPECT_EQ(i.WarmTime(), 255);
    EXPECT_EQ(i.WarmDisp(), QStringLiteral("00"));
    EXPECT_TRUE(i.Change_DummySerial() && i.Change_SpecType() && i.Change_ColdDistricts() &&
                i.Change_OxyAlarmType() && i.Change_WarningType() && i.Change_AlarmType() && i.Change_Vibration() &&
                i.Change_BackLight() && i.Change_AlarmPassword() && i.Change_WarmTime() && i.Change_WarmDisp());
    EXPECT_FALSE(i.Change_Warn(0)) << "the gas settings were not edited";
}

TEST_F(FactorySettingsTest, ValidationTable)
{
    const Fs fs(Sample());
    const struct {
        int row;
        const char* entry;
        bool ok;
    } cases[] = {
        {Fs::BackLight, "60", true},  {Fs::BackLight, "61", false}, {Fs::BackLight, "0", true},
        {Fs::BackLight, "-1", false}, {Fs::BackLight, "abc", false}, {Fs::BackLight, "", true},
        {Fs::BackLight, "  ", true},  {Fs::BackLight, "60.4", true}, {Fs::BackLight, "60.6", false},
        {Fs::WarmTime, "255", true},  {Fs::WarmTime, "256", false}, {Fs::WarmTime, "99999999999", false},
        {Fs::ManufactureNo, "ABCDEFGHIJKL", true}, {Fs::ManufactureNo, "ABCDEFGHIJKLM", false},
        {Fs::ManufactureNo, "AB/C", false}, {Fs::ManufactureNo, "", true},
        {Fs::Vibration, "anything", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs.Validate(c.row, QString::fromLatin1(c.entry)), c.ok) << c.row << " '" << c.entry << "'";
}

TEST_F(FactorySettingsTest, EmptiedNumberKeepsTheOldValue)
{
    clsInstrument i = Sample();
    Fs fs(i);
    ASSERT_TRUE(fs.SetValue(Fs::BackLight, QString()));
    ASSERT_TRUE(fs.SetValue(Fs::WarmTime, QStringLiteral(" ")));
    fs.Accept(i);
    EXPECT_EQ(i.BackLight(), 10);
    EXPECT_EQ(i.WarmTime(), 30);
    EXPECT_FALSE(i.Change_BackLight() || i.Change_WarmTime());
}

TEST_F(FactorySettingsTest, EditableRows)
{
    clsInstrument i = Sample();
    i.SetWarmDisp(QStringLiteral("00"));
    Fs fs(i);
    EXPECT_FALSE(fs.CanEdit(0));
    EXPECT_FALSE(fs.CanEdit(Fs::ProgramNo));
    EXPECT_FALSE(fs.CanEdit(Fs::Sum));
    EXPECT_TRUE(fs.CanEdit(Fs::ManufactureNo));
    EXPECT_FALSE(fs.CanEdit(Fs::WarmTime)) << "locked while the warm-up display is OFF";
    EXPECT_FALSE(fs.SetValue(Fs::WarmTime, QStringLiteral("20")));
    EXPECT_FALSE(fs.SetValue(Fs::Sum, QStringLiteral("FFFF")));
    EXPECT_FALSE(fs.SetValue(Fs::BackLight, QStringLiteral("61")));

    ASSERT_TRUE(fs.SetValue(Fs::WarmDisp, QStringLiteral("ON")));
    EXPECT_TRUE(fs.CanEdit(Fs::WarmTime)) << "editable at once";
    EXPECT_TRUE(fs.SetValue(Fs::WarmTime, QStringLiteral("20")));
    EXPECT_EQ(fs.Value(Fs::BackLight), QStringLiteral("10"));
}

TEST_F(FactorySettingsTest, CancelLeavesTheRecordAlone)
{
    clsInstrument i = Sample();
    {
        Fs fs(i);
        fs.SetValue(Fs::Vibration, QStringLiteral("On"));
        fs.SetValue(Fs::BackLight, QStringLiteral("5"));
    } // dropped without Accept
    EXPECT_EQ(i.Vibration(), QStringLiteral("00"));
    EXPECT_EQ(i.BackLight(), 10);
    EXPECT_FALSE(AnyFlag(i));
}

TEST_F(FactorySettingsTest, CopyAllOrOnlyChanged)
{
    clsInstrument src = Sample();
    src.SetGasName(0, QStringLiteral("CO"));
    src.SetGasEnabled(0, true);
    src.SetAlarm(1, 23.5f);
    src.ClearChangeFlags();
    src.SetAlarm(1, 18.0f); // the only raised flag

    clsInstrument onlyChanged;
    CopyInstrumentSettings(onlyChanged, src, true);
    EXPECT_FLOAT_EQ(onlyChanged.Alarm(1), 18.0f);
    EXPECT_TRUE(onlyChanged.Change_Alarm(1));
    EXPECT_EQ(onlyChanged.GasName(0), QString());
    EXPECT_EQ(onlyChanged.Vibration(), QString());

    clsInstrument all;
    CopyInstrumentSettings(all, src, false);
    EXPECT_EQ(all.GasName(0), QStringLiteral("CO"));
    EXPECT_TRUE(all.GasEnabled(0));
    EXPECT_EQ(all.Vibration(), QStringLiteral("00"));
    EXPECT_EQ(all.WarmTime(), 30);
    EXPECT_FLOAT_EQ(all.Warning(0), 25);
}

TEST_F(FactorySettingsTest, ManufactureTextFilter)
{
    EXPECT_EQ(FilterManufactureText(QStringLiteral("ab/c\td-*9")), QStringLiteral("abcd-*9"));
    EXPECT_EQ(FilterManufactureText(QStringLiteral("ABCDEFGHIJKLMNOP")), QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(FilterManufactureText(QStringLiteral("日本 1")), QStringLiteral(" 1"));
}

} // namespace
