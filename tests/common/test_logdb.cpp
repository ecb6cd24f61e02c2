#include "common/dates.h"
#include "common/errors.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "fake_database.h"
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QStringList Gas(const QStringList& fields)
{
    QStringList out;
    for (int gas = 1; gas <= 2; ++gas)
        for (const QString& f : fields)
            out << QStringLiteral("Gas%1%2 %3").arg(gas).arg(f.section(' ', 0, 0), f.section(' ', 1));
    return out;
}

// The expected columns, "name type", in creation order.
QStringList Expected(const QString& table)
{
    const QString key = "SeqNo Integer";
    if (table == "Log_head")
        return QStringList{key, "Model Varchar(20)", "Names Varchar(40)", "UserID Varchar(20)",
                           "StationID Varchar(20)", "SerialNo Varchar(20)", "RomNum Integer", "Types Integer",
                           "Dcount Integer", "FolderID Varchar(10)", "Dates Date", "Interval Integer"}
            + Gas({"Name Varchar(4)", "Full Float", "Desit Float", "Enable YesNo", "Point Integer",
                       "Unit Varchar(5)", "Avr Float", "Max Float", "Min Float", "Warn Float", "Alarm Float",
                       "MaxDate Date", "MinDate Date"});
    if (table == "Interval_Data")
        return {key, "RelNo Integer", "Datetimes Date", "Gas1Value Float", "Gas1NowCl Integer",
                "Gas2Value Float", "Gas2NowCl Integer"};
    if (table == "Interval_Event")
        return {key, "RelNo Integer", "Datetimes Date", "BaseDate Date", "Gas1Event Integer", "Gas2Event Integer"};
    if (table == "Alarm_Data")
        return {key, "RelNo Integer", "Datetimes Date", "Gas1Value Float", "Gas2Value Float"};
    if (table == "cHistory")
        return QStringList{key, "RelNo Integer", "UserID Varchar(20)", "StationID Varchar(20)",
                           "SerialNo Varchar(20)", "WriteDates Date", "Dates Date"}
            + Gas({"Name Varchar(4)", "Desit Float", "Point Integer", "Unit Varchar(5)", "Full Float",
                       "Enable YesNo", "AutoCal Integer", "Before Float", "After Float"});
    if (table == "cLatestHist")
        return QStringList{key, "UserID Varchar(20)", "StationID Varchar(20)", "SerialNo Varchar(20)",
                           "WriteDates Date"}
            + Gas({"Name Varchar(4)", "Desit Float", "Point Integer", "Unit Varchar(5)", "Full Float",
                       "Enable YesNo", "AutoCal Float", "CalDate Date", "Before Float", "After Float"});
    if (table == "Power_Event")
        return {key, "RelNo Integer", "Dates Date", "Power_Type YesNo"};
    if (table == "Alarm_Event" || table == "Trouble_Event")
        return {key, "RelNo Integer", "Dates Date", "GasName Varchar(4)", "Alarm_type Integer"};
    return {};
}

} // namespace

TEST(LogDb, CreatesEveryTableWithItsColumns)
{
    TempHome home;
    CreateLogDatabase(LogDatabasePath());
    ASSERT_TRUE(QFileInfo::exists(home.file("Pelkar.db")));
    EXPECT_FALSE(QFileInfo::exists(home.file("Pelkar.db.creating")));

    const QStringList tables{"Log_head", "Interval_Data", "Interval_Event", "Alarm_Data", "cHistory",
                             "cLatestHist", "Power_Event", "Alarm_Event", "Trouble_Event"};
    EXPECT_EQ(LogTables(), tables);
    LogDb db;
    ASSERT_TRUE(db.IsOpen()) << db.LastError().toStdString();
    for (const QString& table : tables) {
        QSqlQuery q(db.Db());
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
        QStringList columns;
        while (q.next()) {
            columns << q.value("name").toString() + ' ' + q.value("type").toString();
            EXPECT_EQ(q.value("pk").toInt(), q.value("name").toString() == "SeqNo" ? 1 : 0);
        }
        // SQLite reports some type words in capitals; compare without case.
        EXPECT_EQ(columns.join(',').toUpper().toStdString(), Expected(table).join(',').toUpper().toStdString())
            << table.toStdString();
    }
    // Table names are case-insensitive: statements say Log_Head.
    QSqlQuery q(db.Db());
    EXPECT_TRUE(q.exec("Select Count(*) From Log_Head"));
}

TEST(LogDb, ExistingFileIsLeftAlone)
{
    TempHome home;
    QFile f(home.file("Pelkar.db"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database");
    f.close();
    CreateLogDatabase(LogDatabasePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a database"));
}

namespace {
// The heads' indexes, name and columns as made: by identity in the tree's
// level order, and by identity as shown (trimmed, letter case ignored).
QStringList HeadIndexes(LogDb& db)
{
    QSqlQuery q(db.Db());
    EXPECT_TRUE(q.exec("Select name, sql From sqlite_master Where type = 'index' And tbl_name = 'Log_head' "
                       "Order By name"));
    QStringList indexes;
    while (q.next()) {
        const QString sql = q.value(1).toString();
        indexes << q.value(0).toString() + ' ' + sql.mid(sql.indexOf('('));
    }
    return indexes;
}

QStringList ExpectedHeadIndexes()
{
    QStringList shown;
    for (const char* column : {"SerialNo", "StationID", "UserID", "FolderID"})
        shown << TrimmedIdentitySql(QLatin1String(column)) + " Collate NoCase";
    return {"Log_Head_Identity (SerialNo, StationID, UserID, FolderID, Types)",
            "Log_Head_Shown (" + shown.join(", ") + ", Types)"};
}

QStringList RelNoIndexes(LogDb& db)
{
    QSqlQuery q(db.Db());
    EXPECT_TRUE(q.exec("Select tbl_name From sqlite_master Where type = 'index' And sql Like '%(RelNo)%' "
                       "Order By tbl_name"));
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    return tables;
}

// Makes a database file at path as an earlier version did: the tables
// (without those in skipped) and no index.
void MakeUnindexed(const QString& path, const QStringList& skipped = {})
{
    const QString name = "make-unindexed";
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", name);
        raw.setDatabaseName(path);
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        for (const QString& t : LogTables())
            if (!skipped.contains(t)) {
                ASSERT_TRUE(q.exec(CreateTableSql(t)));
            }
        raw.close();
    }
    QSqlDatabase::removeDatabase(name);
}
}

TEST(LogDb, RelNoColumnsAndHeadIdentitiesAreIndexedOnCreateAndOnFirstOpen)
{
    const QStringList all{"Alarm_Data", "Alarm_Event", "Interval_Data", "Interval_Event", "Power_Event",
                          "Trouble_Event", "cHistory"};
    TempHome home;
    CreateLogDatabase(LogDatabasePath());
    {
        LogDb db;
        EXPECT_EQ(RelNoIndexes(db), all);
        EXPECT_EQ(HeadIndexes(db), ExpectedHeadIndexes());
    }
    // A file made elsewhere: no indexes and no event tables. Its first open
    // adds the indexes of the tables it has.
    const QString other = home.file("other.db");
    MakeUnindexed(other, {"Alarm_Event", "Trouble_Event"});
    LogDb db(other);
    ASSERT_TRUE(db.IsOpen());
    QStringList without = all;
    without.removeAll("Alarm_Event");
    without.removeAll("Trouble_Event");
    EXPECT_EQ(RelNoIndexes(db), without);
    EXPECT_EQ(HeadIndexes(db), ExpectedHeadIndexes());
}

// A database of an earlier version that another program holds locked when
// it is first opened: the open does not wait to make the indexes, its
// statements say the database is in use, and an open after the program let
// go makes them.
TEST(LogDb, IndexesOfALockedDatabaseAreMadeAtALaterOpen)
{
    TempHome home;
    MakeUnindexed(LogDatabasePath());
    FakeDatabaseFault other(FakeDatabaseFault::Fault::LockedByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(other.Active());
    {
        LogDb db;
        ASSERT_TRUE(db.IsOpen());
        QString detail;
        EXPECT_TRUE(LogDatabaseInUse(LogDatabasePath(), &detail));
        EXPECT_TRUE(detail.contains("locked")) << detail.toStdString();
        try {
            QuerySql(db, "Select Count(*) From Log_Head");
            ADD_FAILURE() << "a locked database was read";
        } catch (const DatabaseInUseError& e) {
            EXPECT_TRUE(e.Message().contains("in use by another program")) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(LogDatabasePath())));
            EXPECT_FALSE(e.Message().contains("Select"));
            EXPECT_TRUE(e.Detail().startsWith("Select Count(*) From Log_Head: ")) << e.Detail().toStdString();
        }
    }
    other.Lift();
    EXPECT_FALSE(LogDatabaseInUse(LogDatabasePath()));
    LogDb db;
    EXPECT_EQ(RelNoIndexes(db).size(), 7);
    EXPECT_EQ(HeadIndexes(db), ExpectedHeadIndexes());
}

TEST(LogDb, UnwritableFolderRaisesAndLeavesNoFile)
{
    TempHome home;
    const QString path = home.file("missing-folder/Pelkar.db");
    EXPECT_THROW(CreateLogDatabase(path), DatabaseError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(LogDb, MissingFileIsNotCreatedByOpening)
{
    TempHome home;
    LogDb db;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.LastError().isEmpty());
    EXPECT_THROW(NextKey(db, "Log_Head"), DatabaseError);
    EXPECT_FALSE(QFileInfo::exists(LogDatabasePath()));
}

TEST(LogDb, KeysAreMaxPlusOnePerTable)
{
    TempHome home;
    CreateLogDatabase(LogDatabasePath());
    LogDb db;
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(NextKey(db, "Log_Head"), 1);
    EXPECT_EQ(NextKey(db, "log_head"), 1);
    for (int i = 1; i <= 9; ++i)
        ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo, Dates, Power_Type) Values (?, ?, ?, ?)",
                {i, 1, DbDate(MakeDate(2031, 1, i)), DbBool(i % 2)});
    ExecSql(db, "Delete From Power_Event Where SeqNo <= ?", {5});
    EXPECT_EQ(NextKey(db, "Power_Event"), 10);
    EXPECT_EQ(NextKey(db, "Log_Head"), 1); // each table has its own sequence
    ExecSql(db, "Delete From Power_Event Where SeqNo = ?", {9});
    EXPECT_EQ(NextKey(db, "Power_Event"), 9);

    // Keys beyond 32 bits.
    const qint64 big = 5'000'000'000LL;
    ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo) Values (?, ?)", {big, big});
    EXPECT_EQ(NextKey(db, "Power_Event"), big + 1);

    EXPECT_THROW(NextKey(db, "Power_Event; Drop Table Log_head"), DatabaseError);
    EXPECT_THROW(ExecSql(db, "Insert Into NoSuchTable Values (?)", {1}), DatabaseError);
}

TEST(LogDb, ValuesRoundTripAndTransactionsRollBack)
{
    TempHome home;
    CreateLogDatabase(LogDatabasePath());
    {
        LogDb db;
        const QDateTime when = MakeDate(2031, 12, 31, 23, 59, 58);
        {
            DbTransaction tx(db);
            ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo, Dates, Power_Type) Values (?, ?, ?, ?)",
                    {1, 7, DbDate(when), DbBool(true)});
            ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo, Dates, Power_Type) Values (?, ?, ?, ?)",
                    {2, 7, DbDate(QDateTime()), DbBool(false)});
            tx.Commit();
        }
        {
            DbTransaction tx(db);
            ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo) Values (?, ?)", {3, 7});
            // No commit: rolled back when the scope ends.
        }
        QSqlQuery q(db.Db());
        ASSERT_TRUE(q.exec("Select SeqNo, Dates, Power_Type From Power_Event Order By SeqNo"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(1).toString(), "2031-12-31 23:59:58");
        EXPECT_EQ(ReadDbDate(q.value(1), NoDate()), when);
        EXPECT_TRUE(ReadDbBool(q.value(2), false));
        ASSERT_TRUE(q.next());
        EXPECT_TRUE(q.value(1).isNull());
        EXPECT_EQ(ReadDbDate(q.value(1), NoDate()), NoDate());
        EXPECT_FALSE(ReadDbBool(q.value(2), true));
        EXPECT_FALSE(q.next());
    }
    // Text that looks like SQL is stored as it is.
    LogDb db;
    const QString evil = "x'); Drop Table Log_head; --";
    ExecSql(db, "Insert Into Log_Head (SeqNo, SerialNo) Values (?, ?)", {1, evil});
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.exec("Select SerialNo From Log_head"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), evil);
}

// A transaction whose commit a lock refuses (another program's read keeps
// the file from being written) says in plain words, as any refused
// statement does, that the database is in use; nothing of it is stored.
TEST(LogDb, ACommitRefusedByALockSaysTheDatabaseIsInUse)
{
    TempHome home;
    CreateLogDatabase(LogDatabasePath());
    FakeDatabaseFault other(FakeDatabaseFault::Fault::ReadByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(other.Active());
    {
        LogDb db;
        ASSERT_TRUE(db.IsOpen());
        db.SetBusyTimeout(0);
        DbTransaction tx(db);
        ExecSql(db, "Insert Into Power_Event (SeqNo, RelNo) Values (?, ?)", {1, 7});
        try {
            tx.Commit();
            ADD_FAILURE() << "a commit under another program's lock went through";
        } catch (const DatabaseInUseError& e) {
            EXPECT_TRUE(e.Message().contains("in use by another program")) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(LogDatabasePath())));
            EXPECT_TRUE(e.Detail().startsWith("Commit: ")) << e.Detail().toStdString();
            EXPECT_TRUE(e.Detail().contains("locked")) << e.Detail().toStdString();
        } catch (const DatabaseError& e) {
            ADD_FAILURE() << "generic database error: " << e.Message().toStdString();
        }
    }
    other.Lift();
    LogDb db;
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.exec("Select Count(*) From Power_Event"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}
