// The commands of the download panel: complete download, single downloads,
// clearing the logger, power off, initialise, information get and save; the
// locking of the controls around them, the clock check, and the settings
// audit log.

#include "download/download_panel.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/panel_focus.h"
#include "download/audit_log.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QCheckBox>
#include <QDebug>
#include <QGroupBox>
#include <QPushButton>

#include <cmath>
#include <utility>

namespace {

bool AskYesNo(int textId, int titleId)
{
    return MsgBox(GetResString(textId), MsgButtons::YesNo, MsgIcon::Question, GetResString(titleId), 1)
        == MsgResult::Yes;
}

// The configured instrument (the gas set-up of the settings file) as an
// instrument object, and back.
clsInstrument CurrentInstrumentObject()
{
    clsInstrument inst;
    for (int g = 0; g < 2; ++g) {
        const GasSetting& s = App().CurrentGas[static_cast<size_t>(g)];
        inst.SetGasName(g, s.Name);
        inst.SetGasEnabled(g, s.Enabled);
        inst.SetGasPoint(g, s.Point);
        inst.SetGasUnit(g, s.Unit);
        inst.SetWarning(g, s.Warning);
        inst.SetAlarm(g, s.Alarm);
        inst.SetStel(g, s.Stel);
        inst.SetTwa(g, s.Twa);
        inst.SetGasDesit(g, s.Desit);
        inst.SetGasFullScale(g, s.FullScale);
        inst.SetAutoCalib(g, s.AutoCalib);
    }
    return inst;
}

void StoreCurrentInstrument(const clsInstrument& inst)
{
    for (int g = 0; g < 2; ++g) {
        GasSetting& s = App().CurrentGas[static_cast<size_t>(g)];
        s.Name = inst.GasName(g);
        s.Enabled = inst.GasEnabled(g);
        s.Point = inst.GasPoint(g);
        s.Unit = inst.GasUnit(g);
        s.Warning = inst.Warning(g);
        s.Alarm = inst.Alarm(g);
        s.Stel = inst.Stel(g);
        s.Twa = inst.Twa(g);
        s.Desit = inst.GasDesit(g);
        s.FullScale = inst.GasFullScale(g);
        s.AutoCalib = inst.AutoCalib(g);
    }
}

} // namespace

// ---- building blocks --------------------------------------------------------

void DownloadPanel::LockCommands()
{
    // Every control that starts a request is disabled, so no second request
    // can start on the control while this one waits: the Set button, the
    // download buttons, the automatic-mode boxes and the settings panel.
    QWidget* window = m_frame->window();
    QWidget* focus = window->focusWidget();
    m_host.LockShellCommands();
    for (QPushButton* b : cmdDown)
        SaveAndDisable(b);
    for (QCheckBox* c : chkAutoLoad)
        c->setEnabled(false);
    // Disabling the control that had the focus passed the focus on to the
    // next control that takes it, often in the menu column, where a key
    // pressed during the command would act. It waits on the window instead.
    if (focus && focus != window && !focus->isEnabled() && !m_focusBeforeLock) {
        m_focusBeforeLock = focus;
        ParkFocus(window);
    }
}

void DownloadPanel::GiveLockedFocusBack()
{
    const QPointer<QWidget> had = std::exchange(m_focusBeforeLock, nullptr);
    // Focus the user has moved on during the command stays where it is.
    if (!had || !FocusParked(had->window()))
        return;
    GiveFocusBack(had);
    // A control the command leaves disabled (the instrument is off) takes
    // the focus back once it is enabled again; meanwhile the focus waits on
    // the first control of its panel.
    if (!CanHoldFocus(had))
        new FocusReturn(had);
}

void DownloadPanel::EnableAutoLoadBoxes()
{
    chkAutoLoad(0)->setEnabled(true);
    chkAutoLoad(1)->setEnabled(chkAutoLoad(0)->isChecked());
}

void DownloadPanel::RestoreCommands()
{
    m_host.RestoreShellCommands();
    for (QPushButton* b : cmdDown)
        RestoreFromTag(b);
    EnableAutoLoadBoxes();
    GiveLockedFocusBack();
}

void DownloadPanel::UnlockCommands()
{
    m_host.UnlockShellCommands();
    for (QPushButton* b : cmdDown)
        b->setEnabled(true);
    EnableAutoLoadBoxes();
    GiveLockedFocusBack();
}

void DownloadPanel::ClockCheck()
{
    if (std::fabs(m_state.MainInstrument().SysDateOffset()) > 1.0)
        AddLogText(GetResString(5591), LogColor::Failure);
}

bool DownloadPanel::deviceUpdateLog(clsInstrument& instrument)
{
    QString error;
    if (AppendSettingsAudit(instrument, App().FactoryRecordSuffix, Now(), &error))
        return true;
    qWarning() << "settings audit log not written:" << error;
    const QString text = GetResString(5961, error);
    AddLogText(text, LogColor::Failure);
    m_state.uclQvport->AddLog(text);
    return false;
}

// ---- the commands -----------------------------------------------------------

void DownloadPanel::cmdDown_Click(int Index)
{
    AppState& app = App();
    QvifPort* port = m_state.uclQvport;
    frmUpload& upload = UploadForm();

    switch (Index) {
    case 0: { // complete download
        LockCommands();
        app.ProcessState = 5;
        upload.SetCaption(GetResString(6056));
        upload.ShowWindow();
        port->AddLog(GetResString(5554, DateText()));

        // Each step runs only while the ones before it succeeded and Cancel
        // was not pressed; a cancelled download ends like a finished one in
        // the serial log, but the controls get their states back.
        bool success = true;
        auto run = [&](bool wanted, auto step) {
            if (wanted && success && !upload.Canceled())
                success = step();
        };
        run(true, [this] { return DownloadInstrumentInfo(); });
        run(true, [this] { return DownloadIntervalTrend(); });
        run(true, [this] { return DownloadAlarmTrend(); });
        run(app.ServiceMode, [this] { return DownloadPowerEvents(); });
        const bool cancelled = upload.Canceled();
        if (cancelled || success) {
            port->AddLog(GetResString(5555, DateText()));
            m_state.TreeRefreshNeeded = true;
        }
        if (success && !cancelled)
            UnlockCommands();
        else
            RestoreCommands();
        upload.Unload();
        app.ProcessState = 0;
        ClockCheck();
        return;
    }
    case 1:
    case 10: { // instrument information (and the audit log)
        LockCommands();
        upload.SetCaption(GetResString(6056));
        upload.ShowWindow();
        if (DownloadInstrumentInfo()) {
            UnlockCommands();
            if (Index == 10)
                deviceUpdateLog(m_state.MainInstrument());
        } else {
            RestoreCommands();
        }
        upload.Unload();
        ClockCheck();
        return;
    }
    case 2:
    case 3:
    case 6: { // one log download
        LockCommands();
        app.ProcessState = 1;
        upload.SetCaption(GetResString(6056));
        upload.ShowWindow();
        if (Index == 2)
            DownloadIntervalTrend();
        else if (Index == 3)
            DownloadAlarmTrend();
        else
            DownloadPowerEvents();
        RestoreCommands();
        upload.Unload();
        app.ProcessState = 0;
        ClockCheck();
        return;
    }
    case 7: { // clear the logger
        LockCommands();
        if (!AskYesNo(5343, 5344)) {
            RestoreCommands();
            return;
        }
        if (!port->Connected()) {
            AddLogText(GetResString(5436), LogColor::Failure);
            port->AddLog(GetResString(5559));
        } else {
            AddLogText(GetResString(5433), LogColor::Progress);
            if (port->BodyDataClear()) {
                AddLogText(GetResString(5434), LogColor::Progress);
            } else {
                // A failed clear is always shown as failed.
                AddLogText(GetResString(5435), LogColor::Failure);
                port->AddLog(GetResString(5559));
            }
        }
        RestoreCommands();
        ClockCheck();
        return;
    }
    case 8: { // power off
        LockCommands();
        if (!AskYesNo(5347, 5348)) {
            RestoreCommands();
            return;
        }
        if (!port->Connected()) {
            AddLogText(GetResString(5409), LogColor::Failure);
            RestoreCommands();
            ClockCheck();
            return;
        }
        m_host.SetExitEnabled(false);
        AddLogText(GetResString(5406), LogColor::Progress);
        port->BodyPowerOff();
        ResetAfterPowerOff();
        // The download buttons stay as the reset left them (disabled until
        // the next instrument connects).
        m_host.RestoreShellCommands();
        m_host.SetExitEnabled(true);
        GiveLockedFocusBack();
        ClockCheck();
        return;
    }
    case 9: { // initialise
        LockCommands();
        if (!AskYesNo(5363, 5364)) {
            RestoreCommands();
            ClockCheck();
            return;
        }
        upload.ShowWindow();
        upload.SetCaption(GetResString(6057));
        upload.SetLabel(GetResString(6001));
        bool ok = false;
        if (port->Connected()) {
            AddLogText(GetResString(5428), LogColor::Progress);
            clsInstrument current = CurrentInstrumentObject();
            ok = port->SetInitValue(&current);
            StoreCurrentInstrument(current);
        }
        // Success is reported only when the initialisation succeeded.
        if (ok)
            AddLogText(GetResString(5429), LogColor::Progress);
        else
            AddLogText(GetResString(5430), LogColor::Failure);
        upload.Unload();
        MsgBox(GetResString(ok ? 5311 : 5313), MsgButtons::Ok, MsgIcon::Information, GetResString(5312));
        RestoreCommands();
        ClockCheck();
        return;
    }
    default: // 4, 5 and any other index: only the clock check
        ClockCheck();
        return;
    }
}
