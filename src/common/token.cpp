#include "common/token.h"

#include "common/errors.h"

void clsToken::List::Add(const QString& s)
{
    if (count < kListSize)
        entries[count++] = s;
}

void clsToken::List::Clear()
{
    for (QString& e : entries)
        e.clear();
    count = 0;
}

QString clsToken::List::Get(int i) const
{
    if (i >= 0 && i < count)
        return entries[i];
    return QString();
}

void clsToken::List::Set(int i, const QString& s)
{
    if (i >= 0 && i < kListSize)
        entries[i] = s;
}

bool clsToken::List::Matches(QChar ch) const
{
    // An entry is compared as a whole text with the one character, so an
    // entry of two or more characters never matches.
    for (int i = 0; i < count; ++i) {
        if (entries[i].size() == 1 && entries[i][0] == ch)
            return true;
    }
    return false;
}

void clsToken::AddDelimiters(const QString& s) { m_delimiters.Add(s); }
void clsToken::AddStrings(const QString& s) { m_strings.Add(s); }
void clsToken::AddComments(const QString& s) { m_comments.Add(s); }
void clsToken::ClearDelimiters() { m_delimiters.Clear(); }
void clsToken::ClearStrings() { m_strings.Clear(); }
void clsToken::ClearComments() { m_comments.Clear(); }
QString clsToken::Delimiters(int i) const { return m_delimiters.Get(i); }
QString clsToken::StringRanges(int i) const { return m_strings.Get(i); }
QString clsToken::Comments(int i) const { return m_comments.Get(i); }
void clsToken::SetDelimiters(int i, const QString& s) { m_delimiters.Set(i, s); }
void clsToken::SetStringRanges(int i, const QString& s) { m_strings.Set(i, s); }
void clsToken::SetComments(int i, const QString& s) { m_comments.Set(i, s); }

QString clsToken::Tokens(int i) const
{
    if (i >= 0 && i < kSlots)
        return m_slots[i];
    return QString();
}

void clsToken::SetTokens(int i, const QString& s)
{
    if (i < 0 || i >= kSlots)
        throw IndexOutOfRangeError(QStringLiteral("Token index %1 out of range").arg(i));
    m_slots[i] = s;
}

void clsToken::SetSource(const QString& s)
{
    m_source = s;
    Tokenize();
}

void clsToken::SetSourceBytes(const QByteArray& bytes)
{
    SetSource(QString::fromLatin1(bytes));
}

QByteArray clsToken::TokenBytes(int i) const
{
    return Tokens(i).toLatin1();
}

int clsToken::ClassifyChar(QChar ch) const
{
    // Later lists win: a comment before a quote, a quote before a delimiter.
    int kind = 0;
    if (m_delimiters.Matches(ch))
        kind = 1;
    if (m_strings.Matches(ch))
        kind = 2;
    if (m_comments.Matches(ch))
        kind = 3;
    return kind;
}

void clsToken::Store(const QString& token)
{
    if (m_count >= kSlots)
        throw IndexOutOfRangeError(QStringLiteral("More than %1 tokens in one line").arg(kSlots));
    m_slots[m_count] = token;
    ++m_count;
}

void clsToken::Tokenize()
{
    m_count = 0;
    if (m_source.size() > 32767)
        throw OverflowError(QStringLiteral("Line longer than 32767 characters"));

    QString current;
    bool inQuote = false;
    const int length = static_cast<int>(m_source.size());
    for (int p = 0; p < length; ++p) {
        const QChar ch = m_source[p];
        switch (ClassifyChar(ch)) {
        case 1:
            if (inQuote) {
                current += ch;
            } else {
                if (!current.isEmpty())
                    Store(current);
                current.clear();
            }
            break;
        case 2:
            if (inQuote) {
                Store(current);
                inQuote = false;
            } else {
                inQuote = true;
            }
            current.clear();
            break;
        case 3:
            if (inQuote) {
                current += ch;
            } else {
                // The rest of the line goes into the next slot; the count
                // stays, so the comment is not a token.
                if (m_count >= kSlots)
                    throw IndexOutOfRangeError(QStringLiteral("Comment after %1 tokens").arg(kSlots));
                m_slots[m_count] = m_source.mid(p + 1);
                return;
            }
            break;
        default:
            current += ch;
            break;
        }
    }
    if (!current.isEmpty())
        Store(current);
}
