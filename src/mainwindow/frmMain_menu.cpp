// The menu column, and what the panels ask of the window: refilling the
// instrument panels, the live readings, the locking of the window's own
// controls around a command, and the reset after a power-off.

#include "mainwindow/frmMain.h"

#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/settingsfile.h"
#include "download/download_panel.h"
#include "download/download_support.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTreeWidget>

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
        m_download->ShowDownloadPanel();
        m_state.uclQvport->SetEnabled(true);
        break;
    case 1:
        m_instrument->ShowInstrumentInfo();
        break;
    case 2:
        cmdInst(2)->setEnabled(false);
        m_data->BuildLogTree();
        m_data->ShowDataPanel();
        cmdInst(2)->setEnabled(true);
        break;
    case 3:
        m_lastCal->FillHistoryGrid();
        break;
    case 4:
        m_settings->ShowSettingsPanel();
        m_state.uclQvport->SetEnabled(true);
        break;
    }

    static constexpr int kPanelOf[] = {0, 1, 2, 4, 5};
    ShowPanelFrame(kPanelOf[Index]);
    fraMenu(kPanelOf[Index])->repaint();
    if (Index == 2)
        m_data->lvwLog->setFocus();
    Form_Resize();
}

void frmMain::ShowPanelFrame(int index)
{
    for (int i = 0; i < fraMenu.Count(); ++i)
        if (i != index)
            fraMenu(i)->setVisible(false);
    fraMenu(index)->setVisible(true);
}

void frmMain::RefreshCurrentPanel()
{
    int visible = 0;
    for (int i = 0; i < fraMenu.Count(); ++i)
        if (!fraMenu(i)->isHidden())
            visible = i;

    clsInstrument& inst = m_state.MainInstrument();
    for (int g = 0; g < 2; ++g)
        if (App().GasLocked[static_cast<size_t>(g)] && !inst.GasEnabled(g))
            inst.SetGasEnabled(g, true);

    m_download->ShowDownloadPanel();
    m_instrument->ShowInstrumentInfo();
    m_settings->ShowSettingsPanel();
    fraMenu(visible)->repaint();
}

void frmMain::ShowADValues()
{
    m_settings->ShowADValues();
}

void frmMain::SetSettingsCommandEnabled(int index, bool enabled)
{
    m_settings->cmdOption(index)->setEnabled(enabled);
}

void frmMain::LockShellCommands()
{
    SaveAndDisable(cmdInst(4));
    SaveAndDisable(fraMenu(5));
}

void frmMain::RestoreShellCommands()
{
    RestoreFromTag(cmdInst(4));
    RestoreFromTag(fraMenu(5));
}

void frmMain::UnlockShellCommands()
{
    cmdInst(4)->setEnabled(true);
    RestoreFromTag(fraMenu(5));
}

void frmMain::SetExitEnabled(bool enabled)
{
    cmdInst(5)->setEnabled(enabled);
}

void frmMain::SetMenuEnabled(bool enabled)
{
    for (QPushButton* b : cmdInst)
        b->setEnabled(enabled);
}

void frmMain::LayoutWindow()
{
    Form_Resize();
}

void frmMain::ReloadDefaultsAndSettings(bool keepSession)
{
    const QByteArray session = keepSession ? SettingsText() : QByteArray();
    InitDefaults();
    if (keepSession)
        ReadSettingsText(session);
    else
        ReadSettings();
    m_download->ShowAutoLoadModes();
    ShowFontAndColorButtons();
    ApplyDisplayFont();
}

void frmMain::ActivateAgain()
{
    m_state.StartupPending = true;
    Form_Activate();
}
