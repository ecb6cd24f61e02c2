#pragma once
// The instrument information panel in fraMenu(1): the identity of the
// connected instrument, its settings grid and its sensor grid.

#include "common/widgets/control_array.h"

#include <QObject>

class DataGrid;
class QFrame;
class QGroupBox;
class QLabel;
class PanelHost;
class SharedState;

class InstrumentPanel : public QObject {
    Q_OBJECT
public:
    InstrumentPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~InstrumentPanel() override;

    // Fills the panel from the main instrument.
    void ShowInstrumentInfo();

    QGroupBox* Frame() const { return m_frame; }

    // ================= controls =================
    QGroupBox* fraInst = nullptr;
    QFrame* fraInstCeneter = nullptr;
    ControlArray<QLabel, 10> lblInst;
    DataGrid* vfgInst = nullptr;
    DataGrid* vfgInstSensor = nullptr;

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
