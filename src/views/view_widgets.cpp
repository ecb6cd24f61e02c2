#include "views/view_widgets.h"

#include "views/view_tables.h"

#include "common/colors.h"
#include "common/file_write.h"
#include "common/resstrings.h"
#include "common/system_error.h"
#include "common/widgets/grid_writer.h"
#include "graph/ucltalgraph.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <iterator>

void WriteGrid(DataGrid& grid, const GridContent& content)
{
    grid.setUpdatesEnabled(false);
    grid.Clear();
    grid.SetMergeCells(DataGrid::MergeNever);
    grid.SetRows(0);
    grid.SetCols(content.cols);
    grid.SetRows(content.RowCount());
    for (int c = 0; c < content.cols; ++c)
        grid.SetColAlignment(c, static_cast<DataGrid::Align>(content.colAlign[static_cast<size_t>(c)] < 0
                                                                  ? kAlignLeft
                                                                  : content.colAlign[static_cast<size_t>(c)]));
    for (int r = 0; r < content.RowCount(); ++r) {
        for (int c = 0; c < content.cols; ++c) {
            const GridCell& cell = content.Cell(r, c);
            grid.SetText(r, c, cell.text);
            if (cell.back != 0)
                grid.SetCellBackColor(r, c, cell.back);
            if (cell.align >= 0)
                grid.SetCellAlignment(r, c, static_cast<DataGrid::Align>(cell.align));
        }
        const QDateTime& moment = content.moments[static_cast<size_t>(r)];
        if (moment.isValid() && content.cols > 1)
            if (QTableWidgetItem* it = grid.item(r, 1))
                it->setData(Qt::UserRole, moment);
    }
    if (content.merge) {
        for (int r = 0; r < content.RowCount(); ++r)
            grid.SetMergeRow(r, content.mergeRows[static_cast<size_t>(r)]);
        grid.SetMergeCells(DataGrid::MergeRestrictRows);
    } else {
        for (int r = 0; r < content.RowCount(); ++r)
            grid.SetMergeRow(r, false);
    }
    // A new fill opens at its first row and column, wherever the rows of
    // the last one stood (an alarm trend is then placed on its alarm row).
    grid.scrollToTop();
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->minimum());
    grid.setUpdatesEnabled(true);
}

QDateTime RowMoment(const DataGrid& grid, int row)
{
    const QTableWidgetItem* it = grid.item(row, 1);
    return it ? it->data(Qt::UserRole).toDateTime() : QDateTime();
}

WaitPointer::WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitPointer::~WaitPointer() { QApplication::restoreOverrideCursor(); }

void ScrollToAlarmRow(DataGrid& grid)
{
    grid.scrollToTop();
    const int last = grid.rowAt(grid.viewport()->height() - 1);
    const int b = last < 0 ? grid.rowCount() - 1 : last;
    const int first = std::clamp(AlarmScrollTarget(b), 0, std::max(grid.rowCount() - 1, 0));
    if (grid.rowCount() > 0)
        grid.scrollTo(grid.model()->index(first, 0), QAbstractItemView::PositionAtTop);
    // The cursor starts on the alarm row in view, so the keys go on from
    // there rather than from a first row out of sight.
    if (grid.rowCount() > kAlarmRow && grid.columnCount() > grid.FixedCols())
        grid.setCurrentCell(kAlarmRow, grid.FixedCols());
}

GraphControls MakeGraphControls(uclTalGraph* graph, const ControlArray<QCheckBox, 7>& chk, QComboBox* zoom)
{
    GraphControls c;
    c.graph = graph;
    for (int i = 0; i < chk.Count(); ++i)
        c.chk[static_cast<size_t>(i)] = chk(i);
    c.zoom = zoom;
    return c;
}

void OrderGraphOptionTabs(const GraphControls& c)
{
    QWidget* const options[] = {c.chk[0], c.chk[1], c.chk[2], c.chk[3], c.zoom, c.chk[4], c.chk[5], c.chk[6]};
    for (size_t i = 1; i < std::size(options); ++i)
        QWidget::setTabOrder(options[i - 1], options[i]);
}

void GraphCheckClicked(const GraphControls& c, int index)
{
    uclTalGraph& g = *c.graph;
    const bool on = c.chk[static_cast<size_t>(index)]->isChecked();
    if (index >= 0 && index <= 4) {
        g.SetSampleVisible(index, on);
        g.SetEventVisible(index, on && c.chk[5]->isChecked());
    } else if (index == 5) {
        for (int s = 0; s < g.SampleDataCount(); ++s)
            g.SetEventVisible(s, on);
        g.SetEventVisible(GraphModel::kCommonRow, on);
    } else if (index == 6) {
        g.SetCursorVisible(on);
    }
}

void ApplyGraphFill(const GraphControls& c, const GraphFill& f)
{
    uclTalGraph& g = *c.graph;
    const bool eventsOn = c.chk[5]->isChecked();
    g.Clear();
    g.SetCursorVisible(c.chk[6]->isChecked());
    QFont font = g.Font();
    font.setBold(true);
    g.SetFont(font);
    if (f.hasSeries) {
        for (int s = 0; s < 2; ++s) {
            const GraphSeriesFill& sf = f.series[static_cast<size_t>(s)];
            QCheckBox* box = c.chk[static_cast<size_t>(s)];
            box->setText(sf.checkCaption);
            QPalette p = box->palette();
            p.setColor(QPalette::WindowText, sf.checkColour ? ColorFromWin(sf.checkColour)
                                                            : box->style()->standardPalette().color(QPalette::WindowText));
            box->setPalette(p);
            g.AddSample(sf.name, sf.colour, sf.format, sf.scaleRef);
            g.SetEventVisible(s, eventsOn);
        }
        g.SetTitleTop(f.titleTop);
        g.SetTitleBottom(f.titleBottom);
        g.SetFormatX(QStringLiteral("hh:nn:ss"));
        SetGraphPoints(g.Model(), f);
        for (int s = 0; s < 2; ++s) {
            const bool on = f.series[static_cast<size_t>(s)].enabled;
            c.chk[static_cast<size_t>(s)]->setChecked(on);
            c.chk[static_cast<size_t>(s)]->setVisible(on);
            g.SetSampleVisible(s, on);
        }
        if (f.alarmMark) {
            g.SetEventFlag(GraphModel::kCommonRow, kAlarmPoint, AlarmMarkText());
            g.SetEventVisible(GraphModel::kCommonRow, eventsOn);
        }
        c.chk[5]->setVisible(f.eventCheckVisible);
        c.chk[6]->setVisible(f.cursorCheckVisible);
    }
    {
        // The zoom list is rebuilt without its handler; selecting the first
        // item below runs it once.
        const QSignalBlocker block(c.zoom);
        c.zoom->clear();
        c.zoom->addItems(f.zoomItems);
        c.zoom->setCurrentIndex(-1);
    }
    c.zoom->setCurrentIndex(0);
    g.SetZoom(1);
    g.SetMinX(0);
    g.SetMaxX(0);
    g.SetMinY(0.0f);
    g.SetMaxY(0.0f);
    g.Refresh();
}

bool WriteTextFile(const QString& path, const QString& text, QString* error)
{
    QString failure;
    if (SaveWholeFile(path, text.toUtf8(), &failure))
        return true;
    *error = SystemErrorSentence(failure);
    return false;
}

bool WriteBitmapFile(const QString& path, const QImage& image, QString* error)
{
    if (image.isNull()) {
        *error = GetResString(5962);
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) {
        *error = GetResString(5962);
        return false;
    }
    QString failure;
    if (SaveWholeFile(path, bytes, &failure))
        return true;
    *error = SystemErrorSentence(failure);
    return false;
}
