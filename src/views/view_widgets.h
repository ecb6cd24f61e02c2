#pragma once
// The widget side shared by the data view panel and the Data View window:
// copying a grid fill into a grid, the graph fill into the graph control
// and its option controls, and the files and clipboard of an export.
#include "common/widgets/control_array.h"
#include "views/view_graph.h"
#include "views/view_grid.h"

#include <QDateTime>
#include <QString>
#include <array>

class DataGrid;
class QCheckBox;
class QComboBox;
class QImage;
class uclTalGraph;

// Copies content into grid: size, texts, colours, alignments and merged
// rows; each row's moment is kept as data of its date cell (column 1). The
// grid then shows its first row and column.
void WriteGrid(DataGrid& grid, const GridContent& content);
// The moment kept with a row of a grid written by WriteGrid (invalid when
// none).
QDateTime RowMoment(const DataGrid& grid, int row);
// Scrolls an alarm trend's table so that the alarm row stands in the middle
// of the visible rows (the grid holds the view within its rows), and makes
// the alarm row's first data cell the current cell.
void ScrollToAlarmRow(DataGrid& grid);

// The hourglass for as long as the guard lives: a view's switch or fill.
class WaitPointer {
public:
    WaitPointer();
    ~WaitPointer();
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;
};

// The graph control and its option controls of one view: the series check
// boxes 0..4, "Event" (5) and "Cursor" (6), and the zoom list.
struct GraphControls {
    uclTalGraph* graph = nullptr;
    std::array<QCheckBox*, 7> chk{};
    QComboBox* zoom = nullptr;
};

// The graph controls of a view from its graph, option boxes and zoom list.
GraphControls MakeGraphControls(uclTalGraph* graph, const ControlArray<QCheckBox, 7>& chk, QComboBox* zoom);

// Tab takes the graph options in their order on screen: the first row of
// series boxes (0 to 3), then the zoom list, series box 4, Event and Cursor.
void OrderGraphOptionTabs(const GraphControls& c);

// Fills the graph and its option controls from fill. The check boxes'
// values and the zoom list's selection are set as a user would set them,
// so their handlers run; they agree with what is set here.
void ApplyGraphFill(const GraphControls& c, const GraphFill& fill);

// The series check box click: shows or hides series, events or cursor.
void GraphCheckClicked(const GraphControls& c, int index);

// Writes text to path as UTF-8 in one step (the file is replaced whole or
// left as it was, also on a full disk); false on failure, with the reason as
// a sentence of its own (the failure box gives it a line).
bool WriteTextFile(const QString& path, const QString& text, QString* error);
// Saves the image as a Windows bitmap, by the same rule.
bool WriteBitmapFile(const QString& path, const QImage& image, QString* error);
