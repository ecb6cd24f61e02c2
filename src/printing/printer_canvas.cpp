#include "printing/printer_canvas.h"

#include "common/colors.h"
#include "common/file_write.h"
#include "common/resstrings.h"
#include "common/system_error.h"
#include "common/twips.h"
#include "graph/graph_model.h"
#include "graph/graph_renderer.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
// Pen widths are counted in dots of a 600 dpi page.
constexpr double kPenDotsPerInch = 600.0;
} // namespace

std::unique_ptr<PrinterCanvas> PrinterCanvas::ForPrinter(const QString& printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        throw PrintError(QStringLiteral("The printer \"%1\" is not available.").arg(printerName));
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setPageOrientation(QPageLayout::Portrait);
    std::unique_ptr<PrinterCanvas> canvas(new PrinterCanvas(std::move(printer), QString(), QString()));
    canvas->Begin();
    return canvas;
}

std::unique_ptr<PrinterCanvas> PrinterCanvas::ForPdfFile(const QString& path)
{
    const QFileInfo target(path);
    const QString finalPath = target.absoluteFilePath();
    const QString part = finalPath + QStringLiteral(".part");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(part);
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setDocName(target.completeBaseName());
    std::unique_ptr<PrinterCanvas> canvas(new PrinterCanvas(std::move(printer), finalPath, part));
    canvas->Begin();
    return canvas;
}

PrinterCanvas::PrinterCanvas(std::unique_ptr<QPrinter> printer, const QString& finalPath, const QString& partPath)
    : m_printer(std::move(printer)), m_finalPath(finalPath), m_partPath(partPath)
{
}

PrinterCanvas::~PrinterCanvas()
{
    // A canvas dropped without EndDoc is an abandoned document.
    AbortDoc();
}

void PrinterCanvas::Begin()
{
    if (!m_painter.begin(m_printer.get())) {
        if (!m_partPath.isEmpty())
            QFile::remove(m_partPath);
        throw PrintError(m_finalPath.isEmpty()
                             ? GetResString(5963)
                             : GetResString(5968, m_finalPath));
    }
    const double dpiX = std::max(1, m_printer->logicalDpiX());
    const double dpiY = std::max(1, m_printer->logicalDpiY());
    m_pxPerTwipX = dpiX / kTwipsPerInch;
    m_pxPerTwipY = dpiY / kTwipsPerInch;
    m_scaleWidth = m_printer->width() / m_pxPerTwipX;
    m_scaleHeight = m_printer->height() / m_pxPerTwipY;
    FontChanged();
}

QRectF PrinterCanvas::PrintableArea() const
{
    return m_printer->pageLayout().paintRect(QPageLayout::Point);
}

void PrinterCanvas::FontChanged()
{
    m_metrics.emplace(Font(), m_printer.get());
    m_ascent = m_metrics->ascent();
    m_lineHeight = m_metrics->height() / m_pxPerTwipY;
    if (m_painter.isActive())
        m_painter.setFont(Font());
}

double PrinterCanvas::MeasureWidth(const QString& text) const
{
    return m_metrics->horizontalAdvance(text) / m_pxPerTwipX;
}

double PrinterCanvas::LineHeight() const { return m_lineHeight; }

void PrinterCanvas::UsePen(PenUse use)
{
    const std::int32_t colour = ForeColor();
    const int width = use == PenUse::Line ? DrawWidth() : 0;
    if (m_pen == use && m_penColour == colour && m_penWidth == width)
        return;
    QPen pen(ColorFromWin(colour));
    if (use == PenUse::Line) {
        pen.setWidthF(width * m_printer->logicalDpiX() / kPenDotsPerInch);
        pen.setCapStyle(Qt::FlatCap);
    }
    m_painter.setPen(pen);
    m_pen = use;
    m_penColour = colour;
    m_penWidth = width;
}

void PrinterCanvas::DrawText(double x, double y, const QString& text)
{
    UsePen(PenUse::Text);
    m_painter.drawText(QPointF(x * m_pxPerTwipX, y * m_pxPerTwipY + m_ascent), text);
}

void PrinterCanvas::DrawLine(double x1, double y1, double x2, double y2)
{
    UsePen(PenUse::Line);
    m_painter.drawLine(QPointF(x1 * m_pxPerTwipX, y1 * m_pxPerTwipY), QPointF(x2 * m_pxPerTwipX, y2 * m_pxPerTwipY));
}

void PrinterCanvas::RenderGraph(GraphModel& model, const QFont& font, const QRectF& rect)
{
    model.SetSetDrawLeft(rect.left());
    model.SetSetDrawTop(rect.top());
    model.SetSetDrawWidth(rect.width());
    model.SetSetDrawHeight(rect.height());
    GraphRenderTarget target;
    target.screen = false;
    target.printer = true;
    target.dpiX = std::max(1, m_printer->logicalDpiX());
    target.dpiY = std::max(1, m_printer->logicalDpiY());
    target.scaleWidth = m_scaleWidth;
    target.scaleHeight = m_scaleHeight;
    target.controlWidth = rect.width();
    target.controlHeight = rect.height();
    target.backColor = 0xFFFFFF;
    if (model.SampleDataCount() >= 1 && model.SampleCount() >= 1)
        ::RenderGraph(model, m_painter, font, target, [](const QString&) { return QSizeF(); });
    // The renderer restores the painter; the pen it leaves is not ours.
    m_pen = PenUse::None;
    m_painter.setFont(Font());
}

void PrinterCanvas::StartPage()
{
    if (!m_printer->newPage())
        throw PrintError(GetResString(5966));
}

void PrinterCanvas::FinishDocument()
{
    if (!m_painter.end())
        throw PrintError(GetResString(5965));
    if (m_finalPath.isEmpty())
        return;
    // The PDF writer does not report a write that failed (a full disk): the
    // file goes in place only when it is whole on the disk.
    QString failure;
    if (!CheckWrittenFile(m_partPath, "%%EOF", &failure)) {
        QFile::remove(m_partPath);
        throw PrintError(GetResString(5957, m_finalPath, SystemErrorText(failure)));
    }
    // One rename puts the finished file in place of any older one.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_partPath.toStdU16String()),
                            std::filesystem::path(m_finalPath.toStdU16String()), error);
    if (error) {
        QFile::remove(m_partPath);
        throw PrintError(GetResString(5968, m_finalPath));
    }
}

void PrinterCanvas::DropDocument()
{
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
    if (!m_partPath.isEmpty())
        QFile::remove(m_partPath);
}
