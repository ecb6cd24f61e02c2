// Printing an interval trend that fills the graph (16,361 samples, 2,048
// event rows, record numbers past 9999) to a PDF file: the sample table as
// the data view shows it, against drawing the same cell texts with bare
// QPainter calls on the same number of pages; and the graph printout,
// against bare polylines of the same points on one page; in the same run.
#include "graph/graph_model.h"
#include "printing/print_graph.h"
#include "printing/print_job.h"
#include "printing/printer_canvas.h"
#include "records/collections.h"
#include "views/view_tables.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "../support/record_lines.h"

namespace {

struct Fixture {
    QTemporaryDir dir;
    clsIntervals downloaded;
    clsInterval* record = nullptr;
    PrintRequest table;
    PrintRequest graph;
    bool ok = false;
    Fixture()
    {
        bench::Feed(downloaded, bench::IntervalLines());
        record = downloaded.Item(1);
        ok = record && record->DataCount() == bench::kTrendSamples && record->EventCount() == bench::kTrendEvents;
        if (!ok)
            return;
        // The table as the data view shows it: merged sample and event rows.
        const GridContent t = IntervalTable(*record, false);
        table.SampleTable = SnapshotGrid(
            t.RowCount(), t.cols, [&t](int r, int c) { return t.Text(r, c); },
            [&t](int r, int c) { return t.Cell(r, c).back != 0; });
        table.DataType = kPrintIntervalTrend;
        table.IntervalData = record;
        graph.DataType = kPrintIntervalTrend;
        graph.PrintType = true;
        graph.IntervalData = record;
    }
    QString Path() const { return dir.filePath(QStringLiteral("trend.pdf")); }
};

// The fixture, or none when the trend did not parse (the benchmark is then
// skipped).
Fixture* Ready(benchmark::State& state)
{
    static Fixture f;
    if (!f.ok)
        state.SkipWithError("the trend did not parse");
    return f.ok ? &f : nullptr;
}

// Prints request to the fixture's PDF file in every round; the pages of the
// last.
int PrintRounds(benchmark::State& state, const Fixture& f, const PrintRequest& request)
{
    int pages = 0;
    for (auto _ : state) {
        auto canvas = PrinterCanvas::ForPdfFile(f.Path());
        QStringList errors;
        PrintReport(*canvas, request, errors);
        pages = canvas->PageCount();
    }
    return pages;
}

int g_pages = 0; // pages of the report, for the baseline

void BM_PrintSampleTable(benchmark::State& state)
{
    const Fixture* f = Ready(state);
    if (!f)
        return;
    g_pages = PrintRounds(state, *f, f->table);
    state.counters["pages"] = g_pages;
    state.counters["rows"] = f->table.SampleTable.RowCount() - 1;
}
BENCHMARK(BM_PrintSampleTable)->Unit(benchmark::kMillisecond);

void BM_BarePainterTable(benchmark::State& state)
{
    const Fixture* f = Ready(state);
    if (!f)
        return;
    const GridSnapshot& grid = f->table.SampleTable;
    const int pages = std::max(1, g_pages);
    const int perPage = (grid.RowCount() + pages - 1) / pages;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f->Path());
        QPainter p(&printer);
        QFont font = p.font();
        font.setPointSizeF(9);
        p.setFont(font);
        const double w = printer.width();
        const double step = 1.1 * p.fontMetrics().height();
        const double xs[] = {0.01 * w, 0.06 * w, 0.30 * w, 0.45 * w};
        double y = step;
        int onPage = 0;
        for (int r = 1; r < grid.RowCount(); ++r) {
            if (onPage == perPage) {
                printer.newPage();
                y = step;
                onPage = 0;
            }
            for (int c = 0; c < 4; ++c)
                p.drawText(QPointF(xs[c], y), grid.Text(r, c));
            y += step;
            ++onPage;
        }
        p.end();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_BarePainterTable)->Unit(benchmark::kMillisecond);

void BM_PrintGraph(benchmark::State& state)
{
    if (const Fixture* f = Ready(state))
        PrintRounds(state, *f, f->graph);
}
BENCHMARK(BM_PrintGraph)->Unit(benchmark::kMillisecond);

// The points the printout plots (the same thinning and values), drawn as
// two bare polylines over the same area of one PDF page.
void BM_BarePainterGraph(benchmark::State& state)
{
    const Fixture* f = Ready(state);
    if (!f)
        return;
    GraphModel model;
    BuildPrintGraph(model, f->graph);
    const int n = model.SampleCount();
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f->Path());
        QPainter p(&printer);
        const QRectF area(0.02 * printer.width(), 0.40 * printer.height(), 0.95 * printer.width(),
                          0.45 * printer.height());
        const double t0 = static_cast<double>(model.valueX(0).toSecsSinceEpoch());
        const double span = std::max(1.0, static_cast<double>(model.valueX(n - 1).toSecsSinceEpoch()) - t0);
        for (int s = 0; s < 2; ++s) {
            QPolygonF line;
            line.reserve(n);
            const double top = s == 0 ? 100.0 : 25.0;
            for (int i = 0; i < n; ++i)
                line << QPointF(area.left() + area.width() * (model.valueX(i).toSecsSinceEpoch() - t0) / span,
                                area.bottom() - area.height() * model.valueY(s, i) / top);
            p.drawPolyline(line);
        }
        p.drawRect(area);
        p.end();
    }
    state.counters["points"] = n;
}
BENCHMARK(BM_BarePainterGraph)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
