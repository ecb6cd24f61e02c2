#include "settings/identity_fields.h"

#include "common/services.h"

#include <algorithm>

namespace {
constexpr int kBackspace = 8;
}

int IdentityMaxLength(int index)
{
    switch (index) {
    case 0: return 12;
    case 1:
    case 2: return 10;
    default: return 0;
    }
}

bool IdentityKeyAccepted(int index, int keyCode, int length)
{
    if (IdentityMaxLength(index) == 0)
        return true;
    if (!IsIdChar(keyCode))
        return false;
    return keyCode == kBackspace || length < IdentityMaxLength(index);
}

QString FilterIdChars(const QString& text, int limit)
{
    QString out;
    for (const QChar ch : text) {
        if (out.size() >= limit)
            break;
        // Backspace is an identity key but never a character of the text.
        const char16_t u = ch.unicode();
        if (u >= 32 && IsIdChar(u))
            out += ch;
    }
    return out;
}

QString IdentityEditResult(int index, const QString& before, const QString& after, int* cursor, bool* refused)
{
    if (refused)
        *refused = false;
    if (IdentityMaxLength(index) == 0)
        return after;
    // What the edit put in lies between the longest common head and tail of
    // the two texts.
    const qsizetype shortest = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shortest && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shortest - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const qsizetype inserted = after.size() - head - tail;
    const qsizetype rest = after.size() - inserted;
    QString kept;
    for (qsizetype i = head; i < head + inserted; ++i) {
        // Backspace is an identity key but never a character of the text.
        const char16_t u = after[i].unicode();
        if (u >= 32 && IdentityKeyAccepted(index, u, static_cast<int>(rest + kept.size())))
            kept += after[i];
    }
    const qsizetype dropped = inserted - kept.size();
    if (dropped == 0)
        return after;
    if (refused)
        *refused = true;
    if (cursor) {
        if (*cursor >= head + inserted)
            *cursor -= static_cast<int>(dropped);
        else if (*cursor > head)
            *cursor = static_cast<int>(std::min<qsizetype>(*cursor, head + kept.size()));
    }
    return after.left(head) + kept + after.right(tail);
}

QString SafeAuditSuffix(const QString& suffix)
{
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    QString out;
    for (const QChar ch : suffix) {
        if (ch.unicode() < 32 || ch.unicode() == 127 || ch.category() == QChar::Other_Control
            || kRefused.contains(ch))
            continue;
        out += ch;
    }
    while (out.contains(QLatin1String("..")))
        out.replace(QLatin1String(".."), QLatin1String("."));
    return out;
}
