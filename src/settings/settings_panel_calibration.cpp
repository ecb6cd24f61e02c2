// The calibration frame: its grid of span ticks and live readings, the A/D
// and battery voltages, and the zero, span and exit commands.

#include "settings/settings_panel.h"

#include "common/appstate.h"
#include "common/colors.h"
#include "common/gasvalue.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/panel_focus.h"
#include "common/widgets/twips_geometry.h"
#include "download/download_panel.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "records/collections.h"
#include "records/history.h"
#include "records/instrument.h"
#include "settings/calibration_model.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

enum : int {
    kIdCalHeader = 5221,
    kIdNoSensorsSelected = 5345,
    kIdSpanNotPerformed = 5346,
    kIdAdjustment = 5350,
    kIdCalibrationFail = 5413,
    kIdLogCalStarted = 5515,
    kIdLogCalFailed = 5516,
    kIdAdjustingZero = 6002,
    kIdAdjustingSpan = 6003,
    kIdHistoryNotStored = 5860,
};

constexpr std::int32_t kDisabledTickColor = RGB(192, 192, 192);

} // namespace

void SettingsPanel::FillCalGrid()
{
    DataGrid& g = *vfgCal;
    clsInstrument& inst = m_state.MainInstrument();
    QvifPort* port = m_state.uclQvport;
    g.Clear();
    const bool live = LiveDataAtHand(port->Status(), inst.CommFlags());
    g.SetCols(4);
    g.SetRows(3);
    const std::array<CalGridRow, 2> rows = BuildCalGrid(inst, live, App().CurrentGas);
    for (int i = 0; i < 2; ++i) {
        const CalGridRow& row = rows[static_cast<size_t>(i)];
        g.SetText(i + 1, 0, row.label);
        g.SetCellCheck(i + 1, 1, row.ticked ? DataGrid::Checked : DataGrid::Unchecked);
        g.SetCellBackColor(i + 1, 1, row.gasEnabled ? 0 : kDisabledTickColor);
        g.SetCellAlignment(i + 1, 1, DataGrid::AlignCenterCenter);
    }
    g.SetFormatString(GetResString(kIdCalHeader));
    for (int i = 0; i < 2; ++i)
        g.SetText(i + 1, 2, rows[static_cast<size_t>(i)].autoCal);
    const double width = WidthTwips(&g);
    g.SetColWidth(0, static_cast<int>(0.3 * width));
    g.SetColWidth(1, static_cast<int>(0.1 * width));
    g.SetColWidth(2, static_cast<int>(0.3 * width));
    g.viewport()->update();
}

void SettingsPanel::ShowADValues()
{
    const clsInstrument& inst = m_state.MainInstrument();
    for (int i = 0; i < 2; ++i)
        vfgCal->SetText(i + 1, 3, FormatGasValue(m_state.LiveValues[static_cast<size_t>(i)], inst.GasPoint(i)));
    for (int k = 0; k < lblADCh.Count(); ++k)
        lblADCh(k)->setText(AnalogVoltText(inst.AnalogValue(k)));
    lblBatteryVoltage->setText(VoltText(inst.Battery()));
}

bool SettingsPanel::vfgCal_BeforeEdit(int Row, int Col)
{
    return Col != 1;
}

void SettingsPanel::vfgCal_AfterEdit(int Row, int Col)
{
    if (Col != 1)
        return;
    if (!m_state.MainInstrument().GasEnabled(Row - 1))
        vfgCal->SetCellCheck(Row, 1, DataGrid::Unchecked);
}

void SettingsPanel::SetCalButtonsEnabled(bool enabled)
{
    for (QPushButton* b : cmdCal)
        b->setEnabled(enabled);
}

void SettingsPanel::OpenCalibrationFrame()
{
    // The Calibration button is hidden with the settings: the focus goes to
    // the calibration grid.
    const PanelFocus keepFocus(m_frame, {vfgCal});
    FillCalGrid();
    fraOption(1)->setVisible(false);
    for (QPushButton* b : cmdOption)
        b->setVisible(false);
    m_host.SetMenuEnabled(false);
    fraOption(2)->setVisible(true);
    m_host.LayoutWindow();
    m_state.LiveValuesOn = true;
    m_state.uclQvport->SetRunDensty(true);
}

void SettingsPanel::cmdCal_Click(int Index)
{
    switch (Index) {
    case 0: RunZero(); break;
    case 1: RunSpan(); break;
    case 2: ExitCalibration(); break;
    default: break;
    }
}

void SettingsPanel::RunZero()
{
    AppState& app = App();
    QvifPort* port = m_state.uclQvport;
    clsInstrument& inst = m_state.MainInstrument();
    frmUpload& upload = m_download.UploadForm();

    // The button used gets the focus back once the buttons are enabled again.
    const PanelFocus keepFocus(m_frame, {vfgCal});
    SetCalButtonsEnabled(false);
    app.ProcessState = 3;
    upload.Load();
    upload.SetCaption(GetResString(kIdAdjustingZero));
    upload.ShowWindow();
    port->SetRunDensty(false);
    const bool ok = port->ZeroCal(ZeroSelectionText());
    upload.Unload();
    if (!ok) {
        m_download.AddLogText(GetResString(kIdCalibrationFail), LogColor::Failure);
        port->AddLog(GetResString(kIdLogCalFailed, DateText()));
    } else {
        const std::array<bool, 2> reported{inst.GasEnabled(0), inst.GasEnabled(1)};
        const std::array<bool, 2> done{port->ZeroStatus(0), port->ZeroStatus(1)};
        MsgBox(AdjustmentResultText(inst, reported, done, m_state.LiveValues), MsgButtons::Ok, MsgIcon::Information,
               GetResString(kIdAdjustment));
    }
    SetCalButtonsEnabled(true);
    port->SetRunDensty(true);
    app.ProcessState = 0;
}

void SettingsPanel::RunSpan()
{
    AppState& app = App();
    QvifPort* port = m_state.uclQvport;
    clsInstrument& inst = m_state.MainInstrument();

    std::array<bool, 2> ticks{};
    for (int i = 0; i < 2; ++i) {
        vfgCal->setCurrentCell(i + 1, 1);
        ticks[static_cast<size_t>(i)] = vfgCal->CellCheck(i + 1, 1) == DataGrid::Checked;
    }
    m_state.SpanSelection = SpanSelection(inst, ticks);
    const QString selection = SelectionText(m_state.SpanSelection);
    if (selection == QLatin1String("00")) {
        MsgBox(GetResString(kIdNoSensorsSelected), MsgButtons::Ok, MsgIcon::Critical,
               GetResString(kIdSpanNotPerformed));
        app.ProcessState = 0;
        return;
    }

    const PanelFocus keepFocus(m_frame, {vfgCal});
    SetCalButtonsEnabled(false);
    app.ProcessState = 4;
    frmUpload& upload = m_download.UploadForm();
    upload.Load();
    upload.SetCaption(GetResString(kIdAdjustingSpan));
    upload.ShowWindow();
    port->SetRunDensty(false);
    // The information panel shows these as "Before" of a gas whose span
    // failed.
    m_state.SpanStartReading = m_state.LiveValues;
    port->AddLog(GetResString(kIdLogCalStarted, DateText()));
    const bool ok = port->SpanCal(selection);
    QString result;
    if (ok) {
        const std::array<bool, 2> done{port->SpanStatus(0), port->SpanStatus(1)};
        result = AdjustmentResultText(inst, m_state.SpanSelection, done, m_state.LiveValues);
    } else {
        m_download.AddLogText(GetResString(kIdCalibrationFail), LogColor::Failure);
    }

    // The instrument's calibration records are read again whether or not the
    // span succeeded.
    if (port->GetLatestHistory(&inst))
        StoreCalibrationRecords();

    SetCalButtonsEnabled(true);
    upload.Unload();
    if (ok)
        MsgBox(result, MsgButtons::Ok, MsgIcon::Information, GetResString(kIdAdjustment));
    port->SetRunDensty(true);
    app.ProcessState = 0;
}

void SettingsPanel::StoreCalibrationRecords()
{
    QvifPort* port = m_state.uclQvport;
    clsInstrument& inst = m_state.MainInstrument();
    clsHistorys& histories = m_state.MainHistorys();
    bool stored = inst.HistoryUpdate();
    histories.SetInstruments(&inst);
    port->GetHistory(&histories);
    for (int k = 1; k <= histories.Count(); ++k) {
        clsHistory* history = histories.Item(k);
        history->SetInstrument(&inst);
        if (!history->HistoryUpdate())
            stored = false;
    }
    if (!stored)
        m_download.AddLogText(GetResString(kIdHistoryNotStored), LogColor::Failure);
}

void SettingsPanel::ExitCalibration()
{
    // Exit is hidden with the calibration frame: the focus goes to the
    // settings grid.
    const PanelFocus keepFocus(m_frame, {vfgOption});
    m_state.uclQvport->SetRunDensty(false);
    fraOption(1)->setVisible(true);
    for (QPushButton* b : cmdOption)
        b->setVisible(true);
    m_host.SetMenuEnabled(true);
    fraOption(2)->setVisible(false);
    m_host.LayoutWindow();
}
