// The automatic mode: an instrument that connects while it is on is
// downloaded, optionally cleared and switched off without a click; and the
// two check boxes that switch it on and off.

#include "download/download_panel.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/wait.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

namespace {

// A wait never outlasts this, even when the clock timer stopped.
constexpr int kTwoSecondWaitLimitMs = 10000;

} // namespace

void DownloadPanel::WaitTwoSeconds()
{
    m_state.InterTicks = 0;
    WaitYielding([this] { return m_state.InterTicks >= 20; }, kTwoSecondWaitLimitMs);
}

void DownloadPanel::RunAutomaticMode()
{
    AppState& app = App();
    QvifPort* port = m_state.uclQvport;
    frmUpload& upload = UploadForm();

    // The run counts as busy: the close request is refused and no other
    // request can start (the Set button, the download buttons and the
    // settings panel are locked along with the check boxes).
    AutomaticModeRunning = true;
    LockCommands();

    app.ProcessState = 6;
    upload.ShowWindow();
    AddLogText(GetResString(5401), LogColor::AutoStart);
    port->AddLog(GetResString(5501, DateText()));

    bool ok = true;
    auto step = [&](bool run, const auto& download) {
        if (ok && run)
            ok = download();
        if (upload.Canceled())
            ok = false;
    };
    step(true, [this] { return DownloadInstrumentInfo(); });
    step(true, [this] { return DownloadIntervalTrend(); });
    step(true, [this] { return DownloadAlarmTrend(); });
    step(app.ServiceMode, [this] { return DownloadPowerEvents(); });
    if (port->Status() == 7)
        ok = false;

    // The logger is cleared only when every step succeeded and every record
    // is in the database; a Cancel pressed during the wait still counts.
    bool dataKept = false;
    if (ok && app.AutoRemoveData)
        WaitTwoSeconds();
    if (upload.Canceled())
        ok = false;
    if (!ok && app.AutoRemoveData) {
        dataKept = true;
        port->AddLog(GetResString(5781));
    } else if (app.AutoRemoveData) {
        if (port->BodyDataClear()) {
            AddLogText(GetResString(5434), LogColor::Progress);
            port->AddLog(GetResString(5557));
        } else {
            // A failed removal is always shown as failed.
            AddLogText(GetResString(5435), LogColor::Failure);
            port->AddLog(GetResString(5558));
            ok = false;
        }
    }
    if (upload.Canceled())
        ok = false;

    WaitTwoSeconds();
    port->BodyPowerOff();
    ResetAfterPowerOff();

    // After the reset, which empties the pane, so the user sees it.
    if (dataKept)
        AddLogText(GetResString(5772), LogColor::Failure);

    if (ok) {
        AddLogText(GetResString(5410), LogColor::AutoEnd);
        port->AddLog(GetResString(5510, DateText()));
    } else {
        AddLogText(GetResString(5411), LogColor::Failure);
        port->AddLog(GetResString(5511, DateText()));
    }
    m_state.TreeRefreshNeeded = true;

    // The instrument is off: the download buttons stay as the reset left
    // them; the Set button and the settings panel get their state back.
    m_host.RestoreShellCommands();
    if (app.ProcessState == 6) {
        EnableAutoLoadBoxes();
        upload.Unload();
        app.ProcessState = 0;
    }
    GiveLockedFocusBack();
    AutomaticModeRunning = false;
}

void DownloadPanel::chkAutoLoad_Click(int Index)
{
    if (Index < 0 || Index > 1 || !AutoLoadClickOn)
        return;
    AutoLoadClickOn = false;
    AppState& app = App();
    const bool checked = chkAutoLoad(Index)->isChecked();
    auto ask = [](int textId, int titleId) {
        return MsgBox(GetResString(textId), MsgButtons::YesNo, MsgIcon::Question, GetResString(titleId))
            == MsgResult::Yes;
    };

    if (Index == 0 && checked) {
        if (ask(5303, 5304)) {
            app.AutoLoad = true;
            chkAutoLoad(1)->setEnabled(true);
        } else {
            app.AutoLoad = false;
            chkAutoLoad(1)->setEnabled(false);
            chkAutoLoad(0)->setChecked(false);
        }
    } else if (Index == 0) {
        if (ask(5305, 5306)) {
            app.AutoLoad = false;
            app.AutoRemoveData = false;
            chkAutoLoad(1)->setChecked(false);
            chkAutoLoad(1)->setEnabled(false);
        } else {
            app.AutoLoad = true;
            chkAutoLoad(1)->setEnabled(true);
            chkAutoLoad(0)->setChecked(true);
        }
    } else if (checked) {
        if (ask(5333, 5334)) {
            app.AutoRemoveData = true;
        } else {
            app.AutoRemoveData = false;
            chkAutoLoad(1)->setChecked(false);
        }
    } else {
        app.AutoRemoveData = false;
    }
    AutoLoadClickOn = true;
}
