#pragma once
#include "common/appstate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class clsInstrument;

// The settings grid as data: which columns it has in each mode, what every
// cell shows, which cells are read-only and which are red. The panel copies
// it into its grid; the edit rules below work on the same column map.
//
// Rows 0 and 1 are captions, rows 2 and 3 gas 0 and gas 1 (gas = row - 2).
// The full layout (7 columns, with "-R" or "-U") has the Enable check box in
// column 1 and the set points in columns 2..6; the compact layout (6
// columns) has no Enable column and the set points in columns 1..5.

enum class SetPointField { Warning, Alarm, Stel, Twa, AutoCalib };

constexpr int kSettingsGridRows = 4;
constexpr int SettingsGridCols(bool fullLayout) { return fullLayout ? 7 : 6; }
constexpr int FirstValueColumn(bool fullLayout) { return fullLayout ? 2 : 1; }

// The set point of a column, none for the caption and Enable columns.
std::optional<SetPointField> FieldOfColumn(bool fullLayout, int col);
int ColumnOfField(bool fullLayout, SetPointField field);

float SetPointValue(const clsInstrument& instrument, int gas, SetPointField field);
// Writes through the instrument's setter, so the field's change flag is set.
void SetSetPointValue(clsInstrument& instrument, int gas, SetPointField field, float value);

struct SettingsCell {
    enum class Check { None, Checked, Unchecked };
    enum class Align { Default, Centre, Right };
    QString text;
    Check check = Check::None;
    Align align = Align::Default;
    bool readOnly = false; // painted in the read-only colour; never edited
    bool red = false;      // a warning/alarm pair out of order
};

struct SettingsGridData {
    bool fullLayout = false;
    int cols = 6;
    std::array<std::array<SettingsCell, 7>, kSettingsGridRows> cells{};
    // Row 0 merges equal neighbours ("Warning and Alarm point" shows once).
    static constexpr int kMergedRow = 0;

    const SettingsCell& At(int row, int col) const { return cells[row][col]; }
};

struct SettingsGridInputs {
    bool fullLayout = false;
    // False: the no-data form (identity empty, captions from the settings
    // file's gases, "-----" values, Enable boxes unchecked).
    bool showData = false;
    std::array<bool, 2> gasLocked{false, false};
    std::array<GasSetting, 2> currentGas{};
};

SettingsGridData BuildSettingsGrid(const clsInstrument& instrument, const SettingsGridInputs& in);

// What the panel shows and enables for the command-line mode and the link.
struct SettingsPanelState {
    bool fullLayout = false;
    // Without "-R" the grid is shown exactly with "-U"; with "-R" the panel
    // leaves its visibility alone (nullopt).
    std::optional<bool> gridVisible;
    // The seven service controls: the DEFAULT, FRAM, EEP-ROM and factory
    // buttons, the model frame, the A/D frame and the Calibration command.
    bool serviceControlsVisible = false;
    // Update, Date/Time Set and Calibration.
    bool commandsEnabled = false;
    // The instrument's values, or the no-data form. With "-R" always the
    // instrument's values, connected or not.
    bool showData = false;
};

SettingsPanelState DecideSettingsPanel(bool serviceMode, bool uMode, bool connected, std::int32_t status,
                                       std::int16_t commFlags);
