// Stand-ins for the panels that the stored-data browser and the settings
// subsystem fill. Each does the least its callers need, so the window starts
// and switches panels; the owning subsystem replaces this file's functions
// with its own (one file each) and deletes them here.

#include "mainwindow/frmMain.h"

#include <QTreeWidget>

void frmMain::BuildLogTree()
{
    if (TreeRefreshNeeded) {
        tvwLog->clear();
        TreeRefreshNeeded = false;
    }
    tvwLog->update();
}

void frmMain::ShowDataPanel() {}
void frmMain::FillHistoryGrid() {}
void frmMain::ShowInstrumentInfo() {}
void frmMain::ShowSettingsPanel() {}
void frmMain::ShowADValues() {}
void frmMain::RefreshSettingsClock() {}
