// The data view panel's controls.

#include "views/view_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/keyboard_cues.h"
#include "common/widgets/twips_geometry.h"
#include "graph/ucltalgraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

ViewPanel::ViewPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("ViewPanel"));
    CreateControls();
    ConnectHandlers();
}

ViewPanel::~ViewPanel() = default;

void ViewPanel::CreateControls()
{
    QGroupBox* view = m_frame;
    optBrowse[0] = NewOption(view, Indexed("optBrowse", 0), 120, 240, 1000, 300);
    optBrowse[1] = NewOption(view, Indexed("optBrowse", 1), 1240, 240, 1000, 300);
    optBrowse(0)->setChecked(true);
    TabToCheckedOption({optBrowse(0), optBrowse(1)});
    chkEvent = NewCheck(view, QStringLiteral("chkEvent"), 2360, 240, 1400, 300);
    chkOutline = NewCheck(view, QStringLiteral("chkOutline"), 3880, 240, 1400, 300);
    vfgSummary = NewGrid(view, QStringLiteral("vfgSummary"), 1, 2);
    vfgSummary->setVisible(false);
    MoveTwips(vfgSummary, 120, 660, 9360, 2000);
    vfgBrowse = NewGrid(view, QStringLiteral("vfgBrowse"), 1, 2);
    MoveTwips(vfgBrowse, 120, 660, 9360, 6900);
    talGraph = new uclTalGraph(view);
    talGraph->setObjectName(QStringLiteral("talGraph"));
    talGraph->setVisible(false);
    MoveTwips(talGraph, 120, 660, 9360, 6220);
    for (int i = 0; i < chkBrowse.Count(); ++i) {
        chkBrowse[i] = NewCheck(view, Indexed("chkBrowse", i), 120 + (i % 4) * 2340, 6900 + (i / 4) * 300, 2200, 300);
        chkBrowse[i]->setVisible(false);
    }
    lblTitle[1] = NewLabel(view, Indexed("lblTitle", 1), 120, 7200, 700, 300);
    lblTitle(1)->setVisible(false);
    cmbBrowse = new QComboBox(view);
    cmbBrowse->setObjectName(QStringLiteral("cmbBrowse"));
    cmbBrowse->setVisible(false);
    MoveTwips(cmbBrowse, 1060, 7200, 1000, 300);
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        cmdBrowse[i] = NewButton(view, Indexed("cmdBrowse", i), 3900 + i * 1120, 240, 1120, 300);
    OrderGraphOptionTabs(Graph());
}
