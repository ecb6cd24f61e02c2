#pragma once
#include <QString>
#include <cstdint>


// The raw calibration coefficients of the "-G2" frame: two span
// coefficients (one per gas) and three air coefficients. The instrument
// frames carry 16-bit signed values.

// A coefficient box's text as the value sent: a numeric text rounded to the
// nearest whole number, halves to the even neighbour ("12.5" gives 12,
// "13.5" gives 14). False for a text that is not numeric (an empty one
// among them) and for a value outside -32768..32767: the box refuses both.
bool ParseCoefficient(const QString& text, std::int16_t* out);

// What a coefficient box shows for a stored value: "" for -101 (none),
// otherwise the number.
QString CoefficientText(std::int16_t value);
