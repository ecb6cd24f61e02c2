// The instrument's ties to the log database: the instrument information
// stored with a record, and the latest calibration of each instrument.
#include "records/instrument.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_db.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/paths.h"

using namespace records_db;

bool clsInstrument::LoadDatabase(qint64 seqNo)
{
    if (!QFile::exists(LogDatabasePath()))
        return true;
    try {
        LogDb db;
        db.RequireOpen();
        Statement s(db, QStringLiteral("Select * From Log_Head Where SeqNo=?;"));
        QSqlQuery& q = s.Select({seqNo});
        if (!q.next())
            return true;
        const QString blank = QStringLiteral(" ");
        m_model = NzStar(ReadText(Col(q, "Model"), blank));
        m_userID = records_head::ReadIdentity(q, "UserID");
        m_stationID = records_head::ReadIdentity(q, "StationID");
        m_serialNo = records_head::ReadIdentity(q, "SerialNo");
        for (int g = 0; g < 2; ++g) {
            Gas& gas = m_gas[static_cast<size_t>(g)];
            auto col = [&](const char* name) { return records_head::GasCol(q, g, name); };
            gas.name = NzStar(ReadText(col("Name"), blank));
            gas.desit = ReadFloat(col("Desit"), 0.0f);
            gas.point = ReadShort(col("Point"), 0);
            gas.unit = ReadText(col("Unit"), blank);
            gas.fullScale = ReadFloat(col("Full"), 0.0f);
            gas.enabled = ReadDbBool(col("Enable"), true);
            gas.logMax = ReadFloat(col("Max"), -101.0f);
            gas.logMin = ReadFloat(col("Min"), -101.0f);
            gas.logAvr = ReadFloat(col("Avr"), -101.0f);
            gas.logMaxDate = ReadDateFast(col("MaxDate"), DisabledDate());
            gas.logMinDate = ReadDateFast(col("MinDate"), DisabledDate());
        }
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

bool clsInstrument::HistoryUpdate()
{
    if (!QFile::exists(LogDatabasePath()))
        return false;
    try {
        LogDb db;
        db.RequireOpen();
        DbTransaction tx(db);
        const QVariantList identity{NzStar(StationID()), NzStar(UserID()), NzStar(SerialNo())};
        const qint64 oldKey = SelectKey(db, QStringLiteral(
            "Select SeqNo From cLatestHist Where StationID=? And UserID=? And SerialNo=? "
            "Order by SeqNo Limit 1;"), identity, 0);
        Statement(db, QStringLiteral("Delete From cLatestHist Where SeqNo=?;")).Exec({oldKey});
        const qint64 key = NextKey(db, QStringLiteral("cLatestHist"));
        QVariantList v{key};
        v << identity << DbDateFast(Now());
        for (int g = 0; g < 2; ++g) {
            const Gas& gas = m_gas[static_cast<size_t>(g)];
            v << gas.name << DbFloat(gas.fullScale) << DbFloat(gas.desit) << gas.point << gas.unit
              << DbBool(gas.enabled) << DbFloat(gas.autoCalib) << DbDateFast(gas.calibDate)
              << DbFloat(gas.calibBefore) << DbFloat(gas.calibAfter);
        }
        Statement(db, QStringLiteral(
            "Insert Into cLatestHist (SeqNo,StationID,UserID,SerialNo,WriteDates,"
            "Gas1Name,Gas1Full,Gas1Desit,Gas1Point,Gas1Unit,Gas1Enable,Gas1AutoCal,Gas1CalDate,"
            "Gas1Before,Gas1After,"
            "Gas2Name,Gas2Full,Gas2Desit,Gas2Point,Gas2Unit,Gas2Enable,Gas2AutoCal,Gas2CalDate,"
            "Gas2Before,Gas2After) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"))
            .Exec(v);
        tx.Commit();
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}
