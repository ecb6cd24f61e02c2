// Captions of the main window: the title and every fixed caption, label,
// button text, frame title and column heading, from the string table of the
// system's language.

#include "mainwindow/frmMain.h"

#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/resstrings.h"
#include "common/widgets/button_caption.h"
#include "common/widgets/grid_writer.h"
#include "download/download_panel.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"
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
// that does not fit the button with its margins onto more lines, as a
// narrow menu button must ("Instrument Information"), and the box of a
// check box or option button is never taller than the control, so it is
// not cut.
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
        // The label's rectangle is the button's contents, inside its frame.
        const int margin = button ? CaptionMargin(button->fontMetrics) : 0;
        if (element != CE_PushButtonLabel || !button || !button->icon.isNull()
            || button->fontMetrics.horizontalAdvance(QString(button->text).replace(QLatin1String("&&"), QLatin1String("&")))
                       + 2 * margin
                   <= button->rect.width()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        proxy()->drawItemText(painter, button->rect.adjusted(margin, 0, -margin, 0),
                              Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, button->palette,
                              button->state & State_Enabled, button->text, QPalette::ButtonText);
    }
};

// Frame captions stand on the frame's top line, so the controls placed
// 240 twips below a frame's top lie clear of the line and the caption.
// Lists, grids and text panes show the keyboard focus by their frame.
const char* const kFrameStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px;"
    " padding: 0 2px; background-color: palette(window); }"
    // A list, grid or text pane with the keyboard focus shows it by its
    // frame, also when it is empty or shows no current item; the frame
    // keeps its width, so nothing inside moves.
    "QAbstractScrollArea:focus { border: 1px solid palette(highlight); }";

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

    DownloadPanel& down = *m_download;
    InstrumentPanel& inst = *m_instrument;
    DataPanel& data = *m_data;
    ViewPanel& view = *m_view;
    LastCalPanel& cal = *m_lastCal;
    SettingsPanel& set = *m_settings;

    // Menu buttons.
    Apply({{cmdInst(0), 5002}, {cmdInst(1), 5003}, {cmdInst(2), 5004},
           {cmdInst(3), 5009}, {cmdInst(4), 5006}, {cmdInst(5), 5007}});

    // Download panel. The command buttons' ids do not follow their indices.
    Apply({{fraMenu(0), 5002},          {down.fraDown(0), 5021},    {down.lblStatus(0), 5022},
           {down.lblStatus(1), 5023},   {down.lblTitle(0), 5012},   {down.fraDown(3), 5025},
           {down.lblStatus(2), 5026},   {down.lblStatus(3), 5027},  {down.lblStatus(4), 5028},
           {down.lblStatus(11), 5048},  {down.fraDown(1), 5032},    {down.chkAutoLoad(0), 5033},
           {down.chkAutoLoad(1), 5034}, {down.fraDown(2), 5035},    {down.cmdDown(0), 5036},
           {down.cmdDown(1), 5037},     {down.cmdDown(2), 5038},    {down.cmdDown(3), 5039},
           {down.cmdDown(4), 5042},     {down.cmdDown(5), 5043},    {down.cmdDown(6), 5045},
           {down.cmdDown(7), 5040},     {down.cmdDown(8), 5041},    {down.cmdDown(9), 5044},
           {down.cmdDown(10), 5047}});

    // Instrument information panel.
    Apply({{fraMenu(1), 5051}, {inst.fraInst, 5052}, {inst.lblInst(0), 5053}, {inst.lblInst(1), 5054},
           {inst.lblInst(2), 5055}, {inst.lblInst(6), 5056}, {inst.lblInst(8), 5060}});

    // Data panel; the stored instrument's button is not offered.
    Apply({{fraMenu(2), 5101}, {data.chkLog(0), 5102}, {data.chkLog(1), 5104}, {data.chkLog(2), 5103},
           {data.cmdDetail, 5005}, {data.cmdLogInst, 5025}});
    data.cmdLogInst->setVisible(false);
    data.LoadCaptions();

    // Data view panel; the two gas check boxes carry the configured gases' names.
    Apply({{fraMenu(3), 5151}, {view.optBrowse(0), 5152}, {view.optBrowse(1), 5153}});
    SetCaption(view.chkBrowse(0), App().CurrentGas[0].Name);
    SetCaption(view.chkBrowse(1), App().CurrentGas[1].Name);
    Apply({{view.chkBrowse(5), 5154}, {view.chkBrowse(6), 5155}, {view.lblTitle(1), 5156},
           {view.cmdBrowse(0), 5161},  {view.cmdBrowse(1), 5157}, {view.cmdBrowse(2), 5158},
           {view.cmdBrowse(3), 5159},  {view.cmdBrowse(4), 9001}, {view.chkEvent, 5160},
           {view.chkOutline, 5164}});
    // The view's top row stands left of its buttons: its four choices take
    // the width of their captions.
    QAbstractButton* const choices[] = {view.optBrowse(0), view.optBrowse(1), view.chkEvent, view.chkOutline};
    for (QAbstractButton* choice : choices)
        choice->resize(choice->sizeHint().width(), choice->height());

    // Last calibration panel.
    Apply({{fraMenu(4), 5254}, {cal.optHistory(0), 5251}, {cal.optHistory(1), 5252},
           {cal.optHistory(2), 5253}, {cal.cmdLastCal, 5161}});

    // Settings panel.
    Apply({{fraMenu(5), 5201}, {set.fraOption(0), 5202}});
    SetCaption(set.cmdOptionDisp(1), GetResString(5204, "#1"));
    SetCaption(set.cmdOptionDisp(2), GetResString(5204, "#2"));
    Apply({{set.cmdModel(0), 10000}, {set.cmdModel(1), 10001}, {set.cmdModel(2), 10002},
           {set.cmdModel(3), 10003}, {set.fraOption(1), 5208},  {set.lblOption(0), 5209},
           {set.lblOption(1), 5210}, {set.lblOption(2), 5211},  {set.lblOption(3), 5212},
           {set.lblOption(4), 5213}, {set.lblOption(7), 5223},  {set.cmdOption(0), 5214},
           {set.cmdOption(1), 5215}, {set.cmdOption(2), 5216},  {set.fraOption(2), 5216}});
    SetFormatString(*set.vfgCal, GetResString(5217));
    Apply({{set.cmdCal(0), 5218}, {set.cmdCal(1), 5219}, {set.cmdCal(2), 5220}});

    // Every caption shows whole: long button captions wrap, check boxes fit
    // their box, frame captions stand on the frame line.
    auto* captionStyle = new CaptionStyle;
    captionStyle->setParent(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->setStyle(captionStyle);
    setStyleSheet(QString::fromLatin1(kFrameStyle));
}
