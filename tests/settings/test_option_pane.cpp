// The option pane, the model buttons, the coefficient commands, the
// settings-pane clock, the factory settings dialog and the information
// panel in the main window on the scripted interface control.
#include "settings_window_fixture.h"

#include "common/clock.h"
#include "common/colors.h"
#include "common/dates.h"
#include "common/prompt.h"
#include "download/frmUpload.h"
#include "graph/ucltalgraph.h"
#include "settings/factory_settings.h"
#include "settings/frmFsDialog.h"
#include "settings/instrument_panel.h"
#include "views/view_panel.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace {

class OptionPaneTest : public SettingsWindowTest {
protected:
    void TearDown() override
    {
        SetClock({});
        App().ProcessState = 0;
        SettingsWindowTest::TearDown();
    }
};

TEST_F(OptionPaneTest, ModelDefaultsAskWriteAndReadBack)
{
    SettingsPanel& p = Panel(true);
    ASSERT_EQ(p.cmdModel(1)->text(), "KV-1 Foreign");

    // No: the record keeps its own configuration.
    prompt.ExpectBox(MsgResult::No);
    p.cmdModel_Click(1);
    EXPECT_EQ(Inst().GasName(0), "H2S");
    EXPECT_TRUE(fake.CallsStartingWith("SetInstrument").isEmpty());
    EXPECT_EQ(prompt.boxes.at(0).text, "Do you set it up as KV-1 Foreign ?");
    EXPECT_EQ(prompt.boxes.at(0).title, "Model Type");

    fake.Script("SetInstrument", Answered(true));
    fake.Script("GetInstrument", Answered(true));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdModel_Click(1);
    EXPECT_EQ(Inst().GasName(0), "CO");
    EXPECT_FLOAT_EQ(Inst().Alarm(1), 23.5f);
    EXPECT_EQ(Inst().SerialNo(), "SN1");
    EXPECT_EQ(fake.CallsStartingWith("GetInstrument").size(), 1) << "read back";
    EXPECT_EQ(prompt.boxes.last().text, "Upload Complete.");
    QFile audit(home.file("Pelkar_Setting.csv"));
    ASSERT_TRUE(audit.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(audit.readAll()).count("\r\n"), 2);
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
}

TEST_F(OptionPaneTest, RefusedModelDefaultsNeitherReadBackNorBox)
{
    SettingsPanel& p = Panel(true);
    fake.Script("SetInstrument", Answered(false));
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdModel_Click(2);
    EXPECT_TRUE(fake.CallsStartingWith("GetInstrument").isEmpty());
    EXPECT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Fail.");
    EXPECT_FALSE(QFile::exists(home.file("Pelkar_Setting.csv")));
}

TEST_F(OptionPaneTest, CoefficientsSentRoundedInOrder)
{
    SettingsPanel& p = Panel();
    p.txtS1(0)->setText("12.5");
    p.txtS1(1)->setText("13.5");
    fake.Script("S1X", Answered(true));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdS1X_Click();
    EXPECT_EQ(fake.CallsStartingWith("S1X"), QStringList{"S1X(12,14)"});
    EXPECT_EQ(prompt.boxes.last().text, "Upload Complete.");

    p.txtSZ(0)->setText("1");
    p.txtSZ(1)->setText("-2");
    p.txtSZ(2)->setText("300");
    fake.Script("SZX", Answered(false)); // the instrument refused
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdSZX_Click();
    EXPECT_EQ(fake.CallsStartingWith("SZX"), QStringList{"SZX(1,-2,300)"});
    EXPECT_EQ(prompt.boxes.last().text, "Upload Fail.");
    EXPECT_EQ(PaneTexts(*window).last(), "Pelkar  Upload Fail.");
    EXPECT_EQ(PaneColor(*window, "Pelkar  Upload Fail."), RGB(255, 0, 0));
}

TEST_F(OptionPaneTest, CoefficientsThatCannotBeSentAreRefusedInTheBox)
{
    SettingsPanel& p = Panel();
    for (const char* bad : {"", "32768", "abc", "-32769"}) {
        p.txtS1(0)->setText("1");
        p.txtS1(1)->setText(QString::fromLatin1(bad));
        EXPECT_FALSE(p.txtCoefficient_Validate(p.txtS1(1))) << bad;
        p.cmdS1X_Click(); // no question: nothing is sent
        EXPECT_TRUE(fake.CallsStartingWith("S1X").isEmpty()) << bad;
    }
    p.txtS1(1)->setText("32767");
    EXPECT_TRUE(p.txtCoefficient_Validate(p.txtS1(1)));
    EXPECT_TRUE(prompt.boxes.isEmpty());
}

TEST_F(OptionPaneTest, SettingsPaneClock)
{
    SettingsPanel& p = Panel();
    QDateTime now = MakeDate(2026, 3, 5, 14, 7, 9).addMSecs(50);
    SetClock([&now] { return now; });
    window->cmdInst_Click(4);
    ASSERT_FALSE(p.Frame()->isHidden());
    Inst().SetSysDateOffset(5.0 / (24 * 60)); // the instrument is five minutes behind

    // No link: the PC clock only, every tick.
    fake.status = 1;
    window->tmrInter_Timer();
    EXPECT_EQ(p.lblOption(5)->text(), "2026/03/05 14:07:09");
    EXPECT_EQ(p.lblOption(6)->text(), "");

    // A link: now minus the offset, once a second.
    fake.status = 2;
    window->tmrInter_Timer();
    EXPECT_EQ(p.lblOption(6)->text(), "2026/03/05 14:02:09");
    p.lblOption(6)->setText("untouched");
    now = now.addMSecs(500);
    window->tmrInter_Timer();
    EXPECT_EQ(p.lblOption(6)->text(), "untouched");
    now = now.addMSecs(500);
    window->tmrInter_Timer();
    EXPECT_EQ(p.lblOption(5)->text(), "2026/03/05 14:07:10");
    EXPECT_EQ(p.lblOption(6)->text(), "2026/03/05 14:02:10");

    // Hidden: only the ticks count.
    window->cmdInst_Click(0);
    ASSERT_TRUE(p.Frame()->isHidden());
    const std::int32_t ticks = window->State().InterTicks;
    now = now.addSecs(5);
    window->tmrInter_Timer();
    EXPECT_EQ(window->State().InterTicks, ticks + 1);
    EXPECT_EQ(p.lblOption(5)->text(), "2026/03/05 14:07:10");
}

TEST_F(OptionPaneTest, BusyTable)
{
    SettingsPanel& p = Panel();
    const struct {
        bool live;
        int state;
    } busy[] = {{true, 0}, {false, 4}, {false, 7}};
    for (const auto& b : busy) {
        for (int index : {3, 5, 6}) {
            fake.runDensty = b.live;
            App().ProcessState = b.state;
            prompt.boxes.clear();
            prompt.ExpectBox(MsgResult::Ok);
            p.cmdOptionDisp_Click(index);
            ASSERT_EQ(prompt.boxes.size(), 1);
            EXPECT_EQ(prompt.boxes.at(0).text, "It can not be performed due to operating of other issues.");
            EXPECT_EQ(prompt.boxes.at(0).title, "No communication available to EEP-ROM");
        }
    }
    EXPECT_TRUE(fake.CallsStartingWith("GetRomDump").isEmpty());
    EXPECT_TRUE(fake.CallsStartingWith("SetDefault").isEmpty());
    // Index 4 and beyond 7 do nothing.
    fake.runDensty = false;
    App().ProcessState = 0;
    p.cmdOptionDisp_Click(4);
    p.cmdOptionDisp_Click(8);
}

TEST_F(OptionPaneTest, DumpListsIntoTheirFiles)
{
    SettingsPanel& p = Panel();
    QDateTime now = MakeDate(2026, 3, 5, 14, 7, 9);
    FakeQvif::Step slow = Answered(true);
    slow.action = [&now] { now = now.addSecs(75); };
    SetClock([&now] { return now; });
    fake.Script("GetRomDump2", slow);
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdOptionDisp_Click(5);
    EXPECT_EQ(prompt.boxes.at(0).text, "FRAM Dump List Download\nReady?");
    EXPECT_EQ(prompt.boxes.at(0).title, "DumpList");
    EXPECT_EQ(fake.lastPath, home.file("DumpEF.dat"));
    EXPECT_FALSE(fake.lastPath.contains("//"));
    EXPECT_EQ(fake.serialLog.last(), "--- Dump List Download Finished. ---(2026/03/05 14:08:24[Time = 00:01:15])\r\n");
    EXPECT_EQ(PaneTexts(*window),
              QStringList({"Dump List Download (EF) Start.", "Dump List Download (EF) Finished."}));
    EXPECT_EQ(PaneColor(*window, "Dump List Download (EF) Start."), RGB(128, 32, 0));
    EXPECT_EQ(App().ProcessState, 0);
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());

    // A failed request says so in red, and the serial log says "Failed".
    window->Download().rtbLog->clear();
    fake.Script("GetRomDump", Answered(false));
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdOptionDisp_Click(6);
    EXPECT_EQ(fake.lastPath, home.file("Dump.dat"));
    EXPECT_EQ(PaneTexts(*window), QStringList({"Dump List Download Start.", "Dump List Download Failed.",
                                               "Dump List Download Finished."}));
    EXPECT_EQ(PaneColor(*window, "Dump List Download Failed."), RGB(255, 0, 0));
    EXPECT_TRUE(fake.serialLog.last().startsWith("--- Dump List Download Failed. ---"));
    EXPECT_EQ(App().ProcessState, 0);

    // A dump whose blocks could not be told apart says so in plain words.
    window->Download().rtbLog->clear();
    FakeQvif::Step disturbed = Answered(false);
    disturbed.action = [this] { fake.lineDisturbed = true; };
    fake.Script("GetRomDump", disturbed);
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdOptionDisp_Click(6);
    const QString why = QStringLiteral("The line to the instrument was disturbed, so its blocks could not be told "
                                       "apart. The old list stays as it was. Please try again.");
    EXPECT_EQ(PaneTexts(*window), QStringList({"Dump List Download Start.", "Dump List Download Failed.", why,
                                               "Dump List Download Finished."}));
    EXPECT_EQ(PaneColor(*window, why), RGB(255, 0, 0));

    // No: nothing happens.
    prompt.ExpectBox(MsgResult::No);
    fake.calls.clear();
    p.cmdOptionDisp_Click(6);
    EXPECT_TRUE(fake.CallsStartingWith("GetRomDump").isEmpty());
}

TEST_F(OptionPaneTest, DumpListThatCannotBeWrittenIsToldInABox)
{
    // The whole dump was read, but the listing could not be written (a full
    // disk): the failure line, then a box that says why.
    SettingsPanel& p = Panel();
    const QString why = QStringLiteral("Dump list file cannot be written: %1 (the disk is full)")
                            .arg(home.file("Dump.dat"));
    FakeQvif::Step full = Answered(false);
    full.action = [this, why] { fake.dumpFileError = why; };
    fake.Script("GetRomDump", full);
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    p.cmdOptionDisp_Click(6);
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_EQ(prompt.boxes.at(1).text, why);
    EXPECT_EQ(prompt.boxes.at(1).title, "DumpList");
    EXPECT_EQ(prompt.boxes.at(1).icon, MsgIcon::Critical);
    EXPECT_EQ(PaneTexts(*window), QStringList({"Dump List Download Start.", "Dump List Download Failed.",
                                               "Dump List Download Finished."}));
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
}

TEST_F(OptionPaneTest, DefaultReadsBackOrSaysItFailed)
{
    SettingsPanel& p = Panel();
    fake.Script("SetDefault", Answered(true));
    fake.Script("GetInstrument", Answered(true));
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdOptionDisp_Click(3);
    EXPECT_EQ(prompt.boxes.at(0).text, "DEFAULT \r\nReady?");
    EXPECT_EQ(PaneTexts(*window).mid(0, 2),
              QStringList({"Pelkar  Instrument DEFAULT.", "Pelkar  Instrument DEFAULT Complete."}));
    EXPECT_EQ(fake.CallsStartingWith("GetInstrument").size(), 1);

    window->Download().rtbLog->clear();
    fake.calls.clear();
    fake.Script("SetDefault", Answered(false));
    prompt.ExpectBox(MsgResult::Yes);
    p.cmdOptionDisp_Click(3);
    EXPECT_EQ(PaneTexts(*window), QStringList({"Pelkar  Instrument DEFAULT.", "Pelkar  Instrument DEFAULT Failed."}));
    EXPECT_EQ(PaneColor(*window, "Pelkar  Instrument DEFAULT Failed."), RGB(255, 0, 0));
    EXPECT_TRUE(fake.CallsStartingWith("GetInstrument").isEmpty());
    EXPECT_FALSE(window->Download().UploadForm().IsLoaded());
}

TEST_F(OptionPaneTest, ColourButtonsRecolourTheirSeries)
{
    SettingsPanel& p = Panel();
    uclTalGraph& graph = *window->View().talGraph;
    const std::int32_t series1 = graph.ValueColor(1);
    prompt.ExpectColor(true, QColor(10, 20, 30));
    p.cmdOptionDisp_Click(1);
    EXPECT_EQ(graph.ValueColor(0), RGB(10, 20, 30)) << "button 1 is gas 1, series 0";
    EXPECT_EQ(graph.ValueColor(1), series1);
    EXPECT_EQ(App().GraphColor[0], RGB(10, 20, 30));
    EXPECT_EQ(p.cmdOptionDisp(1)->property("BackColor").toInt(), RGB(10, 20, 30));

    // A cancelled dialog changes nothing.
    prompt.ExpectColor(false);
    p.cmdOptionDisp_Click(2);
    EXPECT_EQ(graph.ValueColor(1), series1);
    EXPECT_EQ(App().GraphColor[0], RGB(10, 20, 30));
}

TEST_F(OptionPaneTest, FontCaption)
{
    SettingsPanel& p = Panel();
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(9);
    prompt.ExpectFont(true, f);
    p.cmdOptionDisp_Click(0);
    EXPECT_EQ(p.cmdOptionDisp(0)->text(), "Arial(9)");
    ASSERT_TRUE(App().DisplayFont.has_value());
    EXPECT_EQ(App().DisplayFont->Name, "Arial");
    prompt.ExpectFont(false);
    p.cmdOptionDisp_Click(0);
    EXPECT_EQ(p.cmdOptionDisp(0)->text(), "Arial(9)");
}

TEST_F(OptionPaneTest, FactoryDialogMarksOnlyWhatChanged)
{
    SettingsPanel& p = Panel();
    Inst().SetVibration("00");
    Inst().SetWarmDisp("00");
    Inst().ClearChangeFlags();
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = qobject_cast<frmFsDialog*>(w);
        EXPECT_EQ(d->windowTitle(), "Factory Setting");
        EXPECT_FALSE(d->CanEditRow(FactorySettings::WarmTime)) << "warm-up display OFF";
        EXPECT_FALSE(d->EditRow(FactorySettings::BackLight, "61"));
        EXPECT_TRUE(d->EditRow(FactorySettings::Vibration, "On"));
        EXPECT_EQ(d->RowText(FactorySettings::Vibration), "On");
        d->cmdOK_Click();
        return d->result();
    });
    p.cmdOptionDisp_Click(7);
    EXPECT_EQ(Inst().Vibration(), "02");
    EXPECT_TRUE(Inst().Change_Vibration());
    EXPECT_FALSE(Inst().Change_BackLight() || Inst().Change_WarmDisp() || Inst().Change_SpecType());

    Inst().ClearChangeFlags();
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = qobject_cast<frmFsDialog*>(w);
        d->EditRow(FactorySettings::BackLight, "30");
        d->cmdCancel_Click();
        return d->result();
    });
    p.cmdOptionDisp_Click(7);
    EXPECT_NE(Inst().BackLight(), 30);
    EXPECT_FALSE(Inst().Change_BackLight());
}

TEST_F(OptionPaneTest, FactoryDialogKeepsARefusedEntryInItsEditor)
{
    SettingsPanel& p = Panel();
    Inst().SetBackLight(20);
    Inst().ClearChangeFlags();
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = qobject_cast<frmFsDialog*>(w);
        d->show();
        QTableWidget* t = d->vfgDatas;
        const auto editor = [t]() -> QLineEdit* {
            QApplication::processEvents();
            for (QLineEdit* e : t->viewport()->findChildren<QLineEdit*>())
                if (e->isVisible())
                    return e;
            return nullptr;
        };
        const auto editorText = [&editor] {
            QLineEdit* e = editor();
            return e ? e->text() : QStringLiteral("(no editor)");
        };
        t->setCurrentCell(FactorySettings::BackLight, 1);
        t->editItem(t->item(FactorySettings::BackLight, 1));
        if (QLineEdit* e = editor())
            e->setText(QStringLiteral("61"));
        // Enter and Tab leave the refused text in the open editor.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            if (QLineEdit* e = editor())
                QTest::keyClick(e, key);
            EXPECT_EQ(editorText(), "61") << key;
        }
        EXPECT_EQ(d->RowText(FactorySettings::BackLight), "20");

        // The focus leaving closes the editor; it opens again with the text.
        if (QLineEdit* e = editor()) {
            QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
            QApplication::sendEvent(e, &out);
        }
        EXPECT_EQ(editorText(), "61");
        // OK waits for the row.
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        EXPECT_EQ(editorText(), "61");
        EXPECT_TRUE(d->isVisible());

        // Escape gives the entry up; OK then takes the dialog as it stands.
        if (QLineEdit* e = editor())
            QTest::keyClick(e, Qt::Key_Escape);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->RowText(FactorySettings::BackLight), "20");
        return d->result();
    });
    p.cmdOptionDisp_Click(7);
    EXPECT_EQ(Inst().BackLight(), 20);
    EXPECT_FALSE(Inst().Change_BackLight());
}

// ---- the information panel ----

// The caption rows of both grids stand centred over their columns, in
// every state the panel shows.
static void ExpectCentredCaptions(DataGrid& grid)
{
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            EXPECT_EQ(grid.CellAlignment(r, c), DataGrid::AlignCenterCenter)
                << grid.objectName().toStdString() << " row " << r << " column " << c << " \"" << grid.Text(r, c).toStdString() << "\"";
}

TEST_F(OptionPaneTest, InformationPanelStates)
{
    Panel(true);
    InstrumentPanel& ip = window->Instrument();
    ip.ShowInstrumentInfo();
    ExpectCentredCaptions(*ip.vfgInst);
    ExpectCentredCaptions(*ip.vfgInstSensor);
    EXPECT_EQ(ip.Frame()->title(), "Instrument Information [Connected]");
    EXPECT_EQ(ip.lblInst(3)->text(), "SN1");
    EXPECT_FALSE(ip.lblInst(7)->isHidden());
    EXPECT_EQ(ip.vfgInst->Text(2, 0), "H2S(30ppm)");
    EXPECT_EQ(ip.vfgInstSensor->CellCheck(2, 1), DataGrid::Checked);
    EXPECT_EQ(ip.vfgInstSensor->Text(3, 2), "19.5");

    fake.status = 1;
    ip.ShowInstrumentInfo();
    EXPECT_EQ(ip.Frame()->title(), "Instrument Information [No connected]");
    EXPECT_EQ(ip.lblInst(3)->text(), "");
    EXPECT_EQ(ip.vfgInstSensor->Text(2, 2), "-----");
    EXPECT_EQ(ip.vfgInstSensor->CellCheck(2, 1), DataGrid::Unchecked);
    ExpectCentredCaptions(*ip.vfgInst);
    ExpectCentredCaptions(*ip.vfgInstSensor);

    // A stored record shows from the stored instrument and leaves the
    // connected one alone.
    clsInstrument& stored = window->State().StoredInstrument();
    stored.SetSerialNo("STORED9");
    stored.SetGasName(0, "CO");
    stored.SetGasFullScale(0, 500);
    stored.SetGasUnit(0, "ppm");
    window->State().ShowSampleInstrument = true;
    ip.ShowInstrumentInfo();
    window->State().ShowSampleInstrument = false;
    EXPECT_EQ(ip.Frame()->title(), "Instrument Information [Sample data]");
    EXPECT_EQ(ip.lblInst(3)->text(), "STORED9");
    EXPECT_EQ(ip.vfgInst->Text(2, 0), "CO(500ppm)");
    EXPECT_EQ(Inst().SerialNo(), "SN1");
    EXPECT_EQ(Inst().GasName(0), "H2S");

    App().ServiceMode = false;
    ip.ShowInstrumentInfo();
    EXPECT_TRUE(ip.lblInst(7)->isHidden());
}

TEST_F(OptionPaneTest, InformationPanelMarksAFailedSpanRed)
{
    Panel();
    const QDateTime now = MakeDate(2026, 3, 5, 14, 0, 0);
    SetClock([now] { return now; });
    InstrumentPanel& ip = window->Instrument();
    App().ProcessState = 4;
    window->State().SpanSelection = {true, false};
    window->State().SpanStartReading = {3.5f, -101.0f};
    Inst().SetCalibDate(0, now.addSecs(-3 * 3600));
    ip.ShowInstrumentInfo();
    EXPECT_EQ(ip.vfgInst->Text(2, 3), "FAIL");
    EXPECT_EQ(ip.vfgInst->Text(2, 2), "3.5");
    EXPECT_EQ(ip.vfgInst->CellBackColor(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(ip.vfgInst->CellBackColor(2, 4), RGB(255, 0, 0));
    EXPECT_NE(ip.vfgInst->CellBackColor(3, 1), RGB(255, 0, 0));

    Inst().SetCalibDate(0, now.addSecs(-600));
    ip.ShowInstrumentInfo();
    EXPECT_NE(ip.vfgInst->Text(2, 3), "FAIL");
    EXPECT_NE(ip.vfgInst->CellBackColor(2, 1), RGB(255, 0, 0));
}

} // namespace
