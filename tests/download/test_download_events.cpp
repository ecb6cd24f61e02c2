// The main window's handling of the interface control's events, the
// identity box of the download panel and the menu column.
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "download_fixture.h"
#include "common/widgets/shape_lamp.h"
#include "records/instrument.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

std::vector<int> EnabledDownloadButtons(const frmMain& w)
{
    std::vector<int> out;
    for (int i = 0; i < w.Download().cmdDown.Count(); ++i)
        if (w.Download().cmdDown(i)->isEnabled())
            out.push_back(i);
    return out;
}

bool LampIs(const ShapeLamp* lamp, const std::array<std::int32_t, 2>& pair)
{
    return lamp->FillColor() == pair[0] && lamp->BorderColor() == pair[1];
}

using Events = DownloadWindowTest;

TEST_F(Events, OnConnectEnablesTheCommandsOfTheMode)
{
    struct Row {
        bool serviceMode;
        std::vector<int> enabled;
    } rows[] = {{false, {0, 1, 8}}, {true, {0, 1, 8, 9, 10}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.serviceMode);
        App().ServiceMode = row.serviceMode;
        frmMain& w = Loaded();
        fake.connected = true;
        fake.RaiseOnConnect();
        // Queued: nothing happens inside the control's own call.
        EXPECT_TRUE(PaneTexts(w).isEmpty());
        Pump();
        EXPECT_EQ(PaneTexts(w), QStringList{QStringLiteral("Pelkar  ...Connection Successful.")});
        EXPECT_EQ(PaneColor(w, QStringLiteral("Pelkar  ...Connection Successful.")), RGB(0, 0, 255));
        EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOnColor));
        EXPECT_EQ(EnabledDownloadButtons(w), row.enabled);
        EXPECT_TRUE(w.Settings().cmdOption(0)->isEnabled());
        EXPECT_TRUE(w.Settings().cmdOption(1)->isEnabled());
    }
}

TEST_F(Events, OnConnectWithoutConnectionIsDropped)
{
    frmMain& w = Loaded();
    fake.connected = false;
    fake.RaiseOnConnect();
    Pump();
    EXPECT_TRUE(PaneTexts(w).isEmpty());
    EXPECT_TRUE(EnabledDownloadButtons(w).empty());
    EXPECT_FALSE(w.Settings().cmdOption(0)->isEnabled());
}

TEST_F(Events, OnConnectInAutomaticModeEnablesNoDownloadButton)
{
    frmMain& w = Loaded();
    w.tmrInter->setInterval(1); // the run's waits pass quickly
    App().AutoLoad = true;
    fake.connected = true;
    fake.RaiseOnConnect();
    Pump();
    EXPECT_FALSE(fake.CallsStartingWith(QStringLiteral("GetInstrument")).isEmpty());
    EXPECT_TRUE(EnabledDownloadButtons(w).empty());
    // The instrument did not go away: the settings commands are offered.
    EXPECT_TRUE(w.Settings().cmdOption(1)->isEnabled());
}

TEST_F(Events, MessagesAndRetriesGoToThePane)
{
    frmMain& w = Loaded();
    emit fake.ConnectRetry(3);
    emit fake.InstMessage(QStringLiteral("inst"));
    emit fake.InterMessage(QStringLiteral("inter"));
    emit fake.AlarmMessage(QStringLiteral("alarm"));
    Pump();
    EXPECT_EQ(PaneTexts(w), (QStringList{QStringLiteral("Connect Sequence Pelkar  ...(3)"), QStringLiteral("inst"),
                                         QStringLiteral("inter"), QStringLiteral("alarm")}));
    EXPECT_EQ(PaneColor(w, QStringLiteral("Connect Sequence Pelkar  ...(3)")), RGB(0, 192, 0));
    for (const char* t : {"inst", "inter", "alarm"})
        EXPECT_EQ(PaneColor(w, QString::fromLatin1(t)), RGB(0, 0, 192)) << t;
}

TEST_F(Events, DumpMessageGoesToTheProgressWindowOnly)
{
    frmMain& w = Loaded();
    emit fake.DumpMessage(QStringLiteral("EEP-ROM 12/64"));
    EXPECT_TRUE(PaneTexts(w).isEmpty());
    EXPECT_TRUE(w.Download().UploadForm().IsLoaded());
    EXPECT_FALSE(w.Download().UploadForm().isVisible());
    EXPECT_EQ(w.Download().UploadForm().Label(), QStringLiteral("EEP-ROM 12/64"));
    w.Download().UploadForm().Unload();
}

TEST_F(Events, LiveReadingsOfADisabledGasReadNoValue)
{
    frmMain& w = Loaded();
    w.State().MainInstrument().SetGasEnabled(0, true);
    w.State().MainInstrument().SetGasEnabled(1, false);
    emit fake.Densty(5.5f, 20.9f);
    EXPECT_FLOAT_EQ(w.State().LiveValues[0], 5.5f);
    EXPECT_FLOAT_EQ(w.State().LiveValues[1], -101.0f);
}

TEST_F(Events, DisconnectLocksTheCommandsAndFailsTheWaitingRequest)
{
    SetSerialPortSource([] { return QList<SerialPortCandidate>{Converter(QStringLiteral("/dev/ttyUSB0"))}; });
    frmMain& w = Loaded();
    fake.connected = true;
    fake.RaiseOnConnect();
    Pump();
    w.Download().shpStatus(2)->setVisible(true);
    w.Download().lblStatus(8)->setVisible(true);
    fake.status = 3; // a download is waiting

    fake.connected = false;
    emit fake.OnDisconnect();
    EXPECT_EQ(fake.status, 7);
    EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampOnColor));
    EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOffColor));
    EXPECT_TRUE(EnabledDownloadButtons(w).empty());
    EXPECT_FALSE(w.Settings().cmdOption(0)->isEnabled());
    EXPECT_TRUE(w.Settings().cmdOption(1)->isEnabled()); // keeps its state
    EXPECT_FALSE(w.Download().AutoLoadClickOn);
    EXPECT_TRUE(w.Download().shpStatus(2)->isHidden());
    EXPECT_TRUE(w.Download().lblStatus(8)->isHidden());
}

TEST_F(Events, IrdaErrorsOnlyForTwoNumbers)
{
    frmMain& w = Loaded();
    emit fake.IrDAError(10050);
    EXPECT_TRUE(PaneTexts(w).isEmpty());
    EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampOffColor)) << "no converter, no port";

    for (int number : {10048, 10060}) {
        SCOPED_TRACE(number);
        w.Download().rtbLog->clear();
        w.Download().shpStatus(1)->SetColors(w.Download().LampOnColor);
        prompt.ExpectBox(MsgResult::Ok);
        emit fake.IrDAError(number);
        const QString text = QStringLiteral("Communication Ports Error. Restart this program.");
        EXPECT_EQ(PaneTexts(w), QStringList{text});
        EXPECT_EQ(PaneColor(w, text), RGB(255, 0, 0));
        EXPECT_EQ(w.Download().shpStatus(0)->FillColor(), RGB(254, 0, 0));
        EXPECT_EQ(w.Download().shpStatus(0)->BorderColor(), RGB(192, 0, 0));
        EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOffColor));
        ASSERT_FALSE(prompt.boxes.isEmpty());
        EXPECT_EQ(prompt.boxes.last().text, text);
        EXPECT_EQ(prompt.boxes.last().title, QStringLiteral("Port Error."));
        EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::None);
        EXPECT_EQ(prompt.boxes.last().buttons, MsgButtons::Ok);
    }
}

TEST_F(Events, SerialPortLampSaysWhatIsTrue)
{
    // No converter: dark. A converter whose port does not open: the error
    // colour and the red line. A port that opens: lit.
    {
        frmMain& w = Loaded();
        EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampOffColor));
        window.reset();
    }
    SetSerialPortSource([] { return QList<SerialPortCandidate>{Converter(QStringLiteral("/dev/ttyUSB0"))}; });
    fake.serialOpens = false;
    {
        frmMain& w = Loaded();
        w.OpenUsbSerialPort();
        EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampErrorColor));
        EXPECT_EQ(PaneTexts(w), QStringList{QStringLiteral("Communication Ports Error. Restart this program.")});
        window.reset();
    }
    fake.serialOpens = true;
    frmMain& w = Loaded();
    EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampOnColor));

    // The port is lost: a red line naming it and the reason, the error
    // colour, the commands locked.
    fake.connected = true;
    fake.RaiseOnConnect();
    Pump();
    fake.portOpen = false;
    fake.connected = false;
    emit fake.OnDisconnect();
    emit fake.PortLost(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("the device is gone"));
    EXPECT_TRUE(LampIs(w.Download().shpStatus(0), w.Download().LampErrorColor));
    EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOffColor));
    // Two lines, so that each shows whole in the pane.
    const QString lost = QStringLiteral("Serial port /dev/ttyUSB0 lost (the device is gone).");
    const QString waiting = QStringLiteral("Waiting for the converter to come back.");
    const QStringList pane = PaneTexts(w);
    ASSERT_TRUE(pane.contains(lost));
    EXPECT_EQ(pane.value(pane.indexOf(lost) + 1), waiting);
    EXPECT_EQ(PaneColor(w, lost), RGB(255, 0, 0));
    EXPECT_EQ(PaneColor(w, waiting), RGB(255, 0, 0));
    EXPECT_TRUE(EnabledDownloadButtons(w).empty());
}

TEST_F(Events, AutomaticModeBoxesShowTheSettingsFileWithoutAQuestion)
{
    {
        QFile ini(home.file(QStringLiteral("Pelkar.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Auto Load Mode\tFalse\tTrue\tTrue\r\n");
    }
    frmMain& w = Loaded();
    EXPECT_TRUE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_TRUE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_TRUE(w.Download().chkAutoLoad(1)->isEnabled());
    EXPECT_TRUE(App().AutoLoad);
    EXPECT_TRUE(App().AutoRemoveData);
    EXPECT_TRUE(prompt.boxes.isEmpty());

    // The reset after a power-off reads the file again and shows it again.
    w.Download().ResetAfterPowerOff();
    EXPECT_TRUE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_TRUE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_TRUE(w.Download().AutoLoadClickOn);
}

TEST_F(Events, LineActivityLamp)
{
    frmMain& w = Loaded();
    emit fake.StsTransmit();
    EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOnColor));
    emit fake.StsIdle();
    EXPECT_TRUE(LampIs(w.Download().shpStatus(1), w.Download().LampOffColor));
}

TEST_F(Events, IdentityBoxIsBlankUntilAnInstrumentWasRead)
{
    frmMain& w = Loaded();
    clsInstrument& inst = w.State().MainInstrument();
    inst.SetSerialNo(QStringLiteral("SN1"));
    inst.SetStationID(QStringLiteral("ST1"));
    inst.SetUserID(QStringLiteral("U1"));
    App().FactoryRecordSuffix = QStringLiteral("A1");

    struct Row {
        std::int32_t status;
        std::int16_t commFlags;
        bool sample;
        bool shown;
    } rows[] = {{6, -1, false, true}, {1, -1, false, false}, {0, -1, false, false},
                {6, 0, false, false}, {1, 0, true, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.status << " " << r.commFlags << " " << r.sample);
        fake.status = r.status;
        inst.SetCommFlags(r.commFlags);
        w.State().ShowSampleInstrument = r.sample;
        w.fraMenu(0)->setVisible(false);
        w.Download().ShowDownloadPanel();
        EXPECT_TRUE(w.fraMenu(0)->isHidden()); // a hidden panel stays hidden
        EXPECT_EQ(w.Download().lblStatus(5)->text(), r.shown ? QStringLiteral("SN1") : QString());
        EXPECT_EQ(w.Download().lblStatus(6)->text(), r.shown ? QStringLiteral("ST1") : QString());
        EXPECT_EQ(w.Download().lblStatus(7)->text(), r.shown ? QStringLiteral("U1") : QString());
        EXPECT_EQ(w.Download().txtSuffix->text(), QStringLiteral("A1"));
    }
    w.fraMenu(0)->setVisible(true);
    w.Download().ShowDownloadPanel();
    EXPECT_FALSE(w.fraMenu(0)->isHidden());
}

int ShownPanel(const frmMain& w)
{
    int shown = -1;
    for (int i = 0; i < w.fraMenu.Count(); ++i)
        if (!w.fraMenu(i)->isHidden()) {
            EXPECT_EQ(shown, -1) << "two panels shown";
            shown = i;
        }
    return shown;
}

TEST_F(Events, MenuShowsOnePanel)
{
    frmMain& w = Loaded();
    const int panelOf[] = {0, 1, 2, 4, 5};
    for (int index = 0; index <= 4; ++index) {
        SCOPED_TRACE(index);
        fake.calls.clear();
        if (index == 3)
            prompt.ExpectBox(MsgResult::Ok); // the last-calibration list is empty
        w.cmdInst(index)->click();
        EXPECT_EQ(ShownPanel(w), panelOf[index]);
        EXPECT_EQ(fake.calls.contains(QStringLiteral("SetEnabled(true)")), index == 0 || index == 4);
        EXPECT_TRUE(w.cmdInst(2)->isEnabled());
    }
    // The same button again refills and shows the same panel.
    prompt.ExpectBox(MsgResult::Ok);
    prompt.ExpectBox(MsgResult::Ok);
    w.cmdInst_Click(3);
    w.cmdInst_Click(3);
    EXPECT_EQ(ShownPanel(w), 4);
    w.cmdInst_Click(-1);
    w.cmdInst_Click(6);
    EXPECT_EQ(ShownPanel(w), 4);
}

TEST_F(Events, RefreshKeepsTheVisiblePanelAndEnablesLockedGases)
{
    frmMain& w = Loaded();
    w.cmdInst_Click(2);
    App().GasLocked = {false, true};
    w.State().MainInstrument().SetGasEnabled(0, false);
    w.State().MainInstrument().SetGasEnabled(1, false);
    w.RefreshCurrentPanel();
    EXPECT_EQ(ShownPanel(w), 2);
    EXPECT_FALSE(w.State().MainInstrument().GasEnabled(0));
    EXPECT_TRUE(w.State().MainInstrument().GasEnabled(1));
}

} // namespace
