#pragma once
// The main window: the frame that holds the menu column (cmdInst) and the
// six panel frames (fraMenu), each filled by its subsystem's panel object.
// The window creates the panels, hands them the shared state and itself as
// their host, and reaches their controls through them for captions, layout
// and the menu.
//
// The implementation is split by concern, one file each:
//   frmMain_controls.cpp   the frame's controls, the panels, twips helpers
//   frmMain_startup.cpp    initialisation, loading, activation, port, serial logs,
//                          window size/state for the settings file
//   frmMain_defaults.cpp   InitDefaults
//   frmMain_captions.cpp   LoadCaptions
//   frmMain_layout.cpp     Form_Resize
//   frmMain_menu.cpp       the menu column and the requests of the panels
//   frmMain_shutdown.cpp   closing the window

#include "common/settings_targets.h"
#include "common/widgets/control_array.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QSizeF>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

class QGroupBox;
class QPushButton;
class QTimer;

class QvifPort;
class DownloadPanel;
class InstrumentPanel;
class DataPanel;
class ViewPanel;
class LastCalPanel;
class SettingsPanel;

class frmMain : public QWidget, public WindowSettingsTarget, public PanelHost {
    Q_OBJECT
public:
    // port: the interface control the window talks to. Null makes the window
    // create the real control (uclQvif, owned by the window); tests pass a
    // scripted one (not owned then).
    explicit frmMain(QvifPort* port = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- start-up (frmMain_startup.cpp) ----
    // Sets CommSettings; runs from the constructor.
    void Form_Initialize();
    // The start-up sequence: database, defaults, settings, fonts, captions,
    // port, size and position, serial logs, file numbers, suffix.
    void Form_Load();
    // First activation after loading (or after the reset that follows a
    // power-off; State().StartupPending says it is still to come) shows the
    // download panel and writes the standby line; every activation lays the
    // window out.
    void Form_Activate();
    // Looks up the USB-serial converter and opens the port of the control
    // (the IrDA transport without a converter).
    void OpenUsbSerialPort() override;
    // While no port is open and nothing runs, looks for the converter again
    // (tmrPortSearch, every two seconds) and opens its port when it is back;
    // the control then probes for the instrument as at start-up. True when
    // a port was opened.
    bool SearchForPort();
    // Each run starts an empty serial log: with the serial-log setting on,
    // the logs of earlier runs move up one generation first; a SerialLog.log
    // still there is then deleted (kept when it could not be moved aside).
    void StartSerialLog();
    // Moves SerialLog.log and its numbered generations up by one. False when
    // a file that had to move could not be moved (it is left in place and
    // the failure is written to the log pane).
    bool RotateSerialLogs();
    // Smallest outer size of the window, in twips.
    static constexpr double kMinWindowWidth = 11640;
    static constexpr double kMinWindowHeight = 8250;
    // Window size in twips for the first run on a screen of the given size
    // in twips: 0.8 x the width and 0.6 x the height, never below the
    // smallest size.
    static QSizeF FirstRunSize(double screenWidthTwips, double screenHeightTwips);
    // The font button's caption and the colour buttons' back colours from
    // DisplayFont and GraphColor.
    void ShowFontAndColorButtons();
    // DisplayFont onto every control; the panel frames' captions in bold.
    void ApplyDisplayFont();

    // ---- defaults (frmMain_defaults.cpp) ----
    void InitDefaults();

    // ---- captions and layout (frmMain_captions.cpp, frmMain_layout.cpp) ----
    void LoadCaptions();
    void Form_Resize();

    // The 100 ms tick: raises InterTicks, then refreshes the settings clock.
    void tmrInter_Timer();

    // ---- menu and the panels' requests (frmMain_menu.cpp) ----
    // Menu: fills and shows a panel (0..4), or closes the window (5).
    void cmdInst_Click(int Index);
    // PanelHost
    void RefreshCurrentPanel() override;
    void ShowADValues() override;
    void SetSettingsCommandEnabled(int index, bool enabled) override;
    void LockShellCommands() override;
    void RestoreShellCommands() override;
    void UnlockShellCommands() override;
    void SetExitEnabled(bool enabled) override;
    void SetMenuEnabled(bool enabled) override;
    void LayoutWindow() override;
    // Copies the display font and the graph colours from the option buttons
    // and rewrites the settings file. Empty, or the text of the failure.
    QString SaveAppSettings() override;
    void ReloadDefaultsAndSettings(bool keepSession) override;
    void ActivateAgain() override;

    // The state the panels share, and the panels.
    SharedState& State() { return m_state; }
    DownloadPanel& Download() const { return *m_download; }
    InstrumentPanel& Instrument() const { return *m_instrument; }
    DataPanel& Data() const { return *m_data; }
    ViewPanel& View() const { return *m_view; }
    LastCalPanel& LastCal() const { return *m_lastCal; }
    SettingsPanel& Settings() const { return *m_settings; }

    // True once a close of the window has been accepted; waits stop then.
    bool IsClosing() const { return m_closing; }
    void SetClosing(bool closing);

    // ---- shutdown (frmMain_shutdown.cpp) ----
    // A close request: true refuses it (the window stays).
    bool Form_QueryUnload();
    // The accepted close: stops the control and saves the settings.
    void Form_Unload();

    // ---- WindowSettingsTarget (sizes in twips) ----
    int WindowState() const override;
    void SetWindowState(int state) override;
    int WindowWidth() const override;
    void SetWindowWidth(int twips) override;
    int WindowHeight() const override;
    void SetWindowHeight(int twips) override;
    int ChkLog(int index) const override;
    void SetChkLog(int index, int value) override;

    // ---- twips helpers (frmMain_controls.cpp) ----
    // Pixels for a length in twips at this window's logical DPI, and back.
    int Px(double twips) const;
    double Twips(int pixels) const;
    // Client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // ================= controls =================
    QTimer* tmrInter = nullptr;
    // Runs SearchForPort every two seconds.
    QTimer* tmrPortSearch = nullptr;

    // Menu column and panel frames
    ControlArray<QPushButton, 6> cmdInst;
    ControlArray<QGroupBox, 6> fraMenu;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    // Makes fraMenu(index) the one visible panel. The panel that stays shown
    // is never hidden on the way, so a control in it keeps the focus.
    void ShowPanelFrame(int index);
    void ApplyPendingWindowState();
    // Deletes a file in the program's folder and waits (bounded) until it is
    // gone; a file that stays is reported in the log pane. yield: serve the
    // event loop while waiting.
    bool DeleteProgramFile(const QString& name, bool yield);
    // Opens the control's serial port on the converter's device; false
    // when it stays closed.
    bool OpenSerialPort();
    // The last search opened nothing though a converter was there (its
    // failure is written once, not every two seconds).
    bool m_portSearchFailed = false;

    SharedState m_state;
    std::unique_ptr<DownloadPanel> m_download;
    std::unique_ptr<InstrumentPanel> m_instrument;
    std::unique_ptr<DataPanel> m_data;
    std::unique_ptr<ViewPanel> m_view;
    std::unique_ptr<LastCalPanel> m_lastCal;
    std::unique_ptr<SettingsPanel> m_settings;
    bool m_closing = false;
    bool m_shownOnce = false;
    int m_pendingState = -1;
};
