#pragma once
// A fresh program folder with an empty log database, writers of heads
// and record rows straight into its tables, and a tree path lookup.
#include "browser/log_tree.h"

#include "common/logdb.h"
#include "log_db_test.h"

#include <QString>
#include <QStringList>
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

// The index of the node reached by following texts from the root, or -1.
inline int NodeAt(const browser::LogTreeModel& m, const QStringList& path)
{
    int at = 0;
    for (const QString& text : path) {
        int found = -1;
        for (int c : m.At(at).children)
            if (m.At(c).text == text)
                found = c;
        if (found < 0)
            return -1;
        at = found;
    }
    return at;
}

class BrowserDbTest : public LogDbTest {
protected:
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
};
