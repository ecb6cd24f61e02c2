#pragma once
#include <QDateTime>
#include <QString>

// What the trend graph is fed from a stored record. The data view and the
// printed graph both go through these, so the screen and the paper show
// the same points and the same titles.

// The value the graph draws for a stored gas value of a gas with full scale
// `full` and `points` decimals: the reading as the table writes it (cut to
// the gas's decimals), the full scale for a reading above it, and
// GraphModel::kNoValue (nothing drawn) for every status code and for a
// reading whose text is negative, which the table shows as "OVER".
float GraphPointValue(float stored, float full, int points);

// A sample time as the graph's bottom title writes it: the program's
// "Medium Date" followed by " hh:mm:ss"; "" for an invalid time.
QString GraphTitleMoment(const QDateTime& time);
