#include "common/logdb.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/paths.h"
#include "common/resstrings.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

struct Column {
    const char* name;
    const char* type;
};

struct Table {
    const char* name;
    QList<Column> columns;
};

// Column lists hold owned strings so the gas prefixes can be generated.
struct OwnedColumn {
    QString name;
    QString type;
};

QList<OwnedColumn> GasColumns(int gas, const QList<Column>& perGas)
{
    QList<OwnedColumn> out;
    for (const Column& c : perGas)
        out.append({QStringLiteral("Gas%1%2").arg(gas).arg(QLatin1String(c.name)), QLatin1String(c.type)});
    return out;
}

QList<OwnedColumn> Plain(const QList<Column>& cols)
{
    QList<OwnedColumn> out;
    for (const Column& c : cols)
        out.append({QLatin1String(c.name), QLatin1String(c.type)});
    return out;
}

QList<OwnedColumn> TwoGases(const QList<Column>& perGas)
{
    return GasColumns(1, perGas) + GasColumns(2, perGas);
}

const QList<std::pair<QString, QList<OwnedColumn>>>& Schema()
{
    static const QList<std::pair<QString, QList<OwnedColumn>>> schema = [] {
        const QList<Column> headGas = {
            {"Name", "Varchar(4)"}, {"Full", "Float"},      {"Desit", "Float"}, {"Enable", "YesNo"},
            {"Point", "Integer"},   {"Unit", "Varchar(5)"}, {"Avr", "Float"},   {"Max", "Float"},
            {"Min", "Float"},       {"Warn", "Float"},      {"Alarm", "Float"}, {"MaxDate", "Date"},
            {"MinDate", "Date"},
        };
        const QList<Column> historyGas = {
            {"Name", "Varchar(4)"}, {"Desit", "Float"},    {"Point", "Integer"},
            {"Unit", "Varchar(5)"}, {"Full", "Float"},     {"Enable", "YesNo"},
            {"AutoCal", "Integer"}, {"Before", "Float"},   {"After", "Float"},
        };
        const QList<Column> latestGas = {
            {"Name", "Varchar(4)"}, {"Desit", "Float"},  {"Point", "Integer"},
            {"Unit", "Varchar(5)"}, {"Full", "Float"},   {"Enable", "YesNo"},
            {"AutoCal", "Float"},   {"CalDate", "Date"}, {"Before", "Float"},
            {"After", "Float"},
        };
        const QList<Column> identity = {
            {"UserID", "Varchar(20)"}, {"StationID", "Varchar(20)"}, {"SerialNo", "Varchar(20)"}};

        QList<std::pair<QString, QList<OwnedColumn>>> s;
        s.append({QStringLiteral("Log_head"),
                  Plain({{"Model", "Varchar(20)"}, {"Names", "Varchar(40)"}, {"UserID", "Varchar(20)"},
                         {"StationID", "Varchar(20)"}, {"SerialNo", "Varchar(20)"}, {"RomNum", "Integer"},
                         {"Types", "Integer"}, {"Dcount", "Integer"}, {"FolderID", "Varchar(10)"},
                         {"Dates", "Date"}, {"Interval", "Integer"}})
                      + TwoGases(headGas)});
        s.append({QStringLiteral("Interval_Data"),
                  Plain({{"RelNo", "Integer"}, {"Datetimes", "Date"}, {"Gas1Value", "Float"},
                         {"Gas1NowCl", "Integer"}, {"Gas2Value", "Float"}, {"Gas2NowCl", "Integer"}})});
        s.append({QStringLiteral("Interval_Event"),
                  Plain({{"RelNo", "Integer"}, {"Datetimes", "Date"}, {"BaseDate", "Date"},
                         {"Gas1Event", "Integer"}, {"Gas2Event", "Integer"}})});
        s.append({QStringLiteral("Alarm_Data"),
                  Plain({{"RelNo", "Integer"}, {"Datetimes", "Date"}, {"Gas1Value", "Float"},
                         {"Gas2Value", "Float"}})});
        s.append({QStringLiteral("cHistory"),
                  Plain({{"RelNo", "Integer"}}) + Plain(identity)
                      + Plain({{"WriteDates", "Date"}, {"Dates", "Date"}}) + TwoGases(historyGas)});
        s.append({QStringLiteral("cLatestHist"),
                  Plain(identity) + Plain({{"WriteDates", "Date"}}) + TwoGases(latestGas)});
        s.append({QStringLiteral("Power_Event"),
                  Plain({{"RelNo", "Integer"}, {"Dates", "Date"}, {"Power_Type", "YesNo"}})});
        const QList<Column> events = {
            {"RelNo", "Integer"}, {"Dates", "Date"}, {"GasName", "Varchar(4)"}, {"Alarm_type", "Integer"}};
        s.append({QStringLiteral("Alarm_Event"), Plain(events)});
        s.append({QStringLiteral("Trouble_Event"), Plain(events)});
        return s;
    }();
    return schema;
}

QString UniqueConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("pelkar-logdb-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The schema entry of a table, by name in any case; nullptr for any other name.
const std::pair<QString, QList<OwnedColumn>>* FindTable(const QString& table)
{
    for (const auto& t : Schema()) {
        if (t.first.compare(table, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

// A statement refused because another connection holds the database
// locked (SQLITE_BUSY, SQLITE_LOCKED and their extended codes).
bool IsLockError(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 5 || code == 6);
}

// Readers fetch a record's rows by RelNo; without an index every such read
// scans the whole table. The tables that have the column get one; a table
// that a database made elsewhere lacks is skipped. The heads get one index
// over their identity in the browser's level order: the tree reads every
// distinct identity from it in order instead of sorting the table. Other
// failures are ignored: a read-only file is still read, only more slowly.
// Returns false, at the first statement refused, when the database is
// locked by another connection.
bool CreateIndexes(QSqlDatabase& db)
{
    QStringList statements;
    for (const auto& t : Schema()) {
        const bool hasRelNo = std::any_of(t.second.begin(), t.second.end(),
                                          [](const OwnedColumn& c) { return c.name == QLatin1String("RelNo"); });
        if (hasRelNo)
            statements << QStringLiteral("Create Index If Not Exists %1_RelNo On %1 (RelNo);").arg(t.first);
    }
    statements << QStringLiteral("Create Index If Not Exists Log_Head_Identity On Log_Head "
                                 "(SerialNo, StationID, UserID, FolderID, Types);");
    // The list and the deletion of a node select heads by their identity as
    // shown (trimmed, letter case ignored): an index over those expressions
    // finds them without reading every head.
    QStringList shown;
    for (const char* column : {"SerialNo", "StationID", "UserID", "FolderID"})
        shown << TrimmedIdentitySql(QLatin1String(column)) + QStringLiteral(" Collate NoCase");
    statements << QStringLiteral("Create Index If Not Exists Log_Head_Shown On Log_Head (%1, Types);")
                      .arg(shown.join(QStringLiteral(", ")));
    for (const QString& sql : statements) {
        QSqlQuery q(db);
        if (!q.exec(sql) && IsLockError(q.lastError()))
            return false;
    }
    return true;
}

// Each database file gets its indexes on its first open in this run that
// finds it unlocked. The statements do not wait for a lock: another
// program holding the file must not hold up this open, and a later open
// makes the indexes once the file can be written.
void EnsureIndexesOnce(QSqlDatabase& db, const QString& path)
{
    static QMutex mutex;
    static QSet<QString> done;
    const QString key = QFileInfo(path).absoluteFilePath();
    {
        QMutexLocker lock(&mutex);
        if (done.contains(key))
            return;
    }
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA busy_timeout=0;"));
    const bool made = CreateIndexes(db);
    pragma.exec(QStringLiteral("PRAGMA busy_timeout=%1;").arg(kBusyTimeoutMs));
    if (made) {
        QMutexLocker lock(&mutex);
        done.insert(key);
    }
}

} // namespace

QString TrimmedIdentitySql(const QString& column)
{
    return QStringLiteral("Trim(%1,char(32,9,10,11,12,13,160,12288))").arg(column);
}

QStringList LogTables()
{
    QStringList names;
    for (const auto& t : Schema())
        names << t.first;
    return names;
}

QString CreateTableSql(const QString& table)
{
    const auto* t = FindTable(table);
    if (!t)
        return QString();
    QStringList cols{QStringLiteral("SeqNo Integer CONSTRAINT SeqNoKey PRIMARY KEY")};
    for (const OwnedColumn& c : t->second)
        cols << c.name + QLatin1Char(' ') + c.type;
    return QStringLiteral("Create Table %1 (%2);").arg(t->first, cols.join(QLatin1Char(',')));
}

void CreateLogDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        return;

    // Build the whole file under a temporary name, then rename it into place.
    const QString temp = path + QStringLiteral(".creating");
    QFile::remove(temp);
    QString error;
    {
        const QString name = UniqueConnectionName();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(temp);
            if (!db.open()) {
                error = GetResString(5951, path, db.lastError().text());
            } else {
                if (!db.transaction())
                    error = db.lastError().text();
                for (const QString& table : LogTables()) {
                    if (!error.isEmpty())
                        break;
                    QSqlQuery q(db);
                    if (!q.exec(CreateTableSql(table)))
                        error = GetResString(5952, table, q.lastError().text());
                }
                if (error.isEmpty())
                    CreateIndexes(db); // the new file is this connection's alone
                if (error.isEmpty() && !db.commit())
                    error = db.lastError().text();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (error.isEmpty() && !QFile::rename(temp, path)) {
        if (!QFileInfo::exists(path))
            error = GetResString(5953, path);
    }
    QFile::remove(temp);
    if (!error.isEmpty())
        throw DatabaseError(error);
}

LogDb::LogDb(const QString& path)
    : m_path(path.isEmpty() ? LogDatabasePath() : path)
    , m_name(UniqueConnectionName())
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!QFileInfo(m_path).isFile()) {
        m_error = GetResString(5947, m_path);
        return;
    }
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    m_open = m_db.open();
    if (!m_open)
        m_error = m_db.lastError().text();
    else
        EnsureIndexesOnce(m_db, m_path);
}

LogDb::~LogDb()
{
    if (m_db.isOpen())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void LogDb::RequireOpen() const
{
    if (!m_open)
        throw DatabaseError(m_error.isEmpty() ? GetResString(5948) : m_error);
}

void LogDb::SetBusyTimeout(int ms)
{
    if (m_open)
        QSqlQuery(m_db).exec(QStringLiteral("PRAGMA busy_timeout=%1;").arg(ms));
}

// Begin and commit run as statements of their own rather than through the
// driver's transaction calls, whose errors lose the engine's code: a lock
// that refuses them then reads "in use" like one that refuses any other
// statement.
DbTransaction::DbTransaction(LogDb& db)
    : m_db(db.Db()), m_path(db.Path())
{
    db.RequireOpen();
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("Begin;"))) {
        const QSqlError error = q.lastError();
        if (IsLockError(error))
            RaiseSqlError(db, QStringLiteral("Begin"), error);
        throw DatabaseError(GetResString(5949, error.text()));
    }
}

DbTransaction::~DbTransaction()
{
    if (!m_done)
        m_db.rollback();
}

void DbTransaction::Commit()
{
    if (m_done)
        return;
    m_done = true;
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("Commit;"))) {
        const QSqlError error = q.lastError();
        q.finish();
        m_db.rollback();
        if (IsLockError(error))
            throw DatabaseInUseError(GetResString(20120, QDir::toNativeSeparators(m_path)),
                                     QStringLiteral("Commit: %1").arg(error.text()));
        throw DatabaseError(GetResString(5950, error.text()));
    }
}

std::int64_t NextKey(LogDb& db, const QString& table)
{
    db.RequireOpen();
    const auto* known = FindTable(table);
    if (!known)
        throw DatabaseError(GetResString(5955, table));
    const QString& name = known->first;
    QSqlQuery q(db.Db());
    const QString sql = QStringLiteral("Select Max(SeqNo) As MaxSeq From %1;").arg(name);
    if (!q.exec(sql) || !q.next()) {
        if (IsLockError(q.lastError()))
            RaiseSqlError(db, sql, q.lastError());
        throw DatabaseError(GetResString(5954, name, q.lastError().text()));
    }
    const QVariant max = q.value(0);
    if (max.isNull())
        return 1;
    return max.toLongLong() + 1;
}

void ExecSql(LogDb& db, const QString& sql, const QVariantList& values)
{
    QuerySql(db, sql, values);
}

QSqlQuery QuerySql(LogDb& db, const QString& sql, const QVariantList& values)
{
    db.RequireOpen();
    QSqlQuery q(db.Db());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        RaiseSqlError(db, sql, q.lastError());
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        RaiseSqlError(db, sql, q.lastError());
    return q;
}

void RaiseSqlError(const LogDb& db, const QString& sql, const QSqlError& error)
{
    const QString detail = QStringLiteral("%1: %2").arg(sql, error.text());
    if (IsLockError(error))
        throw DatabaseInUseError(GetResString(20120, QDir::toNativeSeparators(db.Path())), detail);
    throw DatabaseError(detail);
}

bool LogDatabaseInUse(const QString& path, QString* detail)
{
    LogDb db(path);
    if (!db.IsOpen())
        return false;
    db.SetBusyTimeout(0);
    QSqlQuery q(db.Db());
    const QString sql = QStringLiteral("Begin Immediate;");
    if (q.exec(sql)) {
        q.exec(QStringLiteral("Rollback;"));
        return false;
    }
    if (!IsLockError(q.lastError()))
        return false;
    if (detail)
        *detail = QStringLiteral("%1: %2 (%3)").arg(sql, q.lastError().text(), QDir::toNativeSeparators(path));
    return true;
}

QVariant DbDate(const QDateTime& date)
{
    if (!date.isValid())
        return QVariant(QMetaType::fromType<QString>());
    return DateToIso(date);
}

QDateTime ReadDbDate(const QVariant& value, const QDateTime& nullDefault)
{
    if (value.isNull())
        return nullDefault;
    const QDateTime d = IsoToDate(value.toString());
    return d.isValid() ? d : nullDefault;
}

QVariant DbBool(bool value)
{
    return value ? 1 : 0;
}

bool ReadDbBool(const QVariant& value, bool nullDefault)
{
    if (value.isNull())
        return nullDefault;
    if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return value.toLongLong() != 0;
}
