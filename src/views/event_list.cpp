#include "views/event_list.h"

#include "common/dates.h"
#include "common/logdb.h"
#include "records/head_query.h"
#include "views/view_records.h"

#include <QSqlQuery>

#include <algorithm>

namespace {
QString EventTable(int kind)
{
    switch (kind) {
    case kViewAlarmEvents: return QStringLiteral("Alarm_Event");
    case kViewTroubleEvents: return QStringLiteral("Trouble_Event");
    case kViewPowerEvents: return QStringLiteral("Power_Event");
    default: return QString();
    }
}

bool HasTable(LogDb& db, const QString& table)
{
    const QStringList tables = db.Db().tables();
    return std::any_of(tables.begin(), tables.end(),
                       [&](const QString& t) { return t.compare(table, Qt::CaseInsensitive) == 0; });
}
}

EventList ReadEventList(const QString& dbPath, int kind, qint64 seqNo)
{
    EventList list;
    LogDb db(dbPath);
    {
        QSqlQuery q = SelectHeads(db, QStringLiteral("SeqNo, SerialNo, StationID, UserID, Dates"),
                                  {{HeadColumn::SeqNo, seqNo}});
        if (q.next()) {
            list.headFound = true;
            list.relNo = q.value(0).toLongLong();
            list.serialNo = q.value(1).toString();
            list.stationID = q.value(2).toString();
            list.userID = q.value(3).toString();
            list.dates = ReadDbDate(q.value(4), QDateTime());
        }
    }
    const QString table = EventTable(kind);
    if (!list.headFound || table.isEmpty() || !HasTable(db, table))
        return list;
    const QString columns = kind == kViewPowerEvents ? QStringLiteral("Dates, Power_Type")
                                      : QStringLiteral("Dates, GasName, Alarm_type");
    QSqlQuery q = QuerySql(
        db, QStringLiteral("Select %1 From %2 Where RelNo = ? Order By Dates DESC, SeqNo DESC;").arg(columns, table),
        {list.relNo});
    while (q.next()) {
        EventListRow r;
        r.date = ReadDbDate(q.value(0), QDateTime());
        if (kind == kViewPowerEvents) {
            r.powerOn = ReadDbBool(q.value(1), false);
        } else {
            r.gasName = q.value(1).toString();
            r.code = static_cast<std::int32_t>(q.value(2).toLongLong());
        }
        list.rows.push_back(r);
    }
    return list;
}
