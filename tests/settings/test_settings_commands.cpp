// Update, Date/Time Set, the calibration frame, zero and span on the
// scripted interface control.
#include "settings_window_fixture.h"

#include "common/clock.h"
#include "common/colors.h"
#include "common/logdb.h"
#include "common/prompt.h"
#include "download/frmUpload.h"

#include <QFile>
#include <QGroupBox>
#include <QSqlQuery>
#include <QTest>

TEST_F(SettingsWindowTest, UpdatePreChecksSendNothing)
{
    struct Case {
        const char* oxy;
        float w0, a0, w1, a1;
        bool enabled0, enabled1;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {"00", 11, 10, 19.5f, 18, true, true, "Check warning and alarm value. (red color cells)",
         "Warning and alarm range."},
        {"00", 5, 10, 18, 19.5f, true, true, "Check warning and alarm value. (red color cells)",
         "Warning and alarm range."},
        {"01", 5, 10, 19.5f, 19.5f, true, true, "Check warning and alarm value. (red color cells)",
         "Warning and alarm range."},
        {"00", 5, 10, 19.5f, 18, false, false, "No available sensor.", "No sensor"},
    };
    for (const Case& c : cases) {
        SettingsPanel& p = Panel();
        Inst().SetOxyAlarmType(QString::fromLatin1(c.oxy));
        Inst().SetWarning(0, c.w0);
        Inst().SetAlarm(0, c.a0);
        Inst().SetWarning(1, c.w1);
        Inst().SetAlarm(1, c.a1);
        Inst().SetGasEnabled(0, c.enabled0);
        Inst().SetGasEnabled(1, c.enabled1);
        prompt.boxes.clear();
        prompt.ExpectBox(MsgResult::Ok);
        p.cmdOption_Click(0);
        ASSERT_EQ(prompt.boxes.size(), 1);
        EXPECT_EQ(BoxText(0), QString::fromLatin1(c.text));
        EXPECT_EQ(prompt.boxes.at(0).title, QString::fromLatin1(c.title));
        EXPECT_EQ(prompt.boxes.at(0).icon, MsgIcon::Critical);
        EXPECT_TRUE(fake.CallsStartingWith("SetInstrument").isEmpty());
        EXPECT_TRUE(PaneTexts(*window).isEmpty());
        window.reset();
    }
}

TEST_F(SettingsWindowTest, UpdateAskedAndAnswered)
{
    SettingsPanel& p = Panel();
    // No: nothing sent, nothing logged.
    prompt.ExpectBox(MsgResult::No);
    p.cmdOption_Click(0);
    EXPECT_TRUE(fake.CallsStartingWith("SetInstrument").isEmpty());
    EXPECT_TRUE(PaneTexts(*window).isEmpty());

    // Yes: the identity typed but not yet committed goes with it.
    p.txtOption(2)->clear();
    QTest::keyClicks(p.txtOption(2), "NEWUSER");
    fake.Script("SetInstrument", Answered(true));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(0);
    EXPECT_EQ(Inst().UserID(), "NEWUSER");
    EXPECT_EQ(fake.lastInstrument, &Inst());
    EXPECT_EQ(PaneTexts(*window),
              QStringList({"Pelkar  Instrument Information Upload.", "Pelkar  Upload Complete."}));
    EXPECT_EQ(PaneColor(*window, "Pelkar  Upload Complete."), RGB(0, 192, 0));
    ASSERT_EQ(prompt.boxes.size(), 3);
    EXPECT_EQ(BoxText(1), "Update Ready?");
    EXPECT_EQ(BoxText(2), "Upload Complete.");
    EXPECT_EQ(prompt.boxes.at(2).icon, MsgIcon::Information);
    EXPECT_TRUE(fake.serialLog.join('\n').contains("---Instrument Upload Start Sequence---. Date = "));
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
    EXPECT_TRUE(window->cmdInst(4)->isEnabled()); // the lock was given back
    // In service mode one audit line.
    QFile audit(home.file("Pelkar_Setting.csv"));
    ASSERT_TRUE(audit.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(audit.readAll()).count("\r\n"), 2); // header and one line
}

TEST_F(SettingsWindowTest, FailedUpdateIsTheRedLine)
{
    SettingsPanel& p = Panel(false, true);
    fake.Script("SetInstrument", Answered(false)); // the instrument answered, but refused
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(0);
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Fail.");
    EXPECT_EQ(PaneColor(*window, "Pelkar  Upload Fail."), RGB(255, 0, 0));
    EXPECT_EQ(BoxText(1), "Upload Fail.");
    EXPECT_FALSE(QFile::exists(home.file("Pelkar_Setting.csv")));
}

TEST_F(SettingsWindowTest, UpdateDuringASpanSkipsQuestionWindowAndBox)
{
    SettingsPanel& p = Panel();
    App().ProcessState = 4;
    Inst().SetWarning(0, 11); // the pre-checks are skipped too
    fake.Script("SetInstrument", Answered(true));
    p.cmdOption_Click(0);
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Complete.");
    App().ProcessState = 0;
}

TEST_F(SettingsWindowTest, DateTimeSetClearsTheOffsetAndReportsARefusal)
{
    SettingsPanel& p = Panel();
    SetClock([] { return QDateTime(QDate(2026, 12, 10), QTime(17, 0, 0)); });
    Inst().SetSysDateOffset(0.5);
    fake.Script("SetDateTime", Answered(true));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(1);
    EXPECT_DOUBLE_EQ(Inst().SysDateOffset(), 0);
    EXPECT_EQ(fake.lastDateTime, QDateTime(QDate(2026, 12, 10), QTime(17, 0, 0)));
    EXPECT_EQ(BoxText(1), "Upload Complete.");

    fake.Script("SetDateTime", Answered(false));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(1);
    EXPECT_EQ(BoxText(3), "Upload Fail.");
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Fail.");
    SetClock({});
}

TEST_F(SettingsWindowTest, CalibrationFrameOpensAndCloses)
{
    SettingsPanel& p = Panel();
    p.cmdOption_Click(2);
    EXPECT_TRUE(p.fraOption(1)->isHidden());
    EXPECT_FALSE(p.fraOption(2)->isHidden());
    for (QPushButton* b : p.cmdOption)
        EXPECT_TRUE(b->isHidden());
    for (QPushButton* b : window->cmdInst)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(window->State().LiveValuesOn);
    EXPECT_TRUE(fake.runDensty);

    p.cmdCal_Click(2);
    EXPECT_FALSE(fake.runDensty);
    EXPECT_FALSE(p.fraOption(1)->isHidden());
    EXPECT_TRUE(p.fraOption(2)->isHidden());
    for (QPushButton* b : p.cmdOption)
        EXPECT_FALSE(b->isHidden());
    for (QPushButton* b : window->cmdInst)
        EXPECT_TRUE(b->isEnabled());
}

TEST_F(SettingsWindowTest, ZeroAsksForBothGasesAndReportsEach)
{
    SettingsPanel& p = Panel();
    p.cmdOption_Click(2);
    p.vfgCal->SetCellCheck(1, 1, DataGrid::Unchecked); // ticks do not matter to a zero
    window->State().LiveValues = {0.5f, 20.94f};
    fake.zeroStatus[0] = true;
    fake.zeroStatus[1] = false;
    fake.Script("ZeroCal", Answered(true));
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdCal_Click(0);
    EXPECT_EQ(fake.lastGasFlags, "11");
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(BoxText(0), "H2S  Adjustment Complete.\r\nOXY(20.9) Failed\r\n");
    EXPECT_EQ(prompt.boxes.at(0).title, "Adjustment");
    EXPECT_TRUE(fake.runDensty);
    EXPECT_EQ(App().ProcessState, 0);
    for (QPushButton* b : p.cmdCal)
        EXPECT_TRUE(b->isEnabled());

    fake.Script("ZeroCal", Answered(false));
    p.cmdCal_Click(0);
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Calibration Fail.");
    EXPECT_TRUE(fake.serialLog.join('\n').contains("---Calibration Upload Failed---. Date = "));
}

TEST_F(SettingsWindowTest, SpanTicksAndResults)
{
    struct Case {
        bool tick0, tick1;
        const char* selection; // "" : not performed
    };
    const Case cases[] = {{false, true, "01"}, {true, false, "10"}, {true, true, "11"}, {false, false, ""}};
    for (const Case& c : cases) {
        SettingsPanel& p = Panel();
        p.cmdOption_Click(2);
        p.vfgCal->SetCellCheck(1, 1, c.tick0 ? DataGrid::Checked : DataGrid::Unchecked);
        p.vfgCal->SetCellCheck(2, 1, c.tick1 ? DataGrid::Checked : DataGrid::Unchecked);
        prompt.ExpectBox(MsgResult::Ok);
        if (*c.selection) {
            fake.spanStatus[0] = fake.spanStatus[1] = true;
            fake.Script("SpanCal", Answered(true));
            fake.Script("GetLatestHistory", Answered(false));
        }
        p.cmdCal_Click(1);
        SCOPED_TRACE(c.selection);
        if (*c.selection) {
            EXPECT_EQ(fake.lastGasFlags, QString::fromLatin1(c.selection));
            QString expected;
            if (c.tick0)
                expected += "H2S  Adjustment Complete.\r\n";
            if (c.tick1)
                expected += "OXY  Adjustment Complete.\r\n";
            EXPECT_EQ(BoxText(0), expected);
            EXPECT_EQ(window->State().SpanSelection, (std::array<bool, 2>{c.tick0, c.tick1}));
        } else {
            EXPECT_EQ(BoxText(0), "No sensors selected.\r\nMake selection in calibration table.");
            EXPECT_EQ(prompt.boxes.at(0).title, "Span not performed.");
            EXPECT_TRUE(fake.CallsStartingWith("SpanCal").isEmpty());
        }
        EXPECT_EQ(App().ProcessState, 0);
        window.reset();
        prompt.boxes.clear();
    }
}

TEST_F(SettingsWindowTest, FailedSpanStillStoresTheHistory)
{
    SettingsPanel& p = Panel();
    p.cmdOption_Click(2);
    window->State().LiveValues = {3.0f, 20.9f};
    fake.Script("SpanCal", Answered(false));
    FakeQvif::Step latest = Answered(true);
    latest.action = [this] {
        Inst().SetCalibDate(0, QDateTime(QDate(2026, 12, 10), QTime(16, 0, 0)));
        Inst().SetCalibAfter(0, 25);
    };
    fake.Script("GetLatestHistory", latest);
    fake.Script("GetHistory", Answered(true));
    p.cmdCal_Click(1);
    EXPECT_TRUE(prompt.boxes.isEmpty()); // no result box after a failure
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Calibration Fail.");
    EXPECT_EQ(fake.CallsStartingWith("GetHistory").size(), 1);
    EXPECT_EQ(window->State().SpanStartReading, (std::array<float, 2>{3.0f, 20.9f}));
    EXPECT_TRUE(fake.serialLog.join('\n').contains("---Calibration Upload Started---. Date = "));
    LogDb db;
    QSqlQuery q(db.Db());
    ASSERT_TRUE(q.exec("Select Count(*) From cLatestHist") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
}

TEST_F(SettingsWindowTest, CalibrationRecordNotStoredIsReported)
{
    SettingsPanel& p = Panel();
    p.cmdOption_Click(2);
    fake.spanStatus[0] = fake.spanStatus[1] = true;
    fake.Script("SpanCal", Answered(true));
    fake.Script("GetLatestHistory", Answered(true));
    fake.Script("GetHistory", Answered(true));
    QFile::remove(home.file("Pelkar.db")); // the database is gone
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdCal_Click(1);
    const QString line = "Pelkar  Calibration record could not be stored in the database.";
    EXPECT_TRUE(PaneTexts(*window).contains(line));
    EXPECT_EQ(PaneColor(*window, line), RGB(255, 0, 0));
}
