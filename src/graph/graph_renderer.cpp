#include "graph/graph_renderer.h"

#include "common/colors.h"
#include "common/twips.h"
#include "graph/graph_format.h"

#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The least room between two texts of the graph (one screen pixel).
constexpr double kTextGap = 15;
// The size of an event mark (110 twips high).
constexpr double kMarkSize = 50;

// A copy of font with its size reduced by `points` (the event texts).
QFont SmallerFont(const QFont& font, double points, double dpi)
{
    QFont f = font;
    double size = font.pointSizeF();
    if (size <= 0 && font.pixelSize() > 0)
        size = font.pixelSize() * 72.0 / dpi;
    if (size <= 0)
        size = 9;
    f.setPointSizeF(std::max(1.0, size - points));
    f.setBold(false);
    return f;
}

// The box of an event mark of `size` with its apex on (x, y): a mark
// pointing down has its base above the row, one pointing up below it.
QRectF MarkBox(double x, double y, bool up, double size)
{
    const double height = 2.2 * size;
    return QRectF(x - 0.83 * size, up ? y : y - height, 1.66 * size, height);
}

// Whether two rectangles share more than an edge.
bool Overlap(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// Where the event texts of one drawing pass go, so that none covers
// another text or another event's mark. The rows of marks are added first;
// then each text asks for its place in turn. Texts are kept in a grid of
// cells over the plot and marks by row in order of x, so a look-up reads
// only what lies near it however many events the graph holds.
class EventLabelSpace {
public:
    EventLabelSpace(const QRectF& plot, double lineHeight)
        : m_plot(plot),
          m_cellHeight(std::max(lineHeight, 1.0)),
          m_columns(std::max(1, static_cast<int>(std::ceil(plot.width() / kCellWidth)))),
          m_rows(std::max(1, static_cast<int>(std::ceil(plot.height() / m_cellHeight)))),
          m_cells(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows))
    {
    }

    // A row of marks like `band` (the box of a mark at x = 0) at xs; returns
    // the row's number.
    int AddMarkRow(const QRectF& band, std::vector<double> xs)
    {
        std::sort(xs.begin(), xs.end());
        m_markRows.push_back({band, std::move(xs)});
        return static_cast<int>(m_markRows.size()) - 1;
    }

    // A text of `size` that its row puts at (left, top), above or below the
    // mark at x of mark row `row`. It takes that place when free; otherwise
    // the next free line further from the mark on its own side, then the
    // nearest free line on the mark's other side (up to kLinesEachSide
    // lines each). It never crosses the sides of the plot, and the lines it
    // moves to lie inside the plot. Returns the top left taken, or nothing
    // when no line is free.
    std::optional<QPointF> Place(double left, const QSizeF& size, double top, bool above, int row, double x)
    {
        left = std::max(m_plot.left(), std::min(left, m_plot.right() - size.width()));
        const QRectF& band = m_markRows[static_cast<std::size_t>(row)].band;
        const double step = size.height() + kTextGap;
        const double lowest = m_plot.top();
        const double highest = m_plot.bottom() - size.height();
        const auto take = [&](double y) {
            const QRectF box(QPointF(left, y), size);
            if (!Free(box, row, x))
                return false;
            Add(box);
            return true;
        };
        if (take(top))
            return QPointF(left, top);
        const double out = above ? -step : step;
        double y = top + out;
        for (int line = 0; line < kLinesEachSide && y >= lowest && y <= highest; ++line, y += out) {
            if (take(y))
                return QPointF(left, y);
        }
        y = above ? band.bottom() + kTextGap : band.top() - kTextGap - size.height();
        for (int line = 0; line < kLinesEachSide && y >= lowest && y <= highest; ++line, y -= out) {
            if (take(y))
                return QPointF(left, y);
        }
        return std::nullopt;
    }

    // Takes box when it lies inside the plot, keeps kTextGap from every text
    // placed and covers no mark.
    bool Take(const QRectF& box)
    {
        if (box.left() < m_plot.left() || box.right() > m_plot.right() || box.top() < m_plot.top()
            || box.bottom() > m_plot.bottom() || !Free(box, -1, 0))
            return false;
        Add(box);
        return true;
    }

private:
    static constexpr double kCellWidth = 600;
    // How far a text may move from its row on either side of its mark;
    // further away it would no longer read as that mark's text.
    static constexpr int kLinesEachSide = 6;

    struct MarkRow {
        QRectF band;            // a mark at x = 0
        std::vector<double> xs; // in order
    };

    // The cells a rectangle touches; rectangles beyond the plot count in
    // its edge cells.
    void Cells(const QRectF& r, int& c0, int& c1, int& r0, int& r1) const
    {
        const auto cell = [](double v, double size, int count) {
            return std::clamp(static_cast<int>(std::floor(v / size)), 0, count - 1);
        };
        c0 = cell(r.left() - m_plot.left(), kCellWidth, m_columns);
        c1 = cell(r.right() - m_plot.left(), kCellWidth, m_columns);
        r0 = cell(r.top() - m_plot.top(), m_cellHeight, m_rows);
        r1 = cell(r.bottom() - m_plot.top(), m_cellHeight, m_rows);
    }

    void Add(const QRectF& text)
    {
        const int index = static_cast<int>(m_texts.size());
        m_texts.push_back(text);
        int c0, c1, r0, r1;
        Cells(text.adjusted(-kTextGap, -kTextGap, kTextGap, kTextGap), c0, c1, r0, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c)
                m_cells[static_cast<std::size_t>(r * m_columns + c)].push_back(index);
        }
    }

    // Whether box keeps kTextGap from every text placed and covers no mark
    // but the one at x of mark row ownRow.
    bool Free(const QRectF& box, int ownRow, double ownX) const
    {
        const QRectF wide = box.adjusted(-kTextGap, -kTextGap, kTextGap, kTextGap);
        int c0, c1, r0, r1;
        Cells(box, c0, c1, r0, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                for (int index : m_cells[static_cast<std::size_t>(r * m_columns + c)]) {
                    if (Overlap(m_texts[static_cast<std::size_t>(index)], wide))
                        return false;
                }
            }
        }
        for (int row = 0; row < static_cast<int>(m_markRows.size()); ++row) {
            const MarkRow& marks = m_markRows[static_cast<std::size_t>(row)];
            if (!(marks.band.top() < box.bottom() && box.top() < marks.band.bottom()))
                continue;
            // The first mark whose box reaches into the text's width, past
            // the text's own mark (marks are in order, so one look each).
            auto it = std::upper_bound(marks.xs.begin(), marks.xs.end(), box.left() - marks.band.right());
            if (row == ownRow) {
                while (it != marks.xs.end() && *it == ownX)
                    ++it;
                if (it != marks.xs.end() && *it < ownX && *it + marks.band.left() < box.right())
                    return false;
                it = std::upper_bound(it, marks.xs.end(), ownX);
            }
            if (it != marks.xs.end() && *it + marks.band.left() < box.right())
                return false;
        }
        return true;
    }

    QRectF m_plot;
    double m_cellHeight;
    int m_columns;
    int m_rows;
    std::vector<QRectF> m_texts;
    std::vector<std::vector<int>> m_cells; // text indexes by cell, row by row
    std::vector<MarkRow> m_markRows;
};

} // namespace

GraphRenderer::GraphRenderer(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target,
                             GraphRenderCache* cache)
    : m_model(model),
      m_painter(painter),
      m_target(target),
      m_font(font),
      m_activeFont(font),
      m_metrics(font, painter.device()),
      m_cache(cache ? cache : &m_ownCache)
{
    m_painter.save();
    m_twips = QTransform::fromScale(m_target.dpiX / kTwipsPerInch, m_target.dpiY / kTwipsPerInch);
    m_painter.setWorldTransform(m_twips);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBrush(Qt::NoBrush);
    // A cache that grew large (counts of many sizes, many fonts) starts over.
    constexpr qsizetype kMostEntries = 4096;
    if (m_cache->widths.size() > kMostEntries || m_cache->texts.size() > kMostEntries
        || m_cache->stamps.size() > kMostEntries)
        *m_cache = GraphRenderCache();
    UseFont(m_font);
}

GraphRenderer::~GraphRenderer() { m_painter.restore(); }

double GraphRenderer::DevicePixelRatio() const
{
    const QPaintDevice* d = m_painter.device();
    return d ? std::max(1.0, d->devicePixelRatioF()) : 1.0;
}

double GraphRenderer::TextWidth(const QString& text) const
{
    // Event rows repeat a handful of texts thousands of times; shape each once.
    const QString key = m_fontKey + text;
    const auto it = m_cache->widths.constFind(key);
    if (it != m_cache->widths.constEnd())
        return *it;
    const double w = m_metrics.horizontalAdvance(text) * kTwipsPerInch / m_target.dpiX;
    m_cache->widths.insert(key, w);
    return w;
}

double GraphRenderer::TextHeight(const QString& text) const
{
    const int lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return lines * m_metrics.height() * kTwipsPerInch / m_target.dpiY;
}

GraphLayoutTarget GraphRenderer::LayoutTarget() const
{
    GraphLayoutTarget t;
    t.screen = m_target.screen;
    t.scaleWidth = m_target.scaleWidth;
    t.scaleHeight = m_target.scaleHeight;
    t.controlWidth = m_target.controlWidth;
    t.controlHeight = m_target.controlHeight;
    t.textWidth = [this](const QString& s) { return TextWidth(s); };
    t.textHeight = [this](const QString& s) { return TextHeight(s); };
    return t;
}

void GraphRenderer::UseFont(const QFont& font)
{
    m_activeFont = font;
    m_metrics = QFontMetricsF(font, m_painter.device());
    m_painter.setFont(font);
    // The cache's keys start with a short digest of the font and the target.
    const QPaintEngine* engine = m_painter.paintEngine();
    const QString context = font.key() + QLatin1Char('\x1e') + QString::number(m_target.dpiX) + QLatin1Char(',')
                            + QString::number(m_target.dpiY) + QLatin1Char(',') + QString::number(DevicePixelRatio())
                            + QLatin1Char(',') + QString::number(engine ? static_cast<int>(engine->type()) : -1)
                            + QLatin1Char(',') + QString::number(static_cast<int>(m_painter.renderHints()));
    m_fontKey = QString::number(qHash(context, 0x5eed), 36) + QLatin1Char('\x1e');
}

QPen GraphRenderer::MakePen(std::int32_t colour, double widthPx, Qt::PenStyle style) const
{
    // Widths are in pixels of the target, whatever the twip transform.
    QPen pen(ColorFromWin(colour));
    pen.setCosmetic(true);
    const double w = std::max(1.0, widthPx) * DevicePixelRatio();
    pen.setWidthF(w <= 1.0 ? 0.0 : w);
    pen.setStyle(style);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

void GraphRenderer::SetPen(std::int32_t colour, double widthPx, Qt::PenStyle style)
{
    m_painter.setPen(MakePen(colour, widthPx, style));
}

void GraphRenderer::Line(double x1, double y1, double x2, double y2)
{
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void GraphRenderer::PrintText(double x, double y, const QString& text)
{
    if (text.isEmpty())
        return;
    m_painter.setWorldTransform(QTransform());
    m_painter.setPen(ColorFromWin(m_foreColor));
    DrawTextAt(x, y, text);
    m_painter.setWorldTransform(m_twips);
}

void GraphRenderer::DrawTextAt(double x, double y, const QString& text)
{
    // Text is drawn unscaled at the mapped point, so glyphs come from the
    // target's own hinted font; the painter is untransformed here.
    const QPointF p = m_twips.map(QPointF(x, y));
    QStaticText& st = m_cache->texts[m_fontKey + text];
    if (st.text() != text) {
        st.setText(text);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
    }
    // A static text is placed by the top left of its box.
    m_painter.drawStaticText(QPointF(std::round(p.x()), std::round(p.y())), st);
    m_currentX = x + TextWidth(text);
    m_currentY = y;
}

void GraphRenderer::StampTextAt(double x, double y, const QString& text, std::int32_t colour)
{
    constexpr int kMargin = 2; // room for glyphs that overhang their advance
    // Texts of one colour come in runs: the stamps of the current colour are
    // found by their text alone.
    if (colour != m_stampColour || m_stampFont != m_fontKey) {
        m_stampColour = colour;
        m_stampFont = m_fontKey;
        m_colourStamps.clear();
    }
    auto found = m_colourStamps.constFind(text);
    if (found == m_colourStamps.constEnd()) {
        const QString key = m_fontKey + QString::number(colour) + QLatin1Char('\x1f') + text;
        found = m_colourStamps.insert(text, Stamp(key, text, colour, kMargin));
    }
    const QPointF at = m_twips.map(QPointF(x, y));
    m_painter.drawImage(QPointF(std::round(at.x()) - kMargin, std::round(at.y())), *found);
}

QImage GraphRenderer::Stamp(const QString& key, const QString& text, std::int32_t colour, int margin)
{
    auto it = m_cache->stamps.find(key);
    if (it == m_cache->stamps.end()) {
        const double dpr = DevicePixelRatio();
        const QSizeF box(m_metrics.horizontalAdvance(text) + 2 * margin, m_metrics.height() + 1);
        QImage stamp((box * dpr).toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        stamp.setDevicePixelRatio(dpr);
        stamp.setDotsPerMeterX(static_cast<int>(std::lround(m_target.dpiX / 0.0254)));
        stamp.setDotsPerMeterY(static_cast<int>(std::lround(m_target.dpiY / 0.0254)));
        stamp.fill(Qt::transparent);
        QPainter p(&stamp);
        p.setRenderHints(m_painter.renderHints());
        p.setFont(m_activeFont);
        p.setPen(ColorFromWin(colour));
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        p.drawStaticText(QPointF(margin, 0), st);
        p.end();
        it = m_cache->stamps.insert(key, stamp);
    }
    return *it;
}

void GraphRenderer::DrawFrameAndScales()
{
    GraphModel& m = m_model;
    const std::int32_t back = m_target.printer ? RGB(255, 255, 255) : m_target.backColor;
    const double left = m.PlotLeft();
    const double top = m.PlotTop();
    const double width = m.PlotWidth();
    const double height = m.PlotHeight();
    const double bottom = top + height;
    const double originLeft = m_target.screen ? 0.0 : m.SetDrawLeft();
    const double originTop = m_target.screen ? 0.0 : m.SetDrawTop();

    SetPen(m.ScaleColor(), m.ScaleLineWidth(), Qt::SolidLine);
    m_painter.drawRect(QRectF(left, top, width, height));
    m_foreColor = m.ScaleColor();
    const std::int32_t grid = GraphModel::MixColor(back, m_foreColor, 0.8);

    // The Y labels stand centred on their values, so the lowest reaches
    // half a line below the plot: the time labels start under it, and the
    // bottom title under them.
    const double labelHalf = TextHeight(QStringLiteral("00000")) / 2;
    const double timeTop = bottom + std::max(80.0, labelHalf + kTextGap);
    const double timeBottom = timeTop + TextHeight(QStringLiteral("8"));
    if (!m.TitleTop().isEmpty())
        PrintText((m_target.scaleWidth - TextWidth(m.TitleTop())) / 2, top - 1.5 * TextHeight(QStringLiteral("8888")),
                  m.TitleTop());
    if (!m.TitleBottom().isEmpty())
        PrintText((m_target.scaleWidth - TextWidth(m.TitleBottom())) / 2,
                  std::max(bottom + 1.5 * TextHeight(QStringLiteral("8888")), timeBottom + kTextGap), m.TitleBottom());

    // Time labels: about ten per visible page, never overlapping, none
    // beyond the sides of the drawing area.
    const double areaRight = m_target.screen ? m_target.scaleWidth : originLeft + m.SetDrawWidth();
    const int n = m.SampleCount();
    const double range = m.MaxX() - m.MinX();
    int labels = 0;
    if (m.PosXStp() != 0)
        labels = RoundToLong(range / (m.PosXStp() / m.Zoom()));
    int k = labels > 0 ? RoundToLong(static_cast<double>(n) / labels) : 0;
    if (k <= 0)
        k = 1;
    double previousEnd = -1e300;
    for (int i = 0; i <= n - 1; i += k) {
        const double off = m.Offset(i);
        if (off < m.MinX() || off > m.MaxX())
            continue;
        const double x = m.xPos(off);
        const QString text = FormatDate(m.valueX(i), m.FormatX());
        const double w = TextWidth(text);
        const double textLeft = std::max(originLeft, std::min(x - w / 2, areaRight - w));
        if (!(textLeft > previousEnd))
            continue;
        SetPen(m_foreColor, m.ScaleLineWidth(), Qt::SolidLine);
        Line(x, bottom, x, bottom + 40);
        PrintText(textLeft, timeTop, text);
        previousEnd = textLeft + w / 2 + 1.125 * w / 2;
        if (off != m.MinX() && off != m.MaxX()) {
            SetPen(grid, m.ScaleLineWidth(), Qt::DashDotDotLine);
            Line(x, top, x, bottom);
        }
    }

    const double px = m.TwipsPerPixelX();
    for (int j = 1; j <= 9; ++j) {
        const double y = top + j * height / 10;
        SetPen(m_foreColor, m.ScaleLineWidth(), Qt::SolidLine);
        Line(left - 4 * px, y, left, y);
        Line(left + width, y, left + width + 4 * px, y);
        SetPen(grid, m.ScaleLineWidth(), Qt::DashDotDotLine);
        Line(left, y, left + width, y);
    }

    // One column of Y labels per visible series, left or right of the plot.
    // The left columns end just short of the plot's ticks when the margin
    // has room for them, so their labels are never cut at the left edge.
    int leftColumns = 0;
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (m.SampleVisible(s) && m.InLeftGroup(s))
            ++leftColumns;
    }
    double rightColumn = left + width;
    double leftColumn = std::max(originLeft - 150, left - 6 * px - 530.0 * leftColumns);
    // A column's name stands over its highest label, on the top title's
    // line when the area has room for it there.
    const double nameRoom = top - labelHalf - kTextGap - TextHeight(QStringLiteral("8"));
    const double nameTop = std::max(originTop, std::min(originTop + 2 * m.TwipsPerPixelY(), nameRoom));
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.SampleVisible(s))
            continue;
        double& r = m.InLeftGroup(s) ? leftColumn : rightColumn;
        m_foreColor = m.ValueColor(s);
        const double edge = r + 530;
        PrintText(edge - TextWidth(m.ValueName(s)), nameTop, m.ValueName(s));
        const double step = m.PosYStp(s);
        const int count = step == 0 ? 0 : RoundToLong((static_cast<double>(m.MaxY(s)) - m.MinY(s)) / step);
        for (int j = 0; j <= count; ++j) {
            const float v = static_cast<float>(j * step + m.MinY(s));
            const QString text = FormatPattern(v, m.FormatY(s), 7);
            PrintText(edge - TextWidth(text), m.yPos(v, s) - labelHalf, text);
        }
        r += 530;
    }
}

void GraphRenderer::DrawSeriesLines()
{
    GraphModel& m = m_model;
    const double minX = m.MinX();
    const double maxX = m.MaxX();
    // Points go straight to device pixels: the twip transform folded into
    // the coordinates, so the painter draws them untransformed.
    const double sx = m_target.dpiX / kTwipsPerInch;
    const double sy = m_target.dpiY / kTwipsPerInch;
    const double xStep = m.XStep() * sx;
    const double xBase = m.PlotLeft() * sx;
    const double bottom = (m.PlotTop() + m.PlotHeight()) * sy;
    const std::int32_t* offsets = m.OffsetsData();
    std::vector<QPointF> run;
    std::vector<QPointF> dots;
    run.reserve(static_cast<std::size_t>(m.SampleCount()) + 2);
    m_painter.setWorldTransform(QTransform());
    const auto flush = [&] {
        if (run.size() >= 2)
            m_painter.drawPolyline(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.SampleVisible(s))
            continue;
        SetPen(m.ValueColor(s), m.DrawLineWidth(), Qt::SolidLine);
        const float* values = m.ValuesData(s);
        const double minY = m.MinY(s);
        const double yFactor = m.YFactor(s) * sy;
        const auto X = [&](int i) { return (offsets[i] - minX) * xStep + xBase; };
        const auto Y = [&](float v) { return bottom - (v - minY) * yFactor; };
        run.clear();
        dots.clear();
        const int last = std::min(m.LastIndex(s), GraphModel::kMaxSampleIndex);
        for (int i = 0; i < last; ++i) {
            const double off = offsets[i];
            if (!(off >= minX && off < maxX)) {
                flush();
                continue;
            }
            const float v0 = values[i];
            const float v1 = values[i + 1];
            if (v1 == GraphModel::kNoValue) {
                // The next value is missing: this value stands as a point.
                flush();
                dots.emplace_back(X(i), Y(v0));
                continue;
            }
            const double y1 = Y(v1);
            // A run goes on from the point the last segment ended on, which
            // is this one; a new run starts after a gap, and after a missing
            // value with a level step.
            if (run.empty())
                run.emplace_back(X(i), v0 == GraphModel::kNoValue ? y1 : Y(v0));
            run.emplace_back(X(i + 1), y1);
        }
        flush();
        if (!dots.empty())
            m_painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
    }
    m_painter.setWorldTransform(m_twips);
}

void GraphRenderer::DrawEventMarks()
{
    GraphModel& m = m_model;
    const QFont saved = m_activeFont;
    UseFont(SmallerFont(m_font, 3.5, m_target.dpiY));
    const double minX = m.MinX();
    const double maxX = m.MaxX();
    // One row of marks per series with its events shown, then the common
    // row; a row's marks and texts share one colour.
    GraphLabelPlacement input;
    input.plot = QRectF(m.PlotLeft(), m.PlotTop(), m.PlotWidth(), m.PlotHeight());
    // The texts keep clear of the plot's side lines (and of the cursor line
    // at the first sample): the line's width and a gap, so a text at either
    // end of the time axis reads whole, its first and last letter free.
    input.margin = std::max(1.0, m.ScaleLineWidth()) * DevicePixelRatio() * kTwipsPerInch / m_target.dpiX + kTextGap;
    input.font = m_activeFont.key();
    input.dpiX = m_target.dpiX;
    input.dpiY = m_target.dpiY;
    input.device = m_painter.paintEngine() ? static_cast<int>(m_painter.paintEngine()->type()) : -1;
    std::vector<std::int32_t> colours;
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.EventVisible(s))
            continue;
        GraphEventRow row;
        row.y = m.EventRowFor(s);
        row.textTop = m.InLeftGroup(s) ? row.y - 240 : row.y + 120;
        const int count = std::min(m.EventCount(s), GraphModel::kMaxEvents);
        for (int i = 0; i < count; ++i) {
            const double off = m.EventOffset(s, i);
            if (off < minX || off > maxX)
                continue;
            const QString& text = m.EventTextRef(s, i);
            if (text.isEmpty())
                continue;
            row.xs.push_back(m.xPos(off));
            row.texts.push_back(text);
        }
        if (!row.xs.empty()) {
            m.SetEventRowY(s, row.y);
            input.rows.push_back(std::move(row));
            colours.push_back(m.ValueColor(s));
        }
    }
    if (m.CommonEventVisible()) {
        const double bottom = m.PlotTop() + m.PlotHeight();
        GraphEventRow row;
        row.y = bottom - 300;
        row.up = true;
        row.textTop = bottom - 180;
        const int n = std::min(m.SampleCount(), GraphModel::kMaxEvents + 1);
        for (int i = 0; i < n; ++i) {
            const double off = m.Offset(i);
            if (off < minX || off > maxX)
                continue;
            const QString& text = m.CommonTextRef(i);
            if (text.isEmpty())
                continue;
            row.xs.push_back(m.xPos(off));
            row.texts.push_back(text);
        }
        if (!row.xs.empty()) {
            input.rows.push_back(std::move(row));
            colours.push_back(1);
        }
    }

    // The texts are placed again only when what they depend on changed;
    // a plain repaint draws them where they stood.
    GraphLabelPlacement& placed = m.EventLabels();
    if (!placed.SameInput(input)) {
        input.labels = PlaceEventLabels(input.rows, input.plot.adjusted(input.margin, 0, -input.margin, 0));
        placed = std::move(input);
    }

    // On pixel targets the mark and the few distinct event texts are
    // rendered once and stamped; paged targets keep real text.
    const bool stamps = m_painter.paintEngine() && m_painter.paintEngine()->type() == QPaintEngine::Raster;
    for (std::size_t r = 0; r < placed.rows.size(); ++r) {
        const GraphEventRow& row = placed.rows[r];
        if (stamps) {
            StampTriangles(row.xs, row.y, row.up, kMarkSize, colours[r]);
        } else {
            BeginTriangles(colours[r]);
            for (double x : row.xs)
                DrawTriangle(x, row.y, row.up, kMarkSize);
            EndTriangles();
        }
    }
    m_painter.setWorldTransform(QTransform());
    int pen = -1;
    for (const GraphEventLabel& label : placed.labels) {
        const std::int32_t colour = colours[static_cast<std::size_t>(label.row)];
        if (stamps) {
            StampTextAt(label.box.left(), label.box.top(), label.text, colour);
        } else {
            if (label.row != pen)
                m_painter.setPen(ColorFromWin(colour));
            pen = label.row;
            DrawTextAt(label.box.left(), label.box.top(), label.text);
        }
        m_currentX = label.box.right();
        m_currentY = label.box.top();
    }
    m_painter.setWorldTransform(m_twips);
    UseFont(saved);
}

std::vector<GraphEventLabel> GraphRenderer::PlaceEventLabels(const std::vector<GraphEventRow>& rows,
                                                             const QRectF& area)
{
    const double lineHeight = TextHeight(QStringLiteral("8"));
    EventLabelSpace space(area, lineHeight + kTextGap);
    std::vector<int> markRows;
    std::size_t events = 0;
    for (const GraphEventRow& row : rows) {
        markRows.push_back(space.AddMarkRow(MarkBox(0, row.y, row.up, kMarkSize), row.xs));
        events += row.xs.size();
    }
    // A text's place is at least as wide as the widest count, so that a
    // count can always stand in its place.
    const double countWidth = TextWidth(QLatin1Char('+') + QString(QString::number(events).size(), QLatin1Char('8')));
    const auto count = [](int n) { return QLatin1Char('+') + QString::number(n); };

    // Each text stands where its row puts it unless that would cover a text
    // placed before it or another event's mark; then it takes the next free
    // line (EventLabelSpace). A text with no free line is counted at the
    // nearest text of its row that stands.
    std::vector<GraphEventLabel> labels;
    std::vector<std::vector<std::pair<double, int>>> shown(rows.size()); // mark x, label, in order of x
    std::vector<std::vector<double>> hidden(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const GraphEventRow& row = rows[r];
        const bool above = row.textTop < row.y;
        for (std::size_t k = 0; k < row.xs.size(); ++k) {
            const double x = row.xs[k];
            const double w = TextWidth(row.texts[k]);
            const double room = std::max(w, countWidth);
            const std::optional<QPointF> at =
                space.Place(x - room / 2, QSizeF(room, lineHeight), row.textTop, above, markRows[r], x);
            if (!at) {
                hidden[r].push_back(x);
                continue;
            }
            const QRectF box(at->x() + (room - w) / 2, at->y(), w, lineHeight);
            shown[r].emplace_back(x, static_cast<int>(labels.size()));
            labels.push_back({box, row.texts[k], static_cast<int>(r), 1});
        }
        std::sort(shown[r].begin(), shown[r].end());
    }

    // The unshown texts by the text they are counted at.
    std::vector<int> unshown(labels.size(), 0);
    const auto nearest = [](const std::vector<std::pair<double, int>>& texts, double x) {
        auto it = std::lower_bound(texts.begin(), texts.end(), std::make_pair(x, -1));
        if (it == texts.end() || (it != texts.begin() && x - std::prev(it)->first <= it->first - x))
            --it;
        return it->second;
    };
    std::vector<std::pair<double, int>> all;
    for (const auto& row : shown)
        all.insert(all.end(), row.begin(), row.end());
    std::sort(all.begin(), all.end());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (hidden[r].empty())
            continue;
        if (!shown[r].empty()) {
            for (double x : hidden[r])
                ++unshown[static_cast<std::size_t>(nearest(shown[r], x))];
            continue;
        }
        // No text of this row stands: the count takes the place of one of
        // its texts, or failing that joins the nearest text of another row.
        const GraphEventRow& row = rows[r];
        const QString text = count(static_cast<int>(hidden[r].size()));
        const double w = TextWidth(text);
        bool placedCount = false;
        for (double x : hidden[r]) {
            const std::optional<QPointF> at = space.Place(x - w / 2, QSizeF(w, lineHeight), row.textTop,
                                                          row.textTop < row.y, markRows[r], x);
            if (at) {
                labels.push_back({QRectF(*at, QSizeF(w, lineHeight)), text, static_cast<int>(r),
                                  static_cast<int>(hidden[r].size())});
                unshown.push_back(0);
                placedCount = true;
                break;
            }
        }
        if (!placedCount && !all.empty())
            unshown[static_cast<std::size_t>(nearest(all, hidden[r].front()))] +=
                static_cast<int>(hidden[r].size());
    }

    // A count stands right of its text, a blank apart, else left of it;
    // where neither has room it takes the text's own place and counts that
    // text too.
    const double blank = std::max(kTextGap, TextWidth(QStringLiteral(" ")));
    for (std::size_t i = 0; i < unshown.size(); ++i) {
        const int n = unshown[i];
        if (n == 0)
            continue;
        const QRectF box = labels[i].box;
        const int row = labels[i].row;
        const QString text = count(n);
        const double w = TextWidth(text);
        const QRectF right(box.right() + blank, box.top(), w, lineHeight);
        const QRectF left(box.left() - blank - w, box.top(), w, lineHeight);
        if (space.Take(right)) {
            labels.push_back({right, text, row, n});
        } else if (space.Take(left)) {
            labels.push_back({left, text, row, n});
        } else {
            // The text's place is as wide as any count.
            GraphEventLabel& host = labels[i];
            host.text = count(n + 1);
            host.events = n + 1;
            const double hostWidth = TextWidth(host.text);
            host.box = QRectF(box.center().x() - hostWidth / 2, box.top(), hostWidth, lineHeight);
        }
    }
    return labels;
}

void GraphRenderer::BeginTriangles(std::int32_t colour)
{
    m_foreColor = colour;
    SetPen(colour, m_model.DrawLineWidth(), Qt::SolidLine);
    m_painter.setBrush(ColorFromWin(colour));
    m_painter.setWorldTransform(QTransform());
}

void GraphRenderer::DrawTriangle(double x, double y, bool up, double size)
{
    // The apex sits one target pixel off the row. The points go through
    // the twip transform like every other coordinate.
    const double onePixel = kTwipsPerInch / m_target.dpiY;
    const double dir = up ? 1.0 : -1.0;
    const QPointF points[3] = {
        m_twips.map(QPointF(x, y + dir * onePixel)),
        m_twips.map(QPointF(x - 0.83 * size, y + dir * 2.2 * size)),
        m_twips.map(QPointF(x + 0.83 * size, y + dir * 2.2 * size)),
    };
    m_painter.drawPolygon(points, 3);
}

void GraphRenderer::StampTriangles(const std::vector<double>& xs, double y, bool up, double size, std::int32_t colour)
{
    // One mark is rendered at apex x = 0 and stamped at each mark's x,
    // rounded to the pixel; the row's vertical position stays exact.
    m_foreColor = colour;
    const double onePixel = kTwipsPerInch / m_target.dpiY;
    const double dir = up ? 1.0 : -1.0;
    const double sx = m_target.dpiX / kTwipsPerInch;
    const double sy = m_target.dpiY / kTwipsPerInch;
    const QPointF points[3] = {
        QPointF(0, (y + dir * onePixel) * sy),
        QPointF(-0.83 * size * sx, (y + dir * 2.2 * size) * sy),
        QPointF(0.83 * size * sx, (y + dir * 2.2 * size) * sy),
    };
    const double penRoom = 2 + std::max(1.0, m_model.DrawLineWidth());
    const int left = static_cast<int>(std::floor(points[1].x() - penRoom));
    const int right = static_cast<int>(std::ceil(points[2].x() + penRoom));
    const int top = static_cast<int>(std::floor(std::min(points[0].y(), points[1].y()) - penRoom));
    const int bottom = static_cast<int>(std::ceil(std::max(points[0].y(), points[1].y()) + penRoom));
    const double dpr = DevicePixelRatio();
    QImage stamp(QSize(right - left, bottom - top) * dpr, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(dpr);
    stamp.fill(Qt::transparent);
    {
        QPainter p(&stamp);
        p.setRenderHints(m_painter.renderHints());
        p.translate(-left, -top);
        p.setPen(MakePen(colour, m_model.DrawLineWidth(), Qt::SolidLine));
        p.setBrush(ColorFromWin(colour));
        p.drawPolygon(points, 3);
    }
    m_painter.setWorldTransform(QTransform());
    for (double x : xs) {
        const double dx = std::round(x * sx);
        m_painter.drawImage(QPointF(dx + left, top), stamp);
    }
    m_painter.setWorldTransform(m_twips);
}

void GraphRenderer::EndTriangles()
{
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setWorldTransform(m_twips);
}

QPointF RenderGraph(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target,
                 const std::function<QSizeF(const QString&)>& labelSize, GraphRenderCache* cache)
{
    GraphRenderer r(model, painter, font, target, cache);
    model.CalcLayout(r.LayoutTarget());
    if (model.XStep() > 0) {
        r.DrawFrameAndScales();
        r.DrawSeriesLines();
        r.DrawEventMarks();
        model.DrawCursor(labelSize, target.screen);
    }
    return QPointF(r.CurrentX(), r.CurrentY());
}
