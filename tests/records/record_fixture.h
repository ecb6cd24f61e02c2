#pragma once
// Shared pieces of the record tests: a fresh program folder with an empty
// log database, and builders for fixed-width record lines.
#include "records/record_text.h"

#include "common/paths.h"
#include "log_db_test.h"

#include <QFile>
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

class RecordDbTest : public LogDbTest {
protected:
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
};
