// The settings panel: its controls and the wiring of their events. Filling
// the panel and its commands live in settings_panel_<concern>.cpp.

#include "settings/settings_panel.h"

#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"
#include "settings/upload_frame.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SettingsPanel::SettingsPanel(QGroupBox* frame, SharedState& state, PanelHost& host, DownloadPanel& download,
                             QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host), m_download(download)
{
    setObjectName(QStringLiteral("SettingsPanel"));
    CreateControls();
    ConnectSettingsHandlers();
}

SettingsPanel::~SettingsPanel() = default;

void SettingsPanel::CreateControls()
{
    QGroupBox* set = m_frame;
    fraOption[0] = NewGroup(set, Indexed("fraOption", 0), 120, 240, 2400, 5070);
    fraOption[1] = NewGroup(set, Indexed("fraOption", 1), 2640, 240, 6600, 4458);
    fraOption[2] = NewGroup(set, Indexed("fraOption", 2), 2640, 240, 6600, 5070);
    fraOptionCenter0 = NewFrame(fraOption(0), QStringLiteral("fraOptionCenter0"), 142, 487, 2115, 4095);
    // Font, two graph colours, then the service buttons 3..7.
    for (int i = 0; i < cmdOptionDisp.Count(); ++i)
        cmdOptionDisp[i] = NewButton(fraOptionCenter0, Indexed("cmdOptionDisp", i), 0, i * 480, 2115, 372);
    cmdOptionDisp(4)->setVisible(false);
    fraModel = NewGroup(set, QStringLiteral("fraModel"), 120, 5400, 2400, 2000);
    fraModel->setVisible(false);
    for (int i = 0; i < cmdModel.Count(); ++i)
        cmdModel[i] = NewButton(fraModel, Indexed("cmdModel", i), 120, 240 + i * 420, 2160, 372);
    fraOptionCenter1 = NewFrame(fraOption(1), QStringLiteral("fraOptionCenter1"), 1132, 841, 4335, 2775);
    // Identity rows 0..2 with their text boxes, the two clocks (captions 3
    // and 4, values 5 and 6) and the interval time (caption 7).
    for (int r = 0; r < 3; ++r) {
        lblOption[r] = NewLabel(fraOptionCenter1, Indexed("lblOption", r), 0, r * 460, 2500, 285);
        txtOption[r] = NewEdit(fraOptionCenter1, Indexed("txtOption", r), 2540, r * 460, 1795, 285);
    }
    txtOption(0)->setMaxLength(12);
    txtOption(1)->setMaxLength(10);
    txtOption(2)->setMaxLength(10);
    lblOption[3] = NewLabel(fraOptionCenter1, Indexed("lblOption", 3), 0, 1380, 2500, 285);
    lblOption[5] = NewLabel(fraOptionCenter1, Indexed("lblOption", 5), 2540, 1380, 1795, 285);
    lblOption[4] = NewLabel(fraOptionCenter1, Indexed("lblOption", 4), 0, 1840, 2500, 285);
    lblOption[6] = NewLabel(fraOptionCenter1, Indexed("lblOption", 6), 2540, 1840, 1795, 285);
    lblOption[7] = NewLabel(fraOptionCenter1, Indexed("lblOption", 7), 0, 2300, 2500, 285);
    cmbInterval = new QComboBox(fraOptionCenter1);
    cmbInterval->setObjectName(QStringLiteral("cmbInterval"));
    MoveTwips(cmbInterval, 2540, 2300, 1795, 315);
    // The interval time has no choices to offer and nothing reads it: the
    // box stands beside its caption, greyed, and the keyboard passes it by.
    cmbInterval->setEnabled(false);
    cmbInterval->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < cmdOption.Count(); ++i)
        cmdOption[i] = NewButton(set, Indexed("cmdOption", i), 2640 + i * 1700, 4818, 1580, 372);
    vfgOption = NewGrid(set, QStringLiteral("vfgOption"), 4, 6);
    MoveTwips(vfgOption, 120, 5430, 9360, 2200);
    vfgCal = NewGrid(fraOption(2), QStringLiteral("vfgCal"), 3, 3);
    MoveTwips(vfgCal, 120, 240, 6360, 1000);
    fraAD = NewGroup(fraOption(2), QStringLiteral("fraAD"), 120, 1400, 6360, 1000);
    for (int i = 0; i < lblADCh.Count(); ++i)
        lblADCh[i] = NewLabel(fraAD, Indexed("lblADCh", i), 120 + i * 1200, 300, 1100, 252);
    lblBatteryVoltage = NewLabel(fraAD, QStringLiteral("lblBatteryVoltage"), 120, 620, 1100, 252);
    fraG2 = NewGroup(fraOption(2), QStringLiteral("fraG2"), 120, 2400, 6360, 2000);
    fraG2->setVisible(false);
    lblEC = NewLabel(fraG2, QStringLiteral("lblEC"), 120, 300, 1200, 252);
    for (int i = 0; i < txtSZ.Count(); ++i)
        txtSZ[i] = NewEdit(fraG2, Indexed("txtSZ", i), 1400 + i * 1200, 300, 1100, 285);
    for (int i = 0; i < txtS1.Count(); ++i)
        txtS1[i] = NewEdit(fraG2, Indexed("txtS1", i), 1400 + i * 1200, 800, 1100, 285);
    cmdSZX = NewButton(fraG2, QStringLiteral("cmdSZX"), 5000, 300, 1100, 372);
    cmdSZX->setText(QStringLiteral("Air"));
    cmdS1X = NewButton(fraG2, QStringLiteral("cmdS1X"), 5000, 800, 1100, 372);
    cmdS1X->setText(QStringLiteral("Span"));
    for (int i = 0; i < cmdCal.Count(); ++i)
        cmdCal[i] = NewButton(fraOption(2), Indexed("cmdCal", i), 120 + i * 2120, 4570, 1970, 400);
}

