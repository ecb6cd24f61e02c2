// Captions of the main window: the title and every fixed caption, label,
// button text, frame title and column heading, from the string table of the
// system's language.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "common/resstrings.h"
#include "mainwindow/grid_writer.h"
#include "mainwindow/startup_flags.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Captions that show whole in small controls: push buttons break a caption
// that is wider than the button onto more lines, as a narrow menu button
// must ("Instrument Information"), and the box of a check box or option
// button is never taller than the control, so it is not cut.
class CaptionStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        const bool indicator = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight
                               || metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight;
        if (indicator && widget && widget->height() > 0)
            return std::min(size, widget->height());
        return size;
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_PushButtonLabel || !button || !button->icon.isNull()
            || button->fontMetrics.horizontalAdvance(QString(button->text).replace(QLatin1String("&&"), QLatin1String("&")))
                   <= button->rect.width()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        proxy()->drawItemText(painter, button->rect, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                              button->palette, button->state & State_Enabled, button->text, QPalette::ButtonText);
    }
};

// Frame captions stand on the frame's top line, so the controls placed
// 240 twips below a frame's top lie clear of the line and the caption.
const char* const kFrameStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px;"
    " padding: 0 2px; background-color: palette(window); }";

// The visible caption of a button, check box, option button, frame or label.
// Buttons and frames would take "&" as a shortcut mark, so it is doubled to
// show as it stands ("Get & Save").
void SetCaption(QWidget* control, const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(shown);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(shown);
    else if (auto* label = qobject_cast<QLabel*>(control)) {
        // A caption label is never narrower than its text.
        label->setText(text);
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    }
}

using CaptionTable = std::vector<std::pair<QWidget*, int>>;

void Apply(const CaptionTable& table)
{
    for (const auto& [control, id] : table)
        SetCaption(control, GetResString(id));
}

} // namespace

void frmMain::LoadCaptions()
{
    setWindowTitle(GetResString(5001) + QStringLiteral(" [P.No.") + QString::number(PartNumber()) + QLatin1Char(']'));

    // Menu buttons.
    Apply({{cmdInst(0), 5002}, {cmdInst(1), 5003}, {cmdInst(2), 5004},
           {cmdInst(3), 5009}, {cmdInst(4), 5006}, {cmdInst(5), 5007}});

    // Download panel. The command buttons' ids do not follow their indices.
    Apply({{fraMenu(0), 5002},     {fraDown(0), 5021},    {lblStatus(0), 5022},  {lblStatus(1), 5023},
           {lblTitle(0), 5012},    {fraDown(3), 5025},    {lblStatus(2), 5026},  {lblStatus(3), 5027},
           {lblStatus(4), 5028},   {lblStatus(11), 5048}, {fraDown(1), 5032},    {chkAutoLoad(0), 5033},
           {chkAutoLoad(1), 5034}, {fraDown(2), 5035},    {cmdDown(0), 5036},    {cmdDown(1), 5037},
           {cmdDown(2), 5038},     {cmdDown(3), 5039},    {cmdDown(4), 5042},    {cmdDown(5), 5043},
           {cmdDown(6), 5045},     {cmdDown(7), 5040},    {cmdDown(8), 5041},    {cmdDown(9), 5044},
           {cmdDown(10), 5047}});

    // Instrument information panel.
    Apply({{fraMenu(1), 5051}, {fraInst, 5052}, {lblInst(0), 5053}, {lblInst(1), 5054},
           {lblInst(2), 5055}, {lblInst(6), 5056}, {lblInst(8), 5060}});

    // Data panel; the stored instrument's button is not offered.
    Apply({{fraMenu(2), 5101}, {chkLog(0), 5102}, {chkLog(1), 5104}, {chkLog(2), 5103},
           {cmdDetail, 5005}, {cmdLogInst, 5025}});
    cmdLogInst->setVisible(false);

    // Data view panel; the two gas check boxes carry the configured gases' names.
    Apply({{fraMenu(3), 5151}, {optBrowse(0), 5152}, {optBrowse(1), 5153}});
    SetCaption(chkBrowse(0), App().CurrentGas[0].Name);
    SetCaption(chkBrowse(1), App().CurrentGas[1].Name);
    Apply({{chkBrowse(5), 5154}, {chkBrowse(6), 5155}, {lblTitle(1), 5156}, {cmdBrowse(0), 5161},
           {cmdBrowse(1), 5157}, {cmdBrowse(2), 5158}, {cmdBrowse(3), 5159}, {cmdBrowse(4), 9001},
           {chkEvent, 5160}, {chkOutline, 5164}});
    // The view's top row stands left of its buttons: its four choices take
    // the width of their captions.
    for (QAbstractButton* choice : {static_cast<QAbstractButton*>(optBrowse(0)), static_cast<QAbstractButton*>(optBrowse(1)),
                                    static_cast<QAbstractButton*>(chkEvent), static_cast<QAbstractButton*>(chkOutline)})
        choice->resize(choice->sizeHint().width(), choice->height());

    // Last calibration panel.
    Apply({{fraMenu(4), 5254}, {optHistory(0), 5251}, {optHistory(1), 5252}, {optHistory(2), 5253},
           {cmdLastCal, 5161}});

    // Settings panel.
    Apply({{fraMenu(5), 5201}, {fraOption(0), 5202}});
    SetCaption(cmdOptionDisp(1), GetResString(5204, "#1"));
    SetCaption(cmdOptionDisp(2), GetResString(5204, "#2"));
    Apply({{cmdModel(0), 10000}, {cmdModel(1), 10001}, {cmdModel(2), 10002}, {cmdModel(3), 10003},
           {fraOption(1), 5208},  {lblOption(0), 5209}, {lblOption(1), 5210}, {lblOption(2), 5211},
           {lblOption(3), 5212},  {lblOption(4), 5213}, {lblOption(7), 5223}, {cmdOption(0), 5214},
           {cmdOption(1), 5215},  {cmdOption(2), 5216}, {fraOption(2), 5216}});
    SetFormatString(*vfgCal, GetResString(5217));
    Apply({{cmdCal(0), 5218}, {cmdCal(1), 5219}, {cmdCal(2), 5220}});

    // Every caption shows whole: long button captions wrap, check boxes fit
    // their box, frame captions stand on the frame line.
    auto* captionStyle = new CaptionStyle;
    captionStyle->setParent(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->setStyle(captionStyle);
    setStyleSheet(QString::fromLatin1(kFrameStyle));
}
