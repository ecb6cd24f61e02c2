// A full interval trend (10,000 samples) downloaded over a pseudo-terminal
// from the fake instrument paced at 92,160 bytes/s (921600 baud, 8N1), and
// stored. Reports the time against the pure wire time of the bytes sent
// both ways; the host's share (parsing, acknowledging, storing) is the rest.
#include "common/appstate.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "fake_instrument.h"
#include "fake_records.h"
#include "interface/uclQvif.h"
#include "records/collections.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBytesPerSecond = 92160;

void IntervalDownload(benchmark::State& state)
{
    QTemporaryDir home;
    qputenv("PELKAR_HOME", home.path().toLocal8Bit());
    ResetAppState();

    const FakeIntervalTrend trend = MakeIntervalTrend(1, QDateTime(QDate(2024, 3, 5), QTime(8, 0), Qt::UTC),
                                                      static_cast<int>(state.range(0)));
    FakeInstrument fake;
    if (!fake.OpenPty()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    fake.SetRecordLines("DR,R,", IntervalLines(trend));
    fake.SetByteRate(kBytesPerSecond);

    uclQvif ctl;
    ctl.SetSerialFileNo(1); // the serial log is written in every run
    ctl.SetSerialComm(true);
    ctl.SetDevicePath(fake.DevicePath());
    ctl.SetSettings(QStringLiteral("921600,n,8,1"));
    ctl.SetPortOpen(true);
    QDeadlineTimer deadline(10000);
    while (!ctl.Connected() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!ctl.Connected()) {
        state.SkipWithError("no connection");
        return;
    }

    clsInstrument inst;
    inst.SetModel(QStringLiteral("KV-5"));
    double wire = 0, total = 0, store = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(LogDatabasePath());
        CreateLogDatabase(LogDatabasePath());
        clsIntervals intervals;
        intervals.SetInstruments(&inst);
        const qint64 sent0 = fake.BytesSent(), received0 = fake.BytesReceived();
        state.ResumeTiming();

        QElapsedTimer clock;
        clock.start();
        const bool ok = ctl.GetInterval(&intervals);
        QElapsedTimer storeClock;
        storeClock.start();
        for (clsInterval* rec : intervals)
            rec->Update();
        store += storeClock.nsecsElapsed() / 1e9;
        total += clock.nsecsElapsed() / 1e9;

        state.PauseTiming();
        if (!ok || intervals.Count() != 1 || intervals.Item(1)->DataCount() != trend.samples.size()) {
            state.SkipWithError("download incomplete");
            return;
        }
        wire += double(fake.BytesSent() - sent0 + fake.BytesReceived() - received0) / kBytesPerSecond;
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["wire_s"] = wire / n;
    state.counters["total_s"] = total / n;
    state.counters["store_s"] = store / n;
    state.counters["host_s"] = (total - wire) / n;
    state.counters["host_share_pct"] = 100.0 * (total - wire) / wire;
    state.counters["bytes"] = wire * kBytesPerSecond / n;
}

BENCHMARK(IntervalDownload)->Arg(10000)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
