// Column widths: set in twips, shown in pixels, and widened where a text
// would be cut. The texts are measured again after they change (once per
// turn of the event loop), and FitColumnWidths (column_fit) shares the
// visible width out. Rows are one text line of the grid's font high.

#include "common/widgets/grid_writer.h"
#include "common/widgets/grid_vectors.h"

#include "common/twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cmath>

using grid_vectors::At;
using grid_vectors::Put;

void DataGrid::ConnectColumnWidths()
{
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DataGrid::OnSectionResized);
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
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int, int oldPx, int px) {
        if (oldPx == 0 || px == 0) // a row hidden or shown
            TextsChanged();
    });
    m_textWidths.SetFont(font());
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

void DataGrid::OnSectionResized(int col, int, int newPx)
{
    if (!m_settingWidth)
        Put(m_colWidthTwips, col, static_cast<int>(std::lround(PixelsToTwips(newPx, logicalDpiX()))), -1);
}
