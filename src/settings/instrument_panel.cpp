// The instrument information panel. Filling it is still a stand-in that
// does the least its callers need, so the window starts and switches panels.

#include "settings/instrument_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

InstrumentPanel::InstrumentPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("InstrumentPanel"));
    CreateControls();
}

InstrumentPanel::~InstrumentPanel() = default;

void InstrumentPanel::CreateControls()
{
    QGroupBox* info = m_frame;
    fraInst = NewGroup(info, QStringLiteral("fraInst"), 120, 240, 2400, 3500);
    fraInstCeneter = NewFrame(fraInst, QStringLiteral("fraInstCeneter"), 60, 300, 2400, 2800);
    // Captions 0, 1, 2, 6, 8 each above their value 3, 4, 5, 7, 9.
    const int captions[5] = {0, 1, 2, 6, 8};
    const int values[5] = {3, 4, 5, 7, 9};
    for (int r = 0; r < 5; ++r) {
        lblInst[captions[r]] = NewLabel(fraInstCeneter, Indexed("lblInst", captions[r]), 0, r * 560, 2400, 252);
        lblInst[values[r]] = NewLabel(fraInstCeneter, Indexed("lblInst", values[r]), 0, r * 560 + 262, 2400, 252);
        lblInst[values[r]]->setFrameShape(QFrame::Panel);
        lblInst[values[r]]->setFrameShadow(QFrame::Sunken);
    }
    vfgInst = NewGrid(info, QStringLiteral("vfgInst"), 2, 4);
    MoveTwips(vfgInst, 2640, 360, 6800, 3380);
    vfgInstSensor = NewGrid(info, QStringLiteral("vfgInstSensor"), 2, 5);
    MoveTwips(vfgInstSensor, 120, 3860, 9360, 3800);
}

void InstrumentPanel::ShowInstrumentInfo() {}
