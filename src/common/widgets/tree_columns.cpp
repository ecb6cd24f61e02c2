#include "common/widgets/tree_columns.h"

#include "common/widgets/column_fit.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

void FitTreeColumns(QTreeView& view)
{
    QHeaderView* header = view.header();
    const int cols = header->count();
    std::vector<int> wanted(static_cast<size_t>(cols)), need(static_cast<size_t>(cols), 0);
    for (int c = 0; c < cols; ++c) {
        const size_t i = static_cast<size_t>(c);
        if (header->isSectionHidden(c))
            continue;
        wanted[i] = header->sectionSize(c);
        if (!header->isHidden() && !view.model()->headerData(c, Qt::Horizontal).toString().isEmpty())
            need[i] = header->sectionSizeHint(c);
        need[i] = std::max(need[i], static_cast<QAbstractItemView&>(view).sizeHintForColumn(c));
    }
    // The last section may stretch to the viewport; it is fitted like the
    // others and stretches again from its fitted width.
    const std::vector<int> widths = FitColumnWidths(wanted, need, {}, view.viewport()->width());
    for (int c = 0; c < cols; ++c)
        if (!header->isSectionHidden(c) && widths[static_cast<size_t>(c)] != wanted[static_cast<size_t>(c)])
            view.setColumnWidth(c, widths[static_cast<size_t>(c)]);
}
