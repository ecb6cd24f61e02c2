#pragma once
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

// Small text helpers shared by the record-line parsers. Positions are
// 1-based, as the line layouts are written.
namespace records_text {

// The n characters from 1-based position p (shorter or empty near the end).
inline QString Mid(const QString& line, int p, int n)
{
    return line.mid(p - 1, n);
}

// The text cut or padded with blanks on the right to n characters.
inline QString Fit(const QString& s, int n)
{
    return s.left(n).leftJustified(n, QLatin1Char(' '));
}

// The line without characters outside codes 32..126.
QString CleanLine(const QString& line);

// A number text: optional blanks, an optional sign, digits with an optional
// decimal part; blanks around allowed (no exponents, no infinity or NaN).
bool IsNumeric(const QString& text);
std::optional<double> ToNumber(const QString& text);
// A number rounded to the nearest whole number, halves to even, when it fits
// the range [lo, hi]; nothing otherwise.
std::optional<qint64> ToWhole(const QString& text, qint64 lo, qint64 hi);

// "YYMMDD" as a date (year 2000 + YY) at midnight; nothing when the six
// characters do not name a calendar date.
std::optional<QDateTime> DateField(const QString& yymmdd);
// "hhnnss" as seconds after midnight; nothing when it is not a time of day.
std::optional<int> TimeField(const QString& hhnnss);

// Whole number halves-to-even, as the numeric record fields are converted.
qint64 RoundEven(double v);

// Variant helpers for the indexed accessors.
std::optional<double> VariantNumber(const QVariant& v);
// A variant number rounded as ToWhole does, when it fits [lo, hi].
std::optional<qint64> VariantWhole(const QVariant& v, qint64 lo, qint64 hi);
std::optional<QDateTime> VariantDate(const QVariant& v);
bool VariantBool(const QVariant& v);

// Appends one line to the serial log in the program's folder ("hh:mm:ss "
// and the text, CR LF). A failure to write is ignored.
void WriteSerialLog(const QString& text);

} // namespace records_text
