// The main window on the real interface control, over a pseudo-terminal
// against the fake instrument: it connects, and the download steps run from
// the window store what the instrument held and write their lines.
#include "common/paths.h"
#include "common/widgets/shape_lamp.h"
#include "download/download_panel.h"
#include "download/frmUpload.h"
#include "download_fixture.h"
#include "fake_database.h"
#include "fake_records.h"
#include "linked_window_fixture.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

class LinkedWindow : public LinkedWindowTest {
protected:
    // Loads the window and waits until the instrument has connected.
    void LoadAndConnect()
    {
        ASSERT_TRUE(LoadAndWaitForConnection());
        EXPECT_TRUE(PaneTexts(*window).contains(QStringLiteral("Pelkar  ...Connection Successful.")));
        window->Download().rtbLog->clear();
    }
};

TEST_F(LinkedWindow, IntervalDownloadStoresWhatTheInstrumentHeld)
{
    const QList<FakeIntervalTrend> trends{MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 60),
                                          MakeIntervalTrend(2, MakeDate(2024, 3, 6, 9, 30, 0), 20, 30)};
    QList<QByteArray> lines;
    for (const FakeIntervalTrend& t : trends)
        lines += IntervalLines(t);
    fake.SetRecordLines("DR,R,", lines);
    LoadAndConnect();

    EXPECT_TRUE(window->Download().DownloadIntervalTrend());
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 2);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Data")), 80);
    const QStringList pane = PaneTexts(*window);
    EXPECT_EQ(pane.first(), QStringLiteral("Pelkar  Interval Trend Download."));
    EXPECT_TRUE(pane.contains(QStringLiteral("Interval Trend Update Database.")));
    EXPECT_EQ(pane.last(), QStringLiteral("Pelkar  Interval Trend Download Complete."));
    const QString log = SerialLog();
    EXPECT_TRUE(log.contains(QStringLiteral("---Interval Trend Download Start Sequence---. Date = ")));
    EXPECT_TRUE(log.contains(QStringLiteral("---Interval Trend Download Finished---. Date = ")));
    EXPECT_TRUE(window->State().MainIntervals().Item(1)->Instrument() == &window->State().MainInstrument());
}

TEST_F(LinkedWindow, AlarmTrendsAndPowerEventsAreStored)
{
    fake.SetRecordLines("DJ,R,", AlarmLines(MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 0, 0))));
    fake.SetRecordLines("DO,R,", PowerEventLines(1, {{MakeDate(2024, 3, 5, 7, 0, 0), true},
                                                     {MakeDate(2024, 3, 5, 18, 0, 0), false}}));
    LoadAndConnect();
    EXPECT_TRUE(window->Download().DownloadAlarmTrend());
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=2")), 1);
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Pelkar  Alarm Trend Download Complete."));
    window->Download().rtbLog->clear();
    EXPECT_TRUE(window->Download().DownloadPowerEvents());
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Power_Event")), 2);
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Multi Gas Monitor Power Events Download Complete."));
    const QString log = SerialLog();
    EXPECT_TRUE(log.contains(QStringLiteral("---Alarm Trend Download Finished---. Date = ")));
    EXPECT_TRUE(log.contains(QStringLiteral("---Power Events Download Finished---. Date = ")));
}

TEST_F(LinkedWindow, AlarmDownloadWithoutRecords)
{
    fake.SetRecordLines("DJ,R,", {});
    LoadAndConnect();
    EXPECT_TRUE(window->Download().DownloadAlarmTrend());
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Pelkar  Alarm Trend No Data."));
    EXPECT_TRUE(SerialLog().contains(QStringLiteral("---Alarm Trend Download Finished---. Date = ")));
}

TEST_F(LinkedWindow, InformationStepReadsTheInstrumentAndStoresItsHistory)
{
    fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 12.0f, 50.0f},
                                                  {MakeDate(2024, 4, 1, 9, 0, 0), 11.0f, 50.0f}}));
    fake.SetRecordLines("IH,R,2,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 20.5f, 20.9f}}));
    LoadAndConnect();
    window->State().TreeRefreshNeeded = false;

    EXPECT_TRUE(window->Download().DownloadInstrumentInfo());
    const clsInstrument& inst = window->State().MainInstrument();
    EXPECT_EQ(inst.SerialNo(), fake.State().serialNo);
    EXPECT_EQ(inst.StationID(), fake.State().stationId);
    EXPECT_EQ(inst.CommFlags(), -1);
    EXPECT_EQ(window->Download().lblStatus(5)->text(), fake.State().serialNo);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From cLatestHist")), 1);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=3")), 1);
    // Two calibration moments; the shared one holds both gases.
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From cHistory")), 2);
    EXPECT_TRUE(window->State().TreeRefreshNeeded);
    const QStringList pane = PaneTexts(*window);
    EXPECT_EQ(pane.first(), QStringLiteral("Pelkar  Instrument Information Download."));
    EXPECT_EQ(pane.last(), QStringLiteral("Pelkar  Instrument Information Download Complete."));
    const QString log = SerialLog();
    EXPECT_TRUE(log.contains(QStringLiteral("---Instrument Download Start Sequence---. Date = ")));
    EXPECT_TRUE(log.contains(QStringLiteral("---Instrument Download Finished---. Date = ")));
}

// The converter is pulled and plugged back at the same device: the loss is
// reported (a red line, the serial-log line with the port's own reason, the
// error colour), the program looks for the converter again and, once it is
// back, connects as at start-up, without a restart.
TEST_F(LinkedWindow, LostPortIsReportedAndFoundAgain)
{
    // The converter's device: a fixed name that points at the
    // pseudo-terminal of the moment.
    const QString device = home.file(QStringLiteral("ttyPelkarLink0"));
    ASSERT_TRUE(QFile::link(fake.DevicePath(), device));
    SetSerialPortSource([device] { return QList<SerialPortCandidate>{Converter(device)}; });
    LoadAndConnect();
    DownloadPanel& down = window->Download();
    auto lampIs = [](const ShapeLamp* lamp, const std::array<std::int32_t, 2>& pair) {
        return lamp->FillColor() == pair[0] && lamp->BorderColor() == pair[1];
    };
    EXPECT_TRUE(lampIs(down.shpStatus(0), down.LampOnColor));

    fake.CutLine();
    QFile::remove(device);
    ASSERT_TRUE(WaitFor([&] { return !control->PortOpen() && lampIs(down.shpStatus(0), down.LampErrorColor); }));
    const QStringList pane = PaneTexts(*window);
    const auto lost = std::find_if(pane.begin(), pane.end(), [&](const QString& l) {
        return l.startsWith(QStringLiteral("Serial port %1 lost (").arg(device));
    });
    ASSERT_NE(lost, pane.end()) << pane.join('|').toStdString();
    EXPECT_EQ(PaneColor(*window, *lost), RGB(255, 0, 0));
    EXPECT_FALSE(down.cmdDown(0)->isEnabled());
    EXPECT_TRUE(SerialLog().contains(QStringLiteral("Port %1 lost (").arg(device)));
    EXPECT_FALSE(SerialLog().contains(QStringLiteral("File exists")));

    // While it is away nothing is opened and no failure is repeated.
    WaitFor([] { return false; }, 2500);
    EXPECT_FALSE(control->PortOpen());
    EXPECT_FALSE(PaneTexts(*window).contains(QStringLiteral("Communication Ports Error. Restart this program.")));

    // Plugged back at the same device: found, opened and connected.
    ASSERT_TRUE(fake.OpenPty());
    ASSERT_TRUE(QFile::link(fake.DevicePath(), device));
    ASSERT_TRUE(WaitFor([&] { return down.cmdDown(0)->isEnabled(); }, 15000)) << SerialLog().toStdString();
    EXPECT_TRUE(control->PortOpen());
    EXPECT_TRUE(lampIs(down.shpStatus(0), down.LampOnColor));
    EXPECT_TRUE(PaneTexts(*window).contains(QStringLiteral("Pelkar  ...Connection Successful.")));
    EXPECT_TRUE(prompt.boxes.isEmpty());
    QFile::remove(device);
}

// ---- the automatic mode against the instrument -------------------------------

class AutomaticRun : public LinkedWindow {
protected:
    void SetUp() override
    {
        LinkedWindow::SetUp();
        trends = {MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 30)};
        QList<QByteArray> lines;
        for (const FakeIntervalTrend& t : trends)
            lines += IntervalLines(t);
        fake.SetRecordLines("DR,R,", lines);
        fake.SetRecordLines("DJ,R,", AlarmLines(MakeAlarmTrend(1, MakeDate(2024, 3, 5, 10, 0, 0))));
        App().AutoLoad = true;
        App().AutoRemoveData = true;
    }
    int Runs(const char* finishedLine) const
    {
        return static_cast<int>(SerialLog().count(QString::fromLatin1(finishedLine)));
    }
    // Loads the one interval trend stored into rec and checks every sample,
    // and every event's moment, against what the instrument held.
    void ExpectTrendStored(const FakeIntervalTrend& t, clsInterval& rec) const
    {
        ASSERT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 1);
        rec.SetSeqNo(Rows(QStringLiteral("Select SeqNo From Log_Head Where Types=1")));
        ASSERT_TRUE(rec.ReLoad());
        ASSERT_EQ(rec.DataCount(), t.samples.size());
        for (int k = 0; k < rec.DataCount(); ++k) {
            ASSERT_EQ(rec.DateTimes(k), t.SampleTime(k)) << k;
            ASSERT_FLOAT_EQ(rec.GasValue(0, k), t.samples[k][0]) << k;
            ASSERT_FLOAT_EQ(rec.GasValue(1, k), t.samples[k][1]) << k;
        }
        ASSERT_EQ(rec.EventCount(), t.events.size());
        for (int j = 0; j < rec.EventCount(); ++j)
            EXPECT_EQ(rec.EventDateTimes(j), t.EventTime(t.events[j])) << j;
    }
    QList<FakeIntervalTrend> trends;
};

TEST_F(AutomaticRun, DownloadsClearsAndSwitchesOffWithoutAClick)
{
    window->Form_Load();
    ASSERT_TRUE(WaitFor([this] { return Runs("---Automatic Mode Camplate Finished---") == 1; }, 60000))
        << SerialLog().toStdString();
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 1);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Data")), 30);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=2")), 1);
    EXPECT_TRUE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(fake.CommandState().poweredOff);
    // Ready for the next instrument: the port is open again and nothing is
    // busy.
    EXPECT_TRUE(control->PortOpen());
    EXPECT_EQ(App().ProcessState, 0);
    EXPECT_FALSE(window->Download().AutomaticModeRunning);
    EXPECT_TRUE(window->cmdInst(4)->isEnabled());
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Pelkar  Automatic Mode Complete Finished."));
}

// An instrument whose trend runs past record number 9999 (numbers go round
// to 0) is served in full: every sample and event stored at its moment, in
// sample order, then the alarm trend, and the logger is cleared.
TEST_F(AutomaticRun, TrendPastRecordNumber9999IsStoredWholeAndTheLoggerCleared)
{
    FakeIntervalTrend t = MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 12500, 10);
    t.events = {
        FakeTrendEvent{"A1", 1, 0, 4},     // the start
        FakeTrendEvent{"A5", 2, 9998, 3},  // before the wrap
        FakeTrendEvent{"A2", 1, 9999, 5},  // after record 9999
        FakeTrendEvent{"A1", 2, 10000, 6}, // after record 0: index 0 on the line
        FakeTrendEvent{"A2", 2, 10500, 7}, // after the wrap
        FakeTrendEvent{"A1", 1, 12500, 8}, // after the last line
    };
    fake.SetRecordLines("DR,R,", IntervalLines(t));
    window->Form_Load();
    ASSERT_TRUE(WaitFor([this] { return Runs("---Automatic Mode Camplate Finished---") == 1; }, 240000))
        << SerialLog().toStdString();
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_FALSE(SerialLog().contains(QStringLiteral("<<< Duplicate data >>>")));
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=2")), 1);
    const QList<QByteArray> commands = fake.Commands();
    EXPECT_TRUE(commands.contains(QByteArray("XC,E,")));
    EXPECT_LT(commands.indexOf(QByteArray("DJ,R,")), commands.indexOf(QByteArray("XC,E,")));
    EXPECT_TRUE(fake.CommandState().loggerCleared);

    clsInterval rec;
    ASSERT_NO_FATAL_FAILURE(ExpectTrendStored(t, rec));
    for (int k = 1; k < rec.DataCount(); ++k)
        ASSERT_GT(rec.ValueRowSeqNo(k), rec.ValueRowSeqNo(k - 1)) << k;
    for (int j = 0; j < rec.EventCount(); ++j) {
        const FakeTrendEvent& e = t.events[j];
        const float code = -102.0f - e.digit;
        EXPECT_FLOAT_EQ(rec.GasEvent(0, j), e.type == "A2" ? -101.0f : code) << j;
        EXPECT_FLOAT_EQ(rec.GasEvent(1, j), e.type == "A1" ? -101.0f : code) << j;
    }
}

TEST_F(AutomaticRun, AfterACancelledRunTheNextInstrumentConnects)
{
    // Cancel as soon as the interval download starts.
    bool cancelled = false;
    QObject::connect(&fake, &FakeInstrument::FrameReceived, window.get(), [this, &cancelled](const QByteArray& frame) {
        if (!cancelled && FakeInstrument::CommandOf(frame) == "DR,R,") {
            cancelled = true;
            QTimer::singleShot(0, window.get(), [this] { window->Download().UploadForm().cmdUpload->click(); });
        }
    });
    window->Form_Load();
    ASSERT_TRUE(WaitFor([this] { return Runs("---Automatic Mode Failed Finished---") == 1; }, 60000))
        << SerialLog().toStdString();
    EXPECT_TRUE(SerialLog().contains(QStringLiteral("---Process to Canceled---")));
    EXPECT_FALSE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(fake.CommandState().poweredOff);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 0);

    // The next instrument (the same one switched on again) connects and is
    // served in full.
    fake.CommandState().poweredOff = false;
    ASSERT_TRUE(WaitFor([this] { return Runs("---Automatic Mode Camplate Finished---") == 1; }, 60000))
        << SerialLog().toStdString();
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 1);
    EXPECT_TRUE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(prompt.boxes.isEmpty());
}

// A disturbed line during the interval download of the automatic mode: the
// trend is stored whole, every row at its own moment, with the exchange in
// step (one ACK block per block that has more to follow, none left over);
// or the download fails as on a dead line: nothing of the trend stored, no
// later step, and the logger's data kept.
class DisturbedLine : public AutomaticRun, public ::testing::WithParamInterface<int> {};

TEST_P(DisturbedLine, StoresTheTrendWholeOrKeepsTheLogger)
{
    using Fault = FakeInstrument::Fault;
    const QByteArray ack("DR,R,\x06");
    const QByteArray nak("DR,R,\x15");
    struct Case {
        const char* name;
        std::function<void(FakeInstrument&)> arrange;
        bool whole;
    };
    const Case cases[] = {
        {"another command's answer in place of a block, once",
         [&](FakeInstrument& f) { f.AddFaultOn(Fault::ForeignAnswer, ack, 5); }, true},
        {"another command's answer in place of a block, past the retries",
         [&](FakeInstrument& f) {
             f.AddFaultOn(Fault::ForeignAnswer, ack, 5);
             f.AddFaultOn(Fault::ForeignAnswer, nak, 1, -1);
         },
         false},
        {"a block late past the time-out, then sent again",
         [&](FakeInstrument& f) { f.AddFaultOn(Fault::LateBlock, ack, 3); }, true},
        {"a block left out", [&](FakeInstrument& f) { f.AddFaultOn(Fault::BlockLeftOut, ack, 5); }, false},
    };
    const Case& c = cases[GetParam()];
    SCOPED_TRACE(c.name);

    const FakeIntervalTrend t = MakeIntervalTrend(1, MakeDate(2024, 3, 5, 8, 0, 0), 820, 30);
    const QList<QByteArray> lines = IntervalLines(t);
    const qsizetype blocks = (lines.size() + 47) / 48;
    fake.SetRecordLines("DR,R,", lines);
    c.arrange(fake);
    window->Form_Load();
    ASSERT_TRUE(WaitFor([this] {
        return Runs("---Automatic Mode Camplate Finished---") + Runs("---Automatic Mode Failed Finished---") == 1;
    }, 60000)) << SerialLog().toStdString();
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_FALSE(SerialLog().contains(QStringLiteral("<<< Duplicate data >>>")));
    EXPECT_TRUE(fake.CommandState().poweredOff);
    const QList<QByteArray> commands = fake.Commands();

    if (!c.whole) {
        EXPECT_EQ(Runs("---Automatic Mode Failed Finished---"), 1);
        EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), 0);
        EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Data")), 0);
        EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Event")), 0);
        EXPECT_FALSE(commands.contains(QByteArray("DJ,R,"))) << "no step after the failed one";
        EXPECT_FALSE(commands.contains(QByteArray("XC,E,")));
        EXPECT_FALSE(fake.CommandState().loggerCleared);
        EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Pelkar  Automatic Mode Failed Finished."));
        return;
    }

    EXPECT_EQ(Runs("---Automatic Mode Camplate Finished---"), 1);
    EXPECT_EQ(commands.count(ack), blocks - 1) << "one ACK block per block with more to follow";
    EXPECT_TRUE(commands.contains(nak));
    EXPECT_TRUE(fake.CommandState().loggerCleared);
    clsInterval rec;
    ExpectTrendStored(t, rec);
}

INSTANTIATE_TEST_SUITE_P(Faults, DisturbedLine, ::testing::Range(0, 4));

// Nothing is cleared from an instrument unless all of it is in the
// database: under each fault the run fails, reports how many records were
// not stored, archives the serial log, keeps the logger's data (the clear
// command is never sent) and still switches the instrument off.
class FaultyStore : public AutomaticRun, public ::testing::WithParamInterface<int> {};

TEST_P(FaultyStore, KeepsTheLoggerDataAndStillSwitchesOff)
{
    using Fault = FakeDatabaseFault::Fault;
    struct Case {
        const char* name;
        std::optional<Fault> fault;
        bool headless;        // the second trend never sends its "AD" header
        const char* notStored; // the serial-log line of the failed step
        qint64 intervalHeads; // interval trends stored afterwards
    };
    const Case cases[] = {
        {"locked", Fault::LockedByAnotherProgram, false, "---2 record(s) could not be stored in the database---", 0},
        {"read-only", Fault::ReadOnlyFile, false, "---2 record(s) could not be stored in the database---", 0},
        {"second refused", Fault::SecondIntervalRefused, false,
         "---1 record(s) could not be stored in the database---", 1},
        {"without header", std::nullopt, true, "---1 record(s) could not be stored in the database---", 1},
    };
    const Case& c = cases[GetParam()];
    SCOPED_TRACE(c.name);

    QList<QByteArray> lines = IntervalLines(trends[0]);
    QList<QByteArray> second = IntervalLines(MakeIntervalTrend(2, MakeDate(2024, 3, 6, 9, 30, 0), 20));
    // Logger 2 opened by its identity lines, then nothing: no "AD" header.
    if (c.headless)
        second.removeIf([](const QByteArray& l) {
            return !l.startsWith("02AA") && !l.startsWith("02AB") && !l.startsWith("02AC");
        });
    fake.SetRecordLines("DR,R,", lines + second);
    fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 12.0f, 50.0f}}));
    CreateLogDatabase(LogDatabasePath());
    {
        std::optional<FakeDatabaseFault> fault;
        if (c.fault) {
            fault.emplace(*c.fault, LogDatabasePath());
            ASSERT_TRUE(fault->Active());
        }
        window->Form_Load();
        ASSERT_TRUE(WaitFor([this] { return Runs("---Automatic Mode Failed Finished---") == 1; }, 90000))
            << SerialLog().toStdString();
    }
    const QString log = SerialLog() + [this] {
        QString archived;
        for (const QString& name : QDir(home.file("ErrorLogs")).entryList({QStringLiteral("SerialLog_*.log")})) {
            QFile f(home.file("ErrorLogs/" + name));
            if (f.open(QIODevice::ReadOnly))
                archived += QString::fromUtf8(f.readAll());
        }
        return archived;
    }();
    EXPECT_TRUE(log.contains(QString::fromLatin1(c.notStored))) << log.toStdString();
    EXPECT_EQ(QDir(home.file("ErrorLogs")).entryList({QStringLiteral("SerialLog_*.log")}).size(), 1);
    EXPECT_FALSE(fake.Commands().contains(QByteArray("XC,E,")));
    EXPECT_FALSE(fake.CommandState().loggerCleared);
    EXPECT_TRUE(fake.CommandState().poweredOff);
    const QString kept = QStringLiteral("Pelkar  Logger data kept on the instrument: not everything was downloaded and stored.");
    EXPECT_EQ(PaneColor(*window, kept), RGB(255, 0, 0)) << PaneTexts(*window).join('|').toStdString();
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Pelkar  Automatic Mode Failed Finished."));
    // Complete records or none.
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=1")), c.intervalHeads);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Data")), 30 * c.intervalHeads);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Interval_Data Where RelNo Not In (Select SeqNo From Log_Head)")), 0);
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From Log_Head Where Types=2")), 0) << "no step after the failed one";
    EXPECT_EQ(Rows(QStringLiteral("Select Count(*) From cHistory")), c.fault == Fault::LockedByAnotherProgram
                                                                       || c.fault == Fault::ReadOnlyFile
                                                                   ? 0
                                                                   : 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyStore, ::testing::Range(0, 4));

} // namespace
