// The last-calibration panel.

#include "browser/lastcal_panel.h"

#include "browser/database_error_box.h"
#include "browser/deletion.h"
#include "browser/password_dialog.h"

#include "common/errors.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/keyboard_cues.h"
#include "common/widgets/twips_geometry.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using namespace browser;

LastCalPanel::LastCalPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("LastCalPanel"));
    CreateControls();
}

LastCalPanel::~LastCalPanel() = default;

void LastCalPanel::CreateControls()
{
    QGroupBox* hist = m_frame;
    for (int i = 0; i < optHistory.Count(); ++i) {
        optHistory[i] = NewOption(hist, Indexed("optHistory", i), 60 + i * 2520, 240, 2400, 252);
        // Whatever chose the option (mouse, keyboard, accessibility or code),
        // the list follows it.
        connect(optHistory[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optHistory_Click(i);
        });
    }
    TabToCheckedOption({optHistory(0), optHistory(1), optHistory(2)});
    vfgHistory = NewGrid(hist, QStringLiteral("vfgHistory"), 1, 6);
    vfgHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    vfgHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    vfgHistory->setContextMenuPolicy(Qt::CustomContextMenu);
    MoveTwips(vfgHistory, 60, 552, 9480, 7100);
    cmdLastCal = NewButton(hist, QStringLiteral("cmdLastCal"), 8200, 240, 1340, 252);
    mnuHistDels = new QMenu(hist);
    mnuHistDels->setObjectName(QStringLiteral("mnuHistDels"));
    mnuHistDel = mnuHistDels->addAction(QStringLiteral("Delete"));
    mnuHistDel->setObjectName(QStringLiteral("mnuHistDel"));

    auto* menuKeys = new KeyboardMenuWatch(vfgHistory);
    connect(vfgHistory, &QWidget::customContextMenuRequested, this, [this, menuKeys](const QPoint& pos) {
        const bool keyboard = menuKeys->TakeFromKeyboard();
        // The menu acts on the current row, which a right click does not move.
        if (Layout() != HistoryLayout::CalibrationRecord)
            PopUpMenu(mnuHistDels, vfgHistory->viewport()->mapToGlobal(pos), keyboard);
    });
    connect(mnuHistDel, &QAction::triggered, this, [this] { mnuHistDel_Click(); });
    connect(cmdLastCal, &QPushButton::clicked, this, [this] { cmdLastCal_Click(); });
}

HistoryLayout LastCalPanel::Layout() const
{
    if (optHistory(0)->isChecked())
        return HistoryLayout::NeedCalibration;
    if (optHistory(2)->isChecked())
        return HistoryLayout::CalibrationRecord;
    return HistoryLayout::CalibrationDate;
}

void LastCalPanel::optHistory_Click(int index)
{
    // The start-up defaults choose an option before anything is shown; the
    // panel reads the list when it is first opened.
    if (!m_state.StartupPending)
        FillHistoryGrid();
    cmdLastCal->setEnabled(index != 2);
}

void LastCalPanel::FillHistoryGrid()
{
    const HistoryLayout layout = Layout();
    HistoryGrid h;
    try {
        LogDb db;
        h = BuildHistoryGrid(db, layout);
    } catch (const DatabaseError& e) {
        ReportDatabaseError(e, m_state.uclQvport);
        return;
    }
    const GridModel& g = h.grid;
    vfgHistory->setUpdatesEnabled(false);
    vfgHistory->Clear();
    vfgHistory->SetRows(g.Rows());
    vfgHistory->SetCols(g.Cols());
    vfgHistory->setWordWrap(h.wrapRows);
    vfgHistory->verticalHeader()->setSectionResizeMode(h.wrapRows ? QHeaderView::ResizeToContents
                                                                   : QHeaderView::Interactive);
    for (int r = 0; r < g.Rows(); ++r) {
        SetGridRow(*vfgHistory, r, 0, false, g.RowTexts(r));
        for (int c = 0; c < g.Cols(); ++c)
            vfgHistory->SetCellAlignment(r, c, g.Align(r, c) == CellAlign::Center ? DataGrid::AlignCenterCenter
                                                                                   : DataGrid::AlignLeftCenter);
    }
    // The last row is current, so Print works at once; an empty list has
    // no current cell (never one of the captions).
    if (g.Rows() > vfgHistory->FixedRows())
        vfgHistory->setCurrentCell(g.Rows() - 1, g.Cols() - 1);
    else
        vfgHistory->setCurrentIndex(QModelIndex());
    vfgHistory->setUpdatesEnabled(true);
    if (h.empty)
        MsgBox(GetResString(5352), MsgButtons::Ok, MsgIcon::Critical, GetResString(5353));
    m_host.LayoutWindow();
}

void LastCalPanel::mnuHistDel_Click()
{
    const int row = vfgHistory->currentRow();
    if (row < 1)
        return;
    if (!AskPassword(m_frame->window()))
        return;
    const HistoryIdentity id{vfgHistory->Text(row, 1), vfgHistory->Text(row, 2), vfgHistory->Text(row, 3)};
    if (MsgBox(GetResString(5357, id.serialNo), MsgButtons::YesNo, MsgIcon::Information, GetResString(5358))
        != MsgResult::Yes)
        return;
    try {
        LogDb db;
        DeleteLatestHistory(db, id);
    } catch (const DatabaseError& e) {
        ReportDatabaseError(e, m_state.uclQvport);
        return;
    }
    FillHistoryGrid();
}

void LastCalPanel::cmdLastCal_Click()
{
    if (vfgHistory->currentRow() >= 1)
        emit PrintRequested();
}
