#pragma once
// Shared pieces of the record tests: a fresh program folder with an empty
// log database, and builders for fixed-width record lines.
#include "records/record_text.h"

#include "common/appstate.h"
#include "common/logdb.h"
#include "common/paths.h"
#include "temp_home.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Left-aligned, cut or padded with blanks to n characters.
using records_text::Fit;
// Right-aligned in n characters.
inline QString RFit(const QString& s, int n)
{
    return s.right(n).rightJustified(n, QLatin1Char(' '));
}
// A number with leading zeros in n characters.
inline QString Num(qint64 v, int n)
{
    return QString::number(v).rightJustified(n, QLatin1Char('0'));
}

class RecordDbTest : public ::testing::Test {
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
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }

    QString SerialLog()
    {
        QFile f(ProgramFile(QStringLiteral("SerialLog.log")));
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(f.readAll());
    }

    // Feeds one block the way the interface control does: every line
    // checked, then, when all passed, every line stored. feed(line,
    // checkOnly) hands one line to the collection.
    template <class Feed>
    static bool FeedBlock(const QStringList& lines, Feed&& feed)
    {
        bool ok = true;
        for (const QString& l : lines)
            ok = feed(l, true) && ok;
        if (!ok)
            return false;
        for (const QString& l : lines)
            ok = feed(l, false) && ok;
        return ok;
    }
    template <class C>
    static bool Block(C& c, const QStringList& lines)
    {
        return FeedBlock(lines, [&](const QString& l, bool checkOnly) { return c.SetDatas(l, checkOnly); });
    }

    TempHome home;
};
