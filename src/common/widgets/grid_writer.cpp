#include "common/widgets/grid_writer.h"

#include "common/colors.h"
#include "common/twips.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>
#include <QtDebug>
#include <algorithm>
#include <cmath>

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

template <typename T>
T At(const std::vector<T>& v, int i, T fallback)
{
    return (i >= 0 && i < static_cast<int>(v.size())) ? v[static_cast<size_t>(i)] : fallback;
}

template <typename T>
void Put(std::vector<T>& v, int i, T value, T fill)
{
    if (i < 0)
        return;
    if (i >= static_cast<int>(v.size()))
        v.resize(static_cast<size_t>(i) + 1, fill);
    v[static_cast<size_t>(i)] = value;
}

template <typename T>
void Insert(std::vector<T>& v, int first, int last, T fill)
{
    if (first < static_cast<int>(v.size()))
        v.insert(v.begin() + first, static_cast<size_t>(last - first + 1), fill);
}

template <typename T>
void Erase(std::vector<T>& v, int first, int last)
{
    const int size = static_cast<int>(v.size());
    if (first < size)
        v.erase(v.begin() + first, v.begin() + std::min(last + 1, size));
}

} // namespace

// Draws the caption rows and columns in the fixed colour and applies the
// column alignment to cells without an alignment of their own.
class DataGridDelegate : public QStyledItemDelegate {
public:
    explicit DataGridDelegate(DataGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
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
        hooks->AfterEdit(index.row(), index.column());
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        GridEditHooks* hooks = m_grid->EditHooks();
        if (!hooks || !index.data(Qt::CheckStateRole).isValid())
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const bool toggling = event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::KeyPress;
        if (!toggling)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const QVariant before = index.data(Qt::CheckStateRole);
        if (hooks->BeforeEdit(index.row(), index.column()))
            return true;
        const bool handled = QStyledItemDelegate::editorEvent(event, model, option, index);
        if (index.data(Qt::CheckStateRole) != before)
            hooks->AfterEdit(index.row(), index.column());
        return handled;
    }

private:
    DataGrid* m_grid;
};

// The caption rows of a grid, laid over its top: the same cells drawn by the
// same kind of delegate, never scrolled vertically, never selected or edited.
// The wheel scrolls the grid underneath.
class FrozenRowsView : public QTableView {
public:
    explicit FrozenRowsView(DataGrid* grid) : QTableView(grid), m_grid(grid)
    {
        setObjectName(QStringLiteral("frozenRows"));
        setModel(grid->model());
        setItemDelegate(new DataGridDelegate(grid));
        horizontalHeader()->hide();
        verticalHeader()->hide();
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(Qt::NoFocus);
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setAutoScroll(false);
        setWordWrap(false);
        verticalHeader()->setMinimumSectionSize(grid->verticalHeader()->minimumSectionSize());
        horizontalHeader()->setMinimumSectionSize(0);
    }

    // Shows the columns from the grid's horizontal position.
    void FollowGrid()
    {
        horizontalHeader()->setOffset(m_grid->horizontalHeader()->offset());
        verticalHeader()->setOffset(0);
        viewport()->update();
    }

protected:
    void wheelEvent(QWheelEvent* event) override { QApplication::sendEvent(m_grid->viewport(), event); }
    // The view never scrolls by itself: it follows the grid (FollowGrid).
    void scrollContentsBy(int, int) override {}

private:
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
    setItemDelegate(new DataGridDelegate(this));
    verticalHeader()->setMinimumSectionSize(8);
    // Columns are as wide as set, however narrow.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& tl, const QModelIndex& br) { UpdateMerges(tl.row(), br.row()); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DataGrid::OnSectionResized);
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

    // Widths are fitted again after any change of the texts or the grid's
    // size, once per turn of the event loop.
    m_fitTimer = new QTimer(this);
    m_fitTimer->setSingleShot(true);
    m_fitTimer->setInterval(0);
    connect(m_fitTimer, &QTimer::timeout, this, &DataGrid::FitColumns);
    connect(model(), &QAbstractItemModel::dataChanged, this, &DataGrid::TextsChanged);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &DataGrid::TextsChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &DataGrid::TextsChanged);
    connect(model(), &QAbstractItemModel::columnsInserted, this, &DataGrid::TextsChanged);
    connect(model(), &QAbstractItemModel::columnsRemoved, this, &DataGrid::TextsChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, &DataGrid::TextsChanged);

    m_frozen = new FrozenRowsView(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int oldPx, int px) {
        m_frozen->setColumnWidth(col, px);
        if (oldPx == 0 || px == 0) // a column hidden or shown
            m_needValid = false;
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int row, int oldPx, int px) {
        if (oldPx == 0 || px == 0) // a row hidden or shown
            TextsChanged();
        if (row < m_fixedRows)
            SyncFrozenRows();
    });
}

DataGrid::~DataGrid()
{
    // The model and the caption view go after this object: nothing they
    // signal on the way may reach it.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(horizontalHeader(), nullptr, this, nullptr);
    disconnect(verticalHeader(), nullptr, this, nullptr);
    disconnect(horizontalScrollBar(), nullptr, this, nullptr);
    delete m_frozen;
    m_frozen = nullptr;
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
    SyncFrozenRows();
    TextsChanged();
}

void DataGrid::SetFixedCols(int cols)
{
    m_fixedCols = std::max(0, cols);
    viewport()->update();
}

void DataGrid::Clear()
{
    clearContents();
    clearSpans();
    m_frozen->clearSpans();
    UpdateMerges(0, rowCount() - 1);
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

int DataGrid::ColWidth(int col) const
{
    if (col < 0 || col >= columnCount())
        return 0;
    const int twips = At(m_colWidthTwips, col, -1);
    if (twips >= 0 && !At(m_fitted, col, false))
        return twips;
    return static_cast<int>(std::lround(PixelsToTwips(columnWidth(col), logicalDpiX())));
}

void DataGrid::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= columnCount())
        return;
    twips = std::max(twips, 0);
    Put(m_colWidthTwips, col, twips, -1);
    FitColumns();
}

// Rows are one text line high in the grid's font.
void DataGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        m_frozen->setFont(font());
        TextsChanged();
    }
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    FitColumns();
}

void DataGrid::updateGeometries()
{
    QTableWidget::updateGeometries();
    SyncFrozenRows();
}

void DataGrid::TextsChanged()
{
    m_needValid = false;
    if (!m_fitTimer->isActive())
        m_fitTimer->start();
}

int DataGrid::VisibleWidth() const
{
    // The viewport as it stands once the vertical scroll bar is shown or
    // hidden for the present rows (the viewport of a hidden grid may not
    // have followed its size yet).
    const int frame = 2 * frameWidth();
    int room = width() - frame;
    const bool rowsOverflow = verticalHeader()->length() > height() - frame;
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
        || (verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && rowsOverflow))
        room -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return std::max(room, 0);
}

void DataGrid::MeasureTexts(std::vector<int>& need, std::vector<SpanNeed>& spans) const
{
    const int rows = rowCount();
    const int cols = columnCount();
    need.assign(static_cast<size_t>(cols), 0);
    spans.clear();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    // A cell's text sits between margins inside the cell, which loses the
    // grid line's pixel.
    const int grid = showGrid() ? 1 : 0;
    QAbstractItemDelegate* delegate = itemDelegate();
    auto measure = [&](int r, int c) {
        const QModelIndex index = model()->index(r, c);
        return delegate->sizeHint(option, index).width() + grid;
    };
    auto blank = [](const QTableWidgetItem* it) {
        return !it || (it->text().isEmpty() && !it->data(Qt::CheckStateRole).isValid());
    };

    // Caption rows and merged cells are measured whole; in the other rows a
    // column's longest texts stand for all of them (the rows of a table
    // repeat one format), so a long table costs one pass over the lengths.
    constexpr int kMeasuredPerColumn = 64;
    std::vector<int> longest(static_cast<size_t>(cols), 0);
    for (int r = m_fixedRows; r < rows; ++r) {
        if (isRowHidden(r))
            continue;
        for (int c = 0; c < cols; ++c)
            if (const QTableWidgetItem* it = item(r, c))
                longest[static_cast<size_t>(c)] = std::max(longest[static_cast<size_t>(c)],
                                                           static_cast<int>(it->text().size()));
    }
    std::vector<int> measured(static_cast<size_t>(cols), 0);
    for (int r = 0; r < rows; ++r) {
        if (isRowHidden(r))
            continue;
        const bool caption = r < m_fixedRows;
        const bool merged = MergeRow(r);
        int covered = 0; // the columns up to here belong to a merged cell
        for (int c = 0; c < cols; ++c) {
            const int span = merged && c >= covered ? columnSpan(r, c) : 1;
            if (c < covered)
                continue;
            if (span > 1)
                covered = c + span;
            const QTableWidgetItem* it = item(r, c);
            if (blank(it) || isColumnHidden(c))
                continue;
            const size_t i = static_cast<size_t>(c);
            if (span > 1) {
                spans.push_back({c, span, measure(r, c)});
                continue;
            }
            const bool checkBox = it->data(Qt::CheckStateRole).isValid();
            if (!caption && !checkBox
                && (it->text().size() + 2 < longest[i] || measured[i] >= kMeasuredPerColumn))
                continue;
            if (!caption)
                ++measured[i];
            need[i] = std::max(need[i], measure(r, c));
        }
    }
}

void DataGrid::FitColumns()
{
    if (m_fitting)
        return;
    m_fitting = true;
    m_fitTimer->stop();
    const int cols = columnCount();
    const double dpi = logicalDpiX();
    std::vector<int> wanted(static_cast<size_t>(cols));
    for (int c = 0; c < cols; ++c) {
        const int twips = At(m_colWidthTwips, c, -1);
        wanted[static_cast<size_t>(c)] = isColumnHidden(c) ? 0
            : twips >= 0                                     ? TwipsToPx(twips, dpi)
                                                             : horizontalHeader()->defaultSectionSize();
    }
    if (!m_needValid || static_cast<int>(m_need.size()) != cols) {
        MeasureTexts(m_need, m_spans);
        m_needValid = true;
    }
    const std::vector<int> widths = FitColumnWidths(wanted, m_need, m_spans, VisibleWidth());
    m_settingWidth = true;
    m_fitted.assign(static_cast<size_t>(cols), false);
    for (int c = 0; c < cols; ++c) {
        const size_t i = static_cast<size_t>(c);
        m_fitted[i] = widths[i] != wanted[i];
        if (!isColumnHidden(c) && columnWidth(c) != widths[i])
            setColumnWidth(c, widths[i]);
    }
    m_settingWidth = false;
    m_fitting = false;
}

int DataGrid::FrozenHeight() const
{
    int band = 0;
    for (int r = 0; r < std::min(m_fixedRows, rowCount()); ++r)
        if (!isRowHidden(r))
            band += rowHeight(r);
    return band;
}

void DataGrid::SyncFrozenRows()
{
    if (!m_frozen)
        return;
    const int band = std::min(FrozenHeight(), viewport()->height());
    if (band <= 0) {
        m_frozen->hide();
        return;
    }
    for (int c = 0; c < columnCount(); ++c) {
        m_frozen->setColumnHidden(c, isColumnHidden(c));
        if (m_frozen->columnWidth(c) != columnWidth(c))
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    for (int r = 0; r < std::min(m_fixedRows, rowCount()); ++r) {
        m_frozen->setRowHidden(r, isRowHidden(r));
        if (m_frozen->rowHeight(r) != rowHeight(r))
            m_frozen->setRowHeight(r, rowHeight(r));
        for (int c = 0; c < columnCount(); ++c)
            if (m_frozen->columnSpan(r, c) != columnSpan(r, c))
                m_frozen->setSpan(r, c, 1, columnSpan(r, c));
    }
    const QRect area = viewport()->geometry();
    m_frozen->setGeometry(area.left(), area.top(), area.width(), band);
    static_cast<FrozenRowsView*>(m_frozen)->FollowGrid();
    m_frozen->show();
    m_frozen->raise();
}

void DataGrid::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    if (dx != 0 && m_frozen)
        static_cast<FrozenRowsView*>(m_frozen)->FollowGrid();
}

void DataGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableWidget::scrollTo(index, hint);
    if (!index.isValid() || index.row() < m_fixedRows)
        return;
    // Scroll back until the row stands clear of the caption rows.
    const int band = FrozenHeight();
    QScrollBar* bar = verticalScrollBar();
    while (band > 0 && visualRect(index).top() < band && bar->value() > bar->minimum()) {
        const int before = bar->value();
        bar->setValue(verticalScrollMode() == ScrollPerPixel
                          ? before - (band - visualRect(index).top())
                          : before - 1);
        if (bar->value() == before)
            break;
    }
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
        m_frozen->setSpan(row, col, 1, columns);
}

void DataGrid::OnSectionResized(int col, int, int newPx)
{
    if (!m_settingWidth)
        Put(m_colWidthTwips, col, static_cast<int>(std::lround(PixelsToTwips(newPx, logicalDpiX()))), -1);
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
