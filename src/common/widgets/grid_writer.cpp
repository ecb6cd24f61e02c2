#include "common/widgets/grid_writer.h"

#include "common/colors.h"
#include "common/twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
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

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int, int oldPx, int px) {
        if (oldPx == 0 || px == 0) // a column hidden or shown
            m_needValid = false;
        update(CaptionBand());
    });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { update(CaptionBand()); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int, int oldPx, int px) {
        if (oldPx == 0 || px == 0) // a row hidden or shown
            TextsChanged();
    });
    connect(model(), &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& tl) {
        if (tl.row() < m_fixedRows)
            update(CaptionBand());
    });
    m_textWidths.SetFont(font());
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
    clearContents();
    clearSpans();
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
        m_textWidths.SetFont(font());
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
    // The table sets the viewport's margins for its (hidden) headers and the
    // rows' scroll range for the whole height; the band's margin and the
    // range of the rows under it are set again right after. Geometry updates
    // that the margins' changes set off on the way are covered by this one.
    if (m_placingBand)
        return;
    m_placingBand = true;
    const int value = verticalScrollBar()->value();
    QTableWidget::updateGeometries();
    PlaceBand(value);
    m_placingBand = false;
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

    // Caption rows, merged cells and check boxes are measured whole; in the
    // other rows the text of a column that is widest in pixels stands for
    // all of them, found from the texts' cheap bounds (TextWidths).
    std::vector<std::vector<TextWidths::Candidate>> ranked(static_cast<size_t>(cols));
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
            if (caption || it->data(Qt::CheckStateRole).isValid() || it->data(Qt::FontRole).isValid())
                need[i] = std::max(need[i], measure(r, c));
            else
                ranked[i].push_back({m_textWidths.Bound(it->text()), r});
        }
    }
    for (int c = 0; c < cols; ++c) {
        const int row = m_textWidths.Widest(ranked[static_cast<size_t>(c)], [this, c](int r) { return Text(r, c); });
        if (row >= 0)
            need[static_cast<size_t>(c)] = std::max(need[static_cast<size_t>(c)], measure(row, c));
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

QRect DataGrid::CaptionBand() const
{
    if (m_band <= 0)
        return {};
    const QRect area = viewport()->geometry();
    return {area.left(), area.top() - m_band, area.width(), m_band};
}

int DataGrid::CaptionTop(int row) const
{
    if (row < 0 || row >= std::min(m_fixedRows, rowCount()) || isRowHidden(row))
        return -1;
    int top = 0;
    for (int r = 0; r < row; ++r)
        if (!isRowHidden(r))
            top += rowHeight(r);
    return top;
}

int DataGrid::SpanStart(int row, int col) const
{
    // Stepping by whole merged cells from the left lands on their starts.
    int c = 0;
    while (c < columnCount()) {
        const int span = std::max(columnSpan(row, c), 1);
        if (col < c + span)
            return c;
        c += span;
    }
    return col;
}

QRect DataGrid::visualRect(const QModelIndex& index) const
{
    QRect rect = QTableWidget::visualRect(index);
    const int top = index.isValid() && m_band > 0 ? CaptionTop(index.row()) : -1;
    if (top >= 0 && rect.isValid())
        rect.moveTop(top - m_band);
    return rect;
}

QModelIndex DataGrid::indexAt(const QPoint& pos) const
{
    if (pos.y() >= 0 || pos.y() < -m_band)
        return QTableWidget::indexAt(pos);
    const int col = columnAt(pos.x());
    if (col < 0)
        return {};
    int y = pos.y() + m_band;
    for (int r = 0; r < std::min(m_fixedRows, rowCount()); ++r) {
        if (isRowHidden(r))
            continue;
        if (y < rowHeight(r))
            return model()->index(r, SpanStart(r, col));
        y -= rowHeight(r);
    }
    return {};
}

void DataGrid::PlaceBand(int scrollValue)
{
    const int band = std::clamp(FrozenHeight(), 0, std::max(contentsRect().height(), 0));
    if (band != m_band) {
        update(CaptionBand());
        m_band = band;
    }
    setViewportMargins(0, m_band, 0, 0);
    const QRect area = viewport()->geometry();
    verticalHeader()->setGeometry(area.left(), area.top(), 0, area.height());

    // The rows under the captions scroll; the range ends where the rows
    // left to the end fit the viewport whole.
    QHeaderView* rows = verticalHeader();
    QScrollBar* bar = verticalScrollBar();
    const int height = viewport()->height();
    const int captions = std::min(m_fixedRows, rowCount());
    if (verticalScrollMode() == ScrollPerItem) {
        int first = rowCount();
        int used = 0;
        int shown = 0;
        for (int v = rowCount() - 1; v >= captions; --v) {
            const int logical = rows->logicalIndex(v);
            if (!rows->isSectionHidden(logical)) {
                used += rows->sectionSize(logical);
                if (used > height && shown > 0)
                    break;
                ++shown;
            }
            first = v;
        }
        bar->setRange(captions, std::max(first, captions));
        bar->setPageStep(std::max(shown, 1));
    } else {
        const int top = FrozenHeight();
        bar->setRange(top, std::max(top, rows->length() - height));
        bar->setPageStep(height);
    }
    bar->setValue(scrollValue);
    AlignRows();
    update(CaptionBand());
}

void DataGrid::AlignRows()
{
    QHeaderView* rows = verticalHeader();
    const int value = verticalScrollBar()->value();
    int offset = value;
    if (verticalScrollMode() == ScrollPerItem)
        offset = value < rows->count() ? rows->sectionPosition(rows->logicalIndex(value)) : rows->length();
    offset = std::max(offset, FrozenHeight());
    const int before = rows->offset();
    if (offset == before)
        return;
    rows->setOffset(offset);
    viewport()->scroll(0, before - offset);
}

void DataGrid::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    if (dy != 0)
        AlignRows();
    if (dx != 0)
        update(CaptionBand());
}

int DataGrid::FirstDataRow(int from) const
{
    for (int r = std::max(from, m_fixedRows); r < rowCount(); ++r)
        if (!isRowHidden(r))
            return r;
    return -1;
}

int DataGrid::FirstDataCol(int from) const
{
    // A grid of caption columns only has its cursor in them.
    const int first = columnCount() > m_fixedCols ? m_fixedCols : 0;
    for (int c = std::max(from, first); c < columnCount(); ++c)
        if (!isColumnHidden(c))
            return c;
    return -1;
}

bool DataGrid::IsDataCell(const QModelIndex& index) const
{
    return index.isValid() && index.row() >= m_fixedRows && !isRowHidden(index.row())
           && index.column() == FirstDataCol(index.column());
}

QModelIndex DataGrid::FirstDataCell() const
{
    const int row = FirstDataRow(0);
    const int col = FirstDataCol(0);
    return row < 0 || col < 0 ? QModelIndex() : model()->index(row, col);
}

QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid() || IsDataCell(next))
        return next;
    // The cursor stays in the data cells: under the caption rows and right
    // of the caption columns.
    const int row = FirstDataRow(next.row());
    const int col = FirstDataCol(next.column());
    if (row < 0 || col < 0)
        return currentIndex();
    return model()->index(row, col);
}

void DataGrid::focusInEvent(QFocusEvent* event)
{
    QTableWidget::focusInEvent(event);
    // The keyboard user sees where they are: the grid that takes the focus
    // without a current data cell gets its first one (a grid without data
    // cells shows the focus by its frame alone).
    ToDataCell();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableWidget::currentChanged(current, previous);
    // Code that fills or resizes the grid under the focus may leave the
    // current cell on a caption, or none; it goes to the data once the change
    // is done (never from inside the change, whose signals are still on
    // their way).
    if (hasFocus() && !IsDataCell(current))
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                ToDataCell();
        });
}

void DataGrid::ToDataCell()
{
    if (IsDataCell(currentIndex()))
        return;
    const QModelIndex first = FirstDataCell();
    if (first.isValid())
        setCurrentIndex(first);
}

namespace {

// The event at the same place, moved down into the viewport when it lies
// above it (over the caption band).
QMouseEvent BelowBand(const QMouseEvent& event)
{
    const QPointF at(event.position().x(), std::max(event.position().y(), 0.0));
    return QMouseEvent(event.type(), at, event.scenePosition(), event.globalPosition(), event.button(),
                       event.buttons(), event.modifiers(), event.pointingDevice());
}

// Hands a mouse event to the table, moved below the band when it lies above
// the rows.
template <typename Handler>
void HandleBelowBand(QMouseEvent* event, Handler handle)
{
    if (event->position().y() >= 0)
        return handle(event);
    QMouseEvent moved = BelowBand(*event);
    handle(&moved);
    event->setAccepted(moved.isAccepted());
}

} // namespace

// A drag that leaves the rows upwards reaches the first row in view, never
// the caption cells the band shows there.
void DataGrid::mouseMoveEvent(QMouseEvent* event)
{
    HandleBelowBand(event, [this](QMouseEvent* e) { QTableWidget::mouseMoveEvent(e); });
}

void DataGrid::mouseReleaseEvent(QMouseEvent* event)
{
    HandleBelowBand(event, [this](QMouseEvent* e) { QTableWidget::mouseReleaseEvent(e); });
}

bool DataGrid::event(QEvent* event)
{
    // The band lies outside the viewport: the grid paints it, and the wheel
    // over it scrolls the rows as over the rows themselves.
    if (event->type() == QEvent::Wheel && CaptionBand().contains(static_cast<QWheelEvent*>(event)->position().toPoint())) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    const bool done = QTableWidget::event(event);
    if (event->type() == QEvent::Paint && m_band > 0)
        PaintBand();
    return done;
}

void DataGrid::PaintBand()
{
    const QRect band = CaptionBand();
    QPainter painter(this);
    painter.setClipRect(band);
    painter.fillRect(band, palette().brush(QPalette::Base));
    painter.translate(band.topLeft());

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_MouseOver);
    const int line = showGrid() ? 1 : 0;
    const QColor gridColor = QColor::fromRgba(
        static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    const QPen gridPen(gridColor, 0, gridStyle());

    const int cols = columnCount();
    for (int r = 0; r < std::min(m_fixedRows, rowCount()); ++r) {
        const int top = CaptionTop(r);
        if (top < 0)
            continue;
        const int height = rowHeight(r);
        int c = 0;
        while (c < cols) {
            const int span = std::max(columnSpan(r, c), 1);
            int width = 0;
            for (int k = c; k < std::min(c + span, cols); ++k)
                width += columnWidth(k);
            const QModelIndex index = model()->index(r, c);
            const int left = columnViewportPosition(c);
            c += span;
            if (width <= 0 || left + width < 0 || left > band.width())
                continue;
            option.rect = QRect(left, top, width - line, height - line);
            option.state.setFlag(QStyle::State_Enabled, isEnabled() && (index.flags() & Qt::ItemIsEnabled));
            itemDelegateForIndex(index)->paint(&painter, option, index);
            if (line) {
                painter.save();
                painter.setPen(gridPen);
                painter.drawLine(left + width - 1, top, left + width - 1, top + height - 1);
                painter.drawLine(left, top + height - 1, left + width - 1, top + height - 1);
                painter.restore();
            }
        }
    }
    // The outer lines the table draws when its headers are hidden.
    if (line && cols > 0) {
        painter.setPen(gridPen);
        painter.drawLine(0, 0, band.width() - 1, 0);
        if (columnViewportPosition(0) == 0)
            painter.drawLine(0, 0, 0, band.height() - 1);
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
        update(CaptionBand());
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
