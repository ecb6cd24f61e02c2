// Storing power events in the log database and loading their head back.
// Each instrument has one power-events head (kind 7); later downloads
// append the events (moment and flag) not stored yet.
#include "records/power_event.h"

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
    "Select SeqNo From Log_Head Where UserID=? And StationID=? And SerialNo=? And Types=7 "
    "Order by SeqNo Limit 1;";
}

bool clsPowerEvent::Update()
{
    if (m_s.dataCount <= 0)
        return true;
    return SaveToDatabase();
}

bool clsPowerEvent::SaveToDatabase()
{
    if (!m_instrument)
        return false;
    const clsInstrument& in = *m_instrument;
    // Events whose line held a bad date or time carry date 0 and are skipped.
    std::vector<int> valid;
    for (int i = 0; i < m_s.dataCount; ++i) {
        const QDateTime& d = m_s.events[static_cast<size_t>(i)].date;
        if (d.isValid() && d != DateZero())
            valid.push_back(i);
    }
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        DbTransaction tx(db);
        const QVariantList identity{NzStar(in.UserID()), NzStar(in.StationID()), NzStar(in.SerialNo())};
        qint64 head = SelectKey(db, QString::fromLatin1(kFindHeadSql), identity);
        if (valid.empty()) {
            tx.Commit();
            return true;
        }
        // The events always go under a real head: make it when missing.
        if (head < 0) {
            head = NextKey(db, QStringLiteral("Log_Head"));
            const QVariantList v = InstrumentHeadValues(head, QStringLiteral("Power Events"),
                DbDateFast(in.SysDate()), in, identity, 7, m_s.dataCount);
            Statement(db, QStringLiteral(
                "Insert Into Log_Head(SeqNo,Names,Dates,Model,UserID,StationID,SerialNo,Types,"
                "RomNum,FolderID,Dcount) Values (?,?,?,?,?,?,?,?,?,?,?);"))
                .Exec(v);
        }
        qint64 row = NextKey(db, QStringLiteral("Power_Event"));
        Statement exists(db, QStringLiteral(
            "Select SeqNo From Power_Event Where RelNo=? And Dates=? And Power_Type=? Limit 1;"));
        Statement ins(db, QStringLiteral(
            "Insert Into Power_Event(SeqNo,RelNo,Dates,Power_Type) Values (?,?,?,?);"));
        for (int i : valid) {
            const Event& e = m_s.events[static_cast<size_t>(i)];
            const QVariant date = DbDateFast(e.date);
            const QVariant flag = DbBool(e.power);
            if (exists.Select({head, date, flag}).next())
                continue;
            ins.Exec({row, head, date, flag});
            ++row;
        }
        tx.Commit();
        return true;
    } catch (const DatabaseError&) {
        m_s.error = true;
        return false;
    }
}

bool clsPowerEvent::ReLoad()
{
    if (!QFile::exists(m_s.dbPath))
        return true;
    try {
        LogDb db(m_s.dbPath);
        db.RequireOpen();
        ReadLogHead(db, m_s.seqNo, m_s, kPowerEventHeadRules);
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}
