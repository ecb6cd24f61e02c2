// The log download steps on the scripted interface control: status lines,
// serial-log lines, results, storing and the archiving of the serial log.
#include "common/clock.h"
#include "common/dates.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "download_fixture.h"
#include "record_lines.h"
#include "records/collections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

using namespace record_lines;

qint64 Rows(const QString& table, const QString& where = QString())
{
    LogDb db;
    QSqlQuery q(db.Db());
    if (!q.exec(QStringLiteral("Select Count(*) From %1 %2").arg(table, where)) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

class Steps : public DownloadWindowTest {
protected:
    void TearDown() override
    {
        SetClock({});
        DownloadWindowTest::TearDown();
    }
    frmMain& Connected()
    {
        frmMain& w = Loaded();
        fake.connected = true;
        w.State().TreeRefreshNeeded = false;
        return w;
    }
    // A GetInterval step that leaves n interval trends in the collection.
    FakeQvif::Step Intervals(int n)
    {
        FakeQvif::Step s;
        s.action = [this, n] {
            fake.lastIntervals->Clear();
            for (int i = 1; i <= n; ++i)
                ASSERT_TRUE(Feed(*fake.lastIntervals,
                                 IntervalTrend(Num(i, 2), QStringLiteral("2405%1").arg(Num(i, 2)),
                                               QStringLiteral("120000"))));
        };
        return s;
    }
};

TEST_F(Steps, NotConnectedWritesTwoLinesAndNothingElse)
{
    App().DebugMode = true;
    struct Row {
        std::function<bool(frmMain&)> step;
        const char* pane;
        const char* serial;
    } rows[] = {
        {[](frmMain& w) { return w.Download().DownloadIntervalTrend(); }, "Pelkar  No Response. Check Port,Cable And Power.",
         "---Interval Trend Download Failed. Pelkar  No response---. Date = "},
        {[](frmMain& w) { return w.Download().DownloadAlarmTrend(); }, "Pelkar  No Response. Check Port,Cable And Power.",
         "---Alarm Trend Download Failed. Pelkar  No response---. Date = "},
        {[](frmMain& w) { return w.Download().DownloadPowerEvents(); }, "Pelkar  No Response. Check Port,Cable And Power.",
         "---Power Events Download Failed. Pelkar  No response---. Date = "},
    };
    for (const Row& r : rows) {
        frmMain& w = Loaded();
        w.State().TreeRefreshNeeded = false;
        App().FramesSent = 9;
        EXPECT_FALSE(r.step(w));
        EXPECT_EQ(PaneTexts(w), QStringList{QString::fromLatin1(r.pane)});
        EXPECT_EQ(PaneColor(w, QString::fromLatin1(r.pane)), RGB(255, 0, 0));
        ASSERT_EQ(fake.serialLog.size(), 1);
        EXPECT_TRUE(fake.serialLog[0].startsWith(QString::fromLatin1(r.serial))) << fake.serialLog[0].toStdString();
        EXPECT_FALSE(w.State().TreeRefreshNeeded);
        EXPECT_EQ(App().FramesSent, 9);
        EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("Get")).isEmpty());
    }
}

TEST_F(Steps, FailedRequestIsShownFailedWhateverTheAnswer)
{
    struct Row {
        bool debug;
        bool answered;
    } rows[] = {{false, true}, {true, true}, {false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "debug " << r.debug << " answered " << r.answered);
        App().DebugMode = r.debug;
        frmMain& w = Connected();
        FakeQvif::Step s;
        s.result = false;
        s.answerReceived = r.answered;
        s.framesSent = 37;
        s.naksSent = 2;
        s.checksumErrors = 1;
        s.messages = {QStringLiteral("Block 1")};
        s.action = [this] { fake.lastIntervals->SetFailLine(QStringLiteral("\r\n01A0bad")); };
        fake.Script(QStringLiteral("GetInterval"), s);
        EXPECT_FALSE(w.Download().DownloadIntervalTrend());
        EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Pelkar  Interval Trend Download."), QStringLiteral("Block 1"),
                                             QStringLiteral("Pelkar  Interval Trend Download Failed.")}));
        EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  Interval Trend Download Failed.")), RGB(255, 0, 0));
        ASSERT_GE(fake.serialLog.size(), 4);
        EXPECT_TRUE(fake.serialLog[0].startsWith(QStringLiteral("---Interval Trend Download Start Sequence---. Date = ")));
        EXPECT_EQ(fake.serialLog[1], QStringLiteral("---Interval Trend Download Fail Line---"));
        EXPECT_EQ(fake.serialLog[2], QStringLiteral("\r\n01A0bad\r\n"));
        EXPECT_TRUE(fake.serialLog[3].startsWith(QStringLiteral("---Interval Trend Download Failed---. Date = ")));
        EXPECT_TRUE(fake.serialLog[3].endsWith(QStringLiteral("[Time = 00:00:00]\r\n")));
        if (r.debug) {
            ASSERT_EQ(fake.serialLog.size(), 5);
            EXPECT_EQ(fake.serialLog[4], QStringLiteral("Fail ratio = (2+1)/37"));
        } else {
            EXPECT_EQ(fake.serialLog.size(), 4);
        }
        EXPECT_TRUE(w.State().TreeRefreshNeeded);
        EXPECT_EQ(Rows(QStringLiteral("Log_Head")), 0);
    }
}

// A download whose blocks the line left impossible to tell apart says so,
// in plain words, after its failure line.
TEST_F(Steps, DisturbedLineIsSaidAfterTheFailureLine)
{
    frmMain& w = Connected();
    FakeQvif::Step s;
    s.result = false;
    s.action = [this] { fake.lineDisturbed = true; };
    fake.Script(QStringLiteral("GetAlarm"), s);
    EXPECT_FALSE(w.Download().DownloadAlarmTrend());
    const QString why = QStringLiteral("The line to the instrument was disturbed, so its blocks could not be told "
                                       "apart. Nothing of this download was stored. Please try again.");
    const QStringList pane = PaneTexts(w);
    ASSERT_EQ(pane.size(), 3);
    EXPECT_EQ(pane.at(1), QStringLiteral("Pelkar  Alarm Trend Download Failed."));
    EXPECT_EQ(pane.at(2), why);
    EXPECT_EQ(PaneColor(w, why), RGB(255, 0, 0));
    EXPECT_EQ(Rows(QStringLiteral("Log_Head")), 0);
}

TEST_F(Steps, AlarmTrendTimeOutWritesTheFailRatio)
{
    // Only the alarm-trend step writes the ratio when nothing came back.
    frmMain& w = Connected();
    FakeQvif::Step s;
    s.result = false;
    s.answerReceived = false;
    s.framesSent = 4;
    fake.Script(QStringLiteral("GetAlarm"), s);
    EXPECT_FALSE(w.Download().DownloadAlarmTrend());
    EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  Alarm Trend Download Failed.")), RGB(255, 0, 0));
    EXPECT_EQ(fake.serialLog.last(), QStringLiteral("Fail ratio = (0+0)/4"));

    fake.serialLog.clear();
    fake.Script(QStringLiteral("GetInterval"), s);
    EXPECT_FALSE(w.Download().DownloadIntervalTrend());
    EXPECT_FALSE(fake.serialLog.last().startsWith(QStringLiteral("Fail ratio")));
}

TEST_F(Steps, CancelledRequest)
{
    frmMain& w = Connected();
    FakeQvif::Step s;
    s.result = false;
    s.status = 8;
    s.answerReceived = true;
    s.action = [this] { fake.cancel = true; };
    fake.Script(QStringLiteral("GetInterval"), s);
    EXPECT_FALSE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Pelkar  Interval Trend Download."),
                                         QStringLiteral("Communication Canceled.")}));
    EXPECT_EQ(PaneColor(w, QStringLiteral("Communication Canceled.")), RGB(255, 0, 0));
    ASSERT_EQ(fake.serialLog.size(), 2);
    EXPECT_TRUE(fake.serialLog[1].startsWith(QStringLiteral("---Process to Canceled---. Date = ")));
}

TEST_F(Steps, SuccessWithoutRecords)
{
    frmMain& w = Connected();
    fake.Script(QStringLiteral("GetInterval"), Intervals(0));
    EXPECT_TRUE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Pelkar  Interval Trend Download."),
                                         QStringLiteral("Pelkar  Interval Trend No Data.")}));
    EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  Interval Trend No Data.")), RGB(192, 64, 64));
    ASSERT_EQ(fake.serialLog.size(), 2);
    EXPECT_TRUE(fake.serialLog[1].startsWith(QStringLiteral("---Interval Trend Download Finished---. Date = ")));
    EXPECT_TRUE(w.State().TreeRefreshNeeded);
}

TEST_F(Steps, RecordsAreStoredAndAFaultyOneArchivesTheLog)
{
    frmMain& w = Connected();
    {
        QFile log(home.file("SerialLog.log"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("12:00:00 line\r\n");
    }
    FakeQvif::Step s = Intervals(5);
    auto fill = s.action;
    s.action = [this, fill] {
        fill();
        fake.lastIntervals->Item(3)->SetError(true);
    };
    fake.Script(QStringLiteral("GetInterval"), s);
    // A record that is not stored fails the step, with the count in red;
    // the others stay stored.
    EXPECT_FALSE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Pelkar  Interval Trend Download."),
                                         QStringLiteral("Interval Trend Update Database."),
                                         QStringLiteral("1 record(s) could not be stored in the database."), kStopped}));
    EXPECT_EQ(PaneColor(w, QStringLiteral("1 record(s) could not be stored in the database.")), RGB(255, 0, 0));
    EXPECT_EQ(PaneColor(w, kStopped), RGB(255, 0, 0));
    EXPECT_TRUE(fake.serialLog.contains(QStringLiteral("---1 record(s) could not be stored in the database---")));
    EXPECT_EQ(Rows(QStringLiteral("Log_Head"), QStringLiteral("Where Types=1")), 4);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(w.State().MainIntervals().Item(i)->Instrument(), &w.State().MainInstrument());
    EXPECT_FALSE(QFileInfo::exists(home.file("SerialLog.log")));
    const QStringList archived = QDir(home.file("ErrorLogs")).entryList({QStringLiteral("SerialLog_*.log")});
    EXPECT_EQ(archived.size(), 1);

    // The same download again stores nothing twice, archives nothing and
    // succeeds: the duplicates count as stored.
    fake.Script(QStringLiteral("GetInterval"), Intervals(5));
    EXPECT_TRUE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(PaneTexts(w).last(), QStringLiteral("Pelkar  Interval Trend Download Complete."));
    EXPECT_EQ(Rows(QStringLiteral("Log_Head"), QStringLiteral("Where Types=1")), 5);
}

TEST_F(Steps, DatabaseErrorCountsAsAFaultyRecord)
{
    frmMain& w = Connected();
    {
        QFile log(home.file("SerialLog.log"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    }
    // The database file cannot be opened: every record fails to store.
    ASSERT_TRUE(QFile::remove(LogDatabasePath()));
    ASSERT_TRUE(QDir().mkpath(LogDatabasePath()));
    fake.Script(QStringLiteral("GetInterval"), Intervals(2));
    EXPECT_FALSE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(PaneTexts(w).sliced(PaneTexts(w).size() - 2),
              (QStringList{QStringLiteral("2 record(s) could not be stored in the database."), kStopped}));
    EXPECT_TRUE(w.State().MainIntervals().Item(1)->Error());
    EXPECT_FALSE(QFileInfo::exists(home.file("SerialLog.log")));
    EXPECT_EQ(QDir(home.file("ErrorLogs")).entryList({QStringLiteral("SerialLog_*.log")}).size(), 1);
}

TEST_F(Steps, ElapsedTimeOfTheStep)
{
    frmMain& w = Connected();
    const QDateTime t0 = MakeDate(2026, 12, 8, 1, 0, 0);
    bool answered = false;
    SetClock([&] { return answered ? t0.addSecs(3723) : t0; });
    FakeQvif::Step s = Intervals(0);
    auto fill = s.action;
    s.action = [&answered, fill] {
        fill();
        answered = true;
    };
    fake.Script(QStringLiteral("GetInterval"), s);
    EXPECT_TRUE(w.Download().DownloadIntervalTrend());
    EXPECT_EQ(fake.serialLog.last(),
              QStringLiteral("---Interval Trend Download Finished---. Date = 2026/12/08 02:02:03[Time = 01:02:03]\r\n"));
}

} // namespace
