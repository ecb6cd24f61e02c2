// The settings pane's own commands on the real interface control, over a
// pseudo-terminal against the fake instrument.
#include "download_fixture.h"
#include "fake_records.h"
#include "linked_window_fixture.h"

#include "common/paths.h"
#include "download/frmUpload.h"
#include "records/instrument.h"
#include "settings/factory_settings.h"
#include "settings/frmFsDialog.h"
#include "settings/settings_panel.h"

#include <QFile>
#include <QPushButton>

namespace {

int CountStartingWith(const QList<QByteArray>& commands, const QByteArray& prefix)
{
    int n = 0;
    for (const QByteArray& c : commands)
        n += c.startsWith(prefix) ? 1 : 0;
    return n;
}

class SettingsLink : public LinkedWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LinkedWindowTest::SetUp());
        // The instrument's oxygen pair falls (19.5 then 18.0).
        fake.State().oxyAlarmType = QStringLiteral("00");
        App().ServiceMode = true;
        ASSERT_TRUE(LoadAndWaitForConnection());
        ASSERT_TRUE(window->Download().DownloadInstrumentInfo());
        window->Download().rtbLog->clear();
        fake.ClearFrames();
    }
    SettingsPanel& Panel() { return window->Settings(); }
    clsInstrument& Inst() { return window->State().MainInstrument(); }
};

TEST_F(SettingsLink, ModelDefaultWrittenAndReadBack)
{
    // Changed on the instrument behind the program's back: only a read-back
    // brings it into the window's record.
    fake.State().userId = QStringLiteral("READBACK");
    // A calibration history to read, so the read-back is answered to its end.
    fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 12.0f, 50.0f}}));
    fake.SetRecordLines("IH,R,2,", HistoryLines({{MakeDate(2024, 3, 5, 14, 7, 9), 20.5f, 20.9f}}));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    Panel().cmdModel_Click(2); // KV-2 Domestic
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("Upload Complete."));
    const FakeInstrumentState& s = fake.State();
    EXPECT_EQ(s.gas[0].name, QStringLiteral("H2S"));
    EXPECT_FLOAT_EQ(s.gas[0].warning, 10.0f);
    EXPECT_EQ(s.vibration, QStringLiteral("02"));
    EXPECT_EQ(s.backLight, 20);
    EXPECT_EQ(s.warmTime, 15);
    EXPECT_EQ(s.serialNo, QStringLiteral("SN123456")) << "identity untouched";
    // Read back: the window's record holds what the instrument now says.
    EXPECT_EQ(Inst().UserID(), QStringLiteral("READBACK"));
    EXPECT_EQ(Inst().GasName(0), QStringLiteral("H2S"));
    EXPECT_EQ(Inst().Vibration(), QStringLiteral("02"));
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("Pelkar_Setting.csv"))));
    EXPECT_EQ(SerialLog().count(QStringLiteral("---Instrument Upload Finished---")), 1);
}

TEST_F(SettingsLink, ModelDefaultWrittenButReadBackUnanswered)
{
    // The instrument takes the write, then falls silent for the read-back.
    fake.AddFaultOn(FakeInstrument::Fault::Silence, "VP,R,", 1, -1);
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    Panel().cmdModel_Click(2);
    EXPECT_EQ(fake.State().gas[0].name, QStringLiteral("H2S"));
    EXPECT_TRUE(PaneTexts(*window).contains(QStringLiteral("Pelkar  Upload Complete."))) << "the write itself";
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("Upload Fail."));
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
}

TEST_F(SettingsLink, EachWriteLogsItsEndOnce)
{
    const auto count = [this](const char* line) { return SerialLog().count(QString::fromLatin1(line)); };
    Inst().SetUserID(QStringLiteral("NEWID"));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    Panel().cmdOption_Click(0);
    EXPECT_EQ(fake.State().userId, QStringLiteral("NEWID"));
    EXPECT_EQ(count("---Instrument Upload Finished---"), 1);

    // A write the instrument does not answer: one failed line.
    fake.AddFaultOn(FakeInstrument::Fault::Silence, "XZ,W," + QByteArray("OTHER").leftJustified(10, ' '), 1, -1);
    Inst().SetUserID(QStringLiteral("OTHER"));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    Panel().cmdOption_Click(0);
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("Upload Fail."));
    EXPECT_EQ(count("---Instrument Upload Failed---"), 1);
    EXPECT_EQ(count("---Instrument Upload Finished---"), 1);
    EXPECT_EQ(count("---Instrument Upload Start Sequence---"), 2);
}

TEST_F(SettingsLink, FactoryChangeUploadedByUpdate)
{
    ASSERT_EQ(Inst().Vibration(), QStringLiteral("01"));
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = qobject_cast<frmFsDialog*>(w);
        EXPECT_TRUE(d->EditRow(FactorySettings::Vibration, QStringLiteral("On")));
        d->cmdOK_Click();
        return d->result();
    });
    Panel().cmdOptionDisp_Click(7);
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    Panel().cmdOption_Click(0);
    EXPECT_EQ(prompt.boxes.last().text, QStringLiteral("Upload Complete."));
    EXPECT_EQ(fake.State().vibration, QStringLiteral("02"));
    EXPECT_EQ(CountStartingWith(fake.Commands(), "AV,W,"), 1);
    EXPECT_EQ(CountStartingWith(fake.Commands(), "AT,W,"), 0) << "only the changed setting is sent";
}

TEST_F(SettingsLink, DumpListWrittenToItsFile)
{
    QByteArray memory(512, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<char>(i & 0xFF);
    fake.SetDump("EF,R,", memory);
    prompt.ExpectBox(MsgResult::Yes);
    Panel().cmdOptionDisp_Click(5);
    QFile f(home.file(QStringLiteral("DumpEF.dat")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Adrs   +0")));
    EXPECT_TRUE(text.contains(QStringLiteral("Total Download Time = ")));
    EXPECT_EQ(PaneTexts(*window).last(), QStringLiteral("Dump List Download (EF) Finished."));
    EXPECT_FALSE(PaneTexts(*window).contains(QStringLiteral("Dump List Download (EF) Failed.")));
    EXPECT_EQ(App().ProcessState, 0);
}

} // namespace
