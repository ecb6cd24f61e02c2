#include "main_window_fixture.h"
#include "../views/view_db_fixture.h"

#include "common/widgets/grid_writer.h"
#include "views/view_panel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

// The browser's Detail opens the picked record in the data view panel, and
// Return goes back to the browser.
TEST_F(MainWindowTest, DetailOpensThePickedRecordAndReturnGoesBack)
{
    CreateLogDatabase(LogDatabasePath());
    StoreAlarm(4, "SN1", MakeDate(2024, 5, 17, 12, 0, 0), 361);
    frmMain& w = MakeWindow();
    w.LoadCaptions();
    w.show();
    w.Data().SelectedKind = 2;
    w.Data().SelectedSeqNo = 4;
    emit w.Data().DetailRequested();
    EXPECT_TRUE(w.fraMenu(3)->isVisible());
    EXPECT_FALSE(w.fraMenu(2)->isVisible());
    EXPECT_EQ(w.fraMenu(3)->title(), "Data View(Alarm Trend)");
    EXPECT_EQ(w.View().SeqNo(), 4);
    w.View().cmdBrowse(4)->click();
    EXPECT_TRUE(w.fraMenu(2)->isVisible());
    EXPECT_FALSE(w.fraMenu(3)->isVisible());
}

// Only an alarm trend opens at its alarm row, with the cursor on it: a table
// opened after one starts at its first row. Ctrl+End and Ctrl+Home then
// reach the last and the first row and bring them into view, the captions
// staying above them, also after the rows were scrolled away from the
// current cell.
TEST_F(MainWindowTest, TablesOpenAtTheTopAndCtrlHomeAndCtrlEndReachTheEnds)
{
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreAlarm(4, "SN1", start, 361);
    StoreInterval(5, "SN1", start.addDays(1), 300, {});
    frmMain& w = MakeWindow();
    w.LoadCaptions();
    w.resize(1024, 768);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    DataGrid& g = *w.View().vfgBrowse;
    auto open = [&w, &g](int kind, qint64 seqNo) {
        w.Data().SelectedKind = kind;
        w.Data().SelectedSeqNo = seqNo;
        emit w.Data().DetailRequested();
        g.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(g.hasFocus());
    };

    open(2, 4);
    const int alarmTop = g.rowAt(0);
    EXPECT_GT(alarmTop, 150) << "the alarm trend opens at its alarm row";
    EXPECT_EQ(g.currentRow(), 181) << "the cursor stands on the alarm row";

    open(1, 5);
    ASSERT_EQ(g.Rows(), 301);
    EXPECT_EQ(g.rowAt(0), 1) << "the interval trend opens at its top";
    EXPECT_EQ(g.currentRow(), 1);
    EXPECT_EQ(g.horizontalScrollBar()->value(), 0);

    open(2, 4);
    EXPECT_EQ(g.rowAt(0), alarmTop);
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.rowAt(0), alarmTop) << "the keys go on from the alarm row";
    open(1, 5);

    const QRect band = g.CaptionBand();
    auto inView = [&g](int row) {
        const QRect cell = g.visualRect(g.model()->index(row, 1));
        return cell.top() >= 0 && cell.bottom() < g.viewport()->height();
    };
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(g.currentRow(), 300);
    EXPECT_TRUE(inView(300)) << "the last row shows whole";
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(g.currentRow(), 1);
    EXPECT_EQ(g.rowAt(0), 1);
    g.verticalScrollBar()->setValue(175);
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(g.rowAt(0), 1) << "Ctrl+Home on the first row brings it back into view";
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    g.verticalScrollBar()->setValue(1);
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(inView(300)) << "Ctrl+End on the last row brings it back into view";
    EXPECT_EQ(g.CaptionBand(), band);
}
