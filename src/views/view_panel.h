#pragma once
// The data view panel in fraMenu(3): one stored record as a table or as a
// trend graph, with its summary and the graph's series choices.

#include "common/widgets/control_array.h"
#include "views/data_view_window.h"
#include "views/event_list.h"
#include "views/trend_search.h"
#include "views/view_grid.h"
#include "views/view_records.h"
#include "views/view_widgets.h"

#include <QDateTime>
#include <QObject>
#include <array>

class DataGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class uclTalGraph;
class PanelHost;
class SharedState;

class ViewPanel : public QObject {
    Q_OBJECT
public:
    ViewPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~ViewPanel() override;

    QGroupBox* Frame() const { return m_frame; }

    // The record in view: its kind (Log_Head.Types, 0 none) and SeqNo.
    int Kind() const { return m_kind; }
    qint64 SeqNo() const { return m_seqNo; }
    const ViewRecords& Records() const { return m_records; }
    // What the table shows (the last fill in the table view).
    const GridContent& Table() const { return m_table; }
    // True once a Table/Graph switch has refilled a view since the load.
    bool BrowseFilled() const { return m_browseFilled; }
    // The Data View window's state, kept between its showings.
    DataViewState& DataView() { return m_dataView; }

    // Loads the record and fills the table, summary and graph for its kind
    // (the "Outline" box runs it too).
    void ShowDataView();
    // Opens the Data View window on an alarm trend (modal, through the
    // prompt seam).
    void OpenDataViewWindow(const DataViewRequest& request);
    // The trend search for a moment of the interval trend in view.
    void RunTrendSearch(const QDateTime& moment);

    // ================= controls =================
    ControlArray<QRadioButton, 2> optBrowse;
    QCheckBox* chkEvent = nullptr;
    QCheckBox* chkOutline = nullptr;
    DataGrid* vfgSummary = nullptr;
    DataGrid* vfgBrowse = nullptr;
    // The trend graph control (also the settings file's graph-colour target).
    uclTalGraph* talGraph = nullptr;
    ControlArray<QCheckBox, 7> chkBrowse;
    // Only lblTitle(1) stands on this panel; lblTitle(0) is the download panel's.
    ControlArray<QLabel, 2> lblTitle;
    QComboBox* cmbBrowse = nullptr;
    ControlArray<QPushButton, 5> cmdBrowse;

public slots:
    // The browser's Detail: opens the picked record (kind, Log_Head.SeqNo;
    // kind 0 = nothing picked) in the panel.
    void OpenRecord(int kind, qint64 seqNo);

signals:
    // The panel wants to be the visible menu frame, laid out.
    void ShowRequested();
    // Return: back to the stored-data browser.
    void ReturnRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void SelectTable(bool table);
    void optBrowse_Click();
    void FillBrowseTables();
    void FillBrowseGraph();
    void chkBrowse_Click(int index);
    void cmbBrowse_Click();
    void chkEvent_Click();
    void chkOutline_Click();
    void cmdBrowse_Click(int index);
    GraphControls Graph() const { return MakeGraphControls(talGraph, chkBrowse, cmbBrowse); }
    void GraphPointer(double x, double y, bool pressed);
    // A status cell of the table that a click or Enter searches from.
    bool IsTrendTarget(int row, int col) const;
    void Print(int kind, bool graph, const clsInterval* interval, const clsAlarm* alarm);
    QString SampleText(const QString& sep);
    std::array<std::int32_t, 2> GraphColours() const;

    ViewRecords m_records;
    EventList m_events;
    GridContent m_table;
    DataViewState m_dataView;
    int m_kind = 0;
    qint64 m_seqNo = 0;
    bool m_browseFilled = false;
    bool m_outlineView = false;
    // The summary as the user last left it with the Summary button.
    bool m_summaryWanted = true;
    // Set while code sets an option whose handler must not run again.
    bool m_setting = false;
    QString m_loadFailed;

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
