#include "record_fixture.h"

#include "records/collections.h"

#include "common/dates.h"
#include "common/resstrings.h"

namespace {

QString BA(const QString& user, const QString& station, const QString& lg = "01")
{
    return lg + "BA" + Fit(user, 10) + Fit(station, 10);
}
QString BB(const QString& serial, const QString& block = "0001", const QString& lg = "01")
{
    return lg + "BB" + Fit(serial, 12) + " " + block;
}
QString BC(const QString& n0, const QString& f0, const QString& p0, const QString& n1,
           const QString& f1, const QString& p1, const QString& lg = "01")
{
    return lg + "BC" + Fit(n0, 3) + RFit(f0, 5) + RFit(p0, 5) + Fit(n1, 3) + RFit(f1, 5)
        + RFit(p1, 5);
}
QString BD(const QString& date, const QString& time, int interval, const QString& lg = "01")
{
    return lg + "BD" + date + time + Num(interval, 4) + "0000";
}
QString Z0(const QString& f3, const QString& f5, const QString& f1 = "00001", const QString& lg = "01")
{
    return lg + "Z0" + RFit(f1, 5) + "00000" + RFit(f3, 5) + "00000" + RFit(f5, 5);
}
QString Pt(const QString& v0, const QString& v1, int rec, const QString& type = "B0",
           const QString& lg = "01")
{
    return lg + type + RFit(v0, 5) + RFit(v1, 5) + "00" + Num(rec, 4);
}

const QDateTime kAlarm = MakeDate(2024, 5, 17, 12, 0, 0);

class AlarmTest : public RecordDbTest {
protected:
    clsInstrument inst;
    clsAlarms col;
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        inst.SetModel("GX01");
        inst.SetRomNumber(77);
        inst.SetWarning(0, 5.0f);
        inst.SetAlarm(0, 10.0f);
        inst.SetWarning(1, 19.5f);
        inst.SetAlarm(1, 18.0f);
        col.SetInstruments(&inst);
    }

    // A complete trend: header lines, the window line and all 360 samples.
    static QStringList Trend(const QString& lg = "01", const QString& date = "240517",
                             const QString& time = "120000", const QString& user = "O'Brien")
    {
        QStringList l{BA(user, "ST 1", lg), BB("SN1", "0001", lg),
                      BC("H2S", "100.0", "0.1", "OXY", " 25.0", " 0.1", lg), BD(date, time, 5, lg),
                      Z0("00180", "00000", "00001", lg)};
        for (int i = 0; i < clsAlarm::kSamples; ++i)
            l << Pt(QString::number(i * 0.5, 'f', 1), i == 200 ? "OVER" : "20.9", i + 1,
                    QStringLiteral("B%1").arg(i % 5), lg);
        return l;
    }
    // In blocks of 48 lines, as the instrument sends them.
    static bool Feed(clsAlarms& c, const QStringList& lines)
    {
        for (qsizetype i = 0; i < lines.size(); i += 48)
            if (!Block(c, lines.mid(i, 48)))
                return false;
        return true;
    }
};

} // namespace

TEST_F(AlarmTest, DownloadFillsTheWindowAroundTheAlarm)
{
    ASSERT_TRUE(Feed(col, Trend()));
    clsAlarm* r = col.Item("01 L");
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(r->Error());
    EXPECT_EQ(r->GasBaseInfo(0).toString(), "al17120000");
    EXPECT_EQ(r->GasBaseInfo(1).toDateTime(), kAlarm);
    EXPECT_EQ(r->GasBaseInfo(2).toString(), "O'Brien");
    EXPECT_EQ(r->GasBaseInfo(4).toString(), "SN1");
    EXPECT_EQ(r->GasBaseInfo(5).toString(), "05/24");
    EXPECT_EQ(r->GasBaseInfo(6).toInt(), 5);
    EXPECT_FLOAT_EQ(r->GasListInfo(0, 4).toFloat(), 5.0f);  // warning from the instrument
    EXPECT_FLOAT_EQ(r->GasListInfo(1, 5).toFloat(), 18.0f); // alarm from the instrument
    EXPECT_EQ(r->GasListInfo(1, 14).toString(), "VOL%");
    EXPECT_EQ(r->DateTimes(0), kAlarm.addSecs(-180 * 5));
    EXPECT_EQ(r->DateTimes(180), kAlarm);
    EXPECT_EQ(r->DateTimes(359), kAlarm.addSecs(179 * 5));
    EXPECT_FLOAT_EQ(r->Value(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(r->Value(0, 359), 179.5f);
    EXPECT_FLOAT_EQ(r->Value(1, 200), -107.0f);
    EXPECT_EQ(r->NextIndex(), 360);
    EXPECT_EQ(r->DataCount(), 0); // a download leaves it
    // Accessor bounds.
    EXPECT_EQ(r->DateTimes(360), DateZero());
    EXPECT_FLOAT_EQ(r->Value(0, 360), 0.0f);
    EXPECT_FALSE(r->GasListInfo(2, 0).isValid());
    r->SetDataCount(500);
    EXPECT_EQ(r->DataCount(), 360);
}

TEST_F(AlarmTest, WindowLineSetsTheFirstSample)
{
    struct Case {
        QString f3, f5;
        bool ok;
        int first;
    };
    const Case cases[] = {
        {"00007", "00007", true, 180},
        {"00180", "00000", true, 0},
        {"00010", "00004", true, 174},
        {"  abc", "00004", false, 184}, // counted as 0, the line still fails
        {"99999", "00000", false, 180}, // beyond 16 bits
    };
    for (const Case& c : cases) {
        clsAlarm r;
        EXPECT_EQ(r.SetDataZ0(Z0(c.f3, c.f5), true), c.ok) << c.f3.toStdString();
        EXPECT_EQ(r.NextIndex(), c.first) << c.f3.toStdString();
    }
}

TEST_F(AlarmTest, PointLines)
{
    ASSERT_TRUE(Block(col, {BD("240517", "120000", 5), Z0("00000", "00000"),
                            Pt("1.0", "2.0", 12), Pt("9.0", "9.0", 12), Pt("3.0", "4.0", 13)}));
    clsAlarm* r = col.Item(1);
    EXPECT_FLOAT_EQ(r->Value(0, 180), 1.0f);
    EXPECT_FLOAT_EQ(r->Value(0, 181), 3.0f);
    EXPECT_EQ(SerialLog().count("<<< Duplicate data >>>" + Pt("9.0", "9.0", 12)), 1);

    // "0000" as the first point of a record repeats the start.
    clsAlarms two;
    ASSERT_TRUE(Block(two, {BD("240517", "120000", 5), Z0("00000", "00000"), Pt("1", "1", 0)}));
    EXPECT_EQ(two.Item(1)->NextIndex(), 180);
    // After 9999 any record number is taken.
    clsAlarms three;
    ASSERT_TRUE(Block(three, {BD("240517", "120000", 5), Z0("00000", "00000"), Pt("1", "1", 9999),
                              Pt("2", "2", 1)}));
    EXPECT_FLOAT_EQ(three.Item(1)->Value(0, 181), 2.0f);
    // Record number not a number, and lines of the wrong length.
    clsAlarms four;
    EXPECT_FALSE(four.SetDatas("01B0" + QString(12, '1') + "12x4", true));
    EXPECT_FALSE(four.SetDatas(Pt("1", "1", 1) + "0", true)); // 21 characters
    EXPECT_EQ(four.FailLine(), "\r\n01B0" + QString(12, '1') + "12x4\r\n" + Pt("1", "1", 1) + "0");
}

TEST_F(AlarmTest, SampleOutsideTheTableFailsTheBlock)
{
    // The window line puts the first point one place before the table.
    ASSERT_TRUE(Block(col, {BD("240517", "120000", 5), Z0("00181", "00000")}));
    clsAlarm* r = col.Item(1);
    EXPECT_EQ(r->NextIndex(), -1);
    EXPECT_FALSE(Block(col, {Pt("1", "1", 1)}));
    EXPECT_EQ(r->LastRecordNo(), -1);

    // More points than the table holds: the 362nd point fails, and nothing
    // of its block stays.
    clsAlarms many;
    QStringList lines{BD("240517", "120000", 5), Z0("00180", "00000")};
    for (int i = 1; i <= 361; ++i)
        lines << Pt("1", "1", i);
    ASSERT_TRUE(Feed(many, lines));
    EXPECT_EQ(many.Item(1)->NextIndex(), 361);
    EXPECT_FALSE(Block(many, {Pt("5", "5", 362)}));
    EXPECT_EQ(many.Item(1)->NextIndex(), 361);
    EXPECT_EQ(many.Item(1)->LastRecordNo(), 360);
}

TEST_F(AlarmTest, HeaderGasListAndSerialLines)
{
    // 30 February: the check pass passes, Error is set, Dates keeps its value.
    clsAlarm r;
    const QDateTime before = r.GasBaseInfo(1).toDateTime();
    EXPECT_TRUE(r.SetDataBD(BD("240230", "120000", 5), true));
    EXPECT_TRUE(r.Error());
    EXPECT_TRUE(r.SetDataBD(BD("240230", "120000", 5), false));
    EXPECT_EQ(r.GasBaseInfo(1).toDateTime(), before);
    EXPECT_EQ(r.DateTimes(180), before);

    // "***" for gas 2 keeps its fields and clears Enabled.
    clsAlarm g;
    g.SetInstrument(&inst);
    ASSERT_TRUE(g.SetDataBC(BC("H2S", "100.0", "0.1", "OXY", "25.0", "0.1"), false));
    ASSERT_TRUE(g.SetDataBC(BC("CO ", "500", "1", "***", "abc", ""), false));
    EXPECT_EQ(g.GasListInfo(0, 0).toString(), "CO ");
    EXPECT_EQ(g.GasListInfo(1, 0).toString(), "OXY");
    EXPECT_EQ(g.GasListInfo(1, 14).toString(), "VOL%");
    EXPECT_FALSE(g.GasListInfo(1, 13).toBool());
    EXPECT_FALSE(g.SetDataBC(BC("CO ", "5x0", "1", "OXY", "25.0", "0.1"), true));

    // Block number of "BB": a number, blanks allowed.
    EXPECT_FALSE(g.SetDataBB(BB("S", "abcd"), true));
    EXPECT_TRUE(g.SetDataBB(BB("S", "0001"), true));
    EXPECT_TRUE(g.SetDataBB(BB("S", "   1"), false));
    EXPECT_EQ(g.GasBaseInfo(4).toString(), "S");
}

TEST_F(AlarmTest, DebugModeMessage)
{
    App().DebugMode = true;
    ASSERT_TRUE(Block(col, {BD("240517", "120000", 5)}));
    EXPECT_EQ(col.MessageString(), "New Data! Name - al17120000");
}

TEST_F(AlarmTest, StoreReloadAndDuplicate)
{
    ASSERT_TRUE(Feed(col, Trend()));
    clsAlarm* r = col.Item(1);
    ASSERT_TRUE(r->Update());
    ASSERT_TRUE(r->Update());
    EXPECT_TRUE(r->Duplicate());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Log_Head", "Where Types=2 And Dcount=360 And RomNum=77"), 1);
    EXPECT_EQ(Rows("Alarm_Data", "Where RelNo=1"), 360);

    clsAlarm back;
    back.ClearDatas();
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ(back.GasBaseInfo(i), r->GasBaseInfo(i)) << i;
    for (int g = 0; g < 2; ++g)
        for (int idx : {0, 1, 2, 3, 4, 5, 8, 9, 10, 13, 14})
            EXPECT_EQ(back.GasListInfo(g, idx), r->GasListInfo(g, idx)) << g << "/" << idx;
    EXPECT_EQ(back.DataCount(), 360);
    for (int i = 0; i < 360; ++i) {
        ASSERT_EQ(back.DateTimes(i), r->DateTimes(i)) << i;
        ASSERT_FLOAT_EQ(back.Value(0, i), r->Value(0, i)) << i;
        ASSERT_FLOAT_EQ(back.Value(1, i), r->Value(1, i)) << i;
    }
    EXPECT_EQ(back.RowSeqNo(359), 360);

    // One second later is another alarm; the same moment again is not.
    clsAlarms more;
    QStringList lines = Trend("02", "240517", "120001");
    lines << Trend("03");
    ASSERT_TRUE(Feed(more, lines));
    EXPECT_TRUE(more.Item("03 L")->Duplicate());
    for (clsAlarm* a : more)
        EXPECT_TRUE(a->Update());
    EXPECT_EQ(Rows("Log_Head"), 2);
    EXPECT_EQ(Rows("Alarm_Data"), 720);
}

TEST_F(AlarmTest, DisabledGasReloadsAsNoValue)
{
    QStringList lines = Trend();
    lines[2] = BC("H2S", "100.0", "0.1", "   ", "", "");
    ASSERT_TRUE(Feed(col, lines));
    ASSERT_TRUE(col.Item(1)->Update());
    clsAlarm back;
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    EXPECT_FALSE(back.GasListInfo(1, 13).toBool());
    EXPECT_FLOAT_EQ(back.Value(1, 10), -101.0f);
    EXPECT_FLOAT_EQ(back.Value(0, 10), 5.0f);
}

TEST_F(AlarmTest, FailedStoreLeavesNoRowAndJunkRecordIsSkipped)
{
    QStringList lines = Trend();
    lines.insert(6, "0xB0" + QString(16, '1')); // corrupted logger number
    EXPECT_FALSE(Feed(col, lines));
    lines.removeAt(6);
    clsAlarms ok;
    ok.SetInstruments(&inst);
    ASSERT_TRUE(Feed(ok, lines));
    // A block refused by its check pass may still leave a record behind.
    ASSERT_TRUE(col.SetDatas(Pt("1", "1", 1, "B0", "09"), true));
    ASSERT_NE(col.Item("09 L"), nullptr);
    EXPECT_TRUE(col.Item("09 L")->AwaitingHeader());
    EXPECT_TRUE(col.Item("09 L")->Update());
    EXPECT_EQ(Rows("Log_Head"), 0);

    Exec("Create Trigger stop Before Insert On Alarm_Data When NEW.SeqNo = 200 "
         "Begin Select Raise(Abort, 'disk full'); End;");
    EXPECT_FALSE(ok.Item(1)->Update());
    EXPECT_TRUE(ok.Item(1)->Error());
    EXPECT_EQ(Rows("Log_Head"), 0);
    EXPECT_EQ(Rows("Alarm_Data"), 0);
}
