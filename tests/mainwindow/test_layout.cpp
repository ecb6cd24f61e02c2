#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/resstrings.h"
#include "download/download_panel.h"
#include "mainwindow/frmMain.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"
#include "graph/ucltalgraph.h"
#include "temp_home.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
        w = std::make_unique<frmMain>();
        w->LoadCaptions();
    }
    void TearDown() override
    {
        w.reset();
        ResetResTables();
        SetResLanguage(ResLanguage::System);
        ResetAppState();
    }

    void ShowPanel(int index)
    {
        for (QGroupBox* panel : w->fraMenu)
            panel->setVisible(false);
        w->fraMenu(index)->setVisible(true);
    }
    void SizeTo(int widthPx, int heightPx)
    {
        w->resize(widthPx, heightPx);
        w->Form_Resize();
    }
    // A rectangle given in twips, as the window places it in pixels.
    QRect Tw(double left, double top, double width, double height) const
    {
        return QRect(w->Px(left), w->Px(top), std::max(0, w->Px(width)), std::max(0, w->Px(height)));
    }
    // The panel frames' size in twips, as the window computes it.
    double PanelW() const
    {
        const double sw = w->Twips(w->width());
        return sw - 0.12 * sw - 240;
    }
    double PanelH() const { return w->Twips(w->height()) - 180; }
    // A column width in twips, rounded as the layout rounds it.
    static int Col(double twips) { return static_cast<int>(std::nearbyint(twips)); }
    static int ColWidth(DataGrid* grid, int col) { return grid->ColWidth(col); }

    TempHome home;
    std::unique_ptr<frmMain> w;
};

// Every named control shown inside a panel lies within its container, and
// every panel and menu button within the window.
void ExpectEverythingInside(const frmMain& w, const std::string& where)
{
    const QRect client(0, 0, w.width(), w.height());
    for (QPushButton* b : w.cmdInst)
        EXPECT_TRUE(client.contains(b->geometry())) << where << ": " << b->objectName().toStdString();
    for (QGroupBox* panel : w.fraMenu) {
        if (!panel->isVisibleTo(&w))
            continue;
        EXPECT_TRUE(client.contains(panel->geometry())) << where << ": " << panel->objectName().toStdString();
        for (QWidget* child : panel->findChildren<QWidget*>()) {
            const QString name = child->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || !child->isVisibleTo(panel))
                continue;
            const QWidget* parent = child->parentWidget();
            const QRect inside(0, 0, parent->width(), parent->height());
            EXPECT_TRUE(inside.contains(child->geometry()))
                << where << ": " << name.toStdString() << " at " << child->geometry().x() << ","
                << child->geometry().y() << " " << child->width() << "x" << child->height() << " in "
                << parent->objectName().toStdString() << " " << parent->width() << "x" << parent->height();
        }
    }
}

} // namespace

TEST_F(Layout, NeverBelowTheMinimumSize)
{
    const int minW = w->Px(11640), minH = w->Px(8250);
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{w->Px(11000), w->Px(8000), minW, minH}, Case{300, 900, minW, 900},
                          Case{1000, 200, 1000, minH}, Case{1600, 1000, 1600, 1000}}) {
        SizeTo(c.width, c.height);
        EXPECT_EQ(w->size(), QSize(c.expectedWidth, c.expectedHeight)) << c.width << "x" << c.height;
        // The panels are placed for the clamped size.
        const double sw = w->Twips(c.expectedWidth), sh = w->Twips(c.expectedHeight);
        EXPECT_EQ(w->fraMenu(5)->geometry(), Tw(0, 120, sw - 0.12 * sw - 240, sh - 180));
        EXPECT_EQ(w->cmdInst(0)->geometry(), Tw(sw - 0.12 * sw - 120, 180, 0.12 * sw, (sh - 840) / 6));
    }
}

TEST_F(Layout, MinimisedWindowIsLeftAlone)
{
    ShowPanel(0);
    SizeTo(1600, 1000);
    const QRect log = w->Download().rtbLog->geometry(), menu = w->cmdInst(3)->geometry();
    w->setWindowState(Qt::WindowMinimized);
    w->resize(900, 700);
    w->Form_Resize();
    EXPECT_EQ(w->Download().rtbLog->geometry(), log);
    EXPECT_EQ(w->cmdInst(3)->geometry(), menu);
}

TEST_F(Layout, MenuColumnAtTheRightEdge)
{
    ShowPanel(2);
    SizeTo(1600, 1000);
    const double sw = w->Twips(1600), sh = w->Twips(1000);
    const double bw = 0.12 * sw, bh = (sh - 840) / 6;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(w->cmdInst(k)->geometry(), Tw(sw - bw - 120, 180 + k * (bh + 120), bw, bh)) << k;
}

TEST_F(Layout, DownloadCommandColumnFollowsTheMode)
{
    struct Case {
        bool service;
        std::vector<int> shown;
        std::vector<int> hidden;
        double spare;
        int slotCount;
        double centreOffset;
    };
    for (const Case& c : {Case{false, {0, 1, 2, 3, 7, 8}, {4, 5, 6, 9, 10}, 900, 9, 0},
                          Case{true, {0, 1, 2, 3, 6, 7, 8, 10}, {4, 5, 9}, 1080, 11, -240}}) {
        App().ServiceMode = c.service;
        ShowPanel(0);
        SizeTo(1600, 1000);
        const double PW = PanelW(), PH = PanelH();
        // The right-hand column: the automatic-mode frame above the command frame.
        const double logW = 0.6 * PW;
        // Heights the layout keeps are read back from the controls (whole pixels).
        const double autoH = w->Twips(w->Download().fraDown(1)->height());
        EXPECT_EQ(w->Download().fraDown(1)->geometry(), Tw(120 + logW + 60, 240, PW - logW - 240, autoH));
        const double cmdH = PH - 240 - autoH - 120;
        EXPECT_EQ(w->Download().fraDown(2)->geometry(), Tw(120 + logW + 60, 240 + autoH, PW - logW - 240, cmdH));

        const double h = (cmdH - c.spare) / c.slotCount;
        double top = 240;
        for (int index : c.shown) {
            QPushButton* b = w->Download().cmdDown(index);
            EXPECT_TRUE(b->isVisibleTo(w.get())) << c.service << " cmdDown " << index;
            EXPECT_EQ(b->geometry(), Tw(120, top, PW - logW - 240 - 240, h)) << c.service << " cmdDown " << index;
            top += h + 120;
        }
        for (int index : c.hidden)
            EXPECT_FALSE(w->Download().cmdDown(index)->isVisibleTo(w.get())) << c.service << " cmdDown " << index;

        const double logTop = 240 + w->Twips(w->Download().fraDown(0)->height()) + 60 + w->Twips(w->Download().lblTitle(0)->height()) + 120;
        const double boxW = logW, boxH = PH - logTop - 0.55 * PH - 240;
        const double centreTop = boxH / 2 - 1095.0 / 2 + c.centreOffset;
        EXPECT_EQ(w->Download().fraDown3Ceneter->geometry(), Tw(boxW / 2 - 5055.0 / 2, centreTop, 5055, 1095));
        EXPECT_EQ(w->Download().picOptionToHalvane->isVisibleTo(w.get()), c.service);
        if (c.service) {
            EXPECT_EQ(w->Download().picOptionToHalvane->geometry(),
                      Tw(boxW / 2 - 5055.0 / 2, centreTop + 1095, 5055, 615));
        }
    }
}

TEST_F(Layout, NoVisibleControlOutsideItsPanel)
{
    for (bool service : {false, true}) {
        App().ServiceMode = service;
        for (int panel = 0; panel < 6; ++panel) {
            for (const QSize& size : {QSize(1, 1), QSize(1600, 1000)}) {
                ShowPanel(panel);
                w->View().chkOutline->setVisible(true);
                if (panel == 3) {
                    // The graph with its check boxes and the summary above it.
                    w->View().optBrowse(1)->setChecked(true);
                    w->View().vfgSummary->setVisible(true);
                    for (QCheckBox* box : w->View().chkBrowse)
                        box->setVisible(true);
                }
                SizeTo(size.width(), size.height());
                const std::string where = "panel " + std::to_string(panel) + (service ? " service " : " user ") +
                                          std::to_string(w->width()) + "x" + std::to_string(w->height());
                ExpectEverythingInside(*w, where);
                if (panel == 5) {
                    // The calibration frame in the place of the status frame.
                    w->Settings().fraOption(1)->setVisible(false);
                    w->Settings().fraOption(2)->setVisible(true);
                    w->Settings().fraAD->setVisible(true);
                    w->Settings().fraG2->setVisible(true);
                    w->Form_Resize();
                    ExpectEverythingInside(*w, where + " calibration");
                    w->Settings().fraOption(1)->setVisible(true);
                    w->Settings().fraOption(2)->setVisible(false);
                }
            }
        }
    }
}

TEST_F(Layout, OnlyTheFirstVisiblePanelIsLaidOut)
{
    ShowPanel(1);
    w->fraMenu(2)->setVisible(true);
    const QRect tree = w->Data().tvwLog->geometry();
    SizeTo(1600, 1000);
    EXPECT_EQ(w->Data().tvwLog->geometry(), tree);
    const double W = PanelW(), H = PanelH();
    EXPECT_EQ(w->Instrument().fraInst->geometry(), Tw(120, 240, 0.25 * W, 0.45 * H));
    EXPECT_EQ(w->Instrument().vfgInstSensor->geometry(), Tw(120, 240 + 0.45 * H + 120, W - 240, H - 240 - 0.45 * H - 360));
}

TEST_F(Layout, ColumnWidthsByLanguageAndMode)
{
    // Information panel: the sensor grid by language.
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        ShowPanel(1);
        w->Instrument().vfgInstSensor->setColumnCount(5);
        SizeTo(1600, 1000);
        const double g = PanelW() - 240;
        const bool en = language == ResLanguage::English;
        const std::vector<int> expected = {Col(0.25 * g), Col((en ? 0.10 : 0.05) * g),
                                           Col((en ? 0.65 : 0.70) * g / 3), Col((en ? 0.65 : 0.70) * g / 3), 100};
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(ColWidth(w->Instrument().vfgInstSensor, c), expected[size_t(c)]) << en << " column " << c;
    }
    SetResLanguage(ResLanguage::English);

    // Settings grid: the divisor of the run is one more than its length.
    ShowPanel(5);
    w->Settings().vfgOption->setColumnCount(2);
    SizeTo(1600, 1000);
    const double ow = PanelW() - 240;
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 0), Col(0.15 * ow));
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 1), 100);
    App().UMode = true;
    w->Settings().vfgOption->setColumnCount(5);
    w->Form_Resize();
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 1), Col(0.08 * ow));
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 2), Col(0.77 * ow / 3));
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 3), Col(0.77 * ow / 3));
    EXPECT_EQ(ColWidth(w->Settings().vfgOption, 4), 100);
    const double cw = w->Twips(w->Settings().vfgCal->width());
    EXPECT_EQ(ColWidth(w->Settings().vfgCal, 1), Col(0.1 * cw));

    // Grids of a column count outside the tables keep their widths.
    auto keeps = [&](DataGrid* grid, int panel, int cols) {
        ShowPanel(panel);
        // Without texts, so that no column is widened to fit one.
        grid->Clear();
        grid->setColumnCount(cols);
        for (int c = 0; c < cols; ++c)
            grid->SetColWidth(c, 777);
        w->Form_Resize();
        for (int c = 0; c < cols; ++c)
            EXPECT_EQ(ColWidth(grid, c), 777) << grid->objectName().toStdString() << " column " << c;
    };
    keeps(w->Data().vfgLog, 2, 6);
    keeps(w->View().vfgBrowse, 3, 9);
    for (QRadioButton* option : w->LastCal().optHistory) {
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    keeps(w->LastCal().vfgHistory, 4, 8);
}

TEST_F(Layout, SettingsGridKeepsItsWidthsForAnUnknownLanguage)
{
    QFile table(home.file("odd.tsv"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("101\tFR\n");
    table.close();
    ASSERT_TRUE(LoadResTableFile(ResLanguage::English, table.fileName()));
    ShowPanel(5);
    w->Settings().fraOption(2)->setVisible(false);
    // Without texts of its own (this table has none) the calibration grid
    // shows its widths as set.
    w->Settings().vfgCal->Clear();
    w->Settings().vfgOption->setColumnCount(4);
    for (int c = 0; c < 4; ++c)
        w->Settings().vfgOption->SetColWidth(c, 555);
    SizeTo(1600, 1000);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(ColWidth(w->Settings().vfgOption, c), 555) << c;
    // The hidden calibration grid's columns still follow its width.
    const double cw = w->Twips(w->Settings().vfgCal->width());
    EXPECT_EQ(ColWidth(w->Settings().vfgCal, 0), Col(0.3 * cw));
    EXPECT_EQ(ColWidth(w->Settings().vfgCal, 2), Col(0.3 * cw));
}

TEST_F(Layout, DataViewTableAndGraph)
{
    ShowPanel(3);
    for (QCheckBox* box : w->View().chkBrowse)
        box->setVisible(true);
    w->View().optBrowse(0)->setChecked(true);
    SizeTo(1600, 1000);
    for (QCheckBox* box : w->View().chkBrowse)
        EXPECT_FALSE(box->isVisibleTo(w.get())) << box->objectName().toStdString();
    EXPECT_TRUE(w->View().vfgBrowse->isVisibleTo(w.get()));
    EXPECT_FALSE(w->View().talGraph->isVisibleTo(w.get()));
    EXPECT_TRUE(w->View().chkEvent->isVisibleTo(w.get()));

    w->View().optBrowse(1)->setChecked(true);
    w->Form_Resize();
    EXPECT_FALSE(w->View().vfgBrowse->isVisibleTo(w.get()));
    EXPECT_TRUE(w->View().talGraph->isVisibleTo(w.get()));
    EXPECT_TRUE(w->View().cmbBrowse->isVisibleTo(w.get()));
    EXPECT_FALSE(w->View().chkEvent->isVisibleTo(w.get()));
    // The graph starts with the table and is 680 twips shorter.
    const QRect table = w->View().vfgBrowse->geometry(), graph = w->View().talGraph->geometry();
    EXPECT_EQ(graph.top(), table.top());
    EXPECT_NEAR(w->Twips(table.height() - graph.height()), 680, 15);

    // The buttons end at the table's right edge and share button 4's size.
    EXPECT_EQ(w->View().cmdBrowse(4)->geometry().right(), table.right());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w->View().cmdBrowse(i)->size(), w->View().cmdBrowse(4)->size()) << i;
        EXPECT_LT(w->View().cmdBrowse(i)->geometry().left(), w->View().cmdBrowse(i + 1)->geometry().left()) << i;
    }
}

TEST_F(Layout, SizesNeverGoNegative)
{
    // A very tall automatic-mode frame leaves no room for the command frame.
    ShowPanel(0);
    MoveTwips(w->Download().fraDown(1), 0, 0, 3000, 20000);
    App().ServiceMode = true;
    SizeTo(1, 1);
    EXPECT_EQ(w->Download().fraDown(2)->height(), 0);
    for (QPushButton* b : w->Download().cmdDown) {
        if (!b->isVisibleTo(w.get()))
            continue;
        EXPECT_GE(b->width(), 0);
        EXPECT_EQ(b->height(), 0) << b->objectName().toStdString();
    }
    // The menu column is laid out after the panel.
    const double sw = w->Twips(w->width());
    EXPECT_EQ(w->cmdInst(0)->geometry().left(), w->Px(sw - 0.12 * sw - 120));
}
