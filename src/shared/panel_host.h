#pragma once
// What a panel asks of the window that holds it. The main window implements
// this; a panel never knows the window's class. Requests that reach another
// panel (refilling the instrument panels, the live readings) go through here
// too, so a panel needs no link to the panels above it.

#include <QString>

class PanelHost {
public:
    virtual ~PanelHost() = default;

    // After a new information read: the download, instrument information
    // and settings panels show the instrument again.
    virtual void RefreshCurrentPanel() = 0;
    // A new live reading arrived while LiveValuesOn is set.
    virtual void ShowADValues() = 0;
    // Enables or disables one of the settings panel's command buttons
    // (0 Get, 1 Set) as the connection comes and goes.
    virtual void SetSettingsCommandEnabled(int index, bool enabled) = 0;

    // Around a command, the window's controls that start requests (the Set
    // menu button and the settings panel): lock them keeping their enabled
    // states, give the states back, or enable the Set button after a
    // successful information read.
    virtual void LockShellCommands() = 0;
    virtual void RestoreShellCommands() = 0;
    virtual void UnlockShellCommands() = 0;
    // The Exit menu button, disabled while the instrument switches off.
    virtual void SetExitEnabled(bool enabled) = 0;
    // Every main-menu button, disabled while the calibration frame is open.
    virtual void SetMenuEnabled(bool enabled) = 0;
    // Lays the window out again after a panel showed or hid a frame.
    virtual void LayoutWindow() = 0;

    // The reset after a power-off, in its order: save the settings (empty,
    // or the text of the failure), the defaults and the settings again with
    // the display font, the first activation again, and the port. The
    // settings come again from the settings file, or, with keepSession
    // (after a save that failed, when the file still holds the settings of
    // before), from those in use, as the file would have held them.
    virtual QString SaveAppSettings() = 0;
    virtual void ReloadDefaultsAndSettings(bool keepSession) = 0;
    virtual void ActivateAgain() = 0;
    virtual void OpenUsbSerialPort() = 0;
};
