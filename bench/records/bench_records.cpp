// Storing and reloading trends against a plain prepared bulk insert of the
// same rows in one transaction. Run from a Release build:
//   bench_records --benchmark_min_time=1
#include "records/collections.h"

#include "common/appstate.h"
#include "common/dates.h"
#include "common/logdb.h"
#include "common/paths.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "../support/record_lines.h"

namespace {

using bench::IntervalLines;
using bench::Feed;
using bench::Num;

QStringList AlarmLines()
{
    QStringList l{"01BAUSER1     STATION1  ", "01BBSERIAL000001 0001",
                  "01BCH2S100.0  0.1OXY 25.0  0.1", "01BD2405171200000005" + QString("0000"),
                  "01Z0" + QString("00001") + "00000" + "00180" + "00000" + "00000"};
    for (int i = 1; i <= 360; ++i)
        l << "01B0" + QString::number(i * 0.5, 'f', 1).rightJustified(5) + " 20.9" + "00" + Num(i, 4);
    return l;
}

// A fresh program folder with an empty database for the whole run.
struct Home {
    QTemporaryDir dir;
    Home()
    {
        qputenv("PELKAR_HOME", dir.path().toLocal8Bit());
        CreateLogDatabase(LogDatabasePath());
    }
    void Empty()
    {
        LogDb db;
        QSqlQuery q(db.Db());
        for (const char* t : {"Log_Head", "Interval_Data", "Interval_Event", "Alarm_Data"})
            q.exec(QStringLiteral("Delete From %1;").arg(QLatin1String(t)));
    }
};

Home& TheHome()
{
    static Home home;
    return home;
}

clsInstrument& Inst()
{
    static clsInstrument inst;
    inst.SetModel("GX01");
    return inst;
}

void BM_ParseIntervalDownload(benchmark::State& state)
{
    const QStringList lines = IntervalLines();
    for (auto _ : state) {
        clsIntervals c;
        Feed(c, lines);
        benchmark::DoNotOptimize(c.Item(1)->DataCount());
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_ParseIntervalDownload)->Unit(benchmark::kMillisecond);

void BM_IntervalUpdate(benchmark::State& state)
{
    TheHome();
    clsIntervals c;
    c.SetInstruments(&Inst());
    Feed(c, IntervalLines());
    clsInterval* r = c.Item(1);
    const qint64 rows = 1 + r->DataCount() + r->EventCount();
    if (r->Error() || r->AwaitingHeader() || r->DataCount() != bench::kTrendSamples || r->EventCount() != bench::kTrendEvents) {
        state.SkipWithError("the trend did not parse");
        return;
    }
    const QDateTime start = r->GasBaseInfo(1).toDateTime();
    static qint64 n = 0;
    for (auto _ : state) {
        // Each pass stores a new trend (another start moment), so none is
        // a duplicate of the one before.
        state.PauseTiming();
        r->SetGasBaseInfo(1, start.addSecs(++n));
        state.ResumeTiming();
        if (!r->Update() || r->Duplicate()) {
            state.SkipWithError("not stored");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_IntervalUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows as BM_IntervalUpdate, values prepared beforehand, one
// prepared statement per table, one transaction.
void BM_IntervalPlainInsert(benchmark::State& state)
{
    TheHome();
    clsIntervals c;
    Feed(c, IntervalLines());
    clsInterval* r = c.Item(1);
    struct V { QString date; double v0, v1; int c0, c1; };
    struct E { QString date, base; int e0, e1; };
    std::vector<V> values;
    std::vector<E> events;
    for (int i = 0; i < r->DataCount(); ++i)
        values.push_back({DateToIso(r->DateTimes(i)), r->GasValue(0, i), r->GasValue(1, i),
                          r->GasNowCalib(0, i) ? 1 : 0, r->GasNowCalib(1, i) ? 1 : 0});
    for (int j = 0; j < r->EventCount(); ++j)
        events.push_back({DateToIso(r->EventDateTimes(j)), DateToIso(r->GasBaseInfo(1).toDateTime()),
                          int(r->GasEvent(0, j)), int(r->GasEvent(1, j))});
    for (auto _ : state) {
        LogDb db;
        db.Db().transaction();
        const qint64 head = NextKey(db, "Log_Head");
        QSqlQuery h(db.Db());
        h.prepare("Insert Into Log_Head(SeqNo,Names,Dates,Types) Values (?,?,?,1);");
        h.addBindValue(head);
        h.addBindValue("iv");
        h.addBindValue(values.front().date);
        h.exec();
        QSqlQuery d(db.Db());
        d.prepare("Insert Into Interval_Data(SeqNo,RelNo,Datetimes,Gas1Value,Gas1NowCl,Gas2Value,"
                  "Gas2NowCl) Values (?,?,?,?,?,?,?);");
        qint64 key = NextKey(db, "Interval_Data");
        for (const V& v : values) {
            d.bindValue(0, key++);
            d.bindValue(1, head);
            d.bindValue(2, v.date);
            d.bindValue(3, v.v0);
            d.bindValue(4, v.c0);
            d.bindValue(5, v.v1);
            d.bindValue(6, v.c1);
            d.exec();
        }
        QSqlQuery e(db.Db());
        e.prepare("Insert Into Interval_Event(SeqNo,RelNo,Datetimes,BaseDate,Gas1Event,Gas2Event) "
                  "Values (?,?,?,?,?,?);");
        key = NextKey(db, "Interval_Event");
        for (const E& v : events) {
            e.bindValue(0, key++);
            e.bindValue(1, head);
            e.bindValue(2, v.date);
            e.bindValue(3, v.base);
            e.bindValue(4, v.e0);
            e.bindValue(5, v.e1);
            e.exec();
        }
        db.Db().commit();
    }
    state.SetItemsProcessed(state.iterations() * (1 + values.size() + events.size()));
}
BENCHMARK(BM_IntervalPlainInsert)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IntervalReLoad(benchmark::State& state)
{
    TheHome().Empty();
    clsIntervals c;
    c.SetInstruments(&Inst());
    Feed(c, IntervalLines());
    c.Item(1)->Update();
    clsInterval r;
    for (auto _ : state) {
        r.ClearDatas();
        r.SetSeqNo(1);
        r.ReLoad();
        benchmark::DoNotOptimize(r.DataCount());
    }
    state.SetItemsProcessed(state.iterations() * (1 + r.DataCount() + r.EventCount()));
}
BENCHMARK(BM_IntervalReLoad)->Unit(benchmark::kMillisecond);

void BM_AlarmUpdate(benchmark::State& state)
{
    TheHome();
    clsAlarms c;
    c.SetInstruments(&Inst());
    Feed(c, AlarmLines());
    clsAlarm* r = c.Item(1);
    const QDateTime start = r->GasBaseInfo(1).toDateTime();
    static qint64 n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        r->SetGasBaseInfo(1, start.addSecs(++n));
        state.ResumeTiming();
        if (!r->Update() || r->Duplicate()) {
            state.SkipWithError("not stored");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 361);
}
BENCHMARK(BM_AlarmUpdate)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_AlarmPlainInsert(benchmark::State& state)
{
    TheHome();
    clsAlarms c;
    Feed(c, AlarmLines());
    clsAlarm* r = c.Item(1);
    struct V { QString date; double v0, v1; };
    std::vector<V> values;
    for (int i = 0; i < 360; ++i)
        values.push_back({DateToIso(r->DateTimes(i)), r->Value(0, i), r->Value(1, i)});
    for (auto _ : state) {
        LogDb db;
        db.Db().transaction();
        const qint64 head = NextKey(db, "Log_Head");
        QSqlQuery h(db.Db());
        h.prepare("Insert Into Log_Head(SeqNo,Names,Dates,Types) Values (?,?,?,2);");
        h.addBindValue(head);
        h.addBindValue("al");
        h.addBindValue(values[180].date);
        h.exec();
        QSqlQuery d(db.Db());
        d.prepare("Insert Into Alarm_Data(SeqNo,RelNo,Datetimes,Gas1Value,Gas2Value) "
                  "Values (?,?,?,?,?);");
        qint64 key = NextKey(db, "Alarm_Data");
        for (const V& v : values) {
            d.bindValue(0, key++);
            d.bindValue(1, head);
            d.bindValue(2, v.date);
            d.bindValue(3, v.v0);
            d.bindValue(4, v.v1);
            d.exec();
        }
        db.Db().commit();
    }
    state.SetItemsProcessed(state.iterations() * 361);
}
BENCHMARK(BM_AlarmPlainInsert)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_AlarmReLoad(benchmark::State& state)
{
    TheHome().Empty();
    clsAlarms c;
    c.SetInstruments(&Inst());
    Feed(c, AlarmLines());
    c.Item(1)->Update();
    clsAlarm r;
    for (auto _ : state) {
        r.ClearDatas();
        r.SetSeqNo(1);
        r.ReLoad();
        benchmark::DoNotOptimize(r.DataCount());
    }
    state.SetItemsProcessed(state.iterations() * 361);
}
BENCHMARK(BM_AlarmReLoad)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
