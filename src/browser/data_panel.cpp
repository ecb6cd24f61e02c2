// The data panel. Building the tree and filling the list are still
// stand-ins that do the least their callers need.

#include "browser/data_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"
#include "shared/shared_state.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

DataPanel::DataPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("DataPanel"));
    CreateControls();
}

DataPanel::~DataPanel() = default;

void DataPanel::CreateControls()
{
    QGroupBox* data = m_frame;
    tvwLog = NewTree(data, QStringLiteral("tvwLog"));
    tvwLog->setHeaderHidden(true);
    MoveTwips(tvwLog, 120, 240, 3360, 5850);
    fraLog = NewGroup(data, QStringLiteral("fraLog"), 120, 6090, 3360, 1590);
    fraLogCenter = NewFrame(fraLog, QStringLiteral("fraLogCenter"), 180, 240, 3000, 1200);
    for (int i = 0; i < chkLog.Count(); ++i)
        chkLog[i] = NewCheck(fraLogCenter, Indexed("chkLog", i), 0, i * 300, 1800, 252);
    cmdLogInst = NewButton(fraLogCenter, QStringLiteral("cmdLogInst"), 1860, 0, 1140, 372);
    lvwLog = NewTree(data, QStringLiteral("lvwLog"));
    lvwLog->setRootIsDecorated(false);
    MoveTwips(lvwLog, 3600, 240, 5880, 3276);
    vfgLog = NewGrid(data, QStringLiteral("vfgLog"), 1, 2);
    MoveTwips(vfgLog, 3600, 3636, 5880, 3276);
    cmdDetail = NewButton(data, QStringLiteral("cmdDetail"), 5011, 7152, 2822, 400);
    mnuDeletes = new QMenu(data);
    mnuDeletes->setObjectName(QStringLiteral("mnuDeletes"));
    mnuDelete = mnuDeletes->addAction(QStringLiteral("Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    mnuHistDels = new QMenu(data);
    mnuHistDels->setObjectName(QStringLiteral("mnuHistDels"));
    mnuHistDel = mnuHistDels->addAction(QStringLiteral("Delete"));
    mnuHistDel->setObjectName(QStringLiteral("mnuHistDel"));
}

void DataPanel::BuildLogTree()
{
    if (m_state.TreeRefreshNeeded) {
        tvwLog->clear();
        m_state.TreeRefreshNeeded = false;
    }
    tvwLog->update();
}

void DataPanel::ShowDataPanel() {}
