#include "records/instrument.h"

#include "record_fixture.h"

#include "common/dates.h"

#include <gtest/gtest.h>

TEST(Instrument, NewObjectDefaults)
{
    clsInstrument in;
    EXPECT_EQ(in.UserID(), "*");
    EXPECT_EQ(in.StationID(), "*");
    EXPECT_EQ(in.SerialNo(), "*");
    EXPECT_EQ(in.DummySerial(), "*");
    EXPECT_EQ(in.SpecType(), "00");
    EXPECT_FLOAT_EQ(in.GasDesit(0), 1.0f);
    EXPECT_FLOAT_EQ(in.Alarm(1), -101.0f);
    EXPECT_EQ(in.SysDate(), DateZero());
    EXPECT_EQ(in.CalibDate(0), DateZero());
    for (int g = 0; g < 2; ++g) {
        EXPECT_FALSE(in.Change_GasPoint(g) || in.Change_GasEnable(g) || in.Change_Warn(g)
                     || in.Change_Alarm(g) || in.Change_Stel(g) || in.Change_Twa(g)
                     || in.Change_CalCoefficient(g) || in.Change_AutoCal(g));
    }
    EXPECT_FALSE(in.Change_UserID() || in.Change_StationID() || in.Change_SerialNo()
                 || in.Change_DummySerial() || in.Change_SpecType() || in.Change_ColdDistricts()
                 || in.Change_OxyAlarmType() || in.Change_WarningType() || in.Change_AlarmType()
                 || in.Change_Vibration() || in.Change_BackLight() || in.Change_AlarmPassword()
                 || in.Change_AirCoefficient() || in.Change_WarmDisp() || in.Change_WarmTime());
}

TEST(Instrument, IdentityTextsAreTrimmedOrStar)
{
    clsInstrument in;
    in.SetStationID("  ");
    EXPECT_EQ(in.StationID(), "*");
    EXPECT_TRUE(in.Change_StationID());
    in.SetStationID(" A1 ");
    EXPECT_EQ(in.StationID(), "A1");
    in.SetUserID(" O'Brien ");
    EXPECT_EQ(in.UserID(), "O'Brien");
    in.SetDummySerial("");
    EXPECT_EQ(in.DummySerial(), "*");
    EXPECT_TRUE(in.Change_DummySerial());
}

TEST(Instrument, SettersMarkEvenTheSameValue)
{
    clsInstrument in;
    in.SetWarning(0, -101.0f); // the value it already holds
    EXPECT_TRUE(in.Change_Warn(0));
    EXPECT_FALSE(in.Change_Warn(1));

    in.SetAirO2Coefficient(5);
    EXPECT_TRUE(in.Change_AirCoefficient());

    in.SetCalCoefficient(0, 7);
    EXPECT_FALSE(in.Change_CalCoefficient(0));

    // Settings without a flag.
    in.SetGasName(0, "H2S");
    in.SetCalibBefore(0, 1.0f);
    in.SetBattery(3.1f);
    in.ClearChangeFlags();
    in.SetGasName(1, "OXY");
    EXPECT_FALSE(in.Change_GasPoint(1) || in.Change_GasEnable(1));

    in.SetGasPoint(1, 1);
    in.SetGasEnabled(1, true);
    in.SetAutoCalib(1, 20.9f);
    in.SetStel(1, 1);
    in.SetTwa(1, 1);
    in.SetAlarm(1, 1);
    EXPECT_TRUE(in.Change_GasPoint(1) && in.Change_GasEnable(1) && in.Change_AutoCal(1)
                && in.Change_Stel(1) && in.Change_Twa(1) && in.Change_Alarm(1));
    in.SetSpecType("01");
    in.SetBackLight(1);
    in.SetWarmTime(3);
    EXPECT_TRUE(in.Change_SpecType() && in.Change_BackLight() && in.Change_WarmTime());
}

TEST(Instrument, CalCoefficientFlagSurvivesClears)
{
    clsInstrument in;
    in.SetChange_CalCoefficient(1, true);
    in.SetAutoCalib(1, 3.0f);
    in.ClearChangeFlags();
    EXPECT_TRUE(in.Change_CalCoefficient(1));
    EXPECT_FALSE(in.Change_AutoCal(1));
    in.ClearDatas();
    EXPECT_TRUE(in.Change_CalCoefficient(1));
}

TEST(Instrument, BadGasIndexReadsZeroAndWritesNothing)
{
    clsInstrument in;
    in.SetGasName(2, "CO");
    EXPECT_EQ(in.GasName(2), QString());
    EXPECT_EQ(in.GasName(0), QString());
    in.SetAlarm(-1, 5.0f);
    EXPECT_FLOAT_EQ(in.Alarm(-1), 0.0f);
    EXPECT_FALSE(in.Change_Alarm(-1));
    EXPECT_EQ(in.CalibDate(2), DateZero());
    in.SetAnalogValue(11, 3);
    EXPECT_EQ(in.AnalogValue(11), 0);
    in.SetAnalogValue(10, 3);
    EXPECT_EQ(in.AnalogValue(10), 3);
    in.SetLimitValue(3, 1.0f);
    EXPECT_FLOAT_EQ(in.LimitValue(3), 0.0f);
}

TEST(Instrument, ClearDatasKeepsUnlistedFields)
{
    clsInstrument in;
    in.SetFailLine("HC,R");
    in.SetModel("GX01");
    in.SetSUM("ABCD");
    in.SetGasUnit(0, "ppm");
    in.SetGasFullScale(0, 100.0f);
    const QDateTime d = MakeDate(2031, 5, 6, 7, 8, 9);
    in.SetCalibDate(0, d);
    in.SetCalCoefficient(0, 42);
    in.SetLogMax(1, 9.5f);
    in.SetLogMaxDate(1, d);
    in.SetBattery(2.5f);
    in.SetColdDistricts("01");
    in.SetWarmDisp("02");
    // Fields that ClearDatas resets.
    in.SetKey("k");
    in.SetMessageString("m");
    in.SetCommFlags(-1);
    in.SetUserID("U");
    in.SetRomNumber(12);
    in.SetSysDate(d);
    in.SetSysDateOffset(2.0);
    in.SetSpecType("02");
    in.SetGasName(0, "H2S");
    in.SetGasDesit(0, 0.5f);
    in.SetGasEnabled(0, true);
    in.SetGasPoint(0, 1);
    in.SetWarning(0, 5);
    in.SetCalibAfter(0, 3);

    in.ClearDatas();
    EXPECT_EQ(in.FailLine(), "HC,R");
    EXPECT_EQ(in.Model(), "GX01");
    EXPECT_EQ(in.SUM(), "ABCD");
    EXPECT_EQ(in.GasUnit(0), "ppm");
    EXPECT_FLOAT_EQ(in.GasFullScale(0), 100.0f);
    EXPECT_EQ(in.CalibDate(0), d);
    EXPECT_EQ(in.CalCoefficient(0), 42);
    EXPECT_FLOAT_EQ(in.LogMax(1), 9.5f);
    EXPECT_EQ(in.LogMaxDate(1), d);
    EXPECT_FLOAT_EQ(in.Battery(), 2.5f);
    EXPECT_EQ(in.ColdDistricts(), "01");
    EXPECT_EQ(in.WarmDisp(), "02");

    EXPECT_EQ(in.Key(), "");
    EXPECT_EQ(in.MessageString(), "");
    EXPECT_EQ(in.CommFlags(), 0);
    EXPECT_EQ(in.UserID(), "*");
    EXPECT_EQ(in.RomNumber(), 0);
    EXPECT_EQ(in.SysDate(), DateZero());
    EXPECT_EQ(in.SysDateOffset(), 0.0);
    EXPECT_EQ(in.SpecType(), "00");
    EXPECT_EQ(in.GasName(0), "");
    EXPECT_FLOAT_EQ(in.GasDesit(0), 1.0f);
    EXPECT_FALSE(in.GasEnabled(0));
    EXPECT_EQ(in.GasPoint(0), 0);
    EXPECT_FLOAT_EQ(in.Warning(0), -101.0f);
    EXPECT_FLOAT_EQ(in.CalibAfter(0), -101.0f);
    EXPECT_FALSE(in.Change_UserID() || in.Change_GasEnable(0) || in.Change_SpecType());
}

// ---- log database --------------------------------------------------------


namespace {
class InstrumentDbTest : public RecordDbTest {
protected:
    QVariant Cell(const QString& sql)
    {
        LogDb db;
        QSqlQuery q(db.Db());
        q.exec(sql);
        return q.next() ? q.value(0) : QVariant();
    }
};
} // namespace

TEST_F(InstrumentDbTest, LoadDatabaseReadsTheHeadWithItsDefaults)
{
    Exec("Insert Into Log_Head(SeqNo,Model,UserID,StationID,SerialNo,Gas1Name,Gas1Full,Gas1Desit,"
         "Gas1Point,Gas1Unit,Gas1Enable,Gas1Max,Gas1Min,Gas1Avr,Gas1MaxDate,Gas2Enable,Gas2Name) "
         "Values (4000000000,'GX01','','O''B',' S1 ','H2S',100,Null,1,'ppm',0,Null,2.5,1.5,"
         "'2031-01-02 03:04:05',Null,Null);");
    clsInstrument in;
    in.SetAlarm(0, 7.0f);
    in.ClearChangeFlags();
    ASSERT_TRUE(in.LoadDatabase(4000000000LL));
    EXPECT_EQ(in.Model(), "GX01");
    EXPECT_EQ(in.UserID(), "*");
    EXPECT_EQ(in.StationID(), "O'B");
    EXPECT_EQ(in.SerialNo(), "S1");
    EXPECT_FALSE(in.Change_UserID() || in.Change_GasEnable(0) || in.Change_GasPoint(0));
    EXPECT_EQ(in.GasName(0), "H2S");
    EXPECT_FLOAT_EQ(in.GasFullScale(0), 100.0f);
    EXPECT_FLOAT_EQ(in.GasDesit(0), 0.0f);
    EXPECT_EQ(in.GasPoint(0), 1);
    EXPECT_EQ(in.GasUnit(0), "ppm");
    EXPECT_FALSE(in.GasEnabled(0));
    EXPECT_FLOAT_EQ(in.LogMax(0), -101.0f);
    EXPECT_FLOAT_EQ(in.LogMin(0), 2.5f);
    EXPECT_EQ(in.LogMaxDate(0), MakeDate(2031, 1, 2, 3, 4, 5));
    EXPECT_EQ(in.LogMinDate(0), DisabledDate());
    EXPECT_TRUE(in.GasEnabled(1));
    EXPECT_EQ(in.GasName(1), "*");
    EXPECT_EQ(in.GasUnit(1), " ");
    EXPECT_FLOAT_EQ(in.Alarm(0), 7.0f); // set points are not stored with a record

    // A key that matches no row changes nothing.
    in.SetModel("kept");
    ASSERT_TRUE(in.LoadDatabase(1));
    EXPECT_EQ(in.Model(), "kept");
}

TEST_F(InstrumentDbTest, HistoryUpdateKeepsOneRowPerInstrument)
{
    clsInstrument in;
    in.SetUserID("O'Brien");
    in.SetStationID("  ");
    in.SetSerialNo("SN1");
    in.SetGasName(0, "H2S");
    in.SetGasUnit(0, "ppm");
    in.SetGasFullScale(0, 100.0f);
    in.SetGasDesit(0, 0.1f);
    in.SetGasPoint(0, 1);
    in.SetGasEnabled(0, true);
    in.SetAutoCalib(1, 20.9f);
    in.SetCalibDate(0, MakeDate(2031, 6, 7, 8, 9, 10));
    in.SetCalibBefore(0, 0.5f);
    in.SetCalibAfter(0, 50.0f);
    ASSERT_TRUE(in.HistoryUpdate());
    EXPECT_EQ(Rows("cLatestHist", "Where SeqNo=1 And StationID='*' And UserID='O''Brien'"), 1);
    EXPECT_EQ(Cell("Select Gas1CalDate From cLatestHist").toString(), "2031-06-07 08:09:10");
    EXPECT_DOUBLE_EQ(Cell("Select Gas1Desit From cLatestHist").toDouble(), 0.1);
    EXPECT_DOUBLE_EQ(Cell("Select Gas2AutoCal From cLatestHist").toDouble(), 20.9);
    EXPECT_DOUBLE_EQ(Cell("Select Gas1After From cLatestHist").toDouble(), 50.0);

    // Another instrument's row with a key far beyond 16 bits.
    Exec("Insert Into cLatestHist(SeqNo,StationID,UserID,SerialNo) Values (6000000000,'*','X','Y');");
    in.SetCalibAfter(0, 49.5f);
    ASSERT_TRUE(in.HistoryUpdate());
    EXPECT_EQ(Rows("cLatestHist"), 2);
    EXPECT_EQ(Rows("cLatestHist", "Where SeqNo=6000000001 And UserID='O''Brien' And Gas1After=49.5"), 1);

    // A failed insert keeps the instrument's row.
    Exec("Create Trigger stop Before Insert On cLatestHist Begin Select Raise(Abort, 'full'); End;");
    in.SetCalibAfter(0, 1.0f);
    EXPECT_FALSE(in.HistoryUpdate());
    EXPECT_EQ(Rows("cLatestHist", "Where UserID='O''Brien' And Gas1After=49.5"), 1);

    // Without a database file nothing happens.
    Exec("Drop Trigger stop;");
    QFile::remove(LogDatabasePath());
    EXPECT_FALSE(in.HistoryUpdate());
    EXPECT_FALSE(QFile::exists(LogDatabasePath()));
}
