#include "record_fixture.h"

#include "records/collections.h"

#include "common/dates.h"
#include "common/resstrings.h"

namespace {

// A calibration-history line: two unread characters, date, time, before, after.
QString HL(const QString& date, const QString& time, const QString& before = "0.0",
           const QString& after = "20.9")
{
    return "01" + date + time + RFit(before, 5) + RFit(after, 5);
}
// A power-event line.
QString FD(const QString& date, const QString& time, bool on, const QString& lg = "01")
{
    return lg + "FD" + date + time + (on ? "1111" : "0000") + "0000";
}

QDateTime At(int d, int h, int m, int s)
{
    return MakeDate(2024, 5, d, h, m, s);
}

class HistoryTest : public RecordDbTest {
protected:
    clsInstrument inst;
    clsHistorys col;
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        inst.SetModel("GX01");
        inst.SetRomNumber(3);
        inst.SetUserID("O'Brien");
        inst.SetStationID("ST1");
        inst.SetSerialNo("SN1");
        inst.SetGasName(0, "H2S");
        inst.SetGasUnit(0, "ppm");
        inst.SetGasDesit(0, 0.1f);
        inst.SetGasEnabled(0, true);
        inst.SetGasName(1, "OXY");
        inst.SetAutoCalib(1, 20.9f);
        col.SetInstruments(&inst);
    }
    // Feeds lines of one gas as one block.
    bool Gas(int gas, const QStringList& lines)
    {
        return FeedBlock(lines, [&](const QString& l, bool checkOnly) {
            return col.SetDatas(gas, l, checkOnly);
        });
    }
};

class PowerTest : public RecordDbTest {
protected:
    clsInstrument inst;
    clsPowerEvents col;
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        inst.SetModel("GX01");
        inst.SetUserID("U'1");
        inst.SetSysDate(At(20, 8, 0, 0));
        col.SetInstruments(&inst);
    }
};

} // namespace

TEST_F(HistoryTest, LinesOfBothGasesShareEntries)
{
    ASSERT_TRUE(Gas(0, {HL("240517", "120000", "0.0", "10.0"), HL("240517", "120000", "0.5", "10.5"),
                        HL("240517", "120001")}));
    ASSERT_TRUE(Gas(1, {HL("240517", "120000", "20.0", "20.9"), HL("240518", "090000", "FAIL", "OVER")}));
    ASSERT_EQ(col.Count(), 1);
    clsHistory* r = col.Item("01 L");
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(r->Error());
    ASSERT_EQ(r->DCount(), 3);
    EXPECT_EQ(r->Dates(0), At(17, 12, 0, 0));
    EXPECT_FLOAT_EQ(r->Before(0, 0), 0.5f); // the second line of that moment overwrites the first
    EXPECT_FLOAT_EQ(r->After(0, 0), 10.5f);
    EXPECT_FLOAT_EQ(r->After(1, 0), 20.9f);
    EXPECT_EQ(r->Dates(1), At(17, 12, 0, 1)); // one second apart: another entry
    EXPECT_EQ(r->Dates(2), At(18, 9, 0, 0));
    EXPECT_FLOAT_EQ(r->Before(0, 2), -101.0f);
    EXPECT_FLOAT_EQ(r->Before(1, 2), -110.0f);
    EXPECT_FLOAT_EQ(r->After(1, 2), -107.0f);
    EXPECT_FALSE(r->GasListInfo(0, 5).isValid());
    EXPECT_FALSE(r->GasBaseInfo(0).isValid());
}

// A block of the second gas whose lines read as the block of the first gas
// stored last is no block sent again: it fills the second gas.
TEST_F(HistoryTest, SecondGasLinesAlikeTheFirstGasAreStored)
{
    const QStringList lines{HL("240517", "120000", "0.0", "50.0"), HL("240601", "093000", "0.0", "50.0")};
    ASSERT_TRUE(Gas(0, lines));
    ASSERT_TRUE(Gas(1, lines));
    clsHistory* r = col.Item(1);
    ASSERT_EQ(r->DCount(), 2);
    for (int e = 0; e < 2; ++e) {
        EXPECT_FLOAT_EQ(r->After(0, e), 50.0f) << e;
        EXPECT_FLOAT_EQ(r->After(1, e), 50.0f) << e;
    }
}

TEST_F(HistoryTest, BadLines)
{
    struct Case {
        QString line;
        bool result;
        bool error;
        int entries;
        QDateTime date;
    };
    const Case cases[] = {
        {HL("000000", "120000"), true, true, 0, {}},
        {HL("240517", "256000"), true, true, 1, At(17, 0, 0, 0)},
        {HL("240517", "120000").left(20), false, false, 0, {}},
        {HL("240517", "120000", "1.0", "2.0").left(21), true, false, 1, At(17, 12, 0, 0)},
    };
    for (const Case& c : cases) {
        clsHistorys one;
        EXPECT_EQ(one.SetDatas(0, c.line, true), c.result) << c.line.toStdString();
        EXPECT_EQ(one.SetDatas(0, c.line, false), c.result);
        EXPECT_EQ(one.FailLine(), ""); // a history line is never listed, not even a failed one
        clsHistory* r = one.Item(1);
        if (!c.result) {
            EXPECT_EQ(r, nullptr);
            continue;
        }
        EXPECT_EQ(r->Error(), c.error);
        ASSERT_EQ(r->DCount(), c.entries);
        if (c.entries) {
            EXPECT_EQ(r->Dates(0), c.date);
        }
    }
    // A 21-character line reads its after field from positions 20 and 21.
    clsHistorys short21;
    short21.SetDatas(0, "01240517120000  1.0" + QString("35"), false);
    EXPECT_FLOAT_EQ(short21.Item(1)->After(0, 0), 35.0f);
}

TEST_F(HistoryTest, DownloadKeepsAtMost299Entries)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << HL(QDate(2024, 1, 1).addDays(i).toString("yyMMdd"), "120000", "1.0", "2.0");
    ASSERT_TRUE(Gas(0, lines));
    clsHistory* r = col.Item(1);
    EXPECT_EQ(r->DCount(), 299);
    ASSERT_TRUE(Gas(0, {HL("240101", "120000", "9.0", "9.0")}));
    EXPECT_FLOAT_EQ(r->Before(0, 0), 1.0f);
}

TEST_F(HistoryTest, StoresOnceAndAppendsOnlyNewEntries)
{
    ASSERT_TRUE(Gas(0, {HL("240517", "120000"), HL("240518", "120000")}));
    ASSERT_TRUE(Gas(1, {HL("240517", "120000", "20.0", "20.9")}));
    clsHistory* r = col.Item(1);
    ASSERT_TRUE(r->HistoryUpdate());
    EXPECT_EQ(Rows("Log_Head", "Where Types=3 And FolderID='-----' And Dcount=0 And "
                               "Names='Calibration Histories' And UserID='O''Brien'"), 1);
    EXPECT_EQ(Rows("cHistory", "Where RelNo=1"), 2);
    EXPECT_EQ(Rows("cHistory", "Where Gas1Name='H2S' And Gas2AutoCal=20.9 And StationID='ST1'"), 2);

    // The same download again adds nothing; two new dates add two rows.
    clsHistorys again;
    again.SetInstruments(&inst);
    for (const QString& l : {HL("240517", "120000", "5", "5"), HL("240519", "120000"),
                             HL("240520", "120000")}) {
        again.SetDatas(0, l, true);
        again.SetDatas(0, l, false);
    }
    ASSERT_TRUE(again.Item(1)->HistoryUpdate());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("cHistory", "Where RelNo=1"), 4);
    EXPECT_EQ(Rows("cHistory", "Where Gas1Before=5"), 0); // a stored entry is kept as it was

    // Another station is another instrument; no entries still make the head.
    clsInstrument other;
    other.SetUserID("O'Brien");
    other.SetStationID("ST2");
    other.SetSerialNo("SN1");
    clsHistory empty;
    empty.SetInstrument(&other);
    ASSERT_TRUE(empty.HistoryUpdate());
    EXPECT_EQ(Rows("Log_Head", "Where Types=3"), 2);
    EXPECT_EQ(Rows("cHistory"), 4);

    // Reload: newest first, both gases.
    clsHistory back;
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    ASSERT_EQ(back.DataCount(), 4);
    EXPECT_EQ(back.Dates(0), At(20, 12, 0, 0));
    EXPECT_EQ(back.Dates(3), At(17, 12, 0, 0));
    EXPECT_FLOAT_EQ(back.After(1, 3), 20.9f);
    EXPECT_FLOAT_EQ(back.Before(1, 2), -101.0f);
    EXPECT_EQ(back.RowSeqNo(0, 3), back.RowSeqNo(1, 3));
    EXPECT_EQ(back.GasBaseInfo(2).toString(), "O'Brien");
    EXPECT_EQ(back.GasBaseInfo(5).toString(), "-----");
    EXPECT_EQ(back.GasListInfo(0, 0).toString(), "H2S");
    EXPECT_FLOAT_EQ(back.GasListInfo(0, 2).toFloat(), 0.1f);
    EXPECT_EQ(back.GasListInfo(1, 14).toString(), "");
    EXPECT_EQ(back.DCount(), 0);
}

TEST_F(HistoryTest, ReloadHoldsAnyNumberOfEntries)
{
    Exec("Insert Into Log_Head(SeqNo,Types,UserID,Gas2Name) Values (9000000000,3,'U',Null);");
    Exec("With Recursive n(i) As (Select 1 Union All Select i+1 From n Where i<450) "
         "Insert Into cHistory(SeqNo,RelNo,Dates,Gas1Before,Gas1After) "
         "Select 9000000000+i, 9000000000, DateTime('2020-01-01', '+' || i || ' hours'), i, Null "
         "From n;");
    clsHistory back;
    back.SetSeqNo(9000000000LL);
    ASSERT_TRUE(back.ReLoad());
    ASSERT_EQ(back.DataCount(), 450);
    EXPECT_EQ(back.Dates(0), MakeDate(2020, 1, 19, 18, 0, 0));
    EXPECT_FLOAT_EQ(back.Before(0, 0), 450.0f);
    EXPECT_FLOAT_EQ(back.After(0, 0), -101.0f);
    EXPECT_EQ(back.RowSeqNo(0, 449), 9000000001LL);
    EXPECT_EQ(back.GasListInfo(1, 0).toString(), "");
    EXPECT_TRUE(back.GasListInfo(1, 13).toBool());
}

TEST_F(HistoryTest, FailedStoreLeavesNothing)
{
    ASSERT_TRUE(Gas(0, {HL("240517", "120000"), HL("240518", "120000"), HL("240519", "120000")}));
    Exec("Create Trigger stop Before Insert On cHistory When NEW.SeqNo = 3 "
         "Begin Select Raise(Abort, 'disk full'); End;");
    EXPECT_FALSE(col.Item(1)->HistoryUpdate());
    EXPECT_TRUE(col.Item(1)->Error());
    EXPECT_EQ(Rows("Log_Head"), 0);
    EXPECT_EQ(Rows("cHistory"), 0);
}

TEST_F(PowerTest, EventLines)
{
    ASSERT_TRUE(Block(col, {FD("240517", "123045", true), FD("240517", "123045", false),
                            FD("240230", "123045", true), FD("240517", "123045", false)}));
    clsPowerEvent* r = col.Item("01 L");
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->DataCount(), 4);
    EXPECT_EQ(r->Dates(0), At(17, 12, 30, 45));
    EXPECT_TRUE(r->Flags(0));
    EXPECT_FALSE(r->Flags(1));
    EXPECT_EQ(r->Dates(2), DateZero()); // 30 February: kept, but without a date
    EXPECT_TRUE(r->Error());
    EXPECT_EQ(r->Dates(3), r->Dates(1));

    // The check pass looks at nothing but the length and the logger number.
    clsPowerEvents two;
    EXPECT_TRUE(two.SetDatas("01FDxxxxxxxxxxxxxxxxxxxx", true));
    EXPECT_EQ(two.Item(1)->DataCount(), 0);
    EXPECT_TRUE(two.SetDatas("01XX" + QString(20, '0'), true));
    EXPECT_FALSE(two.SetDatas(FD("240517", "123045", true).left(23), true));
    EXPECT_FALSE(two.SetDatas("x1FD" + QString(20, '0'), true));
    EXPECT_EQ(two.FailLine(), "\r\n" + FD("240517", "123045", true).left(23) + "\r\nx1FD" + QString(20, '0'));
}

TEST_F(PowerTest, MessageOncePerInstrumentAndDownload)
{
    App().DebugMode = true;
    ASSERT_TRUE(Block(col, {FD("240517", "123045", true)}));
    EXPECT_EQ(col.MessageString(), "New Data! Name - Power Events");
    col.SetMessageString("");
    ASSERT_TRUE(Block(col, {FD("240517", "123046", true)}));
    EXPECT_EQ(col.MessageString(), "");
    col.Clear();
    ASSERT_TRUE(Block(col, {FD("240517", "123045", true)}));
    EXPECT_EQ(col.MessageString(), "New Data! Name - Power Events");
}

TEST_F(PowerTest, StoresNewEventsUnderOneHead)
{
    ASSERT_TRUE(Block(col, {FD("240517", "120000", true), FD("240517", "130000", false),
                            FD("240517", "130000", true)}));
    ASSERT_TRUE(col.Item(1)->Update());
    EXPECT_EQ(Rows("Log_Head", "Where Types=7 And Dcount=3 And Names='Power Events' And "
                               "Dates='2024-05-20 08:00:00' And UserID='U''1'"), 1);
    EXPECT_EQ(Rows("Power_Event", "Where RelNo=1"), 3);
    ASSERT_TRUE(col.Item(1)->Update());
    EXPECT_EQ(Rows("Power_Event"), 3);

    // A later download with one more event (and a second off at a stored moment).
    clsPowerEvents later;
    later.SetInstruments(&inst);
    ASSERT_TRUE(Block(later, {FD("240517", "120000", true), FD("240517", "130000", false),
                              FD("240517", "130000", false), FD("240518", "070000", true)}));
    ASSERT_TRUE(later.Item(1)->Update());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Log_Head", "Where Dcount=3"), 1);
    EXPECT_EQ(Rows("Power_Event"), 4);

    // No events: nothing at all.
    clsPowerEvent none;
    clsInstrument fresh;
    none.SetInstrument(&fresh);
    EXPECT_TRUE(none.Update());
    EXPECT_EQ(Rows("Log_Head"), 1);

    clsPowerEvent back;
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    EXPECT_EQ(back.GasBaseInfo(0).toString(), "Power Events");
    EXPECT_EQ(back.GasBaseInfo(1).toDateTime(), At(20, 8, 0, 0));
    EXPECT_EQ(back.GasBaseInfo(2).toString(), "U'1");
    EXPECT_EQ(back.GasBaseInfo(5).toString(), "-----");
    EXPECT_TRUE(back.GasListInfo(0, 13).toBool());
    EXPECT_FLOAT_EQ(back.GasListInfo(0, 1).toFloat(), -101.0f);
    EXPECT_EQ(back.DataCount(), 0);
}

TEST_F(PowerTest, EveryEventIsKeptAndNoneGoesUnderAMissingHead)
{
    QStringList lines;
    for (int i = 0; i < 130; ++i)
        lines << FD("240517", QTime(0, 0).addSecs(i * 60).toString("HHmmss"), i % 2 == 0);
    lines << FD("241399", "000000", true); // a bad date: Error, no row
    for (qsizetype i = 0; i < lines.size(); i += 48)
        ASSERT_TRUE(Block(col, lines.mid(i, 48)));
    clsPowerEvent* r = col.Item(1);
    ASSERT_EQ(r->DataCount(), 131);
    EXPECT_TRUE(r->Error());
    EXPECT_EQ(r->Dates(129), At(17, 2, 9, 0));
    ASSERT_TRUE(r->Update());
    EXPECT_EQ(Rows("Log_Head", "Where Types=7"), 1);
    EXPECT_EQ(Rows("Power_Event", "Where RelNo=1"), 130);
    EXPECT_EQ(Rows("Power_Event", "Where RelNo<1"), 0);
}

TEST_F(PowerTest, FailedStoreLeavesNothing)
{
    ASSERT_TRUE(Block(col, {FD("240517", "120000", true), FD("240517", "130000", false)}));
    Exec("Create Trigger stop Before Insert On Power_Event When NEW.SeqNo = 2 "
         "Begin Select Raise(Abort, 'disk full'); End;");
    EXPECT_FALSE(col.Item(1)->Update());
    EXPECT_TRUE(col.Item(1)->Error());
    EXPECT_EQ(Rows("Log_Head"), 0);
    EXPECT_EQ(Rows("Power_Event"), 0);
}
