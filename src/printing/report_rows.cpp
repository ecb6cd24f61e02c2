#include "printing/report_rows.h"

#include "common/clock.h"
#include "common/dates.h"
#include "printing/report_canvas.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

bool IsNumericCell(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale().toDouble(trimmed, &ok);
    return ok && std::isfinite(v);
}

double CellOffset(int code, double width, double textWidth, const QString& text)
{
    switch (code) {
    case kAlignCentre:
        return (width - textWidth) / 2;
    case kAlignRight80:
        return (width - textWidth) - 0.2 * width;
    case kAlignNumberRight:
        return IsNumericCell(text) ? CellOffset(kAlignRight80, width, textWidth, text)
                                   : CellOffset(kAlignCentre, width, textWidth, text);
    case kAlignDashCentre:
        return (text.contains(QLatin1String("---")) || IsNumericCell(text))
                   ? CellOffset(kAlignCentre, width, textWidth, text)
                   : 0;
    default:
        return 0;
    }
}

void ReportColumns::SetEdges(double scaleWidth, std::initializer_list<double> fractions)
{
    int i = 0;
    for (double f : fractions) {
        if (i >= kCount)
            break;
        ColumnX[static_cast<size_t>(i++)] = static_cast<float>(f * scaleWidth);
    }
}

void ReportColumns::Align(int from, int to, int code)
{
    for (int i = std::max(0, from); i <= to && i < kCount; ++i)
        ColumnAlign[static_cast<size_t>(i)] = code;
}

namespace {

// The alignment a cell's text takes under code: left, centred or ending at
// 80 % of the column.
int Placement(int code, const QString& text)
{
    switch (code) {
    case kAlignCentre:
    case kAlignRight80:
        return code;
    case kAlignNumberRight:
        return IsNumericCell(text) ? kAlignRight80 : kAlignCentre;
    case kAlignDashCentre:
        return (text.contains(QLatin1String("---")) || IsNumericCell(text)) ? kAlignCentre : kAlignLeft;
    default:
        return kAlignLeft;
    }
}

} // namespace

void ColumnFit::AddData(const ReportColumns& columns, const QStringList& cells, int first)
{
    Add(columns, cells, first, true);
}

void ColumnFit::AddOther(const ReportColumns& columns, const QStringList& cells, int first)
{
    Add(columns, cells, first, false);
}

void ColumnFit::Add(const ReportColumns& columns, const QStringList& cells, int first, bool data)
{
    // The last column has no right edge: nothing is fitted there.
    const int last = std::min<int>(first + static_cast<int>(cells.size()), ReportColumns::kCount - 1) - 1;
    for (int i = std::max(0, first); i <= last; ++i) {
        const QString& text = cells[i - first];
        if (text.isEmpty())
            continue;
        const double width = m_out.TextWidth(text);
        const int placement = Placement(columns.ColumnAlign[static_cast<size_t>(i)], text);
        int to = i + 1;
        if (placement == kAlignLeft) {
            // A left-aligned text may run on over the empty cells after it.
            to = kPageEdge;
            for (int j = i + 1; j <= last; ++j) {
                if (!cells[j - first].isEmpty()) {
                    to = j;
                    break;
                }
            }
        }
        double& need = m_needs[{i, to, placement == kAlignRight80 ? Room::Right80 : Room::Plain}];
        need = std::max(need, width);
        if (data) {
            const size_t c = static_cast<size_t>(i);
            if (placement == kAlignLeft)
                m_leftData[c] = std::max(m_leftData[c], width);
            else
                m_otherData[c] = true;
        }
    }
}

bool ColumnFit::Solve(const ReportColumns& columns, int lastEdge, double pageWidth, double scale,
                      std::array<double, ReportColumns::kCount>& edges) const
{
    const auto room = [scale](Room r, double width) {
        // Centred and left-aligned texts keep a whole gap, half on each
        // side; a text ending at 80 % of its column keeps half a gap at its
        // start and the column's last fifth at its end.
        return r == Room::Right80 ? (scale * width + kGap / 2) / 0.8 : scale * width + kGap;
    };
    const auto edge = [lastEdge](int e) { return e == kPageEdge ? e : std::min(e, lastEdge); };
    // Leftmost places: every edge where it was, or further right as far as
    // the texts before it need.
    std::array<double, ReportColumns::kCount> left{};
    for (int k = 0; k <= lastEdge; ++k) {
        const size_t K = static_cast<size_t>(k);
        left[K] = columns.ColumnX[K];
        if (k > 0)
            left[K] = std::max(left[K], left[K - 1]);
        for (const auto& [key, width] : m_needs) {
            const auto [from, to, r] = key;
            if (k > 0 && edge(to) == k && from < k)
                left[K] = std::max(left[K], left[static_cast<size_t>(from)] + room(r, width));
        }
    }
    // Rightmost places that still leave the texts after each edge room
    // before the page's right edge.
    std::array<double, ReportColumns::kCount> right{};
    for (int k = lastEdge; k >= 0; --k) {
        const size_t K = static_cast<size_t>(k);
        right[K] = k == lastEdge ? pageWidth : right[K + 1];
        for (const auto& [key, width] : m_needs) {
            const auto [from, to, r] = key;
            if (from != k)
                continue;
            const int end = edge(to);
            if (end == kPageEdge)
                right[K] = std::min(right[K], pageWidth - scale * width);
            else if (end > k)
                right[K] = std::min(right[K], right[static_cast<size_t>(end)] - room(r, width));
        }
    }
    if (right[0] < columns.ColumnX[0])
        return false;
    for (int k = 0; k <= lastEdge; ++k)
        edges[static_cast<size_t>(k)] = std::min(left[static_cast<size_t>(k)], right[static_cast<size_t>(k)]);
    return true;
}

double ColumnFit::Apply(ReportColumns& columns, int lastEdge, double pageWidth)
{
    lastEdge = std::clamp(lastEdge, 0, ReportColumns::kCount - 1);
    std::array<double, ReportColumns::kCount> edges{};
    m_scale = 1;
    if (!Solve(columns, lastEdge, pageWidth, 1, edges)) {
        double fits = 0.05;
        double fails = 1;
        for (int i = 0; i < 30; ++i) {
            const double mid = (fits + fails) / 2;
            if (Solve(columns, lastEdge, pageWidth, mid, edges))
                fits = mid;
            else
                fails = mid;
        }
        Solve(columns, lastEdge, pageWidth, fits, edges);
        // A little below the largest size that fits: measured widths do not
        // shrink exactly in proportion to the font.
        m_scale = 0.97 * fits;
    }
    for (int k = 0; k <= lastEdge; ++k)
        columns.ColumnX[static_cast<size_t>(k)] = static_cast<float>(edges[static_cast<size_t>(k)]);
    return m_scale;
}

std::array<float, ReportColumns::kCount> ColumnFit::HeadingSpans(const ReportColumns& columns,
                                                                 const QStringList& heading) const
{
    std::array<float, ReportColumns::kCount> spans{};
    for (int i = 0; i < heading.size() && i + 1 < ReportColumns::kCount; ++i) {
        const size_t c = static_cast<size_t>(i);
        const double data = m_scale * m_leftData[c];
        if (heading[i].isEmpty() || columns.ColumnAlign[c] != kAlignCentre || data <= 0 || m_otherData[c])
            continue;
        const double width = columns.ColumnX[c + 1] - columns.ColumnX[c];
        const double text = m_out.TextWidth(heading[i]);
        // Centred in the whole column the heading would end beyond its data.
        if ((width + text) / 2 > data + 1)
            spans[c] = static_cast<float>(std::min(width, std::max(data, text)));
    }
    return spans;
}

QString KindTitle(int dataType)
{
    switch (dataType) {
    case 1: return QStringLiteral(" (Interval Trend)");
    case 2: return QStringLiteral(" (Alarm Trend)");
    case 3: return QStringLiteral(" (Calibration History)");
    case 4: return QStringLiteral(" (Last Calibration)");
    case 5: return QStringLiteral(" (Alarm Event)");
    case 6: return QStringLiteral(" (Trouble Event)");
    case 7: return QStringLiteral(" (Power Event)");
    default: return QString();
    }
}

void PrintPageHeader(ReportCanvas& out, int dataType, const QString& fontName)
{
    out.SetForeColor(0);
    out.SetFontName(fontName);
    out.SetFontSize(12);
    out.SetFontBold(true);
    out.SetCurrentX(10);
    out.SetCurrentY(10);
    out.Print(QStringLiteral("Pelkar Data Logger"), true);
    out.Print(KindTitle(dataType), true);
    out.SetFontSize(kRowPoints);
    const QString date = GeneralDate(Now());
    out.SetCurrentX(out.ScaleWidth() - out.TextWidth(date) - 300);
    out.Print(date, false);
    out.SetFontBold(false);
}

void PrintRow(ReportCanvas& out, const ReportColumns& columns, const QStringList& cells, int first)
{
    const double step = static_cast<float>(1.1 * out.TextHeight(QStringLiteral("W")));
    const double top = out.CurrentY();
    out.SetCurrentX(columns.ColumnX[0]);
    const int last = std::min<int>(first + static_cast<int>(cells.size()), ReportColumns::kCount) - 1;
    for (int i = std::max(0, first); i <= last; ++i) {
        const QString& text = cells[i - first];
        const size_t c = static_cast<size_t>(i);
        // The last column has no right edge of its own: it is placed at its left edge.
        double width = c + 1 < ReportColumns::kCount ? columns.ColumnX[c + 1] - columns.ColumnX[c] : 0;
        const int code = c + 1 < ReportColumns::kCount ? columns.ColumnAlign[c] : kAlignLeft;
        const double textWidth = out.TextWidth(text);
        if (code == kAlignCentre && columns.CentreWidth[c] > 0)
            width = std::min(width, std::max<double>(columns.CentreWidth[c], textWidth));
        const double offset = text.isEmpty() ? 0 : CellOffset(code, width, textWidth, text);
        out.SetCurrentX(columns.ColumnX[c] + offset);
        out.Print(text, true);
        out.SetCurrentY(top);
    }
    out.SetCurrentY(top + step);
}

void DrawRule(ReportCanvas& out, int width)
{
    out.SetDrawWidth(width);
    out.SetForeColor(0);
    out.SetCurrentX(0);
    const double y = out.CurrentY() + kRuleGap;
    out.Line(0, y, out.ScaleWidth(), y);
    // The next row starts as far below the rule as the rule lies below the
    // row above, so that no text touches it.
    out.SetCurrentY(y + kRuleGap);
}
