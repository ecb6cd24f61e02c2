#pragma once
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>

// The log database: one SQLite file (LogDatabasePath(), "Pelkar.db") in the
// program's folder, opened for one operation and closed after it.
//
// Rules for every reader and writer:
// - open one LogDb per operation (it has a connection name of its own and
//   removes it when it goes out of scope);
// - every value is a bound parameter; table names come from LogTables();
// - dates are ISO text through DbDate/ReadDbDate, Booleans 1/0, keys 64-bit;
// - a stored record is written inside one DbTransaction.

// Creates the database file with every table, and an index on each RelNo
// column, when no file of that name exists; an existing file is left as it
// is. The file is built under a temporary name and renamed into place, so a
// failure never leaves a half created database behind. Raises DatabaseError
// on failure.
void CreateLogDatabase(const QString& path);

// The tables CreateLogDatabase makes, in creation order: Log_head,
// Interval_Data, Interval_Event, Alarm_Data, cHistory, cLatestHist,
// Power_Event, Alarm_Event, Trouble_Event.
QStringList LogTables();

// The CREATE TABLE text of one of LogTables() (empty for any other name).
QString CreateTableSql(const QString& table);

// An identity column of Log_Head as the browser compares it: trimmed of
// blanks, tabs, line breaks and the no-break and ideographic spaces.
// Compared "=? Collate NoCase", it is served by an index of the heads.
QString TrimmedIdentitySql(const QString& column);

// How long a statement waits for a lock that another connection holds.
constexpr int kBusyTimeoutMs = 5000;

// One connection to the log database for one operation.
class LogDb {
public:
    // Opens path (the program's database by default). A missing file is
    // not created: IsOpen() is then false and LastError() says why. The
    // first open of a file in a run adds the indexes it lacks, without
    // waiting: while another program holds the file locked, a later open
    // tries again. Statements wait up to kBusyTimeoutMs for a lock.
    explicit LogDb(const QString& path = QString());
    ~LogDb();
    LogDb(const LogDb&) = delete;
    LogDb& operator=(const LogDb&) = delete;

    bool IsOpen() const { return m_open; }
    QString LastError() const { return m_error; }
    QString Path() const { return m_path; }
    QSqlDatabase& Db() { return m_db; }

    // Raises DatabaseError when the database is not open.
    void RequireOpen() const;
    // How long this connection's statements wait for a lock (0: not at all).
    void SetBusyTimeout(int ms);

private:
    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_error;
};

// A transaction that rolls back unless Commit() is called.
class DbTransaction {
public:
    // Raises DatabaseError when the transaction cannot start.
    explicit DbTransaction(LogDb& db);
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;
    // Raises DatabaseError when the commit fails (the changes are rolled back).
    void Commit();

private:
    QSqlDatabase m_db;
    QString m_path;
    bool m_done = false;
};

// The next key of a table: its largest SeqNo plus 1, or 1 when the table is
// empty. table must be one of LogTables() (any case). Raises DatabaseError.
std::int64_t NextKey(LogDb& db, const QString& table);

// Raises the failure of statement sql on db: DatabaseInUseError when the
// database is locked by another connection, else DatabaseError naming the
// statement.
[[noreturn]] void RaiseSqlError(const LogDb& db, const QString& sql, const QSqlError& error);

// Whether another program holds the database at path so that nothing can
// be stored in it (a write of its own is open), tried without waiting.
// detail, when given, receives the statement and the database's text.
bool LogDatabaseInUse(const QString& path, QString* detail = nullptr);

// Runs sql with the values bound in order (positional "?" placeholders) and
// raises DatabaseError, naming the statement, when it fails.
void ExecSql(LogDb& db, const QString& sql, const QVariantList& values = {});

// As ExecSql, and hands back the forward-only query to read its rows.
QSqlQuery QuerySql(LogDb& db, const QString& sql, const QVariantList& values = {});

// Bound values and read-backs.
QVariant DbDate(const QDateTime& date);     // ISO text; Null for an invalid date
QDateTime ReadDbDate(const QVariant& value, const QDateTime& nullDefault);
QVariant DbBool(bool value);                // 1 or 0
bool ReadDbBool(const QVariant& value, bool nullDefault);
