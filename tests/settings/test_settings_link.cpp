// The settings panel on the real interface control, over a pseudo-terminal
// against the fake instrument: an edited set point is uploaded and read
// back, the clock set, and a zero and a span run and store their records.
#include "common/widgets/grid_writer.h"
#include "download_fixture.h"
#include "fake_records.h"
#include "linked_window_fixture.h"
#include "records/instrument.h"
#include "settings/settings_panel.h"
#include "shared/shared_state.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>

namespace {

class LinkedSettings : public LinkedWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LinkedWindowTest::SetUp());
        fake.State().oxyAlarmType = QStringLiteral("00"); // oxygen "L-LL": 19.5 over 18.0 is in order
        fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 12.0f, 50.0f}}));
        fake.SetRecordLines("IH,R,2,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 20.5f, 20.9f}}));
    }
    // Connected, the information read, the Set panel shown in service mode.
    SettingsPanel& Connected()
    {
        App().ServiceMode = true;
        EXPECT_TRUE(LoadAndWaitForConnection());
        EXPECT_TRUE(window->Download().DownloadInstrumentInfo());
        window->cmdInst_Click(4);
        window->Download().rtbLog->clear();
        fake.ClearFrames();
        return window->Settings();
    }
    clsInstrument& Inst() { return window->State().MainInstrument(); }
};

} // namespace

TEST_F(LinkedSettings, EditedSetPointIsUploadedAndReadBack)
{
    SettingsPanel& p = Connected();
    EXPECT_EQ(p.vfgOption->Text(2, 2), "25.0");
    QString typed = QStringLiteral("30.4");
    ASSERT_FALSE(p.vfgOption_ValidateEdit(2, 2, typed));
    p.vfgOption->SetText(2, 2, typed);
    p.vfgOption_AfterEdit(2, 2);
    EXPECT_EQ(p.vfgOption->Text(2, 2), "30.0"); // the CO channel's step is 1

    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(0);
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_EQ(prompt.boxes.at(1).text, "Upload Complete.");
    EXPECT_FLOAT_EQ(fake.State().gas[0].warning, 30.0f);
    const QList<QByteArray> sent = fake.Commands();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const QByteArray& c) { return c.startsWith("A1,W,"); }), 1);
    EXPECT_FALSE(Inst().Change_Warn(0));
    EXPECT_FLOAT_EQ(Inst().Warning(0), 30.0f);
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Complete.");
    QFile audit(home.file("Pelkar_Setting.csv"));
    ASSERT_TRUE(audit.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(audit.readAll()).count("\r\n"), 2);
}

TEST_F(LinkedSettings, ClockIsSet)
{
    SettingsPanel& p = Connected();
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOption_Click(1);
    EXPECT_EQ(fake.CommandState().clockSets, 1);
    EXPECT_EQ(prompt.boxes.at(1).text, "Upload Complete.");
}

TEST_F(LinkedSettings, ZeroAndSpanStoreTheNewRecords)
{
    SettingsPanel& p = Connected();
    p.cmdOption_Click(2);
    EXPECT_TRUE(WaitFor([this] { return window->State().LiveValues[1] > 20.0f; }));

    prompt.ExpectBox(MsgResult::Ok);
    p.cmdCal_Click(0);
    EXPECT_EQ(fake.CommandState().zeroGasFlags, "11");
    EXPECT_EQ(prompt.boxes.at(0).text, "CO  Adjustment Complete.\r\nOXY  Adjustment Complete.\r\n");

    p.vfgCal->SetCellCheck(1, 1, DataGrid::Unchecked);
    fake.CommandState().spanResult = "01"; // the oxygen channel fails
    fake.SetRecordLines("IH,R,2,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 20.5f, 20.9f},
                                                  {MakeDate(2024, 4, 1, 9, 0, 0), 20.1f, 20.9f}}));
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdCal_Click(1);
    EXPECT_EQ(fake.CommandState().spanGasFlags, "01");
    EXPECT_EQ(prompt.boxes.at(1).text, "OXY(20.9) Failed\r\n");
    EXPECT_EQ(Rows("Select Count(*) From cHistory"), 2);
    EXPECT_EQ(Rows("Select Count(*) From cLatestHist"), 1);
    EXPECT_EQ(App().ProcessState, 0);

    p.cmdCal_Click(2);
    EXPECT_FALSE(p.fraOption(1)->isHidden());
    EXPECT_TRUE(p.fraOption(2)->isHidden());
}
