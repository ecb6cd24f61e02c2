// Opening a stored record in the data view. Run from a Release build:
//   bench_views --benchmark_min_time=1
// The record is an interval trend that fills the graph: 16,361 samples and
// 2,048 event rows, record numbers past 9999.
// - opening the interval table (reload, merged rows, and the rows written
//   into the grid), and the same with the graph filled too, beside a bare
//   fill of the same cell texts into the same grid;
// - reloading one record from a database of 2,000,000 sample rows beside
//   the same record in a database that holds only it.
#include "views/view_graph.h"
#include "views/view_tables.h"
#include "views/view_widgets.h"

#include "graph/ucltalgraph.h"

#include "common/widgets/grid_writer.h"

#include "records/collections.h"

#include "common/appstate.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/logdb.h"
#include "common/paths.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "../support/record_lines.h"

namespace {

using bench::IntervalLines;

clsInstrument& Inst()
{
    static clsInstrument inst;
    inst.SetModel("GX01");
    return inst;
}

// Two databases with the same stored trend: one holds only it, the other
// also 1,990,000 sample rows of other records.
struct Databases {
    QTemporaryDir dir;
    QString small;
    QString big;
    qint64 seqNo = 0;
    bool ok = false;

    Databases()
    {
        qputenv("PELKAR_HOME", dir.path().toLocal8Bit());
        small = JoinPath(dir.path(), "small.db");
        big = JoinPath(dir.path(), "big.db");
        ok = Store(small) && Store(big) && Fill(big, 1990000);
    }

    bool Store(const QString& path)
    {
        CreateLogDatabase(path);
        clsIntervals c;
        c.SetInstruments(&Inst());
        bench::Feed(c, IntervalLines());
        clsInterval* r = c.Item(1);
        r->SetDbPath(path);
        if (!r->Update() || r->Error())
            return false;
        LogDb db(path);
        QSqlQuery q(db.Db());
        if (!q.exec("Select Max(SeqNo) From Log_Head") || !q.next())
            return false;
        seqNo = q.value(0).toLongLong();
        return true;
    }

    static bool Fill(const QString& path, int rows)
    {
        LogDb db(path);
        db.Db().transaction();
        QSqlQuery d(db.Db());
        d.prepare("Insert Into Interval_Data(RelNo,Datetimes,Gas1Value,Gas1NowCl,Gas2Value,Gas2NowCl) "
                  "Values (?,?,?,0,?,0);");
        const QDateTime t0 = MakeDate(2023, 1, 1);
        for (int i = 0; i < rows; ++i) {
            d.bindValue(0, 1000 + i / 10000);
            d.bindValue(1, DateToIso(t0.addSecs(i)));
            d.bindValue(2, double(i % 500) / 10);
            d.bindValue(3, 20.9);
            if (!d.exec())
                return false;
        }
        return db.Db().commit();
    }
};

Databases& Dbs()
{
    static Databases d;
    return d;
}

// The databases, or none when they could not be made (the benchmark is
// then skipped).
Databases* Ready(benchmark::State& state)
{
    Databases& d = Dbs();
    if (!d.ok)
        state.SkipWithError("the databases were not made");
    return d.ok ? &d : nullptr;
}

// The stored trend loaded back into r, as the data view opens it.
void LoadTrend(clsInterval& r, const QString& path, qint64 seqNo)
{
    r.ClearDatas();
    r.SetDbPath(path);
    r.SetSeqNo(seqNo);
    r.SetBaseDate(DateZero());
    r.ReLoad();
}

void ReLoadFrom(benchmark::State& state, bool big)
{
    Databases* d = Ready(state);
    if (!d)
        return;
    for (auto _ : state) {
        clsInterval r;
        LoadTrend(r, big ? d->big : d->small, d->seqNo);
        if (r.DataCount() != bench::kTrendSamples || r.EventCount() != bench::kTrendEvents) {
            state.SkipWithError("the trend did not reload whole");
            break;
        }
    }
}

void BM_ReLoadFromOwnDatabase(benchmark::State& state) { ReLoadFrom(state, false); }
BENCHMARK(BM_ReLoadFromOwnDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReLoadFromTwoMillionRows(benchmark::State& state) { ReLoadFrom(state, true); }
BENCHMARK(BM_ReLoadFromTwoMillionRows)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reload plus the merged table rows, written into the view's grid.
void BM_OpenIntervalTable(benchmark::State& state)
{
    Databases* d = Ready(state);
    if (!d)
        return;
    DataGrid grid;
    for (auto _ : state) {
        clsInterval r;
        LoadTrend(r, d->small, d->seqNo);
        const GridContent t = IntervalTable(r, false);
        WriteGrid(grid, t);
        if (grid.Rows() < bench::kTrendSamples) {
            state.SkipWithError("the table is short");
            break;
        }
    }
}
BENCHMARK(BM_OpenIntervalTable)->Unit(benchmark::kMillisecond)->UseRealTime();

// As the data view opens a trend with a graph: reload, table into the grid,
// then the graph's fill into the graph control and its option controls.
void BM_OpenIntervalTableAndGraph(benchmark::State& state)
{
    Databases* d = Ready(state);
    if (!d)
        return;
    DataGrid grid;
    uclTalGraph graph;
    graph.resize(1000, 500);
    std::array<QCheckBox, 7> boxes;
    QComboBox zoom;
    GraphControls controls;
    controls.graph = &graph;
    for (size_t i = 0; i < boxes.size(); ++i)
        controls.chk[i] = &boxes[i];
    controls.zoom = &zoom;
    ViewRecords records;
    for (auto _ : state) {
        clsInterval& r = records.interval;
        LoadTrend(r, d->small, d->seqNo);
        WriteGrid(grid, IntervalTable(r, false));
        ApplyGraphFill(controls, FillGraph(kViewInterval, records, {255, 65280}, false));
        if (graph.SampleCount() != GraphModel::kSampleSlots) {
            state.SkipWithError("the graph is short");
            break;
        }
    }
}
BENCHMARK(BM_OpenIntervalTableAndGraph)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bare baseline: the same cell texts, made beforehand, set cell by cell
// into the same kind of grid.
void BM_BareGridFill(benchmark::State& state)
{
    Databases* d = Ready(state);
    if (!d)
        return;
    clsInterval r;
    LoadTrend(r, d->small, d->seqNo);
    const GridContent t = IntervalTable(r, false);
    std::vector<QStringList> texts;
    for (int row = 0; row < t.RowCount(); ++row)
        texts.push_back({t.Text(row, 0), t.Text(row, 1), t.Text(row, 2), t.Text(row, 3)});
    DataGrid grid;
    for (auto _ : state) {
        grid.Clear();
        grid.SetRows(0);
        grid.SetCols(4);
        grid.SetRows(static_cast<int>(texts.size()));
        for (int row = 0; row < static_cast<int>(texts.size()); ++row)
            for (int c = 0; c < 4; ++c)
                grid.SetText(row, c, texts[static_cast<size_t>(row)][c]);
        benchmark::DoNotOptimize(grid.Rows());
    }
}
BENCHMARK(BM_BareGridFill)->Unit(benchmark::kMillisecond)->UseRealTime();

// The long table in a grid of 900 x 600, its column widths set by fit
// again after a change of its texts in every round.
template <class Fit>
void Refit(benchmark::State& state, Fit fit)
{
    Databases* d = Ready(state);
    if (!d)
        return;
    clsInterval r;
    LoadTrend(r, d->small, d->seqNo);
    DataGrid grid;
    WriteGrid(grid, IntervalTable(r, false));
    grid.resize(900, 600);
    int round = 0;
    for (auto _ : state) {
        grid.SetText(1, 0, QString::number(++round)); // the texts are measured again
        fit(grid);
        benchmark::DoNotOptimize(grid.columnWidth(1));
    }
}

// Column widths that keep every text of the long table whole, beside the
// bare baseline below.
void BM_FitTableColumns(benchmark::State& state)
{
    Refit(state, [](DataGrid& grid) { grid.FitColumns(); });
}
BENCHMARK(BM_FitTableColumns)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bare baseline: the same grid sized to its contents by the view itself.
void BM_BareResizeToContents(benchmark::State& state)
{
    Refit(state, [](DataGrid& grid) { grid.resizeColumnsToContents(); });
}
BENCHMARK(BM_BareResizeToContents)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
