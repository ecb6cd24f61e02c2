#include "view_db_fixture.h"

#include "views/view_panel.h"
#include "views/view_export.h"

#include "common/colors.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"
#include "graph/ucltalgraph.h"
#include "records/instrument.h"
#include "scripted_prompt.h"
#include "null_panel_host.h"
#include "shared/shared_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

// Calls back whenever the watched widget is shown.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<void()> shown) : m_shown(std::move(shown)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            m_shown();
        return false;
    }

private:
    std::function<void()> m_shown;
};

class ViewPanelTest : public ViewDbTest {
protected:
    void SetUp() override
    {
        ViewDbTest::SetUp();
        App().TrendSearchBefore = -10;
        App().TrendSearchAfter = 10;
        frame.resize(900, 700);
        panel = std::make_unique<ViewPanel>(&frame, state, host);
        QObject::connect(panel.get(), &ViewPanel::ShowRequested, [this] { frame.show(); });
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompt.AllUsed());
        panel.reset();
        ViewDbTest::TearDown();
    }
    QString ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    ScriptedPrompt prompt;
    QGroupBox frame;
    SharedState state;
    NullPanelHost host;
    std::unique_ptr<ViewPanel> panel;
    const QDateTime start = MakeDate(2024, 5, 17, 10, 0, 0);
};

} // namespace

TEST_F(ViewPanelTest, NothingPickedIsReported)
{
    prompt.ExpectBox(MsgResult::Ok);
    panel->OpenRecord(0, 0);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "No data selected. Select data to view.");
    EXPECT_EQ(prompt.boxes[0].title, "No view Data");
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Information);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(ViewPanelTest, GraphIsOfferedFromFiveDrawableSamples)
{
    // Four readings and a no-data sample, then five readings.
    StoreInterval(1, "SN1", start, 5, {}, {1, 2, 3, 4, -101});
    StoreInterval(2, "SN1", start.addDays(1), 5, {}, {1, 2, 3, 4, 5});
    // Samples of a disabled gas never count.
    Exec("Update Log_Head Set Gas2Enable = 0;");
    panel->optBrowse(1)->setChecked(true);
    panel->OpenRecord(1, 1);
    EXPECT_TRUE(panel->optBrowse(0)->isChecked());
    EXPECT_FALSE(panel->optBrowse(1)->isEnabled());
    EXPECT_EQ(panel->Frame()->title(), "Data View(Interval Trend)");
    EXPECT_EQ(panel->vfgBrowse->Rows(), 6);

    panel->OpenRecord(1, 2);
    EXPECT_TRUE(panel->optBrowse(1)->isEnabled());
    EXPECT_TRUE(panel->optBrowse(0)->isChecked()); // the choice stays
    EXPECT_FALSE(panel->BrowseFilled());
    EXPECT_EQ(panel->talGraph->SampleCount(), 5);
    // The first switch refills once; switching back and forth refills nothing.
    panel->optBrowse(1)->setChecked(true);
    EXPECT_TRUE(panel->BrowseFilled());
    panel->talGraph->Clear();
    panel->optBrowse(0)->setChecked(true);
    panel->optBrowse(1)->setChecked(true);
    EXPECT_EQ(panel->talGraph->SampleCount(), 0);
}

// A stored trend longer than the graph holds: the table, the summary and
// the export show every sample and event; the graph gets its capacity, the
// first 16,361 samples.
TEST_F(ViewPanelTest, TrendLongerThanTheGraphIsShownWhole)
{
    constexpr int kSamples = 16500;
    const QDateTime late = start.addSecs(10 * 16400 + 3);
    StoreInterval(1, "SN1", start, kSamples, {{start.addSecs(10 * 20 + 3), -104, -101}, {late, -101, -103}});
    panel->OpenRecord(1, 1);
    ASSERT_EQ(panel->vfgBrowse->Rows(), kSamples + 2 + 1);
    EXPECT_EQ(panel->vfgSummary->Text(6, 1), QString::number(kSamples + 2));
    const int lastRow = kSamples + 2;
    EXPECT_EQ(panel->vfgBrowse->Text(lastRow, 1), GeneralDate(start.addSecs(10 * (kSamples - 1))));
    EXPECT_EQ(panel->vfgBrowse->Text(16400 + 3, 1), GeneralDate(late));
    EXPECT_EQ(panel->vfgBrowse->Text(16400 + 3, 3), "WARNING");

    EXPECT_EQ(panel->talGraph->SampleCount(), GraphModel::kSampleSlots);
    EXPECT_EQ(panel->talGraph->valueX(GraphModel::kMaxSampleIndex), start.addSecs(10 * GraphModel::kMaxSampleIndex));
    EXPECT_EQ(panel->talGraph->EventCount(1), 1);

    const QStringList lines = BuildSampleText(1, panel->Records(), {}, ",").split("\r\n");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[lines.size() - 2],
              QStringLiteral("%1,%2,").arg(lastRow).arg(GeneralDate(start.addSecs(10 * (kSamples - 1))))
                  + panel->vfgBrowse->Text(lastRow, 2) + "," + panel->vfgBrowse->Text(lastRow, 3));
}

TEST_F(ViewPanelTest, EventKindsHideTheSummaryAndTheOthersShowItAgain)
{
    StoreHead(5, 5, "SN1", start);
    StoreAlarm(6, "SN1", start, 361);
    panel->OpenRecord(5, 5);
    EXPECT_EQ(panel->Frame()->title(), "Data View(Alarm Events)");
    EXPECT_FALSE(panel->vfgSummary->isVisibleTo(&frame));
    EXPECT_EQ(panel->vfgBrowse->Rows(), 1);
    panel->OpenRecord(2, 6);
    EXPECT_TRUE(panel->vfgSummary->isVisibleTo(&frame));
    EXPECT_EQ(panel->vfgSummary->Text(2, 1), "2024/05/17 10:00:00");
    EXPECT_EQ(panel->vfgBrowse->Rows(), 361);
    EXPECT_EQ(panel->vfgBrowse->CellBackColor(181, 1), RGB(255, 0, 0));
    EXPECT_EQ(panel->vfgBrowse->CellBackColor(181, 0), 0);
    // The Summary button hides it, and the next record keeps it hidden.
    panel->cmdBrowse(3)->click();
    panel->OpenRecord(2, 6);
    EXPECT_FALSE(panel->vfgSummary->isVisibleTo(&frame));
}

// An alarm trend opened on the graph fills its table on the switch to
// Table; the alarm row is then in view although the table was hidden while
// it was filled.
TEST_F(ViewPanelTest, AlarmRowInViewAfterSwitchingFromGraphToTable)
{
    StoreAlarm(6, "SN1", start, 361);
    panel->optBrowse(1)->setChecked(true);
    panel->OpenRecord(2, 6);
    ASSERT_TRUE(panel->optBrowse(1)->isChecked());
    panel->optBrowse(0)->setChecked(true);
    ASSERT_TRUE(panel->vfgBrowse->isVisible());
    const QRect alarmRow = panel->vfgBrowse->visualRect(panel->vfgBrowse->model()->index(181, 1));
    EXPECT_TRUE(panel->vfgBrowse->viewport()->rect().contains(alarmRow)) << alarmRow.y();
}

TEST_F(ViewPanelTest, ExportWritesTheTextAndReportsFailures)
{
    StoreInterval(1, "SN1", start, 6, {{start.addSecs(10), -104, -101}});
    panel->OpenRecord(1, 1);
    const QString path = home.file("data.txt");
    prompt.ExpectFile(path, 2); // "Tab csv"
    panel->cmdBrowse(2)->click();
    ASSERT_EQ(prompt.fileDialogs.size(), 1);
    EXPECT_EQ(prompt.fileDialogs[0].fileName, JoinPath(ProgramFolder(), "Sample.csv"));
    const QString expected = BuildSampleText(1, panel->Records(), {}, "\t") + "\r\n";
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_TRUE(expected.endsWith("\r\n\r\n"));
    EXPECT_EQ(state.ExportFileName, path);

    // The next export proposes data.csv; an existing file is asked about.
    const QString csv = home.file("data.csv");
    QFile(csv).open(QIODevice::WriteOnly);
    prompt.ExpectFile(csv, 1);
    prompt.ExpectBox(MsgResult::No);
    panel->cmdBrowse(2)->click();
    EXPECT_EQ(prompt.fileDialogs[1].fileName, csv);
    EXPECT_EQ(prompt.boxes.last().title, "Override");
    EXPECT_EQ(ReadFile(csv), QString());

    // A folder that does not exist is reported, and nothing changes.
    prompt.ExpectFile(home.file("missing/x.csv"), 1);
    prompt.ExpectBox(MsgResult::Ok);
    panel->cmdBrowse(2)->click();
    EXPECT_EQ(prompt.boxes.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(prompt.boxes.last().text.startsWith("The file could not be written."));
    EXPECT_EQ(state.ExportFileName, path);

    // Cancel ends silently.
    prompt.ExpectFile(QString());
    panel->cmdBrowse(2)->click();

    // The clipboard gets the TAB text.
    panel->cmdBrowse(1)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), BuildSampleText(1, panel->Records(), {}, "\t"));
}

TEST_F(ViewPanelTest, GraphExportIsABitmapOfTheGraph)
{
    StoreAlarm(6, "SN1", start, 361);
    frame.show();
    panel->OpenRecord(2, 6);
    panel->optBrowse(1)->setChecked(true);
    panel->talGraph->resize(600, 400);
    panel->talGraph->Refresh();
    const QString path = home.file("graph.bmp");
    prompt.ExpectFile(path);
    panel->cmdBrowse(2)->click();
    QImage back(path, "BMP");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), panel->talGraph->Picture().size());
    EXPECT_EQ(state.ExportFileName, path);
    EXPECT_EQ(panel->talGraph->EventFlag(1000, 180), "Alarm");
}

TEST_F(ViewPanelTest, StatusCellOpensTheAlarmTrendInTheDataViewWindow)
{
    const QDateTime alarmAt = start.addSecs(20);
    StoreInterval(1, "SN1", start, 10, {{alarmAt, -104, -101}});
    StoreAlarm(7, "SN1", alarmAt.addSecs(3), 361);
    StoreAlarm(8, "SN2", alarmAt, 361);
    frame.show();
    panel->OpenRecord(1, 1);
    DataGrid& grid = *panel->vfgBrowse;
    ASSERT_TRUE(grid.Text(3, 2).startsWith("ALARM("));
    QString caption, windowCaption;
    int tableRows = 0;
    std::int32_t red = 0;
    prompt.ExpectWindow([&](QWidget* w) {
        auto* win = static_cast<DataViewWindow*>(w);
        caption = win->fraMenu->title();
        windowCaption = win->windowTitle();
        tableRows = win->vfgBrowse->Rows();
        red = win->vfgBrowse->CellBackColor(181, 2);
        return 0;
    });
    grid.scrollToTop();
    const QRect cell = grid.visualRect(grid.model()->index(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(prompt.windows.size(), 1);
    EXPECT_EQ(caption, "Data View(Alarm Trend)");
    EXPECT_EQ(windowCaption, "Pelkar  - Data Logger Management Program [P.No.30502]");
    EXPECT_EQ(tableRows, 361);
    EXPECT_EQ(red, RGB(255, 0, 0));
    EXPECT_EQ(panel->DataView().request.seqNo, 7);
    EXPECT_EQ(panel->DataView().request.baseDate, alarmAt);

    // The right button, the number column and a plain cell are no targets.
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cell.center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(3, 0)).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(2, 2)).center());
    EXPECT_EQ(prompt.windows.size(), 1);

    // Nothing found: the message, no window.
    panel->OpenRecord(1, 1);
    prompt.ExpectBox(MsgResult::Ok);
    panel->RunTrendSearch(alarmAt.addDays(3));
    EXPECT_EQ(prompt.boxes.last().text, "Trend data not found");
    EXPECT_EQ(prompt.boxes.last().title, "Trend search");
}

// Enter and the keypad's Enter on a status cell search as a click on it
// does; on any other cell they do nothing.
TEST_F(ViewPanelTest, EnterOnAStatusCellOpensTheAlarmTrend)
{
    const QDateTime alarmAt = start.addSecs(20);
    StoreInterval(1, "SN1", start, 10, {{alarmAt, -104, -101}});
    StoreAlarm(7, "SN1", alarmAt.addSecs(3), 361);
    frame.show();
    panel->OpenRecord(1, 1);
    DataGrid& g = *panel->vfgBrowse;
    ASSERT_TRUE(g.Text(3, 2).startsWith("ALARM("));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } enters[] = {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
    for (const auto& enter : enters) {
        QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&g, Qt::Key_Down);
        QTest::keyClick(&g, Qt::Key_Down);
        QTest::keyClick(&g, Qt::Key_Right);
        ASSERT_EQ(g.currentIndex(), g.model()->index(3, 2));
        qint64 shown = 0;
        prompt.ExpectWindow([&shown](QWidget* w) {
            shown = static_cast<DataViewWindow*>(w)->vfgBrowse->Rows();
            return 0;
        });
        QTest::keyClick(&g, enter.key, enter.modifiers);
        EXPECT_EQ(shown, 361) << "the alarm trend's table";
        EXPECT_EQ(panel->DataView().request.seqNo, 7);
        EXPECT_EQ(panel->DataView().request.baseDate, alarmAt);
    }
    EXPECT_EQ(prompt.windows.size(), 2);

    // Plain cells and the date cell of the status row are no targets.
    for (const Qt::Key move : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down}) {
        QTest::keyClick(&g, move);
        QTest::keyClick(&g, Qt::Key_Return);
    }
    EXPECT_EQ(g.currentIndex(), g.model()->index(3, 1));
    EXPECT_EQ(prompt.windows.size(), 2);
}

TEST_F(ViewPanelTest, DataViewWindowByNumberOfPoints)
{
    StoreAlarm(10, "SN1", start, 0);
    StoreAlarm(11, "SN1", start, 4);
    StoreAlarm(12, "SN1", start, 5);
    const struct {
        qint64 seqNo;
        int rows;
        bool graph;
    } cases[] = {{10, 1, false}, {11, 5, false}, {12, 6, true}};
    for (const auto& c : cases) {
        bool graphEnabled = !c.graph;
        int rows = -1;
        QString summaryCount;
        prompt.ExpectWindow([&](QWidget* w) {
            auto* win = static_cast<DataViewWindow*>(w);
            graphEnabled = win->optBrowse(1)->isEnabled();
            rows = win->vfgBrowse->Rows();
            summaryCount = win->vfgSummary->Text(6, 1);
            return 0;
        });
        panel->OpenDataViewWindow({c.seqNo, 2, start});
        EXPECT_EQ(graphEnabled, c.graph) << c.seqNo;
        EXPECT_EQ(rows, c.rows) << c.seqNo;
        EXPECT_EQ(summaryCount, QString::number(c.rows - 1));
    }
}

TEST_F(ViewPanelTest, DataViewWindowHourglassWhileSwitchingAndFilling)
{
    StoreAlarm(12, "SN1", start, 361);
    // The pointer each time a view is shown or the table's rows are written
    // (-1: none set).
    QList<int> shapes;
    const auto note = [&shapes] {
        const QCursor* c = QGuiApplication::overrideCursor();
        shapes << (c ? static_cast<int>(c->shape()) : -1);
    };
    prompt.ExpectWindow([&](QWidget* w) {
        auto* win = static_cast<DataViewWindow*>(w);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        win->show();
        ShowWatcher watch(note);
        win->talGraph->installEventFilter(&watch);
        win->vfgBrowse->installEventFilter(&watch);
        QObject::connect(win->vfgBrowse->model(), &QAbstractItemModel::rowsInserted, &watch, note);
        for (int view : {1, 0, 1})
            win->optBrowse(view)->setChecked(true);
        win->chkEvent->setChecked(!win->chkEvent->isChecked()); // the tables filled again
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "restored";
        return 0;
    });
    panel->OpenDataViewWindow({12, 2, start});
    ASSERT_GE(shapes.size(), 3);
    for (int shape : shapes)
        EXPECT_EQ(shape, Qt::WaitCursor);
}

// Tab takes the window's graph options in their order on screen: from the
// last shown series box to the zoom list in the row below, then on to
// Cursor (an alarm trend has no Event box), and Shift+Tab back.
TEST_F(ViewPanelTest, DataViewWindowTabsThroughTheGraphOptionsInScreenOrder)
{
    StoreAlarm(12, "SN1", start, 361);
    QStringList reached;
    const QStringList expected{"cmbBrowse", "chkBrowse(6)", "cmbBrowse"};
    prompt.ExpectWindow([&](QWidget* w) {
        auto* win = static_cast<DataViewWindow*>(w);
        win->show();
        win->activateWindow();
        if (!QTest::qWaitForWindowActive(win))
            return 0;
        win->optBrowse(1)->setChecked(true);
        win->chkBrowse(1)->setFocus(Qt::TabFocusReason);
        const std::pair<Qt::Key, Qt::KeyboardModifier> keys[] = {
            {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Backtab, Qt::ShiftModifier}};
        for (const auto& [key, modifier] : keys) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus)
                break;
            QTest::keyClick(focus, key, modifier);
            focus = QApplication::focusWidget();
            reached << (focus ? focus->objectName() : QStringLiteral("nothing"));
        }
        return 0;
    });
    panel->OpenDataViewWindow({12, 2, start});
    EXPECT_EQ(reached, expected);
}

TEST_F(ViewPanelTest, DataViewWindowLayoutAndItsOwnExportName)
{
    StoreAlarm(12, "SN1", start, 361);
    state.ExportFileName = home.file("main.csv");
    const QString path = home.file("window.txt");
    prompt.ExpectWindow([&](QWidget* w) {
        auto* win = static_cast<DataViewWindow*>(w);
        win->resize(100, 100);
        EXPECT_GE(win->width(), PxAt(win, 11640) - 1);
        EXPECT_GE(win->height(), PxAt(win, 8250) - 1);
        prompt.ExpectFile(path, 1);
        win->cmdBrowse(2)->click();
        return 0;
    });
    panel->OpenDataViewWindow({12, 2, start});
    ASSERT_EQ(prompt.fileDialogs.size(), 1);
    EXPECT_EQ(prompt.fileDialogs[0].fileName, JoinPath(ProgramFolder(), "Sample.csv"));
    EXPECT_EQ(panel->DataView().lastExport, path);
    EXPECT_EQ(state.ExportFileName, home.file("main.csv"));
    EXPECT_TRUE(ReadFile(path).startsWith("Pelkar Data Sample (Alarm Trend)\r\n"));

    const struct {
        int cols;
        std::vector<int> widths;
    } widths[] = {
        {2, {290}},
        {4, {100, 250, 325}},
        {5, {100, 300, 200, 200}},
        {8, {100, 250, 100, 100, 100, 100, 100}},
        {9, {}},
    };
    for (const auto& w : widths)
        EXPECT_EQ(DataViewColumnWidths(w.cols, 1000), w.widths) << w.cols;

    SetResLanguage(ResLanguage::Japanese);
    EXPECT_TRUE(DataViewWindowCaption().endsWith(" [P.No.30501]"));
    App().ServiceMode = true;
    EXPECT_TRUE(DataViewWindowCaption().endsWith("[P.No.30503]"));
}
