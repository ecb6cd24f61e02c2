#pragma once
// The one reader of record heads by identity: a filter of column/value
// pairs over Log_Head, every value bound. The browser's list and deletion
// and the data view's event lists select their heads through it. (The trend
// search matches a serial exactly within a time window, so it runs its own
// bound query.)
#include "common/logdb.h"

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

enum class HeadColumn { SerialNo, StationID, UserID, FolderID, Types, SeqNo };

struct HeadTerm {
    HeadColumn column;
    QVariant value;
};

// The terms are joined with And; an empty filter selects every head.
using HeadFilter = QList<HeadTerm>;

// The column's name in Log_Head.
QString HeadColumnName(HeadColumn column);

// The text an identity value is shown and compared by: trimmed of blanks,
// tabs, line breaks and the full-width blank, or "*" when nothing is left
// or the value is Null. The condition below trims with the same characters.
QString IdentityText(const QVariant& value);

// The condition that an identity column (a text column compared as the
// browser shows it) equals value: "*" and an empty value match Null, blank
// and "*"; any other value matches the trimmed column without regard to
// ASCII letter case. The value is appended to binds.
QString IdentityCondition(const QString& column, const QString& value, QVariantList* binds);

// The filter as a condition (without "Where"; "1=1" for an empty filter),
// its values appended to binds in order.
QString HeadCondition(const HeadFilter& filter, QVariantList* binds);

// Runs "Select <columns> From Log_Head Where <filter> [Group By <groupBy>]
// [Order By <orderBy>]" and returns the query before its first row.
// columns, groupBy and orderBy are the caller's fixed texts, never data.
// Raises DatabaseError.
QSqlQuery SelectHeads(LogDb& db, const QString& columns, const HeadFilter& filter,
                      const QString& orderBy = QString(), const QString& groupBy = QString());
