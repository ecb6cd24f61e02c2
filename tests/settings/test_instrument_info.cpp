// The information panel's contents per state.

#include "settings/instrument_info.h"

#include "common/dates.h"
#include "records/instrument.h"
#include "settings_fixture.h"

namespace {

using S = InstrumentInfoState;

const QDateTime kNow = MakeDate(2026, 3, 5, 14, 0, 0);

clsInstrument Record()
{
    clsInstrument r;
    r.SetSerialNo(QStringLiteral("SN123456"));
    r.SetStationID(QStringLiteral("ST-7"));
    r.SetUserID(QStringLiteral("USER01"));
    r.SetRomNumber(123);
    r.SetSUM(QStringLiteral("A5C3"));
    r.SetCommFlags(-1);
    const char* names[2] = {"CO", "OXY"};
    const char* units[2] = {"ppm", "VOL%"};
    const float full[2] = {500, 40};
    for (int g = 0; g < 2; ++g) {
        r.SetGasName(g, QString::fromLatin1(names[g]));
        r.SetGasUnit(g, QString::fromLatin1(units[g]));
        r.SetGasFullScale(g, full[g]);
        r.SetGasPoint(g, 1);
        r.SetGasEnabled(g, true);
        r.SetWarning(g, 25);
        r.SetAlarm(g, 50);
        r.SetStel(g, -101);
        r.SetTwa(g, 10);
        r.SetAutoCalib(g, 20.9f);
        r.SetCalibDate(g, kNow.addSecs(-600));
        r.SetCalibBefore(g, 12);
        r.SetCalibAfter(g, 50);
    }
    return r;
}

InstrumentInfoInput Input(S state, const clsInstrument* r)
{
    InstrumentInfoInput in;
    in.state = state;
    in.record = r;
    in.currentGas[0].Name = QStringLiteral("H2S");
    in.currentGas[0].Unit = QStringLiteral("ppm");
    in.currentGas[0].FullScale = 100;
    in.factAutoCal = {30.0f, 18.0f};
    in.now = kNow;
    return in;
}

class InstrumentInfoTest : public SettingsTest {};

TEST_F(InstrumentInfoTest, StateDecision)
{
    const struct {
        int status;
        int commFlags;
        bool stored;
        S state;
    } cases[] = {
        {0, -1, false, S::NoLink},       {1, -1, false, S::NoLink},    {2, 0, false, S::NoLink},
        {2, -1, false, S::Connected},    {5, -1, false, S::Connected}, {0, 0, true, S::StoredRecord},
        {2, -1, true, S::StoredRecord},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideInstrumentInfoState(c.status, static_cast<std::int16_t>(c.commFlags), c.stored), c.state)
            << c.status << " " << c.commFlags << " " << c.stored;
}

TEST_F(InstrumentInfoTest, NoLinkShowsBlanksAndTheSettingsGases)
{
    const clsInstrument r = Record();
    InstrumentInfoInput in = Input(S::NoLink, &r);
    in.serviceMode = true;
    const InstrumentInfoView v = BuildInstrumentInfo(in);
    EXPECT_EQ(v.caption, QStringLiteral("Instrument Information [No connected]"));
    EXPECT_TRUE(v.serviceLabelsVisible);
    EXPECT_TRUE(v.serialNo.isEmpty() && v.stationId.isEmpty() && v.userId.isEmpty() && v.romNumber.isEmpty() &&
                v.sum.isEmpty());
    using Row5 = std::array<QString, 5>;
    using Row6 = std::array<QString, 6>;
    const QString n = QStringLiteral("-----");
    Row5 title;
    title.fill(QStringLiteral("Calibration History"));
    EXPECT_EQ(v.calibration[0], title);
    EXPECT_EQ(v.calibration[1], (Row5{QStringLiteral("Gas"), QStringLiteral("Calib.Date"), QStringLiteral("Before"),
                                      QStringLiteral("After"), QStringLiteral("A.Cal.")}));
    EXPECT_EQ(v.calibration[2], (Row5{QStringLiteral("H2S(100ppm)"), QString(), n, n, n}));
    EXPECT_EQ(v.calibration[3], (Row5{QStringLiteral("----(---)"), QString(), n, n, n}));
    EXPECT_EQ(v.sensor[0][0], QStringLiteral("Sensor"));
    EXPECT_EQ(v.sensor[0][5], QStringLiteral("Warning and Alarm point"));
    EXPECT_EQ(v.sensor[1], (Row6{QStringLiteral("Gas"), QStringLiteral("Enable"), QStringLiteral("Warning"),
                                 QStringLiteral("Alarm"), QStringLiteral("STEL"), QStringLiteral("TWA")}));
    EXPECT_EQ(v.sensor[2], (Row6{QStringLiteral("H2S(100ppm)"), QString(), n, n, n, n}));
    EXPECT_FALSE(v.enabled[0] || v.enabled[1]);
    EXPECT_FALSE(v.spanFailed[0] || v.spanFailed[1]);
}

TEST_F(InstrumentInfoTest, StoredAndConnectedShowTheRecord)
{
    const clsInstrument r = Record();
    for (S state : {S::StoredRecord, S::Connected}) {
        const InstrumentInfoView v = BuildInstrumentInfo(Input(state, &r));
        EXPECT_EQ(v.caption, state == S::StoredRecord ? QStringLiteral("Instrument Information [Sample data]")
                                                       : QStringLiteral("Instrument Information [Connected]"));
        EXPECT_FALSE(v.serviceLabelsVisible);
        EXPECT_EQ(v.serialNo, QStringLiteral("SN123456"));
        EXPECT_EQ(v.stationId, QStringLiteral("ST-7"));
        EXPECT_EQ(v.userId, QStringLiteral("USER01"));
        EXPECT_EQ(v.romNumber, QStringLiteral("00123"));
        EXPECT_EQ(v.sum, QStringLiteral("A5C3"));
        EXPECT_EQ(v.calibration[2][0], QStringLiteral("CO(500ppm)"));
        EXPECT_EQ(v.calibration[2][1], QStringLiteral("2026/03/05 13:50:00"));
        EXPECT_EQ(v.calibration[2][2], QStringLiteral("12.0"));
        EXPECT_EQ(v.calibration[2][3], QStringLiteral("50.0"));
        EXPECT_EQ(v.calibration[2][4], QStringLiteral("20.9"));
        EXPECT_EQ(v.sensor[3], (std::array<QString, 6>{QStringLiteral("OXY(40VOL%)"), QString(), QStringLiteral("25.0"),
                                                       QStringLiteral("50.0"), QStringLiteral("-----"),
                                                       QStringLiteral("10.0")}));
        EXPECT_TRUE(v.enabled[0] && v.enabled[1]);
    }
}

TEST_F(InstrumentInfoTest, OverRuleAndCalibrationDates)
{
    clsInstrument r = Record();
    r.SetCalibBefore(1, 40.0f);   // equal to the full scale: a number
    r.SetCalibAfter(1, 40.5f);    // above: OVER
    r.SetCalibBefore(0, -107.0f); // a status code keeps its text
    r.SetCalibDate(0, MakeDate(1999, 12, 31));
    r.SetCalibDate(1, NoDate());
    const InstrumentInfoView v = BuildInstrumentInfo(Input(S::StoredRecord, &r));
    EXPECT_EQ(v.calibration[3][2], QStringLiteral("40.0"));
    EXPECT_EQ(v.calibration[3][3], QStringLiteral("OVER"));
    EXPECT_EQ(v.calibration[2][2], QStringLiteral("OVER"));
    EXPECT_EQ(v.calibration[2][1], QString());
    EXPECT_EQ(v.calibration[3][1], QString());
}

TEST_F(InstrumentInfoTest, ServiceModeAutoCalibration)
{
    const clsInstrument r = Record();
    InstrumentInfoInput in = Input(S::Connected, &r);
    in.serviceMode = true;
    InstrumentInfoView v = BuildInstrumentInfo(in);
    EXPECT_TRUE(v.serviceLabelsVisible);
    EXPECT_EQ(v.calibration[2][4], QStringLiteral("30.0")) << "the settings file's factory value";
    EXPECT_EQ(v.calibration[3][4], QStringLiteral("18.0"));
    in.state = S::StoredRecord;
    v = BuildInstrumentInfo(in);
    EXPECT_EQ(v.calibration[2][4], QStringLiteral("20.9")) << "a stored record shows its own";
}

TEST_F(InstrumentInfoTest, DisabledGasShowsDashes)
{
    clsInstrument r = Record();
    r.SetGasEnabled(1, false);
    const InstrumentInfoView v = BuildInstrumentInfo(Input(S::Connected, &r));
    EXPECT_FALSE(v.enabled[1]);
    for (int c = 2; c < 6; ++c)
        EXPECT_EQ(v.sensor[3][c], QStringLiteral("-----"));
}

TEST_F(InstrumentInfoTest, SpanRowsDuringAnAdjustment)
{
    // Gas 0 ticked, gas 1 not; gas 0's calibration date decides.
    const struct {
        qint64 calibratedSecondsAgo;
        bool failed;
    } cases[] = {{600, false}, {2 * 3600 - 1, false}, {2 * 3600, true}, {3 * 3600, true}, {-60, true}, {0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.calibratedSecondsAgo);
        clsInstrument r = Record();
        r.SetCalibDate(0, kNow.addSecs(-c.calibratedSecondsAgo));
        r.SetCalibAfter(1, 45.0f); // above the full scale, but gas 1 is not in the span
        InstrumentInfoInput in = Input(S::Connected, &r);
        in.processState = 4;
        in.spanSelection = {true, false};
        in.spanStartReading = {7.5f, -101.0f};
        const InstrumentInfoView v = BuildInstrumentInfo(in);
        EXPECT_EQ(v.spanFailed[0], c.failed);
        EXPECT_FALSE(v.spanFailed[1]);
        EXPECT_EQ(v.calibration[2][2], c.failed ? QStringLiteral("7.5") : QStringLiteral("12.0"));
        EXPECT_EQ(v.calibration[2][3], c.failed ? QStringLiteral("FAIL") : QStringLiteral("50.0"));
        EXPECT_EQ(v.calibration[3][3], QStringLiteral("45.0")) << "no OVER rule for a gas outside the span";
    }
}

TEST_F(InstrumentInfoTest, FailedSpanWithoutAStartReading)
{
    clsInstrument r = Record();
    r.SetCalibDate(1, kNow.addSecs(-3 * 3600));
    InstrumentInfoInput in = Input(S::Connected, &r);
    in.processState = 4;
    in.spanSelection = {false, true};
    const InstrumentInfoView v = BuildInstrumentInfo(in);
    EXPECT_TRUE(v.spanFailed[1]);
    EXPECT_EQ(v.calibration[3][2], QStringLiteral("-----"));
}

TEST_F(InstrumentInfoTest, JapaneseCaptions)
{
    SetResLanguage(ResLanguage::Japanese);
    const InstrumentInfoView v = BuildInstrumentInfo(Input(S::NoLink, nullptr));
    EXPECT_EQ(v.caption, GetResString(5057));
    EXPECT_NE(v.caption, QStringLiteral("Instrument Information [No connected]"));
}

} // namespace
