#include "views/trend_search.h"

#include "common/logdb.h"
#include "views/view_records.h"

#include <QSqlQuery>
#include <cstdlib>

qint64 TrendSearch(const QString& dbPath, qint64 exclude, const QString& serialNo, const QDateTime& moment,
                   int before, int after)
{
    constexpr qint64 kMaxDistance = 600;
    LogDb db(dbPath);
    QSqlQuery q = QuerySql(db,
                           QStringLiteral("Select SeqNo, Dates From Log_Head Where Types = 2 And SerialNo = ? "
                                          "And SeqNo <> ? And Dates >= ? And Dates <= ? Order By Dates, SeqNo;"),
                           {serialNo, exclude, DbDate(moment.addSecs(before)), DbDate(moment.addSecs(after))});
    qint64 result = -1;
    qint64 best = kMaxDistance;
    while (q.next()) {
        const QDateTime d = ReadDbDate(q.value(1), QDateTime());
        if (!d.isValid())
            continue;
        const qint64 distance = std::llabs(moment.secsTo(d));
        if (distance < best) {
            best = distance;
            result = q.value(0).toLongLong();
        }
    }
    return result;
}

bool IsTrendMarkText(const QString& text)
{
    return text == QLatin1String("WARNING") || text == QLatin1String("ALARM") || text == QLatin1String("OVER");
}

bool IsTrendCell(int kind, int row, int col, std::int32_t backColor, const QString& text)
{
    if (kind != kViewInterval || row <= 0 || col <= 0 || backColor == 0)
        return false;
    const QString head = text.left(4);
    return head == QLatin1String("WARN") || head == QLatin1String("ALAR") || head == QLatin1String("OVER");
}
