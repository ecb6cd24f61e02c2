#include "common/widgets/tree_columns.h"

#include "common/widgets/column_fit.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>

int CaptionWidth(const QHeaderView& header, int section)
{
    const int hint = header.sectionSizeHint(section);
    if (!header.isSortIndicatorShown() || header.sortIndicatorSection() == section || !header.model())
        return hint;
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.section = section;
    option.text = header.model()->headerData(section, header.orientation()).toString();
    option.sortIndicator = QStyleOptionHeader::None;
    const QSize plain = header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header);
    return std::min(hint, plain.width());
}

void FitTreeColumns(QTreeView& view, const std::vector<int>& giveWay)
{
    QHeaderView* header = view.header();
    const int cols = header->count();
    auto* tips = view.findChild<CutTextTips*>(QString(), Qt::FindDirectChildrenOnly);
    std::vector<int> wanted(static_cast<size_t>(cols)), need(static_cast<size_t>(cols), 0);
    std::vector<GiveWay> floors(static_cast<size_t>(cols));
    for (int c = 0; c < cols; ++c) {
        const size_t i = static_cast<size_t>(c);
        const int order = i < giveWay.size() ? giveWay[i] : 0;
        const bool givesWay = order > 0;
        if (givesWay) {
            if (!tips)
                tips = new CutTextTips(&view);
            view.setItemDelegateForColumn(c, tips);
        } else if (tips && view.itemDelegateForColumn(c) == tips) {
            view.setItemDelegateForColumn(c, nullptr);
        }
        if (header->isSectionHidden(c))
            continue;
        wanted[i] = header->sectionSize(c);
        int caption = 0;
        if (!header->isHidden() && !view.model()->headerData(c, Qt::Horizontal).toString().isEmpty())
            caption = CaptionWidth(*header, c);
        need[i] = std::max(caption, static_cast<QAbstractItemView&>(view).sizeHintForColumn(c));
        // A column that gives way keeps its caption whole, and room for a
        // letter and the ellipsis.
        if (givesWay)
            floors[i] = {std::max(caption, view.fontMetrics().horizontalAdvance(QStringLiteral("W\u2026"))), order};
    }
    // The last section may stretch to the viewport; it is fitted like the
    // others and stretches again from its fitted width.
    const std::vector<int> widths = FitColumnWidths(wanted, need, {}, view.viewport()->width(), floors);
    for (int c = 0; c < cols; ++c)
        if (!header->isSectionHidden(c) && widths[static_cast<size_t>(c)] != wanted[static_cast<size_t>(c)])
            view.setColumnWidth(c, widths[static_cast<size_t>(c)]);
}

QString CutTextTips::CutText(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (item.text.isEmpty() || sizeHint(option, index).width() <= option.rect.width())
        return QString();
    return item.text;
}

bool CutTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                            const QModelIndex& index)
{
    if (event && view && event->type() == QEvent::ToolTip) {
        const QString text = CutText(option, index);
        if (!text.isEmpty()) {
            QToolTip::showText(event->globalPos(), text, view, option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
