#pragma once
// The settings panel in fraMenu(5): display options, the instrument's
// identity and clock, the settings grid, calibration and converter values.

#include "common/widgets/control_array.h"
#include "settings/settings_clock.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class DataGrid;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class DownloadPanel;
class PanelHost;
class SharedState;
class GridEditHooks;
struct SettingsGridData;

class SettingsPanel : public QObject {
    Q_OBJECT
public:
    // download: the panel whose log pane and command lock the settings
    // commands use.
    SettingsPanel(QGroupBox* frame, SharedState& state, PanelHost& host, DownloadPanel& download,
                  QObject* parent = nullptr);
    ~SettingsPanel() override;

    // Fills the panel from the main instrument.
    void ShowSettingsPanel();
    // The live readings and converter values.
    void ShowADValues();
    // The PC and instrument clocks (from the 100 ms tick).
    void RefreshSettingsClock();

    QGroupBox* Frame() const { return m_frame; }

    // ---- settings grid and its edits (settings_panel_grid.cpp) ----
    // True while the panel fills its grids or an edit handler works; the
    // grid events that the filling itself raises do nothing then.
    bool SettingsGridBusy = false;
    // A value cell in this colour (the grid's caption colour) is read-only.
    static std::int32_t ReadOnlyColor();
    static bool IsReadOnlyCell(const DataGrid& grid, int row, int col);
    // The grid's edit hooks: true from BeforeEdit and ValidateEdit cancels
    // the edit; ValidateEdit may replace the typed text.
    bool vfgOption_BeforeEdit(int Row, int Col);
    bool vfgOption_ValidateEdit(int Row, int Col, QString& text);
    // After a cell changed: an accepted set point rebuilds the panel; an
    // Enable box switches the gas's sensor off or on (service mode only).
    void vfgOption_AfterEdit(int Row, int Col);

    // ---- identity boxes (settings_panel_identity.cpp) ----
    // Copies a box's text into the main instrument when the user changed it.
    void txtOption_Validate(int Index);
    // Every box's pending change (Update starts with it).
    void CommitIdentityEdits();
    // The settings audit file's suffix from its box (on the download
    // panel), without what a file name must not carry.
    void txtSuffix_Validate();

    // ---- calibration frame (settings_panel_calibration.cpp) ----
    // The gases with their span ticks and auto-calibration values.
    void FillCalGrid();
    bool vfgCal_BeforeEdit(int Row, int Col);
    void vfgCal_AfterEdit(int Row, int Col);
    // 0 Zero, 1 Span, 2 Exit Calibration.
    void cmdCal_Click(int Index);

    // ---- commands (settings_panel_commands.cpp) ----
    // 0 Update, 1 Date/Time Set, 2 Calibration.
    void cmdOption_Click(int Index);

    // ---- option pane, model defaults, coefficients, clock
    // (settings_panel_options.cpp) ----
    // 0 font, 1 and 2 graph colours, 3 DEFAULT, 5 FRAM and 6 EEP-ROM dump
    // lists, 7 factory settings; any other index does nothing.
    void cmdOptionDisp_Click(int Index);
    // Writes model type Index's defaults and reads the instrument back.
    void cmdModel_Click(int Index);
    // The span and air coefficients of the "-G2" frame.
    void cmdS1X_Click();
    void cmdSZX_Click();
    // A coefficient box whose text cannot be sent keeps the focus, with a
    // beep; true when the text is accepted.
    bool txtCoefficient_Validate(QLineEdit* box);

    // ================= controls =================
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

signals:
    // A colour button chose a new colour for a graph series (0 first gas).
    void GraphColorChanged(int series, std::int32_t color);

private:
    void CreateControls();
    void ConnectOptionHandlers();
    void RunDefault();
    void RunDumpList(int Index);
    void RunFactorySettings();

    void ConnectSettingsHandlers();
    void SetUpIdentityBoxes();
    // Shows an identity in its box as it is (no filter, no cut).
    void ShowIdentity(int Index, const QString& text);
    void WriteSettingsGrid(const SettingsGridData& data);
    void FinishSettingsEdit();
    void RunUpdate();
    void RunDateTimeSet();
    void OpenCalibrationFrame();
    void ExitCalibration();
    void RunZero();
    void RunSpan();
    void StoreCalibrationRecords();
    void SetCalButtonsEnabled(bool enabled);

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
    DownloadPanel& m_download;
    // The grids' edit hooks, forwarding to the handlers above.
    std::unique_ptr<GridEditHooks> m_optionHooks;
    std::unique_ptr<GridEditHooks> m_calHooks;
    // An accepted set point waits for the grid to take the text, then the
    // panel is rebuilt.
    bool m_rebuildAfterEdit = false;
    // Identity boxes the user changed since the panel filled them.
    std::array<bool, 3> m_identityEdited{};
    // The settings pane's clocks.
    SettingsClock m_clock;
};
