#include "interface/messages.h"

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
