#pragma once
// A test with a fresh program folder and an empty log database, and plain
// SQL helpers on it for checking what was stored.
#include "common/appstate.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "temp_home.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <gtest/gtest.h>

class LogDbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        CreateLogDatabase(LogDatabasePath());
    }

    // Rows of a table (optionally with a WHERE text of the test's own). A
    // query that does not run fails the test and counts -1, so a mistyped
    // condition never passes for "no rows".
    qint64 Rows(const QString& table, const QString& where = QString())
    {
        LogDb db;
        QSqlQuery q(db.Db());
        const QString sql = QStringLiteral("Select Count(*) From %1 %2").arg(table, where);
        if (!q.exec(sql) || !q.next()) {
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            return -1;
        }
        return q.value(0).toLongLong();
    }

    void Exec(const QString& sql)
    {
        LogDb db;
        QSqlQuery q(db.Db());
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }

    TempHome home;
};
