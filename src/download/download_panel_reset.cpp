// The reset after the instrument was switched off: the window returns to
// its start-up state, ready for the next instrument.

#include "download/download_panel.h"

#include "common/appstate.h"
#include "common/resstrings.h"
#include "download/download_support.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QCheckBox>

void DownloadPanel::ResetAfterPowerOff()
{
    AddLogText(GetResString(5407), LogColor::Progress);
    m_state.MainInstrument().SetCommFlags(0);
    // A settings file that cannot be written (a full disk) is reported
    // (after the pane is emptied by the defaults, so the report stays); the
    // reset goes on. The file then still holds the settings of before: the
    // session keeps its own (font, colours, modes, password, ...) instead,
    // and the shutdown writes them again.
    const QString saveError = m_host.SaveAppSettings();
    m_host.ReloadDefaultsAndSettings(!saveError.isEmpty());
    ShowDownloadPanel();
    EnableAutoLoadBoxes();
    if (!saveError.isEmpty()) {
        AddLogText(saveError, LogColor::Failure);
        AddLogText(GetResString(5783), LogColor::Failure);
        m_state.uclQvport->AddLog(saveError);
    }
    m_host.ActivateAgain();
    m_host.OpenUsbSerialPort();
}
