// The interface control's events, the download panel's identity box and the
// menu column.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "mainwindow/shape_lamp.h"
#include "records/instrument.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

void frmMain::ConnectDownloadHandlers()
{
    QvifPort* port = uclQvport;
    // OnConnect starts requests of its own (the automatic mode): it must run
    // from the event loop, never inside the control's receive path, or the
    // answers to those requests are never read.
    connect(port, &QvifPort::OnConnect, this, &frmMain::uclQvport_OnConnect, Qt::QueuedConnection);
    connect(port, &QvifPort::Densty, this, &frmMain::uclQvport_Densty);
    connect(port, &QvifPort::ConnectRetry, this, &frmMain::uclQvport_ConnectRetry);
    connect(port, &QvifPort::InstMessage, this, &frmMain::uclQvport_InstMessage);
    connect(port, &QvifPort::InterMessage, this, &frmMain::uclQvport_InterMessage);
    connect(port, &QvifPort::AlarmMessage, this, &frmMain::uclQvport_AlarmMessage);
    connect(port, &QvifPort::DumpMessage, this, &frmMain::uclQvport_DumpMessage);
    connect(port, &QvifPort::OnDisconnect, this, &frmMain::uclQvport_OnDisconnect);
    connect(port, &QvifPort::IrDAError, this, &frmMain::uclQvport_IrDAError);
    connect(port, &QvifPort::StsTransmit, this, &frmMain::uclQvport_StsTransmit);
    connect(port, &QvifPort::StsIdle, this, &frmMain::uclQvport_StsIdle);

    for (int i = 0; i < cmdInst.Count(); ++i)
        connect(cmdInst(i), &QPushButton::clicked, this, [this, i] { cmdInst_Click(i); });
    for (int i = 0; i < cmdDown.Count(); ++i)
        connect(cmdDown(i), &QPushButton::clicked, this, [this, i] { cmdDown_Click(i); });
    // Every change of a box counts, also one made in code (the handler
    // ignores them while AutoLoadClickOn is off).
    for (int i = 0; i < chkAutoLoad.Count(); ++i)
        connect(chkAutoLoad(i), &QCheckBox::toggled, this, [this, i] { chkAutoLoad_Click(i); });
}

frmUpload& frmMain::UploadForm()
{
    if (!m_upload) {
        m_upload = new frmUpload(this);
        m_upload->SetControl(uclQvport);
    }
    return *m_upload;
}

// ---- control events -------------------------------------------------------

void frmMain::uclQvport_OnConnect()
{
    if (!uclQvport->Connected())
        return;
    if (AutomaticModeRunning) {
        // The link came back while a run waits: that run goes on alone.
        uclQvport->AddLog(QStringLiteral("---Connection ignored: the automatic mode is running---"));
        return;
    }
    const AppState& app = App();
    AddLogText(GetResString(5432), LogColor::Connected);
    shpStatus(1)->SetColors(LampOnColor);
    if (!app.AutoLoad) {
        cmdDown(0)->setEnabled(true);
        cmdDown(1)->setEnabled(true);
        cmdDown(8)->setEnabled(true);
        if (app.ServiceMode) {
            cmdDown(9)->setEnabled(true);
            cmdDown(10)->setEnabled(true);
        }
        cmdOption(0)->setEnabled(true);
        cmdOption(1)->setEnabled(true);
    } else {
        RunAutomaticMode();
        // The run switched the instrument off: the settings commands are
        // offered only while one is still connected.
        const bool connected = uclQvport->Connected();
        cmdOption(0)->setEnabled(connected);
        cmdOption(1)->setEnabled(connected);
    }
}

void frmMain::uclQvport_Densty(float Value1, float Value2)
{
    clsInstrument& inst = MainInstrument();
    LiveValues[0] = inst.GasEnabled(0) ? Value1 : -101.0f;
    LiveValues[1] = inst.GasEnabled(1) ? Value2 : -101.0f;
    if (LiveValuesOn)
        ShowADValues();
}

void frmMain::uclQvport_ConnectRetry(int RetryCount)
{
    AddLogText(GetResString(5412, RetryCount), LogColor::Progress);
}

void frmMain::uclQvport_InstMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void frmMain::uclQvport_InterMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void frmMain::uclQvport_AlarmMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void frmMain::uclQvport_DumpMessage(const QString& MessageString)
{
    UploadForm().SetLabel(MessageString);
}

void frmMain::uclQvport_OnDisconnect()
{
    shpStatus(0)->SetColors(LampOnColor);
    shpStatus(1)->SetColors(LampOffColor);
    ResetDownloadControls();
    // A request still waiting for an answer ends as failed.
    uclQvport->SetStatus(7);
}

void frmMain::uclQvport_IrDAError(int ErrorNumber)
{
    if (ErrorNumber != 10048 && ErrorNumber != 10060)
        return;
    AddLogText(GetResString(5371), LogColor::Failure);
    shpStatus(0)->SetColors(LampErrorColor);
    shpStatus(1)->SetColors(LampOffColor);
    MsgBox(GetResString(5371), MsgButtons::Ok, MsgIcon::None, GetResString(5372));
}

void frmMain::uclQvport_StsTransmit()
{
    shpStatus(1)->SetColors(LampOnColor);
}

void frmMain::uclQvport_StsIdle()
{
    shpStatus(1)->SetColors(LampOffColor);
}

// ---- download panel -------------------------------------------------------

void frmMain::ShowDownloadPanel()
{
    QGroupBox* panel = fraMenu(0);
    const bool wasShown = !panel->isHidden();
    panel->setVisible(false);

    const std::int32_t status = uclQvport->Status();
    clsInstrument& inst = MainInstrument();
    const bool blank = !ShowSampleInstrument && (status == 0 || status == 1 || inst.CommFlags() == 0);
    if (blank) {
        lblStatus(5)->setText(QString());
        lblStatus(6)->setText(QString());
        lblStatus(7)->setText(QString());
    } else {
        lblStatus(5)->setText(inst.SerialNo());
        lblStatus(6)->setText(inst.StationID());
        lblStatus(7)->setText(inst.UserID());
    }

    panel->setVisible(wasShown);
    txtSuffix->setText(App().FactoryRecordSuffix);
}

// ---- menu -----------------------------------------------------------------

void frmMain::cmdInst_Click(int Index)
{
    if (Index < 0 || Index > 5)
        return;
    if (Index == 5) {
        // The close request decides whether the window goes.
        close();
        return;
    }

    switch (Index) {
    case 0:
        ShowDownloadPanel();
        uclQvport->SetEnabled(true);
        break;
    case 1:
        ShowInstrumentInfo();
        break;
    case 2:
        cmdInst(2)->setEnabled(false);
        BuildLogTree();
        ShowDataPanel();
        cmdInst(2)->setEnabled(true);
        break;
    case 3:
        FillHistoryGrid();
        break;
    case 4:
        ShowSettingsPanel();
        uclQvport->SetEnabled(true);
        break;
    }

    for (QGroupBox* panel : fraMenu)
        panel->setVisible(false);
    static constexpr int kPanelOf[] = {0, 1, 2, 4, 5};
    QGroupBox* chosen = fraMenu(kPanelOf[Index]);
    chosen->setVisible(true);
    chosen->repaint();
    if (Index == 2)
        lvwLog->setFocus();
    Form_Resize();
}

void frmMain::RefreshCurrentPanel()
{
    int visible = 0;
    for (int i = 0; i < fraMenu.Count(); ++i)
        if (!fraMenu(i)->isHidden())
            visible = i;

    clsInstrument& inst = MainInstrument();
    for (int g = 0; g < 2; ++g)
        if (App().GasLocked[static_cast<size_t>(g)] && !inst.GasEnabled(g))
            inst.SetGasEnabled(g, true);

    ShowDownloadPanel();
    ShowInstrumentInfo();
    ShowSettingsPanel();
    fraMenu(visible)->repaint();
}
