#include "settings/identity_fields.h"

#include "common/services.h"

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

QString FilterIdentityText(int index, const QString& text)
{
    const int limit = IdentityMaxLength(index);
    return limit == 0 ? text : FilterIdChars(text, limit);
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
