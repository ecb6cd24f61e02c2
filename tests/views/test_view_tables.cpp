#include "view_fixture.h"

#include "views/event_list.h"
#include "views/view_tables.h"

#include "browser/browser_keys.h"
#include "browser/property_grid.h"
#include "common/colors.h"
#include "printing/print_job.h"
#include "printing/recording_canvas.h"

#include <QRandomGenerator>

#include <functional>

namespace {

// The walk of the table as the record's own search members make it: one
// search over all samples and all unlisted events per line. Kept here as
// the reference the merge must equal.
std::vector<IntervalLine> ReferenceWalk(clsInterval& r)
{
    std::vector<IntervalLine> out;
    const QDateTime lo = MakeDate(1998, 1, 1);
    const QDateTime hi = MakeDate(2199, 1, 1);
    auto valid = [&](const QDateTime& t) { return t.isValid() && t > lo; };
    QDateTime start;
    const QDateTime s0 = r.DataCount() > 0 ? r.DateTimes(0) : QDateTime();
    const QDateTime e0 = r.EventCount() > 0 ? r.EventDateTimes(0) : QDateTime();
    if (valid(s0))
        start = (valid(e0) && e0 < s0) ? e0 : s0;
    else if (valid(e0))
        start = e0;
    else
        return out;
    r.FlagClear();
    QDateTime cursor = start.addMonths(-1);
    for (;;) {
        const int found = r.SerchValue(cursor);
        if (found == 0)
            break;
        IntervalLine l;
        if (found > 0) {
            l.sample = found - 1;
            cursor = r.DateTimes(l.sample);
        } else {
            l.event = -found - 1;
            int k = r.SerchDatas(cursor, 0);
            if (k >= 0 && GeneralDate(r.DateTimes(k)) != GeneralDate(r.EventDateTimes(l.event)))
                k = -1;
            l.combined = k;
            cursor = r.EventDateTimes(l.event);
        }
        out.push_back(l);
        if (cursor < lo || cursor > hi)
            break;
    }
    return out;
}

std::string Describe(const std::vector<IntervalLine>& lines)
{
    std::string s;
    for (const IntervalLine& l : lines)
        s += l.IsEvent() ? "E" + std::to_string(l.event) + (l.combined >= 0 ? "+" + std::to_string(l.combined) : "") + " "
                         : "S" + std::to_string(l.sample) + " ";
    return s;
}

// Samples t0..t3 ten seconds apart; an alarm of gas 1 in t1's second; a
// warning of gas 1 (over range) and a second event in t2's second.
clsInterval MergeFixture()
{
    clsInterval r;
    TwoGases(r);
    Identity(r, QStringLiteral("Trend"), T(10, 0, 0));
    AddSample(r, T(10, 0, 0), 1.5f, 20.9f);
    AddSample(r, T(10, 0, 10), 25.0f, 20.8f);
    AddSample(r, T(10, 0, 20), 600.0f, 20.7f);
    AddSample(r, T(10, 0, 30), 2.0f, 20.6f);
    AddEvent(r, T(10, 0, 10), kGasAlarm, kGasNoValue);
    AddEvent(r, T(10, 0, 20), kGasWarning, kGasNoValue);
    AddEvent(r, T(10, 0, 20), kGasNoValue, kGasFailSensor);
    return r;
}

} // namespace

TEST_F(ViewTest, IntervalTableMergesEventsIntoTheirSecond)
{
    const clsInterval r = MergeFixture();
    const GridContent t = IntervalTable(r, false);
    ASSERT_EQ(t.RowCount(), 6);
    const QStringList expected[] = {
        {"No", "Date/Time", "CO(500ppm)", "O2(25vol%)"},
        {"1", "2024/05/17 10:00:00", "1.5", "20.9"},
        {"2", "2024/05/17 10:00:10", "ALARM(25.0)", "20.8"},
        {"3", "2024/05/17 10:00:20", "WARNING(OVER)", "20.7"},
        {"4", "2024/05/17 10:00:20", "-----", "FAIL(Sen.)"},
        {"5", "2024/05/17 10:00:30", "2.0", "20.6"},
    };
    for (int row = 0; row < 6; ++row)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(t.Text(row, c), expected[row][c]) << row << "," << c;
    // Status cells carry their event colour and are left-aligned; the
    // plain value beside them has no colour of its own.
    EXPECT_EQ(t.Cell(2, 2).back, RGB(255, 0, 0));
    EXPECT_EQ(t.Cell(2, 2).align, kAlignLeft);
    EXPECT_EQ(t.Cell(2, 3).back, 0);
    EXPECT_EQ(t.Cell(3, 2).back, RGB(255, 128, 0));
    EXPECT_EQ(t.Cell(4, 2).back, 0);
    EXPECT_EQ(t.Cell(4, 3).back, RGB(128, 128, 128));
    EXPECT_EQ(t.Cell(1, 2).back, 0);
    // Each row keeps its moment.
    EXPECT_EQ(t.moments[2], T(10, 0, 10));
    EXPECT_FALSE(t.moments[0].isValid());

    const GridContent events = IntervalTable(r, true);
    ASSERT_EQ(events.RowCount(), 4);
    EXPECT_EQ(events.Text(1, 0), "1");
    EXPECT_EQ(events.Text(1, 2), "ALARM(25.0)");
    EXPECT_EQ(events.Text(3, 0), "3");
    EXPECT_EQ(events.Text(3, 3), "FAIL(Sen.)");
}

TEST_F(ViewTest, IntervalTableWithoutValidMomentsHasItsHeaderOnly)
{
    clsInterval r;
    TwoGases(r);
    AddSample(r, MakeDate(1997, 5, 1), 1.0f, 20.0f);
    EXPECT_EQ(IntervalTable(r, false).RowCount(), 1);
}

TEST_F(ViewTest, MergeEqualsTheReferenceWalkOnGeneratedRecords)
{
    QRandomGenerator rng(20240517);
    for (int round = 0; round < 300; ++round) {
        clsInterval r;
        TwoGases(r);
        const QDateTime base = T(8, 0, 0).addSecs(rng.bounded(100000));
        const int samples = rng.bounded(0, 120);
        const int events = rng.bounded(0, 40);
        const int span = samples * 3 + 30;
        // Mostly in time order with repeated seconds; some records keep
        // their rows out of order.
        const bool shuffled = round % 5 == 0;
        int t = 0;
        for (int i = 0; i < samples; ++i) {
            t += rng.bounded(0, 4);
            const int at = shuffled ? rng.bounded(0, span) : t;
            AddSample(r, base.addSecs(at), float(rng.bounded(0, 600)), 20.9f);
        }
        int te = 0;
        for (int j = 0; j < events; ++j) {
            te += rng.bounded(0, 8);
            const int at = shuffled ? rng.bounded(-5, span) : te;
            AddEvent(r, base.addSecs(at), rng.bounded(2) ? float(kGasAlarm) : float(kGasNoValue),
                     rng.bounded(2) ? float(kGasWarning) : float(kGasNoValue));
        }
        const std::vector<IntervalLine> merged = MergeIntervalLines(r);
        const std::vector<IntervalLine> reference = ReferenceWalk(r);
        ASSERT_EQ(Describe(merged), Describe(reference)) << "round " << round;
    }
    // The fixture's three events of one second in the reference order.
    clsInterval r = MergeFixture();
    AddEvent(r, T(10, 0, 20), kGasStel, kGasNoValue);
    EXPECT_EQ(Describe(MergeIntervalLines(r)), Describe(ReferenceWalk(r)));
}

TEST_F(ViewTest, AlarmTableMarksTheAlarmRowAndScrollsToIt)
{
    for (const int points : {180, 181}) {
        clsAlarm a;
        TwoGases(a);
        for (int i = 0; i < points; ++i)
            AddPoint(a, i, T(12, 0, 0).addSecs(5 * (i - 180)), i == 3 ? 600.0f : 1.0f, kGasNoValue);
        const GridContent t = AlarmTable(a);
        ASSERT_EQ(t.RowCount(), points + 1);
        EXPECT_EQ(t.Text(4, 2), "OVER");
        EXPECT_EQ(t.Text(4, 3), "-----");
        if (points == 180)
            continue;
        EXPECT_EQ(t.Cell(181, 0).back, 0);
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(t.Cell(181, c).back, RGB(255, 0, 0));
        EXPECT_EQ(t.Cell(180, 1).back, 0);
        EXPECT_EQ(t.moments[181], T(12, 0, 0));
    }
    clsAlarm a180;
    for (int i = 0; i < 180; ++i)
        AddPoint(a180, i, T(12, 0, i), 1.0f, 1.0f);
    const GridContent t = AlarmTable(a180);
    for (int r = 0; r < t.RowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            ASSERT_EQ(t.Cell(r, c).back, 0);
    EXPECT_EQ(AlarmScrollTarget(25), 170); // 169.5 to the even neighbour
    EXPECT_EQ(AlarmScrollTarget(27), 168); // 168.5 likewise
    EXPECT_EQ(AlarmScrollTarget(20), 172);
}

class ViewTablesDb : public ViewDbTest {
protected:
    // A history head with CO 0..500 and O2 0..25, one decimal each.
    void HistoryHead(qint64 seqNo)
    {
        Head(seqNo, 3, QStringLiteral("SN100"), T(18, 0, 0));
        Exec(QStringLiteral("Update Log_Head Set Gas1Name='CO', Gas1Full=500, Gas1Point=1, Gas1Unit='ppm', "
                            "Gas1Enable=1, Gas2Name='O2', Gas2Full=25, Gas2Point=1, Gas2Unit='vol%', "
                            "Gas2Enable=1 Where SeqNo=?;"),
             {seqNo});
    }
    void Calibration(qint64 seqNo, qint64 relNo, const QDateTime& when, float b0, float a0, float b1, float a1)
    {
        Exec(QStringLiteral("Insert Into cHistory (SeqNo, RelNo, Dates, Gas1Before, Gas1After, Gas2Before, "
                            "Gas2After) Values (?, ?, ?, ?, ?, ?, ?);"),
             {seqNo, relNo, DbDate(when), b0, a0, b1, a1});
    }
};

TEST_F(ViewTablesDb, HistoryTableShowsBeforeAndAfterRows)
{
    HistoryHead(7);
    Calibration(1, 7, T(9, 0, 0, 1), 500.0f, 600.0f, 20.9f, kGasNoValue);
    Calibration(2, 7, T(9, 0, 0, 2), 0.0f, 1.5f, 20.0f, 20.9f);
    clsHistory h;
    h.SetSeqNo(7);
    ASSERT_TRUE(h.ReLoad());
    const GridContent t = HistoryTable(h);
    ASSERT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.Text(0, 3), "CO(500ppm)");
    // Newest first; a value above full scale is "OVER", one at it a number.
    EXPECT_EQ(t.Text(1, 1), "2024/05/02 09:00:00");
    EXPECT_EQ(t.Text(3, 0), "2");
    EXPECT_EQ(t.Text(3, 2), "Before");
    EXPECT_EQ(t.Text(3, 3), "500.0");
    EXPECT_EQ(t.Text(4, 2), "After");
    EXPECT_EQ(t.Text(4, 3), "OVER");
    EXPECT_EQ(t.Text(4, 4), "-----");
    EXPECT_EQ(t.Cell(3, 1).back, RGB(240, 240, 240));
    EXPECT_EQ(t.Cell(3, 0).back, 0);
    EXPECT_EQ(t.Cell(4, 1).back, 0);

    const GridContent s = HeadSummary(h);
    EXPECT_EQ(s.RowCount(), 5);
    EXPECT_EQ(s.Text(1, 1), "SN100");
    EXPECT_EQ(s.Text(4, 0), "Last Download");
    EXPECT_EQ(s.Text(4, 1), "2024/05/17 18:00:00");
}

TEST_F(ViewTablesDb, EventListsRunNewestFirstAndAMissingTableIsEmpty)
{
    Head(3, 7, QStringLiteral("SN100"), T(18, 0, 0));
    Exec(QStringLiteral("Insert Into Power_Event (SeqNo, RelNo, Dates, Power_Type) Values "
                        "(1, 3, ?, 1), (2, 3, ?, 0), (3, 4, ?, 1);"),
         {DbDate(T(8, 0, 0)), DbDate(T(17, 0, 0)), DbDate(T(9, 0, 0))});
    const EventList power = ReadEventList(LogDatabasePath(), 7, 3);
    const GridContent t = EventListTable(7, power);
    ASSERT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.Text(0, 2), "Power");
    EXPECT_EQ(t.Text(1, 1), "2024/05/17 17:00:00");
    EXPECT_EQ(t.Text(1, 2), "OFF");
    EXPECT_EQ(t.Text(2, 2), "ON");

    Head(5, 5, QStringLiteral("SN100"), T(18, 0, 0));
    Exec(QStringLiteral("Insert Into Alarm_Event (SeqNo, RelNo, Dates, GasName, Alarm_type) Values "
                        "(1, 5, ?, 'CO', -104), (2, 5, ?, 'O2', -103);"),
         {DbDate(T(8, 0, 0)), DbDate(T(9, 0, 0))});
    const GridContent alarms = EventListTable(5, ReadEventList(LogDatabasePath(), 5, 5));
    ASSERT_EQ(alarms.RowCount(), 3);
    EXPECT_EQ(alarms.Text(1, 2), "O2");
    EXPECT_EQ(alarms.Text(1, 3), "WARNING");
    EXPECT_EQ(alarms.Text(2, 3), "ALARM");

    // A database made elsewhere may lack the alarm and trouble tables.
    Exec(QStringLiteral("Drop Table Alarm_Event;"));
    Exec(QStringLiteral("Drop Table Trouble_Event;"));
    for (const int kind : {5, 6}) {
        const EventList none = ReadEventList(LogDatabasePath(), kind, 5);
        EXPECT_TRUE(none.headFound);
        EXPECT_TRUE(none.rows.empty());
        EXPECT_EQ(EventListTable(kind, none).RowCount(), 1);
    }
}

namespace {

// The texts of column col from row 1 to the last of rows rows.
template <class Grid>
QStringList ColumnBelowHeading(const Grid& g, int rows, int col)
{
    QStringList texts;
    for (int r = 1; r < rows; ++r)
        texts << g.Text(r, col);
    return texts;
}

} // namespace

// Two power events of the same second, ON logged before OFF: every view of
// the events lists the one logged last first.
TEST_F(ViewTablesDb, EventsOfOneSecondListTheLastLoggedFirstInEveryView)
{
    Head(3, 7, QStringLiteral("SN100"), T(18, 0, 0));
    Exec(QStringLiteral("Insert Into Power_Event (SeqNo, RelNo, Dates, Power_Type) Values (1, 3, ?, 1), (2, 3, ?, 0);"),
         {DbDate(T(8, 0, 0)), DbDate(T(8, 0, 0))});
    using Listing = std::function<QStringList()>;
    const std::pair<const char*, Listing> views[] = {
        {"data view",
         [] {
             const GridContent t = EventListTable(7, ReadEventList(LogDatabasePath(), 7, 3));
             return ColumnBelowHeading(t, t.RowCount(), 2);
         }},
        {"property grid",
         [] {
             LogDb db;
             const browser::GridModel g = browser::BuildPropertyGrid(db, browser::RecordKey(3, browser::kKinds[5])).grid;
             return ColumnBelowHeading(g, g.Rows(), 1);
         }},
        {"printed report",
         [] {
             RecordingCanvas canvas;
             PrintRequest request;
             request.DataType = kPrintPowerEvents;
             request.SeqNo = 3;
             QStringList errors;
             PrintReport(canvas, request, errors);
             EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
             QStringList power; // in print order: down the page
             for (const RecordingCanvas::Text& t : canvas.texts)
                 if (t.text == QLatin1String("ON") || t.text == QLatin1String("OFF"))
                     power << t.text;
             return power;
         }},
    };
    for (const auto& [name, listing] : views) {
        SCOPED_TRACE(name);
        EXPECT_EQ(listing(), (QStringList{"OFF", "ON"}));
    }
}

TEST_F(ViewTest, SummariesOfTheTrends)
{
    clsInterval r = MergeFixture();
    r.SetGasListInfo(0, 10, 600.0f); // average above full scale
    r.SetGasListInfo(0, 8, 25.0f);
    r.SetGasListInfo(0, 9, 1.0f);
    r.SetGasListInfo(1, 9, 18.5f);
    r.SetGasListInfo(1, 12, T(10, 0, 30));
    r.SetGasListInfo(0, 11, T(10, 0, 10));
    const GridContent s = IntervalSummary(r);
    ASSERT_EQ(s.RowCount(), 14);
    EXPECT_EQ(s.Text(6, 1), "7"); // 4 samples + 3 events
    EXPECT_EQ(s.Text(6, 2), "7");
    EXPECT_TRUE(s.mergeRows[7]);
    EXPECT_FALSE(s.mergeRows[8]);
    EXPECT_EQ(s.Text(9, 1), "OVER");
    EXPECT_EQ(s.Text(11, 1), "05/17 10:00:10");
    // The minimum rows show the second gas only.
    EXPECT_EQ(s.Text(12, 1), "-----");
    EXPECT_EQ(s.Text(12, 2), "18.5");
    EXPECT_EQ(s.Text(13, 2), "05/17 10:00:30");
    EXPECT_EQ(s.Cell(8, 1).back, RGB(224, 224, 224));

    clsAlarm a;
    Identity(a, QStringLiteral("Alarm1"), T(12, 0, 0));
    const GridContent as = AlarmSummary(a);
    ASSERT_EQ(as.RowCount(), 8);
    EXPECT_EQ(as.Text(2, 0), "Alarm Date/Time");
    EXPECT_EQ(as.Text(2, 2), "2024/05/17 12:00:00");
    EXPECT_EQ(as.Text(6, 1), "0");
    EXPECT_TRUE(NoSummary().hidden);
}
