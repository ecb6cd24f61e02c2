#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Splits one line of text into tokens. The caller fills three small lists of
// single characters (delimiters, quote characters and comment characters),
// assigns the line with SetSource, and reads TokenCount and Tokens(i).
//
// - Runs of delimiters, and delimiters at either end, make no empty tokens.
// - A quoted text is one token even when empty; the quotes are dropped and
//   whatever was collected before the opening quote is discarded.
// - A comment character outside quotes ends the line: the token being
//   collected is lost, and the rest of the line after the comment character
//   is put into slot TokenCount without raising the count.
// - At most 51 tokens per line (slots 0 to 50); a 52nd token, or a comment
//   after 51 tokens, raises IndexOutOfRangeError with TokenCount left at 51.
// - Slots beyond TokenCount keep text from earlier lines; callers compare
//   the index with TokenCount themselves.
class clsToken {
public:
    static constexpr int kListSize = 10;
    static constexpr int kSlots = 51;

    // Adds an entry to a list; an eleventh entry is ignored.
    void AddDelimiters(const QString& s);
    void AddStrings(const QString& s);
    void AddComments(const QString& s);

    void ClearDelimiters();
    void ClearStrings();
    void ClearComments();

    // Entry i when 0 <= i < count, else "".
    QString Delimiters(int i) const;
    QString StringRanges(int i) const;
    QString Comments(int i) const;
    // Replaces entry i when 0 <= i <= 9 (the count is unchanged); other i
    // are ignored.
    void SetDelimiters(int i, const QString& s);
    void SetStringRanges(int i, const QString& s);
    void SetComments(int i, const QString& s);

    std::int16_t TokenCount() const { return m_count; }
    void SetTokenCount(std::int16_t n) { m_count = n; }

    // Slot i when 0 <= i <= 50, else "".
    QString Tokens(int i) const;
    // Overwrites slot i; IndexOutOfRangeError for i outside 0..50.
    void SetTokens(int i, const QString& s);

    QString Source() const { return m_source; }
    // Stores s and splits it. Raises IndexOutOfRangeError for more than 51
    // tokens and OverflowError for a text longer than 32767 characters.
    void SetSource(const QString& s);
    // The same for bytes from the wire: one character per byte (Latin-1),
    // so every byte value survives; read the tokens back with TokenBytes.
    void SetSourceBytes(const QByteArray& bytes);
    QByteArray TokenBytes(int i) const;

private:
    struct List {
        std::array<QString, kListSize> entries;
        std::int16_t count = 0;
        void Add(const QString& s);
        void Clear();
        QString Get(int i) const;
        void Set(int i, const QString& s);
        bool Matches(QChar ch) const;
    };

    int ClassifyChar(QChar ch) const;
    void Tokenize();
    void Store(const QString& token);

    QString m_source;
    std::array<QString, kSlots> m_slots;
    std::int16_t m_count = 0;
    List m_delimiters;
    List m_strings;
    List m_comments;
};
