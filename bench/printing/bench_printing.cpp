// Printing the sample table of an interval trend at the graph's capacity
// (16,361 samples) to a PDF file, against drawing the same cell texts with
// bare QPainter calls on the same number of pages, in the same run.
#include "common/dates.h"
#include "printing/print_job.h"
#include "printing/printer_canvas.h"
#include "records/interval.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kSamples = 16361;

// The table as the data view shows it: heading, a sample row per minute,
// and an event row (with its colour) every 500 rows.
GridSnapshot MakeTable()
{
    GridSnapshot grid;
    grid.AddRow({QStringLiteral("No"), QStringLiteral("Date/Time"), QStringLiteral("CO"), QStringLiteral("O2")});
    const QDateTime start = MakeDate(2024, 5, 1);
    for (int i = 0; i < kSamples; ++i) {
        const QString date = GeneralDate(start.addSecs(60LL * i));
        if (i % 500 == 499) {
            grid.AddRow({QString(), date, QStringLiteral("ALARM"), QString()}, {true, true, true, true});
            continue;
        }
        const double co = std::round(30 + 25 * std::sin(i / 37.0));
        grid.AddRow({QString::number(i + 1), date, QString::number(co), QStringLiteral("20.9")});
    }
    return grid;
}

struct Fixture {
    QTemporaryDir dir;
    clsInterval record;
    PrintRequest request;
    Fixture()
    {
        record.SetGasBaseInfo(0, QStringLiteral("KV-1 0001"));
        record.SetGasBaseInfo(1, MakeDate(2024, 5, 1));
        for (int g = 0; g < 2; ++g) {
            record.SetGasListInfo(g, 0, g == 0 ? QStringLiteral("CO") : QStringLiteral("O2"));
            record.SetGasListInfo(g, 1, g == 0 ? 500.0f : 25.0f);
            record.SetGasListInfo(g, 3, g);
            record.SetGasListInfo(g, 13, true);
            record.SetGasListInfo(g, 14, g == 0 ? QStringLiteral("ppm") : QStringLiteral("vol%"));
        }
        request.DataType = kPrintIntervalTrend;
        request.IntervalData = &record;
        request.SampleTable = MakeTable();
    }
    QString Path() const { return dir.filePath(QStringLiteral("table.pdf")); }
};

Fixture& Shared()
{
    static Fixture f;
    return f;
}

int g_pages = 0; // pages of the report, for the baseline

void BM_PrintSampleTable(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        auto canvas = PrinterCanvas::ForPdfFile(f.Path());
        QStringList errors;
        PrintReport(*canvas, f.request, errors);
        g_pages = canvas->PageCount();
    }
    state.counters["pages"] = g_pages;
    state.counters["rows"] = kSamples;
}
BENCHMARK(BM_PrintSampleTable)->Unit(benchmark::kMillisecond);

void BM_BarePainterTable(benchmark::State& state)
{
    Fixture& f = Shared();
    const GridSnapshot& grid = f.request.SampleTable;
    const int pages = std::max(1, g_pages);
    const int perPage = (grid.RowCount() + pages - 1) / pages;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f.Path());
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
