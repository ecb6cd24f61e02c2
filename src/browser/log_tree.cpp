#include "browser/log_tree.h"

#include "browser/browser_keys.h"

#include "common/resstrings.h"

#include <algorithm>
#include <bit>

namespace browser {

void LogTreeModel::Reserve(int nodes)
{
    m_nodes.reserve(static_cast<size_t>(nodes));
    m_index.reserve(nodes);
}

HeadFilter LogTreeModel::Filter(int index) const
{
    HeadFilter filter;
    for (int i = index; i > 0; i = At(i).parent) {
        const LogTreeNode& n = At(i);
        switch (n.letter.unicode()) {
        case u'S': filter.append({HeadColumn::SerialNo, n.text}); break;
        case u'T': filter.append({HeadColumn::StationID, n.text}); break;
        case u'U': filter.append({HeadColumn::UserID, n.text}); break;
        case u'M': filter.append({HeadColumn::FolderID, n.text}); break;
        default: filter.append({HeadColumn::Types, n.types}); break;
        }
    }
    return filter;
}

int LogTreeModel::Add(LogTreeNode node)
{
    const int index = Size();
    if (node.parent >= 0)
        m_nodes[static_cast<size_t>(node.parent)].children.push_back(index);
    m_index.insert(node.key, index);
    m_nodes.push_back(std::move(node));
    return index;
}

namespace {

// The value as the filters compare it: letter case folded as SQLite's
// NoCase folds it (ASCII capitals to small letters), so that the query's
// order is normally already the order of the folded values.
QString FoldAscii(const QString& s)
{
    const auto upper = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    if (std::none_of(s.begin(), s.end(), upper))
        return s;
    QString out = s;
    for (QChar& c : out)
        if (upper(c))
            c = QChar(c.unicode() + 32);
    return out;
}

// Stored values compared as the database compares them with letter case
// ignored: Null first, then ASCII capitals as small letters.
int CompareStoredNoCase(const QString& a, const QString& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    const auto fold = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u;
    };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]);
        const char16_t y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// A folded value as one part of a key path: "%", "/" and blanks are
// escaped, so "/" separates the parts and the last blank the letter.
QString PathPart(const QString& folded)
{
    if (!folded.contains(u'%') && !folded.contains(u'/') && !folded.contains(u' '))
        return folded;
    QString out = folded;
    out.replace(QLatin1String("%"), QLatin1String("%25"));
    out.replace(QLatin1String("/"), QLatin1String("%2F"));
    out.replace(QLatin1String(" "), QLatin1String("%20"));
    return out;
}

// The key of a node: its path, a blank and its letter, in a string of
// exactly that size (a tree holds one per node).
QString NodeKey(const QString& path, char letter)
{
    QString key;
    key.reserve(path.size() + 2);
    key.append(path).append(QLatin1Char(' ')).append(QLatin1Char(letter));
    return key;
}

struct Level {
    HeadColumn column;
    char letter;
};

} // namespace

LogTreeModel BuildLogTreeModel(LogDb& db, const TreeLevels& levels)
{
    std::vector<Level> used;
    if (levels.serial)
        used.push_back({HeadColumn::SerialNo, 'S'});
    if (levels.station)
        used.push_back({HeadColumn::StationID, 'T'});
    if (levels.user)
        used.push_back({HeadColumn::UserID, 'U'});
    used.push_back({HeadColumn::FolderID, 'M'});
    const size_t depth = used.size();

    // Rows of an identity and the kinds below it as bits (bit t for kind t),
    // in the stored values' own order. With every level on, the heads'
    // identity index gives one group per identity in that order without a
    // sort; with fewer levels the distinct rows are few, and grouping them
    // would sort every head, so each distinct kind comes as a row of its
    // own. The order shown follows below.
    QStringList columns;
    QStringList order;
    for (const Level& l : used) {
        columns << HeadColumnName(l.column);
        order << QString::number(order.size() + 1);
    }
    const bool grouped = levels.serial && levels.station && levels.user;
    columns << (grouped ? QStringLiteral("Sum(Distinct 1<<Types)") : QStringLiteral("1<<Types"));
    {
        // Where no index gives the order, the rows are sorted in a
        // temporary table: in memory, not in a file.
        QSqlQuery pragma(db.Db());
        pragma.exec(QStringLiteral("Pragma temp_store=Memory;"));
    }
    QSqlQuery q = SelectHeads(db, (grouped ? QString() : QStringLiteral("Distinct ")) + columns.join(QLatin1Char(',')),
                              {}, order.join(QLatin1Char(',')), grouped ? order.join(QLatin1Char(',')) : QString());
    // Per row and level: the stored value (null for Null), the shown text
    // and its folded value; and the row's kinds, one bit each. Rows in
    // stored order mostly repeat the row before at the upper levels, whose
    // texts are then shared instead of made again.
    std::vector<QString> stored;
    std::vector<QString> texts;
    std::vector<QString> folded;
    std::vector<unsigned> kinds;
    // The nodes the rows make, for reserving the tree at once: a level node
    // where a value (or one above it) changes, and one node per kind (at
    // most).
    int nodes = 1;
    while (q.next()) {
        const size_t first = texts.size();
        bool changed = first == 0;
        for (size_t i = 0; i < depth; ++i) {
            const QVariant v = q.value(static_cast<int>(i));
            const QString value = v.isNull() ? QString() : v.toString();
            const size_t above = first - depth + i;
            const bool same = first > 0 && value.isNull() == stored[above].isNull() && value == stored[above];
            changed = changed || !same;
            nodes += changed;
            if (same) {
                stored.push_back(stored[above]);
                texts.push_back(texts[above]);
                folded.push_back(folded[above]);
                continue;
            }
            stored.push_back(value);
            texts.push_back(IdentityText(v));
            folded.push_back(FoldAscii(texts.back()));
        }
        const qint64 present = q.value(static_cast<int>(depth)).toLongLong();
        unsigned bits = 0;
        for (size_t k = 0; k < kKinds.size(); ++k)
            if ((present >> kKinds[k].types) & 1)
                bits |= 1u << k;
        kinds.push_back(bits);
        nodes += std::popcount(bits);
    }
    const auto text = [&](int row, size_t d) -> const QString& { return texts[static_cast<size_t>(row) * depth + d]; };
    const auto fold = [&](int row, size_t d) -> const QString& { return folded[static_cast<size_t>(row) * depth + d]; };
    const auto value = [&](int row, size_t d) -> const QString& { return stored[static_cast<size_t>(row) * depth + d]; };
    // Sorted by the folded values level by level, a group of equal values is
    // one run of rows, and walking the rows adds the nodes in creation order.
    // Rows whose folded values are all equal go in the order of their stored
    // values with letter case ignored (Null first), then as stored: the node
    // shows the spelling that comes first in that order.
    std::vector<int> rows(kinds.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    const auto before = [&](int a, int b) {
        for (size_t d = 0; d < depth; ++d)
            if (const int c = QString::compare(fold(a, d), fold(b, d)))
                return c < 0;
        for (size_t d = 0; d < depth; ++d)
            if (const int c = CompareStoredNoCase(value(a, d), value(b, d)))
                return c < 0;
        return false;
    };
    // The stored order differs only where letter case, trimming or a Null
    // moved a value.
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);

    LogTreeModel model;
    model.Reserve(nodes);
    LogTreeNode root;
    root.key = kRootKey;
    root.text = GetResString(5107);
    root.letter = u'#';
    model.Add(std::move(root));

    QString captions[kKinds.size()];
    for (size_t k = 0; k < kKinds.size(); ++k)
        captions[k] = GetResString(kKinds[k].captionId);

    std::vector<int> open(depth, -1);      // the node of each level for the current run
    std::vector<QString> paths(depth);
    unsigned kindsSeen = 0;                // kinds below the open folder, one bit each
    const auto closeFolder = [&] {
        if (open[depth - 1] < 0)
            return;
        for (size_t k = 0; k < kKinds.size(); ++k) {
            if (!(kindsSeen & (1u << k)))
                continue;
            LogTreeNode n;
            n.key = NodeKey(paths[depth - 1], kKinds[k].nodeLetter);
            n.text = captions[k];
            n.letter = QLatin1Char(kKinds[k].nodeLetter);
            n.parent = open[depth - 1];
            n.types = kKinds[k].types;
            model.Add(std::move(n));
        }
        kindsSeen = 0;
    };
    int previous = -1;
    for (int r : rows) {
        // The first level whose value differs from the previous row's.
        size_t from = 0;
        if (previous >= 0)
            while (from < depth && fold(r, from) == fold(previous, from))
                ++from;
        if (from < depth) {
            closeFolder();
            for (size_t d = from; d < depth; ++d) {
                const QString part = PathPart(fold(r, d));
                paths[d] = d == 0 ? part : paths[d - 1] + QLatin1Char('/') + part;
                LogTreeNode n;
                n.key = NodeKey(paths[d], used[d].letter);
                n.text = text(r, d);
                n.letter = QLatin1Char(used[d].letter);
                n.parent = d == 0 ? 0 : open[d - 1];
                open[d] = model.Add(std::move(n));
            }
        }
        kindsSeen |= kinds[static_cast<size_t>(r)];
        previous = r;
    }
    closeFolder();
    return model;
}

QString LevelCaption(QChar childLetter)
{
    switch (childLetter.unicode()) {
    case u'S': return GetResString(5608);
    case u'T': return GetResString(5609);
    case u'U': return GetResString(5610);
    case u'M': return QStringLiteral("(MM/YY)");
    default: break;
    }
    return GetResString(5667);
}

} // namespace browser
