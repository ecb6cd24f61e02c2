#pragma once
#include <QStyledItemDelegate>

#include <vector>

class QHeaderView;
class QTreeView;

// Widens the columns of a list whose caption or items in view would be cut,
// taking the room from the columns wider than their texts (see
// FitColumnWidths); columns that show all their texts keep their widths.
// Where the list has no room for every text, the columns with an order in
// giveWay (per column; 0 or missing: it does not give way) give way, lower
// orders first, never narrower than their captions: the texts they cut are
// elided and show whole in their tooltips (CutTextTips). Only where even
// that leaves too little room does the list scroll sideways.
void FitTreeColumns(QTreeView& view, const std::vector<int>& giveWay = {});

// The width that shows the caption of section whole: the room for the sort
// indicator counts only on the section that shows it.
int CaptionWidth(const QHeaderView& header, int section);

// The delegate of a column that gives way: an item whose text the column
// cuts short shows the whole text in its tooltip.
class CutTextTips : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The whole text of the item at index when its cell (option.rect) cuts
    // it; empty when the cell shows it whole.
    QString CutText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
