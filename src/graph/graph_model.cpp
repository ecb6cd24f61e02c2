#include "graph/graph_model.h"

#include "common/dates.h"
#include "graph/graph_format.h"

#include <algorithm>
#include <cmath>

namespace {

GraphSeries NewSeries()
{
    GraphSeries s;
    s.values.assign(GraphModel::kSampleSlots, 0.0f);
    return s;
}

GraphEventBlock NewEventBlock()
{
    GraphEventBlock b;
    b.times.assign(GraphModel::kEventSlots, DateZero());
    b.offsets.assign(GraphModel::kEventSlots, 0);
    b.texts.assign(GraphModel::kEventSlots, QString());
    return b;
}

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

} // namespace

GraphModel::GraphModel()
{
    m_times.assign(kSampleSlots, DateZero());
    m_offsets.assign(kSampleSlots, 0);
    m_commonTexts.assign(kEventSlots, QString());
    ResetSeries();
}

void GraphModel::ResetSeries()
{
    m_series.clear();
    m_events.clear();
    m_series.push_back(NewSeries());
    m_series.push_back(NewSeries());
    m_events.push_back(NewEventBlock());
    m_events.push_back(NewEventBlock());
}

int GraphModel::AddSample(const QString& name, std::int32_t colour, const QString& format, float scaleRef)
{
    int slot = 0;
    if (!m_series[0].name.isEmpty()) {
        slot = SampleDataCount();
        m_series.push_back(NewSeries());
        m_events.push_back(NewEventBlock());
    }
    GraphSeries& s = m_series[slot];
    s.name = name;
    s.colour = colour;
    s.visible = true;
    s.scaleRef = scaleRef;
    if (!format.isEmpty())
        s.format = format;
    m_events[slot].visible = false;
    return slot;
}

void GraphModel::Clear()
{
    ResetSeries();
    m_sampleCount = 0;
    m_cursorIndex = 0;
    m_cursorYOffset = 0;
    std::fill(m_commonTexts.begin(), m_commonTexts.end(), QString());
    m_cursor = GraphCursorState();
}

QString GraphModel::ValueName(int s) const { return SeriesIndex(s) ? m_series[s].name : QString(); }
void GraphModel::SetValueName(int s, const QString& name)
{
    if (SeriesIndex(s))
        m_series[s].name = name;
}
std::int32_t GraphModel::ValueColor(int s) const { return SeriesIndex(s) ? m_series[s].colour : 0; }
void GraphModel::SetValueColor(int s, std::int32_t colour)
{
    if (SeriesIndex(s))
        m_series[s].colour = colour;
}
bool GraphModel::SampleVisible(int s) const { return SlotIndex(s) && m_series[s].visible; }
void GraphModel::SetSampleVisible(int s, bool visible)
{
    if (SeriesIndex(s))
        m_series[s].visible = visible;
}
QString GraphModel::FormatY(int s) const { return SlotIndex(s) ? m_series[s].format : QString(); }
void GraphModel::SetFormatY(int s, const QString& format)
{
    if (SlotIndex(s))
        m_series[s].format = format;
}
float GraphModel::MinY(int s) const { return SlotIndex(s) ? m_series[s].minY : 0.0f; }
void GraphModel::SetMinY(int s, float v)
{
    if (SeriesIndex(s))
        m_series[s].minY = v;
}
float GraphModel::MaxY(int s) const { return SlotIndex(s) ? m_series[s].maxY : 0.0f; }
void GraphModel::SetMaxY(int s, float v)
{
    if (SeriesIndex(s))
        m_series[s].maxY = v;
}
float GraphModel::ScaleRef(int s) const { return SlotIndex(s) ? m_series[s].scaleRef : 0.0f; }
double GraphModel::PosYStp(int s) const { return SlotIndex(s) ? m_series[s].posYStp : 0.0; }
double GraphModel::YFactor(int s) const { return SlotIndex(s) ? m_series[s].yFactor : 0.0; }
int GraphModel::LastIndex(int s) const { return SlotIndex(s) ? m_series[s].lastIndex : 0; }

float GraphModel::valueY(int s, int i) const
{
    return (SlotIndex(s) && SampleIndex(i)) ? m_series[s].values[i] : 0.0f;
}

void GraphModel::SetvalueY(int s, int i, float v)
{
    if (!SeriesIndex(s) || !SampleIndex(i))
        return;
    GraphSeries& series = m_series[s];
    series.values[i] = v;
    if (series.lastIndex < i)
        series.lastIndex = i;
}

std::int32_t GraphModel::OffsetFromSample0(const QDateTime& t) const
{
    const QDateTime& t0 = m_times[0];
    if (!t.isValid() || !t0.isValid())
        return 0;
    return RoundToLong(static_cast<double>(t0.msecsTo(t)) / 1000.0);
}

QDateTime GraphModel::valueX(int i) const { return SampleIndex(i) ? m_times[i] : DateZero(); }

void GraphModel::SetvalueX(int i, const QDateTime& time)
{
    if (!SampleIndex(i))
        return;
    m_times[i] = time;
    m_offsets[i] = (i == 0) ? 0 : OffsetFromSample0(time);
}

void GraphModel::SetDataX(int i, const QDateTime& time)
{
    if (!SampleIndex(i) || i == kMaxSampleIndex)
        return;
    SetvalueX(i, time);
    if (m_sampleCount < i)
        m_sampleCount = i;
}

std::int32_t GraphModel::Offset(int i) const { return SampleIndex(i) ? m_offsets[i] : 0; }

void GraphModel::SetSampleCount(int n)
{
    if (n >= 0 && n <= kSampleSlots)
        m_sampleCount = n;
}

QDateTime GraphModel::EventX(int s, int i) const
{
    return (SlotIndex(s) && EventIndex(i)) ? m_events[s].times[i] : DateZero();
}

void GraphModel::SetEventX(int s, int i, const QDateTime& time)
{
    if (!SeriesIndex(s) || !EventSetIndex(i))
        return;
    GraphEventBlock& b = m_events[s];
    b.times[i] = time;
    if (RoundToLong(SerialFromDate(m_times[0])) != 0) {
        b.offsets[i] = OffsetFromSample0(time);
        if (b.count < i)
            b.count = i;
    } else {
        b.offsets[i] = 0;
    }
}

std::int32_t GraphModel::EventOffset(int s, int i) const
{
    return (SlotIndex(s) && EventIndex(i)) ? m_events[s].offsets[i] : 0;
}

QString GraphModel::EventFlag(int s, int i) const
{
    if (!EventIndex(i) || s < 0)
        return QString();
    if (s >= SampleDataCount())
        return m_commonTexts[i];
    return m_events[s].texts[i];
}

void GraphModel::SetEventFlag(int s, int i, const QString& text)
{
    if (!EventSetIndex(i) || s < 0)
        return;
    if (s >= SampleDataCount())
        m_commonTexts[i] = text;
    else
        m_events[s].texts[i] = text;
}

bool GraphModel::EventVisible(int s) const
{
    if (s < 0)
        return false;
    if (s >= SampleDataCount())
        return m_commonVisible;
    return m_events[s].visible;
}

void GraphModel::SetEventVisible(int s, bool visible)
{
    if (s < 0)
        return;
    if (s >= SampleDataCount())
        m_commonVisible = visible;
    else
        m_events[s].visible = visible;
}

int GraphModel::EventCount(int s) const { return SlotIndex(s) ? m_events[s].count : 0; }

void GraphModel::SetEventCount(int s, int count)
{
    if (SlotIndex(s))
        m_events[s].count = std::clamp(count, 0, kMaxEvents);
}

double GraphModel::EventRowY(int s) const { return SlotIndex(s) ? m_events[s].rowY : 0.0; }

void GraphModel::SetEventRowY(int s, double y)
{
    if (SlotIndex(s))
        m_events[s].rowY = y;
}

QString GraphModel::CommonEventText(int i) const { return EventIndex(i) ? m_commonTexts[i] : QString(); }

const QString& GraphModel::EventTextRef(int s, int i) const
{
    static const QString empty;
    return (SlotIndex(s) && EventIndex(i)) ? m_events[s].texts[i] : empty;
}

const QString& GraphModel::CommonTextRef(int i) const
{
    static const QString empty;
    return EventIndex(i) ? m_commonTexts[i] : empty;
}

void GraphModel::SearchEvent(double x, double y, QDateTime& time, QString& text) const
{
    double best = 99999999;
    double bestV = 99999999;
    QDateTime foundTime;
    QString foundText;
    if (x >= m_minX && x <= m_maxX) {
        for (int s = 0; s < SampleDataCount(); ++s) {
            const GraphEventBlock& b = m_events[s];
            const int count = std::min(b.count, kMaxEvents);
            const double dy = std::fabs(b.rowY - y);
            for (int i = 0; i < count; ++i) {
                if (b.texts[i].isEmpty())
                    continue;
                const double d = std::fabs(static_cast<double>(b.offsets[i]) - x);
                if (d < best) {
                    best = RoundToLong(d);
                    foundTime = b.times[i];
                    foundText = b.texts[i];
                    bestV = RoundToLong(dy);
                } else if (d == best && dy < bestV) {
                    foundTime = b.times[i];
                    foundText = b.texts[i];
                    bestV = RoundToLong(dy);
                }
            }
        }
    }
    if (best < (m_maxX - m_minX) / 40.0 && bestV < 180) {
        time = foundTime;
        text = foundText;
    } else {
        time = DateZero();
        text.clear();
    }
}

int GraphModel::MouseToSample(double t) const
{
    if (t < m_offsets[0])
        return 0;
    const int n = std::min(m_sampleCount, kSampleSlots);
    for (int i = 0; i < n; ++i) {
        if (t < m_offsets[i])
            return i;
    }
    return std::max(n - 1, 0);
}

int GraphModel::LastSampleAtOrBefore(double bound) const
{
    int i = MouseToSample(bound);
    if (i > 0 && m_offsets[i] > bound)
        --i;
    return i;
}

bool GraphModel::SetZoom(int z)
{
    const int n = m_sampleCount;
    if (n <= 1 || z < 1)
        return false;
    m_zoom = z;
    m_scroll.visible = z > 1;
    const double shown = static_cast<double>(n) / z;
    // The page is at least one sample, however large the factor.
    const int page = std::max(1, RoundToLong(shown - 1));
    m_scroll.min = 0;
    m_scroll.max = std::max(0, std::min(RoundToLong(n - shown - 1), n - 1 - page));
    m_scroll.largeChange = page;
    m_scroll.smallChange = 1;
    const bool moved = m_scroll.value != 0;
    if (moved)
        ScrollTo(0);
    m_scroll.value = 0;
    m_minX = RangeStart();
    m_maxX = m_offsets[std::min(page, n - 1)];
    return moved;
}

int GraphModel::ScrollEnd(int v) const
{
    // The window's end never passes the last sample.
    const int n = m_sampleCount;
    const int end = RoundToLong(static_cast<double>(n) / m_zoom + v);
    return std::min(std::max(end, v + 1), n - 1);
}

void GraphModel::ScrollTo(int v)
{
    const int n = m_sampleCount;
    v = std::clamp(v, m_scroll.min, std::max(m_scroll.min, m_scroll.max));
    m_scroll.value = v;
    if (n < 1 || m_zoom < 1)
        return;
    v = std::min(v, n - 1);
    m_minX = v == 0 ? RangeStart() : m_offsets[v];
    m_maxX = m_offsets[ScrollEnd(v)];
}

int GraphModel::ScrollValueShowing(int sample) const
{
    int v = m_scroll.value;
    if (!m_scroll.visible || sample < 0 || sample >= m_sampleCount || m_zoom < 1)
        return v;
    const double at = m_offsets[sample];
    if (at >= m_minX && at <= m_maxX)
        return v;
    if (at < m_minX)
        return std::clamp(sample, m_scroll.min, v);
    const int last = std::max(m_scroll.min, m_scroll.max);
    do
        ++v;
    while (v < last && ScrollEnd(v) < sample);
    return std::min(v, last);
}

bool GraphModel::FirstEvent(double& first) const
{
    bool any = false;
    for (int s = 0; s < SampleDataCount(); ++s) {
        const GraphEventBlock& b = m_events[static_cast<size_t>(s)];
        const int count = std::min(b.count, kMaxEvents);
        for (int i = 0; i < count; ++i) {
            if (b.texts[static_cast<size_t>(i)].isEmpty())
                continue;
            const double off = b.offsets[static_cast<size_t>(i)];
            first = any ? std::min(first, off) : off;
            any = true;
        }
    }
    return any;
}

bool GraphModel::SamplesSpanTime() const
{
    const int n = std::min(m_sampleCount, kSampleSlots);
    for (int i = 1; i < n; ++i) {
        if (m_offsets[i] != m_offsets[0])
            return true;
    }
    return false;
}

double GraphModel::RangeStart() const
{
    double first = 0;
    if (SamplesSpanTime() && FirstEvent(first))
        return std::min(0.0, first);
    return 0;
}

void GraphModel::SetTwipsPerPixel(double x, double y)
{
    if (x > 0)
        m_tppX = x;
    if (y > 0)
        m_tppY = y;
}

bool GraphModel::InLeftGroup(int s) const
{
    return s < RoundToLong(SampleDataCount() / 2.0);
}

void GraphModel::CalcLayout(const GraphLayoutTarget& target)
{
    m_formatX = QStringLiteral("mm/dd hh:nn:ss");
    if (!target.screen) {
        if (m_drawWidth == 0)
            m_drawWidth = target.controlWidth;
        if (m_drawHeight == 0)
            m_drawHeight = target.controlHeight;
    }
    const int titles = (m_titleTop.isEmpty() ? 0 : 1) + (m_titleBottom.isEmpty() ? 0 : 1);
    double total = 0;
    double left = 0;
    for (int s = 0; s < SampleDataCount(); ++s) {
        const double w = target.textWidth(m_series[s].format) + 180;
        total += w;
        if (InLeftGroup(s))
            left += w;
    }
    const double titleHeight = target.textHeight(m_titleBottom);
    const double width = target.screen ? target.scaleWidth : m_drawWidth;
    const double height = target.screen ? target.scaleHeight : m_drawHeight;
    m_plotLeft = left;
    m_plotTop = titles == 0 ? 120 : titleHeight + 120;
    m_plotWidth = width - total;
    m_plotHeight = height - target.textHeight(QStringLiteral("8")) - (titles + 1) * titleHeight - 120;
    if (!target.screen) {
        m_plotLeft += m_drawLeft;
        m_plotTop += m_drawTop;
    }
    if (m_plotWidth <= 0)
        m_plotWidth = 1;
    if (m_plotHeight <= 0)
        m_plotHeight = 1;

    if (m_maxX == 0)
        m_minX = RangeStart();
    if (!(m_maxX > 0 && m_minX < m_maxX)) {
        double largest = -1e11;
        for (int i = 0; i < m_sampleCount; ++i)
            largest = std::max(largest, static_cast<double>(m_offsets[i]));
        m_maxX = largest;
    }
    m_posXStp = (m_maxX - m_minX) / 10;
    m_xStep = (m_maxX == m_minX) ? 0 : m_plotWidth / (m_maxX - m_minX);
    CalcSeriesScales();
}

void GraphModel::CalcSeriesScales()
{
    const int count = std::min(m_sampleCount, kSampleSlots);
    for (int s = 0; s < SampleDataCount(); ++s) {
        GraphSeries& g = m_series[s];
        const int unit = g.scaleRef < 10 ? 1 : 10;
        if (g.maxY == 0) {
            float lowest = 1e11f;
            for (int i = 0; i < count; ++i)
                lowest = std::min(lowest, g.values[i]);
            if (lowest < kNoValue)
                g.minY = static_cast<float>(-RoundHalfEven(-lowest));
            else
                g.minY = 0;
        }
        if (!(g.maxY > 0 && g.minY < g.maxY)) {
            float highest = -1e11f;
            for (int i = 0; i < count; ++i)
                highest = std::max(highest, g.values[i]);
            if (highest <= kNoValue) {
                g.maxY = 0;
            } else {
                const std::int32_t scaled = RoundToLong(static_cast<double>(highest) * 1.2);
                g.maxY = static_cast<float>((scaled / unit + 1) * unit);
            }
        }
        g.posYStp = (static_cast<double>(g.maxY) - g.minY) / 10;
        g.yFactor = (g.maxY == g.minY) ? 0 : m_plotHeight / (static_cast<double>(g.maxY) - g.minY);
    }
}

double GraphModel::xPos(double x) const { return (x - m_minX) * m_xStep + m_plotLeft; }

double GraphModel::yPos(double v, int s) const
{
    if (!SlotIndex(s))
        return m_plotTop + m_plotHeight;
    const GraphSeries& g = m_series[s];
    return m_plotTop + m_plotHeight - (v - g.minY) * g.yFactor;
}

double GraphModel::xData(double x) const
{
    if (m_xStep == 0)
        return m_minX;
    return (x - m_plotLeft) / m_xStep + m_minX;
}

double GraphModel::yData(double y, int s) const
{
    if (!SlotIndex(s))
        return 0;
    const GraphSeries& g = m_series[s];
    if (g.yFactor == 0)
        return g.minY;
    return (m_plotTop + m_plotHeight - y) / g.yFactor + g.minY;
}

double GraphModel::EventRowFor(int s) const
{
    if (!InLeftGroup(s))
        return m_plotTop + m_plotHeight - (s / 2.0 + 2) * 300;
    return m_plotTop + (s / 2.0 + 1) * 300;
}

void GraphModel::DrawCursor(const std::function<QSizeF(const QString&)>& labelSize, bool place)
{
    const std::int32_t c0 = RoundToLong(m_cursorIndex);
    if (c0 < 0 || c0 > kMaxSampleIndex)
        return;
    if (m_offsets[c0] < m_minX)
        m_cursorIndex = LastSampleAtOrBefore(m_minX);
    else if (m_offsets[c0] > m_maxX)
        m_cursorIndex = LastSampleAtOrBefore(m_maxX);
    m_formatX = QStringLiteral("mm/dd hh:nn:ss");
    if (!place)
        return;
    const int c = std::clamp(RoundToLong(m_cursorIndex), 0, kMaxSampleIndex);

    GraphCursorState cur;
    cur.placed = true;
    cur.x = xPos(m_offsets[c]);
    cur.y1 = m_plotTop + m_tppY;
    cur.y2 = m_plotTop + m_plotHeight - m_tppY;

    const QString crlf = QStringLiteral("\r\n");
    QString caption = QLatin1Char('[') + FormatDate(m_times[c], m_formatX) + QLatin1Char(']') + crlf;
    for (int s = 0; s < SampleDataCount(); ++s) {
        GraphSeries& g = m_series[s];
        if (!g.visible)
            continue;
        if (g.format.isEmpty())
            g.format = QStringLiteral("##0.0");
        const float v = g.values[c];
        caption += g.name + QStringLiteral(" : ");
        caption += (v != kNoValue) ? FormatPattern(v, g.format, 7) : QStringLiteral("-----");
        caption += crlf;
    }
    cur.caption = caption;

    double base = -1e8;
    for (int s = 0; s < SampleDataCount(); ++s)
        base = std::max(base, yPos(m_series[s].values[c], s));
    base = std::clamp(base, m_plotTop, m_plotTop + m_plotHeight);
    const QSizeF size = labelSize ? labelSize(caption) : QSizeF();
    cur.labelWidth = size.width();
    cur.labelHeight = size.height();
    cur.labelTop = base - cur.labelHeight + m_cursorYOffset * m_tppY;
    if (m_offsets[c] <= m_minX + (m_maxX - m_minX) / 2)
        cur.labelLeft = cur.x + 2 * m_tppX;
    else
        cur.labelLeft = cur.x - cur.labelWidth - 2 * m_tppX;
    m_cursor = cur;
}

bool GraphModel::KeyDown(int keyCode, int shift, double surfaceHeightPx)
{
    const int n = m_sampleCount;
    const double h = surfaceHeightPx;
    const bool shifted = (shift & 1) != 0;
    const int step = shifted ? 10 : 1;
    switch (keyCode) {
    case kKeyLeft:
        if (shifted ? m_cursorIndex >= 10 : m_cursorIndex > 0) {
            m_cursorIndex -= step;
            return true;
        }
        return false;
    case kKeyRight:
        if (shifted ? m_cursorIndex < n - 11 : m_cursorIndex < n - 1) {
            m_cursorIndex += step;
            return true;
        }
        return false;
    case kKeyUp:
        if (m_cursorYOffset > -h) {
            m_cursorYOffset -= step;
            return true;
        }
        return false;
    case kKeyDown:
        if (m_cursorYOffset < h) {
            m_cursorYOffset += step;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void GraphModel::MouseDown(double xTwips)
{
    m_cursorIndex = MouseToSample(xData(xTwips));
}

std::int32_t GraphModel::MixColor(std::int32_t c1, std::int32_t c2, double f)
{
    const auto channel = [](std::int32_t c, int shift) { return (static_cast<std::uint32_t>(c) >> shift) & 0xFF; };
    std::int32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const double a = channel(c1, shift);
        const double b = channel(c2, shift);
        const int v = std::clamp(RoundToLong((a - b) * f + b), 0, 255);
        out |= v << shift;
    }
    return out;
}
