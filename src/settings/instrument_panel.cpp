// The instrument information panel: the connected instrument, or a stored
// record opened from the browser, rebuilt whole on every call from the
// contents that instrument_info builds.

#include "settings/instrument_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/panel_focus.h"
#include "common/widgets/twips_geometry.h"
#include "common/appstate.h"
#include "common/colors.h"
#include "common/clock.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "settings/instrument_info.h"
#include "shared/shared_state.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

InstrumentPanel::InstrumentPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("InstrumentPanel"));
    CreateControls();
}

InstrumentPanel::~InstrumentPanel() = default;

void InstrumentPanel::CreateControls()
{
    QGroupBox* info = m_frame;
    fraInst = NewGroup(info, QStringLiteral("fraInst"), 120, 240, 2400, 3500);
    fraInstCeneter = NewFrame(fraInst, QStringLiteral("fraInstCeneter"), 60, 300, 2400, 2800);
    // Captions 0, 1, 2, 6, 8 each above their value 3, 4, 5, 7, 9.
    const int captions[5] = {0, 1, 2, 6, 8};
    const int values[5] = {3, 4, 5, 7, 9};
    for (int r = 0; r < 5; ++r) {
        lblInst[captions[r]] = NewLabel(fraInstCeneter, Indexed("lblInst", captions[r]), 0, r * 560, 2400, 252);
        lblInst[values[r]] = NewLabel(fraInstCeneter, Indexed("lblInst", values[r]), 0, r * 560 + 262, 2400, 252);
        lblInst[values[r]]->setFrameShape(QFrame::Panel);
        lblInst[values[r]]->setFrameShadow(QFrame::Sunken);
    }
    vfgInst = NewGrid(info, QStringLiteral("vfgInst"), 2, 4);
    MoveTwips(vfgInst, 2640, 360, 6800, 3380);
    vfgInstSensor = NewGrid(info, QStringLiteral("vfgInstSensor"), 2, 5);
    MoveTwips(vfgInstSensor, 120, 3860, 9360, 3800);
    // Both grids have two caption rows (the title and the column headings)
    // over the gases' rows, and the gas names as caption column: the
    // cursor stays in the gases' values.
    for (DataGrid* grid : {vfgInst, vfgInstSensor})
        grid->SetFixedRows(2);
}

void InstrumentPanel::ShowInstrumentInfo()
{
    // Built hidden so the panel is never seen half filled.
    const PanelFocus keepFocus(m_frame, {vfgInst});
    const bool visible = m_frame->isVisible();
    m_frame->setVisible(false);

    const AppState& app = App();
    const clsInstrument& live = m_state.MainInstrument();
    const std::int32_t status = m_state.uclQvport ? m_state.uclQvport->Status() : 0;
    InstrumentInfoInput in;
    in.state = DecideInstrumentInfoState(status, live.CommFlags(), m_state.ShowSampleInstrument);
    // A stored record is shown from the browser's own instrument, never
    // mixed into the connected one.
    in.record = in.state == InstrumentInfoState::StoredRecord ? &m_state.StoredInstrument() : &live;
    in.currentGas = app.CurrentGas;
    in.serviceMode = app.ServiceMode;
    in.processState = app.ProcessState;
    in.spanSelection = m_state.SpanSelection;
    in.factAutoCal = app.FactAutoCal;
    in.spanStartReading = m_state.SpanStartReading;
    in.now = Now();
    const InstrumentInfoView v = BuildInstrumentInfo(in);

    m_frame->setTitle(v.caption);
    for (int i = 6; i <= 9; ++i)
        lblInst(i)->setVisible(v.serviceLabelsVisible);
    lblInst(3)->setText(v.serialNo);
    lblInst(4)->setText(v.stationId);
    lblInst(5)->setText(v.userId);
    lblInst(7)->setText(v.romNumber);
    lblInst(9)->setText(v.sum);

    DataGrid& cal = *vfgInst;
    cal.Clear();
    cal.SetCols(5);
    cal.SetRows(4);
    cal.SetMergeCells(DataGrid::MergeRestrictRows);
    for (int r = 0; r < 4; ++r) {
        const bool failed = r >= 2 && v.spanFailed[static_cast<size_t>(r - 2)];
        for (int c = 0; c < 5; ++c) {
            if (failed && c >= 1)
                cal.SetCellBackColor(r, c, RGB(255, 0, 0));
            cal.SetText(r, c, v.calibration[static_cast<size_t>(r)][static_cast<size_t>(c)]);
        }
        cal.SetMergeRow(r, r == 0);
    }
    cal.SetRangeAlignment(0, 0, 1, 4, DataGrid::AlignCenterCenter);
    cal.SetRangeAlignment(2, 2, 3, 4, DataGrid::AlignCenterCenter);

    DataGrid& sensor = *vfgInstSensor;
    sensor.Clear();
    sensor.SetCols(6);
    sensor.SetRows(4);
    sensor.SetMergeCells(DataGrid::MergeRestrictRows);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 6; ++c)
            sensor.SetText(r, c, v.sensor[static_cast<size_t>(r)][static_cast<size_t>(c)]);
        sensor.SetMergeRow(r, r == 0);
    }
    for (int g = 0; g < 2; ++g)
        sensor.SetCellCheck(g + 2, 1, v.enabled[static_cast<size_t>(g)] ? DataGrid::Checked : DataGrid::Unchecked);
    // The caption rows centred over their columns, the values and check
    // boxes centred in theirs; the gas headings keep the grid's alignment.
    sensor.SetRangeAlignment(0, 0, 1, 5, DataGrid::AlignCenterCenter);
    sensor.SetRangeAlignment(2, 1, 3, 5, DataGrid::AlignCenterCenter);

    m_frame->setVisible(visible);
}
