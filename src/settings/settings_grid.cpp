#include "settings/settings_grid.h"

#include "common/gascaption.h"
#include "common/gasvalue.h"
#include "common/numeric.h"
#include "common/resstrings.h"
#include "records/instrument.h"
#include "settings/instrument_caption.h"
#include "settings/setpoint_rules.h"

namespace {

constexpr SetPointField kFieldOrder[] = {SetPointField::Warning, SetPointField::Alarm, SetPointField::Stel,
                                         SetPointField::Twa, SetPointField::AutoCalib};

const QString kNoValueText = QStringLiteral("-----");

// Caption ids: Gas, Sensor, Enable, Warning and Alarm point, Warning, Alarm,
// STEL, TWA, Auto Cal.
enum : int {
    kIdGas = 5635, kIdSensor = 5636, kIdEnable = 5637, kIdPoints = 5638, kIdWarning = 5639,
    kIdAlarm = 5640, kIdStel = 5641, kIdTwa = 5642, kIdAutoCal = 5643,
};

void WriteCaptions(SettingsGridData& grid)
{
    auto& r0 = grid.cells[0];
    auto& r1 = grid.cells[1];
    const QString points = GetResString(kIdPoints);
    r1[0].text = GetResString(kIdGas);
    r0[1].text = GetResString(kIdSensor);
    int col = 1;
    if (grid.fullLayout) {
        r1[1].text = GetResString(kIdEnable);
        col = 2;
    }
    const int ids[] = {kIdWarning, kIdAlarm, kIdStel, kIdTwa, kIdAutoCal};
    for (int i = 0; i < 5; ++i, ++col) {
        r1[col].text = GetResString(ids[i]);
        // The Auto Cal. column has no heading above it in the full layout;
        // in the compact layout the four set-point columns after "Sensor"
        // carry the shared caption.
        if (col >= 2 && col <= 5)
            r0[col].text = points;
    }
    r0[2].align = SettingsCell::Align::Centre;
    r1[0].align = SettingsCell::Align::Centre;
}

void PaintReadOnly(SettingsGridData& grid, const SettingsGridInputs& in)
{
    // The second gas has no STEL and TWA.
    grid.cells[3][ColumnOfField(grid.fullLayout, SetPointField::Stel)].readOnly = true;
    grid.cells[3][ColumnOfField(grid.fullLayout, SetPointField::Twa)].readOnly = true;
    for (int g = 0; g < 2; ++g) {
        if (in.gasLocked[g])
            grid.cells[g + 2][1].readOnly = true;
    }
}

} // namespace

std::optional<SetPointField> FieldOfColumn(bool fullLayout, int col)
{
    const int i = col - FirstValueColumn(fullLayout);
    if (i < 0 || i >= 5)
        return std::nullopt;
    return kFieldOrder[i];
}

int ColumnOfField(bool fullLayout, SetPointField field)
{
    return FirstValueColumn(fullLayout) + static_cast<int>(field);
}

float SetPointValue(const clsInstrument& instrument, int gas, SetPointField field)
{
    switch (field) {
    case SetPointField::Warning: return instrument.Warning(gas);
    case SetPointField::Alarm: return instrument.Alarm(gas);
    case SetPointField::Stel: return instrument.Stel(gas);
    case SetPointField::Twa: return instrument.Twa(gas);
    case SetPointField::AutoCalib: return instrument.AutoCalib(gas);
    }
    return -101.0f;
}

void SetSetPointValue(clsInstrument& instrument, int gas, SetPointField field, float value)
{
    switch (field) {
    case SetPointField::Warning: instrument.SetWarning(gas, value); break;
    case SetPointField::Alarm: instrument.SetAlarm(gas, value); break;
    case SetPointField::Stel: instrument.SetStel(gas, value); break;
    case SetPointField::Twa: instrument.SetTwa(gas, value); break;
    case SetPointField::AutoCalib: instrument.SetAutoCalib(gas, value); break;
    }
}

SettingsGridData BuildSettingsGrid(const clsInstrument& instrument, const SettingsGridInputs& in)
{
    SettingsGridData grid;
    grid.fullLayout = in.fullLayout;
    grid.cols = SettingsGridCols(in.fullLayout);
    WriteCaptions(grid);

    const int first = FirstValueColumn(in.fullLayout);
    for (int g = 0; g < 2; ++g) {
        auto& row = grid.cells[g + 2];
        if (!in.showData) {
            const GasSetting& gas = in.currentGas[g];
            row[0].text = FormatGasLabel(gas.Name, gas.Unit, gas.FullScale);
            if (in.fullLayout) {
                row[1].check = SettingsCell::Check::Unchecked;
                // TWA and Auto Cal. stay empty in the no-data form.
                for (int c = 2; c <= 4; ++c)
                    row[c].text = kNoValueText;
            } else {
                for (int c = 1; c <= 5; ++c)
                    row[c].text = kNoValueText;
            }
            continue;
        }
        const bool enabled = instrument.GasEnabled(g);
        row[0].text = InstrumentGasCaption(instrument, g, true);
        if (in.fullLayout)
            row[1].check = enabled ? SettingsCell::Check::Checked : SettingsCell::Check::Unchecked;
        for (int i = 0; i < 5; ++i) {
            row[first + i].text =
                enabled ? FormatGasValue(SetPointValue(instrument, g, kFieldOrder[i]), instrument.GasPoint(g))
                        : kNoValueText;
        }
    }
    PaintReadOnly(grid, in);

    if (in.showData) {
        for (int g = 0; g < 2; ++g) {
            if (instrument.GasEnabled(g) && !SetPointsInOrder(instrument, g)) {
                grid.cells[g + 2][ColumnOfField(in.fullLayout, SetPointField::Warning)].red = true;
                grid.cells[g + 2][ColumnOfField(in.fullLayout, SetPointField::Alarm)].red = true;
            }
        }
    }

    // Numbers right-aligned, everything else (check boxes too) centred.
    for (int r = 1; r < kSettingsGridRows; ++r) {
        for (int c = 1; c < grid.cols; ++c) {
            SettingsCell& cell = grid.cells[r][c];
            cell.align = IsNumeric(cell.text) ? SettingsCell::Align::Right : SettingsCell::Align::Centre;
        }
    }
    return grid;
}

SettingsPanelState DecideSettingsPanel(bool serviceMode, bool uMode, bool connected, std::int32_t status,
                                       std::int16_t commFlags)
{
    SettingsPanelState s;
    s.fullLayout = serviceMode || uMode;
    if (!serviceMode)
        s.gridVisible = uMode;
    s.serviceControlsVisible = serviceMode;
    s.commandsEnabled = connected;
    const bool noLink = status == 0 || status == 1 || commFlags == 0;
    s.showData = serviceMode || !noLink;
    return s;
}
