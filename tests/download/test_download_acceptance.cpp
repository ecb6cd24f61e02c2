// The program itself, started as its own process on the offscreen platform
// with the automatic download and the automatic data removal switched on in
// its settings file, serves the fake instrument on a pseudo-terminal without
// a click: it downloads everything, clears the logger, switches the
// instrument off and waits for the next one. What the database holds is
// compared with what the instrument held.
#include "common/appstate.h"
#include "common/dates.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "fake_database.h"
#include "fake_instrument.h"
#include "fake_records.h"
#include "records/alarm.h"
#include "records/history.h"
#include "records/interval.h"
#include "temp_home.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Serves the fake instrument (it lives on this thread) while waiting.
bool ServeUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QList<qint64> Heads(int type)
{
    LogDb db;
    QSqlQuery q(db.Db());
    q.prepare(QStringLiteral("Select SeqNo From Log_Head Where Types=? Order By Dates"));
    q.addBindValue(type);
    QList<qint64> heads;
    if (q.exec())
        while (q.next())
            heads.append(q.value(0).toLongLong());
    return heads;
}

// Automatic calibration off, automatic download on, data removal on.
void WriteAutomaticModeSettings(const TempHome& home)
{
    QFile ini(home.file(QStringLiteral("Pelkar.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("Auto Load Mode\tFalse\tTrue\tTrue\r\n");
}

// Starts the program on the offscreen platform with its home in `home` and
// the fake instrument's line as its port, then serves the instrument until
// the serial log shows `finishedLine`. The program must still be running
// then; `log` receives the serial log as it stood.
void RunAutomaticMode(QProcess& program, const TempHome& home, const FakeInstrument& fake,
                      const QString& finishedLine, QString& log)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PELKAR_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PELKAR_SERIAL_PORT"), fake.DevicePath());
    env.remove(QStringLiteral("PELKAR_SCREENSHOT"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(PELKAR_EXE), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    const QString logPath = home.file(QStringLiteral("SerialLog.log"));
    const bool finished = ServeUntil(
        [&] { return program.state() != QProcess::Running || ReadText(logPath).contains(finishedLine); }, 120000);
    log = ReadText(logPath);
    ASSERT_TRUE(finished) << "the automatic run did not end (a message box?)\n" << log.toStdString();
    ASSERT_EQ(program.state(), QProcess::Running) << "the program ended\n" << log.toStdString();
}

TEST(Acceptance, AutomaticModeServesAnInstrumentWithoutAClick)
{
    ResetAppState();
    TempHome home;
    FakeInstrument fake;
    ASSERT_TRUE(fake.OpenPty());

    const QList<FakeIntervalTrend> trends{MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 130),
                                          MakeIntervalTrend(2, MakeDate(2024, 3, 6, 9, 30, 0), 20, 30)};
    QList<QByteArray> intervalLines;
    for (const FakeIntervalTrend& t : trends)
        intervalLines += IntervalLines(t);
    fake.SetRecordLines("DR,R,", intervalLines);
    const QList<FakeAlarmTrend> alarms{MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 0, 0)),
                                       MakeAlarmTrend(2, MakeDate(2024, 3, 6, 11, 15, 30), 10)};
    QList<QByteArray> alarmLines;
    for (const FakeAlarmTrend& a : alarms)
        alarmLines += AlarmLines(a);
    fake.SetRecordLines("DJ,R,", alarmLines);
    const QList<FakeCalibration> gas1{{MakeDate(2024, 1, 10, 9, 0, 0), 10.0f, 50.0f},
                                      {MakeDate(2024, 2, 10, 9, 0, 0), 11.0f, 50.0f}};
    const QList<FakeCalibration> gas2{{MakeDate(2024, 1, 10, 9, 0, 0), 20.5f, 20.9f},
                                      {MakeDate(2024, 2, 10, 9, 0, 0), 20.4f, 20.9f}};
    fake.SetRecordLines("IH,R,1,", HistoryLines(gas1));
    fake.SetRecordLines("IH,R,2,", HistoryLines(gas2));

    ASSERT_NO_FATAL_FAILURE(WriteAutomaticModeSettings(home));

    QProcess program;
    QString log;
    ASSERT_NO_FATAL_FAILURE(
        RunAutomaticMode(program, home, fake, QStringLiteral("---Automatic Mode Camplate Finished---"), log));

    // Downloaded, cleared and switched off, in that order.
    const QList<QByteArray> commands = fake.Commands();
    const auto first = [&](const QByteArray& c) { return commands.indexOf(c); };
    ASSERT_GE(first("DR,R,"), 0);
    ASSERT_GE(first("DJ,R,"), 0);
    ASSERT_GE(first("XC,E,"), 0);
    ASSERT_GE(first("RO,W,"), 0);
    EXPECT_LT(first("RC,R,"), first("DR,R,"));
    EXPECT_LT(first("DR,R,"), first("DJ,R,"));
    EXPECT_LT(first("DJ,R,"), first("XC,E,"));
    EXPECT_LT(first("XC,E,"), first("RO,W,"));
    EXPECT_EQ(commands.count(QByteArray("DO,R,")), 0) << "power events only in service mode";
    EXPECT_TRUE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(fake.CommandState().poweredOff);
    EXPECT_FALSE(log.contains(QStringLiteral("Failed")));

    // Waiting for the next one: it goes on probing the line.
    const int probes = static_cast<int>(fake.Commands().count(QByteArray("RC,R,")));
    EXPECT_TRUE(ServeUntil([&] { return fake.Commands().count(QByteArray("RC,R,")) > probes; }, 20000));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(10000);

    // The database holds what the instrument held.
    const QList<qint64> intervalHeads = Heads(1);
    ASSERT_EQ(intervalHeads.size(), trends.size());
    for (int i = 0; i < trends.size(); ++i) {
        const FakeIntervalTrend& t = trends[i];
        clsInterval rec;
        rec.ClearDatas();
        rec.SetSeqNo(intervalHeads[i]);
        ASSERT_TRUE(rec.ReLoad());
        EXPECT_EQ(rec.GasBaseInfo(1).toDateTime(), t.start);
        EXPECT_EQ(rec.GasBaseInfo(4).toString(), t.serialNo);
        ASSERT_EQ(rec.DataCount(), t.samples.size());
        for (int k = 0; k < t.samples.size(); ++k) {
            ASSERT_EQ(rec.DateTimes(k), t.SampleTime(k)) << k;
            ASSERT_FLOAT_EQ(rec.GasValue(0, k), t.samples[k][0]) << k;
            ASSERT_FLOAT_EQ(rec.GasValue(1, k), t.samples[k][1]) << k;
        }
    }
    const QList<qint64> alarmHeads = Heads(2);
    ASSERT_EQ(alarmHeads.size(), alarms.size());
    for (int a = 0; a < alarms.size(); ++a) {
        clsAlarm rec;
        rec.ClearDatas();
        rec.SetSeqNo(alarmHeads[a]);
        ASSERT_TRUE(rec.ReLoad());
        EXPECT_EQ(rec.GasBaseInfo(1).toDateTime(), alarms[a].alarm);
        for (int i = 0; i < 360; ++i) {
            ASSERT_EQ(rec.DateTimes(i), alarms[a].SampleTime(i)) << i;
            ASSERT_FLOAT_EQ(rec.Value(0, i), alarms[a].samples[i][0]) << i;
            ASSERT_FLOAT_EQ(rec.Value(1, i), alarms[a].samples[i][1]) << i;
        }
    }
    const QList<qint64> historyHeads = Heads(3);
    ASSERT_EQ(historyHeads.size(), 1);
    clsHistory history;
    history.ClearDatas();
    history.SetSeqNo(historyHeads[0]);
    ASSERT_TRUE(history.ReLoad());
    ASSERT_EQ(history.DataCount(), gas1.size());
    for (int e = 0; e < gas1.size(); ++e) {
        const int i = static_cast<int>(gas1.size()) - 1 - e; // newest first
        EXPECT_EQ(history.Dates(e), gas1[i].when);
        EXPECT_FLOAT_EQ(history.Before(0, e), gas1[i].before);
        EXPECT_FLOAT_EQ(history.After(1, e), gas2[i].after);
    }
    ResetAppState();
}

// Another program holds the database locked for the whole run: nothing can
// be stored, so the logger is not cleared, while the instrument is still
// switched off and the program waits for the next one.
TEST(Acceptance, LockedDatabaseKeepsTheLoggerData)
{
    ResetAppState();
    TempHome home;
    FakeInstrument fake;
    ASSERT_TRUE(fake.OpenPty());
    fake.SetRecordLines("DR,R,", IntervalLines(MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 30)));
    fake.SetRecordLines("DJ,R,", AlarmLines(MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 0, 0))));
    fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 1, 10, 9, 0, 0), 10.0f, 50.0f}}));
    ASSERT_NO_FATAL_FAILURE(WriteAutomaticModeSettings(home));
    CreateLogDatabase(LogDatabasePath());
    FakeDatabaseFault lock(FakeDatabaseFault::Fault::LockedByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(lock.Active());

    QProcess program;
    QString log;
    ASSERT_NO_FATAL_FAILURE(
        RunAutomaticMode(program, home, fake, QStringLiteral("---Automatic Mode Failed Finished---"), log));
    EXPECT_TRUE(log.contains(QStringLiteral("--- Data Remove Skipped"))) << log.toStdString();

    const QList<QByteArray> commands = fake.Commands();
    EXPECT_FALSE(commands.contains(QByteArray("XC,E,")));
    EXPECT_FALSE(commands.contains(QByteArray("DR,R,"))) << "no download after the failed information step";
    EXPECT_TRUE(fake.CommandState().poweredOff);
    EXPECT_FALSE(fake.CommandState().loggerCleared);
    program.kill();
    program.waitForFinished(10000);

    lock.Lift();
    EXPECT_TRUE(Heads(1).isEmpty());
    EXPECT_TRUE(Heads(3).isEmpty());
    ResetAppState();
}

} // namespace
