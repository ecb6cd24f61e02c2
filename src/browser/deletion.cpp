#include "browser/deletion.h"

#include <QStringList>

namespace browser {

namespace {

// The tables that refer to a head by RelNo. The two event tables may be
// missing from databases made by older versions.
const QStringList& RecordTables()
{
    static const QStringList t{QStringLiteral("Interval_Data"), QStringLiteral("Interval_Event"),
                               QStringLiteral("Alarm_Data"),    QStringLiteral("cHistory"),
                               QStringLiteral("Power_Event"),   QStringLiteral("Alarm_Event"),
                               QStringLiteral("Trouble_Event")};
    return t;
}

QStringList PresentTables(LogDb& db, const QStringList& wanted)
{
    const QStringList have = db.Db().tables();
    QStringList out;
    for (const QString& w : wanted)
        if (have.contains(w, Qt::CaseInsensitive))
            out << w;
    return out;
}

} // namespace

void DeleteAllData(LogDb& db)
{
    DbTransaction tx(db);
    ExecSql(db, QStringLiteral("Delete From Log_head;"));
    for (const QString& t : PresentTables(db, RecordTables()))
        ExecSql(db, QStringLiteral("Delete From %1;").arg(t));
    ExecSql(db, QStringLiteral("Delete From cLatestHist;"));
    tx.Commit();
}

void DeleteNodeData(LogDb& db, const HeadFilter& filter)
{
    DbTransaction tx(db);
    QVariantList binds;
    const QString condition = HeadCondition(filter, &binds);
    // The record rows first, while the heads still say which they are.
    for (const QString& t : PresentTables(db, RecordTables()))
        ExecSql(db, QStringLiteral("Delete From %1 Where RelNo In (Select SeqNo From Log_Head Where %2);")
                        .arg(t, condition), binds);
    ExecSql(db, QStringLiteral("Delete From Log_head Where %1;").arg(condition), binds);
    tx.Commit();
}

void DeleteRecord(LogDb& db, qint64 seqNo, const RecordKind& kind)
{
    QStringList tables;
    switch (kind.itemLetter) {
    case 'G': tables = {QStringLiteral("Interval_Data"), QStringLiteral("Interval_Event")}; break;
    case 'K': tables = {QStringLiteral("Alarm_Data")}; break;
    case 'H': tables = {QStringLiteral("cHistory")}; break;
    case 'V': tables = {QStringLiteral("Alarm_Event")}; break;
    case 'W': tables = {QStringLiteral("Trouble_Event")}; break;
    case 'P': tables = {QStringLiteral("Power_Event")}; break;
    default: break;
    }
    DbTransaction tx(db);
    ExecSql(db, QStringLiteral("Delete From Log_head Where Types=? And SeqNo=?;"), {kind.types, seqNo});
    for (const QString& t : PresentTables(db, tables))
        ExecSql(db, QStringLiteral("Delete From %1 Where RelNo=?;").arg(t), {seqNo});
    tx.Commit();
}

bool RecordStored(LogDb& db, qint64 seqNo, const RecordKind& kind)
{
    QSqlQuery q = SelectHeads(db, QStringLiteral("SeqNo"), {{HeadColumn::SeqNo, seqNo}, {HeadColumn::Types, kind.types}});
    return q.next();
}

void DeleteLatestHistory(LogDb& db, const HistoryIdentity& id)
{
    DbTransaction tx(db);
    QVariantList binds;
    const QString condition = QStringList{IdentityCondition(QStringLiteral("SerialNo"), id.serialNo, &binds),
                                          IdentityCondition(QStringLiteral("UserID"), id.userID, &binds),
                                          IdentityCondition(QStringLiteral("StationID"), id.stationID, &binds)}
                                  .join(QStringLiteral(" And "));
    ExecSql(db, QStringLiteral("Delete From cLatestHist Where %1;").arg(condition), binds);
    tx.Commit();
}

} // namespace browser
