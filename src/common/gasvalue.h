#pragma once
#include <QString>
#include <cstdint>

// Gas values are 32-bit floats. A value that equals one of these codes
// exactly is a status, not a reading (-117 is an ordinary value).
enum GasValueCode : std::int32_t {
    kGasNoValue = -101,     // "-----"
    kGasNormal = -102,
    kGasWarning = -103,
    kGasAlarm = -104,
    kGasStel = -105,
    kGasTwa = -106,
    kGasOver = -107,
    kGasCalibrating = -108,
    kGasFailCal = -109,
    kGasFailSensor = -110,
    kGasFailBattery = -111,
    kGasFailFlow = -112,
    kGasFailCircuit = -113,
    kGasClg = -114,
    kGasMax = -115,
    kGasMin = -116,
    kGasUnreadable = -118,  // "?????"
};

// True when value is one of the status codes (-101 to -116, -118).
bool IsStatusCode(float value);

// The value (or status code) as display text: a code gives its text; a
// reading is formatted with 0 to 3 decimals (other points give 0). With
// convert, App().ConvertFactor * value is formatted.
QString FormatGasValue(float value, std::int16_t points, bool convert = false);

// The name of codes -115 to -102, else "".
QString StatusCodeName(std::int32_t code);

// A numeric text as its value; otherwise the code whose three-letter prefix
// the trimmed, upper-cased text starts with (OVE, FAI, WAR, ALR, STE, TWA,
// MAX, MIN, NOR), and -101 for anything else.
float StatusTextToCode(const QString& text);

// "OVER" for a numeric text whose value is below 0 or above full; any other
// text unchanged.
QString OverIfAboveFull(const QString& text, float full);

// The display picture for 0 to 9 decimals ("#0", "#0.0", ...), else "".
QString PointsFormat(std::int16_t points);

// The number of characters after the first "." (0 when there is none).
std::int16_t DecimalPlaces(const QString& text);

// A set point as five characters, right-aligned, with 0 to 3 decimals
// ("00000" for a negative value). A longer formatted value loses its
// leading characters; callers that must not send a cut value check
// FormatNumber(value, points).size() <= 5 first.
QString FormatValue5(float value, std::int16_t points);

// value snapped to a multiple of step (the quotient rounded half to even);
// 0 for a negative value. A step of 0 or less (a record or an instrument may
// carry one) leaves the value as it is. The quotient is taken in double
// precision, so no size of it fails.
float RoundToStep(float value, float step);

// --- Number texts shared by the codec, the settings file and the captions.

// True for an optional sign, digits with at most one ".", and at least one
// digit, with blanks around allowed. Letters (exponents included) never.
bool IsNumericText(const QString& text);
// Parses a numeric text into a 32-bit float; false when the text is not
// numeric or its value lies beyond the float range.
bool ParseFloatText(const QString& text, float* out);
// Parses a numeric text and rounds it half to even into a whole number;
// false when the text is not numeric. *out is not range-checked here.
bool ParseWholeText(const QString& text, double* out);

// The value with exactly points decimals (at least one digit before the
// point), as the pictures "#0", "#0.0", ... print it. A negative zero
// prints without its sign.
QString FormatNumber(double value, int points);

// The shortest decimal text that reads back as the same 32-bit float,
// never in exponent form ("25.5", "100", "0.1", "-3").
QString FloatText(float value);
