#pragma once
// The data view panel in fraMenu(3): one stored record as a table or as a
// trend graph, with its summary and the graph's series choices.

#include "common/widgets/control_array.h"

#include <QObject>

class DataGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class uclTalGraph;
class PanelHost;
class SharedState;

class ViewPanel : public QObject {
    Q_OBJECT
public:
    ViewPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~ViewPanel() override;

    QGroupBox* Frame() const { return m_frame; }

    // ================= controls =================
    ControlArray<QRadioButton, 2> optBrowse;
    QCheckBox* chkEvent = nullptr;
    QCheckBox* chkOutline = nullptr;
    DataGrid* vfgSummary = nullptr;
    DataGrid* vfgBrowse = nullptr;
    // The trend graph control (also the settings file's graph-colour target).
    uclTalGraph* talGraph = nullptr;
    ControlArray<QCheckBox, 7> chkBrowse;
    // Only lblTitle(1) stands on this panel; lblTitle(0) is the download panel's.
    ControlArray<QLabel, 2> lblTitle;
    QComboBox* cmbBrowse = nullptr;
    ControlArray<QPushButton, 5> cmdBrowse;

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
