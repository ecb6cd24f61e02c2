// The last-calibration panel. Filling the grid is still a stand-in.

#include "browser/lastcal_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

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
    for (int i = 0; i < optHistory.Count(); ++i)
        optHistory[i] = NewOption(hist, Indexed("optHistory", i), 60 + i * 2520, 240, 2400, 252);
    vfgHistory = NewGrid(hist, QStringLiteral("vfgHistory"), 1, 6);
    MoveTwips(vfgHistory, 60, 552, 9480, 7100);
    cmdLastCal = NewButton(hist, QStringLiteral("cmdLastCal"), 8200, 240, 1340, 252);
}

void LastCalPanel::FillHistoryGrid() {}
