// The instrument information step on the scripted interface control.
#include "common/dates.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "download_fixture.h"
#include "records/collections.h"
#include "records/history.h"
#include "records/instrument.h"

#include <QDir>
#include <QLabel>
#include <QFile>
#include <QSqlQuery>

namespace {

qint64 Rows(const QString& table)
{
    LogDb db;
    QSqlQuery q(db.Db());
    if (!q.exec(QStringLiteral("Select Count(*) From %1").arg(table)) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

class InfoStep : public DownloadWindowTest {
protected:
    frmMain& Connected()
    {
        frmMain& w = Loaded();
        fake.connected = true;
        w.State().TreeRefreshNeeded = false;
        return w;
    }
    // A successful read that fills the instrument as the control does.
    FakeQvif::Step Read()
    {
        FakeQvif::Step s;
        s.messages = {QStringLiteral("RC,R"), QStringLiteral("HC,R")};
        s.action = [this] {
            clsInstrument* inst = fake.lastInstrument;
            inst->SetModel(QStringLiteral("KV-5"));
            inst->SetSerialNo(QStringLiteral("SN1"));
            inst->SetStationID(QStringLiteral("ST1"));
            inst->SetUserID(QStringLiteral("U1"));
            inst->SetAnalogValue(0, 1234);
            inst->SetAnalogValue(1, -5);
            inst->SetAnalogValue(2, 2950);
            inst->SetAnalogValue(3, 0);
            inst->SetAnalogValue(4, 1000);
        };
        return s;
    }
    // A history of one instrument with two calibrations.
    FakeQvif::Step History()
    {
        FakeQvif::Step s;
        s.action = [this] {
            clsHistorys* h = fake.lastHistorys;
            h->Clear();
            clsHistory* rec = h->Add(QStringLiteral("01 L"), 0);
            rec->AddHistory(0, MakeDate(2024, 3, 5, 14, 7, 9), 12.0f, 50.0f);
            rec->AddHistory(0, MakeDate(2024, 4, 1, 9, 0, 0), 11.0f, 50.0f);
        };
        return s;
    }
};

TEST_F(InfoStep, NotConnected)
{
    frmMain& w = Loaded();
    EXPECT_FALSE(w.Download().DownloadInstrumentInfo());
    const QString text = QStringLiteral("Pelkar  No Response. Check Port,Cable And Power.");
    EXPECT_EQ(PaneTexts(w), QStringList{text});
    EXPECT_EQ(PaneColor(w, text), RGB(255, 0, 0));
    ASSERT_EQ(fake.serialLog.size(), 1);
    EXPECT_TRUE(fake.serialLog[0].startsWith(QStringLiteral("---Instrument Download Failed--- Pelkar  No response. Date = ")));
}

TEST_F(InfoStep, ClockAnswerWithoutAValidDate)
{
    frmMain& w = Connected();
    FakeQvif::Step s;
    s.result = false;
    s.answerReceived = true;
    s.action = [this] { fake.lastInstrument->SetFailLine(QStringLiteral("HC,R")); };
    fake.Script(QStringLiteral("GetInstrument"), s);
    EXPECT_FALSE(w.Download().DownloadInstrumentInfo());
    const QString failed = QStringLiteral("Pelkar  Instrument Information Download Failed.");
    const QString clock = QStringLiteral("A date is injustice. Make it accurate time, and try again  download.");
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Pelkar  Instrument Information Download."), failed, clock}));
    EXPECT_EQ(PaneColor(w, failed), RGB(255, 0, 0));
    EXPECT_EQ(PaneColor(w, clock), RGB(255, 0, 0));
    ASSERT_EQ(fake.serialLog.size(), 3);
    EXPECT_EQ(fake.serialLog[1], QStringLiteral("---Instrument Download Fail Line---"));
    EXPECT_TRUE(fake.serialLog[2].startsWith(QStringLiteral("---Instrument Download Failed---. Date = ")));
    EXPECT_EQ(w.State().MainInstrument().CommFlags(), 0);
    EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("GetLatestHistory")).isEmpty());
}

TEST_F(InfoStep, CancelledRead)
{
    frmMain& w = Connected();
    FakeQvif::Step s;
    s.result = false;
    s.status = 8;
    s.action = [this] { fake.cancel = true; };
    fake.Script(QStringLiteral("GetInstrument"), s);
    EXPECT_FALSE(w.Download().DownloadInstrumentInfo());
    EXPECT_EQ(PaneTexts(w).last(), QStringLiteral("Communication Canceled."));
    EXPECT_TRUE(fake.serialLog.last().startsWith(QStringLiteral("---Process to Canceled---. Date = ")));
}

TEST_F(InfoStep, SuccessfulReadWithAndWithoutServiceMode)
{
    for (bool service : {false, true}) {
        SCOPED_TRACE(service);
        App().ServiceMode = service;
        App().DebugMode = service; // the fail ratio closes the serial log then
        frmMain& w = Connected();
        fake.Script(QStringLiteral("GetInstrument"), Read());
        EXPECT_TRUE(w.Download().DownloadInstrumentInfo());
        QStringList expected{QStringLiteral("Pelkar  Instrument Information Download."), QStringLiteral("RC,R"),
                             QStringLiteral("HC,R")};
        if (service)
            expected << QStringLiteral("KV-5 Analog to Digital Converter Values List")
                     << QStringLiteral("ch0 EC AMP1\t: 1.234V") << QStringLiteral("ch1 EC AMP2\t: -0.005V")
                     << QStringLiteral("ch2 BATT.\t: 2.950V") << QStringLiteral("ch3 TEMP\t: 0.000V")
                     << QStringLiteral("ch4 O2 AMP\t: 1.000V");
        expected << QStringLiteral("Pelkar  Instrument Information Download Complete.");
        EXPECT_EQ(PaneTexts(w), expected);
        if (service) {
            EXPECT_EQ(PaneColor(w, QStringLiteral("ch2 BATT.\t: 2.950V")), RGB(0, 128, 64));
        }
        EXPECT_EQ(w.State().MainInstrument().CommFlags(), -1);
        // The identity box shows the new instrument at once.
        EXPECT_EQ(w.Download().lblStatus(5)->text(), QStringLiteral("SN1"));
        // The latest calibration failed: nothing more was asked or stored.
        EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("GetHistory")).isEmpty());
        EXPECT_FALSE(w.State().TreeRefreshNeeded);
        EXPECT_TRUE(fake.serialLog[1].startsWith(QStringLiteral("---Instrument Download Finished---. Date = ")));
        if (service) {
            EXPECT_EQ(fake.serialLog.last(), QStringLiteral("Fail ratio = (0+0)/0"));
        }
    }
}

TEST_F(InfoStep, HistoryIsStoredAndTheTreeMarkedStale)
{
    frmMain& w = Connected();
    fake.Script(QStringLiteral("GetInstrument"), Read());
    fake.Script(QStringLiteral("GetLatestHistory"), FakeQvif::Step{});
    fake.Script(QStringLiteral("GetHistory"), History());
    EXPECT_TRUE(w.Download().DownloadInstrumentInfo());
    EXPECT_EQ(fake.lastHistorys, &w.State().MainHistorys());
    EXPECT_EQ(w.State().MainHistorys().Instruments(), &w.State().MainInstrument());
    EXPECT_EQ(Rows(QStringLiteral("cHistory")), 2);
    EXPECT_EQ(Rows(QStringLiteral("cLatestHist")), 1);
    EXPECT_TRUE(w.State().TreeRefreshNeeded);
    EXPECT_FALSE(QDir(home.file("ErrorLogs")).exists() &&
                 !QDir(home.file("ErrorLogs")).entryList({QStringLiteral("*.log")}).isEmpty());
}

TEST_F(InfoStep, FaultyHistoryArchivesTheSerialLog)
{
    frmMain& w = Connected();
    {
        QFile log(home.file("SerialLog.log"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    }
    fake.Script(QStringLiteral("GetInstrument"), Read());
    fake.Script(QStringLiteral("GetLatestHistory"), FakeQvif::Step{});
    FakeQvif::Step s = History();
    auto fill = s.action;
    s.action = [this, fill] {
        fill();
        fake.lastHistorys->Item(1)->SetError(true);
    };
    fake.Script(QStringLiteral("GetHistory"), s);
    // A history record that is not stored fails the step.
    EXPECT_FALSE(w.Download().DownloadInstrumentInfo());
    EXPECT_EQ(PaneTexts(w).sliced(PaneTexts(w).size() - 2),
              (QStringList{QStringLiteral("1 record(s) could not be stored in the database."), kStopped}));
    EXPECT_EQ(PaneColor(w, QStringLiteral("1 record(s) could not be stored in the database.")), RGB(255, 0, 0));
    EXPECT_EQ(PaneColor(w, kStopped), RGB(255, 0, 0));
    EXPECT_EQ(QDir(home.file("ErrorLogs")).entryList({QStringLiteral("SerialLog_*.log")}).size(), 1);
}

TEST_F(InfoStep, LatestCalibrationNotStoredFailsTheStep)
{
    frmMain& w = Connected();
    // The database file cannot be opened: neither the latest calibration
    // nor the history is stored.
    ASSERT_TRUE(QFile::remove(LogDatabasePath()));
    ASSERT_TRUE(QDir().mkpath(LogDatabasePath()));
    fake.Script(QStringLiteral("GetInstrument"), Read());
    fake.Script(QStringLiteral("GetLatestHistory"), FakeQvif::Step{});
    fake.Script(QStringLiteral("GetHistory"), History());
    EXPECT_FALSE(w.Download().DownloadInstrumentInfo());
    EXPECT_EQ(PaneTexts(w).sliced(PaneTexts(w).size() - 2),
              (QStringList{QStringLiteral("2 record(s) could not be stored in the database."), kStopped}));
    EXPECT_FALSE(PaneTexts(w).contains(QStringLiteral("Pelkar  Instrument Information Download Complete.")));
}

} // namespace
