// The data view panel's loading, view switch, fills and options.

#include "views/view_panel.h"

#include "views/data_view_window.h"
#include "views/view_actions.h"
#include "views/view_export.h"
#include "views/view_icons.h"
#include "views/view_tables.h"
#include "views/view_widgets.h"

#include "common/appstate.h"
#include "common/errors.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/panel_focus.h"
#include "graph/ucltalgraph.h"
#include "printing/print_job.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {
QString KindCaption(int kind)
{
    switch (kind) {
    case kViewInterval: return GetResString(5624);
    case kViewAlarm: return GetResString(5625);
    case kViewHistory: return GetResString(5671);
    case kViewAlarmEvents: return GetResString(5627);
    case kViewTroubleEvents: return GetResString(5628);
    case kViewPowerEvents: return GetResString(5629);
    default: return QString();
    }
}
}

void ViewPanel::ConnectHandlers()
{
    connect(optBrowse(0), &QRadioButton::toggled, this, [this](bool) {
        if (!m_setting)
            optBrowse_Click();
    });
    for (int i = 0; i < chkBrowse.Count(); ++i)
        connect(chkBrowse(i), &QCheckBox::toggled, this, [this, i](bool) { chkBrowse_Click(i); });
    connect(chkEvent, &QCheckBox::toggled, this, [this](bool) { chkEvent_Click(); });
    connect(chkOutline, &QCheckBox::toggled, this, [this](bool) {
        if (!m_setting)
            chkOutline_Click();
    });
    connect(cmbBrowse, &QComboBox::currentIndexChanged, this, [this](int) { cmbBrowse_Click(); });
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        connect(cmdBrowse(i), &QPushButton::clicked, this, [this, i] { cmdBrowse_Click(i); });
    connect(talGraph, &uclTalGraph::MouseMove, this,
            [this](int, int, double x, double y) { GraphPointer(x, y, false); });
    connect(talGraph, &uclTalGraph::MouseDown, this,
            [this](int, int, double x, double y) { GraphPointer(x, y, true); });
    vfgBrowse->setMouseTracking(true);
    vfgBrowse->viewport()->setMouseTracking(true);
    vfgBrowse->viewport()->installEventFilter(this);
    vfgBrowse->installEventFilter(this);
}

void ViewPanel::SelectTable(bool table)
{
    // Setting the choice from code runs the switch, as a click does.
    optBrowse(table ? 0 : 1)->setChecked(true);
}

void ViewPanel::OpenRecord(int kind, qint64 seqNo)
{
    m_kind = kind;
    m_seqNo = seqNo;
    if (kind == kViewNone) {
        MsgBox(GetResString(5301), MsgButtons::Ok, MsgIcon::Information, GetResString(5302));
        return;
    }
    if (!optBrowse(0)->isChecked() && !optBrowse(1)->isChecked())
        SelectTable(true);
    m_outlineView = !App().CompletelyView;
    ShowDataView();
    emit ShowRequested();
    if (m_kind == kViewAlarm)
        ScrollToAlarmRow(*vfgBrowse);
}

void ViewPanel::ShowDataView()
{
    // The panel is hidden while it is filled; the control the user used
    // ("Outline") keeps the focus.
    const PanelFocus keepFocus(m_frame, {talGraph, vfgBrowse});
    const WaitPointer wait;
    const bool shown = m_frame->isVisible();
    m_frame->setVisible(false);
    clsInstrument& inst = m_state.MainInstrument();
    for (int i = 0; i <= 4; ++i)
        chkBrowse(i)->setChecked(inst.GasEnabled(i));
    m_loadFailed.clear();
    auto enableButtons = [this] {
        for (int i = 0; i <= 3; ++i)
            cmdBrowse(i)->setEnabled(true);
    };
    // Fills the tables, and the graph when the record has enough samples
    // for one; otherwise only the table can be chosen.
    auto fillViews = [this](bool graphable) {
        if (graphable) {
            optBrowse(1)->setEnabled(true);
            FillBrowseTables();
            FillBrowseGraph();
        } else {
            SelectTable(true);
            optBrowse(1)->setEnabled(false);
            FillBrowseTables();
        }
    };
    // Reads the picked record; a failure is reported once the panel is set.
    auto reload = [this](auto& record) {
        record.SetSeqNo(m_seqNo);
        if (!record.ReLoad())
            m_loadFailed = record.DbPath();
    };
    const QString title = GetResString(5151);
    m_events = EventList();
    switch (m_kind) {
    case kViewInterval: {
        m_frame->setTitle(title + QLatin1Char('(') + KindCaption(m_kind) + QLatin1Char(')'));
        clsInterval& r = m_records.interval;
        r.ClearDatas();
        enableButtons();
        chkEvent->setEnabled(true);
        chkOutline->setEnabled(!chkEvent->isChecked());
        m_setting = true;
        chkOutline->setChecked(m_outlineView);
        m_setting = false;
        r.SetBaseDate(DateZero());
        reload(r);
        fillViews(CountValidSamples(r) >= kMinGraphSamples);
        break;
    }
    case kViewAlarm: {
        clsAlarm& r = m_records.alarm;
        r.ClearDatas();
        enableButtons();
        chkEvent->setEnabled(false);
        chkOutline->setEnabled(false);
        reload(r);
        m_frame->setTitle(title + QLatin1Char('(') + KindCaption(m_kind) + QLatin1Char(')'));
        fillViews(r.DataCount() >= kMinGraphSamples);
        break;
    }
    case kViewHistory: {
        m_frame->setTitle(title + QLatin1Char('(') + KindCaption(m_kind) + QLatin1Char(')'));
        clsHistory& r = m_records.history;
        r.ClearDatas();
        enableButtons();
        chkEvent->setEnabled(false);
        chkOutline->setEnabled(false);
        reload(r);
        fillViews(false);
        break;
    }
    case kViewAlarmEvents:
    case kViewTroubleEvents:
    case kViewPowerEvents:
        m_frame->setTitle(title + QLatin1Char('(') + KindCaption(m_kind) + QLatin1Char(')'));
        enableButtons();
        chkEvent->setEnabled(false);
        chkOutline->setEnabled(false);
        if (m_kind == kViewPowerEvents)
            reload(m_records.power);
        fillViews(false);
        break;
    default:
        break;
    }
    // Kinds 5 and 6 have no summary; the others show it again as the user
    // last left it.
    if (m_kind == kViewAlarmEvents || m_kind == kViewTroubleEvents)
        vfgSummary->setVisible(false);
    else if (m_kind >= kViewInterval && m_kind <= kViewPowerEvents)
        vfgSummary->setVisible(m_summaryWanted);
    m_frame->setVisible(shown);
    m_browseFilled = false;
    if (!m_loadFailed.isEmpty())
        MsgBox(GetResString(5824, m_loadFailed), MsgButtons::Ok, MsgIcon::Critical, GetResString(5302));
}

void ViewPanel::optBrowse_Click()
{
    const WaitPointer wait;
    bool tableFilled = false;
    if (optBrowse(0)->isChecked()) {
        if (!m_browseFilled) {
            FillBrowseTables();
            m_browseFilled = true;
            tableFilled = true;
        }
        talGraph->setVisible(false);
        vfgBrowse->setVisible(true);
    } else {
        talGraph->setVisible(true);
        vfgBrowse->setVisible(false);
        if (m_kind == kViewInterval || m_kind == kViewAlarm) {
            if (!m_browseFilled) {
                FillBrowseGraph();
                m_browseFilled = true;
            } else {
                for (int i = 0; i <= 4; ++i) {
                    const bool e = m_kind == kViewInterval ? m_records.interval.GasListInfo(i, 13).toBool()
                                                           : m_records.alarm.GasListInfo(i, 13).toBool();
                    chkBrowse(i)->setChecked(e);
                    chkBrowse(i)->setVisible(e);
                    talGraph->SetSampleVisible(i, e);
                }
                chkBrowse(5)->setVisible(true);
                chkBrowse(6)->setVisible(true);
            }
        }
        talGraph->setFocus();
    }
    m_host.LayoutWindow();
    // A table filled while it was hidden had no visible rows to centre the
    // alarm row in: it is placed now that the table is shown and laid out.
    if (tableFilled && m_kind == kViewAlarm)
        ScrollToAlarmRow(*vfgBrowse);
}

void ViewPanel::FillBrowseTables()
{
    const WaitPointer wait;
    if (m_kind >= kViewAlarmEvents && m_kind <= kViewPowerEvents) {
        try {
            m_events = ReadEventList(m_records.power.DbPath(), m_kind, m_seqNo);
        } catch (const PelkarError& e) {
            m_events = EventList();
            m_loadFailed = e.Message();
        }
    }
    const ViewTables t = FillTables(m_kind, m_records, m_events, chkEvent->isChecked());
    if (!t.summary.hidden)
        WriteGrid(*vfgSummary, t.summary);
    else
        vfgSummary->setVisible(false);
    if (optBrowse(0)->isChecked() && m_kind != kViewNone && m_kind != 4) {
        m_table = t.table;
        WriteGrid(*vfgBrowse, t.table);
        if (m_kind == kViewAlarm)
            ScrollToAlarmRow(*vfgBrowse);
    }
}

void ViewPanel::FillBrowseGraph()
{
    ApplyGraphFill(Graph(), FillGraph(m_kind, m_records, GraphColours(), false));
}

std::array<std::int32_t, 2> ViewPanel::GraphColours() const
{
    return {App().GraphColor[0], App().GraphColor[1]};
}

void ViewPanel::chkBrowse_Click(int index)
{
    GraphCheckClicked(Graph(), index);
    // The box keeps the focus, so Tab goes on to the next option.
    if (talGraph->isVisible())
        talGraph->Refresh();
}

void ViewPanel::cmbBrowse_Click()
{
    if (cmbBrowse->currentIndex() < 0)
        return;
    talGraph->SetZoom(cmbBrowse->currentText().toInt());
    if (talGraph->isVisible())
        talGraph->Refresh();
}

void ViewPanel::chkEvent_Click()
{
    FillBrowseTables();
    chkOutline->setEnabled(!chkEvent->isChecked());
}

void ViewPanel::chkOutline_Click()
{
    m_outlineView = chkOutline->isChecked();
    ShowDataView();
    m_host.LayoutWindow();
}

QString ViewPanel::SampleText(const QString& sep)
{
    return BuildSampleText(m_kind, m_records, m_events, sep);
}

void ViewPanel::cmdBrowse_Click(int index)
{
    const bool graph = optBrowse(1)->isChecked();
    switch (index) {
    case 0:
        Print(m_kind, graph, &m_records.interval, &m_records.alarm);
        break;
    case 1:
        CopyRecord(graph, [this](const QString& sep) { return SampleText(sep); }, talGraph->Picture());
        break;
    case 2:
        ExportRecord(graph, m_state.ExportFileName, [this](const QString& sep) { return SampleText(sep); },
                     talGraph->Picture());
        break;
    case 3:
        m_summaryWanted = !vfgSummary->isVisible();
        vfgSummary->setVisible(m_summaryWanted);
        m_host.LayoutWindow();
        break;
    case 4:
        emit ReturnRequested();
        return;
    default:
        break;
    }
    if (talGraph->isVisible()) {
        talGraph->Refresh();
        talGraph->setFocus();
    }
}

// --- trend search ----------------------------------------------------------

void ViewPanel::GraphPointer(double x, double y, bool pressed)
{
    if (!chkBrowse(5)->isChecked()) {
        if (!pressed)
            talGraph->SetMousePointer(0);
        return;
    }
    QDateTime moment;
    QString text;
    talGraph->SearchEvent(talGraph->xData(x), std::round(y), moment, text);
    const bool target = IsTrendMarkText(text);
    if (!pressed) {
        if (target) {
            talGraph->SetMouseIcon(AlarmIcon(true));
            talGraph->SetMousePointer(99);
        } else {
            talGraph->SetMousePointer(0);
        }
        return;
    }
    if (target)
        RunTrendSearch(moment);
}

bool ViewPanel::IsTrendTarget(int row, int col) const
{
    return row >= 0 && col >= 0
           && IsTrendCell(m_kind, row, col, vfgBrowse->CellBackColor(row, col), vfgBrowse->Text(row, col));
}

bool ViewPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a status cell does what a click on it does.
    if (watched == vfgBrowse && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                           && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        const QModelIndex cell = vfgBrowse->currentIndex();
        if (enter && cell.isValid() && IsTrendTarget(cell.row(), cell.column())) {
            RunTrendSearch(RowMoment(*vfgBrowse, cell.row()));
            return true;
        }
    }
    if (watched == vfgBrowse->viewport()
        && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        const bool target = IsTrendTarget(vfgBrowse->rowAt(p.y()), vfgBrowse->columnAt(p.x()));
        if (event->type() == QEvent::MouseMove) {
            if (target)
                vfgBrowse->viewport()->setCursor(QCursor(AlarmIcon(false), 0, 0));
            else
                vfgBrowse->viewport()->unsetCursor();
        } else if (target && me->button() != Qt::RightButton) {
            RunTrendSearch(RowMoment(*vfgBrowse, vfgBrowse->rowAt(p.y())));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ViewPanel::RunTrendSearch(const QDateTime& moment)
{
    qint64 found = -1;
    {
        const WaitPointer wait;
        try {
            found = TrendSearch(m_records.interval.DbPath(), m_seqNo, m_records.interval.GasBaseInfo(4).toString(),
                                moment, App().TrendSearchBefore, App().TrendSearchAfter);
        } catch (const PelkarError& e) {
            MsgBox(GetResString(5823, e.Message()), MsgButtons::Ok, MsgIcon::Critical, GetResString(5163));
            return;
        }
    }
    if (found < 0) {
        MsgBox(GetResString(5162), MsgButtons::Ok, MsgIcon::Information, GetResString(5163));
        return;
    }
    OpenDataViewWindow({found, kViewAlarm, moment});
}

void ViewPanel::OpenDataViewWindow(const DataViewRequest& request)
{
    m_dataView.request = request;
    DataViewOpening from;
    if (QWidget* top = m_frame->window())
        from.size = top->size();
    from.summaryVisible = vfgSummary->isVisible();
    from.tableSelected = optBrowse(0)->isChecked();
    for (int i = 0; i < chkBrowse.Count(); ++i)
        from.checks[static_cast<size_t>(i)] = chkBrowse(i)->isChecked();
    from.colours = GraphColours();
    DataViewWindow window(m_dataView, from, m_frame->window());
    connect(&window, &DataViewWindow::PrintRequested, this,
            [this](int kind, bool graph) { Print(kind, graph, nullptr, &m_dataView.records.alarm); });
    Prompt().RunWindow(&window);
}

void ViewPanel::Print(int kind, bool graph, const clsInterval* interval, const clsAlarm* alarm)
{
    PrintRequest request;
    request.DataType = kind;
    request.PrintType = graph;
    request.SeqNo = m_seqNo;
    if (kind == kViewInterval) {
        request.IntervalData = interval;
        // The interval table is printed as the view shows it.
        const GridContent& t = m_table;
        request.SampleTable = SnapshotGrid(
            t.RowCount(), t.cols, [&t](int r, int c) { return t.Text(r, c); },
            [&t](int r, int c) { return t.Cell(r, c).back != 0; });
    } else {
        request.AlarmData = alarm;
    }
    GoPrinter(request);
}
