#pragma once
// The browser's tree as plain data: built from the record heads in one
// query and shown by the data panel. Nodes come in creation order (each
// parent before its children, a subtree complete before its next sibling),
// so a node's position is its index.
#include "records/head_query.h"

#include <QHash>
#include <QString>
#include <vector>

namespace browser {

// The optional grouping levels (the three check boxes).
struct TreeLevels {
    bool serial = false;
    bool station = false;
    bool user = false;
};

struct LogTreeNode {
    QString key;        // unique within the tree
    QString text;       // what the tree shows
    QChar letter;       // # S T U M or a kind-node letter
    int parent = -1;    // index of the parent; -1 for the root
    int types = 0;      // Log_Head.Types of a kind node, else 0
    std::vector<int> children;
};

class LogTreeModel {
public:
    const std::vector<LogTreeNode>& Nodes() const { return m_nodes; }
    int Size() const { return static_cast<int>(m_nodes.size()); }
    const LogTreeNode& At(int index) const { return m_nodes[static_cast<size_t>(index)]; }
    // The index of the node with key; -1 when there is none.
    int Find(const QString& key) const { return m_index.value(key, -1); }
    // The filter of the heads below the node at index: its own term (its
    // level's column equal to its text, or its kind) and each ancestor's,
    // the node's first (the root's is empty).
    HeadFilter Filter(int index) const;

    void Reserve(int nodes);
    // Adds a node under parent (-1 for the root) and returns its index.
    int Add(LogTreeNode node);

private:
    std::vector<LogTreeNode> m_nodes;
    QHash<QString, int> m_index;
};

// Builds the tree of every head in the database with the levels given:
// root, the optional levels in the order serial, station, user, then
// folders, then one node per kind present below a folder (kinds in the
// order 1, 2, 3, 5, 6, 7). Values are deduplicated per parent as the
// filters compare them (trimmed, Null and blank as "*", ASCII letter case
// ignored) and siblings are sorted by that value; the node shows the
// spelling that sorts first with letter case ignored, of equal ones the
// one that sorts first as stored. One query reads every distinct identity
// with the kinds below it (with every level on, from the heads' identity
// index).
// Raises DatabaseError.
LogTreeModel BuildLogTreeModel(LogDb& db, const TreeLevels& levels);

// The caption of a level letter's children in the list header and the item
// text of a child node (folder listing).
QString LevelCaption(QChar childLetter);

} // namespace browser
