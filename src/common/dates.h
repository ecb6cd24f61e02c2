#pragma once
#include <QDateTime>
#include <QString>

// Every date in the program is a wall-clock time (the instrument's clock or
// the PC's local time) held in a QDateTime marked as UTC, so that no
// time-zone or daylight-saving rule ever moves a recorded time. Use these
// helpers to make, read and store dates; never QDateTime::currentDateTime().

// A wall-clock date from its parts (invalid parts give an invalid date).
QDateTime MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Date serials as the database and settings file keep them: 0 is
// 1899-12-30 00:00 ("date 0"), 2 is 1900-01-01 (the "no date" of a
// "******" field), -101 is 1899-09-20 (the value of a disabled gas's
// date). Fractions are parts of a day.
QDateTime DateFromSerial(double serial);
double SerialFromDate(const QDateTime& date);

// Frequently used serial dates.
QDateTime DateZero();     // serial 0
QDateTime NoDate();       // serial 2, 1900-01-01 00:00
QDateTime DisabledDate(); // serial -101

// Storage form: "yyyy-MM-dd HH:mm:ss" (whole seconds). An empty or bad text
// reads as an invalid QDateTime; callers apply their Null default.
QString DateToIso(const QDateTime& date);
QDateTime IsoToDate(const QString& text);

// The named display forms of this program, the same in every language, with
// "/" and ":" as written (an invalid date gives ""):
// "General Date" "yyyy/MM/dd hh:mm:ss", "Medium Date" "yyyy/MM/dd".
QString GeneralDate(const QDateTime& date);
QString MediumDate(const QDateTime& date);

// Whole seconds from a to b (b - a).
qint64 SecondsBetween(const QDateTime& a, const QDateTime& b);

// Truncates to whole seconds.
QDateTime WholeSeconds(const QDateTime& date);
