#include "common/colors.h"
#include "common/dates.h"
#include "graph/graph_renderer.h"
#include "graph/ucltalgraph.h"
#include "focus_contrast.h"
#include "pdf_text.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

const QDateTime kStart = MakeDate(2024, 5, 1, 8, 0, 0);
constexpr std::int32_t kRed = RGB(255, 0, 0);
constexpr std::int32_t kGreen = RGB(0, 255, 0);
constexpr std::int32_t kWhite = RGB(255, 255, 255);

// One series of the given values, 100 seconds apart.
void Fill(uclTalGraph& g, const std::vector<float>& values, std::int32_t colour = kRed)
{
    g.Clear();
    g.AddSample(QStringLiteral("CO"), colour, QStringLiteral("##0"), 25);
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        g.SetvalueX(i, kStart.addSecs(100 * i));
        g.SetvalueY(0, i, values[i]);
    }
    g.SetSampleCount(static_cast<int>(values.size()));
}

QPoint Px(double xTwips, double yTwips, double dpi = 96)
{
    return QPoint(static_cast<int>(std::floor(xTwips * dpi / 1440)), static_cast<int>(std::floor(yTwips * dpi / 1440)));
}

// Whether a pixel of exactly `colour` lies within `radius` of p.
bool ColourNear(const QImage& image, QPoint p, std::int32_t colour, int radius = 1)
{
    const QRgb want = ColorFromWin(colour).rgb();
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (image.rect().contains(q) && image.pixel(q) == want)
                return true;
        }
    }
    return false;
}

// Bounding box of the pixels of exactly `colour` inside `area`.
QRect ColourBox(const QImage& image, const QRect& area, std::int32_t colour)
{
    const QRgb want = ColorFromWin(colour).rgb();
    QRect box;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
            if (image.pixel(x, y) == want)
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

QImage BlankImage(QSize size, double dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    return image;
}

struct PdfWord {
    QRectF box; // points
    QString text;
};

// The words of page 1 of a PDF file with their boxes, as pdftotext reads
// them; empty when the tool is missing.
std::vector<PdfWord> PdfWords(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    std::vector<PdfWord> words;
    if (tool.isEmpty())
        return words;
    QProcess p;
    p.start(tool, {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                   QStringLiteral("1"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back({QRectF(topLeft, bottomRight), m.captured(5)});
    }
    return words;
}

// Prints m on page 1 of an A4 PDF at path, in the printed page's graph band:
// 2 % to 97 % of the width, 40 % to 85 % of the height. Returns the band in twips.
QRectF PrintOnA4(GraphModel& m, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    GraphRenderTarget t;
    t.screen = false;
    t.printer = true;
    t.dpiX = writer.logicalDpiX();
    t.dpiY = writer.logicalDpiY();
    t.scaleWidth = writer.width() * 1440.0 / t.dpiX;
    t.scaleHeight = writer.height() * 1440.0 / t.dpiY;
    const QRectF band(0.02 * t.scaleWidth, 0.40 * t.scaleHeight, 0.95 * t.scaleWidth, 0.45 * t.scaleHeight);
    m.SetSetDrawLeft(band.left());
    m.SetSetDrawTop(band.top());
    m.SetSetDrawWidth(band.width());
    m.SetSetDrawHeight(band.height());
    QFont font;
    font.setBold(true);
    RenderGraph(m, painter, font, t, {});
    painter.end();
    return band;
}

} // namespace

TEST(GraphWidget, PrintedTextsNeverOverlapNorLeaveTheirArea)
{
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    // Two gases with events close together in one row, at both ends of the
    // samples, before the first sample, in a dense cluster, and the common
    // row's mark; titles in either language.
    const struct {
        const char* top;
        const char* bottom;
    } titles[] = {
        {"Data Browse (Trend) - Interval Trend", "Sampling Date/Time: 2024/05/01 08:00:00 to 2024/05/01 08:09:50"},
        {"\uFF83\uFF9E\uFF70\uFF80\u95B2\u89A7 (Trend) - \uFF72\uFF9D\uFF80\uFF70\uFF8A\uFF9E\uFF99",
         "\uFF7B\uFF9D\uFF8C\uFF9F\uFF98\uFF9D\uFF78\uFF9E\u65E5\u6642: 2024/05/01 08:00:00 \uFF5E 2024/05/01 08:09:50"},
    };
    QTemporaryDir dir;
    for (const auto& title : titles) {
        GraphModel m;
        m.AddSample(QStringLiteral("CO"), kRed, QStringLiteral("##0.0"), 500);
        m.AddSample(QStringLiteral("O2"), RGB(0, 0, 255), QStringLiteral("##0.0"), 25);
        m.SetTitleTop(QString::fromUtf8(title.top));
        m.SetTitleBottom(QString::fromUtf8(title.bottom));
        for (int i = 0; i < 60; ++i) {
            m.SetvalueX(i, kStart.addSecs(10 * i));
            m.SetvalueY(0, i, 1.0f + (i % 5) * 0.5f);
            m.SetvalueY(1, i, 20.9f);
        }
        m.SetSampleCount(60);
        std::vector<std::pair<int, QString>> events[2] = {
            {{0, "ALARM"}, {100, "WARNING"}, {110, "OVER"}, {590, "WARNING"}},
            {{-5, "ALARM"}, {300, "WARNING"}, {590, "ALARM"}},
        };
        for (int k = 0; k < 12; ++k)
            events[0].push_back({300 + 5 * k, k % 2 ? "OVER" : "WARNING"});
        int expected = 1; // the common row's "Alarm"
        for (int s = 0; s < 2; ++s) {
            for (int e = 0; e < static_cast<int>(events[s].size()); ++e) {
                m.SetEventX(s, e, kStart.addSecs(events[s][static_cast<size_t>(e)].first));
                m.SetEventFlag(s, e, events[s][static_cast<size_t>(e)].second);
            }
            m.SetEventCount(s, static_cast<int>(events[s].size()));
            m.SetEventVisible(s, true);
            expected += static_cast<int>(events[s].size());
        }
        m.SetEventFlag(GraphModel::kCommonRow, 30, QStringLiteral("Alarm"));
        m.SetEventVisible(GraphModel::kCommonRow, true);

        const QString path = dir.filePath(QStringLiteral("graph.pdf"));
        const QRectF band = PrintOnA4(m, path);

        const std::vector<PdfWord> words = PdfWords(path);
        ASSERT_FALSE(words.empty());
        // Points of the page; texts are placed on whole device pixels.
        const QRectF area =
            QRectF(band.left() / 20, band.top() / 20, band.width() / 20, band.height() / 20).adjusted(-0.1, -0.1, 0.1, 0.1);
        int marks = 0;
        for (size_t i = 0; i < words.size(); ++i) {
            const PdfWord& w = words[i];
            marks += w.text == QLatin1String("WARNING") || w.text == QLatin1String("OVER") ||
                     w.text == QLatin1String("ALARM") || w.text == QLatin1String("Alarm");
            EXPECT_TRUE(area.contains(w.box)) << w.text.toStdString();
            for (size_t j = i + 1; j < words.size(); ++j)
                EXPECT_FALSE(w.box.intersects(words[j].box)) << w.text.toStdString() << " / " << words[j].text.toStdString();
        }
        EXPECT_EQ(marks, expected); // every event's text found room
    }
}

namespace {

// A graph of two gases far more crowded with events than its rows can
// label: 228 events over ten minutes, and the common row's mark.
int FillCrowdedEvents(GraphModel& m)
{
    m.AddSample(QStringLiteral("CO"), kRed, QStringLiteral("##0.0"), 500);
    m.AddSample(QStringLiteral("O2"), RGB(0, 0, 255), QStringLiteral("##0.0"), 25);
    for (int i = 0; i < 60; ++i) {
        m.SetvalueX(i, kStart.addSecs(10 * i));
        m.SetvalueY(0, i, 1.0f + (i % 5) * 0.5f);
        m.SetvalueY(1, i, 20.9f);
    }
    m.SetSampleCount(60);
    const char* texts[] = {"WARNING", "ALARM", "OVER"};
    const int counts[] = {148, 80};
    const int every[] = {4, 7};
    int events = 1;
    for (int s = 0; s < 2; ++s) {
        for (int e = 0; e < counts[s]; ++e) {
            m.SetEventX(s, e, kStart.addSecs(every[s] * e));
            m.SetEventFlag(s, e, QString::fromLatin1(texts[(e + s) % 3]));
        }
        m.SetEventCount(s, counts[s]);
        m.SetEventVisible(s, true);
        events += counts[s];
    }
    m.SetEventFlag(GraphModel::kCommonRow, 30, QStringLiteral("Alarm"));
    m.SetEventVisible(GraphModel::kCommonRow, true);
    return events;
}

// The events the texts of a drawing stand for: one per event text, N per
// count "+N" (a text may hold several when the reader runs them together).
int EventsInTexts(const QStringList& texts, int* counts = nullptr)
{
    static const QRegularExpression part(QStringLiteral(R"re((WARNING|ALARM|OVER|Alarm)|\+(\d+))re"));
    int events = 0;
    for (const QString& text : texts) {
        for (auto it = part.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            if (m.hasCaptured(1)) {
                ++events;
            } else {
                events += m.captured(2).toInt();
                if (counts)
                    ++*counts;
            }
        }
    }
    return events;
}

} // namespace

TEST(GraphWidget, CrowdedEventTextsAreCountedWhereTheyCannotStand)
{
    // Screen: what the drawing placed, texts and counts, stands for every
    // event, inside the plot and clear of each other.
    uclTalGraph g;
    g.resize(900, 500);
    g.SetAutoRedraw(false);
    const int events = FillCrowdedEvents(g.Model());
    g.SetZoom(1);
    g.Refresh();
    const GraphModel& m = g.Model();
    const QRectF plot(m.PlotLeft(), m.PlotTop(), m.PlotWidth(), m.PlotHeight());
    const auto placedTexts = [&m] {
        QStringList texts;
        for (const GraphEventLabel& label : m.EventLabels().labels)
            texts << label.text;
        return texts;
    };
    const std::vector<GraphEventLabel>& labels = m.EventLabels().labels;
    int shownEvents = 0;
    int counts = 0;
    for (size_t i = 0; i < labels.size(); ++i) {
        shownEvents += labels[i].events;
        counts += labels[i].text.startsWith(QLatin1Char('+'));
        EXPECT_TRUE(plot.contains(labels[i].box)) << labels[i].text.toStdString();
        for (size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].box.intersects(labels[j].box)) << labels[i].text.toStdString() << " / "
                                                                  << labels[j].text.toStdString();
    }
    EXPECT_GT(counts, 0) << "the rows are too crowded to label every event";
    EXPECT_EQ(shownEvents, events);
    EXPECT_EQ(EventsInTexts(placedTexts()), events);

    // Zoomed in, fewer events are in view and they are counted anew; a
    // changed text is drawn as it reads now.
    g.SetZoom(3);
    g.Refresh();
    int inView = 0;
    for (int s = 0; s < 2; ++s) {
        for (int e = 0; e < m.EventCount(s); ++e)
            inView += m.EventOffset(s, e) >= m.MinX() && m.EventOffset(s, e) <= m.MaxX();
    }
    EXPECT_LT(inView, events - 1);
    EXPECT_EQ(EventsInTexts(placedTexts()), inView);
    g.Model().SetEventFlag(0, 0, QStringLiteral("TWA"));
    g.Refresh();
    EXPECT_TRUE(placedTexts().contains(QStringLiteral("TWA")));

    // Paper: the words printed stand for every event in the same way.
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    GraphModel paper;
    FillCrowdedEvents(paper);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crowded.pdf"));
    PrintOnA4(paper, path);
    QStringList words;
    for (const PdfWord& w : PdfWords(path))
        words << w.text;
    int printedCounts = 0;
    EXPECT_EQ(EventsInTexts(words, &printedCounts), events);
    EXPECT_GT(printedCounts, 0);
}

TEST(GraphWidget, MissingSampleDrawnAsPointAndLevelStep)
{
    uclTalGraph g;
    g.resize(400, 300);
    g.SetBackColor(kWhite);
    Fill(g, {10.0f, -0.01f, 12.0f});
    g.SetMinY(0.0f);
    g.SetMaxY(20.0f);
    g.Refresh();
    const QImage pic = g.Picture();
    ASSERT_FALSE(pic.isNull());

    const double x0 = g.xPos(0);
    const double x1 = g.xPos(100);
    const double x2 = g.xPos(200);
    const double y10 = g.yPos(10, 0);
    const double y12 = g.yPos(12, 0);
    const double yNone = g.yPos(-0.01, 0);
    // A point at the first value, a level line at the third value from the
    // second sample's time to the third's.
    EXPECT_TRUE(ColourNear(pic, Px(x0, y10), kRed));
    EXPECT_TRUE(ColourNear(pic, Px((x1 + x2) / 2, y12), kRed));
    EXPECT_TRUE(ColourNear(pic, Px(x1 + (x2 - x1) / 10, y12), kRed));
    // No slope into or out of the missing value.
    EXPECT_FALSE(ColourNear(pic, Px((x0 + x1) / 2, (y10 + yNone) / 2), kRed, 2));
    EXPECT_FALSE(ColourNear(pic, Px((x0 + x1) / 2, (y10 + y12) / 2), kRed, 2));
    EXPECT_FALSE(ColourNear(pic, Px((x1 + x2) / 2, (yNone + y12) / 2), kRed, 2));

    // Without a missing value the same samples make a slope.
    Fill(g, {10.0f, 11.0f, 12.0f});
    g.SetMinY(0.0f);
    g.SetMaxY(20.0f);
    g.Refresh();
    EXPECT_TRUE(ColourNear(g.Picture(), Px((x0 + x1) / 2, g.yPos(10.5, 0)), kRed));
}

TEST(GraphWidget, EventMarkAtSameTwipsOnAnyResolution)
{
    uclTalGraph g;
    g.resize(600, 400);
    Fill(g, {1.0f, 2.0f, 3.0f});
    g.SetValueColor(0, kGreen);
    g.SetSampleVisible(0, false); // keep the line out of the way
    g.SetEventVisible(0, true);
    g.SetEventX(0, 0, kStart.addSecs(100));
    g.SetEventFlag(0, 0, QStringLiteral("ALARM"));
    g.SetEventCount(0, 1);
    g.SetSetDrawLeft(0);
    g.SetSetDrawTop(0);
    g.SetSetDrawWidth(9000);
    g.SetSetDrawHeight(6000);

    struct Mark {
        double centreX;
        double apexY;
        double baseY;
        double width;
        double expectedX;
        double expectedY;
    };
    const auto render = [&](double dpi) {
        QImage image = BlankImage(QSize(static_cast<int>(9000 * dpi / 1440), static_cast<int>(6000 * dpi / 1440)), dpi);
        g.SetDrawObj(&image);
        g.Refresh();
        g.SetDrawObj(nullptr);
        const double x = g.xPos(100);
        const double y = g.Model().EventRowY(0);
        // Search above the row only; the text lies below it.
        const QRect area(Px(x - 150, y - 200, dpi), Px(x + 150, y + 60, dpi));
        const QRect box = ColourBox(image, area, kGreen);
        EXPECT_FALSE(box.isEmpty());
        const double t = 1440 / dpi;
        return Mark{(box.left() + box.right() + 1) / 2.0 * t, (box.bottom() + 1) * t, box.top() * t,
                    (box.width()) * t, x, y};
    };
    g.SetEventFlag(1000, 2, QStringLiteral("Alarm")); // common row, by sample
    g.SetEventVisible(1000, true);
    const Mark low = render(96);
    const Mark high = render(600);
    // The common row's mark points up from 300 twips above the plot bottom.
    {
        QImage image = BlankImage(QSize(600, 400), 96);
        g.SetDrawObj(&image);
        g.Refresh();
        g.SetDrawObj(nullptr);
        const GraphModel& m = g.Model();
        const double x = g.xPos(200);
        const double y = m.PlotTop() + m.PlotHeight() - 300;
        const QRect box = ColourBox(image, QRect(Px(x - 150, y - 60), Px(x + 150, y + 170)), 1);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_NEAR(box.top() * 15.0, y, 16);
        EXPECT_NEAR((box.bottom() + 1) * 15.0, y + 110, 16);
    }
    for (const Mark& m : {low, high}) {
        EXPECT_NEAR(m.centreX, m.expectedX, 16);
        EXPECT_NEAR(m.apexY, m.expectedY, 16);
        EXPECT_NEAR(m.apexY - m.baseY, 110, 16);
        EXPECT_NEAR(m.width, 83, 16);
    }
    EXPECT_NEAR(low.centreX, high.centreX, 20);
    EXPECT_NEAR(low.apexY, high.apexY, 20);
    // The screen surface was not touched by either pass.
    EXPECT_TRUE(g.Picture().isNull());
}

TEST(GraphWidget, AutoRedrawOffPaintsOnlyOnRefresh)
{
    uclTalGraph g;
    g.SetAutoRedraw(false);
    g.resize(400, 300);
    g.show();
    Fill(g, {5.0f, 5.0f, 5.0f});
    g.SetSampleCount(0);
    g.Refresh();
    EXPECT_TRUE(g.Picture().isNull()); // nothing is drawn without samples

    g.SetSampleCount(3);
    g.resize(420, 300);
    EXPECT_TRUE(g.Picture().isNull());
    g.Refresh();
    ASSERT_FALSE(g.Picture().isNull());
    const int drawnWidth = g.Surface()->width();
    EXPECT_EQ(g.Picture().width(), drawnWidth);
    const double y = g.yPos(5, 0);
    EXPECT_TRUE(ColourNear(g.Picture(), Px((g.xPos(0) + g.xPos(100)) / 2, y), kRed));

    g.resize(500, 300);
    EXPECT_EQ(g.Picture().width(), drawnWidth);
    g.SetAutoRedraw(true);
    g.resize(520, 300);
    EXPECT_EQ(g.Picture().width(), g.Surface()->width());
    EXPECT_GT(g.Picture().width(), drawnWidth);
}

// The keyboard focus shows on the control's frame, around the drawing: it
// covers nothing the graph draws, and the picture that goes to a file, the
// clipboard or paper never has it. A control without a frame draws it along
// the drawing's edges.
TEST(GraphWidget, FocusFrameOnScreenOnly)
{
    for (const int border : {1, 0}) {
        SCOPED_TRACE(border ? "with a frame" : "without a frame");
        uclTalGraph g;
        g.SetBorderStyle(border);
        g.SetCursorVisible(false); // the cursor line shows the focus too, by its pen
        g.resize(400, 300);
        Fill(g, {3.0f, 8.0f, 5.0f});
        g.show();
        g.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
        g.Refresh();
        g.Surface()->clearFocus();
        const QImage plainControl = g.grab().toImage();
        const QImage plainSurface = g.Surface()->grab().toImage();
        const QImage plainPicture = g.Picture();

        g.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(g.Surface()->hasFocus());
        const QImage focusControl = g.grab().toImage();
        EXPECT_NE(focusControl, plainControl);
        const QColor highlight = g.palette().color(QPalette::Highlight);
        for (const QPoint at : {QPoint(0, 0), QPoint(0, focusControl.height() / 2), QPoint(focusControl.width() / 2, 0),
                                QPoint(focusControl.width() - 1, focusControl.height() - 1)})
            EXPECT_EQ(focusControl.pixelColor(at), highlight) << at.x() << "," << at.y();
        if (border)
            EXPECT_EQ(g.Surface()->grab().toImage(), plainSurface) << "the focus covers the drawing";
        g.Refresh();
        EXPECT_EQ(g.Picture(), plainPicture);
    }
}

TEST(GraphWidget, KeysRaiseEventsBeforeMovingTheCursor)
{
    uclTalGraph g;
    g.resize(400, 300);
    std::vector<float> values(30, 3.0f);
    Fill(g, values);
    g.show();
    g.Refresh();

    struct Seen {
        int code;
        int shift;
        double cursorThen;
    };
    std::vector<Seen> seen;
    int ups = 0;
    // The Shift key itself comes as a key of its own (16); keep the others.
    QObject::connect(&g, &uclTalGraph::KeyDown, [&](int code, int shift) {
        if (code != 16)
            seen.push_back({code, shift, g.Model().CursorIndex()});
    });
    QObject::connect(&g, &uclTalGraph::KeyUp, [&](int code, int) { ups += code != 16; });
    QSignalSpy press(&g, &uclTalGraph::KeyPress);

    QTest::keyClick(g.Surface(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(g.Model().CursorIndex(), 10);
    QTest::keyClick(g.Surface(), Qt::Key_Right);
    EXPECT_EQ(g.Model().CursorIndex(), 11);
    QTest::keyClick(g.Surface(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(g.Model().CursorIndex(), 1);
    QTest::keyClick(g.Surface(), Qt::Key_Down);
    EXPECT_EQ(g.Model().CursorYOffset(), 1);
    QTest::keyClick(g.Surface(), Qt::Key_A);

    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].code, 39);
    EXPECT_EQ(seen[0].shift, 1);
    EXPECT_EQ(seen[0].cursorThen, 0);
    EXPECT_EQ(seen[1].code, 39);
    EXPECT_EQ(seen[1].shift, 0);
    EXPECT_EQ(seen[1].cursorThen, 10);
    EXPECT_EQ(seen[2].code, 37);
    EXPECT_EQ(seen[3].code, 40);
    EXPECT_EQ(seen[4].code, 65);
    ASSERT_EQ(press.count(), 1);
    EXPECT_EQ(press.at(0).at(0).toInt(), 'a');
    EXPECT_EQ(ups, 5);

    // The readout follows: the cursor line stands at the new sample.
    EXPECT_DOUBLE_EQ(g.Model().Cursor().x, g.xPos(g.Model().Offset(1)));
}

TEST(GraphWidget, MouseDownRaisesEventThenPlacesCursor)
{
    uclTalGraph g;
    g.resize(400, 300);
    Fill(g, std::vector<float>(11, 3.0f));
    g.show();
    g.Refresh();

    QStringList order;
    double cursorAtDown = -1;
    QList<QVariant> downArgs;
    QObject::connect(&g, &uclTalGraph::MouseDown, [&](int b, int s, double x, double y) {
        order << QStringLiteral("down");
        cursorAtDown = g.Model().CursorIndex();
        downArgs = {b, s, x, y};
    });
    QObject::connect(&g, &uclTalGraph::MouseUp, [&](int, int, double, double) { order << QStringLiteral("up"); });
    QObject::connect(&g, &uclTalGraph::Click, [&] { order << QStringLiteral("click"); });

    const int px = static_cast<int>(std::lround(g.xPos(430) / 15));
    QTest::mouseClick(g.Surface(), Qt::RightButton, Qt::ShiftModifier, QPoint(px, 40));
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("down up click"));
    EXPECT_EQ(cursorAtDown, 0);
    ASSERT_EQ(downArgs.size(), 4);
    EXPECT_EQ(downArgs[0].toInt(), 2);
    EXPECT_EQ(downArgs[1].toInt(), 1);
    EXPECT_DOUBLE_EQ(downArgs[2].toDouble(), px * 15.0);
    EXPECT_DOUBLE_EQ(downArgs[3].toDouble(), 40 * 15.0);
    EXPECT_EQ(g.Model().CursorIndex(), g.Model().MouseToSample(g.xData(px * 15.0)));
    EXPECT_EQ(g.Model().CursorIndex(), 5);
}

TEST(GraphWidget, ZoomScrollBarDrivesTheRange)
{
    uclTalGraph g;
    g.resize(400, 300);
    Fill(g, std::vector<float>(100, 3.0f));
    g.show();
    g.SetZoom(2);
    g.Refresh();
    auto* bar = g.findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 49);
    EXPECT_EQ(bar->pageStep(), 49);
    EXPECT_LT(g.Surface()->height(), g.contentsRect().height() - bar->height());
    bar->setValue(49);
    EXPECT_EQ(g.MinX(), g.Model().Offset(49));
    EXPECT_EQ(g.MaxX(), g.Model().Offset(99));
    g.SetZoom(1);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(g.MaxX(), g.Model().Offset(99));
    EXPECT_EQ(g.Surface()->height(), g.contentsRect().height());
}

namespace {

// A zoomed graph of 100 samples between two buttons, in a window that has
// the keyboard: "before", the graph, "after" in this Tab order.
struct ZoomedGraphWindow {
    QWidget window;
    QPushButton* before = new QPushButton(QStringLiteral("before"), &window);
    uclTalGraph* graph = new uclTalGraph(&window);
    QPushButton* after = new QPushButton(QStringLiteral("after"), &window);

    explicit ZoomedGraphWindow(int zoom)
    {
        graph->setGeometry(0, 30, 400, 300);
        after->move(0, 340);
        window.resize(420, 380);
        Fill(*graph, std::vector<float>(100, 3.0f));
        graph->SetZoom(zoom);
        window.show();
        window.activateWindow();
        graph->Refresh();
    }
    QScrollBar* Bar() const { return graph->findChild<QScrollBar*>(); }
    // The last sample in view.
    bool ShowsTheEnd() const { return graph->MaxX() == graph->Model().Offset(99); }
};

} // namespace

// Zoomed, the scroll bar is the Tab stop after the drawing; its keys scroll
// the view to either end, and it shows the focus by a frame that stands out
// from the bar. Not zoomed, Tab passes from the drawing to the next control.
TEST(GraphWidget, ZoomedScrollBarIsATabStopWhoseKeysScroll)
{
    ZoomedGraphWindow z(4);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&z.window));
    QScrollBar* bar = z.Bar();
    ASSERT_TRUE(bar && bar->isVisible());
    z.before->setFocus(Qt::TabFocusReason);
    const QImage plain = bar->grab().toImage();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), z.graph->Surface());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), bar);
    EXPECT_TRUE(ContrastingFrameAround(plain, bar->grab().toImage())) << "the bar does not show the focus";

    for (int i = 0; i < 5 && !z.ShowsTheEnd(); ++i)
        QTest::keyClick(bar, Qt::Key_PageDown);
    EXPECT_TRUE(z.ShowsTheEnd()) << "Page Down does not reach the end";
    QTest::keyClick(bar, Qt::Key_Home);
    EXPECT_EQ(z.graph->MinX(), z.graph->Model().Offset(0));
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(z.graph->MinX(), z.graph->Model().Offset(1));
    QTest::keyClick(bar, Qt::Key_End);
    EXPECT_TRUE(z.ShowsTheEnd());
    QTest::keyClick(bar, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), z.after);

    z.graph->SetZoom(1);
    z.graph->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), z.after);
}

// The cursor keys move the cursor past the edge of a zoomed view: the view
// follows it, to the last sample and back to the first.
TEST(GraphWidget, CursorKeysTakeTheZoomedViewAlong)
{
    ZoomedGraphWindow z(4);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&z.window));
    z.graph->setFocus(Qt::TabFocusReason);
    QWidget* surface = z.graph->Surface();
    ASSERT_TRUE(surface->hasFocus());
    const GraphModel& m = z.graph->Model();

    for (int i = 0; i < 30; ++i)
        QTest::keyClick(surface, Qt::Key_Right);
    EXPECT_EQ(m.CursorIndex(), 30);
    EXPECT_GE(z.graph->MaxX(), m.Offset(30));
    EXPECT_GT(z.Bar()->value(), 0);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(surface, Qt::Key_Right, Qt::ShiftModifier);
    for (int i = 0; i < 100 && m.CursorIndex() < 99; ++i)
        QTest::keyClick(surface, Qt::Key_Right);
    EXPECT_TRUE(z.ShowsTheEnd());
    EXPECT_EQ(z.Bar()->value(), z.Bar()->maximum());
    EXPECT_DOUBLE_EQ(m.Cursor().x, z.graph->xPos(m.Offset(99))) << "the cursor stands at the last sample";

    for (int i = 0; i < 10 && m.CursorIndex() >= 10; ++i)
        QTest::keyClick(surface, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(z.Bar()->value(), m.CursorIndex());
    for (int i = 0; i < 10 && m.CursorIndex() > 0; ++i)
        QTest::keyClick(surface, Qt::Key_Left);
    EXPECT_EQ(m.CursorIndex(), 0);
    EXPECT_EQ(z.Bar()->value(), 0);
    EXPECT_EQ(z.graph->MinX(), m.Offset(0));
}

TEST(GraphWidget, ColoursThroughTheSettingsTarget)
{
    uclTalGraph g;
    g.resize(400, 300);
    GraphColorTarget& target = g;
    EXPECT_EQ(target.ScaleColor(), 0);
    target.SetScaleColor(RGB(0, 0, 200));
    target.SetBackColor(RGB(250, 240, 230));
    target.SetCursorColor(RGB(0, 160, 0));
    EXPECT_EQ(g.ScaleColor(), RGB(0, 0, 200));
    EXPECT_EQ(g.BackColor(), RGB(250, 240, 230));
    EXPECT_EQ(g.CursorColor(), RGB(0, 160, 0));

    Fill(g, std::vector<float>(11, 3.0f));
    g.Model().SetCursorIndex(5);
    g.show();
    g.Refresh();
    const GraphModel& m = g.Model();
    const QImage pic = g.Picture();
    // Frame in the scale colour, background in the back colour.
    EXPECT_TRUE(ColourNear(pic, Px(m.PlotLeft(), m.PlotTop() + m.PlotHeight() * 0.55), RGB(0, 0, 200)));
    EXPECT_EQ(pic.pixel(Px(m.PlotLeft() + m.PlotWidth() * 0.33, m.PlotTop() + m.PlotHeight() * 0.15)),
              ColorFromWin(RGB(250, 240, 230)).rgb());
    // The cursor line over the surface in the cursor colour.
    const QImage shown = g.Surface()->grab().toImage();
    const QRect column(Px(m.Cursor().x, m.PlotTop()), Px(m.Cursor().x, m.PlotTop() + m.PlotHeight() / 3));
    EXPECT_FALSE(ColourBox(shown, column.adjusted(-1, 0, 1, 0), RGB(0, 160, 0)).isEmpty());
}

TEST(GraphWidget, PagedTargetBlendsGridWithWhite)
{
    // The grid is 80 % background and 20 % scale colour; on paper the
    // background is white whatever the back colour says.
    GraphModel m;
    m.AddSample(QStringLiteral("CO"), kRed, QStringLiteral("##0"), 25);
    for (int i = 0; i < 3; ++i) {
        m.SetvalueX(i, kStart.addSecs(100 * i));
        m.SetvalueY(0, i, 1.0f);
    }
    m.SetSampleCount(3);
    m.SetScaleColor(RGB(0, 0, 255));
    m.SetSetDrawWidth(6000);
    m.SetSetDrawHeight(4500);
    const auto gridPixels = [&](bool paged, std::int32_t colour) {
        QImage image = BlankImage(QSize(400, 300), 96);
        QPainter p(&image);
        GraphRenderTarget t;
        t.screen = false;
        t.printer = paged;
        t.scaleWidth = 6000;
        t.scaleHeight = 4500;
        t.backColor = RGB(0, 0, 0);
        RenderGraph(m, p, QFont(), t, {});
        p.end();
        const double y = m.PlotTop() + 3 * m.PlotHeight() / 10;
        const QRect line(Px(m.PlotLeft() + 30, y), Px(m.PlotLeft() + m.PlotWidth() - 30, y));
        return !ColourBox(image, line.adjusted(0, -1, 0, 1), colour).isEmpty();
    };
    const std::int32_t onPaper = GraphModel::MixColor(kWhite, RGB(0, 0, 255), 0.8);
    const std::int32_t onBlack = GraphModel::MixColor(RGB(0, 0, 0), RGB(0, 0, 255), 0.8);
    EXPECT_TRUE(gridPixels(true, onPaper));
    EXPECT_FALSE(gridPixels(true, onBlack));
    EXPECT_TRUE(gridPixels(false, onBlack));

    // A print job in progress: the graph draws with the job's own painter.
    uclTalGraph g;
    g.resize(400, 300);
    Fill(g, {1.0f, 2.0f, 3.0f});
    g.SetEventVisible(0, true);
    g.SetEventX(0, 0, kStart.addSecs(100));
    g.SetEventFlag(0, 0, QStringLiteral("ALARM"));
    g.SetEventCount(0, 1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter job(&writer);
    g.SetSetDrawLeft(500);
    g.SetSetDrawTop(3000);
    g.SetSetDrawWidth(9000);
    g.SetSetDrawHeight(5000);
    g.SetDrawObj(&writer);
    g.Refresh();
    EXPECT_TRUE(job.isActive());
    EXPECT_DOUBLE_EQ(g.Model().PlotTop(), 3000 + 120);
    job.end();
    g.SetDrawObj(nullptr);
    EXPECT_GT(buffer.size(), 1000);
    EXPECT_TRUE(g.Picture().isNull());
}

namespace {

// Two gases, each with an "ALARM" at the first sample and a "WARNING" at
// the last: texts at both ends of the time axis.
void FillEdgeEvents(GraphModel& m)
{
    m.AddSample(QStringLiteral("CO"), kRed, QStringLiteral("##0"), 500);
    m.AddSample(QStringLiteral("O2"), RGB(0, 0, 255), QStringLiteral("##0.0"), 25);
    for (int i = 0; i < 40; ++i) {
        m.SetvalueX(i, kStart.addSecs(10 * i));
        m.SetvalueY(0, i, 3.0f);
        m.SetvalueY(1, i, 20.9f);
    }
    m.SetSampleCount(40);
    m.SetTitleTop(QStringLiteral("Data Browse (iv05010800) - Interval Trend"));
    m.SetTitleBottom(QStringLiteral("Sampling Date/Time: 2024/05/01 08:00:00 to 2024/05/01 08:06:30"));
    for (int s = 0; s < 2; ++s) {
        m.SetEventX(s, 0, kStart);
        m.SetEventFlag(s, 0, QStringLiteral("ALARM"));
        m.SetEventX(s, 1, kStart.addSecs(390));
        m.SetEventFlag(s, 1, QStringLiteral("WARNING"));
        m.SetEventCount(s, 2);
        m.SetEventVisible(s, true);
    }
}

} // namespace

// An event text at either end of the time axis stands inside the plot and
// keeps clear of its side line (and of the cursor line at the first
// sample), so its first and last letters read: in the placement, in the
// pixels on screen and in the words on paper.
TEST(GraphWidget, EventTextsAtThePlotEdgesReadWhole)
{
    uclTalGraph g;
    g.resize(700, 400);
    FillEdgeEvents(g.Model());
    g.SetCursorVisible(true);
    g.show();
    g.Refresh();
    QCoreApplication::processEvents();
    const GraphModel& m = g.Model();
    const double tpp = m.TwipsPerPixelX();
    const QRectF plot(m.PlotLeft(), m.PlotTop(), m.PlotWidth(), m.PlotHeight());
    const std::vector<GraphEventLabel>& labels = m.EventLabels().labels;
    ASSERT_EQ(labels.size(), 4u);
    // The side line is one pixel; a text leaves at least one more free.
    const QRectF clear = plot.adjusted(2 * tpp, 0, -2 * tpp, 0);
    const QImage shown = g.Surface()->grab().toImage();
    const QRgb back = ColorFromWin(g.BackColor()).rgb();
    for (const GraphEventLabel& label : labels) {
        SCOPED_TRACE(label.text.toStdString() + " of row " + std::to_string(label.row));
        EXPECT_TRUE(clear.contains(label.box)) << label.box.left() << ".." << label.box.right() << " in "
                                               << plot.left() << ".." << plot.right();
        // On screen: from the side line nearest the text inwards, a column
        // of background only comes before the text's first ink.
        const bool atLeft = label.box.center().x() < plot.center().x();
        const int top = static_cast<int>(std::ceil(label.box.top() / m.TwipsPerPixelY()));
        const int bottom = static_cast<int>(std::floor(label.box.bottom() / m.TwipsPerPixelY())) - 1;
        const auto blankColumn = [&](int x) {
            for (int y = top; y <= bottom; ++y)
                if (shown.pixel(x, y) != back)
                    return false;
            return true;
        };
        const int step = atLeft ? 1 : -1;
        int x = static_cast<int>(std::lround((atLeft ? plot.left() : plot.right()) / tpp)) - 2 * step;
        while (blankColumn(x)) // outside the plot, up to its side line
            x += step;
        while (!blankColumn(x)) // the side line and what stands on it
            x += step;
        const int gapStart = x;
        while (blankColumn(x) && std::abs(x - gapStart) < 20)
            x += step;
        const double inkEdge = atLeft ? label.box.left() / tpp : label.box.right() / tpp;
        EXPECT_GE(std::abs(x - gapStart), 1) << "no free column between the side line and the text";
        EXPECT_LE(std::abs(x - inkEdge), 2) << "the text's ink starts at column " << x << ", its box at " << inkEdge;
    }

    // Paper: the words of the texts lie inside the plot, clear of its side
    // lines by more than half a point.
    ASSERT_TRUE(HavePdfToText()) << kPdfToTextNeeded;
    GraphModel paper;
    FillEdgeEvents(paper);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edges.pdf"));
    PrintOnA4(paper, path);
    const QRectF printed(paper.PlotLeft() / 20, paper.PlotTop() / 20, paper.PlotWidth() / 20, paper.PlotHeight() / 20);
    int events = 0;
    for (const PdfWord& w : PdfWords(path)) {
        if (w.text != QLatin1String("ALARM") && w.text != QLatin1String("WARNING"))
            continue;
        ++events;
        EXPECT_TRUE(printed.adjusted(0.5, 0, -0.5, 0).contains(w.box))
            << w.text.toStdString() << " " << w.box.left() << ".." << w.box.right() << " in " << printed.left()
            << ".." << printed.right();
    }
    EXPECT_EQ(events, 4);
}
