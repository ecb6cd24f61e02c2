#pragma once
#include "printing/report_canvas.h"

#include <QFontMetricsF>
#include <QPainter>

#include <memory>
#include <optional>

class QPrinter;

// A report canvas on a QPrinter: a system printer by name, or a PDF file.
// A PDF file is written under a temporary name beside the target and put
// in place only when the document ends, so a cancelled or failed job never
// leaves a half-written file (nor destroys an older file of that name); nor
// does a file that did not reach the disk whole (a full disk).
class PrinterCanvas final : public ReportCanvas {
public:
    // A system printer; raises PrintError when it cannot be opened.
    static std::unique_ptr<PrinterCanvas> ForPrinter(const QString& printerName);
    // A PDF file at path; raises PrintError when it cannot be written.
    static std::unique_ptr<PrinterCanvas> ForPdfFile(const QString& path);
    ~PrinterCanvas() override;

    double ScaleWidth() const override { return m_scaleWidth; }
    double ScaleHeight() const override { return m_scaleHeight; }
    // The printable area (what ScaleWidth and ScaleHeight measure) in points
    // from the page's top left.
    QRectF PrintableArea() const;

protected:
    double MeasureWidth(const QString& text) const override;
    double LineHeight() const override;
    void FontChanged() override;
    void DrawText(double x, double y, const QString& text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void RenderGraph(GraphModel& model, const QFont& font, const QRectF& rect) override;
    void StartPage() override;
    void FinishDocument() override;
    void DropDocument() override;

private:
    PrinterCanvas(std::unique_ptr<QPrinter> printer, const QString& finalPath, const QString& partPath);
    void Begin();
    enum class PenUse { None, Text, Line };
    void UsePen(PenUse use);

    std::unique_ptr<QPrinter> m_printer;
    QString m_finalPath; // PDF only: where the file goes when the document ends
    QString m_partPath;  // PDF only: the file being written
    QPainter m_painter;
    double m_pxPerTwipX = 1;
    double m_pxPerTwipY = 1;
    double m_scaleWidth = 0;
    double m_scaleHeight = 0;
    std::optional<QFontMetricsF> m_metrics;
    double m_ascent = 0;
    double m_lineHeight = 0;
    PenUse m_pen = PenUse::None;
    std::int32_t m_penColour = -1;
    int m_penWidth = -1;
};
