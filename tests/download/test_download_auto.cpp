// The automatic mode, its check boxes, the reset after power-off and the
// shutdown, on the scripted interface control.
#include "common/file_write.h"
#include "common/settingsfile.h"
#include "download/frmUpload.h"
#include "download_fixture.h"
#include "records/instrument.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

#include <cerrno>

namespace {

class AutoMode : public DownloadWindowTest {
protected:
    frmMain& Ready(bool autoRemove = false)
    {
        frmMain& w = Loaded();
        App().AutoLoad = true;
        App().AutoRemoveData = autoRemove;
        w.Download().AutoLoadClickOn = false;
        w.Download().chkAutoLoad(0)->setChecked(true);
        w.Download().chkAutoLoad(1)->setChecked(autoRemove);
        w.Download().chkAutoLoad(1)->setEnabled(true);
        w.Download().AutoLoadClickOn = true;
        // The two-second waits pass quickly.
        w.tmrInter->setInterval(1);
        fake.connected = true;
        return w;
    }
    // Scripts a successful step for each request (power off: the instrument
    // goes away).
    void ScriptAll(std::initializer_list<const char*> methods)
    {
        for (const char* m : methods) {
            FakeQvif::Step s;
            if (QLatin1String(m) == QLatin1String("BodyPowerOff"))
                s.action = [this] { fake.connected = false; };
            fake.Script(QString::fromLatin1(m), s);
        }
    }
    // The requests of the run's steps, in order (the calibration-history
    // reads inside the information step left out).
    QStringList Requests() const
    {
        QStringList out;
        for (const QString& c : fake.calls)
            if ((c.startsWith(QLatin1String("Get")) || c.startsWith(QLatin1String("Body")))
                && !c.contains(QLatin1String("History")))
                out << c;
        return out;
    }
    void Connect()
    {
        fake.RaiseOnConnect();
        Pump();
    }
    static QString SerialLine(const FakeQvif& f, const QString& start)
    {
        for (const QString& l : f.serialLog)
            if (l.startsWith(start))
                return l;
        return QString();
    }
};

TEST_F(AutoMode, SequenceByServiceModeAndRemoval)
{
    struct Row {
        bool service;
        bool remove;
        QStringList requests;
    } rows[] = {
        {false, false, {"GetInstrument", "GetInterval", "GetAlarm", "BodyPowerOff"}},
        {true, false, {"GetInstrument", "GetInterval", "GetAlarm", "GetPowerEvent", "BodyPowerOff"}},
        {false, true, {"GetInstrument", "GetInterval", "GetAlarm", "BodyDataClear", "BodyPowerOff"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.requests.join(QLatin1Char(' ')).toStdString());
        App().ServiceMode = r.service;
        frmMain& w = Ready(r.remove);
        int stateDuring = -1;
        bool busyDuring = false;
        // Look at the window while the first request runs.
        FakeQvif::Step probe;
        probe.action = [&] {
            stateDuring = App().ProcessState;
            busyDuring = !w.cmdInst(4)->isEnabled() && !w.fraMenu(5)->isEnabled()
                && !w.Download().chkAutoLoad(0)->isEnabled() && w.Download().UploadForm().isVisible();
            // A close is refused without a word while the run goes on.
            EXPECT_FALSE(w.close());
        };
        fake.Script(QStringLiteral("GetInstrument"), probe);
        for (const QString& m : r.requests)
            if (m != QLatin1String("GetInstrument"))
                ScriptAll({m.toLatin1().constData()});

        Connect();
        EXPECT_EQ(Requests(), r.requests);
        EXPECT_EQ(fake.Pending(), 0);
        EXPECT_EQ(stateDuring, 6);
        EXPECT_TRUE(busyDuring);
        // The pane was emptied by the reset; the final line follows.
        const QString done = QStringLiteral("Pelkar  Automatic Mode Complete Finished.");
        EXPECT_EQ(PaneTexts(w).last(), done);
        EXPECT_EQ(PaneColor(w, done), RGB(32, 128, 0));
        EXPECT_FALSE(SerialLine(fake, QStringLiteral("---Automatic Mode Camplate Finished---. Date = ")).isEmpty());
        EXPECT_FALSE(SerialLine(fake, QStringLiteral("---Automatic Mode Process Start---. Date = ")).isEmpty());
        EXPECT_EQ(!SerialLine(fake, QStringLiteral("--- Data Remove Finished---.")).isEmpty(), r.remove);
        // Ready for the next instrument.
        EXPECT_EQ(App().ProcessState, 0);
        EXPECT_FALSE(w.Download().UploadForm().IsLoaded());
        EXPECT_FALSE(w.Download().AutomaticModeRunning);
        EXPECT_TRUE(w.cmdInst(4)->isEnabled());
        EXPECT_TRUE(w.fraMenu(5)->isEnabled());
        EXPECT_TRUE(w.Download().chkAutoLoad(0)->isEnabled());
        EXPECT_TRUE(w.Download().chkAutoLoad(1)->isEnabled());
        for (QPushButton* b : w.Download().cmdDown)
            EXPECT_FALSE(b->isEnabled());
        // The instrument is off: no settings command is offered.
        EXPECT_FALSE(w.Settings().cmdOption(0)->isEnabled());
        EXPECT_FALSE(w.Settings().cmdOption(1)->isEnabled());
        EXPECT_TRUE(w.State().TreeRefreshNeeded);
        fake.calls.clear();
        fake.serialLog.clear();
    }
}

TEST_F(AutoMode, CancelInTheMiddleSkipsTheRestButPowersOff)
{
    frmMain& w = Ready(true);
    ScriptAll({"GetInstrument"});
    FakeQvif::Step cancel;
    cancel.result = false;
    cancel.status = 8;
    cancel.action = [&] { w.Download().UploadForm().cmdUpload->click(); };
    fake.Script(QStringLiteral("GetInterval"), cancel);
    ScriptAll({"BodyPowerOff"});
    Connect();
    EXPECT_EQ(Requests(), (QStringList{"GetInstrument", "GetInterval", "BodyPowerOff"}));
    const QString failed = QStringLiteral("Pelkar  Automatic Mode Failed Finished.");
    EXPECT_EQ(PaneTexts(w).last(), failed);
    EXPECT_EQ(PaneColor(w, failed), RGB(255, 0, 0));
    EXPECT_FALSE(SerialLine(fake, QStringLiteral("---Automatic Mode Failed Finished---. Date = ")).isEmpty());
}

TEST_F(AutoMode, AFailedStepOrALastFailedRequestSkipsTheRemoval)
{
    // A failed alarm-trend step.
    {
        frmMain& w = Ready(true);
        ScriptAll({"GetInstrument", "GetInterval"});
        FakeQvif::Step fail;
        fail.result = false;
        fail.answerReceived = true; // answered, still a failure
        fake.Script(QStringLiteral("GetAlarm"), fail);
        ScriptAll({"BodyPowerOff"});
        Connect();
        EXPECT_EQ(Requests(), (QStringList{"GetInstrument", "GetInterval", "GetAlarm", "BodyPowerOff"}));
        EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  Automatic Mode Failed Finished.")), RGB(255, 0, 0));
    }
    // Every step reported success but the control's last request failed.
    fake.calls.clear();
    {
        frmMain& w = Ready(true);
        ScriptAll({"GetInstrument", "GetInterval"});
        FakeQvif::Step last;
        last.status = 7;
        fake.Script(QStringLiteral("GetAlarm"), last);
        ScriptAll({"BodyPowerOff"});
        Connect();
        EXPECT_EQ(Requests(), (QStringList{"GetInstrument", "GetInterval", "GetAlarm", "BodyPowerOff"}));
        EXPECT_EQ(PaneTexts(w).last(), QStringLiteral("Pelkar  Automatic Mode Failed Finished."));
    }
}

TEST_F(AutoMode, FailedRemoval)
{
    frmMain& w = Ready(true);
    ScriptAll({"GetInstrument", "GetInterval", "GetAlarm"});
    FakeQvif::Step clear;
    clear.result = false;
    clear.answerReceived = true;
    fake.Script(QStringLiteral("BodyDataClear"), clear);
    ScriptAll({"BodyPowerOff"});
    Connect();
    EXPECT_FALSE(SerialLine(fake, QStringLiteral("--- Data Remove Failed---.")).isEmpty());
    EXPECT_FALSE(SerialLine(fake, QStringLiteral("---Automatic Mode Failed Finished---.")).isEmpty());
    EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  Automatic Mode Failed Finished.")), RGB(255, 0, 0));
}

TEST_F(AutoMode, FullDiskAfterTheDownloadKeepsTheSettingsFileAndSaysSo)
{
    // The settings file as last written; the password was changed since.
    frmMain& w = Ready();
    App().Password = QStringLiteral("Before");
    ASSERT_TRUE(w.SaveAppSettings().isEmpty());
    const QByteArray old = [&] {
        QFile f(home.file("Pelkar.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(old.isEmpty());
    App().Password = QStringLiteral("Changed");

    // The program folder fills up during the download.
    ScriptAll({"GetInstrument", "GetInterval"});
    FakeQvif::Step fills;
    fills.action = [] { SetWriteFault([](WriteStep, const QString&) { return ENOSPC; }); };
    fake.Script(QStringLiteral("GetAlarm"), fills);
    ScriptAll({"BodyPowerOff"});
    Connect();
    SetWriteFault({});

    EXPECT_EQ(Requests(), (QStringList{"GetInstrument", "GetInterval", "GetAlarm", "BodyPowerOff"}));
    // The old file, whole; nothing else left in the folder by the attempt.
    QFile ini(home.file("Pelkar.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), old);
    for (const QString& name : QDir(home.path()).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(name.startsWith(QLatin1String("Pelkar.ini."))) << name.toStdString();
    // Said in the pane and in the serial log, in words.
    const QString said = GetResString(5775, GetResString(5957, home.file("Pelkar.ini"), GetResString(20205)));
    EXPECT_TRUE(said.endsWith(QStringLiteral("the disk is full.")));
    EXPECT_TRUE(PaneTexts(w).contains(said)) << PaneTexts(w).join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(PaneColor(w, said), RGB(255, 0, 0));
    EXPECT_TRUE(fake.serialLog.contains(said));
    // The password in use is the one the user set, not the file's older one.
    EXPECT_EQ(App().Password, QStringLiteral("Changed"));
    // The run still ends and the window is ready for the next instrument.
    EXPECT_EQ(PaneTexts(w).last(), QStringLiteral("Pelkar  Automatic Mode Complete Finished."));
    EXPECT_FALSE(w.Download().AutomaticModeRunning);
}

TEST_F(AutoMode, SecondConnectDuringARunIsIgnored)
{
    frmMain& w = Ready();
    ScriptAll({"GetInstrument"});
    FakeQvif::Step again;
    again.action = [&] {
        fake.RaiseOnConnect();
        Pump(); // the event arrives while the run waits
    };
    fake.Script(QStringLiteral("GetInterval"), again);
    ScriptAll({"GetAlarm", "BodyPowerOff"});
    Connect();
    EXPECT_EQ(fake.CallsStartingWith(QStringLiteral("GetInstrument")).size(), 1);
    EXPECT_EQ(fake.serialLog.filter(QStringLiteral("---Automatic Mode Process Start---")).size(), 1);
    EXPECT_EQ(fake.serialLog.filter(QStringLiteral("ignored")).size(), 1);
    EXPECT_EQ(PaneTexts(w).last(), QStringLiteral("Pelkar  Automatic Mode Complete Finished."));
}

// ---- the check boxes ---------------------------------------------------------

class AutoBoxes : public DownloadWindowTest {};

TEST_F(AutoBoxes, QuestionsAndAnswers)
{
    frmMain& w = Loaded();
    AppState& app = App();
    ASSERT_FALSE(w.Download().chkAutoLoad(1)->isEnabled());

    // Box 0 ticked, No: unticked again, nothing switched on.
    prompt.ExpectBox(MsgResult::No);
    w.Download().chkAutoLoad(0)->click();
    EXPECT_EQ(prompt.boxes.last().text,
              QStringLiteral("Select automatic load mode.\r\nCaution! Download commands are not active."));
    EXPECT_EQ(prompt.boxes.last().title, QStringLiteral("Automatic Load"));
    EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Question);
    EXPECT_FALSE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_FALSE(app.AutoLoad);
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isEnabled());

    // Box 0 ticked, Yes.
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().chkAutoLoad(0)->click();
    EXPECT_TRUE(app.AutoLoad);
    EXPECT_TRUE(w.Download().chkAutoLoad(1)->isEnabled());

    // Box 1 ticked, No, then Yes.
    prompt.ExpectBox(MsgResult::No);
    w.Download().chkAutoLoad(1)->click();
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("Remove Data after download.\r\nReady?"));
    EXPECT_EQ(prompt.boxes.last().title, QStringLiteral("Auto data Removal."));
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_FALSE(app.AutoRemoveData);
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().chkAutoLoad(1)->click();
    EXPECT_TRUE(app.AutoRemoveData);

    // Box 1 unticked: no question.
    const auto shown = prompt.boxes.size();
    w.Download().chkAutoLoad(1)->click();
    EXPECT_EQ(prompt.boxes.size(), shown);
    EXPECT_FALSE(app.AutoRemoveData);
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().chkAutoLoad(1)->click();

    // Box 0 unticked, No: ticked again.
    prompt.ExpectBox(MsgResult::No);
    w.Download().chkAutoLoad(0)->click();
    EXPECT_EQ(prompt.boxes.last().text,
              QStringLiteral("Deselect automatic load mode.\r\nCaution! Buttons must be used to download."));
    EXPECT_TRUE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_TRUE(app.AutoLoad);
    EXPECT_TRUE(app.AutoRemoveData);

    // Box 0 unticked, Yes: both off, box 1 unticked and disabled.
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().chkAutoLoad(0)->click();
    EXPECT_FALSE(app.AutoLoad);
    EXPECT_FALSE(app.AutoRemoveData);
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isEnabled());
}

TEST_F(AutoBoxes, AfterADisconnectClicksChangeNothing)
{
    frmMain& w = Loaded();
    emit fake.OnDisconnect();
    w.Download().chkAutoLoad(0)->click();
    EXPECT_TRUE(w.Download().chkAutoLoad(0)->isChecked()); // the box itself toggles
    EXPECT_FALSE(App().AutoLoad);
    EXPECT_TRUE(prompt.boxes.isEmpty());
}

// ---- reset and shutdown -------------------------------------------------------

class ResetAndShutdown : public DownloadWindowTest {};

TEST_F(ResetAndShutdown, ResetKeepsTheSettingsAndTheTicks)
{
    for (bool autoLoad : {false, true}) {
        SCOPED_TRACE(autoLoad);
        frmMain& w = Loaded();
        App().AutoLoad = autoLoad;
        App().AutoRemoveData = true;
        App().ExecuteCount = 7;
        FontSetting font;
        font.Name = QStringLiteral("Arial");
        font.Size = 9;
        App().DisplayFont = font;
        w.ShowFontAndColorButtons();
        w.ApplyDisplayFont();
        w.Download().AddLogText(QStringLiteral("before"), 0);
        w.Download().ResetAfterPowerOff();
        EXPECT_TRUE(PaneTexts(w).isEmpty());
        EXPECT_EQ(App().ExecuteCount, 8);
        EXPECT_EQ(App().AutoLoad, autoLoad);
        EXPECT_TRUE(w.Download().chkAutoLoad(1)->isChecked());
        EXPECT_TRUE(w.Download().chkAutoLoad(0)->isEnabled());
        EXPECT_EQ(w.Download().chkAutoLoad(1)->isEnabled(), autoLoad);
        EXPECT_EQ(w.Settings().cmdOptionDisp(0)->text(), QStringLiteral("Arial(9)"));
        EXPECT_TRUE(fake.serialLog.last().startsWith(QStringLiteral("Serial Port Standby. Date = ")));
    }
}

TEST_F(ResetAndShutdown, UnwritableSettingsFileIsReportedAndTheResetGoesOn)
{
    frmMain& w = Loaded();
    ASSERT_TRUE(QDir().mkpath(home.file("Pelkar.ini"))); // a folder in its place
    w.Download().ResetAfterPowerOff();
    const QStringList lines = PaneTexts(w);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("The settings file could not be written")));
    EXPECT_EQ(lines[1], GetResString(5783));
    EXPECT_FALSE(w.State().StartupPending);
}

// The reset after a power-off writes the settings file and reads it back.
// On a full disk the file keeps the settings of before; the session keeps
// its own (they do not go back to the file's), the pane says so in the
// user's language, and the shutdown writes them.
class ResetOnAFullDisk : public DownloadWindowTest, public ::testing::WithParamInterface<ResLanguage> {};

TEST_P(ResetOnAFullDisk, KeepsTheSessionSettingsAndWritesThemAtTheShutdown)
{
    frmMain& w = Loaded();
    SetResLanguage(GetParam());
    SettingsPanel& settings = w.Settings();
    AppState& app = App();
    // The file as written before the session's changes.
    ASSERT_TRUE(w.SaveAppSettings().isEmpty());
    const QByteArray old = [&] {
        QFile f(home.file("Pelkar.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // The session changes the font, a graph colour, the modes and more.
    settings.cmdOptionDisp(0)->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12));
    settings.cmdOptionDisp(1)->setProperty("BackColor", RGB(1, 2, 3));
    app.AutoCalibration = !app.AutoCalibration;
    app.AutoLoad = true;
    app.AutoRemoveData = true;
    app.CompletelyView = !app.CompletelyView;
    app.CalibRange[0] = 33.0f;
    app.Password = QStringLiteral("Session");
    const AppState session = app;

    SetWriteFault([](WriteStep, const QString&) { return ENOSPC; });
    w.Download().ResetAfterPowerOff();
    SetWriteFault({});

    QFile ini(home.file("Pelkar.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), old);
    ini.close();
    ASSERT_TRUE(app.DisplayFont.has_value());
    EXPECT_EQ(app.DisplayFont->Name, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(app.DisplayFont->Size, 12.0f);
    EXPECT_EQ(settings.cmdOptionDisp(0)->font().family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(app.GraphColor[0], RGB(1, 2, 3));
    EXPECT_EQ(settings.cmdOptionDisp(1)->property("BackColor").toInt(), RGB(1, 2, 3));
    EXPECT_EQ(app.AutoCalibration, session.AutoCalibration);
    EXPECT_TRUE(app.AutoLoad);
    EXPECT_TRUE(app.AutoRemoveData);
    EXPECT_TRUE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_TRUE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_EQ(app.CompletelyView, session.CompletelyView);
    EXPECT_EQ(app.CalibRange[0], 33.0f);
    EXPECT_EQ(app.Password, QStringLiteral("Session"));
    // Said in red in the pane; the failure also in the serial log.
    const QString failed = GetResString(5775, GetResString(5957, home.file("Pelkar.ini"), GetResString(20205)));
    EXPECT_EQ(PaneTexts(w), (QStringList{failed, GetResString(5783)}));
    EXPECT_EQ(PaneColor(w, GetResString(5783)), RGB(255, 0, 0));
    EXPECT_TRUE(fake.serialLog.contains(failed));

    // The shutdown writes the session's settings.
    w.Form_Unload();
    app.DisplayFont.reset();
    app.CalibRange[0] = 0.0f;
    app.Password.clear();
    app.AutoLoad = false;
    ReadSettings();
    ASSERT_TRUE(app.DisplayFont.has_value());
    EXPECT_EQ(app.DisplayFont->Name, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(app.CalibRange[0], 33.0f);
    EXPECT_EQ(app.Password, QStringLiteral("Session"));
    EXPECT_TRUE(app.AutoLoad);
    EXPECT_EQ(app.GraphColor[0], RGB(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(Languages, ResetOnAFullDisk, ::testing::Values(ResLanguage::English, ResLanguage::Japanese),
                         [](const ::testing::TestParamInfo<ResLanguage>& info) {
                             return info.param == ResLanguage::English ? "EN" : "JA";
                         });

TEST_F(ResetAndShutdown, CloseRequest)
{
    frmMain& w = Loaded();
    App().ExecuteCount = 2;
    w.show();
    Pump();

    // Busy: refused without a word.
    w.cmdInst(4)->setEnabled(false);
    EXPECT_FALSE(w.close());
    w.cmdInst(4)->setEnabled(true);
    w.cmdInst(5)->setEnabled(false);
    EXPECT_FALSE(w.close());
    w.cmdInst(5)->setEnabled(true);
    EXPECT_TRUE(prompt.boxes.isEmpty());

    // "End ?" answered No: the program goes on and writes nothing.
    prompt.ExpectBox(MsgResult::No);
    w.cmdInst(5)->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("End ?"));
    EXPECT_EQ(prompt.boxes.last().title, QStringLiteral("Pelkar"));
    EXPECT_EQ(prompt.boxes.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Question);
    EXPECT_FALSE(QFile::exists(home.file("Pelkar.ini")));
    EXPECT_TRUE(fake.timerEnabled);

    // Yes: the control stops and the settings are saved, counter raised.
    QPalette pal;
    w.Settings().cmdOptionDisp(1)->setProperty("BackColor", RGB(1, 2, 3));
    prompt.ExpectBox(MsgResult::Yes);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(fake.timerEnabled);
    QFile ini(home.file("Pelkar.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Execute Count\t3\r\n"));
    EXPECT_EQ(App().GraphColor[0], RGB(1, 2, 3));
}

TEST_F(ResetAndShutdown, UnwritableSettingsFileOnExitIsReportedAndTheWindowCloses)
{
    frmMain& w = Loaded();
    w.show();
    Pump();
    ASSERT_TRUE(QDir().mkpath(home.file("Pelkar.ini")));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_TRUE(w.close());
    ASSERT_EQ(PaneTexts(w).size(), 1);
    EXPECT_TRUE(PaneTexts(w)[0].startsWith(QStringLiteral("The settings file could not be written")));
    // The user is told in a box, not only on standard error.
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_EQ(prompt.boxes[1].text, PaneTexts(w)[0]);
    EXPECT_EQ(prompt.boxes[1].icon, MsgIcon::Critical);
    EXPECT_FALSE(w.isVisible());
}

} // namespace

TEST_F(ResetAndShutdown, SavedDisplayFontKeepsAPositiveSize)
{
    // A font sized in pixels has no point size; the settings must still get
    // a usable size, never -1.
    frmMain& w = Loaded();
    QFont pixelFont(QStringLiteral("Arial"));
    pixelFont.setPixelSize(14);
    pixelFont.setBold(true);
    w.Settings().cmdOptionDisp(0)->setFont(pixelFont);
    EXPECT_TRUE(w.SaveAppSettings().isEmpty());
    ASSERT_TRUE(App().DisplayFont.has_value());
    EXPECT_GT(App().DisplayFont->Size, 0.0f);
    EXPECT_TRUE(App().DisplayFont->Bold);
}
