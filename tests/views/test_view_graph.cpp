#include "view_fixture.h"

#include "views/view_graph.h"

#include "graph/graph_model.h"
#include "graph/graph_source.h"
#include "printing/print_graph.h"
#include "printing/print_job.h"

TEST_F(ViewTest, DrawnValues)
{
    GasFacts co;
    co.full = 500.0f;
    co.point = 1;
    const struct {
        float stored;
        float drawn;
    } cases[] = {
        {500.0f, 500.0f},          // at full scale: unchanged
        {612.5f, 500.0f},          // above: at full scale
        {12.34f, 12.3f},           // rounded to the decimals
        {-101.0f, -0.01f},         // no data
        {-107.0f, -0.01f},         // OVER
        {-110.0f, -0.01f},         // a failure code
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(DrawnValue(c.stored, co), c.drawn) << c.stored;
}

TEST_F(ViewTest, ZoomListBySampleCount)
{
    EXPECT_EQ(ZoomItems(30), QStringList{"1"});
    EXPECT_EQ(ZoomItems(31), (QStringList{"1", "3"}));
    EXPECT_EQ(ZoomItems(361), (QStringList{"1", "3", "5", "10", "20", "30"}));
    EXPECT_EQ(ZoomItems(16361), (QStringList{"1", "3", "5", "10", "20", "30", "50"}));
}

TEST_F(ViewTest, ValidSamplesCountEnabledGasesAndOver)
{
    clsInterval r;
    TwoGases(r);
    r.SetGasListInfo(1, 13, false);
    // Gas 0: three readings and one OVER; the disabled gas 1 has more.
    const float v0[] = {1.0f, float(kGasOver), 0.0f, float(kGasNoValue), float(kGasAlarm), 2.0f};
    for (int i = 0; i < 6; ++i)
        AddSample(r, T(10, 0, i), v0[i], 20.9f);
    EXPECT_EQ(CountValidSamples(r), 4);
    AddSample(r, T(10, 0, 7), 3.0f, 20.9f);
    EXPECT_EQ(CountValidSamples(r), 5);
    r.SetGasListInfo(0, 13, false);
    EXPECT_EQ(CountValidSamples(r), 0);
}

TEST_F(ViewTest, AlarmTrendGraphHasItsMarkFrom182Points)
{
    for (const int points : {181, 182}) {
        ViewRecords v;
        TwoGases(v.alarm);
        v.alarm.SetGasListInfo(1, 13, false);
        Identity(v.alarm, QStringLiteral("A1"), T(12, 0, 0));
        for (int i = 0; i < points; ++i)
            AddPoint(v.alarm, i, T(12, 0, 0).addSecs(i - 180), 700.0f, kGasNoValue);
        const GraphFill f = FillGraph(kViewAlarm, v, {255, 65280}, false);
        EXPECT_EQ(f.alarmMark, points == 182);
        EXPECT_EQ(f.sampleCount, points);
        EXPECT_FLOAT_EQ(f.y[0][0], 500.0f);
        EXPECT_FLOAT_EQ(f.y[1][0], GraphModel::kNoValue);
        EXPECT_EQ(f.titleTop, "Data Browse (A1) - Alarm Trend");
        EXPECT_TRUE(f.series[0].enabled);
        EXPECT_FALSE(f.series[1].enabled);
        EXPECT_EQ(f.series[0].format, "##0.0");
        EXPECT_FALSE(f.eventCheckVisible);
        EXPECT_TRUE(f.cursorCheckVisible);
        // The one difference of the Data View window: plain captions.
        EXPECT_EQ(f.series[0].checkCaption, "CO(500ppm)");
        EXPECT_EQ(f.series[0].checkColour, 255);
        const GraphFill plain = FillGraph(kViewAlarm, v, {255, 65280}, true);
        EXPECT_EQ(plain.series[0].checkCaption, "CO");
        EXPECT_EQ(plain.series[0].checkColour, 0);
    }
}

TEST_F(ViewTest, IntervalGraphEventsAreClampedToTheControlsCapacity)
{
    ViewRecords v;
    TwoGases(v.interval);
    Identity(v.interval, QStringLiteral("I1"), T(0, 0, 0));
    for (int i = 0; i < 40; ++i)
        AddSample(v.interval, T(0, 0, 0).addSecs(10 * i), float(i), 20.9f);
    // Every one of 3,000 event rows carries a gas 0 code; gas 1 has a code
    // on every other row and none on the rest.
    for (int j = 0; j < 3000; ++j)
        AddEvent(v.interval, T(0, 0, 0).addSecs(j), kGasAlarm, j % 2 ? float(kGasNoValue) : float(kGasWarning));
    ASSERT_EQ(v.interval.EventCount(), 3000);
    const GraphFill f = FillGraph(kViewInterval, v, {255, 65280}, false);
    EXPECT_EQ(f.events[0].size(), size_t(GraphModel::kMaxEvents));
    EXPECT_EQ(f.events[1].size(), size_t(1500));
    EXPECT_EQ(f.events[0][0].text, "ALARM");
    EXPECT_EQ(f.events[1][1].time, T(0, 0, 2));
    EXPECT_EQ(f.zoomItems, (QStringList{"1", "3"}));
    EXPECT_TRUE(f.eventCheckVisible);
    EXPECT_EQ(f.titleTop, "Data Browse (I1) - Interval Trend");

    const GraphFill none = FillGraph(kViewHistory, v, {0, 0}, false);
    EXPECT_FALSE(none.hasSeries);
    EXPECT_EQ(none.zoomItems, QStringList{"1"});
}

TEST_F(ViewTest, ScreenAndPaperDrawTheSamePointsUnderTheSameTitle)
{
    ViewRecords v;
    TwoGases(v.interval);
    Identity(v.interval, QStringLiteral("I1"), T(10, 0, 0));
    // Readings the table shows as numbers, as "OVER" (above full scale, or
    // negative) and as status words.
    const float co[] = {12.34f, 612.5f, -0.1f, float(kGasOver), 0.0f, -0.04f, float(kGasNoValue), 3.0f};
    const float o2[] = {20.9f, -0.1f, 20.8f, 25.0f, 26.0f, float(kGasFailSensor), 20.7f, 20.6f};
    for (int i = 0; i < 8; ++i)
        AddSample(v.interval, T(10, 0, 10 * i), co[i], o2[i]);
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        const GraphFill screen = FillGraph(kViewInterval, v, {255, 65280}, false);
        GraphModel paper;
        PrintRequest r;
        r.DataType = kPrintIntervalTrend;
        r.IntervalData = &v.interval;
        BuildPrintGraph(paper, r);
        ASSERT_EQ(paper.SampleCount(), screen.sampleCount);
        for (int gas = 0; gas < 2; ++gas) {
            for (int i = 0; i < screen.sampleCount; ++i)
                EXPECT_FLOAT_EQ(paper.valueY(gas, i), screen.y[gas][static_cast<size_t>(i)]) << gas << " " << i;
        }
        EXPECT_EQ(paper.TitleBottom(), screen.titleBottom);
        EXPECT_TRUE(screen.titleBottom.contains(QStringLiteral("2024/05/17 10:00:00")));
    }
    const GraphFill f = FillGraph(kViewInterval, v, {255, 65280}, false);
    EXPECT_FLOAT_EQ(f.y[0][1], 500.0f);
    EXPECT_FLOAT_EQ(f.y[0][2], GraphModel::kNoValue); // "OVER" in the table: no point
    EXPECT_FLOAT_EQ(f.y[0][5], 0.0f);                 // "0.0" in the table
    EXPECT_FLOAT_EQ(f.y[1][1], GraphModel::kNoValue);
}

namespace {

// The graph's model as the data view fills it from f (the series, samples
// and events the panel hands the control, all events shown).
void ApplyToModel(GraphModel& m, const GraphFill& f)
{
    m.Clear();
    for (int s = 0; s < 2; ++s) {
        const GraphSeriesFill& sf = f.series[static_cast<size_t>(s)];
        m.AddSample(sf.name, sf.colour, sf.format, sf.scaleRef);
    }
    SetGraphPoints(m, f);
    for (int s = 0; s < 2; ++s)
        m.SetEventVisible(s, true);
}

GraphLayoutTarget PlainTarget()
{
    GraphLayoutTarget t;
    t.scaleWidth = 15000;
    t.scaleHeight = 9000;
    t.textWidth = [](const QString& s) { return 100.0 * s.size(); };
    t.textHeight = [](const QString&) { return 200.0; };
    return t;
}

} // namespace

TEST_F(ViewTest, ALongTrendEndsAxisAndTitleAtTheLastSampleDrawnOnScreenAndPaper)
{
    // 20,000 samples a minute apart, more than the graph holds (16,361),
    // and an alarm logged at sample 19,000.
    ViewRecords v;
    TwoGases(v.interval);
    Identity(v.interval, QStringLiteral("I1"), T(0, 0, 0));
    const QDateTime start = T(0, 0, 0, 1);
    for (int i = 0; i < 20000; ++i)
        AddSample(v.interval, start.addSecs(60LL * i), float(i % 400), 20.9f);
    AddEvent(v.interval, start.addSecs(60LL * 19000), kGasAlarm, kGasAlarm);
    const QDateTime lastDrawn = start.addSecs(60LL * GraphModel::kMaxSampleIndex);
    const QString lastMoment = GraphTitleMoment(lastDrawn);

    const GraphFill screen = FillGraph(kViewInterval, v, {255, 65280}, false);
    ASSERT_EQ(screen.sampleCount, GraphModel::kSampleSlots);
    EXPECT_TRUE(screen.titleBottom.endsWith(lastMoment)) << screen.titleBottom.toStdString();
    GraphModel shown;
    ApplyToModel(shown, screen);
    shown.SetZoom(1);
    shown.SetMinX(0);
    shown.SetMaxX(0);
    shown.CalcLayout(PlainTarget());
    const int last = shown.SampleCount() - 1;
    EXPECT_EQ(shown.valueX(last), lastDrawn);
    EXPECT_EQ(shown.MaxX(), shown.Offset(last));
    // Zoomed in and scrolled to the end, the window ends there too.
    shown.SetZoom(10);
    shown.ScrollTo(shown.Scroll().max);
    EXPECT_EQ(shown.MaxX(), shown.Offset(last));

    PrintRequest r;
    r.DataType = kPrintIntervalTrend;
    r.IntervalData = &v.interval;
    GraphModel paper;
    BuildPrintGraph(paper, r);
    ASSERT_EQ(paper.SampleCount(), GraphModel::kSampleSlots);
    EXPECT_TRUE(paper.TitleBottom().endsWith(lastMoment)) << paper.TitleBottom().toStdString();
    EXPECT_EQ(paper.TitleBottom(), screen.titleBottom);
    paper.CalcLayout(PlainTarget());
    EXPECT_EQ(paper.valueX(paper.SampleCount() - 1), lastDrawn);
    EXPECT_EQ(paper.MaxX(), paper.Offset(paper.SampleCount() - 1));
}
