#include "views/data_view_window.h"

#include "views/view_actions.h"
#include "views/view_export.h"
#include "views/view_tables.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "common/widgets/button_caption.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/keyboard_cues.h"
#include "common/widgets/twips_geometry.h"
#include "graph/graph_format.h"
#include "graph/ucltalgraph.h"
#include "views/view_icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

namespace {
constexpr double kMinWidth = 11640;
constexpr double kMinHeight = 8250;
} // namespace

std::vector<int> DataViewColumnWidths(int cols, double w)
{
    // Fractions of the grid's width for column 0, column 1 and each further
    // column up to the last but one.
    struct Row {
        double c0, c1, rest;
    };
    Row r{};
    switch (cols) {
    case 2: return {static_cast<int>(RoundHalfEven(w * 0.29))};
    case 3: r = {0.29, 0.355, 0}; break;
    case 4: r = {0.1, 0.25, 0.325}; break;
    case 5: r = {0.1, 0.3, 0.2}; break;
    case 6: r = {0.1, 0.19, 0.1775}; break;
    case 7: r = {0.07, 0.22, 0.14}; break;
    case 8: r = {0.1, 0.25, 0.1}; break;
    default: return {};
    }
    std::vector<int> widths{static_cast<int>(RoundHalfEven(w * r.c0)), static_cast<int>(RoundHalfEven(w * r.c1))};
    for (int c = 2; c < cols - 1; ++c)
        widths.push_back(static_cast<int>(RoundHalfEven(w * r.rest)));
    return widths;
}

QString DataViewCaption(int kind)
{
    const QString base = GetResString(5151);
    return kind == kViewAlarm ? base + QLatin1Char('(') + GetResString(5625) + QLatin1Char(')') : base;
}

QString DataViewWindowCaption()
{
    const QString part = App().ServiceMode ? QStringLiteral("30503")
                         : GetResString(101) == QLatin1String("JP") ? QStringLiteral("30501")
                                                                     : QStringLiteral("30502");
    return GetResString(5001) + QStringLiteral(" [P.No.") + part + QLatin1Char(']');
}

DataViewWindow::DataViewWindow(DataViewState& state, const DataViewOpening& from, QWidget* parent)
    : QDialog(parent), m_state(state), m_colours(from.colours)
{
    setObjectName(QStringLiteral("frmIntermittence"));
    m_loading = true;
    CreateControls();
    if (App().DisplayFont)
        setFont(FontFromSetting(*App().DisplayFont));
    QFont bold = fraMenu->font();
    bold.setBold(true);
    fraMenu->setFont(bold);
    for (QWidget* w : fraMenu->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        w->setFont(font());
    setWindowTitle(DataViewWindowCaption());
    setMinimumSize(PxAt(this, kMinWidth), PxAt(this, kMinHeight));
    const QSize size = from.size.isValid() ? from.size : QSize(PxAt(this, kMinWidth), PxAt(this, kMinHeight));
    resize(size.expandedTo(minimumSize()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
    vfgSummary->setVisible(from.summaryVisible);
    optBrowse(0)->setText(GetResString(5152));
    optBrowse(1)->setText(GetResString(5153));
    chkEvent->setText(GetResString(5160));
    chkBrowse(5)->setText(GetResString(5154));
    chkBrowse(6)->setText(GetResString(5155));
    lblTitle1->setText(GetResString(5156));
    const int captions[] = {5161, 5157, 5158, 5159, 9001};
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        cmdBrowse(i)->setText(GetResString(captions[i]));
    vfgBrowse->setVisible(from.tableSelected);
    talGraph->setVisible(!from.tableSelected);
    lblTitle1->setVisible(!from.tableSelected);
    cmbBrowse->setVisible(!from.tableSelected);
    for (int i = 0; i < chkBrowse.Count(); ++i)
        chkBrowse(i)->setChecked(from.checks[static_cast<size_t>(i)]);
    optBrowse(from.tableSelected ? 0 : 1)->setChecked(true);
    m_loading = false;

    ShowDataView();
    optBrowse_Click();

    connect(optBrowse(0), &QRadioButton::toggled, this, [this](bool) {
        if (!m_loading)
            optBrowse_Click();
    });
    for (int i = 0; i < chkBrowse.Count(); ++i)
        connect(chkBrowse(i), &QCheckBox::toggled, this, [this, i](bool) {
            GraphCheckClicked(Graph(), i);
            if (talGraph->isVisible())
                talGraph->Refresh();
        });
    connect(chkEvent, &QCheckBox::toggled, this, [this](bool) { FillBrowseTables(); });
    connect(cmbBrowse, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        talGraph->SetZoom(cmbBrowse->itemText(index).toInt());
        if (talGraph->isVisible())
            talGraph->Refresh();
    });
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        connect(cmdBrowse(i), &QPushButton::clicked, this, [this, i] { cmdBrowse_Click(i); });
}

DataViewWindow::~DataViewWindow() = default;

void DataViewWindow::CreateControls()
{
    fraMenu = NewGroup(this, QStringLiteral("fraMenu"), 0, 120, 10000, 7000);
    optBrowse[0] = NewOption(fraMenu, Indexed("optBrowse", 0), 120, 240, 1000, 300);
    optBrowse[1] = NewOption(fraMenu, Indexed("optBrowse", 1), 1240, 240, 1000, 300);
    TabToCheckedOption({optBrowse(0), optBrowse(1)});
    chkEvent = NewCheck(fraMenu, QStringLiteral("chkEvent"), 2360, 240, 1400, 300);
    vfgSummary = NewGrid(fraMenu, QStringLiteral("vfgSummary"), 1, 2);
    vfgBrowse = NewGrid(fraMenu, QStringLiteral("vfgBrowse"), 1, 2);
    talGraph = new uclTalGraph(fraMenu);
    talGraph->setObjectName(QStringLiteral("talGraph"));
    for (int i = 0; i < chkBrowse.Count(); ++i) {
        chkBrowse[i] = NewCheck(fraMenu, Indexed("chkBrowse", i), 120, 6900, 2200, 300);
        chkBrowse[i]->setVisible(false);
    }
    lblTitle1 = NewLabel(fraMenu, Indexed("lblTitle", 1), 120, 7200, 700, 300);
    cmbBrowse = new QComboBox(fraMenu);
    cmbBrowse->setObjectName(QStringLiteral("cmbBrowse"));
    MoveTwips(cmbBrowse, 1060, 7200, 1000, 300);
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        cmdBrowse[i] = NewButton(fraMenu, Indexed("cmdBrowse", i), 3900 + i * 1120, 240, 1120, 300);
    OrderGraphOptionTabs(Graph());
}

void DataViewWindow::ShowDataView()
{
    fraMenu->setVisible(false);
    m_state.kind = m_state.request.mode;
    if (m_state.kind == kViewAlarm) {
        clsAlarm& alarm = m_state.records.alarm;
        alarm.ClearDatas();
        for (int i = 0; i <= 3; ++i)
            cmdBrowse(i)->setEnabled(true);
        chkEvent->setEnabled(false);
        alarm.SetSeqNo(m_state.request.seqNo);
        if (!alarm.ReLoad())
            MsgBox(GetResString(5824, QString()), MsgButtons::Ok, MsgIcon::Critical, GetResString(5302));
        fraMenu->setTitle(DataViewCaption(m_state.kind));
        const int n = alarm.DataCount();
        if (n >= kMinGraphSamples) {
            optBrowse(1)->setEnabled(true);
            FillBrowseTables();
            FillBrowseGraph();
        } else {
            m_loading = true;
            optBrowse(0)->setChecked(true);
            m_loading = false;
            optBrowse_Click();
            optBrowse(1)->setEnabled(false);
            FillBrowseTables();
        }
    } else {
        // Only alarm trends are opened here; anything else stays empty.
        for (int i = 0; i <= 3; ++i)
            cmdBrowse(i)->setEnabled(false);
        chkEvent->setEnabled(false);
        optBrowse(1)->setEnabled(false);
        fraMenu->setTitle(DataViewCaption(m_state.kind));
    }
    fraMenu->setVisible(true);
}

void DataViewWindow::optBrowse_Click()
{
    const WaitPointer wait;
    const bool table = optBrowse(0)->isChecked();
    talGraph->setVisible(!table);
    vfgBrowse->setVisible(table);
    if (!table && m_state.kind == kViewAlarm)
        FillBrowseGraph();
    setWindowIcon(AlarmIcon(!table));
    Layout();
    if (table && m_scrollPending)
        PlaceAlarmRow();
}

void DataViewWindow::PlaceAlarmRow()
{
    // A hidden table has no laid-out viewport to count visible rows in: the
    // scroll waits until the table is shown.
    m_scrollPending = !vfgBrowse->isVisible();
    if (!m_scrollPending)
        ScrollToAlarmRow(*vfgBrowse);
}

void DataViewWindow::FillBrowseTables()
{
    if (m_state.kind != kViewAlarm)
        return;
    const WaitPointer wait;
    WriteGrid(*vfgSummary, AlarmSummary(m_state.records.alarm));
    WriteGrid(*vfgBrowse, AlarmTable(m_state.records.alarm));
    PlaceAlarmRow();
}

void DataViewWindow::FillBrowseGraph()
{
    if (m_state.kind != kViewAlarm)
        return;
    ApplyGraphFill(Graph(), FillGraph(kViewAlarm, m_state.records, m_colours, true));
}

void DataViewWindow::cmdBrowse_Click(int index)
{
    const bool graph = optBrowse(1)->isChecked();
    switch (index) {
    case 0:
        emit PrintRequested(m_state.kind, graph);
        break;
    case 1:
        CopyRecord(graph, [this](const QString& sep) { return AlarmSampleText(m_state.records.alarm, sep); },
                   talGraph->Picture());
        break;
    case 2:
        ExportRecord(graph, m_state.lastExport,
                     [this](const QString& sep) { return AlarmSampleText(m_state.records.alarm, sep); },
                     talGraph->Picture());
        break;
    case 3:
        vfgSummary->setVisible(!vfgSummary->isVisible());
        Layout();
        break;
    case 4:
        done(QDialog::Rejected);
        return;
    default:
        break;
    }
    if (talGraph->isVisible()) {
        talGraph->Refresh();
        talGraph->setFocus();
    }
}

void DataViewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The number of visible rows is known once the window is laid out.
    Layout();
    if (m_state.kind == kViewAlarm)
        PlaceAlarmRow();
    // The keyboard starts where the window shows the moment searched for:
    // on the table's alarm row, or on the graph.
    if (vfgBrowse->isVisible())
        vfgBrowse->setFocus();
    else if (talGraph->isVisible())
        talGraph->setFocus();
}

void DataViewWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Layout();
}

void DataViewWindow::Layout()
{
    if (isMinimized())
        return;
    const double sw = TwipsAt(this, width());
    const double sh = TwipsAt(this, height());
    MoveTwips(fraMenu, 0, 120, sw * 0.88 - 240, sh - 180);
    const double fw = WidthTwips(fraMenu);
    const double fh = HeightTwips(fraMenu);
    const bool graphView = optBrowse(1)->isChecked();
    if (!graphView)
        for (int i = 0; i < chkBrowse.Count(); ++i)
            chkBrowse(i)->setVisible(false);
    lblTitle1->setVisible(graphView);
    cmbBrowse->setVisible(graphView);

    // The buttons stand right-aligned with the table and share one width,
    // enough for the widest caption with its margins. Where they would
    // cover the Event Only box (a narrow window), it takes a row of its own
    // under the options.
    double bw = (fw - 240) * 0.12;
    for (QPushButton* b : cmdBrowse)
        bw = std::max(bw, TwipsAt(b, ButtonWidthFor(*b, b->text())));
    const double buttonsLeft = fw - 120 - 5 * bw - 240;
    QRadioButton* o0 = optBrowse(0);
    QRadioButton* o1 = optBrowse(1);
    MoveTwips(o1, LeftTwips(o0) + WidthTwips(o0) + 120, TopTwips(o0));
    double top = TopTwips(o0) + HeightTwips(o0);
    if (LeftTwips(o1) + WidthTwips(o1) + 120 + WidthTwips(chkEvent) + 120 > buttonsLeft) {
        MoveTwips(chkEvent, LeftTwips(o0), top);
        top += HeightTwips(chkEvent);
    } else {
        MoveTwips(chkEvent, LeftTwips(o1) + WidthTwips(o1) + 120, TopTwips(o1));
    }
    top += 120;
    if (vfgSummary->isVisibleTo(this)) {
        MoveTwips(vfgSummary, 120, top, fw - 240, fh * 0.3);
        top = TopTwips(vfgSummary) + HeightTwips(vfgSummary) + 120;
    }
    MoveTwips(vfgBrowse, 120, top, fw - 240, fh - 240 - top);
    MoveTwips(talGraph, 120, top, fw - 240, fh - 920 - top);

    const double row1 = TopTwips(talGraph) + HeightTwips(talGraph) + 120;
    const double row2 = row1 + HeightTwips(chkBrowse(0));
    MoveTwips(chkBrowse(0), 120, row1);
    MoveTwips(chkBrowse(1), fw / 4, row1);
    MoveTwips(chkBrowse(2), fw / 2, row1);
    MoveTwips(chkBrowse(3), fw * 3 / 4, row1);
    MoveTwips(lblTitle1, 120, row2);
    MoveTwips(cmbBrowse, LeftTwips(lblTitle1) + WidthTwips(lblTitle1) + 240, row2);
    MoveTwips(chkBrowse(4), fw / 4, row2);
    MoveTwips(chkBrowse(5), fw / 2, row2);
    MoveTwips(chkBrowse(6), fw * 3 / 4, row2);

    const std::vector<int> widths = DataViewColumnWidths(vfgBrowse->Cols(), WidthTwips(vfgBrowse));
    for (size_t c = 0; c < widths.size(); ++c)
        vfgBrowse->SetColWidth(static_cast<int>(c), widths[c]);
    if (vfgSummary->isVisibleTo(this) && vfgSummary->Cols() >= 2) {
        const double w = WidthTwips(vfgSummary);
        vfgSummary->SetColWidth(0, static_cast<int>(RoundHalfEven(w * 0.35)));
        vfgSummary->SetColWidth(1, static_cast<int>(RoundHalfEven(w * 0.325)));
    }

    const double bh = HeightTwips(chkEvent);
    double left = LeftTwips(vfgBrowse) + WidthTwips(vfgBrowse) - bw;
    MoveTwips(cmdBrowse(4), left, 240, bw, bh);
    left -= 240 + bw;
    MoveTwips(cmdBrowse(3), left, 240, bw, bh);
    for (int i = 2; i >= 0; --i) {
        left -= bw;
        MoveTwips(cmdBrowse(i), left, 240, bw, bh);
    }
}
