// Storing an interval trend in the log database and loading it back.
#include "records/interval.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_db.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"

using namespace records_db;
using namespace records_head;

namespace {
const char* kIntervalDuplicateSql =
    "Select SeqNo From Log_Head Where Dates=? And UserID=? And StationID=? "
    "And SerialNo=? And Types=1 Limit 1;";
} // namespace

bool clsInterval::CheckDuplicate() const
{
    return StoredRowExists(m_h.dbPath, QString::fromLatin1(kIntervalDuplicateSql), TrendMomentKey(m_h));
}

bool clsInterval::Update()
{
    return SaveToDatabase();
}

bool clsInterval::SaveToDatabase()
{
    if (m_h.awaitingHeader)
        return true;
    if (m_h.error)
        return false;
    try {
        LogDb db(m_h.dbPath);
        db.RequireOpen();
        DbTransaction tx(db);

        // The duplicate test runs inside the transaction, so the test and
        // the insert see the same database.
        if (SelectAny(db, QString::fromLatin1(kIntervalDuplicateSql), TrendMomentKey(m_h))) {
            m_h.duplicate = true;
            return true;
        }

        const qint64 head = NextKey(db, QStringLiteral("Log_Head"));
        QVariantList v = TrendHeadValues(head, m_h, m_instrument, 1);
        v << BlankIfEmpty(m_h.folderID) << static_cast<qint64>(m_h.eventCount) + m_h.dataLineCount;
        for (int g = 0; g < 2; ++g) {
            const IntervalGasInfo& gi = m_h.gas[static_cast<size_t>(g)];
            v << BlankIfEmpty(gi.Name) << DbFloat(gi.Full) << DbFloat(gi.Desit)
              << DbBool(gi.Enabled) << gi.Point << gi.Unit << DbFloat(gi.Max) << DbFloat(gi.Avr)
              << DbFloat(gi.Min) << DbDateFast(gi.MaxDate) << DbDateFast(gi.MinDate);
        }
        Statement(db, QStringLiteral(
            "Insert Into Log_Head(SeqNo,Names,Dates,Model,UserID,StationID,SerialNo,Types,"
            "RomNum,Interval,FolderID,Dcount,"
            "Gas1Name,Gas1Full,Gas1Desit,Gas1Enable,Gas1Point,Gas1Unit,"
            "Gas1Max,Gas1Avr,Gas1Min,Gas1MaxDate,Gas1MinDate,"
            "Gas2Name,Gas2Full,Gas2Desit,Gas2Enable,Gas2Point,Gas2Unit,"
            "Gas2Max,Gas2Avr,Gas2Min,Gas2MaxDate,Gas2MinDate) "
            "Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"))
            .Exec(v);

        if (m_h.dataCount > 0) {
            qint64 key = NextKey(db, QStringLiteral("Interval_Data"));
            Statement ins(db, QStringLiteral(
                "Insert Into Interval_Data(SeqNo,RelNo,Datetimes,Gas1Value,Gas1NowCl,"
                "Gas2Value,Gas2NowCl) Values (?,?,?,?,?,?,?);"));
            QVariantList row(7);
            for (int i = 0; i < m_h.dataCount; ++i, ++key) {
                const IntervalValueRow& r = m_values[static_cast<size_t>(i)];
                row[0] = key;
                row[1] = head;
                row[2] = DbDateFast(r.DateTime);
                row[3] = DbFloat(r.Value[0]);
                row[4] = DbBool(r.NowCalib[0]);
                row[5] = DbFloat(r.Value[1]);
                row[6] = DbBool(r.NowCalib[1]);
                ins.Exec(row);
            }
        }
        if (m_h.eventCount > 0) {
            qint64 key = NextKey(db, QStringLiteral("Interval_Event"));
            Statement ins(db, QStringLiteral(
                "Insert Into Interval_Event(SeqNo,RelNo,Datetimes,BaseDate,Gas1Event,Gas2Event) "
                "Values (?,?,?,?,?,?);"));
            QVariantList row(6);
            for (int j = 0; j < m_h.eventCount; ++j, ++key) {
                const IntervalEventRow& e = m_events[static_cast<size_t>(j)];
                row[0] = key;
                row[1] = head;
                row[2] = DbDateFast(e.DateTime);
                row[3] = DbDateFast(e.BaseDate);
                row[4] = static_cast<qint64>(std::nearbyint(e.Event[0]));
                row[5] = static_cast<qint64>(std::nearbyint(e.Event[1]));
                ins.Exec(row);
            }
        }
        tx.Commit();
        return true;
    } catch (const DatabaseError&) {
        m_h.error = true;
        return false;
    }
}

bool clsInterval::ReLoad()
{
    if (!QFile::exists(m_h.dbPath))
        return true;
    try {
        LogDb db(m_h.dbPath);
        db.RequireOpen();
        ReadLogHead(db, m_h.seqNo, m_h, kIntervalHeadRules);
        {
            Statement s(db, QStringLiteral(
                "Select Count(*) From Interval_Data Where RelNo=? And Gas1Value >=0 "
                "And Gas2Value >=0;"));
            QSqlQuery& q = s.Select({m_h.seqNo});
            m_h.valueCount = q.next() ? ReadInt(q.value(0), 0) : 0;
        }
        const bool on0 = m_h.gas[0].Enabled;
        const bool on1 = m_h.gas[1].Enabled;
        {
            Statement s(db, QStringLiteral(
                "Select SeqNo,Datetimes,Gas1Value,Gas1NowCl,Gas2Value,Gas2NowCl "
                "From Interval_Data Where RelNo=? Order by SeqNo;"));
            QSqlQuery& q = s.Select({m_h.seqNo});
            int n = 0;
            const QDateTime now = Now();
            while (q.next()) {
                IntervalValueRow& r = freshValueRow(n);
                r.RowSeqNo = ReadLong(q.value(0), 0);
                r.DateTime = ReadDateFast(q.value(1), now);
                r.Value[0] = ReadGasReading(q.value(2), on0);
                r.NowCalib[0] = ReadDbBool(q.value(3), false);
                r.Value[1] = ReadGasReading(q.value(4), on1);
                r.NowCalib[1] = ReadDbBool(q.value(5), false);
                ++n;
            }
            if (n > 0) {
                m_h.dataCount = n;
                m_indexDirty = true;
            }
        }
        {
            Statement s(db, QStringLiteral(
                "Select SeqNo,Datetimes,Gas1Event,Gas2Event From Interval_Event "
                "Where RelNo=? And BaseDate=? Order by SeqNo;"));
            QSqlQuery& q = s.Select({m_h.seqNo, DbDateFast(m_h.dates)});
            int n = 0;
            const QDateTime now = Now();
            while (q.next()) {
                IntervalEventRow& e = freshEventRow(n);
                e.RowSeqNo = ReadLong(q.value(0), 0);
                e.DateTime = ReadDateFast(q.value(1), now);
                e.Event[0] = ReadGasReading(q.value(2), on0);
                e.Event[1] = ReadGasReading(q.value(3), on1);
                ++n;
            }
            if (n > 0) {
                m_h.eventCount = n;
                m_eventIndexDirty = true;
            }
        }
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}
