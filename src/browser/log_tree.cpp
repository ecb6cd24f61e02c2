#include "browser/log_tree.h"

#include "browser/browser_keys.h"

#include "common/resstrings.h"

#include <algorithm>

namespace browser {

void LogTreeModel::Reserve(int nodes)
{
    m_nodes.reserve(static_cast<size_t>(nodes));
    m_index.reserve(nodes);
}

HeadFilter LogTreeModel::Filter(int index) const
{
    HeadFilter filter;
    for (int i = index; i > 0; i = At(i).parent)
        filter.append(At(i).term);
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

    QStringList columns;
    for (const Level& l : used)
        columns << HeadColumnName(l.column);
    columns << QStringLiteral("Types");
    {
        // The distinct rows are sorted in a temporary table: in memory, not
        // in a file.
        QSqlQuery pragma(db.Db());
        pragma.exec(QStringLiteral("Pragma temp_store=Memory;"));
    }
    QStringList order;
    for (size_t i = 1; i <= depth; ++i)
        order << QStringLiteral("%1 Collate NoCase").arg(i);
    QSqlQuery q = SelectHeads(db, QStringLiteral("Distinct ") + columns.join(QLatin1Char(',')), {},
                              order.join(QLatin1Char(',')));
    // Per distinct head: depth shown texts and their folded values, and
    // the kind.
    std::vector<QString> texts;
    std::vector<QString> folded;
    std::vector<int> types;
    while (q.next()) {
        for (size_t i = 0; i < depth; ++i) {
            texts.push_back(IdentityText(q.value(static_cast<int>(i))));
            folded.push_back(FoldAscii(texts.back()));
        }
        const QVariant t = q.value(static_cast<int>(depth));
        types.push_back(t.isNull() ? 0 : t.toInt());
    }
    const auto text = [&](int row, size_t d) -> const QString& { return texts[static_cast<size_t>(row) * depth + d]; };
    const auto fold = [&](int row, size_t d) -> const QString& { return folded[static_cast<size_t>(row) * depth + d]; };
    // Sorted by the folded values level by level, a group of equal values is
    // one run of rows, and walking the rows adds the nodes in creation order.
    std::vector<int> rows(types.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    // The query's order differs only where trimming or a Null moved a value.
    const auto before = [&](int a, int b) {
        for (size_t d = 0; d < depth; ++d)
            if (const int c = QString::compare(fold(a, d), fold(b, d)))
                return c < 0;
        return false;
    };
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);

    LogTreeModel model;
    model.Reserve(static_cast<int>(rows.size() + rows.size() / 4 + 16));
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
            n.key = paths[depth - 1] + QLatin1Char(' ') + QLatin1Char(kKinds[k].nodeLetter);
            n.text = captions[k];
            n.letter = QLatin1Char(kKinds[k].nodeLetter);
            n.parent = open[depth - 1];
            n.types = kKinds[k].types;
            n.term = {HeadColumn::Types, kKinds[k].types};
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
                n.key = paths[d] + QLatin1Char(' ') + QLatin1Char(used[d].letter);
                n.text = text(r, d);
                n.letter = QLatin1Char(used[d].letter);
                n.parent = d == 0 ? 0 : open[d - 1];
                n.term = {used[d].column, text(r, d)};
                open[d] = model.Add(std::move(n));
            }
        }
        for (size_t k = 0; k < kKinds.size(); ++k)
            if (kKinds[k].types == types[static_cast<size_t>(r)])
                kindsSeen |= 1u << k;
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
