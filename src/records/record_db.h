#pragma once
// Database helpers shared by the record classes (bound values and Null
// defaults). Every statement binds its values; nothing is built from text.
#include "common/logdb.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace records_db {

// An empty text is stored as one blank; that blank reads back as empty.
inline QString BlankIfEmpty(const QString& s)
{
    return s.isEmpty() ? QStringLiteral(" ") : s;
}
inline QString EmptyIfBlank(const QString& s)
{
    return s == QLatin1String(" ") ? QString() : s;
}

// A float as the number it prints as ("0.1" is stored as 0.1, not as the
// nearest double of the float).
QVariant DbFloat(float value);

// A date as stored ("yyyy-MM-dd HH:mm:ss", whole seconds; Null for an
// invalid date) and back (nullDefault for Null or a text that is no date).
// The same form as DbDate/ReadDbDate, without the general-purpose parsing.
QVariant DbDateFast(const QDateTime& date);
QDateTime ReadDateFast(const QVariant& value, const QDateTime& nullDefault);

float ReadFloat(const QVariant& value, float nullDefault);
std::int16_t ReadShort(const QVariant& value, std::int16_t nullDefault);
qint32 ReadInt(const QVariant& value, qint32 nullDefault);
qint64 ReadLong(const QVariant& value, qint64 nullDefault);
QString ReadText(const QVariant& value, const QString& nullDefault);

// A prepared statement; Exec binds the values in order and raises
// DatabaseError naming the statement when it fails.
class Statement {
public:
    Statement(LogDb& db, const QString& sql);
    void Exec(const QVariantList& values);
    // Runs a SELECT with the values bound; the query is positioned before
    // its first row.
    QSqlQuery& Select(const QVariantList& values);
    QSqlQuery& Query() { return m_q; }

private:
    QString m_sql;
    QSqlQuery m_q;
};

// Runs a SELECT with the values bound and gives the first column of its
// first row as a key; none when there is no row (or that value is Null or
// no number).
qint64 SelectKey(LogDb& db, const QString& sql, const QVariantList& values, qint64 none = -1);
// True when the SELECT with the values bound gives a row.
bool SelectAny(LogDb& db, const QString& sql, const QVariantList& values);
// The same on the database at path, outside any transaction of the caller:
// false when the file is missing, does not open or the statement fails.
bool StoredRowExists(const QString& path, const QString& sql, const QVariantList& values);

// The field of the current row by column name.
inline QVariant Col(const QSqlQuery& q, const char* name)
{
    return q.value(QString::fromLatin1(name));
}

} // namespace records_db
