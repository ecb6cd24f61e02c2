#pragma once
// A panel host that does nothing: for panels tested outside the main window.
// It counts the layout requests: the data panel makes one for every
// property grid it shows, so a test sees how often a pick was handled.
#include "shared/panel_host.h"

class NullPanelHost final : public PanelHost {
public:
    void RefreshCurrentPanel() override {}
    void ShowADValues() override {}
    void SetSettingsCommandEnabled(int, bool) override {}
    void LockShellCommands() override {}
    void RestoreShellCommands() override {}
    void UnlockShellCommands() override {}
    void SetExitEnabled(bool) override {}
    void SetMenuEnabled(bool) override {}
    void LayoutWindow() override { ++layoutRequests; }
    QString SaveAppSettings() override { return {}; }
    void ReloadDefaultsAndSettings(bool) override {}
    void ActivateAgain() override {}
    void OpenUsbSerialPort() override {}

    int layoutRequests = 0;
};
