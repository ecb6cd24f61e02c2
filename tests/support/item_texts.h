#pragma once
// What a tree or list view shows: the first-column texts of its items.
#include <QStringList>
#include <QTreeWidget>

// The top-level items of a list (or tree), in order.
inline QStringList ListTexts(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

// The children of a tree node, in order.
inline QStringList ChildTexts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}
