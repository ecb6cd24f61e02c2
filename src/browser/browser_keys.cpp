#include "browser/browser_keys.h"

namespace browser {

const RecordKind* KindOfNodeLetter(QChar letter)
{
    for (const RecordKind& k : kKinds)
        if (letter == QLatin1Char(k.nodeLetter))
            return &k;
    return nullptr;
}

const RecordKind* KindOfItemLetter(QChar letter)
{
    for (const RecordKind& k : kKinds)
        if (letter == QLatin1Char(k.itemLetter))
            return &k;
    return nullptr;
}

QChar KeyLetter(const QString& key)
{
    return key.isEmpty() ? QChar(u' ') : key.back();
}

bool IsLevelLetter(QChar letter)
{
    return QStringLiteral("#STUM").contains(letter);
}

bool IsFolderKey(const QString& key)
{
    const QChar l = KeyLetter(key);
    return key.size() >= 3 && key[key.size() - 2] == u' '
        && (IsLevelLetter(l) || KindOfNodeLetter(l));
}

QString RecordKey(qint64 seqNo, const RecordKind& kind)
{
    return QString::number(seqNo) + QLatin1Char(' ') + QLatin1Char(kind.itemLetter);
}

qint64 RecordKeySeqNo(const QString& key)
{
    if (key.size() < 3 || key[key.size() - 2] != u' ' || !KindOfItemLetter(KeyLetter(key)))
        return 0;
    bool ok = false;
    const qint64 n = key.left(key.size() - 2).toLongLong(&ok);
    return ok ? n : 0;
}

} // namespace browser
