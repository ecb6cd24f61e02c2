#pragma once
// The last-calibration panel in fraMenu(4): the latest calibration of every
// stored instrument in one grid, by the chosen kind of list.

#include "browser/lastcal.h"

#include "common/widgets/control_array.h"

#include <QObject>
#include <vector>

class DataGrid;
class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;
class PanelHost;
class SharedState;

class LastCalPanel : public QObject {
    Q_OBJECT
public:
    LastCalPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~LastCalPanel() override;

    // Fills vfgHistory for the chosen list; a database error is reported
    // and leaves the grid as it was.
    void FillHistoryGrid();
    // The list shown (the option chosen).
    browser::HistoryLayout Layout() const;

    // The option chosen (run by every change of optHistory): the list of
    // that option, unless the window is still starting up.
    void optHistory_Click(int index);
    // Deletes the latest calibration of the grid's current row behind the
    // password and a confirmation.
    void mnuHistDel_Click();
    void cmdLastCal_Click();

    QGroupBox* Frame() const { return m_frame; }

    // ================= controls =================
    ControlArray<QRadioButton, 3> optHistory;
    DataGrid* vfgHistory = nullptr;
    QPushButton* cmdLastCal = nullptr;
    QMenu* mnuHistDels = nullptr;
    QAction* mnuHistDel = nullptr;

signals:
    // Print the list (vfgHistory's rows) as the last-calibration report.
    void PrintRequested();

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
