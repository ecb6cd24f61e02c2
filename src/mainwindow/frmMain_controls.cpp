// Creation of the main window's controls and the twips helpers.
//
// Every control gets its design position and size in twips here; the layout
// pass moves most of them afterwards. Each control's objectName is its
// program name ("cmdDown(2)", "rtbLog"), so tests and tools can find it.

#include "mainwindow/frmMain.h"

#include "common/twips.h"
#include "mainwindow/grid_writer.h"
#include "mainwindow/shape_lamp.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace {

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A grid with its fixed row and column as ordinary cells (row 0 of the
// widget is row 0 of the grid), one cell selected at a time.
DataGrid* NewGrid(QWidget* parent, const QString& name, int rows, int cols)
{
    auto* g = new DataGrid(parent);
    g->SetRows(rows);
    g->SetCols(cols);
    g->setObjectName(name);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    return g;
}

QTreeWidget* NewTree(QWidget* parent, const QString& name)
{
    auto* t = new QTreeWidget(parent);
    t->setObjectName(name);
    return t;
}

} // namespace

int frmMain::Px(double twips) const
{
    return TwipsToPx(twips, logicalDpiX());
}

double frmMain::Twips(int pixels) const
{
    return PixelsToTwips(pixels, logicalDpiX());
}

void frmMain::MoveTwips(QWidget* w, double left, double top, double width, double height) const
{
    if (!w)
        return;
    // Sizes never go negative, whatever a formula gives on a small window.
    w->setGeometry(Px(left), Px(top), std::max(0, Px(width)), std::max(0, Px(height)));
}

void frmMain::MoveTwips(QWidget* w, double left, double top) const
{
    if (w)
        w->move(Px(left), Px(top));
}

double frmMain::LeftTwips(const QWidget* w) const { return Twips(w->x()); }
double frmMain::TopTwips(const QWidget* w) const { return Twips(w->y()); }
double frmMain::WidthTwips(const QWidget* w) const { return Twips(w->width()); }
double frmMain::HeightTwips(const QWidget* w) const { return Twips(w->height()); }
double frmMain::ScaleWidth() const { return Twips(width()); }
double frmMain::ScaleHeight() const { return Twips(height()); }

void frmMain::CreateControls()
{
    // Names a new control and gives it its design geometry in twips.
    auto place = [&](auto* control, const QString& name, double l, double t, double w, double h) {
        control->setObjectName(name);
        MoveTwips(control, l, t, w, h);
        return control;
    };
    auto group = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        return place(new QGroupBox(parent), name, l, t, w, h);
    };
    auto frame = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        auto* f = place(new QFrame(parent), name, l, t, w, h);
        f->setFrameShape(QFrame::NoFrame);
        return f;
    };
    auto label = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        return place(new QLabel(parent), name, l, t, w, h);
    };
    auto button = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        auto* b = place(new QPushButton(parent), name, l, t, w, h);
        b->setAutoDefault(false);
        return b;
    };
    auto check = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        return place(new QCheckBox(parent), name, l, t, w, h);
    };
    auto option = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        return place(new QRadioButton(parent), name, l, t, w, h);
    };
    auto edit = [&](QWidget* parent, const QString& name, double l, double t, double w, double h) {
        return place(new QLineEdit(parent), name, l, t, w, h);
    };

    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    connect(tmrInter, &QTimer::timeout, this, [this] { tmrInter_Timer(); });

    // ---- menu column and panel frames ----
    for (int i = 0; i < cmdInst.Count(); ++i)
        cmdInst[i] = button(this, Indexed("cmdInst", i), 10000, 180 + i * 1200, 1400, 1080);
    for (int i = 0; i < fraMenu.Count(); ++i) {
        fraMenu[i] = group(this, Indexed("fraMenu", i), 0, 120, 9600, 7800);
        fraMenu[i]->setVisible(false);
    }

    // ---- download panel ----
    QGroupBox* down = fraMenu(0);
    fraDown[0] = group(down, Indexed("fraDown", 0), 120, 240, 5400, 612);
    fraDown[1] = group(down, Indexed("fraDown", 1), 5580, 240, 3800, 852);
    fraDown[2] = group(down, Indexed("fraDown", 2), 5580, 1092, 3800, 6000);
    fraDown[3] = group(down, Indexed("fraDown", 3), 120, 5400, 5400, 2200);
    for (int i = 0; i < shpStatus.Count(); ++i) {
        shpStatus[i] = new ShapeLamp(fraDown(0));
        shpStatus[i]->setObjectName(Indexed("shpStatus", i));
        MoveTwips(shpStatus(i), 120 + i * 1350, 240, 200, 200);
    }
    // Lamp labels: 0 serial port, 1 connection, 8 and 9 calibration lamps.
    lblStatus[0] = label(fraDown(0), Indexed("lblStatus", 0), 380, 240, 1092, 252);
    lblStatus[1] = label(fraDown(0), Indexed("lblStatus", 1), 1730, 240, 852, 252);
    lblStatus[8] = label(fraDown(0), Indexed("lblStatus", 8), 3080, 240, 852, 252);
    lblStatus[9] = label(fraDown(0), Indexed("lblStatus", 9), 4430, 240, 852, 252);
    lblTitle[0] = label(down, Indexed("lblTitle", 0), 120, 912, 900, 225);
    rtbLog = new QTextEdit(down);
    rtbLog->setObjectName(QStringLiteral("rtbLog"));
    rtbLog->setReadOnly(true);
    rtbLog->setAcceptRichText(false);
    rtbLog->setLineWrapMode(QTextEdit::NoWrap);
    MoveTwips(rtbLog, 120, 1257, 5400, 4000);
    chkAutoLoad[0] = check(fraDown(1), Indexed("chkAutoLoad", 0), 120, 240, 3560, 170);
    chkAutoLoad[1] = check(fraDown(1), Indexed("chkAutoLoad", 1), 120, 470, 3560, 170);
    for (int i = 0; i < cmdDown.Count(); ++i) {
        cmdDown[i] = button(fraDown(2), Indexed("cmdDown", i), 120, 240 + i * 480, 3560, 372);
        cmdDown[i]->setProperty("Tag", QString());
    }
    // Alarm events, trouble events and Initialize are hidden by design.
    cmdDown(4)->setVisible(false);
    cmdDown(5)->setVisible(false);
    cmdDown(9)->setVisible(false);
    fraDown3Ceneter = frame(fraDown(3), QStringLiteral("fraDown3Ceneter"), 172, 552, 5055, 1095);
    // Identity rows: captions 2..4 with values 5..7, then the suffix row.
    for (int r = 0; r < 3; ++r) {
        lblStatus[2 + r] = label(fraDown3Ceneter, Indexed("lblStatus", 2 + r), 0, r * 270, 2700, 252);
        lblStatus[5 + r] = label(fraDown3Ceneter, Indexed("lblStatus", 5 + r), 2760, r * 270, 2295, 252);
        lblStatus[5 + r]->setFrameShape(QFrame::Panel);
        lblStatus[5 + r]->setFrameShadow(QFrame::Sunken);
    }
    lblStatus[10] = label(fraDown3Ceneter, Indexed("lblStatus", 10), 0, 0, 0, 0);
    lblStatus[10]->setVisible(false);
    lblStatus[11] = label(fraDown3Ceneter, Indexed("lblStatus", 11), 0, 810, 2700, 252);
    txtSuffix = edit(fraDown3Ceneter, QStringLiteral("txtSuffix"), 2760, 800, 2295, 285);
    picOptionToHalvane = label(fraDown(3), QStringLiteral("picOptionToHalvane"), 172, 1647, 5055, 615);
    picOptionToHalvane->setVisible(false);

    // ---- instrument information panel ----
    QGroupBox* info = fraMenu(1);
    fraInst = group(info, QStringLiteral("fraInst"), 120, 240, 2400, 3500);
    fraInstCeneter = frame(fraInst, QStringLiteral("fraInstCeneter"), 60, 300, 2400, 2800);
    // Captions 0, 1, 2, 6, 8 each above their value 3, 4, 5, 7, 9.
    const int captions[5] = {0, 1, 2, 6, 8};
    const int values[5] = {3, 4, 5, 7, 9};
    for (int r = 0; r < 5; ++r) {
        lblInst[captions[r]] = label(fraInstCeneter, Indexed("lblInst", captions[r]), 0, r * 560, 2400, 252);
        lblInst[values[r]] = label(fraInstCeneter, Indexed("lblInst", values[r]), 0, r * 560 + 262, 2400, 252);
        lblInst[values[r]]->setFrameShape(QFrame::Panel);
        lblInst[values[r]]->setFrameShadow(QFrame::Sunken);
    }
    vfgInst = NewGrid(info, QStringLiteral("vfgInst"), 2, 4);
    MoveTwips(vfgInst, 2640, 360, 6800, 3380);
    vfgInstSensor = NewGrid(info, QStringLiteral("vfgInstSensor"), 2, 5);
    MoveTwips(vfgInstSensor, 120, 3860, 9360, 3800);

    // ---- data panel ----
    QGroupBox* data = fraMenu(2);
    tvwLog = NewTree(data, QStringLiteral("tvwLog"));
    tvwLog->setHeaderHidden(true);
    MoveTwips(tvwLog, 120, 240, 3360, 5850);
    fraLog = group(data, QStringLiteral("fraLog"), 120, 6090, 3360, 1590);
    fraLogCenter = frame(fraLog, QStringLiteral("fraLogCenter"), 180, 240, 3000, 1200);
    for (int i = 0; i < chkLog.Count(); ++i)
        chkLog[i] = check(fraLogCenter, Indexed("chkLog", i), 0, i * 300, 1800, 252);
    cmdLogInst = button(fraLogCenter, QStringLiteral("cmdLogInst"), 1860, 0, 1140, 372);
    lvwLog = NewTree(data, QStringLiteral("lvwLog"));
    lvwLog->setRootIsDecorated(false);
    MoveTwips(lvwLog, 3600, 240, 5880, 3276);
    vfgLog = NewGrid(data, QStringLiteral("vfgLog"), 1, 2);
    MoveTwips(vfgLog, 3600, 3636, 5880, 3276);
    cmdDetail = button(data, QStringLiteral("cmdDetail"), 5011, 7152, 2822, 400);
    mnuDeletes = new QMenu(this);
    mnuDeletes->setObjectName(QStringLiteral("mnuDeletes"));
    mnuDelete = mnuDeletes->addAction(QStringLiteral("Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    mnuHistDels = new QMenu(this);
    mnuHistDels->setObjectName(QStringLiteral("mnuHistDels"));
    mnuHistDel = mnuHistDels->addAction(QStringLiteral("Delete"));
    mnuHistDel->setObjectName(QStringLiteral("mnuHistDel"));

    // ---- data view panel ----
    QGroupBox* view = fraMenu(3);
    optBrowse[0] = option(view, Indexed("optBrowse", 0), 120, 240, 1000, 300);
    optBrowse[1] = option(view, Indexed("optBrowse", 1), 1240, 240, 1000, 300);
    optBrowse(0)->setChecked(true);
    chkEvent = check(view, QStringLiteral("chkEvent"), 2360, 240, 1400, 300);
    chkOutline = check(view, QStringLiteral("chkOutline"), 3880, 240, 1400, 300);
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
        chkBrowse[i] = check(view, Indexed("chkBrowse", i), 120 + (i % 4) * 2340, 6900 + (i / 4) * 300, 2200, 300);
        chkBrowse[i]->setVisible(false);
    }
    lblTitle[1] = label(view, Indexed("lblTitle", 1), 120, 7200, 700, 300);
    lblTitle(1)->setVisible(false);
    cmbBrowse = new QComboBox(view);
    cmbBrowse->setObjectName(QStringLiteral("cmbBrowse"));
    cmbBrowse->setVisible(false);
    MoveTwips(cmbBrowse, 1060, 7200, 1000, 300);
    for (int i = 0; i < cmdBrowse.Count(); ++i)
        cmdBrowse[i] = button(view, Indexed("cmdBrowse", i), 3900 + i * 1120, 240, 1120, 300);

    // ---- last calibration panel ----
    QGroupBox* hist = fraMenu(4);
    for (int i = 0; i < optHistory.Count(); ++i)
        optHistory[i] = option(hist, Indexed("optHistory", i), 60 + i * 2520, 240, 2400, 252);
    vfgHistory = NewGrid(hist, QStringLiteral("vfgHistory"), 1, 6);
    MoveTwips(vfgHistory, 60, 552, 9480, 7100);
    cmdLastCal = button(hist, QStringLiteral("cmdLastCal"), 8200, 240, 1340, 252);

    // ---- settings panel ----
    QGroupBox* set = fraMenu(5);
    fraOption[0] = group(set, Indexed("fraOption", 0), 120, 240, 2400, 5070);
    fraOption[1] = group(set, Indexed("fraOption", 1), 2640, 240, 6600, 4458);
    fraOption[2] = group(set, Indexed("fraOption", 2), 2640, 240, 6600, 5070);
    fraOptionCenter0 = frame(fraOption(0), QStringLiteral("fraOptionCenter0"), 142, 487, 2115, 4095);
    // Font, two graph colours, then the service buttons 3..7.
    for (int i = 0; i < cmdOptionDisp.Count(); ++i)
        cmdOptionDisp[i] = button(fraOptionCenter0, Indexed("cmdOptionDisp", i), 0, i * 480, 2115, 372);
    cmdOptionDisp(4)->setVisible(false);
    fraModel = group(set, QStringLiteral("fraModel"), 120, 5400, 2400, 2000);
    fraModel->setVisible(false);
    for (int i = 0; i < cmdModel.Count(); ++i)
        cmdModel[i] = button(fraModel, Indexed("cmdModel", i), 120, 240 + i * 420, 2160, 372);
    fraOptionCenter1 = frame(fraOption(1), QStringLiteral("fraOptionCenter1"), 1132, 841, 4335, 2775);
    // Identity rows 0..2 with their text boxes, the two clocks (captions 3
    // and 4, values 5 and 6) and the interval time (caption 7).
    for (int r = 0; r < 3; ++r) {
        lblOption[r] = label(fraOptionCenter1, Indexed("lblOption", r), 0, r * 460, 2500, 285);
        txtOption[r] = edit(fraOptionCenter1, Indexed("txtOption", r), 2540, r * 460, 1795, 285);
    }
    txtOption(0)->setMaxLength(12);
    txtOption(1)->setMaxLength(10);
    txtOption(2)->setMaxLength(10);
    lblOption[3] = label(fraOptionCenter1, Indexed("lblOption", 3), 0, 1380, 2500, 285);
    lblOption[5] = label(fraOptionCenter1, Indexed("lblOption", 5), 2540, 1380, 1795, 285);
    lblOption[4] = label(fraOptionCenter1, Indexed("lblOption", 4), 0, 1840, 2500, 285);
    lblOption[6] = label(fraOptionCenter1, Indexed("lblOption", 6), 2540, 1840, 1795, 285);
    lblOption[7] = label(fraOptionCenter1, Indexed("lblOption", 7), 0, 2300, 2500, 285);
    cmbInterval = new QComboBox(fraOptionCenter1);
    cmbInterval->setObjectName(QStringLiteral("cmbInterval"));
    MoveTwips(cmbInterval, 2540, 2300, 1795, 315);
    for (int i = 0; i < cmdOption.Count(); ++i)
        cmdOption[i] = button(set, Indexed("cmdOption", i), 2640 + i * 1700, 4818, 1580, 372);
    vfgOption = NewGrid(set, QStringLiteral("vfgOption"), 4, 6);
    MoveTwips(vfgOption, 120, 5430, 9360, 2200);
    vfgCal = NewGrid(fraOption(2), QStringLiteral("vfgCal"), 3, 3);
    MoveTwips(vfgCal, 120, 240, 6360, 1000);
    fraAD = group(fraOption(2), QStringLiteral("fraAD"), 120, 1400, 6360, 1000);
    for (int i = 0; i < lblADCh.Count(); ++i)
        lblADCh[i] = label(fraAD, Indexed("lblADCh", i), 120 + i * 1200, 300, 1100, 252);
    lblBatteryVoltage = label(fraAD, QStringLiteral("lblBatteryVoltage"), 120, 620, 1100, 252);
    fraG2 = group(fraOption(2), QStringLiteral("fraG2"), 120, 2400, 6360, 2000);
    fraG2->setVisible(false);
    lblEC = label(fraG2, QStringLiteral("lblEC"), 120, 300, 1200, 252);
    for (int i = 0; i < txtSZ.Count(); ++i)
        txtSZ[i] = edit(fraG2, Indexed("txtSZ", i), 1400 + i * 1200, 300, 1100, 285);
    for (int i = 0; i < txtS1.Count(); ++i)
        txtS1[i] = edit(fraG2, Indexed("txtS1", i), 1400 + i * 1200, 800, 1100, 285);
    cmdSZX = button(fraG2, QStringLiteral("cmdSZX"), 5000, 300, 1100, 372);
    cmdSZX->setText(QStringLiteral("Air"));
    cmdS1X = button(fraG2, QStringLiteral("cmdS1X"), 5000, 800, 1100, 372);
    cmdS1X->setText(QStringLiteral("Span"));
    for (int i = 0; i < cmdCal.Count(); ++i)
        cmdCal[i] = button(fraOption(2), Indexed("cmdCal", i), 120 + i * 2120, 4570, 1970, 400);
}
