#pragma once
// The download panel in fraMenu(0): the connection lamps, the log pane, the
// automatic-mode boxes, the download commands and the identity box; and the
// behaviour behind them: the interface control's events, the download
// steps, the commands, the automatic mode and the reset after a power-off.
//
// The implementation is split by concern:
//   download_panel.cpp           controls, the control's events, identity box
//   download_panel_logpane.cpp   AddLogText
//   download_panel_steps.cpp     interval and alarm downloads, serial-log archive
//   download_panel_info.cpp      information read, power events, converter values
//   download_panel_commands.cpp  the command buttons, locking around them
//   download_panel_auto.cpp      the automatic mode and its check boxes
//   download_panel_reset.cpp     the reset after a power-off

#include "common/widgets/control_array.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

class PanelHost;
class QvifPort;
class SharedState;
class ShapeLamp;
class clsInstrument;
class frmUpload;

class DownloadPanel : public QObject {
    Q_OBJECT
public:
    // Creates the panel's controls in frame and connects them and the
    // interface control's events (state.uclQvport, set by then) to their
    // handlers.
    DownloadPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~DownloadPanel() override;

    // ---- log pane ----
    // Appends text and a line break to rtbLog in the given colour
    // (a Windows colour number, see common/colors.h).
    void AddLogText(const QString& text, std::int32_t color);

    // No instrument: download commands disabled, the automatic-mode lamps hidden.
    void ResetDownloadControls();

    // The progress window (one object for the panel's lifetime).
    frmUpload& UploadForm();
    // Control events.
    void uclQvport_OnConnect();
    void uclQvport_Densty(float Value1, float Value2);
    void uclQvport_ConnectRetry(int RetryCount);
    void uclQvport_InstMessage(const QString& MessageString);
    void uclQvport_InterMessage(const QString& MessageString);
    void uclQvport_AlarmMessage(const QString& MessageString);
    void uclQvport_DumpMessage(const QString& MessageString);
    void uclQvport_OnDisconnect();
    void uclQvport_IrDAError(int ErrorNumber);
    void uclQvport_StsTransmit();
    void uclQvport_StsIdle();
    // The serial port was lost (the converter unplugged): a red line and the
    // error colour on the "Serial Port" lamp.
    void uclQvport_PortLost(const QString& device, const QString& reason);
    // The "Serial Port" lamp after an attempt to open the converter's port:
    // dark without a converter; lit while its port is open; the error colour
    // when opening it failed.
    void ShowPortLamp(bool converterFound, bool openFailed);
    // The automatic-mode boxes show AutoLoad and AutoRemoveData as they are
    // in force (after the settings file was read), without a question.
    void ShowAutoLoadModes();
    // The identity box.
    void ShowDownloadPanel();
    // Download steps; each returns true when its request succeeded.
    bool DownloadInstrumentInfo();
    bool DownloadIntervalTrend();
    bool DownloadAlarmTrend();
    bool DownloadPowerEvents();
    // Moves the serial log into ErrorLogs after a faulty record.
    void ArchiveSerialLog();
    // Service mode: the converter values on the log pane.
    void LogAdcValues();
    // The automatic download of a connecting instrument.
    void RunAutomaticMode();
    // The automatic-mode check boxes (0 automatic download, 1 data removal).
    void chkAutoLoad_Click(int Index);
    // True while the automatic mode runs (the window counts as busy).
    bool AutomaticModeRunning = false;
    // The command buttons.
    void cmdDown_Click(int Index);
    // Around a command: lock the controls that start a request (their
    // enabled states kept in their Tag), give the states back, or enable the
    // commands after a successful information read. A control that the lock
    // disabled while it had the keyboard focus gets the focus back after,
    // or, when the command leaves it disabled (a power-off), once it is
    // enabled again, unless the user has moved the focus meanwhile.
    void LockCommands();
    void RestoreCommands();
    void UnlockCommands();
    // chkAutoLoad(0) enabled; chkAutoLoad(1) enabled while (0) is ticked.
    void EnableAutoLoadBoxes();
    // A red line when the instrument's clock is more than a day off.
    void ClockCheck();
    // Two seconds of the clock timer (20 ticks), serving the event loop.
    void WaitTwoSeconds();
    // After the instrument was switched off: back to the start-up state.
    void ResetAfterPowerOff();
    // Appends the instrument's line to the settings audit log.
    bool deviceUpdateLog(clsInstrument& instrument);

    SharedState& State() const { return m_state; }
    // The panel's frame, fraMenu(0) of the window.
    QGroupBox* Frame() const { return m_frame; }

    // Lamp colours (fill, border), set by the start-up defaults.
    std::array<std::int32_t, 2> LampOnColor{};
    std::array<std::int32_t, 2> LampOffColor{};
    std::array<std::int32_t, 2> LampErrorColor{};
    // The automatic-mode boxes react to changes only while this is on.
    bool AutoLoadClickOn = false;

    // ================= controls =================
    ControlArray<QGroupBox, 4> fraDown;
    ControlArray<ShapeLamp, 4> shpStatus;
    ControlArray<QLabel, 12> lblStatus;
    // Only lblTitle(0) stands on this panel; lblTitle(1) is the data view's.
    ControlArray<QLabel, 2> lblTitle;
    QTextEdit* rtbLog = nullptr;
    ControlArray<QCheckBox, 2> chkAutoLoad;
    ControlArray<QPushButton, 11> cmdDown;
    QFrame* fraDown3Ceneter = nullptr;
    QLabel* picOptionToHalvane = nullptr;
    QLineEdit* txtSuffix = nullptr;

private:
    void CreateControls();
    void ConnectHandlers();
    void GiveLockedFocusBack();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
    // The progress window, created on first use (see UploadForm).
    frmUpload* m_upload = nullptr;
    // The control that had the focus when the lock disabled it.
    QPointer<QWidget> m_focusBeforeLock;
    // The log pane stands at its newest line; it stays there when its lines
    // wrap anew (a resize) or grow.
    bool m_logFollows = true;
};
