// The settings grid: building it from the main instrument, and its three
// edit hooks (set points typed, sensors switched on and off).

#include "settings/settings_panel.h"

#include "common/appstate.h"
#include "common/colors.h"
#include "common/gasvalue.h"
#include "common/numeric.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/panel_focus.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "settings/coefficients.h"
#include "settings/frmGasSel.h"
#include "settings/settings_edit.h"
#include "settings/settings_grid.h"
#include "settings/setpoint_rules.h"
#include "shared/shared_state.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum : int {
    kIdNotRemoved = 5321,
    kIdSensorOnOff = 5322,
    kIdDisableReady = 5323,
    kIdSensorDisable = 5324,
};

DataGrid::Check ToGridCheck(SettingsCell::Check check)
{
    switch (check) {
    case SettingsCell::Check::Checked: return DataGrid::Checked;
    case SettingsCell::Check::Unchecked: return DataGrid::Unchecked;
    case SettingsCell::Check::None: break;
    }
    return DataGrid::NoCheckBox;
}

} // namespace

std::int32_t SettingsPanel::ReadOnlyColor()
{
    return DataGrid::FixedBackColor();
}

bool SettingsPanel::IsReadOnlyCell(const DataGrid& grid, int row, int col)
{
    return grid.CellBackColor(row, col) == ReadOnlyColor();
}

void SettingsPanel::ShowSettingsPanel()
{
    // A control that the new state hides leaves the focus to the grid.
    const PanelFocus keepFocus(m_frame, {vfgCal, vfgOption});
    const bool wasVisible = !m_frame->isHidden();
    m_frame->setVisible(false);
    SettingsGridBusy = true;

    AppState& app = App();
    QvifPort* port = m_state.uclQvport;
    clsInstrument& inst = m_state.MainInstrument();
    const SettingsPanelState s =
        DecideSettingsPanel(app.ServiceMode, app.UMode, port->Connected(), port->Status(), inst.CommFlags());

    if (s.gridVisible)
        vfgOption->setVisible(*s.gridVisible);
    for (QWidget* w : {static_cast<QWidget*>(cmdOptionDisp(6)), static_cast<QWidget*>(cmdOptionDisp(7)),
                       static_cast<QWidget*>(cmdOptionDisp(5)), static_cast<QWidget*>(cmdOptionDisp(3)),
                       static_cast<QWidget*>(fraModel), static_cast<QWidget*>(fraAD),
                       static_cast<QWidget*>(cmdOption(2))})
        w->setVisible(s.serviceControlsVisible);
    for (QPushButton* b : cmdOption)
        b->setEnabled(s.commandsEnabled);

    // The boxes show the instrument again; an unfinished edit is dropped.
    m_identityEdited = {};
    if (!s.showData) {
        for (QLineEdit* t : txtOption)
            t->setText(QString());
        cmbInterval->setCurrentIndex(5);
    } else {
        for (int i : {6, 7, 3, 5})
            cmdOptionDisp(i)->setEnabled(true);
        ShowIdentity(0, inst.SerialNo());
        ShowIdentity(1, inst.StationID());
        ShowIdentity(2, inst.UserID());
        if (app.G2Mode) {
            fraG2->setVisible(true);
            lblEC->setText(inst.GasName(0));
            txtSZ(0)->setText(CoefficientText(inst.AirP1Coefficient()));
            txtSZ(1)->setText(CoefficientText(inst.AirP2Coefficient()));
            txtSZ(2)->setText(CoefficientText(inst.AirO2Coefficient()));
            txtS1(0)->setText(CoefficientText(inst.CalCoefficient(0)));
            txtS1(1)->setText(CoefficientText(inst.CalCoefficient(1)));
        }
    }

    if (s.fullLayout)
        InitAutoCalibTable(inst);
    SettingsGridInputs in;
    in.fullLayout = s.fullLayout;
    in.showData = s.showData;
    in.gasLocked = app.GasLocked;
    in.currentGas = app.CurrentGas;
    WriteSettingsGrid(BuildSettingsGrid(inst, in));

    FillCalGrid();
    SettingsGridBusy = false;
    m_frame->setVisible(wasVisible);
}

void SettingsPanel::WriteSettingsGrid(const SettingsGridData& data)
{
    DataGrid& g = *vfgOption;
    g.Clear();
    g.SetRows(kSettingsGridRows);
    g.SetCols(data.cols);
    g.SetFixedRows(2);
    g.SetFixedCols(1);
    g.SetMergeCells(DataGrid::MergeRestrictRows);
    for (int r = 0; r < kSettingsGridRows; ++r)
        g.SetMergeRow(r, r == SettingsGridData::kMergedRow);
    for (int r = 0; r < kSettingsGridRows; ++r) {
        for (int c = 0; c < data.cols; ++c) {
            const SettingsCell& cell = data.At(r, c);
            g.SetText(r, c, cell.text);
            if (cell.check != SettingsCell::Check::None)
                g.SetCellCheck(r, c, ToGridCheck(cell.check));
            if (cell.readOnly)
                g.SetCellBackColor(r, c, ReadOnlyColor());
            if (cell.red)
                g.SetCellBackColor(r, c, RGB(255, 0, 0));
            if (cell.align == SettingsCell::Align::Centre)
                g.SetCellAlignment(r, c, DataGrid::AlignCenterCenter);
            else if (cell.align == SettingsCell::Align::Right)
                g.SetCellAlignment(r, c, DataGrid::AlignRightCenter);
        }
    }
}

bool SettingsPanel::vfgOption_BeforeEdit(int Row, int Col)
{
    if (SettingsGridBusy)
        return true;
    SettingsGridBusy = true;
    vfgOption->setCurrentCell(Row, Col);
    const bool cancel = Row < 2 || IsReadOnlyCell(*vfgOption, Row, Col);
    SettingsGridBusy = false;
    return cancel;
}

bool SettingsPanel::vfgOption_ValidateEdit(int Row, int Col, QString& text)
{
    if (SettingsGridBusy)
        return false;
    clsInstrument& inst = m_state.MainInstrument();
    const bool full = vfgOption->Cols() == SettingsGridCols(true);
    const SetPointEdit edit =
        CheckSetPointEdit(inst, Row, Col, text, vfgOption->Text(Row, Col), full, App().ServiceMode);
    switch (edit.outcome) {
    case SetPointEdit::Outcome::Unchanged:
        return false;
    case SetPointEdit::Outcome::Refused:
    case SetPointEdit::Outcome::NotASetPoint:
        // The cell keeps its stored text; nothing changed, so nothing to
        // rebuild.
        return true;
    case SetPointEdit::Outcome::Stored:
        text = StoreSetPointEdit(inst, Row, edit);
        m_rebuildAfterEdit = true;
        return false;
    }
    return false;
}

void SettingsPanel::FinishSettingsEdit()
{
    // Runs once the grid has taken (or refused) the text: the rebuilt grid
    // shows the stored, rounded value and the red pairs of the new values.
    if (!m_rebuildAfterEdit)
        return;
    m_rebuildAfterEdit = false;
    ShowSettingsPanel();
}

void SettingsPanel::vfgOption_AfterEdit(int Row, int Col)
{
    if (m_rebuildAfterEdit) {
        FinishSettingsEdit();
        return;
    }
    if (SettingsGridBusy || !App().ServiceMode)
        return;
    SettingsGridBusy = true;
    if (Col != 1 || Row < 2 || Row > 3) {
        SettingsGridBusy = false;
        return;
    }
    const int g = Row - 2;
    clsInstrument& inst = m_state.MainInstrument();
    DataGrid& grid = *vfgOption;
    auto enableBoxes = [&grid] {
        return std::array<bool, 2>{grid.CellCheck(2, 1) == DataGrid::Checked,
                                   grid.CellCheck(3, 1) == DataGrid::Checked};
    };

    if (App().GasLocked[static_cast<size_t>(g)]) {
        MsgBox(GetResString(kIdNotRemoved), MsgButtons::Ok, MsgIcon::Information, GetResString(kIdSensorOnOff));
        grid.SetCellCheck(Row, 1, DataGrid::Checked);
    } else if (grid.CellCheck(Row, 1) != DataGrid::Checked) {
        const MsgResult answer = MsgBox(GetResString(kIdDisableReady), MsgButtons::YesNo, MsgIcon::Question,
                                        GetResString(kIdSensorDisable));
        if (answer != MsgResult::Yes) {
            grid.SetCellCheck(Row, 1, DataGrid::Checked);
        } else {
            SwitchSensorOff(inst, g, enableBoxes());
            ShowSettingsPanel();
            SettingsGridBusy = true;
        }
    } else {
        frmGasSel dialog(m_frame->window());
        dialog.SetSpecType(inst.SpecType());
        dialog.SetGasNo(g);
        Prompt().RunWindow(&dialog);
        if (!dialog.Flags() || !LoadReplacementGas(inst, g, dialog.SelNum()))
            grid.SetCellCheck(Row, 1, DataGrid::Unchecked);
        ShowSettingsPanel();
        SettingsGridBusy = true;
    }

    // A span tick stays only on a gas that is enabled and switched on here.
    std::array<bool, 2> ticks{vfgCal->CellCheck(1, 1) == DataGrid::Checked,
                              vfgCal->CellCheck(2, 1) == DataGrid::Checked};
    ticks = SyncSpanTicks(inst, ticks, enableBoxes());
    for (int i = 0; i < 2; ++i) {
        if (!ticks[i])
            vfgCal->SetCellCheck(i + 1, 1, DataGrid::Unchecked);
    }
    SettingsGridBusy = false;
}
