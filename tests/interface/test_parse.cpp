// The answer checks and the handlers of the instrument-information, live-
// reading, calibration and connect answers, on a control with no port.
#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "interface/frame.h"
#include "interface/uclQvif.h"
#include "records/instrument.h"
#include "temp_home.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QByteArray Answer(const QByteArray& command, char terminator = Wire::EOT)
{
    return BuildFrame(command, terminator);
}

class ParseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        ctl.SetTimerEnabled(false);
        ctl.SetSerialFileNo(1);
        ctl.SetInstrumentRef(&inst);
        inst.SetGasEnabled(0, true);
        inst.SetGasEnabled(1, true);
        inst.SetGasPoint(0, 1);
        inst.SetGasPoint(1, 0);
    }
    QByteArray Log() const
    {
        QFile f(home.file(QStringLiteral("SerialLog.log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool Parse(const QByteArray& command, char terminator = Wire::EOT)
    {
        return ctl.ParseResponse(Answer(command, terminator));
    }

    TempHome home;
    uclQvif ctl;
    clsInstrument inst;
};

} // namespace

TEST_F(ParseTest, ChecksLengthChecksumAndRefusal)
{
    // Ten characters with a good checksum: format error.
    const QByteArray ten = BuildFrame("A", Wire::EOT);
    ASSERT_EQ(ten.size(), 10);
    EXPECT_FALSE(ctl.ParseResponse(ten));
    EXPECT_TRUE(Log().contains("<<< Format error >>>"));
    EXPECT_EQ(App().ChecksumErrors, 0);

    // The same with a wrong checksum: a checksum error, counted.
    QByteArray bad = ten;
    bad[bad.size() - 2] = bad.at(bad.size() - 2) == '0' ? '1' : '0';
    EXPECT_FALSE(ctl.ParseResponse(bad));
    EXPECT_TRUE(Log().contains("<<< Check SUM error >>>"));
    EXPECT_EQ(App().ChecksumErrors, 1);

    // NAK at character 11, whatever the command.
    EXPECT_FALSE(Parse(QByteArray("ZZ,Q,\x15xyz")));
    EXPECT_TRUE(Log().contains("<<< NAK received >>>"));

    // An unknown command: false and nothing logged.
    const QByteArray before = Log();
    EXPECT_FALSE(Parse("QQ,R,1234"));
    EXPECT_EQ(Log(), before);

    // Garbage too short to hold a checksum, or non-hex checksum digits.
    EXPECT_FALSE(ctl.ParseResponse("\x04"));
    EXPECT_FALSE(ctl.ParseResponse(QByteArray("\x02" "0001A1,R,0001,0002\x03" "ZZ\x04")));
    EXPECT_TRUE(Log().contains("<<< Response error >>>"));
}

TEST_F(ParseTest, SetPointsPerGas)
{
    // Station text is ignored; a CR separates like ",".
    QByteArray station = Answer("A2,R,0064\r0FA0");
    station.replace(1, 4, "9999");
    station = BuildFrame(station.mid(5, station.size() - 9), Wire::EOT);
    station.replace(1, 4, "9999");
    const int sum = FrameChecksum(station);
    station.replace(station.size() - 3, 2, QByteArray::number(sum, 16).rightJustified(2, '0').toUpper());
    ASSERT_TRUE(ctl.ParseResponse(station));
    EXPECT_FLOAT_EQ(inst.Alarm(0), 10.0f);
    EXPECT_FLOAT_EQ(inst.Alarm(1), 4000.0f);
    EXPECT_FALSE(inst.Change_Alarm(0));

    inst.SetGasPoint(0, 1);
    ASSERT_TRUE(Parse("AS,R,FFF6,,,0001"));
    EXPECT_FLOAT_EQ(inst.Stel(0), -1.0f);

    // A disabled gas reads as no value whatever was sent.
    inst.SetGasEnabled(1, false);
    ASSERT_TRUE(Parse("A1,R,00C8,0FA0"));
    EXPECT_FLOAT_EQ(inst.Warning(0), 20.0f);
    EXPECT_FLOAT_EQ(inst.Warning(1), -101.0f);

    // Wrong count: silent false; a bad token fails that gas only.
    inst.SetGasEnabled(1, true);
    EXPECT_FALSE(Parse("AW,R,0001"));
    EXPECT_FALSE(Parse("AW,R,ZZZZ,0002"));
    EXPECT_FLOAT_EQ(inst.Twa(1), 2.0f);
}

TEST_F(ParseTest, GasTableAndLatestCalibration)
{
    // Gas 1 token of 17 characters: gas 1 unchanged, gas 2 filled.
    inst.SetGasName(0, QStringLiteral("H2S"));
    ASSERT_TRUE(Parse("GJ,R,CO    500  1.0ppm,OXY  40.0 0.01VOL%"));
    EXPECT_EQ(inst.GasName(0), QStringLiteral("H2S"));
    EXPECT_EQ(inst.GasName(1), QStringLiteral("OXY"));
    EXPECT_EQ(inst.GasPoint(1), 2);
    EXPECT_FLOAT_EQ(inst.GasDesit(1), 0.01f);
    ASSERT_TRUE(Parse("GJ,R,CO    500  100 ppm,******************"));
    EXPECT_EQ(inst.GasPoint(0), 0);
    EXPECT_FLOAT_EQ(inst.GasFullScale(0), 500.0f);
    EXPECT_FALSE(inst.GasEnabled(1));
    EXPECT_EQ(inst.GasPoint(1), -101);
    EXPECT_FALSE(Parse("GJ,R,CO    500  100 ppm"));
    EXPECT_TRUE(Log().contains("<<< Format error >>>"));
    EXPECT_FALSE(Parse("GJ,R,CO    5x0  100 ppm,******************"));
    EXPECT_TRUE(Log().contains("<<< Response error >>>"));

    ASSERT_TRUE(Parse("SO,R,240305140709 12.0 50.0,240306010203*****  0.5"));
    EXPECT_EQ(inst.CalibDate(0), MakeDate(2024, 3, 5, 14, 7, 9));
    EXPECT_FLOAT_EQ(inst.CalibBefore(0), 12.0f);
    EXPECT_FLOAT_EQ(inst.CalibAfter(0), 50.0f);
    EXPECT_FLOAT_EQ(inst.CalibBefore(1), -101.0f);
    EXPECT_FLOAT_EQ(inst.CalibAfter(1), 0.5f);
    // No date in the answer: the held date stays as it is, readings are taken.
    ASSERT_TRUE(Parse("SO,R,******010203  1.0  2.0,240306010203  3.0  4.0"));
    EXPECT_EQ(inst.CalibDate(0), MakeDate(2024, 3, 5, 14, 7, 9));
    EXPECT_FLOAT_EQ(inst.CalibBefore(0), 1.0f);
    EXPECT_FALSE(Parse("SO,R,240305140709 12.0 50.0"));
}

TEST_F(ParseTest, IdentityClockAndOptions)
{
    ASSERT_TRUE(Parse("IN,R,SN0001      "));
    EXPECT_EQ(inst.SerialNo(), QStringLiteral("SN0001"));
    EXPECT_EQ(inst.Model(), QString()); // no connect answer yet
    ASSERT_TRUE(Parse("XZ,R,          "));
    EXPECT_EQ(inst.UserID(), QStringLiteral("*"));

    SetClock([] { return MakeDate(2024, 3, 5, 15, 7, 9); });
    ASSERT_TRUE(Parse("HC,R,240305140709"));
    EXPECT_EQ(inst.SysDate(), MakeDate(2024, 3, 5, 14, 7, 9));
    EXPECT_NEAR(inst.SysDateOffset(), 1.0 / 24.0, 1e-9);
    SetClock({});
    EXPECT_FALSE(Parse("HC,R,240305250709"));
    EXPECT_EQ(inst.FailLine(), QStringLiteral("HC,R"));
    EXPECT_FALSE(Parse("HC,R,2403051407"));

    ASSERT_TRUE(Parse("VP,R,1203,A5C3"));
    EXPECT_EQ(inst.RomNumber(), 1203);
    EXPECT_FALSE(Parse("VP,R,X1,A5C3"));
    ASSERT_TRUE(Parse("HB,R,0BB8"));
    EXPECT_FLOAT_EQ(inst.Battery(), 3.0f);
    EXPECT_FALSE(Parse("HA,R,1,2,3,4"));
    EXPECT_TRUE(Log().contains("<<< Response error >>>"));
    ASSERT_TRUE(Parse("HA,R,1,FFFF,zz,4,5"));
    EXPECT_EQ(inst.AnalogValue(1), -1);
    ASSERT_TRUE(Parse("XT,R,0A"));
    EXPECT_EQ(inst.BackLight(), 10);
    EXPECT_FALSE(Parse("XT,R,0G"));

    // Value echoes.
    inst.SetBackLight(10);
    EXPECT_TRUE(Parse("XT,W,000A"));
    inst.SetStationID(QStringLiteral("ST-7"));
    EXPECT_TRUE(Parse("XS,W,ST-7      "));
    EXPECT_FALSE(Parse("XS,W,ST-8      "));
}

TEST_F(ParseTest, EveryTextSettingEchoesWhatItsReadAnswerStored)
{
    // A read answer stores the text and clears its change flag; the write
    // echo of the same setting must then match it, and only it.
    for (const char* code : {"XZ", "XS", "IN", "HN", "UJ", "UV", "AP", "AT", "AU", "AV", "AL", "WD"}) {
        const QByteArray c(code);
        inst.SetChange_UserID(true);
        inst.SetChange_StationID(true);
        inst.SetChange_SerialNo(true);
        inst.SetChange_DummySerial(true);
        inst.SetChange_SpecType(true);
        inst.SetChange_ColdDistricts(true);
        inst.SetChange_OxyAlarmType(true);
        inst.SetChange_WarningType(true);
        inst.SetChange_AlarmType(true);
        inst.SetChange_Vibration(true);
        inst.SetChange_AlarmPassword(true);
        inst.SetChange_WarmDisp(true);
        ASSERT_TRUE(Parse(c + ",R,42")) << code;
        const int flagsLeft = inst.Change_UserID() + inst.Change_StationID() + inst.Change_SerialNo()
                              + inst.Change_DummySerial() + inst.Change_SpecType() + inst.Change_ColdDistricts()
                              + inst.Change_OxyAlarmType() + inst.Change_WarningType() + inst.Change_AlarmType()
                              + inst.Change_Vibration() + inst.Change_AlarmPassword() + inst.Change_WarmDisp();
        EXPECT_EQ(flagsLeft, 11) << code;
        EXPECT_TRUE(Parse(c + ",W,42")) << code;
        EXPECT_FALSE(Parse(c + ",W,43")) << code;
        ASSERT_TRUE(Parse(c + ",R,x")) << code; // the next setting starts from another text
    }
}

TEST_F(ParseTest, LiveReadingsAndCalibrationAnswers)
{
    QSignalSpy densty(&ctl, &QvifPort::Densty);
    inst.SetGasPoint(0, 1);
    ASSERT_TRUE(Parse("DN,R,FAIL,****"));
    ASSERT_EQ(densty.count(), 1);
    EXPECT_FLOAT_EQ(densty.at(0).at(0).toFloat(), -110.0f);
    EXPECT_FLOAT_EQ(densty.at(0).at(1).toFloat(), -101.0f);
    ASSERT_TRUE(Parse("DN,R,00C8,0010"));
    ASSERT_TRUE(Parse("DN,R,what,0011"));
    EXPECT_FLOAT_EQ(densty.at(2).at(0).toFloat(), 20.0f); // kept
    inst.SetGasEnabled(1, false);
    ASSERT_TRUE(Parse("DN,R,00C8,0010"));
    EXPECT_FLOAT_EQ(densty.at(3).at(1).toFloat(), -101.0f);
    EXPECT_FALSE(Parse("DN,R,00C8"));

    ASSERT_TRUE(Parse("S1,R,00C8,0064,0010,0020"));
    EXPECT_FLOAT_EQ(inst.AutoCalib(0), 20.0f);
    EXPECT_EQ(inst.CalCoefficient(0), 100);
    EXPECT_FLOAT_EQ(inst.AutoCalib(1), -101.0f);
    EXPECT_EQ(inst.CalCoefficient(1), -101);
    EXPECT_FALSE(Parse("S1,R,QQQQ,0064,0010,0020"));

    ASSERT_TRUE(Parse("SZ,R,000B,FFFE,012C"));
    EXPECT_EQ(inst.AirP1Coefficient(), 11);
    EXPECT_EQ(inst.AirO2Coefficient(), -101); // gas 2 disabled
    EXPECT_FALSE(inst.Change_AirCoefficient());

    ASSERT_TRUE(Parse("SZ,C,01"));
    EXPECT_TRUE(ctl.ZeroStatus(0));
    EXPECT_FALSE(ctl.ZeroStatus(1));
    EXPECT_FALSE(ctl.ZeroStatus(2));
    ASSERT_TRUE(Parse(QByteArray("S1,C,\x1A" "x")));
    EXPECT_FALSE(ctl.SpanStatus(0));
    EXPECT_FALSE(Parse("S1,C,123"));
    EXPECT_TRUE(Parse(QByteArray("XC,E,\x06" "x")));
    EXPECT_FALSE(Parse(QByteArray("XC,E,\x07" "x")));
    EXPECT_TRUE(Parse(QByteArray("XC,C,\x07" "x")));
}

TEST_F(ParseTest, ConnectAnswer)
{
    QSignalSpy connected(&ctl, &QvifPort::OnConnect);
    EXPECT_FALSE(Parse("RC,R,KV-9"));
    EXPECT_EQ(ctl.RCName(), QString());
    ASSERT_TRUE(Parse("RC,R,KV-3 "));
    EXPECT_EQ(ctl.RCName(), QStringLiteral("KV-3"));
    EXPECT_EQ(ctl.LinkState(), 3);
    ASSERT_TRUE(Parse("RC,R,KV-4"));
    EXPECT_EQ(ctl.RCName(), QStringLiteral("KV-4"));
    QCoreApplication::processEvents();
    EXPECT_EQ(connected.count(), 1); // once per connection, queued
    ASSERT_TRUE(Parse("IN,R,SN1"));
    EXPECT_EQ(inst.Model(), QStringLiteral("KV-4"));
}

TEST_F(ParseTest, PropertiesAndTheirLimits)
{
    uclQvif fresh;
    EXPECT_EQ(fresh.Settings(), QStringLiteral("19200,E,8,1"));
    EXPECT_EQ(fresh.CommPort(), 1);
    EXPECT_TRUE(fresh.DTREnable());
    EXPECT_FALSE(fresh.RTSEnable());
    EXPECT_FALSE(fresh.PortOpen());
    EXPECT_FALSE(fresh.Irda()->IsConnected()); // no infrared device on this platform
    EXPECT_EQ(fresh.Timeout(), 3);
    EXPECT_EQ(fresh.Retry(), 3);
    fresh.SetTimeout(0);
    EXPECT_EQ(fresh.Timeout(), 3);
    fresh.SetTimeout(5000);
    EXPECT_EQ(fresh.Timeout(), 3276);
    fresh.SetTimeout(-4);
    EXPECT_EQ(fresh.Timeout(), 1);
    fresh.SetRetry(0);
    EXPECT_EQ(fresh.Retry(), 3);
    fresh.SetRetry(5);
    EXPECT_EQ(fresh.Retry(), 5);
    EXPECT_THROW(fresh.FactCal(5), std::out_of_range);
    fresh.SetFactCal(4, 77);
    EXPECT_EQ(fresh.FactCal(4), 77);
    fresh.SetStatus(3);
    EXPECT_FALSE(fresh.DisConnect());
    EXPECT_EQ(fresh.Status(), 2);
    fresh.SetConnected(true);
    EXPECT_FALSE(fresh.Connected());
    fresh.SetInstrumentRef(nullptr);
    EXPECT_EQ(fresh.Instrument(), nullptr);
    clsInstrument other;
    EXPECT_FALSE(fresh.GetInstrument(nullptr));
    EXPECT_EQ(fresh.Status(), 2);
}
