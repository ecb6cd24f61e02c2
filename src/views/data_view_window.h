#pragma once
// The Data View window: one stored alarm trend, found by the trend search,
// in a modal window of its own with a table, a summary, a graph, the
// Table/Graph switch, the graph options, the zoom list and a row of
// buttons. Its state (records, last export name) outlives each showing.
#include "common/widgets/control_array.h"
#include "views/trend_search.h"
#include "views/view_records.h"
#include "views/view_widgets.h"

#include <QDialog>
#include <QSize>
#include <array>
#include <vector>

class DataGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class uclTalGraph;

// What the window keeps between showings; the main window owns it.
struct DataViewState {
    ViewRecords records;
    int kind = 0;
    QString lastExport;
    DataViewRequest request;
};

// What the window takes over from the main window's data view when it opens.
struct DataViewOpening {
    QSize size;                      // the main window's size
    bool summaryVisible = true;
    bool tableSelected = true;       // the main view's Table/Graph choice
    std::array<bool, 7> checks{};    // the main view's series and option boxes
    std::array<std::int32_t, 2> colours{};
};

// The widths of the table's columns by its number of columns, in twips of
// a grid gridWidth wide; the last column is never set. Empty for a count
// the table does not know (the widths then stay).
std::vector<int> DataViewColumnWidths(int cols, double gridWidth);

// "Data View(Alarm Trend)" and the window caption with the part number.
QString DataViewCaption(int kind);
QString DataViewWindowCaption();

class DataViewWindow : public QDialog {
    Q_OBJECT
public:
    DataViewWindow(DataViewState& state, const DataViewOpening& from, QWidget* parent = nullptr);
    ~DataViewWindow() override;

    // Lays the window out for its size (the minimum is 11640 x 8250 twips).
    void Layout();

    // ================= controls =================
    QGroupBox* fraMenu = nullptr;
    ControlArray<QRadioButton, 2> optBrowse;
    QCheckBox* chkEvent = nullptr;
    DataGrid* vfgSummary = nullptr;
    DataGrid* vfgBrowse = nullptr;
    uclTalGraph* talGraph = nullptr;
    ControlArray<QCheckBox, 7> chkBrowse;
    QLabel* lblTitle1 = nullptr;
    QComboBox* cmbBrowse = nullptr;
    ControlArray<QPushButton, 5> cmdBrowse;

signals:
    // The Print button: the window's record kind, graph or tables.
    void PrintRequested(int kind, bool graph);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void ShowDataView();
    void optBrowse_Click();
    void FillBrowseTables();
    void FillBrowseGraph();
    // Scrolls the alarm row to the middle of the table, or, while the table
    // is hidden (the Graph view), once it is next shown.
    void PlaceAlarmRow();
    void cmdBrowse_Click(int index);
    GraphControls Graph() const { return MakeGraphControls(talGraph, chkBrowse, cmbBrowse); }

    DataViewState& m_state;
    std::array<std::int32_t, 2> m_colours{};
    bool m_loading = false;
    bool m_scrollPending = false;
};
