#include "common/resstrings.h"

#include "common/errors.h"
#include "common/gasvalue.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <optional>

namespace {

using Table = QHash<int, QString>;

struct Tables {
    QMutex mutex;
    ResLanguage chosen = ResLanguage::System;
    std::optional<Table> en;
    std::optional<Table> ja;
};

Tables& State()
{
    static Tables tables;
    return tables;
}

std::optional<Table> ParseTable(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Table table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).trimmed().toInt(&ok);
        if (!ok)
            continue;
        table.insert(id, line.mid(tab + 1));
    }
    return table;
}

const Table& Embedded(ResLanguage language, Tables& s)
{
    std::optional<Table>& slot = language == ResLanguage::Japanese ? s.ja : s.en;
    if (!slot) {
        const QString path = language == ResLanguage::Japanese ? QStringLiteral(":/strings/ja.tsv")
                                                                : QStringLiteral(":/strings/en.tsv");
        slot = ParseTable(path);
        if (!slot)
            slot = Table();
    }
    return *slot;
}

ResLanguage Resolve(ResLanguage language)
{
    if (language != ResLanguage::System)
        return language;
    return QLocale::system().language() == QLocale::Japanese ? ResLanguage::Japanese : ResLanguage::English;
}

} // namespace

void SetResLanguage(ResLanguage language)
{
    Tables& s = State();
    QMutexLocker lock(&s.mutex);
    s.chosen = language;
}

ResLanguage CurrentResLanguage()
{
    Tables& s = State();
    QMutexLocker lock(&s.mutex);
    return Resolve(s.chosen);
}

bool LoadResTableFile(ResLanguage language, const QString& path)
{
    std::optional<Table> table = ParseTable(path);
    if (!table)
        return false;
    Tables& s = State();
    QMutexLocker lock(&s.mutex);
    (Resolve(language) == ResLanguage::Japanese ? s.ja : s.en) = std::move(table);
    return true;
}

void ResetResTables()
{
    Tables& s = State();
    QMutexLocker lock(&s.mutex);
    s.en.reset();
    s.ja.reset();
}

namespace {
std::optional<QString> Lookup(int id)
{
    Tables& s = State();
    QMutexLocker lock(&s.mutex);
    const ResLanguage language = Resolve(s.chosen);
    const Table& table = Embedded(language, s);
    auto it = table.constFind(id);
    if (it != table.constEnd())
        return *it;
    if (language == ResLanguage::Japanese) {
        const Table& en = Embedded(ResLanguage::English, s);
        auto e = en.constFind(id);
        if (e != en.constEnd())
            return *e;
    }
    return std::nullopt;
}
}

bool HasResString(int id)
{
    return Lookup(id).has_value();
}

QString ExpandResText(const QString& text, const QStringList& args)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch != QLatin1Char('~')) {
            out += ch;
            continue;
        }
        if (i + 1 >= n)
            break; // a "~" at the end is removed
        const QChar c = text[++i];
        if (c == QLatin1Char('c') || c == QLatin1Char('C')) {
            out += QLatin1String("\r\n");
        } else if (c == QLatin1Char('t') || c == QLatin1Char('T')) {
            out += QLatin1Char('\t');
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            const int index = c.unicode() - '0';
            if (index >= 1 && index <= args.size())
                out += args[index - 1];
        }
        // Any other character is removed together with its "~".
    }
    return out;
}

QString GetResStringV(int id, const QStringList& args)
{
    const std::optional<QString> text = Lookup(id);
    if (!text)
        throw StringNotFoundError(QStringLiteral("No text with id %1 in the string table").arg(id));
    return ExpandResText(*text, args);
}

QString ResArg(float v)
{
    return FloatText(v);
}

QString ResArg(double v)
{
    return QString::number(v, 'g', 15);
}
