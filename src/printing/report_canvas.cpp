#include "printing/report_canvas.h"

#include "common/resstrings.h"

void ReportCanvas::SetFont(const QFont& font)
{
    m_font = font;
    FontChanged();
}

void ReportCanvas::SetFontName(const QString& family)
{
    if (family.isEmpty() || family == m_font.family())
        return;
    m_font.setFamily(family);
    FontChanged();
}

void ReportCanvas::SetFontSize(double points)
{
    if (points <= 0 || points == m_font.pointSizeF())
        return;
    m_font.setPointSizeF(points);
    FontChanged();
}

void ReportCanvas::SetFontBold(bool bold)
{
    if (bold == m_font.bold())
        return;
    m_font.setBold(bold);
    FontChanged();
}

double ReportCanvas::TextWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    return MeasureWidth(text);
}

double ReportCanvas::TextHeight(const QString& text) const
{
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    return static_cast<double>(lines) * LineHeight();
}

void ReportCanvas::RequireOpen() const
{
    if (m_ended || m_aborted)
        throw PrintError(GetResString(5967));
}

void ReportCanvas::Print(const QString& text, bool keepLineOpen)
{
    RequireOpen();
    if (!text.isEmpty())
        DrawText(m_x, m_y, text);
    if (keepLineOpen) {
        m_x += TextWidth(text);
    } else {
        m_x = 0;
        m_y += TextHeight(text);
    }
}

void ReportCanvas::Line(double x1, double y1, double x2, double y2)
{
    RequireOpen();
    DrawLine(x1, y1, x2, y2);
    m_x = x2;
    m_y = y2;
}

void ReportCanvas::DrawGraph(GraphModel& model, const QFont& font, const QRectF& rect)
{
    RequireOpen();
    RenderGraph(model, font, rect);
}

void ReportCanvas::NewPage()
{
    RequireOpen();
    StartPage();
    ++m_pages;
    m_x = 0;
    m_y = 0;
}

void ReportCanvas::EndDoc()
{
    RequireOpen();
    FinishDocument();
    m_ended = true;
}

void ReportCanvas::AbortDoc()
{
    if (m_ended || m_aborted)
        return;
    m_aborted = true;
    DropDocument();
}
