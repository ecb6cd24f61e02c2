// Layout of the main window: the window's minimum size, the six panel frames,
// the controls of the first visible panel and the menu column, all placed by
// explicit formulas in twips from the client size.

#include "mainwindow/frmMain.h"

#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/dates.h"
#include "common/resstrings.h"
#include "common/widgets/button_caption.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/shape_lamp.h"
#include "common/widgets/twips_geometry.h"
#include "download/download_panel.h"
#include "graph/ucltalgraph.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

// A coordinate that a step leaves as it stands.
constexpr double kKeep = std::numeric_limits<double>::quiet_NaN();

// A control's own visibility, whether or not its window is on screen.
bool Shown(const QWidget* w)
{
    return w->parentWidget() ? w->isVisibleTo(w->parentWidget()) : !w->isHidden();
}

// One layout pass. It remembers the exact twips of every control it placed,
// so later steps of the same pass compute from those rather than from the
// whole pixels the controls were rounded to.
class Pass {
public:

    double L(const QWidget* w) const { return Get(w).l; }
    double T(const QWidget* w) const { return Get(w).t; }
    double W(const QWidget* w) const { return Get(w).w; }
    double H(const QWidget* w) const { return Get(w).h; }
    double Right(const QWidget* w) const { return L(w) + W(w); }
    double Bottom(const QWidget* w) const { return T(w) + H(w); }

    // Moves and sizes a control; kKeep leaves that coordinate. A width or
    // height below zero becomes zero.
    void Move(QWidget* w, double left, double top, double width = kKeep, double height = kKeep)
    {
        Geo g = Get(w);
        if (!std::isnan(left))
            g.l = left;
        if (!std::isnan(top))
            g.t = top;
        if (!std::isnan(width))
            g.w = std::max(width, 0.0);
        if (!std::isnan(height))
            g.h = std::max(height, 0.0);
        m_placed[w] = g;
        MoveTwips(w, g.l, g.t, g.w, g.h);
    }

    // Centres a control in its container, its size unchanged.
    void Centre(QWidget* w, const QWidget* container, double topOffset = 0)
    {
        Move(w, W(container) / 2 - W(w) / 2, H(container) / 2 - H(w) / 2 + topOffset);
    }

    // Sets a column width; the twips are rounded to whole twips, half-way
    // values to the even neighbour. Columns outside the grid are ignored.
    static void ColWidth(DataGrid* grid, int col, double twips)
    {
        grid->SetColWidth(col, static_cast<int>(std::nearbyint(twips)));
    }

private:
    struct Geo {
        double l, t, w, h;
    };
    Geo Get(const QWidget* w) const
    {
        const auto it = m_placed.find(w);
        if (it != m_placed.end())
            return it->second;
        return {LeftTwips(w), TopTwips(w), WidthTwips(w), HeightTwips(w)};
    }

    std::unordered_map<const QWidget*, Geo> m_placed;
};

// The language tag of the string table: "EN" or "JP".
QString LanguageTag()
{
    return GetResString(101);
}

// The height of one line of a control's text, in twips.
double TextLineTwips(const QWidget* w)
{
    return TwipsAt(w, w->fontMetrics().height());
}

// The width of a text in a control's font, in twips.
double TextWidthTwips(const QWidget* w, const QString& text)
{
    return TwipsAt(w, w->fontMetrics().horizontalAdvance(text));
}

void LayoutInstrumentPanel(InstrumentPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double W = p.W(panel), H = p.H(panel);
    p.Move(f.fraInst, 120, 240, 0.25 * W, 0.45 * H);
    p.Centre(f.fraInstCeneter, f.fraInst);
    p.Move(f.vfgInst, p.Right(f.fraInst) + 120, 360, W - p.Right(f.fraInst) - 240, p.H(f.fraInst) - 120);
    p.Move(f.vfgInstSensor, 120, p.Bottom(f.fraInst) + 120, W - 240, H - p.Bottom(f.fraInst) - 360);

    const double g = p.W(f.vfgInst);
    p.ColWidth(f.vfgInst, 0, 0.19 * g);
    p.ColWidth(f.vfgInst, 1, 0.30 * g);
    p.ColWidth(f.vfgInst, 2, 0.51 * g / 3);
    p.ColWidth(f.vfgInst, 3, 0.51 * g / 3);

    const bool english = LanguageTag() == QLatin1String("EN");
    const double s = p.W(f.vfgInstSensor);
    const int c = f.vfgInstSensor->columnCount();
    p.ColWidth(f.vfgInstSensor, 0, 0.25 * s);
    p.ColWidth(f.vfgInstSensor, 1, (english ? 0.10 : 0.05) * s);
    for (int col = 2; col <= c - 2; ++col)
        p.ColWidth(f.vfgInstSensor, col, (english ? 0.65 : 0.70) * s / (c - 2));
    p.ColWidth(f.vfgInstSensor, c - 1, 100);
}

void LayoutDataPanel(DataPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double W = p.W(panel), H = p.H(panel);
    p.Move(f.tvwLog, 120, 240, 0.35 * W, 0.75 * H);
    p.Move(f.fraLog, 120, p.Bottom(f.tvwLog), p.W(f.tvwLog), H - p.Bottom(f.tvwLog) - 120);
    p.Centre(f.fraLogCenter, f.fraLog);
    p.Move(f.lvwLog, p.Right(f.tvwLog) + 120, 240, W - p.Right(f.tvwLog) - 240, 0.42 * H);
    p.Move(f.vfgLog, p.Right(f.tvwLog) + 120, p.Bottom(f.lvwLog) + 120, p.W(f.lvwLog), 0.42 * H);
    p.Move(f.cmdDetail, p.Right(f.tvwLog) + 180 + 0.48 * p.W(f.vfgLog) / 2, p.Bottom(f.vfgLog) + 240,
           0.48 * p.W(f.vfgLog), H - p.Bottom(f.vfgLog) - 480);

    // The last column keeps its width; other column counts keep them all.
    const int c = f.vfgLog->columnCount();
    if (c < 2 || c > 5)
        return;
    const bool english = LanguageTag() == QLatin1String("EN");
    const double g = p.W(f.vfgLog);
    double first = english ? 0.35 : 0.30;
    double rest = english ? 0.65 : 0.70;
    if (c == 5 && !english) {
        first = 0.20;
        rest = 0.80;
    }
    p.ColWidth(f.vfgLog, 0, first * g);
    for (int col = 1; col <= c - 2; ++col)
        p.ColWidth(f.vfgLog, col, rest * g / (c - 1));
}

void LayoutDataView(ViewPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double W = p.W(panel), H = p.H(panel);

    const bool table = f.optBrowse(0)->isChecked();
    const bool graph = f.optBrowse(1)->isChecked();
    f.vfgBrowse->setVisible(table);
    f.talGraph->setVisible(graph);
    f.lblTitle(1)->setVisible(graph);
    f.cmbBrowse->setVisible(graph);
    f.chkEvent->setVisible(table);
    if (!graph)
        for (QCheckBox* box : f.chkBrowse)
            box->setVisible(false);

    p.Move(f.optBrowse(0), 120, 240);
    p.Move(f.optBrowse(1), p.Right(f.optBrowse(0)) + 120, 240);
    p.Move(f.chkEvent, p.Right(f.optBrowse(1)) + 120, 240);
    p.Move(f.chkOutline, p.Right(f.chkEvent) + 120, 240);

    // The buttons stand right-aligned with the table; 0 to 3 take the size
    // of 4, wide enough for the widest caption with its margins. Where they
    // would cover the two check boxes of the top row (a narrow window), the
    // check boxes take a row of their own under the options.
    double bw = 0.12 * (W - 240);
    for (QPushButton* b : f.cmdBrowse)
        bw = std::max(bw, TwipsAt(b, ButtonWidthFor(*b, b->text())));
    const double buttonsLeft = 120 + (W - 240) - 5 * bw - 240;
    double top = p.Bottom(f.optBrowse(0));
    if (p.Right(f.chkOutline) + 120 > buttonsLeft) {
        p.Move(f.chkEvent, 120, top);
        p.Move(f.chkOutline, p.Right(f.chkEvent) + 120, top);
        top = p.Bottom(f.chkEvent);
    }

    // The table below the top rows, the graph 680 twips shorter for the two
    // rows of check boxes under it.
    const double below = top + 120;
    const bool summary = Shown(f.vfgSummary);
    if (summary) {
        p.Move(f.vfgSummary, 120, below, W - 240, 0.3 * H);
        p.Move(f.vfgBrowse, 120, p.Bottom(f.vfgSummary) + 120, W - 240, H - p.Bottom(f.vfgSummary) - 240);
        p.Move(f.talGraph, 120, p.T(f.vfgBrowse), p.W(f.vfgBrowse), H - p.Bottom(f.vfgSummary) - 920);
    } else {
        p.Move(f.vfgBrowse, 120, below, W - 240, H - top - 240);
        p.Move(f.talGraph, 120, p.T(f.vfgBrowse), p.W(f.vfgBrowse), H - top - 920);
    }

    // Two rows of check boxes under the graph.
    const double row1 = p.Bottom(f.talGraph) + 120;
    p.Move(f.chkBrowse(0), 120, row1);
    p.Move(f.chkBrowse(1), W / 4, row1);
    p.Move(f.chkBrowse(2), W / 2, row1);
    p.Move(f.chkBrowse(3), 3 * W / 4, row1);
    const double row2 = p.Bottom(f.chkBrowse(0));
    p.Move(f.lblTitle(1), 120, row2);
    p.Move(f.cmbBrowse, p.Right(f.lblTitle(1)) + 240, row2);
    p.Move(f.chkBrowse(4), W / 4, row2);
    p.Move(f.chkBrowse(5), W / 2, row2);
    p.Move(f.chkBrowse(6), 3 * W / 4, row2);

    p.Move(f.cmdBrowse(4), p.Right(f.vfgBrowse) - bw, 240, bw, p.H(f.chkEvent));
    p.Move(f.cmdBrowse(3), p.L(f.cmdBrowse(4)) - p.W(f.cmdBrowse(4)) - 240, 240, p.W(f.cmdBrowse(4)),
           p.H(f.cmdBrowse(4)));
    for (int i = 2; i >= 0; --i) {
        QPushButton* right = f.cmdBrowse(i + 1);
        p.Move(f.cmdBrowse(i), p.L(right) - p.W(right), 240, p.W(right), p.H(right));
    }

    // Column widths of the table by its column count (fractions of its width).
    static const std::unordered_map<int, std::vector<double>> kBrowseCols = {
        {2, {0.29}},
        {3, {0.29, 0.71 / 2}},
        {4, {0.10, 0.25, 0.65 / 2}},
        {5, {0.10, 0.30, 0.20, 0.20}},
        {6, {0.10, 0.19, 0.71 / 4, 0.71 / 4, 0.71 / 4}},
        {7, {0.07, 0.22, 0.14, 0.14, 0.14, 0.14}},
        {8, {0.07, 0.19, 0.08, 0.14, 0.14, 0.14, 0.14}},
        {10, {0.07, 0.19, 0.08, 0.14, 0.14}},
    };
    const auto it = kBrowseCols.find(f.vfgBrowse->columnCount());
    if (it != kBrowseCols.end()) {
        const double g = p.W(f.vfgBrowse);
        for (size_t col = 0; col < it->second.size(); ++col)
            p.ColWidth(f.vfgBrowse, static_cast<int>(col), it->second[col] * g);
    }
    if (summary) {
        const double g = p.W(f.vfgSummary);
        p.ColWidth(f.vfgSummary, 0, 0.35 * g);
        for (int col = 1; col <= f.vfgSummary->columnCount() - 2; ++col)
            p.ColWidth(f.vfgSummary, col, 0.65 * g / 2);
    }
}

void LayoutDownloadPanel(DownloadPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double PW = p.W(panel), PH = p.H(panel);

    p.Move(f.fraDown(0), 120, 240, 0.6 * PW);
    const double statusW = p.W(f.fraDown(0));
    p.Move(f.shpStatus(0), 120, 240);
    p.Move(f.shpStatus(1), statusW / 4, 240);
    p.Move(f.shpStatus(2), statusW / 2, 240);
    p.Move(f.shpStatus(3), statusW * 3 / 4, 240);
    const int lampLabels[4] = {0, 1, 8, 9};
    for (int i = 0; i < 4; ++i)
        p.Move(f.lblStatus(lampLabels[i]), p.Right(f.shpStatus(i)) + 60, 240);
    p.Move(f.lblTitle(0), 120, p.Bottom(f.fraDown(0)) + 60);
    p.Move(f.rtbLog, 120, p.Bottom(f.lblTitle(0)) + 120, 0.6 * PW, 0.55 * PH);
    p.Move(f.fraDown(3), 120, p.Bottom(f.rtbLog) + 120, 0.6 * PW, PH - p.T(f.rtbLog) - p.H(f.rtbLog) - 240);
    p.Move(f.fraDown(1), p.Right(f.rtbLog) + 60, 240, PW - p.W(f.rtbLog) - 240);
    // The two check boxes take a fifth of the frame's height each, but
    // never less than a line of their text.
    const double autoW = p.W(f.fraDown(1)), autoH = p.H(f.fraDown(1));
    const double checkH = std::max(autoH / 5, TextLineTwips(f.chkAutoLoad(0)));
    p.Move(f.chkAutoLoad(0), 120, 240, autoW - 240, checkH);
    p.Move(f.chkAutoLoad(1), 120, p.Bottom(f.chkAutoLoad(0)) + 60, autoW - 240, checkH);
    p.Move(f.fraDown(2), p.Right(f.rtbLog) + 60, p.Bottom(f.fraDown(1)), PW - p.W(f.rtbLog) - 240,
           PH - p.T(f.fraDown(1)) - p.H(f.fraDown(1)) - 120);

    // The command column: eight buttons in service mode, six otherwise. The
    // height divides the frame into slots (11 or 9), not into buttons.
    const bool service = App().ServiceMode;
    if (service) {
        f.cmdDown(6)->setVisible(true);
        f.cmdDown(10)->setVisible(true);
    } else {
        f.cmdDown(6)->setVisible(false);
        f.cmdDown(9)->setVisible(false);
        f.cmdDown(10)->setVisible(false);
    }
    static const std::vector<int> kServiceColumn = {0, 1, 2, 3, 6, 7, 8, 10};
    static const std::vector<int> kUserColumn = {0, 1, 2, 3, 7, 8};
    const std::vector<int>& column = service ? kServiceColumn : kUserColumn;
    const double h = service ? (p.H(f.fraDown(2)) - 1080) / 11 : (p.H(f.fraDown(2)) - 900) / 9;
    p.Move(f.cmdDown(0), 120, 240, p.W(f.fraDown(2)) - 240, h);
    for (size_t i = 1; i < column.size(); ++i) {
        QPushButton* above = f.cmdDown(column[i - 1]);
        p.Move(f.cmdDown(column[i]), 120, p.Bottom(above) + 120, p.W(f.cmdDown(0)), p.H(f.cmdDown(0)));
    }

    // The identity box, centred; in service mode it sits higher to make room
    // for the picture under it.
    p.Centre(f.fraDown3Ceneter, f.fraDown(3), service ? -240 : 0);
    if (service) {
        f.picOptionToHalvane->setVisible(true);
        p.Move(f.picOptionToHalvane, p.L(f.fraDown3Ceneter), p.Bottom(f.fraDown3Ceneter),
               p.W(f.fraDown3Ceneter));
    } else {
        f.picOptionToHalvane->setVisible(false);
    }
}

void LayoutLastCalibrationPanel(LastCalPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double PW = p.W(panel), PH = p.H(panel);
    // The first option keeps clear of the frame's line, which its round
    // box would touch at 60 twips.
    const double optW = PW / (f.optHistory.Count() + 1);
    p.Move(f.optHistory(0), 120, 240, optW);
    p.Move(f.optHistory(1), p.Right(f.optHistory(0)) + 120, 240, optW);
    p.Move(f.optHistory(2), p.Right(f.optHistory(1)) + 120, 240, optW);
    p.Move(f.vfgHistory, 60, p.Bottom(f.optHistory(0)) + 60, PW - 120,
           PH - p.T(f.optHistory(0)) - p.H(f.optHistory(0)) - 120);

    std::vector<double> widths;
    if (f.optHistory(0)->isChecked() || f.optHistory(1)->isChecked())
        widths = {0.05, 0.12, 0.11, 0.11, 0.13, 0.13};
    else if (f.optHistory(2)->isChecked())
        widths = {0.05, 0.12, 0.11, 0.11, 0.13, 0.10, 0.10, 0.10};
    const double g = p.W(f.vfgHistory);
    for (size_t col = 0; col < widths.size(); ++col)
        p.ColWidth(f.vfgHistory, static_cast<int>(col), widths[col] * g);

    p.Move(f.cmdLastCal, p.Right(f.vfgHistory) - 0.142 * g, 240, 0.142 * g, p.H(f.optHistory(0)));
}

// The rows of the instrument status frame: the captions in the left
// column, the values in the right one, each column at least as wide as
// designed and as its widest text (a date with its seconds, a serial number
// of 12 characters), so that they show whole in the display font. The frame
// around them grows with the columns.
void ArrangeStatusRows(SettingsPanel& f, Pass& p)
{
    constexpr double kGap = 40;
    constexpr double kEditMargins = 150; // a text box's frame and margins
    double captionW = 2500, valueW = 1795;
    for (int i : {0, 1, 2, 3, 4, 7})
        captionW = std::max(captionW, TextWidthTwips(f.lblOption(i), f.lblOption(i)->text()));
    const QString sampleDate = GeneralDate(QDateTime(QDate(2000, 12, 28), QTime(20, 58, 58)));
    for (int i : {5, 6})
        valueW = std::max({valueW, TextWidthTwips(f.lblOption(i), sampleDate),
                           TextWidthTwips(f.lblOption(i), f.lblOption(i)->text())});
    for (QLineEdit* edit : f.txtOption)
        valueW = std::max(valueW, TextWidthTwips(edit, edit->text()) + kEditMargins);
    const double valueLeft = captionW + kGap;
    for (int i : {0, 1, 2, 3, 4, 7})
        p.Move(f.lblOption(i), 0, kKeep, captionW);
    for (QLineEdit* edit : f.txtOption)
        p.Move(edit, valueLeft, kKeep, valueW);
    for (int i : {5, 6})
        p.Move(f.lblOption(i), valueLeft, kKeep, valueW);
    p.Move(f.cmbInterval, valueLeft, kKeep, valueW);
    constexpr double kDesignWidth = 4335;
    p.Move(f.fraOptionCenter1, kKeep, kKeep, std::max(kDesignWidth, valueLeft + valueW));
}

// The column of option buttons in the font frame. The font button shows its
// caption in the font it names, so a larger or wider font makes it grow: as
// wide as its caption on one line while the frame has room (its words break
// onto more lines beyond that), and as high as its lines; the buttons under
// it move down. Every other button keeps its designed size.
void ArrangeOptionButtons(SettingsPanel& f, Pass& p, double roomW)
{
    constexpr double kDesignW = 2115, kDesignH = 372, kGap = 108, kDesignColumnH = 4095;
    QPushButton* font = f.cmdOptionDisp(0);
    QStyleOptionButton option;
    option.initFrom(font);
    option.text = font->text();
    option.rect = QRect(0, 0, 1000, 1000);
    const QRect inside = font->style()->subElementRect(QStyle::SE_PushButtonContents, &option, font);
    const int marginW = ButtonWidthFor(*font, QString()); // the frame and the caption's margins
    const int marginH = option.rect.height() - inside.height();
    const QFontMetrics fm = font->fontMetrics();
    const QString text = font->text();
    int widestWord = 0;
    for (const QString& word : text.split(QLatin1Char(' ')))
        widestWord = std::max(widestWord, fm.horizontalAdvance(word));
    const double oneLineW = TwipsAt(font, fm.horizontalAdvance(text) + marginW);
    const double fontW = std::max({kDesignW, std::min(oneLineW, roomW), TwipsAt(font, widestWord + marginW)});
    const QRect lines =
        fm.boundingRect(QRect(0, 0, PxAt(font, fontW) - marginW, 100000), Qt::AlignCenter | Qt::TextWordWrap, text);
    const double fontH = std::max(kDesignH, TwipsAt(font, lines.height() + marginH + 2));
    const double columnW = std::max(kDesignW, fontW);

    double top = 0;
    for (int i = 0; i < f.cmdOptionDisp.Count(); ++i) {
        const bool isFont = i == 0;
        const double w = isFont ? fontW : kDesignW;
        const double h = isFont ? fontH : kDesignH;
        p.Move(f.cmdOptionDisp(i), (columnW - w) / 2, top, w, h);
        top += h + kGap;
    }
    p.Move(f.fraOptionCenter0, kKeep, kKeep, columnW, std::max(kDesignColumnH, top - kGap));
}

void LayoutSettingsPanel(SettingsPanel& f, Pass& p)
{
    QGroupBox* panel = f.Frame();
    const double PW = p.W(panel), PH = p.H(panel);
    QGroupBox* fonts = f.fraOption(0);
    p.Move(fonts, 120, 240, 0.25 * PW, 0.65 * PH);
    ArrangeOptionButtons(f, p, p.W(fonts) - 2 * 142);
    p.Centre(f.fraOptionCenter0, fonts);
    const double besideW = PW - p.L(fonts) - p.W(fonts) - 360;

    // The status frame and the calibration frame share the place beside the
    // font frame; each is placed only while it is shown.
    if (Shown(f.fraOption(1))) {
        QGroupBox* status = f.fraOption(1);
        p.Move(status, p.Right(fonts) + 120, 240, besideW, p.H(fonts) - p.H(f.cmdOption(0)) - 120);
        const double top = p.Bottom(status) + 120;
        p.Move(f.cmdOption(0), p.L(status), top, p.W(status) / 4.2);
        p.Move(f.cmdOption(1), p.Right(f.cmdOption(0)) + 120, top, p.W(status) / 4.2);
        p.Move(f.cmdOption(2), p.Right(f.cmdOption(1)) + 120, top, p.W(status) / 4.2);
        ArrangeStatusRows(f, p);
        p.Centre(f.fraOptionCenter1, status);
    }
    if (Shown(f.fraOption(2))) {
        QGroupBox* cal = f.fraOption(2);
        p.Move(cal, p.Right(fonts) + 120, 240, besideW, p.H(fonts));
        const double innerW = p.W(cal) - 240;
        p.Move(f.vfgCal, 120, 240, innerW, 1000);
        p.Move(f.fraAD, 120, 1400, innerW, 1000);
        p.Move(f.fraG2, 120, 2400, innerW, 2000);
        const double gw = p.W(f.vfgCal);
        const double top = p.H(cal) - 500;
        p.Move(f.cmdCal(0), 120, top, 0.31 * gw, 400);
        p.Move(f.cmdCal(1), gw + 120 - 0.666 * gw, top, 0.31 * gw, 400);
        p.Move(f.cmdCal(2), gw + 220 - 0.333 * gw - 120, top, 0.31 * gw, 400);
    }
    // In service mode the model frame stands under the font frame, as wide
    // as it, and the settings grid beside it: the grid would hide it.
    const double gridTop = p.Bottom(fonts) + 120;
    const double gridH = PH - p.T(fonts) - p.H(fonts) - 360;
    double gridLeft = 120;
    if (Shown(f.fraModel)) {
        constexpr double kModelFrameHeight = 2000;
        p.Move(f.fraModel, 120, gridTop, p.W(fonts), std::min(kModelFrameHeight, gridH));
        gridLeft = p.Right(f.fraModel) + 120;
    }
    p.Move(f.vfgOption, gridLeft, gridTop, PW - gridLeft - 120, gridH);

    // Settings grid columns by language and mode: the caption column, in
    // service or user mode a narrow check-box column, an even run, and a
    // last column of 100 twips.
    const QString lang = LanguageTag();
    if (lang == QLatin1String("EN") || lang == QLatin1String("JP")) {
        const bool english = lang == QLatin1String("EN");
        const bool flagged = App().ServiceMode || App().UMode;
        const int n = f.vfgOption->columnCount();
        const double w = p.W(f.vfgOption);
        p.ColWidth(f.vfgOption, 0, (english ? 0.15 : 0.13) * w);
        int first = 1;
        double share = english ? 0.85 : 0.87;
        if (flagged) {
            p.ColWidth(f.vfgOption, 1, (english ? 0.08 : 0.05) * w);
            first = 2;
            share = english ? 0.77 : 0.82;
        }
        for (int col = first; col <= n - 2; ++col)
            p.ColWidth(f.vfgOption, col, share * w / (n - first));
        p.ColWidth(f.vfgOption, n - 1, 100);
    }
    // The calibration grid's columns follow its width even while its frame is hidden.
    const double cw = p.W(f.vfgCal);
    p.ColWidth(f.vfgCal, 0, 0.3 * cw);
    p.ColWidth(f.vfgCal, 1, 0.1 * cw);
    p.ColWidth(f.vfgCal, 2, 0.3 * cw);
    f.vfgOption->viewport()->update();
}

void LayoutMenu(frmMain& f, Pass& p, double scaleWidth, double scaleHeight)
{
    const double w = 0.12 * scaleWidth;
    const double h = (scaleHeight - 840) / f.cmdInst.Count();
    p.Move(f.cmdInst(0), scaleWidth - w - 120, 180, w, h);
    for (int k = 1; k < f.cmdInst.Count(); ++k)
        p.Move(f.cmdInst(k), p.L(f.cmdInst(0)), p.Bottom(f.cmdInst(k - 1)) + 120, w, h);
}

} // namespace

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;

    // Never smaller than the minimum outer size. The window system may apply
    // the new size later, so this pass already lays out for the clamped size.
    const int frameW = std::max(0, frameGeometry().width() - width());
    const int frameH = std::max(0, frameGeometry().height() - height());
    const QSize minClient(std::max(0, Px(kMinWindowWidth) - frameW), std::max(0, Px(kMinWindowHeight) - frameH));
    if (minimumSize() != minClient)
        setMinimumSize(minClient);
    const QSize client(std::max(width(), minClient.width()), std::max(height(), minClient.height()));
    if (client != size() && !isMaximized() && !isFullScreen())
        resize(client);
    const double scaleWidth = Twips(client.width());
    const double scaleHeight = Twips(client.height());

    Pass p;
    const double menuWidth = 0.12 * scaleWidth;
    for (QGroupBox* panel : fraMenu)
        p.Move(panel, 0, 120, scaleWidth - menuWidth - 240, scaleHeight - 180);

    // Only the first visible panel is laid out.
    if (Shown(fraMenu(0)))
        LayoutDownloadPanel(*m_download, p);
    else if (Shown(fraMenu(1)))
        LayoutInstrumentPanel(*m_instrument, p);
    else if (Shown(fraMenu(2)))
        LayoutDataPanel(*m_data, p);
    else if (Shown(fraMenu(3)))
        LayoutDataView(*m_view, p);
    else if (Shown(fraMenu(4)))
        LayoutLastCalibrationPanel(*m_lastCal, p);
    else if (Shown(fraMenu(5)))
        LayoutSettingsPanel(*m_settings, p);

    LayoutMenu(*this, p, scaleWidth, scaleHeight);
}
