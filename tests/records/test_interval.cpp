#include "record_fixture.h"

#include "records/collections.h"

#include "common/dates.h"
#include "common/resstrings.h"

namespace {

QString AA(const QString& user, const QString& station, const QString& lg = "01")
{
    return lg + "AA" + Fit(user, 10) + Fit(station, 10);
}
QString AB(const QString& serial, const QString& lg = "01")
{
    return lg + "AB" + Fit(serial, 12) + "00001";
}
QString AC(const QString& n0, const QString& f0, const QString& p0, const QString& n1,
           const QString& f1, const QString& p1, const QString& lg = "01")
{
    return lg + "AC" + Fit(n0, 3) + RFit(f0, 5) + RFit(p0, 5) + Fit(n1, 3) + RFit(f1, 5)
        + RFit(p1, 5);
}
QString AD(const QString& date, const QString& time, int interval, const QString& lg = "01")
{
    return lg + "AD" + date + time + Num(interval, 4) + "0000";
}
QString Stat(const QString& type, const QString& avr, const QString& v, const QString& date,
             const QString& time, const QString& lg = "01")
{
    return lg + type + RFit(avr, 5) + RFit(v, 5) + date + time;
}
QString A0(const QString& v0, const QString& v1, int rec, const QString& flags = "00",
           const QString& lg = "01")
{
    return lg + "A0" + RFit(v0, 5) + RFit(v1, 5) + flags + Num(rec, 4);
}
QString Ev(const QString& type, int digit, int index, const QString& secs, const QString& lg = "01")
{
    return lg + type + Num(digit, 2) + "00" + Num(index, 4) + "00000" + secs;
}

const QDateTime kStart = MakeDate(2024, 5, 17, 12, 0, 0);

QStringList Header(int interval = 60)
{
    return {AA("O'Brien", "ST 1"), AB("SN123"), AC("H2S", "100.0", "0.1", "OXY", " 25.0", " 0.1"),
            AD("240517", "120000", interval),
            Stat("AE", "  1.5", "  9.5", "240517", "121500"),
            Stat("AF", " 20.9", " 18.0", "******", "******")};
}

class IntervalTest : public RecordDbTest {
protected:
    clsInstrument inst;
    clsIntervals col;
    void SetUp() override
    {
        RecordDbTest::SetUp();
        SetResLanguage(ResLanguage::English);
        inst.SetModel("GX01");
        inst.SetRomNumber(1234);
        col.SetInstruments(&inst);
    }
};

} // namespace

TEST_F(IntervalTest, DownloadFillsHeaderGasesRowsAndEvents)
{
    ASSERT_TRUE(Block(col, Header()));
    ASSERT_TRUE(Block(col, {A0("  1.0", " 20.9", 1, "10"), A0("  2.0", " 20.8", 2),
                            A0("  2.0", " 20.8", 2), A0("  3.0", " OVER", 3, "01"),
                            Ev("A1", 1, 0, "0030"), Ev("A5", 2, 3, "0010"),
                            Ev("A1", 1, 3, "0010")}));
    ASSERT_EQ(col.Count(), 1);
    clsInterval* r = col.Item("01 L");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(col.Item(1), r);
    EXPECT_EQ(r->Instrument(), &inst);
    EXPECT_FALSE(r->Error());
    EXPECT_FALSE(r->Duplicate());
    EXPECT_EQ(r->GasBaseInfo(0).toString(), "iv17120000");
    EXPECT_EQ(r->GasBaseInfo(1).toDateTime(), kStart);
    EXPECT_EQ(r->GasBaseInfo(2).toString(), "O'Brien");
    EXPECT_EQ(r->GasBaseInfo(3).toString(), "ST 1");
    EXPECT_EQ(r->GasBaseInfo(4).toString(), "SN123");
    EXPECT_EQ(r->GasBaseInfo(5).toString(), "05/24");
    EXPECT_EQ(r->GasBaseInfo(6).toInt(), 60);
    EXPECT_EQ(r->GasListInfo(0, 0).toString(), "H2S");
    EXPECT_FLOAT_EQ(r->GasListInfo(0, 1).toFloat(), 100.0f);
    EXPECT_FLOAT_EQ(r->GasListInfo(0, 2).toFloat(), 0.1f);
    EXPECT_EQ(r->GasListInfo(0, 3).toInt(), 1);
    EXPECT_EQ(r->GasListInfo(0, 14).toString(), "ppm");
    EXPECT_EQ(r->GasListInfo(1, 14).toString(), "VOL%");
    EXPECT_TRUE(r->GasListInfo(1, 13).toBool());
    // Statistics: "******" gives the no-date date and no Error; AE clears gas 0's minimum.
    EXPECT_FLOAT_EQ(r->GasListInfo(0, 8).toFloat(), 9.5f);
    EXPECT_FLOAT_EQ(r->GasListInfo(0, 9).toFloat(), -101.0f);
    EXPECT_EQ(r->GasListInfo(0, 11).toDateTime(), MakeDate(2024, 5, 17, 12, 15, 0));
    EXPECT_FLOAT_EQ(r->GasListInfo(1, 9).toFloat(), 18.0f);
    EXPECT_EQ(r->GasListInfo(1, 12).toDateTime(), NoDate());
    EXPECT_FALSE(r->GasListInfo(2, 0).isValid());
    EXPECT_FALSE(r->GasListInfo(0, 5).isValid());

    // Record numbers 1, 2, 2, 3: three rows, the repeat goes to the serial log.
    EXPECT_EQ(r->DataCount(), 3);
    EXPECT_EQ(r->DataLineCount(), 3);
    EXPECT_EQ(r->DateTimes(0), kStart.addSecs(60));
    EXPECT_EQ(r->DateTimes(2), kStart.addSecs(180));
    EXPECT_FLOAT_EQ(r->GasValue(0, 1), 2.0f);
    EXPECT_TRUE(r->GasNowEvent(0, 0));
    EXPECT_FALSE(r->GasNowCalib(1, 0));
    EXPECT_TRUE(r->GasNowCalib(1, 2));
    EXPECT_EQ(SerialLog().count("<<< Duplicate data >>>" + A0("  2.0", " 20.8", 2)), 1);

    // "OVER" on gas 1: the code in the value row and an event row at that time.
    EXPECT_FLOAT_EQ(r->GasValue(1, 2), -107.0f);
    ASSERT_EQ(r->EventCount(), 4);
    EXPECT_EQ(r->EventDateTimes(0), kStart.addSecs(180));
    EXPECT_FLOAT_EQ(r->GasEvent(0, 0), -101.0f);
    EXPECT_FLOAT_EQ(r->GasEvent(1, 0), -107.0f);
    // Event index 0 lies at the start plus its seconds.
    EXPECT_EQ(r->EventDateTimes(1), kStart.addSecs(30));
    EXPECT_FLOAT_EQ(r->GasEvent(0, 1), -103.0f);
    // "A5" gives one row for both gases; an "A1" at the same time needs a new row.
    EXPECT_EQ(r->EventDateTimes(2), kStart.addSecs(3 * 60 + 10));
    EXPECT_FLOAT_EQ(r->GasEvent(0, 2), -104.0f);
    EXPECT_FLOAT_EQ(r->GasEvent(1, 2), -104.0f);
    EXPECT_EQ(r->EventDateTimes(3), r->EventDateTimes(2));
    EXPECT_FLOAT_EQ(r->GasEvent(0, 3), -103.0f);
    // Reads outside the rows in use.
    EXPECT_FLOAT_EQ(r->GasValue(0, 3), 0.0f);
    EXPECT_EQ(r->DateTimes(-1), DateZero());
}

TEST_F(IntervalTest, RecordNumberSequences)
{
    struct Case {
        std::vector<int> records;
        int rows;
        int repeats;
    };
    const Case cases[] = {
        {{1, 2, 2, 3}, 3, 1},
        {{0}, 0, 1},           // "0000" first is a repeat of the start
        {{9999, 1, 1}, 2, 1},  // after 9999 numbering starts again
        {{5, 3}, 1, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        clsIntervals one;
        const QString lg = Num(++n, 2);
        QStringList lines{AD("240517", "120000", 10, lg)};
        for (int rec : c.records)
            lines << A0("1", "2", rec, "00", lg);
        const int before = SerialLog().count("<<< Duplicate data >>>");
        ASSERT_TRUE(Block(one, lines));
        clsInterval* r = one.Item(lg + " L");
        EXPECT_EQ(r->DataCount(), c.rows) << n;
        EXPECT_EQ(SerialLog().count("<<< Duplicate data >>>") - before, c.repeats) << n;
    }
}

// A data line whose record number jumps past the next one within its trend
// (lines left out) refuses its block, puts back what the block had stored and
// marks the collection; the first line may start anywhere, and after 9999
// the numbering starts again. Blocks are fed one after another per case.
TEST_F(IntervalTest, RecordNumberJumpRefusesTheBlock)
{
    struct Case {
        const char* name;
        std::vector<std::vector<int>> blocks; // record numbers; logger 2 where negative
        int rows;                             // rows of logger 1 afterwards
        bool missing;                         // the last block refused
    };
    const Case cases[] = {
        {"in step from anywhere", {{500, 501}, {502, 503}}, 4, false},
        {"round from 9999 to 0", {{9998, 9999}, {0, 1}}, 4, false},
        {"after 9999 from 1", {{9999, 1}}, 2, false},
        {"a repeat, then on", {{1, 2}, {2, 3}}, 3, false},
        {"each trend counts its own", {{1, 2, -300, -301}, {3, -302}}, 3, false},
        {"a jump inside a block", {{1, 2}, {3, 5, 6}}, 2, true},
        {"a jump between blocks", {{1, 2}, {51, 52}}, 2, true},
        {"a jump to 9999", {{9996}, {9999}}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsIntervals one;
        one.SetInstruments(&inst);
        ASSERT_TRUE(Block(one, {AD("240517", "120000", 10, "01"), AD("240517", "130000", 10, "02")}));
        for (size_t b = 0; b < c.blocks.size(); ++b) {
            QStringList lines;
            for (int rec : c.blocks[b])
                lines << (rec < 0 ? A0("1", "2", -rec, "00", "02") : A0("1", "2", rec, "00", "01"));
            const bool last = b + 1 == c.blocks.size();
            EXPECT_EQ(Block(one, lines), !(last && c.missing)) << b;
        }
        EXPECT_EQ(one.LinesMissing(), c.missing);
        const clsInterval* r = one.Item("01 L");
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->DataCount(), c.rows);
        for (int k = 0; k < r->DataCount(); ++k)
            EXPECT_EQ(r->DateTimes(k), kStart.addSecs(10 * (k + 1))) << k;
        one.Clear();
        EXPECT_FALSE(one.LinesMissing());
    }
    EXPECT_TRUE(SerialLog().contains("<<< Missing data >>>" + A0("1", "2", 5)));
}

TEST_F(IntervalTest, DispatcherLengthsTypesAndFailLine)
{
    struct Case {
        QString line;
        bool result;
        bool failLine;
    };
    const Case cases[] = {
        {QString(18, 'x'), true, false},                       // too short: ignored
        {"ABAD" + QString(15, '0'), false, true},              // logger number not a number
        {"01ZZ" + QString(30, '0'), true, false},              // other record type
        {AD("240517", "120000", 60) + "X", false, true},       // wrong length
        {AC("H2S", "abc", "0.1", "***", "", ""), false, true}, // full scale not a number
        {AC("***", "abc", "xyz", "   ", "", ""), true, false}, // absent gases are not tested
        {A0("1", "2", 1) + QString(20, ' '), true, false},     // data lines may be longer
        {"01A0" + QString(12, ' ') + "12ab", false, true},     // record number not a number
        {Ev("A1", 1, 0, "00x0").left(12) + "xxxxxxxx", true, false},
        {"01A1xx00abcd" + QString(9, '0'), false, true},       // event index not a number
    };
    for (const Case& c : cases) {
        clsIntervals one;
        EXPECT_EQ(one.SetDatas(c.line, true), c.result) << c.line.toStdString();
        EXPECT_EQ(one.FailLine(), c.failLine ? "\r\n" + c.line : QString()) << c.line.toStdString();
    }
    // Rejected lines follow each other, each after CR LF; control characters are dropped.
    clsIntervals two;
    EXPECT_FALSE(two.SetDatas("AB" + QString(17, '1'), true));
    EXPECT_FALSE(two.SetDatas("01AA\x02" + QString(19, 'u'), true));
    EXPECT_EQ(two.FailLine(), "\r\nAB" + QString(17, '1') + "\r\n01AA" + QString(19, 'u'));
}

TEST_F(IntervalTest, CheckPassCreatesRecordsButStoresNothing)
{
    ASSERT_TRUE(col.SetDatas(AD("240517", "120000", 60), true));
    ASSERT_TRUE(col.SetDatas(AA("U1", "  "), true));
    clsInterval* r = col.Item("01 L");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GasBaseInfo(2).toString(), "*");
    EXPECT_EQ(r->GasBaseInfo(0).toString(), "");
    ASSERT_TRUE(col.SetDatas(AD("240517", "120000", 60), false));
    ASSERT_TRUE(col.SetDatas(AA("U1", "  "), false));
    EXPECT_EQ(col.Item("01 L"), r);
    EXPECT_EQ(r->GasBaseInfo(2).toString(), "U1");
    EXPECT_EQ(r->GasBaseInfo(3).toString(), "*");
    EXPECT_EQ(r->GasBaseInfo(0).toString(), "iv17120000");
}

TEST_F(IntervalTest, NewDataMessageOnlyInDebugMode)
{
    ASSERT_TRUE(Block(col, {AD("240517", "120000", 60)}));
    EXPECT_EQ(col.MessageString(), "");
    App().DebugMode = true;
    ASSERT_TRUE(Block(col, {AD("240518", "130000", 60, "02")}));
    EXPECT_EQ(col.MessageString(), "New Data! Name - iv18130000");
}

TEST_F(IntervalTest, FailedStorePassLeavesNothingOfItsBlock)
{
    // Interval 0: an event line with a numeric seconds field cannot be
    // placed, so its store pass fails after earlier lines were stored.
    ASSERT_TRUE(Block(col, {AD("240517", "120000", 0), A0("1", "2", 1)}));
    clsInterval* r = col.Item("01 L");
    ASSERT_EQ(r->DataCount(), 1);
    ASSERT_EQ(r->EventCount(), 0);

    const QStringList bad{A0("3", "OVER", 2), Ev("A5", 2, 0, "    "), Ev("A1", 1, 0, "0005"),
                          A0("4", "5", 3)};
    for (const QString& l : bad)
        ASSERT_TRUE(col.SetDatas(l, true));
    EXPECT_TRUE(col.SetDatas(bad[0], false));
    EXPECT_TRUE(col.SetDatas(bad[1], false));
    EXPECT_FALSE(col.SetDatas(bad[2], false));
    EXPECT_FALSE(col.SetDatas(bad[3], false)); // the rest of the refused block is not stored
    EXPECT_EQ(r->DataCount(), 1);
    EXPECT_EQ(r->EventCount(), 0);
    EXPECT_EQ(r->LastRecordNo(), 0);
    EXPECT_EQ(r->DataLineCount(), 1);

    // The block comes again, corrected: stored once, no event doubled.
    const QStringList good{A0("3", "OVER", 2), Ev("A5", 2, 0, "    "), A0("4", "5", 3)};
    ASSERT_TRUE(Block(col, good));
    // With interval 0 every data line lies at the start: one row.
    EXPECT_EQ(r->DataCount(), 1);
    EXPECT_EQ(r->DataLineCount(), 3);
    EXPECT_FLOAT_EQ(r->GasValue(0, 0), 4.0f);
    ASSERT_EQ(r->EventCount(), 2);
    EXPECT_FLOAT_EQ(r->GasEvent(0, 0), -104.0f);
    EXPECT_FLOAT_EQ(r->GasEvent(1, 0), -107.0f);
    EXPECT_FLOAT_EQ(r->GasEvent(0, 1), -101.0f);
    EXPECT_FLOAT_EQ(r->GasEvent(1, 1), -104.0f);
}

// Record numbers run 1..9999, then 0, 1, ... again: 12,500 data lines give
// 12,500 rows, each one interval after the one before, stored and reloaded
// whole in that order. Events follow the data line they name, on both
// sides of the wrap; index 0 names the start, except right after the line
// numbered 0.
TEST_F(IntervalTest, TrendPastTheRecordNumberWrapKeepsEveryRowAndEvent)
{
    constexpr int kLines = 12500;
    constexpr int kInterval = 10;
    ASSERT_TRUE(Block(col, Header(kInterval)));
    // Line k (1-based) carries record number k % 10000; an event after line
    // `after` carries `after % 10000` as its index.
    struct Event {
        int after; // data lines stored before it
        QString type;
        int digit;
        int seconds;
    };
    const Event events[] = {
        {0, "A1", 1, 5},       // the start
        {9998, "A5", 2, 3},    // before the wrap
        {9999, "A1", 1, 4},    // after record 9999
        {10000, "A2", 2, 6},   // after record 0: index 0
        {10005, "A1", 1, 7},   // index 0 again: the start
        {12499, "A1", 2, 2},   // after the wrap
    };
    QStringList block;
    size_t next = 0;
    auto flushEvents = [&](int stored) {
        for (; next < std::size(events) && events[next].after == stored; ++next)
            block << Ev(events[next].type, events[next].digit,
                        events[next].after == 10005 ? 0 : events[next].after % 10000,
                        Num(events[next].seconds, 4));
    };
    flushEvents(0);
    for (int k = 1; k <= kLines; ++k) {
        block << A0(QString::number(k % 500), "20.9", k % 10000);
        flushEvents(k);
        if (block.size() >= 48 || k == kLines) {
            ASSERT_TRUE(Block(col, block)) << k;
            block.clear();
        }
    }
    clsInterval* r = col.Item("01 L");
    ASSERT_EQ(r->DataCount(), kLines);
    EXPECT_EQ(r->DataLineCount(), kLines);
    EXPECT_EQ(r->LastRecordNo(), kLines % 10000 - 1);
    EXPECT_FALSE(SerialLog().contains("<<< Duplicate data >>>"));

    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    struct Expected {
        QDateTime when;
        float e0, e1;
    };
    const Expected expected[] = {
        {start.addSecs(5), -103, -101},
        {start.addSecs(9998 * kInterval + 3), -104, -104},
        {start.addSecs(9999 * kInterval + 4), -103, -101},
        {start.addSecs(10000 * kInterval + 6), -101, -104},
        {start.addSecs(7), -103, -101},
        {start.addSecs(12499 * kInterval + 2), -104, -101},
    };
    auto check = [&](const clsInterval& rec, const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(rec.DataCount(), kLines);
        for (int k = 0; k < kLines; ++k) {
            ASSERT_EQ(rec.DateTimes(k), start.addSecs(static_cast<qint64>(k + 1) * kInterval)) << k;
            ASSERT_FLOAT_EQ(rec.GasValue(0, k), static_cast<float>((k + 1) % 500)) << k;
        }
        ASSERT_EQ(rec.EventCount(), static_cast<int>(std::size(expected)));
        for (int j = 0; j < rec.EventCount(); ++j) {
            EXPECT_EQ(rec.EventDateTimes(j), expected[j].when) << j;
            EXPECT_FLOAT_EQ(rec.GasEvent(0, j), expected[j].e0) << j;
            EXPECT_FLOAT_EQ(rec.GasEvent(1, j), expected[j].e1) << j;
        }
    };
    check(*r, "downloaded");

    ASSERT_TRUE(r->Update());
    EXPECT_EQ(Rows("Interval_Data"), kLines);
    clsInterval back;
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    check(back, "reloaded");
    // The stored order is the sample order.
    for (int k = 1; k < kLines; ++k)
        ASSERT_EQ(back.ValueRowSeqNo(k), back.ValueRowSeqNo(k - 1) + 1) << k;
}

// ---- storing and reloading ----------------------------------------------

namespace {
// A trend with every kind of field: an identity with a quote, a disabled
// second gas, "******" statistics dates and a start after 2030.
QStringList RichTrend(const QString& lg = "01")
{
    return {AA("O'Brien", "ST'1", lg), AB("SN 9'9", lg),
            AC("H2S", "100.0", " 0.5", "***", "", "", lg),
            AD("310102", "235930", 30, lg),
            Stat("AE", "  1.5", "  9.5", "******", "******", lg),
            A0("  1.5", " 20.9", 1, "11", lg), A0(" OVER", " 20.9", 2, "00", lg),
            A0("  0.5", " 20.9", 3, "01", lg), Ev("A1", 1, 0, "0010", lg),
            Ev("A2", 6, 2, "0005", lg)};
}
} // namespace

TEST_F(IntervalTest, StoreAndReloadGiveBackEveryField)
{
    ASSERT_TRUE(Block(col, RichTrend()));
    clsInterval* r = col.Item("01 L");
    ASSERT_TRUE(r->Update());
    EXPECT_FALSE(r->Error());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Interval_Data", "Where RelNo=1"), 3);
    EXPECT_EQ(Rows("Interval_Event", "Where RelNo=1"), 3);
    EXPECT_EQ(Rows("Log_Head", "Where SeqNo=1 And Types=1 And Dcount=6 And Model='GX01' And RomNum=1234"), 1);
    EXPECT_EQ(Rows("Interval_Data", "Where SeqNo In (1,2,3)"), 3);

    clsInterval back;
    back.ClearDatas();
    back.SetSeqNo(1);
    ASSERT_TRUE(back.ReLoad());
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(back.GasBaseInfo(i), r->GasBaseInfo(i)) << i;
    EXPECT_EQ(back.GasBaseInfo(1).toDateTime(), MakeDate(2031, 1, 2, 23, 59, 30));
    EXPECT_EQ(back.GasBaseInfo(2).toString(), "O'Brien");
    EXPECT_EQ(back.GasBaseInfo(4).toString(), "SN 9'9");
    for (int g = 0; g < 2; ++g)
        for (int idx : {0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14})
            EXPECT_EQ(back.GasListInfo(g, idx), r->GasListInfo(g, idx)) << g << "/" << idx;
    EXPECT_EQ(back.GasListInfo(0, 11).toDateTime(), NoDate());
    EXPECT_FLOAT_EQ(back.GasListInfo(0, 2).toFloat(), 0.5f);
    EXPECT_FALSE(back.GasListInfo(1, 13).toBool());

    ASSERT_EQ(back.DataCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.DateTimes(i), r->DateTimes(i));
        EXPECT_FLOAT_EQ(back.GasValue(0, i), r->GasValue(0, i));
        EXPECT_FLOAT_EQ(back.GasValue(1, i), -101.0f); // the gas is not fitted
        EXPECT_EQ(back.GasNowCalib(0, i), r->GasNowCalib(0, i));
        EXPECT_EQ(back.ValueRowSeqNo(i), i + 1);
    }
    EXPECT_FLOAT_EQ(back.GasValue(0, 1), -107.0f);
    ASSERT_EQ(back.EventCount(), 3);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(back.EventDateTimes(j), r->EventDateTimes(j));
        EXPECT_FLOAT_EQ(back.GasEvent(0, j), r->GasEvent(0, j));
        EXPECT_FLOAT_EQ(back.GasEvent(1, j), -101.0f);
    }
    // Rows whose stored readings are both 0 or above.
    EXPECT_EQ(back.ValueCount(), 2);
}

TEST_F(IntervalTest, SameTrendIsStoredOnce)
{
    ASSERT_TRUE(Block(col, RichTrend()));
    ASSERT_TRUE(col.Item(1)->Update());
    ASSERT_TRUE(col.Item(1)->Update());
    EXPECT_TRUE(col.Item(1)->Duplicate());

    // A second download of the same trend finds the stored head at once.
    clsIntervals again;
    ASSERT_TRUE(Block(again, RichTrend()));
    EXPECT_TRUE(again.Item(1)->Duplicate());
    ASSERT_TRUE(again.Item(1)->Update());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Interval_Data"), 3);
    EXPECT_EQ(Rows("Interval_Event"), 3);

    // One second later, or another station, is another trend.
    clsIntervals other;
    QStringList lines = RichTrend();
    lines[3] = AD("310102", "235931", 30);
    lines << AA("O'Brien", "ST'1", "02") << AB("SN 9'9", "02") << AD("310102", "235930", 30, "02") << A0("1", "1", 1, "00", "02");
    lines << AA("O'Brien", "ST'2", "03") << AD("310102", "235930", 30, "03");
    ASSERT_TRUE(Block(other, lines));
    for (clsInterval* r : other)
        EXPECT_TRUE(r->Update());
    EXPECT_EQ(Rows("Log_Head"), 3); // "02" repeats the first trend's moment and identity
    EXPECT_TRUE(other.Item("02 L")->Duplicate());
}

TEST_F(IntervalTest, FailedStoreLeavesNoRowAtAll)
{
    ASSERT_TRUE(Block(col, RichTrend()));
    // The engine refuses the third value row.
    Exec("Create Trigger stop Before Insert On Interval_Data When NEW.SeqNo = 3 "
         "Begin Select Raise(Abort, 'disk full'); End;");
    clsInterval* r = col.Item(1);
    EXPECT_FALSE(r->Update());
    EXPECT_TRUE(r->Error());
    EXPECT_EQ(Rows("Log_Head"), 0);
    EXPECT_EQ(Rows("Interval_Data"), 0);
    EXPECT_EQ(Rows("Interval_Event"), 0);

    // Once the engine accepts it, the record stores in full.
    Exec("Drop Trigger stop;");
    r->SetError(false);
    EXPECT_TRUE(r->Update());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Interval_Data"), 3);
}

TEST_F(IntervalTest, RecordWithoutHeaderIsNotStored)
{
    // A corrupted logger number in a refused block leaves an empty record.
    QStringList bad = RichTrend();
    bad[5] = A0("  1.5", " 20.9", 1, "11", "07").replace(16, 4, "ab12");
    EXPECT_FALSE(Block(col, bad));
    ASSERT_TRUE(Block(col, RichTrend()));
    ASSERT_EQ(col.Count(), 2);
    clsInterval* junk = col.Item("07 L");
    ASSERT_NE(junk, nullptr);
    EXPECT_TRUE(junk->AwaitingHeader());
    for (clsInterval* r : col)
        EXPECT_TRUE(r->Update());
    EXPECT_EQ(Rows("Log_Head"), 1);
    EXPECT_EQ(Rows("Log_Head", "Where UserID='*'"), 0);

    // A record built directly (not by a download) stores as before.
    clsInterval direct;
    direct.SetGasBaseInfo(1, MakeDate(2024, 1, 1));
    EXPECT_TRUE(direct.Update());
    EXPECT_EQ(Rows("Log_Head"), 2);
}

TEST_F(IntervalTest, KeysAreSixtyFourBit)
{
    Exec("Insert Into Log_Head(SeqNo,Types) Values (5000000000, 5);");
    Exec("Insert Into Interval_Data(SeqNo,RelNo) Values (7000000000, 5000000000);");
    ASSERT_TRUE(Block(col, RichTrend()));
    ASSERT_TRUE(col.Item(1)->Update());
    EXPECT_EQ(Rows("Log_Head", "Where SeqNo=5000000001"), 1);
    EXPECT_EQ(Rows("Interval_Data", "Where RelNo=5000000001 And SeqNo>7000000000"), 3);

    clsInterval back;
    back.SetSeqNo(5000000001LL);
    ASSERT_TRUE(back.ReLoad());
    EXPECT_EQ(back.DataCount(), 3);
    EXPECT_EQ(back.ValueRowSeqNo(0), 7000000001LL);
}

TEST_F(IntervalTest, ReloadOfMissingRecordChangesNothing)
{
    clsInterval back;
    back.SetGasBaseInfo(0, "kept");
    back.SetDataCount(2);
    back.SetSeqNo(42);
    ASSERT_TRUE(back.ReLoad());
    EXPECT_EQ(back.GasBaseInfo(0).toString(), "kept");
    EXPECT_EQ(back.DataCount(), 2);
    EXPECT_EQ(back.ValueCount(), 0);

    // Without a database file nothing happens either.
    QFile::remove(LogDatabasePath());
    ASSERT_TRUE(back.ReLoad());
    EXPECT_EQ(back.DataCount(), 2);
}

TEST_F(IntervalTest, TrendSearchMergesValuesAndEvents)
{
    ASSERT_TRUE(Block(col, {AD("240517", "120000", 60), A0("1", "1", 1), A0("2", "2", 2),
                            A0("3", "3", 3), Ev("A1", 1, 0, "0030"), Ev("A1", 2, 2, "0000")}));
    clsInterval* r = col.Item(1);
    ASSERT_EQ(r->EventCount(), 2);
    const QDateTime t = kStart;
    EXPECT_EQ(r->SerchDatas(t.addSecs(60), 0), 1);   // strictly after
    EXPECT_EQ(r->SerchDatas(t, 2), 2);               // from the start row on
    EXPECT_EQ(r->SerchDatas(t.addSecs(180), 0), -1);
    EXPECT_EQ(r->SerchEvent(t.addSecs(30), false), 0); // the same second
    EXPECT_EQ(r->SerchEvent(t.addSecs(31), false), 1);

    // Step through the merged series: event 12:00:30, value 12:01, ... the
    // event at 12:03 before the value at the same time.
    EXPECT_EQ(r->SerchValue(t), -1);
    EXPECT_EQ(r->SerchValue(t), 1);
    EXPECT_EQ(r->SerchValue(t.addSecs(150)), -2);
    EXPECT_EQ(r->SerchValue(t.addSecs(150)), 3);
    EXPECT_EQ(r->SerchValue(t.addSecs(300)), 0);
    EXPECT_EQ(r->SerchValue(MakeDate(1997, 12, 31)), 0);
    r->FlagClear();
    EXPECT_EQ(r->SerchValue(t), -1);
}

TEST(IntervalField, TakesWholeNumbersAndIgnoresValuesBeyond32Bits)
{
    clsInterval r;
    const struct { double in; int expect; } cases[] = {
        {60.0, 60}, {2.5, 2}, {3.5, 4}, {1e12, 4}, {-1e12, 4}, {2147483647.0, 2147483647},
        {1e20, 2147483647}, {-1e20, 2147483647}, // beyond 64 bits as well
    };
    for (const auto& c : cases) {
        r.SetGasBaseInfo(6, c.in);
        EXPECT_EQ(r.GasBaseInfo(6).toInt(), c.expect) << c.in;
    }
}
