#include "records/head_query.h"

namespace {
// The characters TrimmedIdentitySql trims.
bool IsTrimmed(QChar c)
{
    const char16_t u = c.unicode();
    return u == 32 || (u >= 9 && u <= 13) || u == 160 || u == 12288;
}
}

QString HeadColumnName(HeadColumn column)
{
    switch (column) {
    case HeadColumn::SerialNo: return QStringLiteral("SerialNo");
    case HeadColumn::StationID: return QStringLiteral("StationID");
    case HeadColumn::UserID: return QStringLiteral("UserID");
    case HeadColumn::FolderID: return QStringLiteral("FolderID");
    case HeadColumn::Types: return QStringLiteral("Types");
    case HeadColumn::SeqNo: return QStringLiteral("SeqNo");
    }
    return QString();
}

QString IdentityText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("*");
    const QString s = value.toString();
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && IsTrimmed(s[b]))
        ++b;
    while (e > b && IsTrimmed(s[e - 1]))
        --e;
    if (b == e)
        return QStringLiteral("*");
    return b == 0 && e == s.size() ? s : s.mid(b, e - b);
}

QString IdentityCondition(const QString& column, const QString& value, QVariantList* binds)
{
    const QString shown = IdentityText(value);
    const QString trimmed = TrimmedIdentitySql(column);
    binds->append(shown);
    if (shown == QLatin1String("*"))
        return QStringLiteral("(%1 Is Null Or %2='' Or %2=?)").arg(column, trimmed);
    return QStringLiteral("%1=? Collate NoCase").arg(trimmed);
}

QString HeadCondition(const HeadFilter& filter, QVariantList* binds)
{
    QStringList parts;
    for (const HeadTerm& t : filter) {
        const QString name = HeadColumnName(t.column);
        if (t.column == HeadColumn::Types || t.column == HeadColumn::SeqNo) {
            parts << name + QStringLiteral("=?");
            binds->append(t.value.toLongLong());
        } else {
            parts << IdentityCondition(name, t.value.toString(), binds);
        }
    }
    return parts.isEmpty() ? QStringLiteral("1=1") : parts.join(QStringLiteral(" And "));
}

QSqlQuery SelectHeads(LogDb& db, const QString& columns, const HeadFilter& filter, const QString& orderBy,
                      const QString& groupBy)
{
    QVariantList binds;
    QString sql = QStringLiteral("Select %1 From Log_Head Where %2").arg(columns, HeadCondition(filter, &binds));
    if (!groupBy.isEmpty())
        sql += QStringLiteral(" Group By ") + groupBy;
    if (!orderBy.isEmpty())
        sql += QStringLiteral(" Order By ") + orderBy;
    return QuerySql(db, sql, binds);
}
