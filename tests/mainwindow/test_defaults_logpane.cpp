#include "main_window_fixture.h"

#include "common/colors.h"
#include "common/widgets/shape_lamp.h"
#include "records/collections.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

namespace {

struct PaneLine {
    QString text;
    QColor color;
};

QList<PaneLine> Lines(const QTextEdit* pane)
{
    QList<PaneLine> out;
    for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next()) {
        QColor color;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            color = it.fragment().charFormat().foreground().color();
        if (!color.isValid())
            color = b.charFormat().foreground().color();
        out.append({b.text(), color});
    }
    return out;
}

// The window's first-run size in pixels on a screen of the given size.
QSize FirstRunPixels(frmMain& w, int screenWidth, int screenHeight)
{
    const QSizeF first = frmMain::FirstRunSize(w.Twips(screenWidth), w.Twips(screenHeight));
    return QSize(w.Px(first.width()), w.Px(first.height()));
}

// Resizes the shown window and lets it lay out and wrap its panes anew.
void ResizeWindow(frmMain& w, const QSize& size)
{
    w.resize(size);
    w.Form_Resize();
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(MainWindowTest, DefaultsAtStartUp)
{
    frmMain& w = MakeWindow();
    w.Download().rtbLog->setPlainText(QStringLiteral("left over"));
    w.InitDefaults();
    const AppState& a = App();

    EXPECT_EQ(a.GraphColor[0], 255);
    EXPECT_EQ(a.GraphColor[1], 16744448);
    ASSERT_TRUE(a.DisplayFont.has_value());
    EXPECT_EQ(a.DisplayFont->Size, 9.0f);
    EXPECT_EQ(w.Settings().cmdOptionDisp(0)->text(), a.DisplayFont->Name + QStringLiteral("(9)"));
    EXPECT_EQ(w.Settings().cmdOptionDisp(1)->property("BackColor").toInt(), 255);
    EXPECT_EQ(w.Settings().cmdOptionDisp(2)->property("BackColor").toInt(), 16744448);
    EXPECT_TRUE(w.tmrInter->isActive());
    EXPECT_EQ(w.tmrInter->interval(), 100);
    EXPECT_EQ(a.CommPort, 4);
    EXPECT_EQ(a.Password, QStringLiteral("Morva"));
    EXPECT_EQ(a.PrtWidth[0], 1.0f);
    EXPECT_EQ(a.PrtWidth[1], 1.0f);
    EXPECT_EQ(a.CalibRange[0], 12.0f);
    EXPECT_EQ(a.CalibRange[1], 100.0f);
    EXPECT_EQ(a.CalSpanOffWait, 45);
    EXPECT_EQ(a.CalSpanOnWait, 90);
    EXPECT_EQ(a.CalUnitOnWait, 45);
    EXPECT_EQ(a.TrendSearchBefore, -10);
    EXPECT_EQ(a.TrendSearchAfter, 10);
    EXPECT_EQ(a.SqlDateFormat, QStringLiteral("mm\"/\"dd\"/\"yy hh\":\"nn\":\"ss"));

    // Lamps, pane, buttons, flags.
    EXPECT_EQ(w.Download().LampOnColor, (std::array<std::int32_t, 2>{RGB(0, 255, 0), RGB(0, 192, 0)}));
    EXPECT_EQ(w.Download().LampOffColor, (std::array<std::int32_t, 2>{RGB(160, 160, 160), RGB(128, 128, 128)}));
    EXPECT_EQ(w.Download().LampErrorColor, (std::array<std::int32_t, 2>{RGB(254, 0, 0), RGB(192, 0, 0)}));
    EXPECT_EQ(w.Download().shpStatus(0)->FillColor(), RGB(0, 255, 0));
    EXPECT_EQ(w.Download().shpStatus(0)->BorderColor(), RGB(0, 192, 0));
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(w.Download().shpStatus(i)->FillColor(), RGB(160, 160, 160)) << i;
        EXPECT_EQ(w.Download().shpStatus(i)->BorderColor(), RGB(128, 128, 128)) << i;
    }
    EXPECT_TRUE(w.Download().shpStatus(2)->isHidden());
    EXPECT_TRUE(w.Download().shpStatus(3)->isHidden());
    EXPECT_TRUE(w.Download().lblStatus(8)->isHidden());
    EXPECT_TRUE(w.Download().lblStatus(9)->isHidden());
    EXPECT_TRUE(w.Download().rtbLog->toPlainText().isEmpty());
    for (int i = 0; i < w.Download().cmdDown.Count(); ++i)
        EXPECT_FALSE(w.Download().cmdDown(i)->isEnabled()) << i;
    EXPECT_FALSE(w.Settings().cmdOption(0)->isEnabled());
    EXPECT_FALSE(w.Download().chkAutoLoad(0)->isChecked());
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isChecked());
    EXPECT_FALSE(w.Download().chkAutoLoad(1)->isEnabled());
    EXPECT_TRUE(w.Download().AutoLoadClickOn);
    EXPECT_TRUE(w.State().TreeRefreshNeeded);
    EXPECT_TRUE(w.State().ExportFileName.isEmpty());
    EXPECT_TRUE(w.LastCal().optHistory(1)->isChecked());
    EXPECT_FALSE(w.State().ShowSampleInstrument);
    EXPECT_FALSE(w.State().LiveValuesOn);

    // Gas set-up and replacement gases (a sample of the tables).
    EXPECT_EQ(a.CurrentGas[0].Name, QStringLiteral("CO"));
    EXPECT_EQ(a.CurrentGas[0].FullScale, 1000.0f);
    EXPECT_EQ(a.CurrentGas[0].AutoCalib, 80.0f);
    EXPECT_EQ(a.FactAutoCal[0], 80.0f);
    EXPECT_EQ(a.CurrentGas[1].Name, QStringLiteral("OXY"));
    EXPECT_EQ(a.CurrentGas[1].Unit, QStringLiteral("VOL%"));
    EXPECT_EQ(a.CurrentGas[1].Point, 1);
    EXPECT_EQ(a.CurrentGas[1].Warning, 19.5f);
    EXPECT_EQ(a.CurrentGas[1].Alarm, 18.0f);
    EXPECT_EQ(a.CurrentGas[1].Stel, -101.0f);
    EXPECT_TRUE(a.CurrentGas[1].Enabled);
    EXPECT_FALSE(a.GasLocked[0]);
    EXPECT_EQ(a.ChgGasTable[0][1].Name, QStringLiteral("H2S"));
    EXPECT_EQ(a.ChgGasTable[0][1].Desit, 0.5f);
    EXPECT_EQ(a.ChgGasTable[1][1].Alarm, 25.0f);
    EXPECT_FALSE(a.ChgGasTable[1][1].Enabled);
    EXPECT_EQ(a.ChgGas01Table[0][0].FullScale, 1500.0f);
    EXPECT_EQ(a.ChgGas01Table[1][1].Alarm, 23.5f);
    EXPECT_FALSE(a.ChgGasTable[0][3].Enabled);
    EXPECT_TRUE(a.ChgGasTable[0][3].Name.isEmpty());
}

TEST_F(MainWindowTest, DefaultsReplaceOnlyValuesOutOfRange)
{
    struct Case {
        float prt, expectPrt;
    };
    for (const Case c : {Case{0.5f, 1.0f}, Case{1.0f, 1.0f}, Case{100.0f, 100.0f}, Case{100.5f, 1.0f},
                         Case{-3.0f, 1.0f}, Case{42.0f, 42.0f}}) {
        App().PrtWidth = {c.prt, c.prt};
        frmMain& w = MakeWindow();
        w.InitDefaults();
        EXPECT_EQ(App().PrtWidth[0], c.expectPrt) << c.prt;
        EXPECT_EQ(App().PrtWidth[1], c.expectPrt) << c.prt;
    }
    App().CalibRange = {5.0f, 0.0f};
    App().CommPort = 7;
    App().Password = QStringLiteral("secret");
    App().CalSpanOnWait = 30;
    App().TrendSearchBefore = -30;
    frmMain& w = MakeWindow();
    w.InitDefaults();
    EXPECT_EQ(App().CalibRange[0], 5.0f);
    EXPECT_EQ(App().CalibRange[1], 100.0f);
    EXPECT_EQ(App().CommPort, 7);
    EXPECT_EQ(App().Password, QStringLiteral("secret"));
    EXPECT_EQ(App().CalSpanOnWait, 30);
    EXPECT_EQ(App().TrendSearchBefore, -10) << "the search window is always reset";
}

TEST_F(MainWindowTest, AutomaticModeBoxesFollowTheSettingsWithoutAsking)
{
    struct Case {
        bool autoLoad, autoRemove;
        bool box1Enabled;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, true}, Case{true, true, true},
                         Case{false, true, false}}) {
        App().AutoLoad = c.autoLoad;
        App().AutoRemoveData = c.autoRemove;
        frmMain& w = MakeWindow();
        w.InitDefaults();
        EXPECT_EQ(w.Download().chkAutoLoad(0)->isChecked(), c.autoLoad);
        EXPECT_EQ(w.Download().chkAutoLoad(1)->isChecked(), c.autoRemove);
        EXPECT_EQ(w.Download().chkAutoLoad(1)->isEnabled(), c.box1Enabled);
        EXPECT_TRUE(w.Download().AutoLoadClickOn);
    }
    // No box was asked (the prompt fails the test on one).
}

TEST_F(MainWindowTest, SecondRunOfTheDefaultsKeepsTheObjectsAndResetsTheWindow)
{
    frmMain& w = MakeWindow();
    w.InitDefaults();
    clsInstrument* first = &w.State().MainInstrument();
    w.Download().AddLogText(QStringLiteral("Pelkar  Auto Power OFF Complete."), RGB(0, 192, 0));
    w.Download().cmdDown(3)->setEnabled(true);
    w.State().TreeRefreshNeeded = false;
    w.State().ExportFileName = QStringLiteral("x.csv");
    w.State().ShowSampleInstrument = true;
    clsIntervals* intervals = &w.State().MainIntervals();
    clsHistorys* histories = &w.State().MainHistorys();
    w.InitDefaults();
    EXPECT_EQ(&w.State().MainInstrument(), first);
    EXPECT_EQ(&w.State().MainIntervals(), intervals);
    EXPECT_EQ(&w.State().MainHistorys(), histories);
    // Every collection binds new records to the window's instrument.
    EXPECT_EQ(w.State().MainIntervals().Instruments(), first);
    EXPECT_EQ(w.State().MainAlarms().Instruments(), first);
    EXPECT_EQ(w.State().MainPowerEvents().Instruments(), first);
    EXPECT_EQ(w.State().MainHistorys().Instruments(), first);
    EXPECT_TRUE(w.Download().rtbLog->toPlainText().isEmpty());
    EXPECT_FALSE(w.Download().cmdDown(3)->isEnabled());
    EXPECT_TRUE(w.State().TreeRefreshNeeded);
    EXPECT_TRUE(w.State().ExportFileName.isEmpty());
    EXPECT_FALSE(w.State().ShowSampleInstrument);
}

TEST_F(MainWindowTest, LogPaneLinesInTheirColours)
{
    frmMain& w = MakeWindow();
    w.InitDefaults();
    w.Download().AddLogText(QStringLiteral("Connect Sequence Pelkar  ...(1)"), RGB(0, 192, 0));
    w.Download().AddLogText(GetResString(5371), RGB(255, 0, 0));
    w.Download().AddLogText(QString(), RGB(192, 64, 64));
    w.Download().AddLogText(QStringLiteral("block ends\r\n"), RGB(0, 0, 192)); // a text ending in "~c"
    w.Download().AddLogText(QStringLiteral("Pelkar  ...Connection Successful."), RGB(0, 0, 255));
    // Text the user selected or a caret moved elsewhere does not disturb
    // the next line.
    QTextCursor c = w.Download().rtbLog->textCursor();
    c.setPosition(3);
    c.setPosition(8, QTextCursor::KeepAnchor);
    w.Download().rtbLog->setTextCursor(c);
    w.Download().AddLogText(QStringLiteral("auto end"), RGB(32, 128, 0));

    const QList<PaneLine> lines = Lines(w.Download().rtbLog);
    const QList<std::pair<QString, QColor>> expected = {
        {"Connect Sequence Pelkar  ...(1)", QColor(0, 192, 0)},
        {"Communication Ports Error. Restart this program.", QColor(255, 0, 0)},
        {"", QColor(192, 64, 64)},
        {"block ends", QColor(0, 0, 192)},
        {"", QColor(0, 0, 192)},
        {"Pelkar  ...Connection Successful.", QColor(0, 0, 255)},
        {"auto end", QColor(32, 128, 0)},
        {"", QColor()},
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i].first) << i;
        if (!lines[i].text.isEmpty()) {
            EXPECT_EQ(lines[i].color, expected[i].second) << i;
        }
    }
    EXPECT_EQ(w.Download().rtbLog->toPlainText(),
              QStringLiteral("Connect Sequence Pelkar  ...(1)\nCommunication Ports Error. Restart this program.\n\n"
                             "block ends\n\nPelkar  ...Connection Successful.\nauto end\n"));
}

// The start-up line that the database is in use, with a long database path,
// reads whole in either language at the first-run size on a 1024x768
// screen, below lines enough to fill the pane: it wraps at the pane's width
// (the path too, where it has no blank), needs no sideways scroll, stands
// whole in view and keeps its colour to the last character.
TEST_F(MainWindowTest, LongLogLineWrapsAtThePaneWidthInItsColour)
{
    const QString path = QDir::toNativeSeparators(
        QStringLiteral("/home/safety-officer/Documents/GasMonitoring/Pelkar/DatabaseOfDownloadedLogs/Pelkar.db"));
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SCOPED_TRACE(language == ResLanguage::English ? "English" : "Japanese");
        SetResLanguage(language);
        frmMain& w = MakeWindow();
        w.Form_Load();
        w.show();
        ResizeWindow(w, FirstRunPixels(w, 1024, 768));
        QTextEdit* pane = w.Download().rtbLog;
        ASSERT_TRUE(pane->isVisible());
        pane->clear();
        for (int i = 0; i < 20; ++i)
            w.Download().AddLogText(GetResString(5773, QStringLiteral("/dev/ttyUSB0"), GetResString(5940)),
                                    RGB(0, 192, 0));
        const QString text = GetResString(20121, path);
        w.Download().AddLogText(text, RGB(255, 0, 0));
        QCoreApplication::processEvents();

        QTextDocument* doc = pane->document();
        const QTextBlock block = doc->lastBlock().previous(); // the pane ends in a line break
        EXPECT_EQ(block.text(), text);
        EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 0) << "a sideways scroll is needed";
        const double room = pane->viewport()->width() - 2 * doc->documentMargin();
        const QTextLayout* layout = block.layout();
        ASSERT_NE(layout, nullptr);
        EXPECT_GT(layout->lineCount(), 1) << "the line is longer than the pane is wide";
        for (int i = 0; i < layout->lineCount(); ++i)
            EXPECT_LE(layout->lineAt(i).naturalTextWidth(), room) << i;
        // The view followed the newest line: all of it stands in view.
        const QRectF lines = doc->documentLayout()->blockBoundingRect(block);
        const int scrolled = pane->verticalScrollBar()->value();
        EXPECT_GE(lines.top() - scrolled, 0);
        EXPECT_LE(lines.bottom() - scrolled, pane->viewport()->height());
        for (auto it = block.begin(); !it.atEnd(); ++it)
            EXPECT_EQ(it.fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    }
}

// A resize wraps the pane's lines anew: a pane at its newest line stays
// there, with that line whole in view; one the user scrolled to its top
// stays at its top.
TEST_F(MainWindowTest, LogPaneKeepsItsPlaceWhenTheWindowIsResized)
{
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.show();
    ResizeWindow(w, FirstRunPixels(w, 1280, 1024));
    QTextEdit* pane = w.Download().rtbLog;
    pane->clear();
    for (int i = 0; i < 40; ++i)
        w.Download().AddLogText(GetResString(20121, QStringLiteral("/home/user/GasMonitoring/Pelkar.db")),
                                RGB(255, 0, 0));
    QCoreApplication::processEvents();
    QScrollBar* bar = pane->verticalScrollBar();
    ASSERT_EQ(bar->value(), bar->maximum());

    const QSize wide = w.size();
    ResizeWindow(w, FirstRunPixels(w, 1024, 768));
    const QTextBlock last = pane->document()->lastBlock().previous();
    const QRectF lines = pane->document()->documentLayout()->blockBoundingRect(last);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_LE(lines.bottom() - bar->value(), pane->viewport()->height()) << "the newest line is below the view";

    bar->setValue(0);
    ResizeWindow(w, wide);
    EXPECT_EQ(bar->value(), 0) << "a pane the user scrolled up was moved";
}
