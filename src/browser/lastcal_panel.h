#pragma once
// The last-calibration panel in fraMenu(4): the calibration history of the
// stored instruments in one grid, by the chosen kind of list.

#include "common/widgets/control_array.h"

#include <QObject>

class DataGrid;
class QGroupBox;
class QPushButton;
class QRadioButton;
class PanelHost;
class SharedState;

class LastCalPanel : public QObject {
    Q_OBJECT
public:
    LastCalPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~LastCalPanel() override;

    // Fills vfgHistory for the chosen list.
    void FillHistoryGrid();

    QGroupBox* Frame() const { return m_frame; }

    // ================= controls =================
    ControlArray<QRadioButton, 3> optHistory;
    DataGrid* vfgHistory = nullptr;
    QPushButton* cmdLastCal = nullptr;

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
