#pragma once
// The settings panel in fraMenu(5): display options, the instrument's
// identity and clock, the settings grid, calibration and converter values.

#include "common/widgets/control_array.h"

#include <QObject>

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

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
    DownloadPanel& m_download;
};
