#pragma once
#include <QDateTime>
#include <QString>

// A string-table text for the serial log, with up to two arguments. A text
// the table does not hold gives the id and the arguments instead: a log
// line is never worth breaking an exchange for.
QString Msg(int id, const QString& arg1 = QString(), const QString& arg2 = QString());

// The time from start to end as "hh:mm:ss" (a negative span as 00:00:00),
// for the serial log and the dump lists.
QString ElapsedHms(const QDateTime& start, const QDateTime& end);
