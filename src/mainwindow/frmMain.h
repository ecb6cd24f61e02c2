#pragma once
// The main window. Its controls are created in code (frmMain_controls.cpp)
// with the names the rest of the program uses; repeated controls are
// ControlArrays addressed by index, e.g. cmdDown(2) or fraMenu(5).
//
// The implementation is split by concern, one file each:
//   frmMain_controls.cpp   creation of the controls, twips helpers
//   frmMain_startup.cpp    initialisation, loading, activation, port, serial logs,
//                          window size/state for the settings file
//   frmMain_defaults.cpp   InitDefaults, the record objects
//   frmMain_logpane.cpp    AddLogText
//   frmMain_captions.cpp   LoadCaptions
//   frmMain_layout.cpp     Form_Resize
//   frmMain_panels_standin.cpp   panels of the browser and settings subsystems
//                                until those subsystems provide them
//   frmMain_shutdown.cpp   closing the window
//   frmMain_download_*.cpp connection, download and automatic mode
// Other subsystems add their own frmMain_<concern>.cpp files.

#include "common/settings_targets.h"
#include "graph/ucltalgraph.h"
#include "mainwindow/control_array.h"

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;
class QTreeWidget;

class DataGrid;
class ShapeLamp;
class QvifPort;
class frmUpload;
class clsInstrument;
class clsIntervals;
class clsAlarms;
class clsPowerEvents;
class clsHistorys;

class frmMain : public QWidget, public WindowSettingsTarget {
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
    // power-off) shows the download panel and writes the standby line; every
    // activation lays the window out.
    void Form_Activate();
    // Looks up the USB-serial converter and opens the port of the control
    // (the IrDA transport without a converter).
    void OpenUsbSerialPort();
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
    // No instrument: download commands disabled, the automatic-mode lamps hidden.
    void ResetDownloadControls();

    // ---- log pane (frmMain_logpane.cpp) ----
    // Appends text and a line break to rtbLog in the given colour
    // (a Windows colour number, see common/colors.h).
    void AddLogText(const QString& text, std::int32_t color);

    // ---- captions and layout (frmMain_captions.cpp, frmMain_layout.cpp) ----
    void LoadCaptions();
    void Form_Resize();

    // ---- panels of the browser and settings subsystems (stand-ins) ----
    void BuildLogTree();
    void ShowDataPanel();
    void FillHistoryGrid();
    void ShowInstrumentInfo();
    void ShowSettingsPanel();
    void ShowADValues();
    // The 100 ms tick: raises InterTicks, then refreshes the settings clock.
    void tmrInter_Timer();
    void RefreshSettingsClock();

    // ---- record objects, each created on first use ----
    clsInstrument& MainInstrument();
    clsIntervals& MainIntervals();
    clsAlarms& MainAlarms();
    clsPowerEvents& MainPowerEvents();
    clsHistorys& MainHistorys();

    // ---- connection, download and automatic mode (frmMain_download*.cpp) ----
    // Connects the control's events and the menu, download and automatic-mode
    // controls to their handlers; runs from the constructor.
    void ConnectDownloadHandlers();
    // The progress window (one object for the window's lifetime).
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
    // The identity box of the download panel.
    void ShowDownloadPanel();
    // Menu: fills and shows a panel (0..4), or closes the window (5).
    void cmdInst_Click(int Index);
    // Refills the instrument panels after a new information read.
    void RefreshCurrentPanel();
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
    // The download panel's command buttons.
    void cmdDown_Click(int Index);
    // Around a command: lock the controls that start a request (their
    // enabled states kept in their Tag), give the states back, or enable the
    // commands after a successful information read.
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
    // Copies the display font and the graph colours from the option buttons
    // and rewrites the settings file. Empty, or the text of the failure.
    QString SaveAppSettings();
    // Appends the instrument's line to the settings audit log.
    bool deviceUpdateLog(clsInstrument& instrument);

    // The interface control (never null after construction).
    QvifPort* uclQvport = nullptr;

    // ---- window state set by the start-up defaults ----
    std::array<std::int32_t, 2> LampOnColor{};
    std::array<std::int32_t, 2> LampOffColor{};
    std::array<std::int32_t, 2> LampErrorColor{};
    bool AutoLoadClickOn = false;
    bool TreeRefreshNeeded = false;
    QString ExportFileName;
    bool ShowSampleInstrument = false;
    bool LiveValuesOn = false;
    bool ActivatePending = false;
    // Ticks of tmrInter since the last reset by a caller.
    std::int32_t InterTicks = 0;
    // Last live reading per gas (-101 for a disabled gas).
    std::array<float, 2> LiveValues{{-101.0f, -101.0f}};

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
    // Geometry of a child control in twips (in its container's coordinates).
    void MoveTwips(QWidget* w, double left, double top, double width, double height) const;
    void MoveTwips(QWidget* w, double left, double top) const;
    double LeftTwips(const QWidget* w) const;
    double TopTwips(const QWidget* w) const;
    double WidthTwips(const QWidget* w) const;
    double HeightTwips(const QWidget* w) const;
    // Client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // ================= controls =================
    QTimer* tmrInter = nullptr;

    // Menu column and panels
    ControlArray<QPushButton, 6> cmdInst;
    ControlArray<QGroupBox, 6> fraMenu;

    // Download panel fraMenu(0)
    ControlArray<QGroupBox, 4> fraDown;
    ControlArray<ShapeLamp, 4> shpStatus;
    ControlArray<QLabel, 12> lblStatus;
    ControlArray<QLabel, 2> lblTitle;
    QTextEdit* rtbLog = nullptr;
    ControlArray<QCheckBox, 2> chkAutoLoad;
    ControlArray<QPushButton, 11> cmdDown;
    QFrame* fraDown3Ceneter = nullptr;
    QLabel* picOptionToHalvane = nullptr;
    QLineEdit* txtSuffix = nullptr;

    // Instrument information panel fraMenu(1)
    QGroupBox* fraInst = nullptr;
    QFrame* fraInstCeneter = nullptr;
    ControlArray<QLabel, 10> lblInst;
    DataGrid* vfgInst = nullptr;
    DataGrid* vfgInstSensor = nullptr;

    // Data panel fraMenu(2)
    QTreeWidget* tvwLog = nullptr;
    QGroupBox* fraLog = nullptr;
    QFrame* fraLogCenter = nullptr;
    ControlArray<QCheckBox, 3> chkLog;
    QTreeWidget* lvwLog = nullptr;
    DataGrid* vfgLog = nullptr;
    QPushButton* cmdDetail = nullptr;
    QPushButton* cmdLogInst = nullptr;
    QMenu* mnuDeletes = nullptr;
    QAction* mnuDelete = nullptr;
    QMenu* mnuHistDels = nullptr;
    QAction* mnuHistDel = nullptr;

    // Data view panel fraMenu(3)
    ControlArray<QRadioButton, 2> optBrowse;
    QCheckBox* chkEvent = nullptr;
    QCheckBox* chkOutline = nullptr;
    DataGrid* vfgSummary = nullptr;
    DataGrid* vfgBrowse = nullptr;
    // The trend graph control (also the settings file's graph-colour target).
    uclTalGraph* talGraph = nullptr;
    ControlArray<QCheckBox, 7> chkBrowse;
    QComboBox* cmbBrowse = nullptr;
    ControlArray<QPushButton, 5> cmdBrowse;

    // Last calibration panel fraMenu(4)
    ControlArray<QRadioButton, 3> optHistory;
    DataGrid* vfgHistory = nullptr;
    QPushButton* cmdLastCal = nullptr;

    // Settings panel fraMenu(5)
    ControlArray<QGroupBox, 3> fraOption;
    QFrame* fraOptionCenter0 = nullptr;
    QFrame* fraOptionCenter1 = nullptr;
    ControlArray<QPushButton, 8> cmdOptionDisp;
    QGroupBox* fraModel = nullptr;
    ControlArray<QPushButton, 4> cmdModel;
    ControlArray<QLabel, 8> lblOption;
    ControlArray<QLineEdit, 3> txtOption;
    QComboBox* cmbInterval = nullptr;
    ControlArray<QPushButton, 3> cmdOption;
    DataGrid* vfgOption = nullptr;
    DataGrid* vfgCal = nullptr;
    QGroupBox* fraAD = nullptr;
    ControlArray<QLabel, 5> lblADCh;
    QLabel* lblBatteryVoltage = nullptr;
    QGroupBox* fraG2 = nullptr;
    QLabel* lblEC = nullptr;
    ControlArray<QLineEdit, 3> txtSZ;
    ControlArray<QLineEdit, 2> txtS1;
    QPushButton* cmdSZX = nullptr;
    QPushButton* cmdS1X = nullptr;
    ControlArray<QPushButton, 3> cmdCal;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void ApplyPendingWindowState();
    // Deletes a file in the program's folder and waits (bounded) until it is
    // gone; a file that stays is reported in the log pane. yield: serve the
    // event loop while waiting.
    bool DeleteProgramFile(const QString& name, bool yield);

    std::shared_ptr<clsInstrument> m_mainInstrument;
    std::shared_ptr<clsIntervals> m_mainIntervals;
    std::shared_ptr<clsAlarms> m_mainAlarms;
    std::shared_ptr<clsPowerEvents> m_mainPowerEvents;
    std::shared_ptr<clsHistorys> m_mainHistorys;
    bool m_closing = false;
    bool m_shownOnce = false;
    int m_pendingState = -1;
    // The progress window, created on first use (see UploadForm).
    frmUpload* m_upload = nullptr;
};
