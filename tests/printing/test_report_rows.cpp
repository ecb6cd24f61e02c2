// Page header, table rows and page breaks on the recording canvas, where a
// 9 pt character is 108 twips wide and a text line 216 twips high.
#include "print_fixture.h"

#include "printing/report_rows.h"

using namespace print_test;

namespace {

struct AlignCase {
    int code;
    QString text;
    double x; // where the text starts; NAN when nothing is printed
};

class RowTest : public ::testing::Test {
protected:
    RecordingCanvas out;
    ReportColumns columns;
    void SetUp() override
    {
        columns.ColumnX[0] = 1000;
        columns.ColumnX[1] = 3000; // column 0 is 2000 twips wide
        columns.ColumnX[2] = 5000;
        out.SetCurrentY(500);
    }
};

TEST_F(RowTest, AlignmentCodesPlaceTheCellInItsColumn)
{
    const QString wide(25, QLatin1Char('x')); // 2700 twips: wider than the column
    const AlignCase cases[] = {
        {0, "12", 1000},
        {1, "12", 1000 + (2000 - 216) / 2.0},
        {2, "12", 1000 + (2000 - 216) - 400},             // ends at 80 % of the column
        {3, " 12.5 ", 1000 + (2000 - 648) - 400},         // a number: as code 2
        {3, "-3", 1000 + (2000 - 216) - 400},
        {3, "OVER", 1000 + (2000 - 432) / 2.0},           // other text centred
        {3, "", NAN},                                     // not numeric, prints nothing
        {4, "-----", 1000 + (2000 - 540) / 2.0},          // dashes centred
        {4, "12", 1000 + (2000 - 216) / 2.0},
        {4, "NORMAL", 1000},                              // other text left
        {0, wide, 1000},                                  // runs on into the next column
        {1, wide, 1000 - 350},                            // half the excess left of the edge
        {2, wide, 1000 + (2000 - 2700) - 400},            // ends at 80 %, starts before the edge
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " code " + std::to_string(c.code));
        out.texts.clear();
        columns.ColumnAlign[0] = c.code;
        const double top = out.CurrentY();
        PrintRow(out, columns, {c.text});
        if (std::isnan(c.x)) {
            EXPECT_TRUE(out.texts.empty());
        } else {
            ASSERT_EQ(out.texts.size(), 1u);
            EXPECT_NEAR(out.texts[0].x, c.x, 0.01);
            EXPECT_DOUBLE_EQ(out.texts[0].y, top);
        }
        // Every row, blank or not, moves down 1.1 x the height of "W".
        EXPECT_NEAR(out.CurrentY() - top, 1.1 * 216, 0.01);
    }
}

TEST_F(RowTest, ARowStartingAtALaterColumnLeavesTheFirstEmpty)
{
    columns.ColumnAlign[1] = kAlignLeft;
    PrintRow(out, columns, {QStringLiteral("A"), QStringLiteral("B")}, 1);
    ASSERT_EQ(out.texts.size(), 2u);
    EXPECT_EQ(out.texts[0].x, 3000);
    EXPECT_EQ(out.texts[1].x, 5000);
}

struct FitCase {
    const char* name;
    std::vector<float> edges; // the report's edges, twips
    std::vector<int> codes;   // alignment per column
    std::vector<QStringList> rows;
    std::vector<float> fitted; // the edges after fitting
    bool shrinks;              // the texts fit only in a smaller font
};

// On the recording canvas a character is 108 twips wide; the page is 11000
// twips wide and texts keep a gap of 120 twips.
TEST(ColumnFitting, EdgesMoveOnlyAsFarAsTheTextsNeed)
{
    const QString w15(15, QLatin1Char('x')); // 1620
    const QString w12(12, QLatin1Char('x')); // 1296
    const QString w60(60, QLatin1Char('x')); // 6480
    const QString w120(120, QLatin1Char('x'));
    const FitCase cases[] = {
        {"texts that fit keep the edges", {0, 1000, 3000, 11000}, {1, 1, 1}, {{"ab", "cdef", "x"}},
         {0, 1000, 3000, 11000}, false},
        {"a wide text pushes the edges after it", {0, 1000, 3000, 11000}, {1, 1, 1}, {{w15, "ab"}, {"", w12}},
         {0, 1740, 3156, 11000}, false},
        {"the page's edge pulls them back", {0, 5000, 10000, 11000}, {1, 1, 1}, {{"a", w60, "ab"}},
         {0, 4064, 10664, 11000}, false},
        {"a left text runs on over empty cells", {0, 1000, 3000, 11000}, {0, 0, 0}, {{w15, "", "ab"}},
         {0, 1000, 3000, 11000}, false},
        {"a number ends at 80 % of its column", {0, 1000, 3000, 11000}, {2, 1, 1}, {{"1234567"}},
         {0, 1020, 3000, 11000}, false},
        {"texts wider than the page shrink", {0, 1000, 3000, 11000}, {0, 1, 1}, {{w120}}, {}, true},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas out;
        ReportColumns columns;
        for (size_t i = 0; i < c.edges.size(); ++i)
            columns.ColumnX[i] = c.edges[i];
        for (size_t i = 0; i < c.codes.size(); ++i)
            columns.ColumnAlign[i] = c.codes[i];
        ColumnFit fit(out);
        for (const QStringList& row : c.rows)
            fit.AddData(columns, row);
        const double scale = fit.Apply(columns, static_cast<int>(c.edges.size()) - 1, out.ScaleWidth());
        if (c.shrinks) {
            EXPECT_LT(scale, 1);
            EXPECT_LE(scale * 120 * 108, out.ScaleWidth());
            EXPECT_GT(scale * 120 * 108, 0.95 * out.ScaleWidth());
            continue;
        }
        EXPECT_EQ(scale, 1);
        for (size_t i = 0; i < c.fitted.size(); ++i)
            EXPECT_NEAR(columns.ColumnX[i], c.fitted[i], 0.5) << "edge " << i;
    }
}

TEST(ColumnFitting, ACentredHeadingStandsOverNarrowLeftAlignedData)
{
    RecordingCanvas out;
    ReportColumns columns;
    columns.ColumnX = {0, 1000, 6000, 9000};
    columns.ColumnAlign = {kAlignCentre, kAlignLeft, kAlignCentre};
    ColumnFit fit(out);
    fit.AddData(columns, {"1", "2025/11/20", "ON"});
    fit.Apply(columns, 3, out.ScaleWidth());
    columns.AlignAll(kAlignCentre);
    const QStringList heading = {"No", "Date", "Power"};
    columns.CentreWidth = fit.HeadingSpans(columns, heading);
    // Only the left-aligned dates narrower than their column move the
    // heading: over the dates' width (1080) rather than the column's.
    EXPECT_EQ(columns.CentreWidth[0], 0);
    EXPECT_NEAR(columns.CentreWidth[1], 1080, 0.5);
    EXPECT_EQ(columns.CentreWidth[2], 0);
    PrintRow(out, columns, heading);
    ASSERT_EQ(out.texts.size(), 3u);
    EXPECT_NEAR(out.texts[1].x, 1000 + (1080 - 432) / 2.0, 0.5);
    EXPECT_NEAR(out.texts[2].x, 6000 + (3000 - 540) / 2.0, 0.5);
}

TEST(PageHeader, KindTitleAndDateOnOneLine)
{
    SetClock([] { return MakeDate(2026, 12, 10, 9, 30, 5); });
    const QString date = QStringLiteral("2026/12/10 09:30:05");
    const std::pair<int, QString> kinds[] = {
        {1, " (Interval Trend)"}, {2, " (Alarm Trend)"},  {3, " (Calibration History)"},
        {4, " (Last Calibration)"}, {5, " (Alarm Event)"}, {6, " (Trouble Event)"},
        {7, " (Power Event)"},    {0, QString()},         {8, QString()},
    };
    for (const auto& [kind, title] : kinds) {
        SCOPED_TRACE(kind);
        RecordingCanvas out;
        PrintPageHeader(out, kind, QStringLiteral("IPAGothic"));
        ASSERT_EQ(out.texts.size(), title.isEmpty() ? 2u : 3u);
        const auto& product = out.texts.front();
        EXPECT_EQ(product.text, QStringLiteral("Pelkar Data Logger"));
        EXPECT_EQ(product.x, 10);
        EXPECT_EQ(product.y, 10);
        EXPECT_EQ(product.size, 12);
        EXPECT_TRUE(product.bold);
        EXPECT_EQ(product.family, QStringLiteral("IPAGothic"));
        if (!title.isEmpty()) {
            EXPECT_EQ(out.texts[1].text, title);
            EXPECT_EQ(out.texts[1].x, 10 + 18 * 144); // right after the product line
        }
        // The date ends 300 twips from the right edge, level with the title.
        const auto& d = out.texts.back();
        EXPECT_EQ(d.text, date);
        EXPECT_EQ(d.size, 9);
        EXPECT_NEAR(d.x + date.size() * 108, out.ScaleWidth() - 300, 0.01);
        EXPECT_EQ(d.y, 10);
        // The rows below print in 9 pt, not bold, one line lower.
        EXPECT_EQ(out.Font().pointSizeF(), 9);
        EXPECT_FALSE(out.Font().bold());
        EXPECT_EQ(out.CurrentY(), 10 + 216);
    }
    SetClock({});
}

TEST(Rule, ThirtyTwipsBelowThePrintPositionAcrossThePage)
{
    RecordingCanvas out;
    out.SetCurrentY(1000);
    DrawRule(out, 4);
    ASSERT_EQ(out.lines.size(), 1u);
    const auto& l = out.lines[0];
    EXPECT_EQ(l.x1, 0);
    EXPECT_EQ(l.x2, out.ScaleWidth());
    EXPECT_EQ(l.y1, 1030);
    EXPECT_EQ(l.y2, 1030);
    EXPECT_EQ(l.width, 4);
}

// Prints the last-calibration list of rows rows on the recording canvas.
std::unique_ptr<RecordingCanvas> PrintList(int rows)
{
    auto out = std::make_unique<RecordingCanvas>();
    PrintRequest r;
    r.DataType = kPrintLastCalibration;
    r.LastCalList = LastCalGrid(rows);
    QStringList errors;
    PrintReport(*out, r, errors);
    EXPECT_TRUE(errors.isEmpty());
    return out;
}

TEST(PageBreak, EveryPageCarriesHeaderAndColumnHeadingAndTheLastIsNeverEmpty)
{
    // Around the row counts that fill a page or two exactly.
    for (int rows = 50; rows <= 130; ++rows) {
        SCOPED_TRACE(rows);
        const auto out = PrintList(rows);
        EXPECT_TRUE(out->finished);
        int dataRows = 0;
        for (int page = 1; page <= out->PageCount(); ++page) {
            const auto texts = out->TextsOnPage(page);
            ASSERT_FALSE(texts.empty());
            EXPECT_EQ(texts.front().text, QStringLiteral("Pelkar Data Logger"));
            ASSERT_NE(out->Find(QStringLiteral("SerialNo"), page), nullptr);
            int onPage = 0;
            for (const auto& t : texts) {
                if (t.text.startsWith(QStringLiteral("SN"))) {
                    ++onPage;
                    // No row starts below the page's end.
                    EXPECT_LT(t.y, out->ScaleHeight());
                }
            }
            EXPECT_GT(onPage, 0) << "page " << page << " holds no row";
            dataRows += onPage;
        }
        EXPECT_EQ(dataRows, rows);
        // Further pages start a tenth of the page's width from the top.
        if (out->PageCount() > 1) {
            EXPECT_DOUBLE_EQ(out->Find(QStringLiteral("SerialNo"), 2)->y, 0.1 * out->ScaleWidth());
        }
    }
}

TEST(PageBreak, TheLastCalibrationListKeepsTheGridsTextsAndOrder)
{
    const auto out = PrintList(3);
    // The header's seven texts, centred; data rows left but the number
    // centred. The number's column is 4 % of the page, or as wide as its
    // heading "No." and the gap beside it.
    const double numberColumn = std::max(0.04 * out->ScaleWidth(), 3 * 108 + ColumnFit::kGap);
    const auto* serial = out->Find(QStringLiteral("SN0002"));
    ASSERT_NE(serial, nullptr);
    EXPECT_NEAR(serial->x, numberColumn, 0.5);
    const auto* number = out->Find(QStringLiteral("2"));
    ASSERT_NE(number, nullptr);
    EXPECT_NEAR(number->x, (numberColumn - 108) / 2, 0.5);
    EXPECT_LT(out->Find(QStringLiteral("SN0001"))->y, out->Find(QStringLiteral("SN0003"))->y);
    // Heading rule of width 1, closing rule of width 4.
    ASSERT_EQ(out->lines.size(), 2u);
    EXPECT_EQ(out->lines[0].width, 1);
    EXPECT_EQ(out->lines[1].width, 4);
}

} // namespace

namespace {

TEST(CalHistory, AnEmptyHistoryPrintsIdentityHeadingAndBothRules)
{
    TempHome home; // no database: the record stays empty
    ResetAppState();
    SetResLanguage(ResLanguage::English);
    RecordingCanvas out;
    PrintRequest r;
    r.DataType = kPrintCalHistory;
    r.SeqNo = 5;
    QStringList errors;
    PrintReport(out, r, errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_NE(out.Find(QStringLiteral("Serial No.")), nullptr);
    EXPECT_NE(out.Find(QStringLiteral("*")), nullptr);
    EXPECT_NE(out.Find(QStringLiteral("Date/Time")), nullptr);
    EXPECT_EQ(out.Find(QStringLiteral("Before")), nullptr);
    // Identity rule and heading rule of width 1, closing rule of width 4.
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[1].width, 1);
    EXPECT_EQ(out.lines[2].width, 4);
    EXPECT_EQ(out.PageCount(), 1);
    SetResLanguage(ResLanguage::System);
}

} // namespace
