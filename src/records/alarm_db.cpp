// Storing an alarm trend in the log database and loading it back.
#include "records/alarm.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_db.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"

using namespace records_db;
using namespace records_head;

namespace {

const char* kAlarmDuplicateSql =
    "Select SeqNo From Log_Head Where Dates=? And UserID=? And StationID=? "
    "And SerialNo=? And Types=2 Limit 1;";
} // namespace

bool clsAlarm::CheckDuplicate() const
{
    return StoredRowExists(m_s.dbPath, QString::fromLatin1(kAlarmDuplicateSql), TrendMomentKey(m_s));
}

bool clsAlarm::Update()
{
    return SaveToDatabase();
}

bool clsAlarm::SaveToDatabase()
{
    if (m_s.awaitingHeader)
        return true;
    if (m_s.error)
        return false;
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        DbTransaction tx(db);
        if (SelectAny(db, QString::fromLatin1(kAlarmDuplicateSql), TrendMomentKey(m_s))) {
            m_s.duplicate = true;
            return true;
        }
        const qint64 head = NextKey(db, QStringLiteral("Log_Head"));
        QVariantList v = TrendHeadValues(head, m_s, m_instrument, 2);
        v << m_s.folderID << kSamples;
        for (int g = 0; g < 2; ++g) {
            const AlarmGasInfo& gi = m_s.gas[static_cast<size_t>(g)];
            v << BlankIfEmpty(gi.Name) << DbFloat(gi.Full) << DbFloat(gi.Desit)
              << DbBool(gi.Enabled) << gi.Point << BlankIfEmpty(gi.Unit) << DbFloat(gi.Max)
              << DbFloat(gi.Avr) << DbFloat(gi.Min) << DbDateFast(gi.MaxDate) << DbDateFast(gi.MinDate)
              << DbFloat(gi.Warn) << DbFloat(gi.Alarm);
        }
        Statement(db, QStringLiteral(
            "Insert Into Log_Head(SeqNo,Names,Dates,Model,UserID,StationID,SerialNo,Types,"
            "RomNum,Interval,FolderID,Dcount,"
            "Gas1Name,Gas1Full,Gas1Desit,Gas1Enable,Gas1Point,Gas1Unit,"
            "Gas1Max,Gas1Avr,Gas1Min,Gas1MaxDate,Gas1MinDate,Gas1Warn,Gas1Alarm,"
            "Gas2Name,Gas2Full,Gas2Desit,Gas2Enable,Gas2Point,Gas2Unit,"
            "Gas2Max,Gas2Avr,Gas2Min,Gas2MaxDate,Gas2MinDate,Gas2Warn,Gas2Alarm) "
            "Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"))
            .Exec(v);

        qint64 key = NextKey(db, QStringLiteral("Alarm_Data"));
        Statement ins(db, QStringLiteral(
            "Insert Into Alarm_Data(SeqNo,RelNo,Datetimes,Gas1Value,Gas2Value) "
            "Values (?,?,?,?,?);"));
        QVariantList row(5);
        for (int i = 0; i < kSamples; ++i, ++key) {
            const AlarmPoint& p = m_s.points[static_cast<size_t>(i)];
            row[0] = key;
            row[1] = head;
            row[2] = DbDateFast(p.DateTime);
            row[3] = DbFloat(p.Value[0]);
            row[4] = DbFloat(p.Value[1]);
            ins.Exec(row);
        }
        tx.Commit();
        return true;
    } catch (const DatabaseError&) {
        m_s.error = true;
        return false;
    }
}

bool clsAlarm::ReLoad()
{
    if (!QFile::exists(m_s.dbPath))
        return true;
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        ReadLogHead(db, m_s.seqNo, m_s, kAlarmHeadRules);
        const bool on0 = m_s.gas[0].Enabled;
        const bool on1 = m_s.gas[1].Enabled;
        Statement s(db, QStringLiteral(
            "Select SeqNo,Datetimes,Gas1Value,Gas2Value From Alarm_Data Where RelNo=? "
            "Order by SeqNo;"));
        QSqlQuery& q = s.Select({m_s.seqNo});
        int n = 0;
        const QDateTime now = Now();
        while (n < kSamples && q.next()) {
            AlarmPoint& p = m_s.points[static_cast<size_t>(n)];
            p.RowSeqNo = ReadLong(q.value(0), 0);
            p.DateTime = ReadDateFast(q.value(1), now);
            p.Value[0] = ReadGasReading(q.value(2), on0);
            p.Value[1] = ReadGasReading(q.value(3), on1);
            ++n;
        }
        if (n > 0)
            m_s.dataCount = n;
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}
