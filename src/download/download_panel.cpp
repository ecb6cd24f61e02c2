// The download panel's controls, the interface control's events and the
// identity box.

#include "download/download_panel.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/serial_log.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/panel_focus.h"
#include "common/widgets/shape_lamp.h"
#include "common/widgets/twips_geometry.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

DownloadPanel::DownloadPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("DownloadPanel"));
    CreateControls();
    ConnectHandlers();
    // A serial-log line that cannot be written (a full disk) is told in the
    // pane, once until the log can be written again.
    SetSerialLogFailureReport([this](const QString& text) { AddLogText(text, LogColor::Failure); });
}

DownloadPanel::~DownloadPanel()
{
    SetSerialLogFailureReport({});
}

void DownloadPanel::CreateControls()
{
    QGroupBox* down = m_frame;
    fraDown[0] = NewGroup(down, Indexed("fraDown", 0), 120, 240, 5400, 612);
    fraDown[1] = NewGroup(down, Indexed("fraDown", 1), 5580, 240, 3800, 852);
    fraDown[2] = NewGroup(down, Indexed("fraDown", 2), 5580, 1092, 3800, 6000);
    fraDown[3] = NewGroup(down, Indexed("fraDown", 3), 120, 5400, 5400, 2200);
    for (int i = 0; i < shpStatus.Count(); ++i) {
        shpStatus[i] = new ShapeLamp(fraDown(0));
        shpStatus[i]->setObjectName(Indexed("shpStatus", i));
        MoveTwips(shpStatus(i), 120 + i * 1350, 240, 200, 200);
    }
    // Lamp labels: 0 serial port, 1 connection, 8 and 9 calibration lamps.
    lblStatus[0] = NewLabel(fraDown(0), Indexed("lblStatus", 0), 380, 240, 1092, 252);
    lblStatus[1] = NewLabel(fraDown(0), Indexed("lblStatus", 1), 1730, 240, 852, 252);
    lblStatus[8] = NewLabel(fraDown(0), Indexed("lblStatus", 8), 3080, 240, 852, 252);
    lblStatus[9] = NewLabel(fraDown(0), Indexed("lblStatus", 9), 4430, 240, 852, 252);
    lblTitle[0] = NewLabel(down, Indexed("lblTitle", 0), 120, 912, 900, 225);
    rtbLog = new QTextEdit(down);
    rtbLog->setObjectName(QStringLiteral("rtbLog"));
    rtbLog->setReadOnly(true);
    rtbLog->setAcceptRichText(false);
    // Long lines (a database path, a port's error) wrap at the pane's width,
    // between words or, in Japanese, between any two characters, so every
    // line reads whole without a sideways scroll.
    rtbLog->setLineWrapMode(QTextEdit::WidgetWidth);
    rtbLog->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    MoveTwips(rtbLog, 120, 1257, 5400, 4000);
    chkAutoLoad[0] = NewCheck(fraDown(1), Indexed("chkAutoLoad", 0), 120, 240, 3560, 170);
    chkAutoLoad[1] = NewCheck(fraDown(1), Indexed("chkAutoLoad", 1), 120, 470, 3560, 170);
    for (int i = 0; i < cmdDown.Count(); ++i) {
        cmdDown[i] = NewButton(fraDown(2), Indexed("cmdDown", i), 120, 240 + i * 480, 3560, 372);
        cmdDown[i]->setProperty("Tag", QString());
    }
    // Alarm events, trouble events and Initialize are hidden by design.
    cmdDown(4)->setVisible(false);
    cmdDown(5)->setVisible(false);
    cmdDown(9)->setVisible(false);
    fraDown3Ceneter = NewFrame(fraDown(3), QStringLiteral("fraDown3Ceneter"), 172, 552, 5055, 1095);
    // Identity rows: captions 2..4 with values 5..7, then the suffix row.
    for (int r = 0; r < 3; ++r) {
        lblStatus[2 + r] = NewLabel(fraDown3Ceneter, Indexed("lblStatus", 2 + r), 0, r * 270, 2700, 252);
        lblStatus[5 + r] = NewLabel(fraDown3Ceneter, Indexed("lblStatus", 5 + r), 2760, r * 270, 2295, 252);
        lblStatus[5 + r]->setFrameShape(QFrame::Panel);
        lblStatus[5 + r]->setFrameShadow(QFrame::Sunken);
    }
    lblStatus[10] = NewLabel(fraDown3Ceneter, Indexed("lblStatus", 10), 0, 0, 0, 0);
    lblStatus[10]->setVisible(false);
    lblStatus[11] = NewLabel(fraDown3Ceneter, Indexed("lblStatus", 11), 0, 810, 2700, 252);
    txtSuffix = NewEdit(fraDown3Ceneter, QStringLiteral("txtSuffix"), 2760, 800, 2295, 285);
    picOptionToHalvane = NewLabel(fraDown(3), QStringLiteral("picOptionToHalvane"), 172, 1647, 5055, 615);
    picOptionToHalvane->setVisible(false);
}

void DownloadPanel::ConnectHandlers()
{
    QvifPort* port = m_state.uclQvport;
    // OnConnect starts requests of its own (the automatic mode): it must run
    // from the event loop, never inside the control's receive path, or the
    // answers to those requests are never read.
    connect(port, &QvifPort::OnConnect, this, &DownloadPanel::uclQvport_OnConnect, Qt::QueuedConnection);
    connect(port, &QvifPort::Densty, this, &DownloadPanel::uclQvport_Densty);
    connect(port, &QvifPort::ConnectRetry, this, &DownloadPanel::uclQvport_ConnectRetry);
    connect(port, &QvifPort::InstMessage, this, &DownloadPanel::uclQvport_InstMessage);
    connect(port, &QvifPort::InterMessage, this, &DownloadPanel::uclQvport_InterMessage);
    connect(port, &QvifPort::AlarmMessage, this, &DownloadPanel::uclQvport_AlarmMessage);
    connect(port, &QvifPort::DumpMessage, this, &DownloadPanel::uclQvport_DumpMessage);
    connect(port, &QvifPort::OnDisconnect, this, &DownloadPanel::uclQvport_OnDisconnect);
    connect(port, &QvifPort::IrDAError, this, &DownloadPanel::uclQvport_IrDAError);
    connect(port, &QvifPort::StsTransmit, this, &DownloadPanel::uclQvport_StsTransmit);
    connect(port, &QvifPort::StsIdle, this, &DownloadPanel::uclQvport_StsIdle);
    connect(port, &QvifPort::PortLost, this, &DownloadPanel::uclQvport_PortLost);

    for (int i = 0; i < cmdDown.Count(); ++i)
        connect(cmdDown(i), &QPushButton::clicked, this, [this, i] { cmdDown_Click(i); });
    // Every change of a box counts, also one made in code (the handler
    // ignores them while AutoLoadClickOn is off).
    for (int i = 0; i < chkAutoLoad.Count(); ++i)
        connect(chkAutoLoad(i), &QCheckBox::toggled, this, [this, i] { chkAutoLoad_Click(i); });

    // The pane's lines wrap at its width, so a resize changes how tall they
    // stand: a pane at its newest line is kept there, one the user scrolled
    // up is left where it is.
    QScrollBar* bar = rtbLog->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { m_logFollows = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_logFollows)
            bar->setValue(maximum);
    });
}

frmUpload& DownloadPanel::UploadForm()
{
    if (!m_upload) {
        m_upload = new frmUpload(m_frame->window());
        m_upload->SetControl(m_state.uclQvport);
    }
    return *m_upload;
}

// ---- control events -------------------------------------------------------

void DownloadPanel::uclQvport_OnConnect()
{
    if (!m_state.uclQvport->Connected())
        return;
    if (AutomaticModeRunning) {
        // The link came back while a run waits: that run goes on alone.
        m_state.uclQvport->AddLog(GetResString(5777));
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
        m_host.SetSettingsCommandEnabled(0, true);
        m_host.SetSettingsCommandEnabled(1, true);
    } else {
        RunAutomaticMode();
        // The run switched the instrument off: the settings commands are
        // offered only while one is still connected.
        const bool connected = m_state.uclQvport->Connected();
        m_host.SetSettingsCommandEnabled(0, connected);
        m_host.SetSettingsCommandEnabled(1, connected);
    }
}

void DownloadPanel::uclQvport_Densty(float Value1, float Value2)
{
    clsInstrument& inst = m_state.MainInstrument();
    m_state.LiveValues[0] = inst.GasEnabled(0) ? Value1 : -101.0f;
    m_state.LiveValues[1] = inst.GasEnabled(1) ? Value2 : -101.0f;
    if (m_state.LiveValuesOn)
        m_host.ShowADValues();
}

void DownloadPanel::uclQvport_ConnectRetry(int RetryCount)
{
    AddLogText(GetResString(5412, RetryCount), LogColor::Progress);
}

void DownloadPanel::uclQvport_InstMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void DownloadPanel::uclQvport_InterMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void DownloadPanel::uclQvport_AlarmMessage(const QString& MessageString)
{
    AddLogText(MessageString, LogColor::Control);
}

void DownloadPanel::uclQvport_DumpMessage(const QString& MessageString)
{
    UploadForm().SetLabel(MessageString);
}

void DownloadPanel::uclQvport_OnDisconnect()
{
    // The port stays open when only the instrument went away; a lost port
    // is shown by uclQvport_PortLost, which follows.
    if (m_state.uclQvport->PortOpen())
        shpStatus(0)->SetColors(LampOnColor);
    shpStatus(1)->SetColors(LampOffColor);
    ResetDownloadControls();
    // A request still waiting for an answer ends as failed.
    m_state.uclQvport->SetStatus(7);
}

void DownloadPanel::uclQvport_IrDAError(int ErrorNumber)
{
    if (ErrorNumber != 10048 && ErrorNumber != 10060)
        return;
    AddLogText(GetResString(5371), LogColor::Failure);
    shpStatus(0)->SetColors(LampErrorColor);
    shpStatus(1)->SetColors(LampOffColor);
    MsgBox(GetResString(5371), MsgButtons::Ok, MsgIcon::None, GetResString(5372));
}

void DownloadPanel::uclQvport_PortLost(const QString& device, const QString& reason)
{
    AddLogText(GetResString(5773, device, reason), LogColor::Failure);
    shpStatus(0)->SetColors(LampErrorColor);
    shpStatus(1)->SetColors(LampOffColor);
    ResetDownloadControls();
}

void DownloadPanel::ShowPortLamp(bool converterFound, bool openFailed)
{
    if (!converterFound)
        shpStatus(0)->SetColors(LampOffColor);
    else if (m_state.uclQvport->PortOpen())
        shpStatus(0)->SetColors(LampOnColor);
    else
        shpStatus(0)->SetColors(openFailed ? LampErrorColor : LampOffColor);
}

void DownloadPanel::ShowAutoLoadModes()
{
    const AppState& app = App();
    // Changes made here are no clicks: no question, no variable changes.
    const bool clickOn = AutoLoadClickOn;
    AutoLoadClickOn = false;
    chkAutoLoad(0)->setChecked(app.AutoLoad);
    chkAutoLoad(1)->setChecked(app.AutoRemoveData);
    if (chkAutoLoad(0)->isEnabled())
        chkAutoLoad(1)->setEnabled(app.AutoLoad);
    AutoLoadClickOn = clickOn;
}

void DownloadPanel::uclQvport_StsTransmit()
{
    shpStatus(1)->SetColors(LampOnColor);
}

void DownloadPanel::uclQvport_StsIdle()
{
    shpStatus(1)->SetColors(LampOffColor);
}

// ---- download panel -------------------------------------------------------

void DownloadPanel::ShowDownloadPanel()
{
    QGroupBox* panel = m_frame;
    const PanelFocus keepFocus(panel);
    const bool wasShown = !panel->isHidden();
    panel->setVisible(false);

    const std::int32_t status = m_state.uclQvport->Status();
    clsInstrument& inst = m_state.MainInstrument();
    const bool blank = !m_state.ShowSampleInstrument && (status == 0 || status == 1 || inst.CommFlags() == 0);
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

void DownloadPanel::ResetDownloadControls()
{
    for (QPushButton* b : cmdDown)
        b->setEnabled(false);
    m_host.SetSettingsCommandEnabled(0, false);
    AutoLoadClickOn = false;
    shpStatus(2)->setVisible(false);
    shpStatus(3)->setVisible(false);
    lblStatus(8)->setVisible(false);
    lblStatus(9)->setVisible(false);
}
