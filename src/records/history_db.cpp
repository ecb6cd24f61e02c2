// Storing a calibration history in the log database and loading it back.
// Each instrument has one history head (kind 3); later downloads append the
// entries whose calibration moment is not stored yet.
#include "records/history.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_db.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"

using namespace records_db;
using namespace records_head;

namespace {
const char* kFindHeadSql =
    "Select SeqNo From Log_Head Where UserID=? And StationID=? And SerialNo=? And Types=3 "
    "Order by SeqNo Limit 1;";
}

bool clsHistory::HistoryUpdate()
{
    if (!m_instrument)
        return false;
    const clsInstrument& in = *m_instrument;
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        DbTransaction tx(db);
        const QVariantList identity{NzStar(in.UserID()), NzStar(in.StationID()), NzStar(in.SerialNo())};

        qint64 head = SelectKey(db, QString::fromLatin1(kFindHeadSql), identity);
        if (head < 0) {
            head = NextKey(db, QStringLiteral("Log_Head"));
            QVariantList v = InstrumentHeadValues(head, QStringLiteral("Calibration Histories"),
                DbDateFast(Now()), in, identity, 3, m_s.dataCount);
            for (int g = 0; g < 2; ++g)
                v << BlankIfEmpty(in.GasName(g)) << DbFloat(in.GasFullScale(g))
                  << DbFloat(in.GasDesit(g)) << DbBool(in.GasEnabled(g)) << in.GasPoint(g)
                  << DbFloat(in.Warning(g)) << DbFloat(in.Alarm(g)) << in.GasUnit(g);
            Statement(db, QStringLiteral(
                "Insert Into Log_Head(SeqNo,Names,Dates,Model,UserID,StationID,SerialNo,Types,"
                "RomNum,FolderID,Dcount,"
                "Gas1Name,Gas1Full,Gas1Desit,Gas1Enable,Gas1Point,Gas1Warn,Gas1Alarm,Gas1Unit,"
                "Gas2Name,Gas2Full,Gas2Desit,Gas2Enable,Gas2Point,Gas2Warn,Gas2Alarm,Gas2Unit) "
                "Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"))
                .Exec(v);
        }

        if (m_s.dCount > 0) {
            qint64 row = NextKey(db, QStringLiteral("cHistory"));
            Statement exists(db, QStringLiteral(
                "Select SeqNo From cHistory Where RelNo=? And Dates=? Limit 1;"));
            Statement ins(db, QStringLiteral(
                "Insert Into cHistory (SeqNo,RelNo,StationID,UserID,SerialNo,WriteDates,Dates,"
                "Gas1Name,Gas1Desit,Gas1Point,Gas1Unit,Gas1Full,Gas1Enable,Gas1AutoCal,Gas1Before,"
                "Gas1After,"
                "Gas2Name,Gas2Desit,Gas2Point,Gas2Unit,Gas2Full,Gas2Enable,Gas2AutoCal,Gas2Before,"
                "Gas2After) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"));
            const QVariant written = DbDateFast(Now());
            for (int i = 0; i < m_s.dCount; ++i) {
                const Entry& e = m_s.entries[static_cast<size_t>(i)];
                const QVariant date = DbDateFast(e.date);
                if (exists.Select({head, date}).next())
                    continue; // stored by an earlier download: kept as it is
                QVariantList v{row, head, identity[1], identity[0], identity[2], written, date};
                for (int g = 0; g < 2; ++g)
                    v << in.GasName(g) << DbFloat(in.GasDesit(g)) << in.GasPoint(g)
                      << in.GasUnit(g) << DbFloat(in.GasFullScale(g)) << DbBool(in.GasEnabled(g))
                      << DbFloat(in.AutoCalib(g)) << DbFloat(e.gas[static_cast<size_t>(g)].before)
                      << DbFloat(e.gas[static_cast<size_t>(g)].after);
                ins.Exec(v);
                ++row;
            }
        }
        tx.Commit();
        return true;
    } catch (const DatabaseError&) {
        m_s.error = true;
        return false;
    }
}

bool clsHistory::ReLoad()
{
    if (!QFile::exists(m_s.dbPath))
        return true;
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        ReadLogHead(db, m_s.seqNo, m_s, kHistoryHeadRules);
        Statement s(db, QStringLiteral(
            "Select SeqNo,Dates,Gas1Before,Gas1After,Gas2Before,Gas2After From cHistory "
            "Where RelNo=? Order By Dates Desc, SeqNo Desc;"));
        QSqlQuery& q = s.Select({m_s.seqNo});
        // However many entries the history has gathered, all are loaded.
        size_t n = 0;
        const QDateTime now = Now();
        while (q.next()) {
            if (n >= m_s.entries.size())
                m_s.entries.resize(n + 1);
            Entry& e = m_s.entries[n];
            e.date = ReadDateFast(q.value(1), now);
            const qint64 key = ReadLong(q.value(0), -1);
            e.gas[0] = EntryValue{key, ReadFloat(q.value(2), -101.0f), ReadFloat(q.value(3), -101.0f)};
            e.gas[1] = EntryValue{key, ReadFloat(q.value(4), -101.0f), ReadFloat(q.value(5), -101.0f)};
            ++n;
        }
        if (n > 0)
            m_s.dataCount = static_cast<int>(n);
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}
