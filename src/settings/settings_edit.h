#pragma once
#include "settings/settings_grid.h"

#include <QString>
#include <array>

class clsInstrument;

// The rules of an edit in the settings grid, apart from the grid: what a
// typed set point becomes, and what switching a sensor does to the
// instrument. Nothing here is sent; the change flags mark it for Update.

struct SetPointEdit {
    enum class Outcome {
        Unchanged,   // the same text again (blanks aside): nothing happens
        NotASetPoint, // a caption row or a column without a set point
        Stored,      // value goes into field; text is what the cell shows
        Refused,     // the edit is cancelled; the cell shows the stored value
    };
    Outcome outcome = Outcome::Refused;
    SetPointField field = SetPointField::Warning;
    float value = -101.0f;
    QString text;
};

// Judges the text typed into (row, col) against the cell's stored text:
// empty, or any text holding "--", gives -101 ("-----"); other text that is
// not a number is refused; a number must lie within 0..full scale, in
// service mode STEL and TWA need the unit "ppm", and an auto-calibration
// value must have reached the warning level. An accepted number is rounded
// to the gas's resolution (the checks use the typed value).
SetPointEdit CheckSetPointEdit(const clsInstrument& instrument, int row, int col, const QString& editText,
                               const QString& cellText, bool fullLayout, bool serviceMode);

// Stores an accepted edit in the instrument (field and change flag) and
// returns the text the cell shows; nothing for any other outcome.
QString StoreSetPointEdit(clsInstrument& instrument, int row, const SetPointEdit& edit);

// Switching gas `gas`'s sensor off after the user said Yes: both gases'
// enable states follow the two Enable boxes (both flags raised), and the
// gas's five set points become -101.
void SwitchSensorOff(clsInstrument& instrument, int gas, const std::array<bool, 2>& enableBoxes);

// Switching a sensor on with entry `entry` of the replacement list: loads
// the entry into the gas and takes its auto-calibration value as the
// factory value (as the cell shows it; -101 for "-----"). False, with
// nothing changed, for an entry outside 0..8.
bool LoadReplacementGas(clsInstrument& instrument, int gas, int entry);

// After a sensor switch the calibration grid's span ticks keep their state
// only for a gas that is enabled and whose Enable box is ticked.
std::array<bool, 2> SyncSpanTicks(const clsInstrument& instrument, const std::array<bool, 2>& spanTicks,
                                  const std::array<bool, 2>& enableBoxes);
