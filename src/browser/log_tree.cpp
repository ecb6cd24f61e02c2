#include "browser/log_tree.h"

#include "browser/browser_keys.h"

#include "common/resstrings.h"

#include <QUrl>
#include <algorithm>
#include <map>

namespace browser {

const LogTreeNode* LogTreeModel::Node(const QString& key) const
{
    const int i = Find(key);
    return i < 0 ? nullptr : &m_nodes[static_cast<size_t>(i)];
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
// NoCase folds it (ASCII only).
QString FoldAscii(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return out;
}

struct Level {
    HeadColumn column;
    char letter;
};

// One distinct head: the identity texts of the levels in use, then Types.
struct HeadRow {
    std::vector<QString> values;
    int types = 0;
};

class Builder {
public:
    Builder(LogTreeModel& model, std::vector<Level> levels, std::vector<HeadRow> rows)
        : m_model(model), m_levels(std::move(levels)), m_rows(std::move(rows)) {}

    void Build(int parent, const QString& path, const std::vector<int>& rows, size_t depth)
    {
        const HeadFilter parentFilter = m_model.At(parent).filter;
        if (depth == m_levels.size()) {
            for (const RecordKind& k : kKinds) {
                if (!std::any_of(rows.begin(), rows.end(),
                                 [&](int r) { return m_rows[static_cast<size_t>(r)].types == k.types; }))
                    continue;
                LogTreeNode n;
                n.key = path + QLatin1Char(' ') + QLatin1Char(k.nodeLetter);
                n.text = GetResString(k.captionId);
                n.letter = QLatin1Char(k.nodeLetter);
                n.parent = parent;
                n.types = k.types;
                n.filter = parentFilter;
                n.filter.append({HeadColumn::Types, k.types});
                m_model.Add(std::move(n));
            }
            return;
        }
        // Group the rows by the folded value of this level, sorted.
        std::map<QString, std::pair<QString, std::vector<int>>> groups;
        for (int r : rows) {
            const QString& v = m_rows[static_cast<size_t>(r)].values[depth];
            auto& g = groups[FoldAscii(v)];
            if (g.second.empty() || v < g.first)
                g.first = v;
            g.second.push_back(r);
        }
        const Level& level = m_levels[depth];
        for (auto& [folded, group] : groups) {
            // Percent-encoding leaves no "/" or blank inside a path part, so
            // "/" separates the parts and the last blank the letter.
            const QString part = QString::fromLatin1(QUrl::toPercentEncoding(folded));
            const QString childPath = path.isEmpty() ? part : path + QLatin1Char('/') + part;
            LogTreeNode n;
            n.key = childPath + QLatin1Char(' ') + QLatin1Char(level.letter);
            n.text = group.first;
            n.letter = QLatin1Char(level.letter);
            n.parent = parent;
            n.filter = parentFilter;
            n.filter.append({level.column, group.first});
            const int index = m_model.Add(std::move(n));
            Build(index, childPath, group.second, depth + 1);
        }
    }

private:
    LogTreeModel& m_model;
    std::vector<Level> m_levels;
    std::vector<HeadRow> m_rows;
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

    QStringList columns;
    for (const Level& l : used)
        columns << HeadColumnName(l.column);
    columns << QStringLiteral("Types");
    QSqlQuery q = SelectHeads(db, QStringLiteral("Distinct ") + columns.join(QLatin1Char(',')), {});
    std::vector<HeadRow> rows;
    while (q.next()) {
        HeadRow r;
        r.values.reserve(used.size());
        for (size_t i = 0; i < used.size(); ++i)
            r.values.push_back(IdentityText(q.value(static_cast<int>(i))));
        const QVariant t = q.value(static_cast<int>(used.size()));
        r.types = t.isNull() ? 0 : t.toInt();
        rows.push_back(std::move(r));
    }

    LogTreeModel model;
    LogTreeNode root;
    root.key = kRootKey;
    root.text = GetResString(5107);
    root.letter = u'#';
    const int rootIndex = model.Add(std::move(root));
    std::vector<int> all(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        all[i] = static_cast<int>(i);
    Builder(model, std::move(used), std::move(rows)).Build(rootIndex, QString(), all, 0);
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
