// The settings upload against the fake instrument over a pseudo-terminal.
#include "link_fixture.h"
#include "records/instrument.h"

using Fault = FakeInstrument::Fault;

namespace {

using UploadFixture = ReadInstrumentFixture;

bool AnyFlag(const clsInstrument& i)
{
    bool any = i.Change_UserID() || i.Change_StationID() || i.Change_SerialNo() || i.Change_DummySerial()
               || i.Change_SpecType() || i.Change_OxyAlarmType() || i.Change_ColdDistricts()
               || i.Change_WarningType() || i.Change_AlarmType() || i.Change_Vibration() || i.Change_BackLight()
               || i.Change_AlarmPassword() || i.Change_WarmTime() || i.Change_WarmDisp();
    for (int g = 0; g < 2; ++g)
        any = any || i.Change_GasEnable(g) || i.Change_Alarm(g) || i.Change_Warn(g) || i.Change_Stel(g)
              || i.Change_Twa(g) || i.Change_AutoCal(g);
    return any;
}

} // namespace

TEST_F(UploadFixture, NothingFlaggedSendsNothing)
{
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    EXPECT_TRUE(fake.Commands().isEmpty());
    EXPECT_TRUE(Log().contains(QStringLiteral("---Instrument Upload Started---")));
    EXPECT_TRUE(Log().contains(QStringLiteral("---Instrument Upload Finished---")));
}

TEST_F(UploadFixture, SendsEveryFlaggedSettingInTheFixedOrder)
{
    // Assigned in an order unlike the sending order.
    inst.SetWarmDisp(QStringLiteral("02"));
    inst.SetWarmTime(45);
    inst.SetAutoCalib(0, 0.5f);
    inst.SetAlarmPassword(QStringLiteral("12"));
    inst.SetBackLight(10);
    inst.SetVibration(QStringLiteral("00"));
    inst.SetAlarmType(QStringLiteral("02"));
    inst.SetWarningType(QStringLiteral("01"));
    inst.SetColdDistricts(QStringLiteral("01"));
    inst.SetTwa(0, 30.0f);
    inst.SetStel(0, 150.0f);
    inst.SetWarning(0, 30.0f);
    inst.SetAlarm(0, 60.0f);
    inst.SetAlarm(1, 17.0f);
    inst.SetOxyAlarmType(QStringLiteral("02"));
    inst.SetSpecType(QStringLiteral("02"));
    inst.SetGasEnabled(0, true);
    inst.SetDummySerial(QStringLiteral("D2"));
    inst.SetSerialNo(QStringLiteral("SN3456789012"));
    inst.SetStationID(QStringLiteral("ST-9"));
    inst.SetUserID(QStringLiteral("AB"));

    ASSERT_TRUE(ctl->SetInstrument(&inst));
    const QList<QByteArray> expected = {
        "XZ,W,AB        ",
        "XS,W,ST-9      ",
        "IN,W,SN3456789012",
        "HN,W,D2          ",
        "GJ,W,11,CO  500.0  1.0ppm ,OXY  40.0  0.1VOL%",
        "UJ,W,02",
        "AP,W,02",
        "A2,W,0258,00AA", // no warning at 0: the alarms first ...
        "A1,W,012C,00C3", // ... then the warnings
        "AS,W,05DC,0000", // no value (-101) is 0000
        "AW,W,012C,0000",
        "UV,W,01",
        "AT,W,01",
        "AU,W,02",
        "AV,W,00",
        "XT,W,0A",
        "AL,W,12",
        "S1,W,0005,00D1",
        "WT,W,2D",
        "WD,W,02",
        // SpecType was written: the set points are read back.
        "A1,R,",
        "A2,R,",
        "AS,R,",
        "AW,R,",
    };
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_FALSE(AnyFlag(inst));
    EXPECT_EQ(ctl->Status(), 6);

    // The instrument holds what was written.
    const FakeInstrumentState& s = fake.State();
    EXPECT_EQ(s.userId, QStringLiteral("AB"));
    EXPECT_EQ(s.stationId, QStringLiteral("ST-9"));
    EXPECT_EQ(s.serialNo, QStringLiteral("SN3456789012"));
    EXPECT_EQ(s.dummySerial, QStringLiteral("D2"));
    EXPECT_EQ(s.specType, QStringLiteral("02"));
    EXPECT_EQ(s.oxyAlarmType, QStringLiteral("02"));
    EXPECT_FLOAT_EQ(s.gas[0].alarm, 60.0f);
    EXPECT_FLOAT_EQ(s.gas[1].alarm, 17.0f);
    EXPECT_FLOAT_EQ(s.gas[0].warning, 30.0f);
    EXPECT_FLOAT_EQ(s.gas[0].stel, 150.0f);
    EXPECT_EQ(s.backLight, 10);
    EXPECT_EQ(s.warmTime, 45);
    EXPECT_FLOAT_EQ(s.gas[0].autoCalib, 0.5f);
    EXPECT_EQ(s.alarmPassword, QStringLiteral("12"));
    EXPECT_EQ(s.warmDisp, QStringLiteral("02"));
    const QString log = Log();
    EXPECT_TRUE(log.contains(QStringLiteral("---Instrument Upload Finished---. Date = ")));
    EXPECT_TRUE(log.contains(QStringLiteral("[Time = 00:00:0")));
}

TEST_F(UploadFixture, AlarmGroupOrdersWarningsAroundTheAlarms)
{
    struct Case {
        const char* name;
        float warning0, warning1;
        bool flagWarn;
        QList<QByteArray> expected;
        bool warnFlagLeft; // after the group, before the warnings row
    } cases[] = {
        {"warning 0 and no value", 0.0f, -101.0f, true, {"A1,W,0000,0000", "A2,W,01F4,00B4"}, false},
        {"warning 0 and a real one", 0.0f, 19.5f, true, {"A1,W,0000,00C3", "A2,W,01F4,00B4", "A1,W,0000,00C3"}, false},
        {"no warning at 0, flagged", 25.0f, 19.5f, true, {"A2,W,01F4,00B4", "A1,W,00FA,00C3"}, false},
        {"no warning at 0, not flagged", 25.0f, 19.5f, false, {"A2,W,01F4,00B4"}, false},
        {"warning 0, not flagged", 0.0f, 19.5f, false, {"A2,W,01F4,00B4"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.ClearFrames();
        inst.SetWarning(0, c.warning0);
        inst.SetWarning(1, c.warning1);
        inst.SetChange_Warn(0, c.flagWarn);
        inst.SetChange_Warn(1, false);
        inst.SetAlarm(0, 50.0f);
        inst.SetAlarm(1, 18.0f);
        EXPECT_TRUE(ctl->SetInstrument(&inst));
        EXPECT_EQ(fake.Commands(), c.expected);
        EXPECT_FALSE(AnyFlag(inst));
    }
}

TEST_F(UploadFixture, DisabledSecondGas)
{
    inst.SetGasEnabled(1, false);
    inst.SetOxyAlarmType(QStringLiteral("02"));
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    // The oxygen alarm type is not sent without the second gas; its flag
    // stays for a later upload.
    const QList<QByteArray> expected = {"GJ,W,10,CO  500.0  1.0ppm ,******************"};
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_FALSE(inst.Change_GasEnable(1));
    EXPECT_TRUE(inst.Change_OxyAlarmType());
    EXPECT_FALSE(fake.State().gas[1].enabled);
    EXPECT_TRUE(fake.State().gas[0].enabled);
}

TEST_F(UploadFixture, IdentityTextsFillTheirFields)
{
    inst.SetUserID(QString());
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"XZ,W,*         "});

    // A longer text is cut to its field; the instrument then holds another
    // text than the object, so the row fails and keeps its flag.
    fake.ClearFrames();
    inst.SetSerialNo(QStringLiteral("SN345678901234"));
    EXPECT_FALSE(ctl->SetInstrument(&inst));
    EXPECT_EQ(fake.Commands().first(), QByteArray("IN,W,SN3456789012"));
    EXPECT_EQ(fake.State().serialNo, QStringLiteral("SN3456789012"));
    EXPECT_TRUE(inst.Change_SerialNo());
}

TEST_F(UploadFixture, FailedRowStopsTheUploadAndKeepsItsFlags)
{
    struct Case {
        const char* name;
        Fault fault;
    } cases[] = {{"refused", Fault::NakRefusal}, {"unanswered", Fault::Silence}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.ClearFaults();
        fake.ClearFrames();
        fake.AddFaultOn(c.fault, "XS,W,ST-9      ", 1, -1);
        inst.SetUserID(QStringLiteral("AB"));
        inst.SetStationID(QStringLiteral("ST-9"));
        inst.SetSerialNo(QStringLiteral("SN9"));
        inst.SetAlarm(0, 60.0f);
        inst.SetWarmDisp(QStringLiteral("02"));

        EXPECT_FALSE(ctl->SetInstrument(&inst));
        EXPECT_EQ(ctl->Status(), 7);
        // The request and its three resends; nothing after it.
        const QList<QByteArray> expected = {"XZ,W,AB        ", "XS,W,ST-9      ", "XS,W,ST-9      ",
                                            "XS,W,ST-9      ", "XS,W,ST-9      "};
        EXPECT_EQ(fake.Commands(), expected);
        EXPECT_FALSE(inst.Change_UserID());
        EXPECT_TRUE(inst.Change_StationID());
        EXPECT_TRUE(inst.Change_SerialNo());
        EXPECT_TRUE(inst.Change_Alarm(0));
        EXPECT_TRUE(inst.Change_WarmDisp());
        EXPECT_TRUE(Log().contains(QStringLiteral("---Instrument Upload Failed---")));
    }
    // Repeated, the upload sends exactly the rest.
    fake.ClearFaults();
    fake.ClearFrames();
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    const QList<QByteArray> rest = {"XS,W,ST-9      ", "IN,W,SN9         ", "A2,W,0258,00B4", "WD,W,02"};
    EXPECT_EQ(fake.Commands(), rest);
    EXPECT_FALSE(AnyFlag(inst));
}

TEST_F(UploadFixture, SetPointsAreReadBackEvenWhenALaterRowFails)
{
    // The instrument changes its set points when its SpecType changes.
    fake.State().gas[0].warning = 33.0f;
    fake.AddFaultOn(Fault::NakRefusal, "UV,W,01", 1, -1);
    inst.SetSpecType(QStringLiteral("02"));
    inst.SetColdDistricts(QStringLiteral("01"));
    QSignalSpy progress(ctl.get(), &QvifPort::InstMessage);

    EXPECT_FALSE(ctl->SetInstrument(&inst));
    const QList<QByteArray> expected = {"UJ,W,02", "UV,W,01", "UV,W,01", "UV,W,01", "UV,W,01",
                                        "A1,R,",   "A2,R,",   "AS,R,",   "AW,R,"};
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_FLOAT_EQ(inst.Warning(0), 33.0f);
    EXPECT_FALSE(inst.Change_SpecType());
    EXPECT_TRUE(inst.Change_ColdDistricts());

    // The oxygen alarm type alone reads back only the warnings and alarms.
    fake.ClearFaults();
    fake.ClearFrames();
    inst.SetOxyAlarmType(QStringLiteral("01"));
    inst.SetChange_ColdDistricts(false);
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    EXPECT_EQ(fake.Commands(), (QList<QByteArray>{"AP,W,01", "A1,R,", "A2,R,"}));
}

// A value that does not fit its field is refused, not sent cut: the row
// fails before anything is written and the upload stops there.
TEST_F(UploadFixture, ValueThatDoesNotFitItsFieldFailsTheRow)
{
    struct Case {
        const char* name;
        std::function<void(clsInstrument&)> set;
        std::function<bool(const clsInstrument&)> flagged;
        const char* logged; // part of the serial-log line
    } cases[] = {
        {"full scale of six characters",
         [](clsInstrument& i) {
             i.SetGasFullScale(0, 1234.5f);
             i.SetGasEnabled(0, true);
         },
         [](const clsInstrument& i) { return i.Change_GasEnable(0); }, "GJ,W, full scale of gas 1 = \"1234.5\""},
        {"resolution of eight characters",
         [](clsInstrument& i) {
             i.SetGasDesit(1, 100000.0f);
             i.SetGasEnabled(1, true);
         },
         [](const clsInstrument& i) { return i.Change_GasEnable(1); }, "GJ,W, resolution of gas 2 = \"100000\""},
        {"set point beyond 16 bits", [](clsInstrument& i) { i.SetWarning(0, 5000.0f); },
         [](const clsInstrument& i) { return i.Change_Warn(0); }, "A1,W, warning of gas 1 = \"5000\""},
        {"negative set point beyond 16 bits",
         [](clsInstrument& i) {
             i.SetGasPoint(1, 3);
             i.SetStel(1, -100.0f);
         },
         [](const clsInstrument& i) { return i.Change_Stel(1); }, "AS,W, STEL of gas 2"},
        {"back light beyond two hex digits", [](clsInstrument& i) { i.SetBackLight(300); },
         [](const clsInstrument& i) { return i.Change_BackLight(); }, "XT,W, back light = \"300\""},
        {"warm-up time below 0", [](clsInstrument& i) { i.SetWarmTime(-1); },
         [](const clsInstrument& i) { return i.Change_WarmTime(); }, "WT,W, warm-up time"},
        {"control character in a text", [](clsInstrument& i) { i.SetUserID(QStringLiteral("A\x04" "B")); },
         [](const clsInstrument& i) { return i.Change_UserID(); }, "XZ,W, user ID"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsInstrument obj = inst;
        obj.ClearChangeFlags();
        fake.ClearFrames();
        QFile::remove(home.file(QStringLiteral("SerialLog.log")));
        c.set(obj);
        obj.SetWarmDisp(QStringLiteral("02")); // a later row

        EXPECT_FALSE(ctl->SetInstrument(&obj));
        EXPECT_TRUE(fake.Commands().isEmpty());
        EXPECT_TRUE(c.flagged(obj));
        EXPECT_TRUE(obj.Change_WarmDisp());
        const QString log = Log();
        EXPECT_TRUE(log.contains(QStringLiteral("<<< Upload value refused >>> ") + QString::fromLatin1(c.logged)))
            << log.toStdString();
        EXPECT_TRUE(log.contains(QStringLiteral("---Instrument Upload Failed---")));
    }
    // The largest values that fit go out whole.
    clsInstrument obj = inst;
    obj.ClearChangeFlags();
    fake.ClearFrames();
    obj.SetGasFullScale(0, 999.9f);
    obj.SetGasEnabled(0, true);
    obj.SetWarning(0, 3276.7f);
    obj.SetBackLight(255);
    EXPECT_TRUE(ctl->SetInstrument(&obj));
    const QList<QByteArray> expected = {"GJ,W,11,CO  999.9  1.0ppm ,OXY  40.0  0.1VOL%", "A1,W,7FFF,00C3",
                                        "XT,W,FF"};
    EXPECT_EQ(fake.Commands(), expected);
}

TEST_F(UploadFixture, NoInstrumentObject)
{
    EXPECT_FALSE(ctl->SetInstrument(nullptr));
    EXPECT_TRUE(fake.Commands().isEmpty());
    EXPECT_TRUE(Log().contains(QStringLiteral("---Instrument Upload Failed---")));
    EXPECT_FALSE(Log().contains(QStringLiteral("---Instrument Upload Started---")));
}

TEST_F(UploadFixture, OneDigitCodeIsSentWithALeadingZeroAndItsEchoAccepted)
{
    inst.SetSpecType(QStringLiteral("7"));
    inst.SetAlarmPassword(QStringLiteral("3"));
    EXPECT_TRUE(ctl->SetInstrument(&inst));
    EXPECT_FALSE(inst.Change_SpecType());
    EXPECT_FALSE(inst.Change_AlarmPassword());
    const QStringList frames = [&] {
        QStringList out;
        for (const QByteArray& f : fake.Frames())
            out << QString::fromLatin1(f);
        return out;
    }();
    EXPECT_TRUE(frames.join('\n').contains(QStringLiteral("UJ,W,07")));
    EXPECT_TRUE(frames.join('\n').contains(QStringLiteral("AL,W,03")));
}
