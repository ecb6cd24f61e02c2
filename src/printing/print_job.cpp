#include "printing/print_job.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "graph/graph_model.h"
#include "printing/print_graph.h"
#include "printing/printer_canvas.h"
#include "printing/printer_choice.h"
#include "printing/report_canvas.h"
#include "printing/reports.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cmath>
#include <exception>

namespace {

constexpr int kIdNoData = 5329;
constexpr int kIdPrintTitle = 5330;
constexpr int kIdPrinterError = 5332;
constexpr int kIdPdfFile = 5843;
constexpr int kIdNotPrinted = 5844;
constexpr int kIdPrintedWithErrors = 5847;
constexpr int kIdPdfFilter = 5848;

CanvasFactory& Factory()
{
    static CanvasFactory factory;
    return factory;
}

std::unique_ptr<ReportCanvas> OpenCanvas(const QString& printer, const QString& pdfPath)
{
    if (Factory())
        return Factory()(printer, pdfPath);
    if (!pdfPath.isEmpty())
        return PrinterCanvas::ForPdfFile(pdfPath);
    return PrinterCanvas::ForPrinter(printer);
}

// The font of the reports: the program's display font.
QFont ReportFont()
{
    return App().DisplayFont ? FontFromSetting(*App().DisplayFont) : QGuiApplication::font();
}

bool IsTrend(int dataType) { return dataType == kPrintIntervalTrend || dataType == kPrintAlarmTrend; }

bool HasTrendRecord(const PrintRequest& r)
{
    return r.DataType == kPrintIntervalTrend ? r.IntervalData != nullptr : r.AlarmData != nullptr;
}

// Gives the program's printer back when the job ends, however it ends.
class PrinterRestore {
public:
    explicit PrinterRestore(const QStringList& list) : m_list(list)
    {
        // Of several printers of that name, the last one is remembered.
        const QString current = CurrentPrinterName();
        for (int i = 0; i < m_list.size(); ++i) {
            if (m_list[i] == current)
                m_saved = i;
        }
    }
    ~PrinterRestore()
    {
        if (m_saved >= 0 && m_saved < m_list.size())
            SetCurrentPrinterName(m_list[m_saved]);
    }
    PrinterRestore(const PrinterRestore&) = delete;
    PrinterRestore& operator=(const PrinterRestore&) = delete;

private:
    QStringList m_list;
    int m_saved = -1;
};

QString AskPdfPath()
{
    FileRequest r;
    r.title = GetResString(kIdPdfFile);
    r.filter = GetResString(kIdPdfFilter);
    r.defaultExt = QStringLiteral("pdf");
    QString path = Prompt().GetSaveFileName(r);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return path;
}

void ShowError(int id, const QString& detail)
{
    MsgBox(GetResString(id, detail), MsgButtons::Ok, MsgIcon::Critical, GetResString(kIdPrinterError));
}

} // namespace

void GridSnapshot::AddRow(const QStringList& texts, const std::vector<bool>& ownColour)
{
    m_rows.push_back({texts, ownColour});
}

QString GridSnapshot::Text(int row, int col) const
{
    if (row < 0 || row >= RowCount() || col < 0)
        return QString();
    const QStringList& texts = m_rows[static_cast<size_t>(row)].texts;
    return col < texts.size() ? texts[col] : QString();
}

bool GridSnapshot::OwnColour(int row, int col) const
{
    if (row < 0 || row >= RowCount() || col < 0)
        return false;
    const std::vector<bool>& own = m_rows[static_cast<size_t>(row)].ownColour;
    return static_cast<size_t>(col) < own.size() && own[static_cast<size_t>(col)];
}

GridSnapshot SnapshotGrid(int rows, int cols, const std::function<QString(int, int)>& text,
                          const std::function<bool(int, int)>& ownColour)
{
    GridSnapshot snapshot;
    for (int r = 0; r < rows; ++r) {
        QStringList texts;
        std::vector<bool> own;
        for (int c = 0; c < cols; ++c) {
            texts << text(r, c);
            own.push_back(ownColour && ownColour(r, c));
        }
        snapshot.AddRow(texts, own);
    }
    return snapshot;
}

void SetCanvasFactory(CanvasFactory factory) { Factory() = std::move(factory); }

void PrintSession::PageHeader()
{
    PrintPageHeader(out, request.DataType, fontName);
    out.SetFontSize(rowPoints);
}

void PrintSession::Row(const QStringList& cells, int first) { PrintRow(out, columns, cells, first); }

void PrintSession::Rule(int width) { DrawRule(out, width); }

ColumnFit PrintSession::NewFit()
{
    rowPoints = kRowPoints;
    out.SetFontSize(rowPoints);
    return ColumnFit(out);
}

void PrintSession::Fit(ColumnFit& fit, int lastEdge)
{
    // Font sizes in steps of a tenth of a point, rounded down.
    rowPoints = std::floor(10 * kRowPoints * fit.Apply(columns, lastEdge, out.ScaleWidth())) / 10;
    out.SetFontSize(rowPoints);
}

void PrintSession::HeadingRow(const ColumnFit& fit, const QStringList& cells)
{
    columns.CentreWidth = fit.HeadingSpans(columns, cells);
    Row(cells);
    columns.CentreWidth = {};
}

IdentityBlock::IdentityBlock(const QString& serialNo, const QString& stationId, const QString& userId,
                             const QString& lastDownload)
    : heading{GetResString(report_text::kIdProperty), QString(), GetResString(report_text::kIdValue)},
      rows{{GetResString(report_text::kIdSerialNo), QString(), serialNo},
           {GetResString(report_text::kIdStationId), QString(), stationId},
           {GetResString(report_text::kIdUserId), QString(), userId},
           {GetResString(report_text::kIdLastDownload), QString(), lastDownload}}
{
}

void IdentityBlock::AddTo(ColumnFit& fit, ReportColumns& columns) const
{
    columns.Align(0, 2, kAlignCentre);
    fit.AddOther(columns, heading);
    columns.Align(0, 2, kAlignLeft);
    for (const QStringList& row : rows)
        fit.AddOther(columns, row);
}

void IdentityBlock::Print(PrintSession& s) const
{
    s.columns.Align(0, 2, kAlignCentre);
    s.Row(heading);
    s.columns.Align(0, 2, kAlignLeft);
    s.Rule(1);
    s.BlankRow();
    for (const QStringList& row : rows)
        s.Row(row);
    s.BlankRow();
    s.BlankRow();
}

bool PrintSession::PageBreak(int index, int last)
{
    if (index >= last || out.CurrentY() <= 0.95 * out.ScaleHeight())
        return false;
    out.NewPage();
    PageHeader();
    // A tenth of the page's width, not its height, below the top edge.
    out.SetCurrentY(0.1 * out.ScaleWidth());
    return true;
}

void PrintSession::NoteError(const QString& text)
{
    if (!errors.contains(text))
        errors << text;
}

void PrintReport(ReportCanvas& canvas, const PrintRequest& request, QStringList& errors)
{
    const QFont font = ReportFont();
    PrintSession s{canvas, request, font.family(), errors, {}};
    s.PageHeader();
    const int kind = request.DataType;
    if (IsTrend(kind) && !HasTrendRecord(request)) {
        s.NoteError(GetResString(kIdNoData));
    } else if (request.PrintType) {
        if (IsTrend(kind)) {
            PrintTrendProperties(s);
            GraphModel graph;
            BuildPrintGraph(graph, request);
            QFont bold = font;
            bold.setBold(true);
            const double sw = canvas.ScaleWidth();
            const double sh = canvas.ScaleHeight();
            // The graph's band: 40 % to 85 % of the height, 2 % to 97 % of the width.
            canvas.DrawGraph(graph, bold, QRectF(0.02 * sw, 0.40 * sh, 0.95 * sw, 0.45 * sh));
        }
    } else if (IsTrend(kind)) {
        PrintTrendProperties(s);
        PrintTrendTable(s);
    } else if (kind == kPrintCalHistory) {
        PrintCalHistory(s);
    } else if (kind == kPrintLastCalibration) {
        PrintLastCalList(s);
    } else {
        PrintEventReport(s);
    }
    canvas.EndDoc();
}

PrintOutcome GoPrinter(const PrintRequest& request)
{
    if (IsTrend(request.DataType) && !HasTrendRecord(request)) {
        MsgBox(GetResString(kIdNoData), MsgButtons::Ok, MsgIcon::Critical, GetResString(kIdPrintTitle));
        return PrintOutcome::Failed;
    }
    const QStringList printers = PrinterList();
    PrinterRestore restore(printers);
    const int selNo = ChoosePrinter(printers, CurrentPrinterName());
    if (selNo < 0 || selNo >= printers.size())
        return PrintOutcome::Cancelled;
    SetCurrentPrinterName(printers[selNo]);
    QString pdfPath;
    if (IsPdfEntry(printers, selNo)) {
        pdfPath = AskPdfPath();
        if (pdfPath.isEmpty())
            return PrintOutcome::Cancelled;
    }

    QStringList errors;
    std::unique_ptr<ReportCanvas> canvas;
    bool failed = false;
    QString failure;
    try {
        canvas = OpenCanvas(printers[selNo], pdfPath);
        PrintReport(*canvas, request, errors);
    } catch (const std::exception& e) {
        failed = true;
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failed = true;
    }
    // A document that did not end is dropped, never left open.
    if (canvas && !canvas->Ended())
        canvas->AbortDoc();
    if (failed) {
        ShowError(kIdNotPrinted, failure);
        return PrintOutcome::Failed;
    }
    if (!errors.isEmpty()) {
        ShowError(kIdPrintedWithErrors, errors.join(QStringLiteral("\n")));
        return PrintOutcome::PrintedWithErrors;
    }
    return PrintOutcome::Printed;
}
