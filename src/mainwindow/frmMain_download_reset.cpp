// The reset after the instrument was switched off: the window returns to
// its start-up state, ready for the next instrument.

#include "mainwindow/frmMain.h"

#include "common/resstrings.h"
#include "common/settingsfile.h"
#include "download/download_support.h"
#include "records/instrument.h"

#include <QCheckBox>

void frmMain::ResetAfterPowerOff()
{
    AddLogText(GetResString(5407), LogColor::Progress);
    MainInstrument().SetCommFlags(0);
    // A settings file that cannot be written is reported (after the pane is
    // emptied below, so the report stays); the reset goes on.
    const QString saveError = SaveAppSettings();
    InitDefaults();
    ReadSettings();
    ShowFontAndColorButtons();
    ApplyDisplayFont();
    ShowDownloadPanel();
    ActivatePending = true;
    EnableAutoLoadBoxes();
    if (!saveError.isEmpty())
        AddLogText(saveError, LogColor::Failure);
    Form_Activate();
    OpenUsbSerialPort();
}
