#pragma once
#include "common/appstate.h"

#include <QString>

class clsInstrument;

// The rules of a gas's set points. Gas 0 is alarmed when its reading rises;
// gas 1 is the oxygen channel, whose pair is either two low levels
// (OxyAlarmType "00", a falling pair) or a low warning and a high alarm (any
// other code, a rising pair). A set point of -101 has no value.

// Gas g's pair as a rising pair: valid when either set point has no value
// (below 0), the warning lies below the alarm, or both are 0.
bool CheckAlarmOrderRising(const clsInstrument& instrument, int gas);
// Gas g's pair as a falling pair: valid when either set point is below 0 or
// the warning is at or above the alarm.
bool CheckAlarmOrderFalling(const clsInstrument& instrument, int gas);
// The order the panel marks red and Update enforces: gas 0 needs warning <=
// alarm (so an alarm of -101 under a warning of 0 or more is out of order);
// gas 1 the falling or the rising rule by OxyAlarmType.
bool SetPointsInOrder(const clsInstrument& instrument, int gas);

// True when a reading of gas g has reached its warning level: at or below
// it for gas 1 (oxygen), at or above it for every other gas.
bool IsAtWarningLevel(const clsInstrument& instrument, int gas, float value);

// The replacement-gas list of a spec type: "00" domestic, any other code
// foreign.
const GasTable& ReplacementGasTable(const QString& specType);

// Loads entry `entry` of gas `gas`'s replacement list into the instrument's
// gas and enables it (every write raises its change flag). With the "L-H"
// oxygen type ("01") gas 1 always takes entry 1, and `entry` becomes 1.
// A gas outside 0..1 or an entry outside 0..8 changes nothing (false).
bool ApplyGasTypeDefaults(clsInstrument& instrument, int gas, int& entry);

// Fills each factory auto-calibration value that is still -101: from the
// instrument when it holds one, else from the settings file's gas
// configuration (which may be -101 too). A value already held stays.
void InitAutoCalibTable(const clsInstrument& instrument);

// What Update checks before it asks anything.
enum class UploadCheck { Ok, SetPointsOutOfOrder, NoSensor };
// Every enabled gas's pair must be in order, then at least one gas must be
// enabled. A disabled gas's set points are not looked at.
UploadCheck CheckSettingsForUpload(const clsInstrument& instrument);
