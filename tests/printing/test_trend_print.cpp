// Trend printouts on the recording canvas: the properties block, the
// sample tables and the graph's samples.
#include "print_fixture.h"

#include "graph/graph_model.h"
#include "printing/print_graph.h"
#include "printing/report_rows.h"

using namespace print_test;

namespace {

class TrendPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
    }

    // The texts of the row whose first cell is caption (same line, left to right).
    static QStringList RowOf(const RecordingCanvas& out, const QString& caption)
    {
        const auto* first = out.Find(caption);
        QStringList row;
        if (!first)
            return row;
        for (const auto& t : out.texts) {
            if (t.page == first->page && t.y == first->y)
                row << t.text;
        }
        return row;
    }

    // The printed graph of an interval trend.
    static void BuildIntervalGraph(GraphModel& model, clsInterval& rec)
    {
        PrintRequest r;
        r.DataType = kPrintIntervalTrend;
        r.IntervalData = &rec;
        BuildPrintGraph(model, r);
    }

    std::unique_ptr<RecordingCanvas> Print(const PrintRequest& r)
    {
        auto out = std::make_unique<RecordingCanvas>();
        QStringList errors;
        PrintReport(*out, r, errors);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(' ').toStdString();
        EXPECT_TRUE(out->finished);
        return out;
    }
};

TEST_F(TrendPrint, AlarmPropertiesAreSevenRowsBetweenTheRules)
{
    clsAlarm rec;
    FillAlarm(rec, 200);
    PrintRequest r;
    r.DataType = kPrintAlarmTrend;
    r.PrintType = true;
    r.AlarmData = &rec;
    const auto out = Print(r);
    // Header row, rule, blank row, seven property rows, closing rule.
    ASSERT_EQ(out->lines.size(), 2u);
    EXPECT_EQ(out->lines[0].width, 1);
    EXPECT_EQ(out->lines[1].width, 4);
    const double step = 1.1 * 216;
    const auto* header = out->Find(QStringLiteral("Property"));
    ASSERT_NE(header, nullptr);
    EXPECT_DOUBLE_EQ(header->y, out->ScaleHeight() / 20);
    const QStringList captions = {"Name", "Alarm Date/Time", "Serial No.", "Station ID", "User ID", "Data Count",
                                  "Interval Time (sec)"};
    for (int i = 0; i < captions.size(); ++i) {
        const auto* row = out->Find(captions[i]);
        ASSERT_NE(row, nullptr) << captions[i].toStdString();
        // The rows below the rule start as far below it as it lies below the header row.
        EXPECT_NEAR(row->y, header->y + step * (2 + i) + 2 * kRuleGap, 0.5) << captions[i].toStdString();
    }
    EXPECT_EQ(RowOf(*out, "Data Count"), QStringList({"Data Count", "200"}));
    EXPECT_EQ(RowOf(*out, "Alarm Date/Time"), QStringList({"Alarm Date/Time", "2026/03/04 10:00:00"}));
    EXPECT_EQ(out->Find("Avg"), nullptr);
    // The graph fills its band of the page with every sample.
    ASSERT_EQ(out->graphs.size(), 1u);
    const auto& g = out->graphs[0];
    EXPECT_DOUBLE_EQ(g.rect.top(), 0.40 * out->ScaleHeight());
    EXPECT_DOUBLE_EQ(g.rect.height(), 0.45 * out->ScaleHeight());
    EXPECT_DOUBLE_EQ(g.rect.left(), 0.02 * out->ScaleWidth());
    EXPECT_DOUBLE_EQ(g.rect.width(), 0.95 * out->ScaleWidth());
    EXPECT_EQ(g.sampleCount, 200);
    EXPECT_TRUE(g.bold);
}

TEST_F(TrendPrint, IntervalStatisticsShowOverDashesAndOnlyTheSecondGasMinimum)
{
    clsInterval rec;
    std::vector<float> values(100, 5.0f);
    FillInterval(rec, values, 3);
    rec.SetGasListInfo(0, 10, 600.0f); // average above the full scale
    rec.SetGasListInfo(0, 8, 500.0f);  // maximum equal to it
    rec.SetGasListInfo(1, 9, 30.0f);   // a minimum above the full scale stays a number
    PrintRequest r;
    r.DataType = kPrintIntervalTrend;
    r.PrintType = true;
    r.IntervalData = &rec;
    auto out = Print(r);
    EXPECT_EQ(RowOf(*out, "Data Count"), QStringList({"Data Count", "103"}));
    EXPECT_EQ(RowOf(*out, "Gas(FullScale)"), QStringList({"Gas(FullScale)", "CO(500ppm)", "O2(25vol%)"}));
    EXPECT_EQ(RowOf(*out, "Avg"), QStringList({"Avg", "OVER", "20.4"}));
    EXPECT_EQ(RowOf(*out, "Max"), QStringList({"Max", "500", "20.9"}));
    EXPECT_EQ(RowOf(*out, "Max Date/Time"), QStringList({"Max Date/Time", "03/04 10:02:00", "03/04 10:00:00"}));
    EXPECT_EQ(RowOf(*out, "Min"), QStringList({"Min", "-----", "30.0"}));
    EXPECT_EQ(RowOf(*out, "Min Date/Time"), QStringList({"Min Date/Time", "-----", "03/04 10:05:00"}));
    // Three rules: heading, statistics, closing.
    ASSERT_EQ(out->lines.size(), 3u);
    EXPECT_EQ(out->lines[2].width, 4);

    // A disabled second gas: dashes in every cell but its caption.
    rec.SetGasListInfo(1, 13, false);
    out = Print(r);
    for (const char* caption : {"Avg", "Max", "Max Date/Time", "Min", "Min Date/Time"})
        EXPECT_EQ(RowOf(*out, caption).value(2), QStringLiteral("-----")) << caption;
    EXPECT_EQ(RowOf(*out, "Gas(FullScale)").value(2), QStringLiteral("O2(25vol%)"));
}

TEST_F(TrendPrint, AlarmTableUnderlinesTheAlarmRowAndPrintsOverAboveFullScale)
{
    for (int n : {181, 180}) {
        SCOPED_TRACE(n);
        clsAlarm rec;
        FillAlarm(rec, n);
        rec.SetValue(0, 3, 501.0f);
        rec.SetValue(1, 4, -110.0f);
        PrintRequest r;
        r.DataType = kPrintAlarmTrend;
        r.AlarmData = &rec;
        const auto out = Print(r);
        EXPECT_EQ(RowOf(*out, "4").value(2), QStringLiteral("OVER"));
        EXPECT_EQ(RowOf(*out, "5").value(3), QStringLiteral("FAIL(Sen.)"));
        int underlines = 0;
        const RecordingCanvas::Text* row181 = nullptr; // the number cell, not a value or the count
        for (const auto& t : out->texts) {
            if (t.text == QStringLiteral("181") && t.x < 0.05 * out->ScaleWidth())
                row181 = &t;
        }
        for (const auto& l : out->lines) {
            if (l.width == 1 && row181 && l.page == row181->page
                && std::abs(l.y1 - (row181->y + 1.1 * 216 + kRuleGap)) < 0.01)
                ++underlines;
        }
        EXPECT_EQ(underlines, n >= 181 ? 1 : 0);
        // Every page after the first repeats the column heading, placed as on the first.
        ASSERT_GT(out->PageCount(), 1);
        for (int page = 2; page <= out->PageCount(); ++page) {
            for (const char* heading : {"No", "Date/Time", "CO(500ppm)"}) {
                const auto* first = out->Find(QString::fromLatin1(heading), 1);
                const auto* again = out->Find(QString::fromLatin1(heading), page);
                ASSERT_NE(again, nullptr) << heading << " on page " << page;
                EXPECT_DOUBLE_EQ(again->x, first->x) << heading << " on page " << page;
            }
        }
        // The date column is left-aligned, the number centred in its 5 %.
        const auto* row = out->Find(QStringLiteral("2026/03/04 09:57:00"));
        ASSERT_NE(row, nullptr);
        EXPECT_NEAR(row->x, 0.05 * out->ScaleWidth(), 0.5);
    }
}

TEST_F(TrendPrint, IntervalTablePrintsTheGridsTextsColouredCellsLeft)
{
    clsInterval rec;
    FillInterval(rec, std::vector<float>(4, 1.0f));
    PrintRequest r;
    r.DataType = kPrintIntervalTrend;
    r.IntervalData = &rec;
    r.SampleTable = SampleGrid(4, 2); // row 2 is an event row
    const auto out = Print(r);
    const auto* plain = out->Find(QStringLiteral("2026/03/04 10:02:00"));
    const auto* coloured = out->Find(QStringLiteral("2026/03/04 10:01:00"));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(coloured, nullptr);
    const double left = 0.05 * out->ScaleWidth();
    const double width = 0.20 * out->ScaleWidth();
    EXPECT_NEAR(plain->x, left + (width - 19 * 108) / 2, 0.5);
    EXPECT_NEAR(coloured->x, left, 0.5);
    const auto* alarm = out->Find(QStringLiteral("ALARM"));
    ASSERT_NE(alarm, nullptr);
    EXPECT_NEAR(alarm->x, 0.25 * out->ScaleWidth(), 0.5);
    EXPECT_EQ(RowOf(*out, "No"), QStringList({"No", "Date/Time", "CO(500ppm)", "O2(25vol%)"}));

    // Only the heading row: the column heading and its rule, no rows.
    r.SampleTable = SampleGrid(0);
    const auto empty = Print(r);
    EXPECT_EQ(empty->Find(QStringLiteral("1")), nullptr);
    EXPECT_NE(empty->Find(QStringLiteral("Date/Time")), nullptr);
}

TEST_F(TrendPrint, ThinningKeepsTheEndsOfEachRun)
{
    const auto thin = [](const std::vector<float>& v) {
        return PlottedSamples(static_cast<int>(v.size()), [&v](int i) {
            return std::array<float, 5>{v[static_cast<size_t>(i)], 0, 0, 0, 0};
        });
    };
    EXPECT_EQ(thin({1, 1, 1, 2, 2, 3}), std::vector<int>({0, 2, 3, 4, 5}));
    EXPECT_EQ(thin(std::vector<float>(50, 7)), std::vector<int>({0, 49}));
    EXPECT_EQ(thin({4}), std::vector<int>({0}));
    EXPECT_TRUE(thin({}).empty());
    std::vector<float> rising(20000);
    for (size_t i = 0; i < rising.size(); ++i)
        rising[i] = static_cast<float>(i);
    const std::vector<int> capped = thin(rising);
    EXPECT_EQ(capped.size(), 16361u);
    EXPECT_EQ(capped.back(), 16360);
}

TEST_F(TrendPrint, PlottedValueClampsToFullScaleAndDropsCodesBelowZero)
{
    EXPECT_FLOAT_EQ(PlottedValue(600, 500, 0), 500);
    EXPECT_FLOAT_EQ(PlottedValue(12.26f, 500, 1), 12.3f);
    EXPECT_FLOAT_EQ(PlottedValue(-107, 500, 0), -0.01f);
    EXPECT_FLOAT_EQ(PlottedValue(0, 500, 0), 0);
}

TEST_F(TrendPrint, GraphMarksTheAlarmOnlyWhenSamplesFollowIt)
{
    for (int n : {182, 181}) {
        SCOPED_TRACE(n);
        clsAlarm rec;
        FillAlarm(rec, n);
        rec.SetGasListInfo(1, 13, false);
        PrintRequest r;
        r.DataType = kPrintAlarmTrend;
        r.AlarmData = &rec;
        GraphModel model;
        BuildPrintGraph(model, r);
        EXPECT_EQ(model.SampleCount(), n);
        EXPECT_EQ(model.CommonEventText(180), n > 181 ? QStringLiteral("Alarm") : QString());
        EXPECT_EQ(model.CommonEventVisible(), n > 181);
        EXPECT_FALSE(model.EventVisible(0));
        EXPECT_TRUE(model.SampleVisible(0));
        EXPECT_FALSE(model.SampleVisible(1)); // a disabled gas keeps its values but is not drawn
        EXPECT_FLOAT_EQ(model.valueY(1, 0), 20.9f);
        EXPECT_EQ(model.TitleTop(), QStringLiteral("Data Browse (Alarm 1) - Alarm Trend"));
    }
}

TEST_F(TrendPrint, ARecordWithoutSamplesHasNoTimesInItsTitle)
{
    clsInterval rec;
    FillInterval(rec, {});
    GraphModel model;
    BuildIntervalGraph(model, rec);
    EXPECT_EQ(model.SampleCount(), 0);
    EXPECT_EQ(model.TitleBottom(), QStringLiteral("Sampling Date/Time:  to "));
}

TEST_F(TrendPrint, IntervalGraphPlotsRunEndsAtTheirValues)
{
    clsInterval rec;
    FillInterval(rec, {1, 1, 1, 2, 2, 600, -107});
    GraphModel model;
    BuildIntervalGraph(model, rec);
    ASSERT_EQ(model.SampleCount(), 6);
    EXPECT_EQ(model.valueX(1), T0().addSecs(120));
    EXPECT_FLOAT_EQ(model.valueY(0, 4), 500);    // above the full scale
    EXPECT_FLOAT_EQ(model.valueY(0, 5), -0.01f); // a status code
}

} // namespace
