#include "printing/recording_canvas.h"

#include "common/resstrings.h"
#include "graph/graph_model.h"

RecordingCanvas::RecordingCanvas(double scaleWidth, double scaleHeight) : m_width(scaleWidth), m_height(scaleHeight)
{
    QFont font;
    font.setPointSizeF(9);
    SetFont(font);
}

std::vector<RecordingCanvas::Text> RecordingCanvas::TextsOnPage(int page) const
{
    std::vector<Text> out;
    for (const Text& t : texts) {
        if (t.page == page)
            out.push_back(t);
    }
    return out;
}

const RecordingCanvas::Text* RecordingCanvas::Find(const QString& text, int page) const
{
    for (const Text& t : texts) {
        if (t.text == text && (page == 0 || t.page == page))
            return &t;
    }
    return nullptr;
}

// One em in twips: 20 twips per point.
double RecordingCanvas::Em() const { return Font().pointSizeF() * 20.0; }

double RecordingCanvas::MeasureWidth(const QString& text) const { return 0.6 * Em() * text.size(); }

double RecordingCanvas::LineHeight() const { return 1.2 * Em(); }

void RecordingCanvas::DrawText(double x, double y, const QString& text)
{
    texts.push_back({PageCount(), x, y, text, Font().pointSizeF(), Font().bold(), Font().family(), ForeColor()});
}

void RecordingCanvas::DrawLine(double x1, double y1, double x2, double y2)
{
    lines.push_back({PageCount(), x1, y1, x2, y2, DrawWidth()});
}

void RecordingCanvas::RenderGraph(GraphModel& model, const QFont& font, const QRectF& rect)
{
    graphs.push_back({PageCount(), rect, model.SampleCount(), model.TitleTop(), model.TitleBottom(), font.bold()});
}

void RecordingCanvas::StartPage()
{
    if (m_failAtPage > 0 && PageCount() + 1 == m_failAtPage)
        throw PrintError(GetResString(5964));
}

void RecordingCanvas::FinishDocument() { finished = true; }

void RecordingCanvas::DropDocument() { dropped = true; }
