#pragma once
#include "common/appstate.h"

#include <QString>
#include <array>
#include <cstdint>

class clsInstrument;

// The calibration grid and the zero and span commands as data.

// Live instrument data are at hand when a link is up (status neither 0 nor
// 1) and the instrument's information has been read.
bool LiveDataAtHand(std::int32_t status, std::int16_t commFlags);

// One gas row of the calibration grid: label, span tick (every enabled gas
// starts ticked; a disabled gas's tick cell is grey and stays unticked) and
// the auto-calibration value.
struct CalGridRow {
    QString label;
    bool gasEnabled = false;
    bool ticked = false;
    QString autoCal;
};

// Without live data the labels come from the settings file's gases and the
// auto-calibration column shows "-----"; the ticks follow the instrument
// either way.
std::array<CalGridRow, 2> BuildCalGrid(const clsInstrument& instrument, bool liveData,
                                       const std::array<GasSetting, 2>& currentGas);

// Volts with three decimals and a "V": 1.234 -> "1.234V".
QString VoltText(double volts);
// An A/D channel's millivolts as volts: 1234 -> "1.234V".
QString AnalogVoltText(std::int16_t millivolts);

// The gases a span adjusts: ticked and enabled.
std::array<bool, 2> SpanSelection(const clsInstrument& instrument, const std::array<bool, 2>& ticks);
// The selection the instrument takes: "1" adjust, "0" leave, gas 0 first.
QString SelectionText(const std::array<bool, 2>& selection);
// A zero adjustment always asks for both gases.
inline QString ZeroSelectionText() { return QStringLiteral("11"); }

// The result box: one line per reported gas, each ended by CR LF: the gas
// name, two blanks and "Adjustment Complete." when it succeeded, else the
// name, "(", its live reading with the gas's decimals and ") Failed".
QString AdjustmentResultText(const clsInstrument& instrument, const std::array<bool, 2>& reported,
                             const std::array<bool, 2>& succeeded, const std::array<float, 2>& liveValues);
