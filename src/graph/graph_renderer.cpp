#include "graph/graph_renderer.h"

#include "common/colors.h"
#include "graph/graph_format.h"

#include <QPaintDevice>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kTwipsPerInch = 1440.0;

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

int CInt(double v) { return static_cast<int>(RoundHalfEven(v)); }

} // namespace

GraphRenderer::GraphRenderer(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target)
    : m_model(model),
      m_painter(painter),
      m_target(target),
      m_font(font),
      m_activeFont(font),
      m_metrics(font, painter.device())
{
    m_painter.save();
    m_twips = QTransform::fromScale(m_target.dpiX / kTwipsPerInch, m_target.dpiY / kTwipsPerInch);
    m_painter.setWorldTransform(m_twips);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setFont(m_font);
}

GraphRenderer::~GraphRenderer() { m_painter.restore(); }

double GraphRenderer::DevicePixelRatio() const
{
    const QPaintDevice* d = m_painter.device();
    return d ? std::max(1.0, d->devicePixelRatioF()) : 1.0;
}

double GraphRenderer::TextWidth(const QString& text) const
{
    return m_metrics.horizontalAdvance(text) * kTwipsPerInch / m_target.dpiX;
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
}

void GraphRenderer::SetPen(std::int32_t colour, double widthPx, Qt::PenStyle style)
{
    // Widths are in pixels of the target, whatever the twip transform.
    QPen pen(ColorFromWin(colour));
    pen.setCosmetic(true);
    const double w = std::max(1.0, widthPx) * DevicePixelRatio();
    pen.setWidthF(w <= 1.0 ? 0.0 : w);
    pen.setStyle(style);
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
}

void GraphRenderer::Line(double x1, double y1, double x2, double y2)
{
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void GraphRenderer::PrintText(double x, double y, const QString& text)
{
    if (text.isEmpty())
        return;
    const QPointF p = m_twips.map(QPointF(x, y));
    QStaticText& st = m_staticTexts[text];
    if (st.text() != text) {
        st.setText(text);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
    }
    m_painter.setWorldTransform(QTransform());
    QPen pen(ColorFromWin(m_foreColor));
    m_painter.setPen(pen);
    // QStaticText positions by the top of the text box.
    m_painter.drawStaticText(QPointF(std::round(p.x()), std::round(p.y())), st);
    m_painter.setWorldTransform(m_twips);
    m_currentX = x + TextWidth(text);
    m_currentY = y;
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

    if (!m.TitleTop().isEmpty())
        PrintText((m_target.scaleWidth - TextWidth(m.TitleTop())) / 2, top - 1.5 * TextHeight(QStringLiteral("8888")),
                  m.TitleTop());
    if (!m.TitleBottom().isEmpty())
        PrintText((m_target.scaleWidth - TextWidth(m.TitleBottom())) / 2,
                  bottom + 1.5 * TextHeight(QStringLiteral("8888")), m.TitleBottom());

    // Time labels: about ten per visible page, never overlapping.
    const int n = m.SampleCount();
    const double range = m.MaxX() - m.MinX();
    int labels = 0;
    if (m.PosXStp() != 0)
        labels = CInt(range / (m.PosXStp() / m.Zoom()));
    int k = labels > 0 ? CInt(static_cast<double>(n) / labels) : 0;
    if (k <= 0)
        k = 1;
    double previousEnd = 0;
    for (int i = 0; i <= n - 1; i += k) {
        const double off = m.Offset(i);
        if (off < m.MinX() || off > m.MaxX())
            continue;
        const double x = m.xPos(off);
        const QString text = FormatDate(m.valueX(i), m.FormatX());
        const double w = TextWidth(text);
        if (!(x - w / 2 > previousEnd))
            continue;
        SetPen(m_foreColor, m.ScaleLineWidth(), Qt::SolidLine);
        Line(x, bottom, x, bottom + 40);
        PrintText(x - w / 2, bottom + 80, text);
        previousEnd = x + 1.125 * w / 2;
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
    const double labelHalf = TextHeight(QStringLiteral("00000")) / 2;
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.SampleVisible(s))
            continue;
        double& r = m.InLeftGroup(s) ? leftColumn : rightColumn;
        m_foreColor = m.ValueColor(s);
        const double edge = r + 530;
        PrintText(edge - TextWidth(m.ValueName(s)), originTop + 2 * m.TwipsPerPixelY(), m.ValueName(s));
        const double step = m.PosYStp(s);
        const int count = step == 0 ? 0 : CInt((static_cast<double>(m.MaxY(s)) - m.MinY(s)) / step);
        for (int j = 0; j <= count; ++j) {
            const float v = static_cast<float>(j * step + m.MinY(s));
            const QString text = FormatNumber(v, m.FormatY(s), 7);
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
    std::vector<QPointF> run;
    std::vector<QPointF> dots;
    run.reserve(1024);
    const auto flush = [&] {
        if (run.size() >= 2)
            m_painter.drawPolyline(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.SampleVisible(s))
            continue;
        SetPen(m.ValueColor(s), m.DrawLineWidth(), Qt::SolidLine);
        run.clear();
        dots.clear();
        const int last = m.LastIndex(s);
        for (int i = 0; i < last; ++i) {
            const double off = m.Offset(i);
            if (!(off >= minX && off < maxX)) {
                flush();
                continue;
            }
            const float v0 = m.valueY(s, i);
            const float v1 = m.valueY(s, i + 1);
            const double x0 = m.xPos(off);
            if (v1 == GraphModel::kNoValue) {
                // The next value is missing: the value stands as a point.
                flush();
                dots.emplace_back(x0, m.yPos(v0, s));
                continue;
            }
            const double x1 = m.xPos(m.Offset(i + 1));
            const double y1 = m.yPos(v1, s);
            // After a missing value the line resumes with a level step.
            const QPointF a(x0, v0 == GraphModel::kNoValue ? y1 : m.yPos(v0, s));
            const QPointF b(x1, y1);
            if (run.empty() || run.back() != a) {
                flush();
                run.push_back(a);
            }
            run.push_back(b);
        }
        flush();
        if (!dots.empty())
            m_painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
    }
}

void GraphRenderer::DrawEventMarks()
{
    GraphModel& m = m_model;
    const QFont saved = m_activeFont;
    UseFont(SmallerFont(m_font, 3.5, m_target.dpiY));
    const double minX = m.MinX();
    const double maxX = m.MaxX();
    for (int s = 0; s < m.SampleDataCount(); ++s) {
        if (!m.EventVisible(s))
            continue;
        const int count = std::min(m.EventCount(s), GraphModel::kMaxEvents);
        const double y = m.EventRowFor(s);
        const bool lower = !m.InLeftGroup(s);
        const double textTop = lower ? y + 120 : y - 240;
        for (int i = 0; i < count; ++i) {
            const QString text = m.EventFlag(s, i);
            const double off = m.EventOffset(s, i);
            if (text.isEmpty() || off < minX || off > maxX)
                continue;
            const double x = m.xPos(off);
            DrawTriangleMark(x, y, false, 50, m.ValueColor(s));
            m.SetEventRowY(s, y);
            PrintText(x - TextWidth(text) / 2, textTop, text);
        }
    }
    if (m.CommonEventVisible()) {
        const double bottom = m.PlotTop() + m.PlotHeight();
        const int n = std::min(m.SampleCount(), GraphModel::kMaxEvents + 1);
        for (int i = 0; i < n; ++i) {
            const QString text = m.CommonEventText(i);
            const double off = m.Offset(i);
            if (text.isEmpty() || off < minX || off > maxX)
                continue;
            const double x = m.xPos(off);
            DrawTriangleMark(x, bottom - 300, true, 50, 1);
            PrintText(x - TextWidth(text) / 2, bottom - 180, text);
        }
    }
    UseFont(saved);
}

void GraphRenderer::DrawTriangleMark(double x, double y, bool up, double size, std::int32_t colour)
{
    m_foreColor = colour;
    SetPen(colour, m_model.DrawLineWidth(), Qt::SolidLine);
    m_painter.setBrush(ColorFromWin(colour));
    // The apex sits one target pixel off the row, as the outline would
    // otherwise cover the row itself.
    const double onePixel = kTwipsPerInch / m_target.dpiY;
    const double dir = up ? 1.0 : -1.0;
    const QPointF points[3] = {
        QPointF(x, y + dir * onePixel),
        QPointF(x - 0.83 * size, y + dir * 2.2 * size),
        QPointF(x + 0.83 * size, y + dir * 2.2 * size),
    };
    m_painter.drawPolygon(points, 3);
    m_painter.setBrush(Qt::NoBrush);
}

QPointF RenderGraph(GraphModel& model, QPainter& painter, const QFont& font, const GraphRenderTarget& target,
                 const std::function<QSizeF(const QString&)>& labelSize)
{
    GraphRenderer r(model, painter, font, target);
    model.CalcLayout(r.LayoutTarget());
    if (model.XStep() > 0) {
        r.DrawFrameAndScales();
        r.DrawSeriesLines();
        r.DrawEventMarks();
        model.DrawCursor(labelSize, target.screen);
    }
    return QPointF(r.CurrentX(), r.CurrentY());
}
