#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <concepts>
#include <cstdint>
#include <type_traits>

// The string tables: every caption, message and log line in words comes
// from resources/strings/en.tsv or ja.tsv (UTF-8, one line per text: the
// decimal id, a TAB, the text), embedded in the program. The Japanese table
// is used when the system's language is Japanese, the English one otherwise.

enum class ResLanguage { System, English, Japanese };

// Chooses the table (tests); System follows the system's language.
void SetResLanguage(ResLanguage language);
// The table in use: English or Japanese.
ResLanguage CurrentResLanguage();

// Replaces a language's table with the contents of a file (tests and
// fixtures); false when the file cannot be read. ResetResTables() returns to
// the embedded tables.
bool LoadResTableFile(ResLanguage language, const QString& path);
void ResetResTables();

// True when the table in use (or the English one) holds id.
bool HasResString(int id);

// Expands the placeholders of a table text in one left-to-right pass:
// "~1".."~9" the arguments (a missing one, and "~0", give ""), "~c"/"~C"
// CR LF, "~t"/"~T" a TAB, "~" with any other character (or at the end)
// removed. Inserted arguments are never scanned again.
QString ExpandResText(const QString& text, const QStringList& args);

// The text with that id, expanded with the arguments. Raises
// StringNotFoundError when the id is in no table. An id missing from the
// Japanese table is taken from the English one.
QString GetResStringV(int id, const QStringList& args = {});

// Converting the arguments of GetResString to text.
inline QString ResArg(const QString& s) { return s; }
inline QString ResArg(const char* s) { return QString::fromUtf8(s); }
inline QString ResArg(QChar c) { return QString(c); }
inline QString ResArg(const QByteArray& b) { return QString::fromLatin1(b); }
inline QString ResArg(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }
QString ResArg(float v);
QString ResArg(double v);
template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
QString ResArg(T v)
{
    return QString::number(v);
}

// GetResString(id, args...): any number of arguments of the kinds above.
template <typename... Args>
QString GetResString(int id, const Args&... args)
{
    return GetResStringV(id, QStringList{ResArg(args)...});
}
