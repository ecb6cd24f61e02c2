// The settings panel in the main window on the scripted interface control:
// the grid by mode, editing through the hooks, the sensor switch, the
// identity boxes and the calibration grid.
#include "settings_window_fixture.h"

#include "common/colors.h"
#include "common/prompt.h"
#include "settings/frmGasSel.h"
#include "qt_warnings.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

TEST_F(SettingsWindowTest, GridAndServiceControlsByMode)
{
    struct Case {
        bool service, u;
        int cols;
        bool gridShown, serviceShown;
    };
    const Case cases[] = {{false, false, 6, false, false}, {false, true, 7, true, false}, {true, false, 7, true, true}};
    for (const Case& c : cases) {
        SettingsPanel& p = Panel(c.service, c.u);
        SCOPED_TRACE(testing::Message() << "R " << c.service << " U " << c.u);
        EXPECT_EQ(p.vfgOption->Cols(), c.cols);
        EXPECT_EQ(p.vfgOption->Rows(), 4);
        if (!c.service) { // "-R" leaves the grid as the window made it
            EXPECT_EQ(!p.vfgOption->isHidden(), c.gridShown);
        }
        for (QWidget* w : {static_cast<QWidget*>(p.cmdOptionDisp(3)), static_cast<QWidget*>(p.cmdOptionDisp(5)),
                           static_cast<QWidget*>(p.cmdOptionDisp(6)), static_cast<QWidget*>(p.cmdOptionDisp(7)),
                           static_cast<QWidget*>(p.fraModel), static_cast<QWidget*>(p.fraAD),
                           static_cast<QWidget*>(p.cmdOption(2))})
            EXPECT_EQ(!w->isHidden(), c.serviceShown) << w->objectName().toStdString();
        EXPECT_EQ(p.txtOption(0)->text(), "SN1");
        EXPECT_EQ(p.vfgOption->Text(2, c.cols - 5), "5.0");
        window.reset();
    }
}

TEST_F(SettingsWindowTest, RedPairsReadOnlyCellsAndTheNoDataForm)
{
    SettingsPanel& p = Panel(false, true);
    Inst().SetWarning(0, 11);
    App().GasLocked = {false, true};
    p.ShowSettingsPanel();
    const std::int32_t red = RGB(255, 0, 0);
    EXPECT_EQ(p.vfgOption->CellBackColor(2, 2), red);
    EXPECT_EQ(p.vfgOption->CellBackColor(2, 3), red);
    EXPECT_NE(p.vfgOption->CellBackColor(3, 2), red);
    EXPECT_TRUE(SettingsPanel::IsReadOnlyCell(*p.vfgOption, 3, 4));
    EXPECT_TRUE(SettingsPanel::IsReadOnlyCell(*p.vfgOption, 3, 5));
    EXPECT_TRUE(SettingsPanel::IsReadOnlyCell(*p.vfgOption, 3, 1)); // locked sensor
    EXPECT_FALSE(SettingsPanel::IsReadOnlyCell(*p.vfgOption, 2, 4));
    EXPECT_EQ(p.vfgOption->CellAlignment(2, 2), DataGrid::AlignRightCenter);
    EXPECT_TRUE(p.cmdOption(0)->isEnabled());

    // The link goes: no data without "-R".
    fake.connected = false;
    fake.status = 1;
    p.ShowSettingsPanel();
    EXPECT_EQ(p.txtOption(0)->text(), "");
    EXPECT_EQ(p.vfgOption->Text(2, 2), "-----");
    EXPECT_EQ(p.vfgOption->Text(2, 5), "");
    EXPECT_EQ(p.vfgOption->CellCheck(2, 1), DataGrid::Unchecked);
    EXPECT_NE(p.vfgOption->CellBackColor(2, 2), red);
    EXPECT_FALSE(p.cmdOption(0)->isEnabled());
}

TEST_F(SettingsWindowTest, TypedSetPointsReachTheInstrument)
{
    SettingsPanel& p = Panel();
    EXPECT_TRUE(Type(p, 2, 2, "12.34"));
    EXPECT_FLOAT_EQ(Inst().Warning(0), 12.5f);
    EXPECT_EQ(p.vfgOption->Text(2, 2), "12.5");
    // Now out of order with the alarm of 10: red after the rebuild.
    EXPECT_EQ(p.vfgOption->CellBackColor(2, 2), RGB(255, 0, 0));

    Inst().ClearChangeFlags();
    EXPECT_FALSE(Type(p, 2, 3, "abc"));
    EXPECT_FALSE(Inst().Change_Alarm(0));
    EXPECT_EQ(p.vfgOption->Text(2, 3), "10.0");
    EXPECT_TRUE(Type(p, 2, 3, "---"));
    EXPECT_FLOAT_EQ(Inst().Alarm(0), -101);
    EXPECT_EQ(p.vfgOption->Text(2, 3), "-----");
    // STEL of a VOL% gas cannot even be entered (read-only), nor caption rows.
    EXPECT_TRUE(p.vfgOption_BeforeEdit(3, 4));
    EXPECT_TRUE(p.vfgOption_BeforeEdit(1, 2));
    EXPECT_FALSE(p.vfgOption_BeforeEdit(2, 4));
}

TEST_F(SettingsWindowTest, TheGridsDelegateRunsTheHooks)
{
    SettingsPanel& p = Panel();
    window->show();
    window->cmdInst_Click(4);
    DataGrid& g = *p.vfgOption;
    g.setCurrentCell(2, 3);
    g.edit(g.model()->index(2, 3));
    auto* editor = g.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("7.3"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(Inst().Alarm(0), 7.5f);
    EXPECT_EQ(g.Text(2, 3), "7.5");

    // A read-only cell opens no editor.
    g.setCurrentCell(3, 4);
    g.edit(g.model()->index(3, 4));
    QApplication::processEvents();
    for (QLineEdit* e : g.viewport()->findChildren<QLineEdit*>())
        EXPECT_FALSE(e->isVisible());
}

// A keyboard user edits two values in a row: typing opens the editor, Enter
// stores the value, and the current cell stays on the edited cell, so the
// arrow keys go on from there. The view prints no warning about its editor.
TEST_F(SettingsWindowTest, TwoValuesInARowByKeysAlone)
{
    SettingsPanel& p = Panel();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->cmdInst_Click(4);
    DataGrid& g = *p.vfgOption;
    const QtWarnings warnings;
    g.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(g.hasFocus());
    ASSERT_EQ(g.currentIndex(), g.model()->index(2, 1)) << "the first value cell";

    auto typeInto = [&](const char* text, Qt::Key enter) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
        ASSERT_NE(g.viewport()->findChild<QLineEdit*>(), nullptr) << "typing opens the editor";
        QTest::keyClick(QApplication::focusWidget(), enter);
        QApplication::processEvents();
    };
    QTest::keyClick(&g, Qt::Key_Right);
    typeInto("4", Qt::Key_Enter); // the keypad's Enter
    EXPECT_FLOAT_EQ(Inst().Warning(0), 4.0f);
    EXPECT_EQ(g.Text(2, 2), "4.0");
    EXPECT_TRUE(g.hasFocus());
    EXPECT_EQ(g.currentIndex(), g.model()->index(2, 2)) << "the edited cell stays current";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    typeInto("8", Qt::Key_Return);
    EXPECT_FLOAT_EQ(Inst().Alarm(0), 8.0f);
    EXPECT_EQ(g.Text(2, 3), "8.0");
    EXPECT_TRUE(g.hasFocus());
    EXPECT_EQ(g.currentIndex(), g.model()->index(2, 3));
    EXPECT_EQ(warnings.Matching(QString()), QStringList());
}

TEST_F(SettingsWindowTest, SensorOffAskedFirst)
{
    SettingsPanel& p = Panel();
    prompt.ExpectBox(MsgResult::No);
    Toggle(p, 3, 1);
    EXPECT_EQ(p.vfgOption->CellCheck(3, 1), DataGrid::Checked);
    EXPECT_TRUE(Inst().GasEnabled(1));
    EXPECT_FALSE(Inst().Change_GasEnable(1));

    prompt.ExpectBox(MsgResult::Yes);
    Toggle(p, 3, 1);
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_EQ(BoxText(1), "Gas Sensor Disable.\r\nReady?");
    EXPECT_EQ(prompt.boxes.at(1).title, "Sensor Disable");
    EXPECT_FALSE(Inst().GasEnabled(1));
    EXPECT_TRUE(Inst().Change_GasEnable(0) && Inst().Change_GasEnable(1));
    EXPECT_FLOAT_EQ(Inst().Warning(1), -101);
    EXPECT_EQ(p.vfgOption->Text(3, 2), "-----");
    // The span tick of the switched-off gas goes.
    EXPECT_EQ(p.vfgCal->CellCheck(2, 1), DataGrid::Unchecked);
    EXPECT_EQ(p.vfgCal->CellCheck(1, 1), DataGrid::Checked);
}

TEST_F(SettingsWindowTest, SensorOnWithTheReplacementGasDialog)
{
    SettingsPanel& p = Panel();
    App().ChgGasTable = GasTable{};
    App().ChgGasTable[0][0].Enabled = true;
    App().ChgGasTable[0][0].Name = "CO";
    App().ChgGasTable[0][0].Unit = "ppm";
    App().ChgGasTable[0][0].FullScale = 500;
    App().ChgGasTable[0][0].Desit = 1;
    App().ChgGasTable[0][0].Warning = 50;
    App().ChgGasTable[0][0].Alarm = 100;
    App().ChgGasTable[0][0].AutoCal = 150;
    App().ChgGasTable[0][2] = App().ChgGasTable[0][0];
    App().ChgGasTable[0][2].Name = "NH3";
    Inst().SetGasEnabled(0, false);
    p.ShowSettingsPanel();

    // Cancelled: the box goes back, nothing changes.
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = static_cast<frmGasSel*>(w);
        EXPECT_FALSE(d->cmdGasSel(0)->isEnabled()); // nothing chosen yet
        d->cmdGasSel_Click(1);
        return 0;
    });
    Inst().ClearChangeFlags();
    Toggle(p, 2, 1);
    EXPECT_EQ(p.vfgOption->CellCheck(2, 1), DataGrid::Unchecked);
    EXPECT_FALSE(Inst().GasEnabled(0) || Inst().Change_GasEnable(0));

    // Entry 2 chosen.
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = static_cast<frmGasSel*>(w);
        EXPECT_EQ(d->Layout().count, 2);
        EXPECT_TRUE(d->optGasList(1)->isHidden());
        QTest::mouseClick(d->optGasList(2), Qt::LeftButton);
        EXPECT_EQ(d->SelNum(), 2);
        QTest::mouseClick(d->cmdGasSel(0), Qt::LeftButton);
        return 1;
    });
    Toggle(p, 2, 1);
    EXPECT_EQ(prompt.windows, QStringList({"frmGasSel", "frmGasSel"}));
    EXPECT_TRUE(Inst().GasEnabled(0));
    EXPECT_EQ(Inst().GasName(0), "NH3");
    EXPECT_EQ(p.vfgOption->Text(2, 0), "NH3(500ppm)");
    EXPECT_EQ(p.vfgOption->CellCheck(2, 1), DataGrid::Checked);
    EXPECT_FLOAT_EQ(App().FactAutoCal[0], 150);
}

TEST_F(SettingsWindowTest, LockedSensorStaysOn)
{
    SettingsPanel& p = Panel();
    App().GasLocked = {true, false};
    p.vfgOption->SetCellCheck(2, 1, DataGrid::Unchecked);
    prompt.ExpectBox(MsgResult::Ok);
    p.vfgOption_AfterEdit(2, 1);
    EXPECT_EQ(BoxText(0), "This sensor is not removed.");
    EXPECT_EQ(p.vfgOption->CellCheck(2, 1), DataGrid::Checked);
    EXPECT_TRUE(Inst().GasEnabled(0));

    // Without "-R" the switch stores nothing.
    App().ServiceMode = false;
    App().GasLocked = {false, false};
    p.vfgOption->SetCellCheck(2, 1, DataGrid::Unchecked);
    p.vfgOption_AfterEdit(2, 1);
    EXPECT_TRUE(Inst().GasEnabled(0));
}

TEST_F(SettingsWindowTest, IdentityBoxes)
{
    SettingsPanel& p = Panel();
    QLineEdit* serial = p.txtOption(0);
    QLineEdit* station = p.txtOption(1);
    serial->clear();
    QTest::keyClicks(serial, "AB,CD");
    EXPECT_EQ(serial->text(), "ABCD");
    QTest::keyClicks(serial, "0123456789");
    EXPECT_EQ(serial->text(), "ABCD01234567"); // 12 characters
    station->clear();
    station->insert(QStringLiteral("ST,01_x"));   // a paste
    EXPECT_EQ(station->text(), "ST01x");
    p.CommitIdentityEdits();
    EXPECT_EQ(Inst().SerialNo(), "ABCD01234567");
    EXPECT_EQ(Inst().StationID(), "ST01x");
    EXPECT_TRUE(Inst().Change_SerialNo() && Inst().Change_StationID());
    EXPECT_FALSE(Inst().Change_UserID()); // untouched box: not sent again

    p.txtOption(2)->setText(QStringLiteral("X"));
    QTest::keyClick(p.txtOption(2), Qt::Key_Backspace);
    p.txtOption_Validate(2);
    EXPECT_EQ(Inst().UserID(), "*");

    window->Download().txtSuffix->setText(QStringLiteral("../a/b"));
    p.txtSuffix_Validate();
    EXPECT_EQ(App().FactoryRecordSuffix, ".ab");
}

TEST_F(SettingsWindowTest, IdentityShownAsTheInstrumentHoldsIt)
{
    SettingsPanel& p = Panel();
    Inst().SetUserID(QStringLiteral("O'Neil"));
    Inst().SetSerialNo(QStringLiteral("SN-1234567890AB")); // 15 characters
    Inst().ClearChangeFlags();
    p.ShowSettingsPanel();
    QLineEdit* serial = p.txtOption(0);
    QLineEdit* user = p.txtOption(2);
    EXPECT_EQ(user->text(), "O'Neil");
    EXPECT_EQ(serial->text(), "SN-1234567890AB");
    p.CommitIdentityEdits();
    EXPECT_FALSE(Inst().Change_UserID() || Inst().Change_SerialNo()) << "shown, not sent back";

    // Typed keys are still held to the identity keys and the box's length;
    // what the box showed stays as it is.
    serial->end(false);
    QTest::keyClicks(serial, "C");
    EXPECT_EQ(serial->text(), "SN-1234567890AB");
    user->end(false);
    QTest::keyClicks(user, ",2");
    EXPECT_EQ(user->text(), "O'Neil2");
    p.CommitIdentityEdits();
    EXPECT_EQ(Inst().UserID(), "O'Neil2");
    EXPECT_TRUE(Inst().Change_UserID());
    EXPECT_EQ(Inst().SerialNo(), "SN-1234567890AB");
}

TEST_F(SettingsWindowTest, CalibrationGridWithAndWithoutLink)
{
    SettingsPanel& p = Panel();
    Inst().SetGasEnabled(1, false);
    Inst().SetAnalogValue(0, 1234);
    Inst().SetBattery(3.6f);
    p.FillCalGrid();
    EXPECT_EQ(p.vfgCal->Cols(), 4);
    EXPECT_EQ(p.vfgCal->Text(0, 3), "Current Reading");
    EXPECT_EQ(p.vfgCal->Text(1, 0), "H2S(30ppm)");
    EXPECT_EQ(p.vfgCal->Text(1, 2), "25.0");
    EXPECT_EQ(p.vfgCal->CellCheck(1, 1), DataGrid::Checked);
    EXPECT_EQ(p.vfgCal->CellCheck(2, 1), DataGrid::Unchecked);
    EXPECT_EQ(p.vfgCal->CellBackColor(2, 1), RGB(192, 192, 192));
    // A disabled gas's tick cannot stay; the other cells are not edited.
    p.vfgCal->SetCellCheck(2, 1, DataGrid::Checked);
    p.vfgCal_AfterEdit(2, 1);
    EXPECT_EQ(p.vfgCal->CellCheck(2, 1), DataGrid::Unchecked);
    EXPECT_TRUE(p.vfgCal_BeforeEdit(1, 2));
    EXPECT_FALSE(p.vfgCal_BeforeEdit(1, 1));

    window->State().LiveValues = {1.5f, -101.0f};
    p.ShowADValues();
    EXPECT_EQ(p.vfgCal->Text(1, 3), "1.5");
    EXPECT_EQ(p.vfgCal->Text(2, 3), "-----");
    EXPECT_EQ(p.lblADCh(0)->text(), "1.234V");
    EXPECT_EQ(p.lblBatteryVoltage->text(), "3.600V");

    fake.status = 1;
    App().CurrentGas[0].Name = "CO";
    App().CurrentGas[0].Unit = "ppm";
    App().CurrentGas[0].FullScale = 500;
    p.FillCalGrid();
    EXPECT_EQ(p.vfgCal->Text(1, 0), "CO(500ppm)");
    EXPECT_EQ(p.vfgCal->Text(1, 2), "-----");
    EXPECT_EQ(p.vfgCal->CellCheck(1, 1), DataGrid::Checked);
}
