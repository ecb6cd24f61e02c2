// The grid's cells as the windows write them: the grid's size, its caption
// rows and columns, cell texts, colours, alignment and check boxes, merged
// cells, editing through the hooks, and the free row writer SetGridRow with
// the "|"-separated heading string. How the caption rows stay in view, where
// the cursor may go and how the rows scroll is in grid_band.cpp; column widths
// and their fitting to the texts in grid_widths.cpp.

#include "common/widgets/grid_writer.h"
#include "common/widgets/grid_vectors.h"

#include "common/colors.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QtDebug>
#include <algorithm>

using grid_vectors::At;
using grid_vectors::Erase;
using grid_vectors::Insert;
using grid_vectors::Put;

namespace {

constexpr int kDefaultAlign = DataGrid::AlignLeftCenter;

Qt::Alignment ToQt(int align)
{
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (align < 0 || align > 8)
        align = kDefaultAlign;
    return horizontal[align / 3] | vertical[align % 3];
}

int FromQt(Qt::Alignment a)
{
    const int h = (a & Qt::AlignHCenter) ? 1 : (a & Qt::AlignRight) ? 2 : 0;
    const int v = (a & Qt::AlignTop) ? 0 : (a & Qt::AlignBottom) ? 2 : 1;
    return h * 3 + v;
}

bool InGrid(const QTableWidget& grid, int row, int col)
{
    return row >= 0 && col >= 0 && row < grid.rowCount() && col < grid.columnCount();
}

// The flags of a cell: selectable; editable (text and check box) only in a
// grid with edit hooks.
Qt::ItemFlags CellFlags(const QTableWidget& grid)
{
    const auto* dataGrid = qobject_cast<const DataGrid*>(&grid);
    if (dataGrid && dataGrid->EditHooks())
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

// The cell's item, created empty when missing; nullptr outside the grid.
QTableWidgetItem* EnsureItem(QTableWidget& grid, int row, int col)
{
    if (!InGrid(grid, row, col))
        return nullptr;
    QTableWidgetItem* item = grid.item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(CellFlags(grid));
        grid.setItem(row, col, item);
    }
    return item;
}

} // namespace

// Draws the caption rows and columns in the fixed colour and applies the
// column alignment to cells without an alignment of their own. A check box
// alone in its cell stands where the cell's alignment puts it (the style
// puts it at the left whatever the alignment), and is toggled where it is
// drawn. The current cell's focus is the grid's own frame (grid_band.cpp),
// not the style's.
class DataGridDelegate : public QStyledItemDelegate {
public:
    explicit DataGridDelegate(DataGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const int shift = CheckShift(opt);
        if (shift == 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        QStyleOptionViewItem box = opt;
        box.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget).translated(shift, 0);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= opt.checkState == Qt::Checked            ? QStyle::State_On
                     : opt.checkState == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                              : QStyle::State_Off;
        // The cell without its box, then the box in its place.
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
        if (!index.data(Qt::TextAlignmentRole).isValid())
            option->displayAlignment = ToQt(m_grid->CellAlignment(index.row(), index.column()));
        if (!index.data(Qt::BackgroundRole).isValid()
            && (index.row() < m_grid->FixedRows() || index.column() < m_grid->FixedCols()))
            option->backgroundBrush = ColorFromWin(DataGrid::FixedBackColor());
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        GridEditHooks* hooks = m_grid->EditHooks();
        // A check-box cell takes no text.
        if (!hooks || index.data(Qt::CheckStateRole).isValid() || hooks->BeforeEdit(index.row(), index.column()))
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        GridEditHooks* hooks = m_grid->EditHooks();
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!hooks || !line)
            return;
        QString text = line->text();
        if (hooks->ValidateEdit(index.row(), index.column(), text))
            return;
        model->setData(index, text, Qt::EditRole);
        // The view still holds the editor until it closes it, right after
        // this returns; a hook that refilled the grid now would take the
        // editor from under the view. The hook runs once it is closed.
        m_grid->m_editTaken = {index.row(), index.column()};
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        GridEditHooks* hooks = m_grid->EditHooks();
        if (!hooks || !index.data(Qt::CheckStateRole).isValid())
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        // The style finds the box where it would draw it: in a cell moved by
        // as much as the box was, it finds it where it is drawn.
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QStyleOptionViewItem moved = option;
        moved.rect.translate(CheckShift(opt), 0);
        const bool toggling = event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::KeyPress;
        if (!toggling)
            return QStyledItemDelegate::editorEvent(event, model, moved, index);
        const QVariant before = index.data(Qt::CheckStateRole);
        if (hooks->BeforeEdit(index.row(), index.column()))
            return true;
        const bool handled = QStyledItemDelegate::editorEvent(event, model, moved, index);
        if (index.data(Qt::CheckStateRole) != before)
            hooks->AfterEdit(index.row(), index.column());
        return handled;
    }

private:
    // How far right of the style's place a check box alone in its cell
    // stands: centred or at the right by the cell's alignment (0 for a box
    // beside a text or an icon, which the style places).
    static int CheckShift(const QStyleOptionViewItem& opt)
    {
        if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator) || !opt.text.isEmpty()
            || (opt.features & QStyleOptionViewItem::HasDecoration))
            return 0;
        const Qt::Alignment h = opt.displayAlignment & Qt::AlignHorizontal_Mask;
        if (!(h & (Qt::AlignHCenter | Qt::AlignRight)))
            return 0;
        const QWidget* widget = opt.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
        // At the right it keeps the margin the style gives it at the left.
        const int margin = box.left() - opt.rect.left();
        const QRect at = QStyle::alignedRect(opt.direction, h | Qt::AlignVCenter, box.size(),
                                             opt.rect.adjusted(margin, 0, -margin, 0));
        return at.left() - box.left();
    }

    DataGrid* m_grid;
};

std::int32_t DataGrid::FixedBackColor()
{
    return RGB(240, 240, 240);
}

DataGrid::DataGrid(QWidget* parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Rows move by whole rows, so the row under the captions shows whole.
    setVerticalScrollMode(ScrollPerItem);
    setItemDelegate(new DataGridDelegate(this));
    verticalHeader()->setMinimumSectionSize(8);
    // Columns are as wide as set, however narrow.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& tl, const QModelIndex& br) { UpdateMerges(tl.row(), br.row()); });
    // Per-column and per-row settings follow the columns and rows they belong to.
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex&, int first, int last) {
        Insert(m_colAlign, first, last, -1);
        Insert(m_colWidthTwips, first, last, -1);
    });
    connect(model(), &QAbstractItemModel::columnsRemoved, this, [this](const QModelIndex&, int first, int last) {
        Erase(m_colAlign, first, last);
        Erase(m_colWidthTwips, first, last);
    });
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { Insert(m_mergeRows, first, last, false); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { Erase(m_mergeRows, first, last); });
    ConnectColumnWidths();
    ConnectBand();
}

DataGrid::~DataGrid()
{
    // The model and the caption view go after this object: nothing they
    // signal on the way may reach it.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(horizontalHeader(), nullptr, this, nullptr);
    disconnect(verticalHeader(), nullptr, this, nullptr);
    disconnect(horizontalScrollBar(), nullptr, this, nullptr);
}

void DataGrid::SetRows(int rows)
{
    setRowCount(std::max(0, rows));
}

void DataGrid::SetCols(int cols)
{
    setColumnCount(std::max(0, cols));
    UpdateMerges(0, rowCount() - 1);
}

void DataGrid::SetFixedRows(int rows)
{
    m_fixedRows = std::max(0, rows);
    viewport()->update();
    updateGeometries();
    update(CaptionBand());
    TextsChanged();
}

void DataGrid::SetFixedCols(int cols)
{
    m_fixedCols = std::max(0, cols);
    viewport()->update();
    update(CaptionBand());
}

void DataGrid::Clear()
{
    // The table forgets its current cell with its cells; the grid keeps its
    // size, and the current cell stays where the user left it.
    const int row = currentRow();
    const int col = currentColumn();
    clearContents();
    clearSpans();
    UpdateMerges(0, rowCount() - 1);
    if (row >= 0 && col >= 0)
        setCurrentCell(row, col);
}

void DataGrid::SetFormatString(const QString& format)
{
    ::SetFormatString(*this, format);
}

QString DataGrid::Text(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

void DataGrid::SetText(int row, int col, const QString& text)
{
    if (QTableWidgetItem* it = Cell(row, col))
        it->setText(text);
}

std::int32_t DataGrid::CellBackColor(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    if (!it || !it->data(Qt::BackgroundRole).isValid())
        return 0;
    return WinFromColor(it->background().color());
}

void DataGrid::SetCellBackColor(int row, int col, std::int32_t color)
{
    QTableWidgetItem* it = Cell(row, col);
    if (!it)
        return;
    if (color == 0)
        it->setData(Qt::BackgroundRole, QVariant());
    else
        it->setBackground(ColorFromWin(color));
}

void DataGrid::SetCellAlignment(int row, int col, Align align)
{
    if (QTableWidgetItem* it = Cell(row, col))
        it->setTextAlignment(ToQt(align));
}

void DataGrid::SetRangeAlignment(int row1, int col1, int row2, int col2, Align align)
{
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 > col2)
        std::swap(col1, col2);
    row1 = std::max(row1, 0);
    col1 = std::max(col1, 0);
    row2 = std::min(row2, rowCount() - 1);
    col2 = std::min(col2, columnCount() - 1);
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            SetCellAlignment(r, c, align);
}

void DataGrid::SetColAlignment(int col, Align align)
{
    if (col == -1) {
        m_colAlign.assign(static_cast<size_t>(std::max(columnCount(), 0)), align);
    } else {
        Put(m_colAlign, col, static_cast<int>(align), -1);
    }
    viewport()->update();
}

DataGrid::Align DataGrid::CellAlignment(int row, int col) const
{
    if (const QTableWidgetItem* it = item(row, col)) {
        const QVariant own = it->data(Qt::TextAlignmentRole);
        if (own.isValid())
            return static_cast<Align>(FromQt(Qt::Alignment(own.toInt())));
    }
    const int colAlign = At(m_colAlign, col, -1);
    return static_cast<Align>(colAlign >= 0 ? colAlign : kDefaultAlign);
}

DataGrid::Check DataGrid::CellCheck(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    if (!it || !it->data(Qt::CheckStateRole).isValid())
        return NoCheckBox;
    return it->checkState() == Qt::Checked ? Checked : Unchecked;
}

void DataGrid::SetCellCheck(int row, int col, Check check)
{
    QTableWidgetItem* it = Cell(row, col);
    if (!it)
        return;
    if (check == NoCheckBox)
        it->setData(Qt::CheckStateRole, QVariant());
    else
        it->setCheckState(check == Checked ? Qt::Checked : Qt::Unchecked);
}

void DataGrid::SetMergeCells(Merge mode)
{
    m_merge = mode;
    UpdateMerges(0, rowCount() - 1);
}

bool DataGrid::MergeRow(int row) const
{
    return At(m_mergeRows, row, false);
}

void DataGrid::SetMergeRow(int row, bool merge)
{
    if (row < 0)
        return;
    Put(m_mergeRows, row, merge, false);
    UpdateMerges(row, row);
}

QTableWidgetItem* DataGrid::Cell(int row, int col)
{
    return EnsureItem(*this, row, col);
}

// Equal, non-empty neighbouring cells of a marked row are shown as one cell.
void DataGrid::UpdateMerges(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, rowCount() - 1);
    const int cols = columnCount();
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = 0; c < cols; ++c)
            if (columnSpan(r, c) > 1)
                SetMergeSpan(r, c, 1);
        if (m_merge != MergeRestrictRows || !MergeRow(r))
            continue;
        int start = 0;
        while (start < cols) {
            const QString text = Text(r, start);
            int end = start + 1;
            while (end < cols && !text.isEmpty() && Text(r, end) == text)
                ++end;
            if (end - start > 1)
                SetMergeSpan(r, start, end - start);
            start = end;
        }
    }
    TextsChanged();
}

void DataGrid::SetMergeSpan(int row, int col, int columns)
{
    setSpan(row, col, 1, columns);
    if (row < m_fixedRows)
        update(CaptionBand());
}

void DataGrid::SetEditHooks(GridEditHooks* hooks)
{
    m_editHooks = hooks;
    const Qt::ItemFlags flags = CellFlags(*this);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem* it = item(r, c))
                it->setFlags(flags);
    setEditTriggers(hooks ? (QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed)
                          : QAbstractItemView::NoEditTriggers);
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The editor closes first, then the hook of the text it gave runs (it
    // may refill the grid), and only then does the cursor move on as the
    // key that ended the edit asks (Tab in the editor, or none).
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (m_editTaken) {
        const auto [row, col] = *m_editTaken;
        m_editTaken.reset();
        if (m_editHooks)
            m_editHooks->AfterEdit(row, col);
    }
    QTableWidget::closeEditor(nullptr, hint);
}

void SetGridRow(QTableWidget& grid, int row, int startCol, bool fillRest, const QStringList& values)
{
    if (row < 0 || row >= grid.rowCount() || startCol < 0) {
        qWarning("SetGridRow: row %d, column %d lies outside a grid of %d rows", row, startCol,
                 grid.rowCount());
        return;
    }
    const int count = static_cast<int>(values.size());
    int lastCol = count - 1 + startCol;
    if (lastCol >= grid.columnCount())
        lastCol = grid.columnCount() - 1;
    QString last;
    int col = startCol;
    for (; col <= lastCol; ++col) {
        last = values.at(col - startCol);
        EnsureItem(grid, row, col)->setText(last);
    }
    // Without values the loop above did not run and the repeated value is empty.
    if (fillRest)
        for (; col < grid.columnCount(); ++col)
            EnsureItem(grid, row, col)->setText(last);
}

void SetFormatString(QTableWidget& grid, const QString& format)
{
    const QStringList fields = format.split(QLatin1Char('|'));
    grid.setColumnCount(static_cast<int>(fields.size()));
    if (grid.rowCount() < 1)
        grid.setRowCount(1);
    SetGridRow(grid, 0, 0, false, fields);
}
