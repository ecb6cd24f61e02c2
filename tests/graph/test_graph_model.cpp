#include "common/colors.h"
#include "common/dates.h"
#include "common/resstrings.h"
#include "graph/graph_format.h"
#include "graph/graph_model.h"
#include "graph/graph_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const QDateTime kStart = MakeDate(2024, 5, 1, 8, 0, 0);

// A screen layout with fixed text metrics: 100 twips per character, 200
// twips per line.
GraphLayoutTarget FixedTarget(double width = 15000, double height = 9000)
{
    GraphLayoutTarget t;
    t.screen = true;
    t.scaleWidth = width;
    t.scaleHeight = height;
    t.controlWidth = width;
    t.controlHeight = height;
    t.textWidth = [](const QString& s) { return 100.0 * s.size(); };
    t.textHeight = [](const QString&) { return 200.0; };
    return t;
}

QSizeF FixedLabel(const QString&) { return QSizeF(1500, 600); }

// n samples 10 seconds apart in one series.
void FillSamples(GraphModel& m, int n, const std::vector<float>& values = {}, float scaleRef = 25)
{
    m.AddSample(QStringLiteral("CO"), RGB(255, 0, 0), QStringLiteral("##0.0"), scaleRef);
    for (int i = 0; i < n; ++i) {
        m.SetvalueX(i, kStart.addSecs(10 * i));
        m.SetvalueY(0, i, i < static_cast<int>(values.size()) ? values[i] : 1.0f);
    }
    m.SetSampleCount(n);
}

} // namespace

TEST(GraphModel, SeriesSlotsAndIndexRules)
{
    GraphModel m;
    EXPECT_EQ(m.SampleDataCount(), 1);
    EXPECT_EQ(m.AddSample(QStringLiteral("CO"), RGB(255, 0, 0), QStringLiteral("##0"), 300), 0);
    EXPECT_EQ(m.SampleDataCount(), 1);
    EXPECT_EQ(m.AddSample(QStringLiteral("O2"), RGB(0, 0, 255), QString(), 25), 1);
    EXPECT_EQ(m.SampleDataCount(), 2);
    EXPECT_TRUE(m.SampleVisible(1));
    EXPECT_FALSE(m.EventVisible(1));
    EXPECT_EQ(m.FormatY(1), QString());

    // Out-of-range setters change nothing; getters give empty values.
    m.SetvalueY(2, 5, 7.0f);
    m.SetvalueY(0, 16361, 7.0f);
    m.SetvalueY(0, -1, 7.0f);
    m.SetValueName(5, QStringLiteral("x"));
    m.SetMaxY(2, 10);
    EXPECT_EQ(m.valueY(9, 0), 0.0f);
    EXPECT_EQ(m.valueY(0, 16361), 0.0f);
    EXPECT_EQ(m.ValueName(2), QString());
    EXPECT_EQ(m.ValueColor(2), 0);
    EXPECT_EQ(m.MaxY(2), 0.0f);
    EXPECT_EQ(m.valueX(-1), DateZero());
    EXPECT_EQ(m.EventX(7, 0), DateZero());
    EXPECT_EQ(m.EventFlag(0, 5000), QString());

    m.SetvalueY(1, 16360, 3.0f);
    EXPECT_EQ(m.LastIndex(1), 16360);
    EXPECT_EQ(m.valueY(1, 16360), 3.0f);

    // Clear keeps the time axis, range, zoom and the common row's visibility.
    m.SetvalueX(0, kStart);
    m.SetEventVisible(GraphModel::kCommonRow, true);
    m.SetEventFlag(GraphModel::kCommonRow, 3, QStringLiteral("Alarm"));
    m.SetSampleCount(10);
    m.SetMaxX(55);
    m.Clear();
    EXPECT_EQ(m.SampleDataCount(), 1);
    EXPECT_EQ(m.ValueName(0), QString());
    EXPECT_EQ(m.SampleCount(), 0);
    EXPECT_EQ(m.valueX(0), kStart);
    EXPECT_EQ(m.MaxX(), 55);
    EXPECT_TRUE(m.EventVisible(GraphModel::kCommonRow));
    EXPECT_EQ(m.EventFlag(GraphModel::kCommonRow, 3), QString());
    EXPECT_EQ(m.AddSample(QStringLiteral("A"), 0, QString(), 1), 0);
    EXPECT_EQ(m.AddSample(QStringLiteral("B"), 0, QString(), 1), 1);
}

TEST(GraphModel, TimeAxisAndEventStores)
{
    GraphModel m;
    m.AddSample(QStringLiteral("CO"), 0, QString(), 25);

    // Events before sample 0 has a time get no offset and no count.
    m.SetEventX(0, 4, kStart.addSecs(30));
    EXPECT_EQ(m.EventOffset(0, 4), 0);
    EXPECT_EQ(m.EventCount(0), 0);

    m.SetvalueX(0, kStart);
    m.SetvalueX(3, kStart.addSecs(31));
    EXPECT_EQ(m.Offset(3), 31);
    m.SetEventX(0, 4, kStart.addSecs(30));
    EXPECT_EQ(m.EventOffset(0, 4), 30);
    EXPECT_EQ(m.EventCount(0), 4); // raised to the index, not past it

    // DataX ignores the last slot and raises the sample count; valueX stores.
    m.SetDataX(16360, kStart.addSecs(5));
    EXPECT_EQ(m.valueX(16360), DateZero());
    EXPECT_EQ(m.SampleCount(), 0);
    m.SetvalueX(16360, kStart.addSecs(5));
    EXPECT_EQ(m.valueX(16360), kStart.addSecs(5));
    m.SetDataX(12, kStart.addSecs(120));
    EXPECT_EQ(m.SampleCount(), 12);
    m.SetSampleCount(16362);
    EXPECT_EQ(m.SampleCount(), 12);
    m.SetSampleCount(16361);
    EXPECT_EQ(m.SampleCount(), 16361);

    // Index 2048 is readable, never written.
    m.SetEventX(0, 2048, kStart);
    m.SetEventFlag(0, 2048, QStringLiteral("x"));
    EXPECT_EQ(m.EventX(0, 2048), DateZero());
    EXPECT_EQ(m.EventFlag(0, 2048), QString());
    m.SetEventFlag(0, 2047, QStringLiteral("ALARM"));
    EXPECT_EQ(m.EventFlag(0, 2047), QStringLiteral("ALARM"));

    // Any index at or above N addresses the common row.
    m.SetEventVisible(1000, true);
    m.SetEventFlag(1000, 180, QStringLiteral("Alarm"));
    EXPECT_TRUE(m.CommonEventVisible());
    EXPECT_EQ(m.EventFlag(1, 180), QStringLiteral("Alarm"));
    EXPECT_EQ(m.CommonEventText(180), QStringLiteral("Alarm"));
    EXPECT_FALSE(m.EventVisible(0));

    // The event count never passes the store.
    m.SetEventCount(0, 5000);
    EXPECT_EQ(m.EventCount(0), GraphModel::kMaxEvents);
    m.SetEventCount(0, -3);
    EXPECT_EQ(m.EventCount(0), 0);
}

TEST(GraphModel, AutomaticScales)
{
    struct Case {
        std::vector<float> values;
        float scaleRef;
        float minY;
        float maxY;
    };
    const std::vector<Case> cases = {
        {{0.0f, 12.0f, 23.4f}, 25, 0, 30},   // CLng(28.08) = 28, 28 \ 10 = 2, (2 + 1) * 10
        {{0.0f, 12.0f, 23.4f}, 5, 0, 29},    // step 1
        {{-0.4f, 5.0f}, 5, 0, 7},
        {{-1.5f, 5.0f}, 5, -2, 7},
        {{-2.5f, 5.0f}, 5, -2, 7},           // halves to even
        {{-0.005f, 5.0f}, 5, 0, 7},
        {{GraphModel::kNoValue, 5.0f}, 5, 0, 7},
        {{GraphModel::kNoValue, GraphModel::kNoValue}, 5, 0, 0},
    };
    for (const Case& c : cases) {
        GraphModel m;
        FillSamples(m, static_cast<int>(c.values.size()), c.values, c.scaleRef);
        m.CalcLayout(FixedTarget());
        SCOPED_TRACE(testing::Message() << "first value " << c.values[0] << " ref " << c.scaleRef);
        EXPECT_FLOAT_EQ(m.MinY(0), c.minY);
        EXPECT_FLOAT_EQ(m.MaxY(0), c.maxY);
        EXPECT_DOUBLE_EQ(m.PosYStp(0), (c.maxY - c.minY) / 10.0);
    }

    // A host's range stays while MinY is below MaxY; otherwise MaxY comes
    // from the data again.
    GraphModel m;
    FillSamples(m, 3, {0.0f, 12.0f, 23.4f});
    m.SetMinY(0, -5);
    m.SetMaxY(0, 50);
    m.CalcLayout(FixedTarget());
    EXPECT_FLOAT_EQ(m.MinY(0), -5);
    EXPECT_FLOAT_EQ(m.MaxY(0), 50);
    m.SetMinY(0, 60);
    m.SetMaxY(0, 50);
    m.CalcLayout(FixedTarget());
    EXPECT_FLOAT_EQ(m.MinY(0), 60);
    EXPECT_FLOAT_EQ(m.MaxY(0), 30);
}

TEST(GraphModel, LayoutAndCoordinates)
{
    GraphModel m;
    FillSamples(m, 11);
    m.AddSample(QStringLiteral("O2"), 0, QStringLiteral("#0.0"), 25);
    m.SetFormatX(QStringLiteral("hh:nn:ss"));
    m.CalcLayout(FixedTarget());
    EXPECT_EQ(m.FormatX(), QStringLiteral("mm/dd hh:nn:ss"));
    // Series 0's labels stand left (its width is the left margin), series 1's right.
    EXPECT_TRUE(m.InLeftGroup(0));
    EXPECT_FALSE(m.InLeftGroup(1));
    EXPECT_DOUBLE_EQ(m.PlotLeft(), 500 + 180);
    EXPECT_DOUBLE_EQ(m.PlotTop(), 120);
    EXPECT_DOUBLE_EQ(m.PlotWidth(), 15000 - (680 + 580));
    EXPECT_DOUBLE_EQ(m.PlotHeight(), 9000 - 200 - 200 - 120);
    EXPECT_DOUBLE_EQ(m.MaxX(), 100);
    EXPECT_DOUBLE_EQ(m.PosXStp(), 10);
    EXPECT_DOUBLE_EQ(m.xData(m.xPos(37)), 37);
    EXPECT_NEAR(m.yData(m.yPos(0.7, 0), 0), 0.7, 1e-9);

    // One series: its labels stand right.
    GraphModel one;
    FillSamples(one, 3);
    EXPECT_FALSE(one.InLeftGroup(0));

    // All samples at one time: no X step, nothing to draw.
    GraphModel flat;
    flat.AddSample(QStringLiteral("A"), 0, QString(), 1);
    for (int i = 0; i < 4; ++i)
        flat.SetvalueX(i, kStart);
    flat.SetSampleCount(4);
    flat.CalcLayout(FixedTarget());
    EXPECT_EQ(flat.MaxX(), flat.MinX());
    EXPECT_EQ(flat.XStep(), 0);

    // A printer-style target uses the drawing rectangle.
    GraphModel paged;
    FillSamples(paged, 3);
    paged.SetSetDrawLeft(1000);
    paged.SetSetDrawTop(2000);
    paged.SetSetDrawWidth(8000);
    paged.SetSetDrawHeight(4000);
    GraphLayoutTarget t = FixedTarget();
    t.screen = false;
    paged.CalcLayout(t);
    EXPECT_DOUBLE_EQ(paged.PlotLeft(), 1000);
    EXPECT_DOUBLE_EQ(paged.PlotTop(), 2120);
    EXPECT_DOUBLE_EQ(paged.PlotWidth(), 8000 - 680);
}

TEST(GraphModel, ZoomAndScroll)
{
    struct Case {
        int n;
        int zoom;
        bool visible;
        int max;
        int large;
        int endIndex;     // MaxX = Offset(endIndex) after the zoom
        int scrollTo;
        int scrollStart;  // MinX = Offset(scrollStart) after scrolling
        int scrollEnd;    // MaxX = Offset(scrollEnd)
    };
    const std::vector<Case> cases = {
        {100, 2, true, 49, 49, 49, 49, 49, 99},
        {100, 1, false, 0, 99, 99, 0, 0, 99},
        {230, 20, true, 218, 10, 10, 218, 218, 229},   // end clamped to the last sample
        {70, 20, true, 66, 2, 2, 66, 66, 69},
        {1000, 10, true, 899, 99, 99, 899, 899, 999},
        {100, 1000, true, 98, 1, 1, 98, 98, 99},       // page step at least 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " zoom " << c.zoom);
        GraphModel m;
        FillSamples(m, c.n);
        m.SetZoom(c.zoom);
        EXPECT_EQ(m.Zoom(), c.zoom);
        EXPECT_EQ(m.Scroll().visible, c.visible);
        EXPECT_EQ(m.Scroll().max, c.max);
        EXPECT_EQ(m.Scroll().largeChange, c.large);
        EXPECT_EQ(m.Scroll().value, 0);
        EXPECT_EQ(m.MinX(), 0);
        EXPECT_EQ(m.MaxX(), m.Offset(c.endIndex));
        m.ScrollTo(c.scrollTo);
        EXPECT_EQ(m.MinX(), m.Offset(c.scrollStart));
        EXPECT_EQ(m.MaxX(), m.Offset(c.scrollEnd));
        EXPECT_LT(m.MinX(), m.MaxX());
    }

    // Zoom after scrolling returns to the start and reports the move.
    GraphModel m;
    FillSamples(m, 100);
    m.SetZoom(2);
    m.ScrollTo(30);
    EXPECT_TRUE(m.SetZoom(1));
    EXPECT_FALSE(m.Scroll().visible);
    EXPECT_EQ(m.MaxX(), m.Offset(99));

    // Ignored: a factor below 1, and any factor with fewer than two samples.
    m.SetZoom(0);
    m.SetZoom(-4);
    EXPECT_EQ(m.Zoom(), 1);
    GraphModel single;
    FillSamples(single, 1);
    single.SetZoom(2);
    EXPECT_EQ(single.Zoom(), 1);
    EXPECT_FALSE(single.Scroll().visible);
}

TEST(GraphModel, CursorKeys)
{
    GraphModel m;
    FillSamples(m, 30);
    const double h = 100; // surface height in pixels
    struct Case {
        int key;
        int shift;
        double start;
        double expected;
    };
    const std::vector<Case> cursorCases = {
        {39, 1, 19, 19}, // 19 is not below 30 - 11
        {39, 1, 18, 28},
        {37, 1, 9, 9},
        {37, 1, 10, 0},
        {39, 0, 29, 29},
        {39, 0, 28, 29},
        {37, 0, 0, 0},
        {37, 0, 5, 4},
        {39, 3, 0, 10},  // Shift with Ctrl still counts as Shift
    };
    for (const Case& c : cursorCases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " shift " << c.shift << " at " << c.start);
        m.SetCursorIndex(c.start);
        EXPECT_EQ(m.KeyDown(c.key, c.shift, h), c.start != c.expected);
        EXPECT_EQ(m.CursorIndex(), c.expected);
    }
    // Up and Down move the readout within the surface height.
    for (int i = 0; i < 15; ++i)
        m.KeyDown(40, 1, h);
    EXPECT_EQ(m.CursorYOffset(), 100);
    EXPECT_FALSE(m.KeyDown(40, 0, h));
    EXPECT_TRUE(m.KeyDown(38, 0, h));
    EXPECT_EQ(m.CursorYOffset(), 99);
    EXPECT_FALSE(m.KeyDown(65, 0, h));
}

TEST(GraphModel, CursorReadoutAndLabelSide)
{
    GraphModel m;
    m.AddSample(QStringLiteral("CO"), 0, QStringLiteral("##0"), 300);
    m.AddSample(QStringLiteral("O2"), 0, QString(), 25);
    for (int i = 0; i < 11; ++i) {
        m.SetvalueX(i, kStart.addSecs(10 * i));
        m.SetvalueY(0, i, 20.0f + i);
        m.SetvalueY(1, i, 20.94f);
    }
    m.SetvalueY(0, 5, GraphModel::kNoValue);
    m.SetSampleCount(11);
    m.CalcLayout(FixedTarget());

    m.SetCursorIndex(5); // exactly the middle
    m.DrawCursor(FixedLabel);
    const GraphCursorState& c = m.Cursor();
    EXPECT_EQ(c.caption, QStringLiteral("[05/01 08:00:50]\r\nCO : -----\r\nO2 : 20.9\r\n"));
    EXPECT_EQ(m.FormatY(1), QStringLiteral("##0.0")); // the default stays
    EXPECT_DOUBLE_EQ(c.x, m.xPos(50));
    EXPECT_DOUBLE_EQ(c.labelLeft, c.x + 2 * m.TwipsPerPixelX()); // right of the line
    EXPECT_DOUBLE_EQ(c.y1, m.PlotTop() + 15);
    EXPECT_DOUBLE_EQ(c.y2, m.PlotTop() + m.PlotHeight() - 15);
    // The label sits on the lowest value of all series (here the missing one).
    EXPECT_DOUBLE_EQ(c.labelTop, std::min(m.yPos(GraphModel::kNoValue, 0), m.PlotTop() + m.PlotHeight()) - 600);

    m.SetCursorIndex(6);
    m.DrawCursor(FixedLabel);
    EXPECT_DOUBLE_EQ(m.Cursor().labelLeft, m.Cursor().x - 1500 - 2 * m.TwipsPerPixelX()); // left of it

    // A hidden series is left out of the readout.
    m.SetSampleVisible(0, false);
    m.DrawCursor(FixedLabel);
    EXPECT_EQ(m.Cursor().caption, QStringLiteral("[05/01 08:01:00]\r\nO2 : 20.9\r\n"));

    // A cursor outside the visible range is pulled back into it.
    m.SetMinX(20);
    m.SetMaxX(60);
    m.CalcLayout(FixedTarget());
    m.SetCursorIndex(9);
    m.DrawCursor(FixedLabel);
    EXPECT_EQ(m.CursorIndex(), 6);
    m.SetCursorIndex(0);
    m.DrawCursor(FixedLabel);
    EXPECT_EQ(m.CursorIndex(), 2);
}

TEST(GraphModel, EventsBeforeTheFirstSampleWidenTheAxisEventsAfterTheLastDoNot)
{
    // A record can log an event a little before its first sample: the
    // axis's start reaches out to it. The axis ends where the trace does,
    // whatever events follow the last sample drawn.
    GraphModel m;
    FillSamples(m, 41); // offsets 0 to 400
    m.AddSample(QStringLiteral("O2"), RGB(0, 0, 255), QStringLiteral("##0.0"), 25);
    m.SetEventX(1, 0, kStart.addSecs(-7));
    m.SetEventFlag(1, 0, QStringLiteral("ALARM"));
    m.SetEventX(0, 0, kStart.addSecs(405));
    m.SetEventFlag(0, 0, QStringLiteral("WARNING"));
    m.SetEventX(0, 1, kStart.addSecs(-900)); // no text: no event
    m.SetEventCount(0, 2);
    m.SetEventCount(1, 1);
    m.CalcLayout(FixedTarget());
    EXPECT_EQ(m.MinX(), -7);
    EXPECT_EQ(m.MaxX(), 400);
    m.SetEventRowY(0, 1000);
    m.SetEventRowY(1, 1000);
    QDateTime time;
    QString text;
    m.SearchEvent(-6, 1000, time, text);
    EXPECT_EQ(text, QStringLiteral("ALARM"));
    m.SearchEvent(405, 1000, time, text);
    EXPECT_EQ(text, QString());

    m.SetZoom(2);
    EXPECT_EQ(m.MinX(), -7);
    EXPECT_EQ(m.MaxX(), m.Offset(20));
    m.ScrollTo(1);
    EXPECT_EQ(m.MinX(), m.Offset(1));
    m.ScrollTo(m.Scroll().max);
    EXPECT_EQ(m.MaxX(), 400);
    m.SetZoom(1);
    EXPECT_EQ(m.MinX(), -7);
    EXPECT_EQ(m.MaxX(), 400);

    // Samples all at one moment keep an empty axis whatever the events say.
    GraphModel flat;
    FillSamples(flat, 3);
    for (int i = 0; i < 3; ++i)
        flat.SetvalueX(i, kStart);
    flat.SetEventX(0, 0, kStart.addSecs(30));
    flat.SetEventFlag(0, 0, QStringLiteral("ALARM"));
    flat.SetEventCount(0, 1);
    flat.CalcLayout(FixedTarget());
    EXPECT_EQ(flat.MinX(), flat.MaxX());
}

TEST(GraphModel, SearchEventLimits)
{
    GraphModel m;
    FillSamples(m, 41); // offsets 0 to 400
    m.SetEventX(0, 0, kStart.addSecs(100));
    m.SetEventFlag(0, 0, QStringLiteral("ALARM"));
    m.SetEventX(0, 1, kStart.addSecs(300));
    m.SetEventFlag(0, 1, QStringLiteral("WARNING"));
    m.SetEventCount(0, 2);
    m.CalcLayout(FixedTarget());
    m.SetEventRowY(0, 1000);
    ASSERT_EQ(m.MaxX() - m.MinX(), 400); // found when nearer than 10 seconds

    struct Case {
        double x;
        double y;
        QString text;
    };
    const std::vector<Case> cases = {
        {100, 1000, QStringLiteral("ALARM")},
        {109, 1000, QStringLiteral("ALARM")},
        {110, 1000, QString()},                // exactly a fortieth away
        {100, 1179, QStringLiteral("ALARM")},
        {100, 820, QString()},                 // 180 twips away
        {295, 1000, QStringLiteral("WARNING")},
        {-1, 1000, QString()},                 // outside the range
        {401, 1000, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        QDateTime time = kStart;
        QString text = QStringLiteral("old");
        m.SearchEvent(c.x, c.y, time, text);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(time, c.text.isEmpty() ? DateZero() : m.EventX(0, c.text == QLatin1String("ALARM") ? 0 : 1));
    }

    // A count beyond the store is clamped, and the search stays inside it.
    m.SetEventCount(0, 30000);
    QDateTime time;
    QString text;
    m.SearchEvent(300, 1000, time, text);
    EXPECT_EQ(text, QStringLiteral("WARNING"));
}

TEST(GraphModel, MixColor)
{
    EXPECT_EQ(GraphModel::MixColor(RGB(255, 255, 255), RGB(0, 0, 0), 0.8), RGB(204, 204, 204));
    EXPECT_EQ(GraphModel::MixColor(RGB(255, 255, 255), RGB(0, 0, 255), 0.8), RGB(204, 204, 255));
    EXPECT_EQ(GraphModel::MixColor(RGB(240, 240, 240), RGB(1, 0, 0), 0.8), RGB(192, 192, 192));
}

TEST(GraphFormat, NumbersAndDates)
{
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const std::vector<Case> cases = {
        {20.94, "##0.0", "20.9"}, {0, "##0.0", "0.0"}, {2.5, "#0", "3"}, {-1.25, "##0.0", "-1.3"},
        {1234.5, "#,##0.0", "1,234.5"}, {0.5, "#.#", ".5"}, {7, "##0", "7"}, {0.15, "0.0", "0.2"},
        {-0.01, "0.0", "0.0"}, {12, "0.00 ppm", "12.00 ppm"}, {3, "", "3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPattern(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.text)) << c.pattern;
    EXPECT_EQ(FormatPattern(static_cast<float>(2.35f), QStringLiteral("0.0"), 7), QStringLiteral("2.4"));

    const QDateTime d = MakeDate(2024, 5, 1, 8, 7, 9);
    EXPECT_EQ(FormatDate(d, QStringLiteral("mm/dd hh:nn:ss")), QStringLiteral("05/01 08:07:09"));
    EXPECT_EQ(FormatDate(d, QStringLiteral("hh:mm")), QStringLiteral("08:07"));
    EXPECT_EQ(FormatDate(d, QStringLiteral("yyyy/m/d")), QStringLiteral("2024/5/1"));
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(28.08), 28);
    EXPECT_EQ(RoundToLong(-2.5), -2);
    EXPECT_EQ(RoundToLong(3e10), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundToLong(-3e10), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundToLong(std::nan("")), std::numeric_limits<std::int32_t>::min());
}

TEST(GraphSource, PointsAreWhatTheTableShows)
{
    // CO: full scale 500 with one decimal.
    const struct {
        float stored;
        float drawn;
    } cases[] = {
        {500.0f, 500.0f},                  // at full scale: unchanged
        {612.5f, 500.0f},                  // above: at full scale
        {12.34f, 12.3f},                   // cut to the decimals
        {0.0f, 0.0f},
        {-0.04f, 0.0f},                    // its text is "0.0"
        {-0.01f, 0.0f},                    // likewise, not taken for "no value"
        {-0.1f, GraphModel::kNoValue},     // a negative reading: "OVER"
        {-101.0f, GraphModel::kNoValue},   // no data
        {-107.0f, GraphModel::kNoValue},   // OVER
        {-110.0f, GraphModel::kNoValue},   // a failure code
        {-117.0f, GraphModel::kNoValue},   // not a code, but negative
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(GraphPointValue(c.stored, 500.0f, 1), c.drawn) << c.stored;
    EXPECT_FLOAT_EQ(GraphPointValue(20.96f, 25.0f, 0), 21.0f);
}

TEST(GraphSource, TitleMomentIsOneFormInEveryLanguage)
{
    const QDateTime t = MakeDate(2025, 11, 17, 9, 5, 7);
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        EXPECT_EQ(GraphTitleMoment(t), QStringLiteral("2025/11/17 09:05:07"));
    }
    SetResLanguage(ResLanguage::System);
    EXPECT_EQ(GraphTitleMoment(QDateTime()), QString());
}
