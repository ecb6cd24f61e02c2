#pragma once
#include "common/errors.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <cstdint>

class GraphModel;

// The page a report draws on, in twips (1440 per inch) from the top left of
// the printable area: a print position that text output moves, a text
// colour, a pen width, a font, lines, page breaks and the end of the
// document. Reports only talk to this; the back ends draw on a printer or a
// PDF file (PrinterCanvas) or record what was drawn (RecordingCanvas).
//
// Output calls raise PrintError when the device fails; after EndDoc or
// AbortDoc nothing more is drawn.
class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    // Printable width and height, twips.
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;

    double CurrentX() const { return m_x; }
    void SetCurrentX(double x) { m_x = x; }
    double CurrentY() const { return m_y; }
    void SetCurrentY(double y) { m_y = y; }
    // Text and line colour, a Windows colour number.
    std::int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::int32_t colour) { m_foreColor = colour; }
    // Pen width of lines, in printer dots of a 600 dpi page (so a width
    // looks the same on any resolution).
    int DrawWidth() const { return m_drawWidth; }
    void SetDrawWidth(int width) { m_drawWidth = width < 1 ? 1 : width; }

    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font);
    void SetFontName(const QString& family);
    void SetFontSize(double points);
    void SetFontBold(bool bold);

    // Size of text in the current font, twips. A text's height is one text
    // line per line of the text.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    // Prints text at the print position. With the line kept open the
    // position moves past the text on the same line; otherwise it returns
    // to the left margin, one text line lower.
    void Print(const QString& text, bool keepLineOpen);
    // A line in the fore colour and pen width; the print position is left
    // at its end point.
    void Line(double x1, double y1, double x2, double y2);
    // Draws the graph of model into rect (twips of this page) with font.
    void DrawGraph(GraphModel& model, const QFont& font, const QRectF& rect);

    // Starts the next page; the print position goes to the top left.
    void NewPage();
    // The document is complete: it goes to the printer (or file).
    void EndDoc();
    // The document is dropped: nothing of it is printed or kept.
    void AbortDoc();

    // Pages begun so far (1 on the first page).
    int PageCount() const { return m_pages; }
    bool Ended() const { return m_ended; }
    bool Aborted() const { return m_aborted; }

protected:
    // Measuring in a given font, twips.
    virtual double MeasureWidth(const QString& text) const = 0;
    virtual double LineHeight() const = 0;
    // Called after every change of the font.
    virtual void FontChanged() {}
    // Drawing: text with its top left at (x, y) in the current font and
    // fore colour; a line in the fore colour and pen width.
    virtual void DrawText(double x, double y, const QString& text) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void RenderGraph(GraphModel& model, const QFont& font, const QRectF& rect) = 0;
    virtual void StartPage() = 0;
    virtual void FinishDocument() = 0;
    virtual void DropDocument() = 0;

private:
    void RequireOpen() const;

    double m_x = 0;
    double m_y = 0;
    std::int32_t m_foreColor = 0;
    int m_drawWidth = 1;
    QFont m_font;
    int m_pages = 1;
    bool m_ended = false;
    bool m_aborted = false;
};

// A failure of the printer or of the output file.
class PrintError : public PelkarError {
public:
    using PelkarError::PelkarError;
};
