// The caption band and the rules of the cursor and of scrolling. The caption
// rows are drawn in a band above the viewport (its top margin) and never
// scroll; the rows under them move by whole rows; the caption cells stay
// cells of the one table, placed in the band for hit tests and screen
// readers. The cursor, selection and mouse stay in the data cells: under the
// caption rows, right of the caption columns; the current cell wears a focus
// frame while the grid has the focus.

#include "common/widgets/grid_writer.h"

#include "common/colors.h"
#include "common/focus_frame.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

void DataGrid::ConnectBand()
{
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { update(CaptionBand()); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { update(CaptionBand()); });
    connect(model(), &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& tl) {
        if (tl.row() < m_fixedRows)
            update(CaptionBand());
    });
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

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    QTableWidget::keyPressEvent(event);
    // A cursor key brings the current cell into view also when it leaves the
    // cell where it was (Ctrl+Home on the first row of rows scrolled away).
    switch (event->key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        if (IsDataCell(currentIndex()))
            scrollTo(currentIndex());
        break;
    default:
        break;
    }
}

void DataGrid::paintEvent(QPaintEvent* event)
{
    QTableWidget::paintEvent(event);
    // While the grid has the focus its current cell wears a frame that
    // stands out from what the cell shows (the selection, its own colour or
    // the grid's), as the other focus frames do: a check box or an empty
    // cell would otherwise show it only as the style's faint mark.
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !IsDataCell(current))
        return;
    const int line = showGrid() ? 1 : 0;
    const QRect cell = visualRect(current).adjusted(0, 0, -line, -line);
    if (cell.width() < 4 || cell.height() < 4)
        return;
    QColor back = palette().color(QPalette::Base);
    if (selectionModel()->isSelected(current))
        back = palette().color(isActiveWindow() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    else if (const QVariant own = current.data(Qt::BackgroundRole); own.isValid())
        back = own.value<QBrush>().color();
    QPainter painter(viewport());
    PaintFocusFrame(painter, cell, 2, FocusCueColor({back}, palette().color(QPalette::Highlight)));
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
