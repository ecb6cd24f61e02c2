#include "interface/messages.h"

#include "common/dates.h"
#include "common/resstrings.h"

#include <QStringList>

QString Msg(int id, const QString& arg1, const QString& arg2)
{
    QStringList args;
    args << arg1 << arg2;
    try {
        return GetResStringV(id, args);
    } catch (...) {
        QString text = QStringLiteral("#%1").arg(id);
        for (const QString& a : args)
            if (!a.isEmpty())
                text += QLatin1Char(' ') + a;
        return text;
    }
}

QString ElapsedHms(const QDateTime& start, const QDateTime& end)
{
    const qint64 seconds = qMax<qint64>(0, SecondsBetween(start, end));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
