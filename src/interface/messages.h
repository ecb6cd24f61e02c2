#pragma once
#include <QString>

// A string-table text for the serial log, with up to two arguments. A text
// the table does not hold gives the id and the arguments instead: a log
// line is never worth breaking an exchange for.
QString Msg(int id, const QString& arg1 = QString(), const QString& arg2 = QString());
