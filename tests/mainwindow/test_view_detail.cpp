#include "main_window_fixture.h"
#include "../views/view_db_fixture.h"

#include <QGroupBox>
#include <QPushButton>

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
