#include "settings/frmGasSel.h"

#include "common/appstate.h"
#include "common/services.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/keyboard_cues.h"
#include "common/widgets/twips_geometry.h"
#include "settings/setpoint_rules.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {
constexpr double kStartWidth = 4800;
constexpr double kStartHeight = 2800;
constexpr double kOptionHeight = 300;
constexpr double kButtonHeight = 372;
}

frmGasSel::frmGasSel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGasSel"));
    // Fixed texts of this window, the same in every language.
    setWindowTitle(QStringLiteral("Gas Select"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (App().DisplayFont)
        setFont(FontFromSetting(*App().DisplayFont));

    fraGasSel = NewGroup(this, QStringLiteral("fraGasSel"), 0, 0, kStartWidth, 2000);
    fraGasSel->setTitle(QStringLiteral("Select List"));
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int i = 0; i < optGasList.Count(); ++i) {
        optGasList[i] = NewOption(fraGasSel, Indexed("optGasList", i), 60, 240, 1000, kOptionHeight);
        m_group->addButton(optGasList(i), i);
    }
    TabToCheckedOption(m_group->buttons());
    // The choice follows the option however it was set (mouse, keyboard,
    // accessibility or code); the list's own reset clears without choosing.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            optGasList_Click(id);
    });
    for (int i = 0; i < cmdGasSel.Count(); ++i) {
        cmdGasSel[i] = NewButton(this, Indexed("cmdGasSel", i), 0, 0, 1000, kButtonHeight);
        connect(cmdGasSel(i), &QPushButton::clicked, this, [this, i] { cmdGasSel_Click(i); });
    }
    cmdGasSel(0)->setText(QStringLiteral("OK"));
    cmdGasSel(1)->setText(QStringLiteral("Cancel"));

    setMinimumSize(PxAt(this, kGasSelectMinWidth), PxAt(this, kGasSelectMinHeight));
    resize(PxAt(this, kStartWidth), PxAt(this, kStartHeight));
    FillGasList();
}

frmGasSel::~frmGasSel() = default;

void frmGasSel::SetSpecType(const QString& specType)
{
    m_specType = specType;
    FillGasList();
}

void frmGasSel::SetGasNo(int gasNo)
{
    m_gasNo = gasNo;
    FillGasList();
}

void frmGasSel::FillGasList()
{
    m_layout = BuildGasList(ReplacementGasTable(m_specType), m_gasNo);
    // A new list starts without a choice.
    m_group->setExclusive(false);
    for (int i = 0; i < optGasList.Count(); ++i) {
        optGasList(i)->setChecked(false);
        optGasList(i)->setVisible(m_layout.shown[i]);
        optGasList(i)->setText(m_layout.captions[i]);
    }
    m_group->setExclusive(true);
    m_selNum = -1;
    cmdGasSel(0)->setEnabled(false);
    // Wide enough for every caption of the longest row.
    int widest = 0;
    for (int i = 0; i < optGasList.Count(); ++i)
        if (m_layout.shown[i])
            widest = std::max(widest, optGasList(i)->sizeHint().width());
    const int needed = static_cast<int>((m_layout.perRow + 0.1) * widest) + PxAt(this, 240);
    if (!isVisible() && width() < needed)
        resize(needed, height());
    Form_Resize();
}

void frmGasSel::optGasList_Click(int Index)
{
    if (Index < 0 || Index >= optGasList.Count() || !m_layout.shown[Index])
        return;
    optGasList(Index)->setChecked(true);
    m_selNum = Index;
    cmdGasSel(0)->setEnabled(true);
}

void frmGasSel::cmdGasSel_Click(int Index)
{
    if (Index == 0) {
        if (m_selNum < 0)
            return;
        m_flags = true;
        accept();
    } else {
        m_flags = false;
        reject();
    }
}

void frmGasSel::Form_Resize()
{
    if (isMinimized())
        return;
    const double width = std::max(WidthTwips(this), kGasSelectMinWidth);
    const double height = std::max(HeightTwips(this), kGasSelectMinHeight);
    const TwipsRect frame = GasSelectFramePlace(width, height, kButtonHeight);
    MoveTwips(fraGasSel, frame.left, frame.top, frame.width, frame.height);
    for (int j = 0; j < cmdGasSel.Count(); ++j) {
        const TwipsRect b = GasSelectButtonPlace(j, cmdGasSel.Count(), width, frame.height, kButtonHeight);
        MoveTwips(cmdGasSel(j), b.left, b.top, b.width, b.height);
    }
    int k = 0;
    for (int i = 0; i < optGasList.Count(); ++i) {
        if (!m_layout.shown[i])
            continue;
        const TwipsRect p = GasOptionPlace(m_layout, k++, frame.width, frame.height, kOptionHeight);
        MoveTwips(optGasList(i), p.left, p.top, p.width, p.height);
    }
}

void frmGasSel::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}
