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
    out.SetFontSize(9);
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
        const double width = c + 1 < ReportColumns::kCount ? columns.ColumnX[c + 1] - columns.ColumnX[c] : 0;
        const int code = c + 1 < ReportColumns::kCount ? columns.ColumnAlign[c] : kAlignLeft;
        const double offset = text.isEmpty() ? 0 : CellOffset(code, width, out.TextWidth(text), text);
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
    const double y = out.CurrentY() + 30;
    out.Line(0, y, out.ScaleWidth(), y);
}
