#pragma once
#include <QDateTime>
#include <QString>

#include <cstdint>

// Text formats of the trend graph: number patterns such as "##0.0" for the
// Y labels and the cursor readout, and date patterns such as
// "mm/dd hh:nn:ss" for the time axis. Both follow the program's classic
// pattern language.

// Nearest whole number with halves to even (the rounding of CInt and CLng).
double RoundHalfEven(double value);
// RoundHalfEven held to the 32-bit range; a value that is not a number gives
// the lowest.
std::int32_t RoundToLong(double value);

// A number through a pattern made of "0" (digit always shown), "#" (digit
// shown when significant), "." (decimal point), "," (thousands grouping
// between digit placeholders) and "%" (value times 100); other characters are
// copied, "\x" and "..." quote literal text, and ";" separates the positive,
// negative and zero sections. Rounds half away from zero on the decimal
// value as written with `significant` digits (7 for single-precision
// values). An empty pattern gives the general number form.
QString FormatPattern(double value, const QString& pattern, int significant = 15);

// A date through a pattern of yyyy, yy, mm, m, dd, d, hh, h, nn, n, ss, s
// ("m" and "mm" right after an hour token are minutes); other characters are
// copied. An invalid date formats as date 0 (1899-12-30 00:00:00).
QString FormatDate(const QDateTime& date, const QString& pattern);
