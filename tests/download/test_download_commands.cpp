// The download panel's commands on the scripted interface control: locking
// and giving back the controls, confirmations, the clock check, the complete
// download, power off with the reset, initialise, and the audit log.
#include "common/paths.h"
#include "download/frmUpload.h"
#include "download_fixture.h"
#include "records/instrument.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>

namespace {

struct ControlState {
    bool set;
    std::vector<bool> down;
    bool settingsPanel;
    bool box0;
    bool box1;
    bool operator==(const ControlState&) const = default;
};

ControlState StateOf(const frmMain& w)
{
    ControlState s{w.cmdInst(4)->isEnabled(), {}, w.fraMenu(5)->isEnabled(), w.Download().chkAutoLoad(0)->isEnabled(),
                   w.Download().chkAutoLoad(1)->isEnabled()};
    for (QPushButton* b : w.Download().cmdDown)
        s.down.push_back(b->isEnabled());
    return s;
}

bool AllLocked(const frmMain& w)
{
    const ControlState s = StateOf(w);
    for (bool b : s.down)
        if (b)
            return false;
    return !s.set && !s.settingsPanel && !s.box0 && !s.box1;
}

class Commands : public DownloadWindowTest {
protected:
    // A loaded window with a connected instrument, as after OnConnect.
    frmMain& Ready()
    {
        frmMain& w = Loaded();
        fake.connected = true;
        fake.RaiseOnConnect();
        Pump();
        w.Download().rtbLog->clear();
        fake.calls.clear();
        fake.serialLog.clear();
        return w;
    }
    // A request step that checks the controls are locked while it runs.
    FakeQvif::Step Locked(bool result = true)
    {
        FakeQvif::Step s;
        s.result = result;
        s.action = [this] {
            lockedDuringRequest = AllLocked(*window);
            // Something enables a button meanwhile; the restore puts it back.
            window->Download().cmdDown(5)->setEnabled(true);
        };
        return s;
    }
    bool lockedDuringRequest = false;
};

TEST_F(Commands, SingleDownloadLocksAndRestoresExactly)
{
    frmMain& w = Ready();
    const ControlState before = StateOf(w);
    ASSERT_TRUE(before.down[0] && before.down[1] && before.down[8] && !before.down[2]);
    for (int index : {2, 3, 6}) {
        SCOPED_TRACE(index);
        const char* request = index == 2 ? "GetInterval" : index == 3 ? "GetAlarm" : "GetPowerEvent";
        fake.Script(QString::fromLatin1(request), Locked(false));
        w.Download().cmdDown_Click(index);
        EXPECT_TRUE(lockedDuringRequest);
        EXPECT_EQ(StateOf(w), before);
        EXPECT_EQ(App().ProcessState, 0);
        EXPECT_FALSE(w.Download().UploadForm().IsLoaded());
    }
}

TEST_F(Commands, ProgressWindowDuringASingleDownload)
{
    frmMain& w = Ready();
    FakeQvif::Step s;
    QString title, label;
    bool cancelShown = false;
    int state = -1;
    s.action = [&] {
        title = w.Download().UploadForm().Caption();
        label = w.Download().UploadForm().Label();
        cancelShown = w.Download().UploadForm().cmdUpload->isVisibleTo(&w.Download().UploadForm());
        state = App().ProcessState;
    };
    fake.Script(QStringLiteral("GetInterval"), s);
    w.Download().cmdDown(2)->setEnabled(true);
    w.Download().cmdDown(2)->click();
    EXPECT_EQ(title, QStringLiteral("Download"));
    EXPECT_EQ(label, QStringLiteral("Now Uploading"));
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(state, 1);
}

TEST_F(Commands, InformationReadUnlocksEveryCommand)
{
    for (bool autoTicked : {false, true}) {
        SCOPED_TRACE(autoTicked);
        frmMain& w = Ready();
        App().AutoLoad = autoTicked;
        w.Download().AutoLoadClickOn = false;
        w.Download().chkAutoLoad(0)->setChecked(autoTicked);
        w.Download().AutoLoadClickOn = true;
        fake.Script(QStringLiteral("GetInstrument"), Locked(true));
        w.Download().cmdDown_Click(1);
        EXPECT_TRUE(lockedDuringRequest);
        const ControlState after = StateOf(w);
        EXPECT_TRUE(after.set);
        for (bool b : after.down)
            EXPECT_TRUE(b);
        EXPECT_TRUE(after.box0);
        EXPECT_EQ(after.box1, autoTicked);
        // Index 1 writes no audit line.
        EXPECT_FALSE(QFileInfo::exists(home.file("Pelkar_Setting.csv")));
    }
}

TEST_F(Commands, FailedInformationReadRestores)
{
    frmMain& w = Ready();
    const ControlState before = StateOf(w);
    fake.Script(QStringLiteral("GetInstrument"), Locked(false));
    w.Download().cmdDown_Click(10);
    EXPECT_EQ(StateOf(w), before);
    EXPECT_FALSE(QFileInfo::exists(home.file("Pelkar_Setting.csv")));
}

TEST_F(Commands, InformationGetAndSaveWritesTheAuditLog)
{
    frmMain& w = Ready();
    App().FactoryRecordSuffix = QStringLiteral("X");
    FakeQvif::Step s;
    s.action = [&] { w.State().MainInstrument().SetSerialNo(QStringLiteral("SN77")); };
    fake.Script(QStringLiteral("GetInstrument"), s);
    w.Download().cmdDown_Click(10);
    QFile f(home.file("Pelkar_SettingX.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3); // header, record, empty after the last CR LF
    EXPECT_TRUE(lines[1].contains(",SN77,"));
}

TEST_F(Commands, ClockCheckAfterEveryClick)
{
    frmMain& w = Ready();
    // Two lines, so that each shows whole in the pane.
    const QString line = QStringLiteral("A date doesn't correspond to the host.");
    const QString second = QStringLiteral("Confirm a host and the date of the machine.");
    struct Row {
        double offset;
        bool written;
    } rows[] = {{0.0, false}, {1.0, false}, {-1.0, false}, {1.0 + 1.0 / 86400, true}, {-1.5, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.offset);
        w.Download().rtbLog->clear();
        w.State().MainInstrument().SetSysDateOffset(r.offset);
        const ControlState before = StateOf(w);
        w.Download().cmdDown_Click(4);
        w.Download().cmdDown_Click(5);
        EXPECT_EQ(StateOf(w), before);
        EXPECT_FALSE(w.Download().UploadForm().IsLoaded());
        EXPECT_EQ(PaneTexts(w), r.written ? (QStringList{line, second, line, second}) : QStringList{});
        if (r.written) {
            EXPECT_EQ(PaneColor(w, line), RGB(255, 0, 0));
            EXPECT_EQ(PaneColor(w, second), RGB(255, 0, 0));
        }
    }
    // Also after a failed or unrelated command.
    w.Download().rtbLog->clear();
    w.Download().cmdDown_Click(2);
    EXPECT_EQ(PaneTexts(w).last(), second);
}

TEST_F(Commands, AnsweringNoLeavesEverythingAsItWas)
{
    frmMain& w = Ready();
    w.State().MainInstrument().SetSysDateOffset(3.0);
    const ControlState before = StateOf(w);
    for (int index : {7, 8, 9}) {
        SCOPED_TRACE(index);
        w.Download().rtbLog->clear();
        prompt.ExpectBox(MsgResult::No);
        w.Download().cmdDown_Click(index);
        EXPECT_EQ(StateOf(w), before);
        EXPECT_TRUE(fake.serialLog.isEmpty());
        EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("Body")).isEmpty());
        EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("SetInitValue")).isEmpty());
        // Only Initialize runs the clock check (its two lines) after a No.
        EXPECT_EQ(PaneTexts(w).size(), index == 9 ? 2 : 0);
    }
    const MsgRequest& power = prompt.boxes[1];
    EXPECT_EQ(power.text, QStringLiteral("Pelkar  Power off and Serial port off line.\r\nReady?"));
    EXPECT_EQ(power.title, QStringLiteral("Power off"));
    EXPECT_EQ(power.buttons, MsgButtons::YesNo);
    EXPECT_EQ(power.icon, MsgIcon::Question);
    EXPECT_EQ(power.defaultButton, 1);
}

TEST_F(Commands, ClearLoggerOutcomes)
{
    struct Row {
        bool connected;
        std::optional<bool> cleared;
        QStringList pane;
        std::int32_t lastColor;
        bool failLine;
    } rows[] = {
        {false, std::nullopt, {QStringLiteral("Pelkar  No Response. Check Port,Cable And Power.")}, RGB(255, 0, 0), true},
        {true, true, {QStringLiteral("Pelkar  Start Logger Data Removal."), QStringLiteral("Pelkar  Logger Data Removal Complete.")},
         RGB(0, 192, 0), false},
        {true, false, {QStringLiteral("Pelkar  Start Logger Data Removal."), QStringLiteral("Pelkar  Logger Data Removal Failed.")},
         RGB(255, 0, 0), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pane.last().toStdString());
        frmMain& w = Ready();
        fake.connected = r.connected;
        if (r.cleared) {
            FakeQvif::Step s;
            s.result = *r.cleared;
            s.answerReceived = true; // a refusal after an answer is still a failure
            fake.Script(QStringLiteral("BodyDataClear"), s);
        }
        prompt.ExpectBox(MsgResult::Yes);
        w.Download().cmdDown_Click(7);
        EXPECT_EQ(PaneTexts(w), r.pane);
        EXPECT_EQ(PaneColor(w, r.pane.last()), r.lastColor);
        EXPECT_EQ(fake.serialLog.contains(QStringLiteral("--- Data Remove Failed--- Pelkar  No response. \r\n")), r.failLine);
        EXPECT_EQ(fake.Pending(), 0);
    }
}

TEST_F(Commands, CompleteDownloadStopsAfterAFailedInformationStep)
{
    frmMain& w = Ready();
    const ControlState before = StateOf(w);
    FakeQvif::Step s;
    s.result = false;
    fake.Script(QStringLiteral("GetInstrument"), s);
    w.Download().cmdDown_Click(0);
    EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("GetInterval")).isEmpty());
    EXPECT_TRUE(fake.serialLog.first().startsWith(QStringLiteral("--- All download sequence start. Date =")));
    for (const QString& l : fake.serialLog)
        EXPECT_FALSE(l.startsWith(QStringLiteral("--- All download sequence Finished.")));
    EXPECT_EQ(StateOf(w), before);
    EXPECT_EQ(App().ProcessState, 0);
}

TEST_F(Commands, CompleteDownloadCancelledDuringTheIntervalStep)
{
    frmMain& w = Ready();
    const ControlState before = StateOf(w);
    w.State().TreeRefreshNeeded = false;
    fake.Script(QStringLiteral("GetInstrument"), FakeQvif::Step{});
    FakeQvif::Step s;
    s.result = false;
    s.status = 8;
    s.action = [&] {
        EXPECT_EQ(App().ProcessState, 5);
        // The progress window's Cancel button: cancels the control's request.
        w.Download().UploadForm().cmdUpload->click();
    };
    fake.Script(QStringLiteral("GetInterval"), s);
    w.Download().cmdDown_Click(0);
    EXPECT_TRUE(fake.cancel);
    EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("GetAlarm")).isEmpty());
    EXPECT_EQ(fake.serialLog.filter(QStringLiteral("--- All download sequence Finished.")).size(), 1);
    EXPECT_TRUE(w.State().TreeRefreshNeeded);
    EXPECT_EQ(StateOf(w), before);
    EXPECT_FALSE(w.Download().UploadForm().IsLoaded());
    EXPECT_EQ(App().ProcessState, 0);
}

TEST_F(Commands, CompleteDownloadSucceeds)
{
    for (bool service : {false, true}) {
        SCOPED_TRACE(service);
        App().ServiceMode = service;
        frmMain& w = Ready();
        for (const char* m : {"GetInstrument", "GetInterval", "GetAlarm"})
            fake.Script(QString::fromLatin1(m), FakeQvif::Step{});
        if (service)
            fake.Script(QStringLiteral("GetPowerEvent"), FakeQvif::Step{});
        w.Download().cmdDown_Click(0);
        EXPECT_EQ(fake.CallsStartingWith(QStringLiteral("GetPowerEvent")).size(), service ? 1 : 0);
        EXPECT_EQ(fake.serialLog.filter(QStringLiteral("--- All download sequence Finished.")).size(), 1);
        for (QPushButton* b : w.Download().cmdDown)
            EXPECT_TRUE(b->isEnabled());
    }
}

TEST_F(Commands, PowerOffResetsTheWindow)
{
    frmMain& w = Ready();
    App().ExecuteCount = 4;
    w.State().MainInstrument().SetSerialNo(QStringLiteral("SN9"));
    w.State().MainInstrument().SetCommFlags(-1);
    w.State().MainInstrument().SetSysDateOffset(2.0);
    w.cmdInst(4)->setEnabled(false); // its earlier state comes back
    FakeQvif::Step off;
    off.action = [&] {
        EXPECT_FALSE(w.cmdInst(5)->isEnabled());
        fake.connected = false;
    };
    fake.Script(QStringLiteral("BodyPowerOff"), off);
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().cmdDown_Click(8);

    for (QPushButton* b : w.Download().cmdDown)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(w.cmdInst(5)->isEnabled());
    EXPECT_FALSE(w.cmdInst(4)->isEnabled());
    // The reset emptied the pane: only the clock check's line is left.
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("A date doesn't correspond to the host."),
                                         QStringLiteral("Confirm a host and the date of the machine.")}));
    EXPECT_EQ(w.State().MainInstrument().CommFlags(), 0);
    EXPECT_EQ(w.State().MainInstrument().SerialNo(), QStringLiteral("SN9"));
    EXPECT_FALSE(w.State().StartupPending);
    EXPECT_TRUE(w.fraMenu(0)->isVisibleTo(&w));
    EXPECT_TRUE(fake.serialLog.last().startsWith(QStringLiteral("Serial Port Standby. Date = ")));
    // The settings were written with the run counter raised, and read back.
    QFile ini(home.file("Pelkar.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Execute Count\t5\r\n"));
    EXPECT_EQ(App().ExecuteCount, 5);
    // The port was looked for again (no converter here: none opened).
    EXPECT_FALSE(fake.CallsStartingWith(QStringLiteral("SetPortOpen(")).isEmpty());
}

TEST_F(Commands, PowerOffWithoutInstrument)
{
    frmMain& w = Ready();
    const ControlState before = StateOf(w);
    fake.connected = false;
    prompt.ExpectBox(MsgResult::Yes);
    w.Download().cmdDown_Click(8);
    EXPECT_EQ(PaneTexts(w), QStringList{QStringLiteral("Pelkar  No Response. Check Port,Cable And Power.")});
    EXPECT_TRUE(fake.CallsStartingWith(QStringLiteral("BodyPowerOff")).isEmpty());
    EXPECT_EQ(StateOf(w), before);
}

TEST_F(Commands, InitializeReportsItsOutcome)
{
    struct Row {
        bool connected;
        bool result;
        QStringList pane;
        QString box;
    } rows[] = {
        {true, true, {QStringLiteral("Pelkar  Instrument Information Upload."), QStringLiteral("Pelkar  Upload Complete.")},
         QStringLiteral("Upload Complete.")},
        {true, false, {QStringLiteral("Pelkar  Instrument Information Upload."), QStringLiteral("Pelkar  Upload Fail.")},
         QStringLiteral("Upload Fail.")},
        {false, false, {QStringLiteral("Pelkar  Upload Fail.")}, QStringLiteral("Upload Fail.")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.box.toStdString());
        frmMain& w = Ready();
        fake.connected = r.connected;
        QString title, label;
        std::int32_t stateDuring = -1;
        QString gasName;
        if (r.connected) {
            FakeQvif::Step s;
            s.result = r.result;
            s.action = [&] {
                title = w.Download().UploadForm().Caption();
                label = w.Download().UploadForm().Label();
                stateDuring = App().ProcessState;
                gasName = fake.lastInstrument->GasName(0);
            };
            fake.Script(QStringLiteral("SetInitValue"), s);
        }
        prompt.ExpectBox(MsgResult::Yes);
        prompt.ExpectBox(MsgResult::Ok);
        w.Download().cmdDown_Click(9);
        EXPECT_EQ(PaneTexts(w), r.pane);
        EXPECT_EQ(PaneColor(w, r.pane.last()), r.result ? RGB(0, 192, 0) : RGB(255, 0, 0));
        EXPECT_EQ(prompt.boxes.last().text, r.box);
        EXPECT_EQ(prompt.boxes.last().title, QStringLiteral("Upload"));
        EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Information);
        EXPECT_FALSE(w.Download().UploadForm().IsLoaded());
        if (r.connected) {
            EXPECT_EQ(title, QStringLiteral("Upload"));
            EXPECT_EQ(label, QStringLiteral("Now Uploading"));
            EXPECT_EQ(stateDuring, 0);
            EXPECT_EQ(gasName, App().CurrentGas[0].Name);
        }
    }
}

} // namespace
