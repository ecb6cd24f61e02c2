#pragma once
// A fresh program folder with an empty log database, and writers of heads
// and record rows straight into its tables.
#include "common/appstate.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "temp_home.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>
#include <gtest/gtest.h>

struct Head {
    Head(QVariant serial, QVariant station, QVariant user, QVariant folder, int types, QString names)
        : serial(std::move(serial)), station(std::move(station)), user(std::move(user)),
          folder(std::move(folder)), types(types), names(std::move(names)) {}
    QVariant serial;
    QVariant station;
    QVariant user;
    QVariant folder;
    int types;
    QString names;
    QVariantMap more; // any further Log_Head column
};

class BrowserDbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        CreateLogDatabase(LogDatabasePath());
    }

    // Inserts a row into table with the columns given; returns its SeqNo.
    qint64 Insert(const QString& table, const QVariantMap& columns)
    {
        LogDb db;
        const qint64 key = NextKey(db, table);
        QStringList names{QStringLiteral("SeqNo")};
        QStringList marks{QStringLiteral("?")};
        QVariantList values{key};
        for (auto it = columns.begin(); it != columns.end(); ++it) {
            names << it.key();
            marks << QStringLiteral("?");
            values << it.value();
        }
        ExecSql(db, QStringLiteral("Insert Into %1 (%2) Values (%3);")
                        .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                values);
        return key;
    }

    qint64 AddHead(const Head& h)
    {
        QVariantMap c = h.more;
        c.insert(QStringLiteral("SerialNo"), h.serial);
        c.insert(QStringLiteral("StationID"), h.station);
        c.insert(QStringLiteral("UserID"), h.user);
        c.insert(QStringLiteral("FolderID"), h.folder);
        c.insert(QStringLiteral("Types"), h.types);
        c.insert(QStringLiteral("Names"), h.names);
        if (!c.contains(QStringLiteral("Dates")))
            c.insert(QStringLiteral("Dates"), QStringLiteral("2026-03-05 10:20:30"));
        return Insert(QStringLiteral("Log_head"), c);
    }

    // Rows of a table matching an optional condition of the test's own. A
    // query that does not run fails the test.
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
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << q.lastError().text().toStdString();
    }

    TempHome home;
};
