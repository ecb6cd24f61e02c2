// The settings audit log: file name, header, one line per call, fields.
#include "common/appstate.h"
#include "common/dates.h"
#include "common/resstrings.h"
#include "download/audit_log.h"
#include "records/instrument.h"
#include "temp_home.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QStringList Lines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

clsInstrument SampleInstrument()
{
    clsInstrument inst;
    inst.SetSerialNo(QStringLiteral("SN123456"));
    inst.SetDummySerial(QStringLiteral("DUMMY1"));
    inst.SetStationID(QStringLiteral("ST-7"));
    inst.SetUserID(QStringLiteral("USER01"));
    inst.SetModel(QStringLiteral("KV-5"));
    inst.SetRomNumber(1203);
    inst.SetSUM(QStringLiteral("A5C3"));
    inst.SetSpecType(QStringLiteral("00"));
    inst.SetColdDistricts(QStringLiteral("01"));
    inst.SetOxyAlarmType(QStringLiteral("01"));
    inst.SetWarningType(QStringLiteral("00"));
    inst.SetAlarmType(QStringLiteral("01"));
    inst.SetVibration(QStringLiteral("01"));
    inst.SetBackLight(10);
    inst.SetAlarmPassword(QStringLiteral("00"));
    inst.SetWarmDisp(QStringLiteral("01"));
    inst.SetWarmTime(30);
    inst.SetGasEnabled(0, true);
    inst.SetGasName(0, QStringLiteral("CO"));
    inst.SetGasPoint(0, 0);
    inst.SetWarning(0, 50);
    inst.SetAlarm(0, 150);
    inst.SetStel(0, 200);
    inst.SetTwa(0, 50);
    inst.SetAutoCalib(0, 80);
    inst.SetGasEnabled(1, true);
    inst.SetGasName(1, QStringLiteral("OXY"));
    inst.SetGasPoint(1, 1);
    inst.SetWarning(1, 19.5f);
    inst.SetAlarm(1, 18.0f);
    inst.SetStel(1, -101);
    inst.SetTwa(1, -101);
    inst.SetAutoCalib(1, 0);
    inst.SetSysDateOffset(1.0 / 24.0); // the PC is one hour ahead
    return inst;
}

class AuditLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
    }
    TempHome home;
};

TEST_F(AuditLogTest, HeaderOnceThenOneLinePerCall)
{
    const clsInstrument inst = SampleInstrument();
    const QDateTime pc = MakeDate(2026, 12, 8, 10, 20, 30);
    ASSERT_TRUE(AppendSettingsAudit(inst, QString(), pc));
    const QString path = home.file("Pelkar_Setting.csv");
    QStringList lines = Lines(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0],
              QStringLiteral("PC Date/Time,Pelkar Date/Time,Serial No.,(Serial No.),Station ID,User ID,MODEL,"
                             "Program No,SUM,Destination,For Cold Districts,Oxy Alarm Type,Warning Condition,"
                             "Alarm Condition,Vibration,Back Light Time(Sec),Alarm Password,Warm time Disp,"
                             "Warm time,Gas(Gas1),Warning(Gas1),Alarm(Gas1),STEL(Gas1),TWA(Gas1),"
                             "Auto Cal.(Gas1),Gas(Gas2),Warning(Gas2),Alarm(Gas2),STEL(Gas2),TWA(Gas2),"
                             "Auto Cal.(Gas2)"));
    EXPECT_EQ(lines[1],
              QStringLiteral("2026/12/08 10:20:30,2026/12/08 09:20:30,SN123456,DUMMY1,ST-7,USER01,KV-5,1203,"
                             "A5C3,Domestic,Standard,L-H,Restart,Keep,Only at power supply on,10,OFF,ON,30,"
                             "CO,   50,  150,  200,   50,   80,OXY, 19.5, 18.0,00000,00000,  0.0"));

    ASSERT_TRUE(AppendSettingsAudit(inst, QString(), pc.addSecs(60)));
    lines = Lines(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2026/12/08 10:21:30,")));
}

TEST_F(AuditLogTest, SuffixDisabledGasAndUnknownVibration)
{
    clsInstrument inst = SampleInstrument();
    inst.SetGasEnabled(1, false);
    inst.SetVibration(QStringLiteral("07"));
    ASSERT_TRUE(AppendSettingsAudit(inst, QStringLiteral("A1"), MakeDate(2026, 1, 2, 3, 4, 5)));
    EXPECT_FALSE(QFileInfo::exists(home.file("Pelkar_Setting.csv")));
    const QStringList lines = Lines(home.file("Pelkar_SettingA1.csv"));
    ASSERT_EQ(lines.size(), 2);
    const QStringList fields = lines[1].split(QLatin1Char(','));
    ASSERT_EQ(fields.size(), 31);
    EXPECT_EQ(fields[14], QString());            // vibration "07"
    EXPECT_EQ(fields[15], QStringLiteral("10")); // backlight still in place
    for (int i = 25; i < 31; ++i)
        EXPECT_EQ(fields[i], QStringLiteral("-----")) << i;
}

TEST_F(AuditLogTest, ExistingFileIsOnlyAppendedTo)
{
    {
        QFile f(home.file("Pelkar_Setting.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old header\r\n");
    }
    ASSERT_TRUE(AppendSettingsAudit(SampleInstrument(), QString(), MakeDate(2026, 1, 2)));
    const QStringList lines = Lines(home.file("Pelkar_Setting.csv"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("old header"));
}

TEST_F(AuditLogTest, UnwritableFolderIsReported)
{
    QString error;
    // A suffix naming a missing folder: the file cannot be created.
    EXPECT_FALSE(AppendSettingsAudit(SampleInstrument(), QStringLiteral("/missing/x"), MakeDate(2026, 1, 2), &error));
    EXPECT_FALSE(error.isEmpty());
    // The reason in the program's language; the system's words go to the
    // serial log.
    SetResLanguage(ResLanguage::Japanese);
    EXPECT_FALSE(AppendSettingsAudit(SampleInstrument(), QStringLiteral("/missing/x"), MakeDate(2026, 1, 2), &error));
    SetResLanguage(ResLanguage::English);
    EXPECT_EQ(error, QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"));
    EXPECT_TRUE(Lines(home.file("SerialLog.log")).last().endsWith(qt_error_string(ENOENT)));
}

} // namespace
