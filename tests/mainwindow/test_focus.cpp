// Where the keyboard focus is after a keyboard user's action in a panel.
// Each case starts from the control the user has tabbed to, presses keys
// on whatever holds the focus, and then requires the focus on a shown,
// enabled control inside the panel the user works in (never in the menu
// column), namely the control named by the case, and that control shows the
// focus: it looks different with the focus than without it, and a list or
// grid with items has a current item (in a grid a data cell, never a
// caption). The table runs in both languages: the layout of the panels
// differs between them. With PELKAR_SHOTS=<folder> each case saves a
// picture of the window at its focus stop.
#include "main_window_fixture.h"
#include "../settings/gas_channel.h"
#include "../views/view_db_fixture.h"
#include "focus_contrast.h"
#include "item_texts.h"

#include "browser/browser_keys.h"
#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "browser/password_dialog.h"
#include "download/download_panel.h"
#include "download/frmUpload.h"
#include "printing/printer_choice.h"
#include "settings/frmFsDialog.h"
#include "settings/frmGasSel.h"
#include "settings/instrument_panel.h"
#include "views/data_view_window.h"

#include "common/file_write.h"
#include "common/paths.h"
#include "common/widgets/grid_writer.h"
#include "graph/ucltalgraph.h"
#include "records/instrument.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <cerrno>
#include <functional>

namespace {

struct FocusFixture {
    frmMain& w;
    ScriptedPrompt& prompt;
    FakeQvif& fake;
};

struct FocusCase {
    const char* name;
    // The menu frame (fraMenu index) the focus must be in afterwards.
    int panel;
    // Brings the window to the case's state and puts the focus on the
    // control the user starts from.
    std::function<void(FocusFixture&)> prepare;
    // The user's key presses.
    std::function<void(FocusFixture&)> keys;
    // The control that must hold the focus (or contain it).
    std::function<QWidget*(FocusFixture&)> expected;
};

// Makes window the active one, as the application sees it (a little after
// the platform does); false when it does not become active.
bool ActivateWindow(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

// Puts the focus on a control as Tab would.
void FocusOn(QWidget* control)
{
    control->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(control->hasFocus()) << control->objectName().toStdString();
}

// A key pressed and released on whatever holds the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "no control has the focus before the key press";
    QTest::keyClick(focus, key, modifiers);
}

// What the platform sends for the Menu key: the context menu of the control
// with the focus, asked for at its cursor (its current item).
void PressMenuKey()
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    const QPoint pos = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, focus->mapToGlobal(pos));
    QApplication::sendEvent(focus, &menu);
}

QString Describe(const QWidget* w)
{
    if (!w)
        return QStringLiteral("nothing");
    QString path;
    for (const QWidget* p = w; p; p = p->parentWidget())
        path = (p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName())
               + (path.isEmpty() ? QString() : QStringLiteral(" > ") + path);
    return path;
}

QTreeWidgetItem* IntervalNode(frmMain& w)
{
    QTreeWidgetItem* folder = w.Data().tvwLog->topLevelItem(0)->child(0);
    return folder ? folder->child(0) : nullptr;
}

// The browser on the interval trends' node, the first record picked.
void BrowseIntervals(FocusFixture& f)
{
    f.w.cmdInst_Click(2);
    QTreeWidgetItem* node = IntervalNode(f.w);
    ASSERT_NE(node, nullptr);
    node->parent()->setExpanded(true);
    f.w.Data().tvwLog->setCurrentItem(node);
    ASSERT_EQ(f.w.Data().SelectedKind, 1);
}

// The first interval trend open in the data view, as a table or a graph.
void ViewRecord(FocusFixture& f, bool graph)
{
    BrowseIntervals(f);
    f.w.Data().cmdDetail->click();
    ASSERT_TRUE(f.w.fraMenu(3)->isVisible());
    if (graph) {
        f.w.View().optBrowse(1)->setChecked(true);
        ASSERT_TRUE(f.w.View().talGraph->isVisible());
    }
}

// The export's file answered with a new file on a disk that is full; the
// failure's box answered (FocusTest's TearDown empties the disk again).
void ExpectExportOnAFullDisk(FocusFixture& f)
{
    f.prompt.ExpectFile(ProgramFile(QStringLiteral("Export.csv")));
    f.prompt.ExpectBox(MsgResult::Ok);
    SetWriteFault([](WriteStep, const QString&) { return ENOSPC; });
}

// The settings panel with a connected two-gas instrument in service mode.
void SettingsConnected(FocusFixture& f)
{
    App().ServiceMode = true;
    SetH2sAndOxygen(f.w.State().MainInstrument());
    f.fake.connected = true;
    f.fake.status = 2;
    App().FactAutoCal = {-101.0f, -101.0f};
    f.w.cmdInst_Click(4);
    ASSERT_TRUE(f.w.Settings().cmdOption(0)->isEnabled());
}

// The last-calibration panel open on its default option, whose list is
// empty (its box answered).
void OpenLastCal(FocusFixture& f)
{
    f.prompt.ExpectBox(MsgResult::Ok); // the empty list's box on opening
    f.w.cmdInst_Click(3);
}

// The option of the last-calibration panel that is checked.
QWidget* CheckedHistoryOption(FocusFixture& f)
{
    for (int i = 0; i < f.w.LastCal().optHistory.Count(); ++i)
        if (f.w.LastCal().optHistory(i)->isChecked())
            return f.w.LastCal().optHistory(i);
    return nullptr;
}

FakeQvif::Step Answered()
{
    FakeQvif::Step s;
    s.answerReceived = true;
    return s;
}

// The instrument connects: the download panel offers its commands.
void ConnectInstrument(FocusFixture& f)
{
    f.fake.connected = true;
    f.fake.RaiseOnConnect();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_TRUE(f.w.Download().cmdDown(0)->isEnabled());
}

// The download panel shown with an instrument connected.
void DownloadPanelConnected(FocusFixture& f)
{
    ConnectInstrument(f);
    f.w.cmdInst_Click(0);
}

// The instrument switched off by Enter on Power Off, the question answered
// Yes: the download buttons stay disabled until it connects again, and
// meanwhile the focus waits on a shown control of the panel.
void PowerOffByEnter(FocusFixture& f)
{
    f.prompt.ExpectBox(MsgResult::Yes);
    f.fake.Script("BodyPowerOff", Answered());
    FocusOn(f.w.Download().cmdDown(8));
    Press(Qt::Key_Return);
    ASSERT_FALSE(f.w.Download().cmdDown(8)->isEnabled());
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && focus->isVisible() && f.w.fraMenu(0)->isAncestorOf(focus)) << Describe(focus).toStdString();
}

const FocusCase kCases[] = {
    // ---- the stored-data browser ----
    {"BrowseMenuButton", 2, [](FocusFixture& f) { FocusOn(f.w.cmdInst(2)); },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().lvwLog; }},
    {"TreeArrow", 2,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().tvwLog);
     },
     [](FocusFixture&) { Press(Qt::Key_Down); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().tvwLog; }},
    {"ListArrow", 2,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().lvwLog);
     },
     [](FocusFixture&) { Press(Qt::Key_Down); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().lvwLog; }},
    {"SerialLevelBox", 2,
     [](FocusFixture& f) {
         f.w.cmdInst_Click(2);
         FocusOn(f.w.Data().chkLog(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().chkLog(0); }},
    // Tab leaves a grid for the next control: it never cycles through the
    // cells for good.
    {"TabFromThePropertyGrid", 2,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().vfgLog);
     },
     [](FocusFixture&) { Press(Qt::Key_Tab); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().cmdDetail; }},
    // A record deleted by keys alone (the Menu key, Enter on Delete, the
    // password and the question answered): the list keeps the focus, with
    // the next record current.
    {"DeleteARecordByKeys", 2,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().lvwLog);
         App().Password = QStringLiteral("1234");
         f.prompt.ExpectWindow([](QWidget* window) {
             auto* password = qobject_cast<PasswordDialog*>(window);
             EXPECT_NE(password, nullptr);
             if (!password)
                 return int(QDialog::Rejected);
             password->txtPass->setText(QStringLiteral("1234"));
             password->cmdPass_Click(0);
             return password->result();
         });
         f.prompt.ExpectBox(MsgResult::Yes);
     },
     [](FocusFixture& f) {
         const QTreeWidgetItem* deleted = f.w.Data().lvwLog->currentItem();
         ASSERT_NE(deleted, nullptr);
         const QString next = f.w.Data().lvwLog->itemBelow(deleted)->text(0);
         PressMenuKey();
         auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
         ASSERT_NE(menu, nullptr);
         QTest::keyClick(menu, Qt::Key_Return);
         ASSERT_EQ(f.w.Data().lvwLog->topLevelItemCount(), 1);
         ASSERT_NE(f.w.Data().lvwLog->currentItem(), nullptr);
         EXPECT_EQ(f.w.Data().lvwLog->currentItem()->text(0), next);
         EXPECT_TRUE(f.w.Data().cmdDetail->isEnabled());
     },
     [](FocusFixture& f) -> QWidget* { return f.w.Data().lvwLog; }},
    {"ViewDataOpensTheTable", 3,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().cmdDetail);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.View().vfgBrowse; }},
    {"ViewDataOpensTheGraph", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         f.w.View().cmdBrowse(4)->click();
         FocusOn(f.w.Data().cmdDetail);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.View().talGraph; }},

    // ---- the data view ----
    {"OutlineBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().chkOutline);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.View().chkOutline; }},
    {"EventOnlyBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().chkEvent);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.View().chkEvent; }},
    {"GraphChoice", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().optBrowse(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Right); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().optBrowse(1); }},
    {"TableChoice", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().optBrowse(1));
     },
     [](FocusFixture&) { Press(Qt::Key_Left); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().optBrowse(0); }},
    {"SeriesBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().chkBrowse(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().chkBrowse(0); }},
    {"ZoomList", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().cmbBrowse);
     },
     [](FocusFixture&) { Press(Qt::Key_Down); }, [](FocusFixture& f) -> QWidget* { return f.w.View().cmbBrowse; }},
    {"EventBoxThenTab", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().chkBrowse(5));
     },
     [](FocusFixture&) {
         Press(Qt::Key_Space);
         Press(Qt::Key_Tab);
     },
     [](FocusFixture& f) -> QWidget* { return f.w.View().chkBrowse(6); }},
    // The graph options in their order on screen: the series boxes, the
    // zoom list, then Event and Cursor.
    {"TabFromLastSeriesBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().chkBrowse(1));
     },
     [](FocusFixture&) { Press(Qt::Key_Tab); }, [](FocusFixture& f) -> QWidget* { return f.w.View().cmbBrowse; }},
    {"TabFromZoomList", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().cmbBrowse);
     },
     [](FocusFixture&) { Press(Qt::Key_Tab); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().chkBrowse(5); }},
    {"TabFromEventBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().chkBrowse(5));
     },
     [](FocusFixture&) { Press(Qt::Key_Tab); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().chkBrowse(6); }},
    {"BackTabFromEventBox", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().chkBrowse(5));
     },
     [](FocusFixture&) { Press(Qt::Key_Backtab, Qt::ShiftModifier); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().cmbBrowse; }},
    {"TabFromTheTable", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().vfgBrowse);
     },
     [](FocusFixture&) { Press(Qt::Key_Tab); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().cmdBrowse(0); }},
    // Enter on a status cell of the interval table opens the alarm trend
    // recorded around it in the Data View window, as a click does; once the
    // window has closed the focus is back in the table.
    {"EnterOnAStatusCell", 3,
     [](FocusFixture& f) {
         StoreAlarm(3, "SN1", MakeDate(2024, 5, 17, 12, 0, 50), 361);
         ViewRecord(f, false);
         f.prompt.ExpectWindow([](QWidget* window) {
             const auto* table = window->findChild<DataGrid*>(QStringLiteral("vfgBrowse"));
             EXPECT_TRUE(table && table->Rows() == 361) << "the alarm trend's table";
             // The window's keyboard starts on its table, at the alarm row.
             EXPECT_EQ(window->focusWidget(), table);
             EXPECT_EQ(table ? table->currentIndex().row() : -1, 181);
             return 0;
         });
         FocusOn(f.w.View().vfgBrowse);
     },
     [](FocusFixture& f) {
         // To the status cell by the arrow keys, then Enter.
         const DataGrid& g = *f.w.View().vfgBrowse;
         QModelIndex status;
         for (int r = 1; r < g.Rows() && !status.isValid(); ++r)
             for (int c = 1; c < g.Cols() && !status.isValid(); ++c)
                 if (g.Text(r, c).startsWith(QStringLiteral("ALAR")) && g.CellBackColor(r, c) != 0)
                     status = g.model()->index(r, c);
         ASSERT_TRUE(status.isValid());
         Press(Qt::Key_Home, Qt::ControlModifier);
         for (int r = 1; r < status.row(); ++r)
             Press(Qt::Key_Down);
         for (int c = 1; c < status.column(); ++c)
             Press(Qt::Key_Right);
         ASSERT_EQ(g.currentIndex(), status);
         Press(Qt::Key_Return);
         EXPECT_EQ(f.prompt.windows, QStringList({QStringLiteral("frmIntermittence")}));
     },
     [](FocusFixture& f) -> QWidget* { return f.w.View().vfgBrowse; }},
    {"SummaryButton", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().cmdBrowse(3));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().cmdBrowse(3); }},
    // An export that the full disk refuses: its box closes back onto the
    // Export button; with the graph shown, onto the graph, as after every
    // button there.
    {"ExportOnAFullDisk", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         ExpectExportOnAFullDisk(f);
         FocusOn(f.w.View().cmdBrowse(2));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().cmdBrowse(2); }},
    {"GraphExportOnAFullDisk", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         ExpectExportOnAFullDisk(f);
         FocusOn(f.w.View().cmdBrowse(2));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().talGraph; }},
    {"SummaryButtonOverTheGraph", 3,
     [](FocusFixture& f) {
         ViewRecord(f, true);
         FocusOn(f.w.View().cmdBrowse(3));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.View().talGraph; }},
    {"ReturnButton", 2,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().cmdBrowse(4));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().lvwLog; }},

    // ---- the last-calibration list ----
    {"CalibrationDateOption", 4,
     [](FocusFixture& f) {
         f.prompt.ExpectBox(MsgResult::Ok); // the empty list's box on opening
         f.w.cmdInst_Click(3);
         f.prompt.ExpectBox(MsgResult::Ok); // and again for the option's list
         FocusOn(f.w.LastCal().optHistory(1));
     },
     [](FocusFixture&) { Press(Qt::Key_Right); },
     [](FocusFixture& f) -> QWidget* { return f.w.LastCal().optHistory(2); }},

    // Tab into the options lands on the checked one, also after another
    // option had the focus and the choice changed by code; Space on it then
    // changes nothing (a new list would ask its box again).
    {"BackTabIntoTheOptions", 4,
     [](FocusFixture& f) {
         OpenLastCal(f);
         FocusOn(f.w.LastCal().vfgHistory);
     },
     [](FocusFixture&) {
         Press(Qt::Key_Backtab, Qt::ShiftModifier);
         Press(Qt::Key_Space);
     },
     CheckedHistoryOption},
    {"TabIntoTheOptionsAfterAChangeByCode", 4,
     [](FocusFixture& f) {
         OpenLastCal(f);
         FocusOn(f.w.LastCal().optHistory(0));
         f.prompt.ExpectBox(MsgResult::Ok); // the list of the option set by code
         f.w.LastCal().optHistory(2)->setChecked(true);
         FocusOn(f.w.LastCal().vfgHistory);
     },
     [](FocusFixture&) {
         Press(Qt::Key_Backtab, Qt::ShiftModifier);
         Press(Qt::Key_Space);
     },
     [](FocusFixture& f) -> QWidget* { return f.w.LastCal().optHistory(2); }},
    {"LastCalibrationGrid", 4,
     [](FocusFixture& f) {
         OpenLastCal(f);
         FocusOn(f.w.LastCal().vfgHistory);
     },
     [](FocusFixture&) { Press(Qt::Key_Down); },
     [](FocusFixture& f) -> QWidget* { return f.w.LastCal().vfgHistory; }},

    // ---- the instrument information ----
    // The grids' current cell is a value of a gas, never a title, heading
    // or gas name.
    {"InstrumentCalibrationGrid", 1,
     [](FocusFixture& f) {
         f.w.cmdInst_Click(1);
         FocusOn(f.w.Instrument().vfgInst);
     },
     [](FocusFixture&) {
         Press(Qt::Key_Up);
         Press(Qt::Key_Left);
     },
     [](FocusFixture& f) -> QWidget* { return f.w.Instrument().vfgInst; }},
    {"InstrumentSensorGrid", 1,
     [](FocusFixture& f) {
         f.w.cmdInst_Click(1);
         FocusOn(f.w.Instrument().vfgInstSensor);
     },
     [](FocusFixture&) { Press(Qt::Key_Home, Qt::ControlModifier); },
     [](FocusFixture& f) -> QWidget* { return f.w.Instrument().vfgInstSensor; }},

    // ---- the settings panel ----
    {"UpdateButton", 5,
     [](FocusFixture& f) {
         SettingsConnected(f);
         f.fake.Script("SetInstrument", Answered());
         f.prompt.ExpectBox(MsgResult::Yes);
         f.prompt.ExpectBox(MsgResult::Ok);
         FocusOn(f.w.Settings().cmdOption(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Settings().cmdOption(0); }},
    {"CalibrationButton", 5,
     [](FocusFixture& f) {
         SettingsConnected(f);
         FocusOn(f.w.Settings().cmdOption(2));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); }, [](FocusFixture& f) -> QWidget* { return f.w.Settings().vfgCal; }},
    {"ZeroButton", 5,
     [](FocusFixture& f) {
         SettingsConnected(f);
         f.w.Settings().cmdOption(2)->click();
         f.fake.Script("ZeroCal", Answered());
         f.prompt.ExpectBox(MsgResult::Ok);
         FocusOn(f.w.Settings().cmdCal(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Settings().cmdCal(0); }},
    {"ExitCalibrationButton", 5,
     [](FocusFixture& f) {
         SettingsConnected(f);
         f.w.Settings().cmdOption(2)->click();
         FocusOn(f.w.Settings().cmdCal(2));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Settings().vfgOption; }},
    // The listing read whole but not written (a full disk): its box closes
    // back onto the button the user pressed.
    {"DumpListOnAFullDisk", 5,
     [](FocusFixture& f) {
         SettingsConnected(f);
         FakeQvif::Step full = Answered();
         full.action = [&f] { f.fake.dumpFileError = QStringLiteral("Dump list file cannot be written: the disk is full"); };
         f.fake.Script("GetRomDump", full);
         f.prompt.ExpectBox(MsgResult::Yes);
         f.prompt.ExpectBox(MsgResult::Ok);
         FocusOn(f.w.Settings().cmdOptionDisp(6));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Settings().cmdOptionDisp(6); }},

    // ---- the download panel ----
    {"LogPane", 0,
     [](FocusFixture& f) {
         f.w.cmdInst_Click(0);
         FocusOn(f.w.Download().rtbLog);
     },
     [](FocusFixture&) { Press(Qt::Key_Down); }, [](FocusFixture& f) -> QWidget* { return f.w.Download().rtbLog; }},
    {"PropertyGridArrow", 2,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().vfgLog);
     },
     [](FocusFixture&) { Press(Qt::Key_Left); }, [](FocusFixture& f) -> QWidget* { return f.w.Data().vfgLog; }},
    {"ReadInformationButton", 0,
     [](FocusFixture& f) {
         DownloadPanelConnected(f);
         f.fake.Script("GetInstrument", Answered());
         QPushButton* read = f.w.Download().cmdDown(1);
         ASSERT_TRUE(read->isEnabled());
         FocusOn(read);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Download().cmdDown(1); }},
    // A command that ends with its button disabled (the instrument is off)
    // gives the button the focus once it is enabled again; a command run
    // after that gets it back as usual.
    {"PowerOffUntilTheInstrumentIsBack", 0,
     DownloadPanelConnected,
     [](FocusFixture& f) {
         PowerOffByEnter(f);
         ConnectInstrument(f);
     },
     [](FocusFixture& f) -> QWidget* { return f.w.Download().cmdDown(8); }},
    {"CompleteDownloadAfterAPowerOff", 0,
     [](FocusFixture& f) {
         DownloadPanelConnected(f);
         PowerOffByEnter(f);
         ConnectInstrument(f);
         for (const char* step : {"GetInstrument", "GetLatestHistory", "GetHistory", "GetInterval", "GetAlarm"})
             f.fake.Script(step, Answered());
         FocusOn(f.w.Download().cmdDown(0));
     },
     [](FocusFixture&) { Press(Qt::Key_Return); },
     [](FocusFixture& f) -> QWidget* { return f.w.Download().cmdDown(0); }},
    // The user moves the focus while the instrument is off: it stays there.
    {"PowerOffThenTheUserMovesOn", 0,
     DownloadPanelConnected,
     [](FocusFixture& f) {
         PowerOffByEnter(f);
         FocusOn(f.w.Download().txtSuffix);
         ConnectInstrument(f);
     },
     [](FocusFixture& f) -> QWidget* { return f.w.Download().txtSuffix; }},
};

// The picture of a grid's current cell (none without one).
QImage CurrentCellPicture(QWidget* focus)
{
    auto* grid = qobject_cast<DataGrid*>(focus);
    if (!grid || !grid->currentIndex().isValid())
        return {};
    return grid->viewport()->grab(grid->visualRect(grid->currentIndex())).toImage();
}

// The control with the focus shows it. A list or grid with items has a
// current item, in a grid a data cell (under the caption rows, right of the
// caption columns) that wears a frame standing out from the cell, and every
// control looks different with the focus than without it (its focus frame,
// rectangle or the current item's mark).
void ExpectShowsFocus(QWidget* focus, const std::string& where)
{
    if (auto* grid = qobject_cast<DataGrid*>(focus)) {
        if (grid->Rows() > grid->FixedRows()) {
            const QModelIndex current = grid->currentIndex();
            EXPECT_TRUE(current.isValid()) << where << ": no current cell";
            EXPECT_GE(current.row(), grid->FixedRows()) << where << ": the current cell is a caption";
            if (grid->Cols() > grid->FixedCols()) {
                EXPECT_GE(current.column(), grid->FixedCols()) << where << ": the current cell is a caption";
            }
        }
    } else if (auto* view = qobject_cast<QAbstractItemView*>(focus)) {
        if (view->model() && view->model()->rowCount() > 0) {
            EXPECT_TRUE(view->currentIndex().isValid()) << where << ": no current item";
        }
    }
    // A control that hands the focus to a part of it (the graph to its
    // drawing) shows it as a whole.
    QWidget* shows = focus;
    while (shows->parentWidget() && shows->parentWidget()->focusProxy() == shows)
        shows = shows->parentWidget();
    const QImage with = shows->grab().toImage();
    const QImage cellWith = CurrentCellPicture(focus);
    focus->clearFocus();
    const QImage without = shows->grab().toImage();
    const QImage cellWithout = CurrentCellPicture(focus);
    EXPECT_NE(with, without) << where << ": looks the same without the focus";
    if (!cellWith.isNull()) {
        EXPECT_TRUE(ContrastingFrameAround(cellWithout, cellWith))
            << where << ": the current cell's frame does not stand out from the cell";
    }
}

// Saves a picture of the window under PELKAR_SHOTS, for a look at each stop.
void SaveShot(QWidget& window, const std::string& name)
{
    const QString folder = qEnvironmentVariable("PELKAR_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const QString file = QString::fromStdString(name).replace(QLatin1Char('/'), QLatin1Char('-'));
    window.grab().save(QDir(folder).filePath(file + QStringLiteral(".png")));
}

} // namespace

class FocusTest : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<int, ResLanguage>> {
protected:
    void TearDown() override
    {
        SetWriteFault({});
        MainWindowTest::TearDown();
    }

    // The main window shown and active over the log database as it is,
    // in the keyboard user's state (see StaysInThePanel).
    frmMain& ShowWindow()
    {
        frmMain& w = MakeWindow();
        w.Form_Load();
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        w.setAttribute(Qt::WA_KeyboardFocusChange);
        return w;
    }

    // ShowWindow in the case's language over two stored interval trends,
    // the first with an event, in the log database.
    frmMain& ShowWindowOverTwoTrends()
    {
        SetResLanguage(std::get<1>(GetParam()));
        CreateLogDatabase(LogDatabasePath());
        const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
        StoreInterval(1, "SN1", start, 40, {{start.addSecs(50), -104, -101}});
        StoreInterval(2, "SN1", start.addSecs(3600), 40, {});
        return ShowWindow();
    }
};

namespace {

std::string LanguageName(const std::tuple<int, ResLanguage>& param)
{
    return std::get<1>(param) == ResLanguage::Japanese ? "Japanese" : "English";
}

// The names of a test over a table of cases in both languages: the case's
// name and the language.
template <typename Case, size_t N>
auto CaseAndLanguageName(const Case (&cases)[N])
{
    return [&cases](const ::testing::TestParamInfo<std::tuple<int, ResLanguage>>& info) {
        return std::string(cases[std::get<0>(info.param)].name) + "_" + LanguageName(info.param);
    };
}

// Every case of a table in both languages.
template <typename Case, size_t N>
auto EveryCaseInBothLanguages(const Case (&)[N])
{
    return ::testing::Combine(::testing::Range(0, static_cast<int>(N)),
                              ::testing::Values(ResLanguage::English, ResLanguage::Japanese));
}

const auto kBothLanguages =
    ::testing::Combine(::testing::Values(0), ::testing::Values(ResLanguage::English, ResLanguage::Japanese));

std::string OnlyLanguageName(const ::testing::TestParamInfo<std::tuple<int, ResLanguage>>& info)
{
    return LanguageName(info.param);
}

} // namespace

TEST_P(FocusTest, StaysInThePanel)
{
    const FocusCase& c = kCases[std::get<0>(GetParam())];
    // The keyboard user's window: Tab has moved the focus in it before,
    // which is when a style draws its focus rectangles.
    frmMain& w = ShowWindowOverTwoTrends();
    if (HasFailure())
        return;

    FocusFixture f{w, prompt, fake};
    c.prepare(f);
    if (HasFatalFailure())
        return;
    c.keys(f);
    if (HasFatalFailure())
        return;
    // A window of the command's own (the progress window) may have had the
    // focus meanwhile; the main window is active again once it has gone.
    if (!w.isActiveWindow()) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    QWidget* focus = QApplication::focusWidget();
    const std::string where = Describe(focus).toStdString();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus->isVisible() && focus->isEnabled()) << where;
    for (QPushButton* menu : w.cmdInst)
        EXPECT_NE(focus, menu) << where;
    EXPECT_TRUE(w.fraMenu(c.panel)->isAncestorOf(focus)) << where;
    QWidget* expected = c.expected(f);
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus))
        << where << ", expected on " << Describe(expected).toStdString();
    SaveShot(w, ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ExpectShowsFocus(focus, where);
}

INSTANTIATE_TEST_SUITE_P(Panels, FocusTest, EveryCaseInBothLanguages(kCases), CaseAndLanguageName(kCases));

// Lists and grids with nothing in them show the focus by their frame: the
// browser over an empty database and the empty last-calibration list.
class EmptyFocusTest : public FocusTest {};

TEST_P(EmptyFocusTest, EmptyListsAndGridsShowTheFocus)
{
    SetResLanguage(std::get<1>(GetParam()));
    CreateLogDatabase(LogDatabasePath());
    frmMain& w = ShowWindow();
    FocusFixture f{w, prompt, fake};
    w.cmdInst_Click(2);
    ASSERT_EQ(w.Data().lvwLog->topLevelItemCount(), 0);
    ASSERT_LE(w.Data().vfgLog->Rows(), w.Data().vfgLog->FixedRows() + 1);
    for (QWidget* control : {static_cast<QWidget*>(w.Data().lvwLog), static_cast<QWidget*>(w.Data().vfgLog)}) {
        FocusOn(control);
        SaveShot(w, std::string("Empty_") + control->objectName().toStdString());
        ExpectShowsFocus(control, Describe(control).toStdString());
    }
    OpenLastCal(f);
    FocusOn(w.LastCal().vfgHistory);
    ExpectShowsFocus(w.LastCal().vfgHistory, "vfgHistory");
}

INSTANTIATE_TEST_SUITE_P(Languages, EmptyFocusTest, kBothLanguages, OnlyLanguageName);

// The browser's tree and list pick what becomes their current item. One
// that takes the focus without a current item picks nothing (the list keeps
// what it shows, nothing is picked for View Data) and shows the focus by its
// frame; the first arrow key then picks the first node.
TEST_P(EmptyFocusTest, FocusAloneDoesNotPick)
{
    SetResLanguage(std::get<1>(GetParam()));
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreInterval(1, "SN1", start, 40, {});
    frmMain& w = ShowWindow();
    w.cmdInst_Click(2);
    DataPanel& data = w.Data();
    ASSERT_EQ(data.tvwLog->currentItem(), nullptr);
    ASSERT_GT(data.tvwLog->topLevelItemCount(), 0);
    const int listed = data.lvwLog->topLevelItemCount();
    const int kind = data.SelectedKind;
    const QImage without = data.tvwLog->grab().toImage();

    data.tvwLog->setFocus(Qt::BacktabFocusReason);
    ASSERT_TRUE(data.tvwLog->hasFocus());
    SaveShot(w, "FocusAloneDoesNotPick");
    EXPECT_EQ(data.tvwLog->currentItem(), nullptr);
    EXPECT_EQ(data.lvwLog->topLevelItemCount(), listed);
    EXPECT_EQ(data.SelectedKind, kind);
    EXPECT_NE(data.tvwLog->grab().toImage(), without) << "the tree does not show the focus";

    QTest::keyClick(data.tvwLog, Qt::Key_Down);
    EXPECT_EQ(data.tvwLog->currentItem(), data.tvwLog->topLevelItem(0));
    EXPECT_GT(data.lvwLog->topLevelItemCount(), 0) << "the arrow key picked nothing";
}

namespace {

// One instrument's last calibration in the last-calibration list.
void AddLastCalibration()
{
    LogDb db;
    ExecSql(db,
            QStringLiteral("Insert Into cLatestHist (SeqNo, SerialNo, UserID, StationID, WriteDates, Gas1Name, "
                           "Gas1Full, Gas1CalDate) Values (1, 'A1', 'U', 'S', '2026-01-01 00:00:00', 'CO', 500, "
                           "'2025-01-01 00:00:00');"),
            {});
}

struct MenuCase {
    const char* name;
    std::function<void(FocusFixture&)> prepare; // leaves the focus on the control
    std::function<QAction*(FocusFixture&)> first; // the menu's first item
    bool shiftF10;
};

const MenuCase kMenuCases[] = {
    {"TreeMenuKey",
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().tvwLog);
     },
     [](FocusFixture& f) { return f.w.Data().mnuDelete; }, false},
    {"ListMenuKey",
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().lvwLog);
     },
     [](FocusFixture& f) { return f.w.Data().mnuDelete; }, false},
    {"ListShiftF10",
     [](FocusFixture& f) {
         BrowseIntervals(f);
         FocusOn(f.w.Data().lvwLog);
     },
     [](FocusFixture& f) { return f.w.Data().mnuDelete; }, true},
    {"LastCalibrationMenuKey",
     [](FocusFixture& f) {
         AddLastCalibration();
         f.w.cmdInst_Click(3);
         FocusOn(f.w.LastCal().vfgHistory);
         ASSERT_TRUE(f.w.LastCal().vfgHistory->currentIndex().isValid());
     },
     [](FocusFixture& f) { return f.w.LastCal().mnuHistDel; }, false},
};

} // namespace

// A context menu opened from the keyboard at the current item has its
// first item active, so Enter acts on it at once: a deletion asks for the
// password.
class MenuKeyTest : public FocusTest {};

TEST_P(MenuKeyTest, EnterActsOnTheFirstItem)
{
    const MenuCase& c = kMenuCases[std::get<0>(GetParam())];
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    c.prepare(f);
    if (HasFatalFailure())
        return;
    QAction* first = c.first(f);
    QSignalSpy chosen(first, &QAction::triggered);
    // Each deletion asks for the password first.
    bool asked = false;
    {
        prompt.ExpectWindow([&asked](QWidget*) {
            asked = true;
            return int(QDialog::Rejected);
        });
    }
    if (c.shiftF10)
        Press(Qt::Key_F10, Qt::ShiftModifier);
    else
        PressMenuKey();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no menu opened";
    EXPECT_EQ(menu->activeAction(), first);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 1) << "Enter did not act on the first item";
    EXPECT_TRUE(asked);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuKeyTest, EveryCaseInBothLanguages(kMenuCases), CaseAndLanguageName(kMenuCases));

// ---- the keyboard reaches every command ----

namespace {

// Enter, or the keypad's Enter, on a button: the button with the focus.
void PressEnter(bool keypad)
{
    if (keypad)
        Press(Qt::Key_Enter, Qt::KeypadModifier);
    else
        Press(Qt::Key_Return);
}

struct EnterCase {
    const char* name;
    bool keypad;
    // Brings the window to the case's state and returns the button that the
    // focus is put on.
    std::function<QPushButton*(FocusFixture&)> prepare;
    // What the button's command did.
    std::function<void(FocusFixture&)> check;
};

const EnterCase kEnterCases[] = {
    {"Exit", false,
     [](FocusFixture& f) {
         f.prompt.ExpectBox(MsgResult::No);
         return f.w.cmdInst(5);
     },
     [](FocusFixture& f) {
         ASSERT_EQ(f.prompt.boxes.size(), 1);
         EXPECT_EQ(f.prompt.boxes[0].text, GetResString(5375));
         EXPECT_TRUE(f.w.isVisible());
     }},
    {"Data", false, [](FocusFixture& f) { return f.w.cmdInst(2); },
     [](FocusFixture& f) {
         EXPECT_TRUE(f.w.fraMenu(2)->isVisible());
         EXPECT_TRUE(f.w.Data().lvwLog->hasFocus());
     }},
    {"DataOnTheKeypad", true, [](FocusFixture& f) { return f.w.cmdInst(2); },
     [](FocusFixture& f) { EXPECT_TRUE(f.w.fraMenu(2)->isVisible()); }},
    {"ViewData", false,
     [](FocusFixture& f) {
         BrowseIntervals(f);
         return f.w.Data().cmdDetail;
     },
     [](FocusFixture& f) {
         EXPECT_TRUE(f.w.fraMenu(3)->isVisible());
         EXPECT_EQ(f.w.View().SeqNo(), 1);
     }},
    {"Summary", true,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         EXPECT_TRUE(f.w.View().vfgSummary->isVisible()); // shown at first
         return f.w.View().cmdBrowse(3);
     },
     [](FocusFixture& f) { EXPECT_TRUE(f.w.View().vfgSummary->isHidden()); }},
    {"Return", false,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         return f.w.View().cmdBrowse(4);
     },
     [](FocusFixture& f) { EXPECT_TRUE(f.w.fraMenu(2)->isVisible()); }},
};

} // namespace

// Enter and the keypad's Enter press the button with the focus, as Space
// does: in the menu column, on the panels and in the data view.
class EnterTest : public FocusTest {};

TEST_P(EnterTest, PressesTheFocusedButton)
{
    const EnterCase& c = kEnterCases[std::get<0>(GetParam())];
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    QPushButton* button = c.prepare(f);
    if (HasFatalFailure())
        return;
    ASSERT_NE(button, nullptr);
    FocusOn(button);
    PressEnter(c.keypad);
    c.check(f);
}

INSTANTIATE_TEST_SUITE_P(Buttons, EnterTest, EveryCaseInBothLanguages(kEnterCases), CaseAndLanguageName(kEnterCases));

// What a keyboard user reaches, in both languages.
class KeyboardReachTest : public FocusTest {};

INSTANTIATE_TEST_SUITE_P(Languages, KeyboardReachTest, kBothLanguages, OnlyLanguageName);

// In the Data View window of an alarm trend, Enter presses the focused
// button: Summary shows the summary, Return closes the window.
TEST_P(KeyboardReachTest, EnterInTheDataViewWindow)
{
    SetResLanguage(std::get<1>(GetParam()));
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreAlarm(12, "SN1", start, 361);
    frmMain& w = ShowWindow();
    bool summaryShown = false;
    bool closed = false;
    prompt.ExpectWindow([&](QWidget* window) {
        auto* view = qobject_cast<DataViewWindow*>(window);
        EXPECT_NE(view, nullptr);
        if (!view)
            return 0;
        view->activateWindow();
        // The application takes the window as active a little after the
        // platform does.
        if (!QTest::qWaitFor([view] { return view->isActiveWindow(); }))
            return 0;
        const bool hidden = view->vfgSummary->isHidden();
        FocusOn(view->cmdBrowse(3));
        PressEnter(false);
        summaryShown = hidden && view->vfgSummary->isVisible();
        FocusOn(view->cmdBrowse(4));
        PressEnter(true);
        closed = !view->isVisible();
        return 0;
    });
    w.View().OpenDataViewWindow({12, 2, start});
    EXPECT_TRUE(summaryShown);
    EXPECT_TRUE(closed);
}

// A zoomed graph is scrolled to its end by keys alone: the zoom chosen in
// its list, Tab from the graph to its scroll bar, which shows the focus, and
// End; Tab then goes on within the panel.
TEST_P(KeyboardReachTest, ZoomedGraphScrolledToItsEndByKeys)
{
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    ViewRecord(f, true);
    if (HasFatalFailure())
        return;
    uclTalGraph* graph = w.View().talGraph;
    FocusOn(w.View().cmbBrowse);
    Press(Qt::Key_Down);
    ASSERT_GT(graph->Zoom(), 1);
    const int last = graph->SampleCount() - 1;
    ASSERT_LT(graph->MaxX(), graph->Model().Offset(last));

    FocusOn(graph);
    Press(Qt::Key_Tab);
    auto* bar = graph->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), bar) << Describe(QApplication::focusWidget()).toStdString();
    SaveShot(w, std::string("ZoomedGraphScrollBar_") + (std::get<1>(GetParam()) == ResLanguage::Japanese ? "ja" : "en"));
    Press(Qt::Key_End);
    EXPECT_EQ(graph->MaxX(), graph->Model().Offset(last));
    Press(Qt::Key_Home);
    EXPECT_EQ(graph->MinX(), graph->Model().Offset(0));
    Press(Qt::Key_PageDown);
    EXPECT_GT(graph->MinX(), graph->Model().Offset(0));
    ExpectShowsFocus(bar, "hslWidth");

    FocusOn(bar);
    Press(Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(w.fraMenu(3)->isAncestorOf(next)) << Describe(next).toStdString();
}

// Enter on a record of the list opens it in the data view, as a double
// click does, and on a folder item opens the folder: from the root down to
// a record by keys alone, Enter and the keypad's Enter alike.
TEST_P(KeyboardReachTest, EnterOnTheListOpensFoldersAndRecords)
{
    frmMain& w = ShowWindowOverTwoTrends();
    DataPanel& data = w.Data();
    FocusOn(w.cmdInst(2));
    Press(Qt::Key_Return);
    ASSERT_TRUE(data.lvwLog->hasFocus());
    // The tree's root picked by keys, then on to the list.
    FocusOn(data.tvwLog);
    Press(Qt::Key_Down);
    ASSERT_EQ(data.tvwLog->currentItem(), data.tvwLog->topLevelItem(0));
    FocusOn(data.lvwLog);
    const auto currentKey = [&data] {
        QTreeWidgetItem* item = data.lvwLog->currentItem();
        return item ? item->data(0, Qt::UserRole).toString() : QString();
    };
    // Each Enter opens the folder of the current (first) item, down to the
    // list of the two records.
    for (int level = 0; level < 5 && browser::RecordKeySeqNo(currentKey()) == 0; ++level) {
        const QString folder = currentKey();
        ASSERT_TRUE(browser::IsFolderKey(folder)) << folder.toStdString();
        if (level % 2)
            Press(Qt::Key_Enter, Qt::KeypadModifier);
        else
            Press(Qt::Key_Return);
        ASSERT_TRUE(data.lvwLog->hasFocus());
        ASSERT_NE(currentKey(), folder) << "Enter did not open the folder";
        EXPECT_TRUE(data.TreeItem(folder)->parent()->isExpanded());
    }
    ASSERT_EQ(data.lvwLog->topLevelItemCount(), 2) << "the records were not reached";
    Press(Qt::Key_Down);
    const qint64 picked = browser::RecordKeySeqNo(currentKey());
    ASSERT_GT(picked, 0);
    Press(Qt::Key_Return);
    EXPECT_TRUE(w.fraMenu(3)->isVisible());
    EXPECT_EQ(w.View().SeqNo(), picked);
}

// The Menu key and Shift+F10 on a tree with no current node, or on the
// empty last-calibration list, open no menu and change nothing, wherever
// the platform asks (at the view's cursor, or in its middle).
TEST_P(KeyboardReachTest, KeyboardMenuWithoutACurrentItemOpensNothing)
{
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    DataPanel& data = w.Data();
    w.cmdInst_Click(2);
    data.tvwLog->expandAll();
    data.tvwLog->setFocus(Qt::BacktabFocusReason);
    ASSERT_EQ(data.tvwLog->currentItem(), nullptr);
    QSignalSpy deletes(data.mnuDelete, &QAction::triggered);
    const QStringList listed = ListTexts(data.lvwLog);
    const int kind = data.SelectedKind;

    const auto askEverywhere = [](QAbstractItemView* view) {
        const QPoint cursor = view->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        for (const QPoint& at : {cursor, view->viewport()->rect().center()}) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, view->mapToGlobal(at));
            QApplication::sendEvent(view, &menu);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
        }
        QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened on Shift+F10";
        if (auto* popup = QApplication::activePopupWidget())
            popup->close();
    };
    askEverywhere(data.tvwLog);
    EXPECT_EQ(data.tvwLog->currentItem(), nullptr);
    EXPECT_EQ(ListTexts(data.lvwLog), listed);
    EXPECT_EQ(data.SelectedKind, kind);
    EXPECT_EQ(deletes.count(), 0);

    OpenLastCal(f);
    FocusOn(w.LastCal().vfgHistory);
    ASSERT_FALSE(w.LastCal().vfgHistory->currentIndex().isValid());
    askEverywhere(w.LastCal().vfgHistory);
}

// The "Graph Color" buttons show the keyboard focus by a frame that stands
// out from whatever colour the user chose for them, the colour chosen by
// keys alone (Enter on the button, the colour dialog answered).
TEST_P(KeyboardReachTest, GraphColorButtonsShowTheFocusOnAnyColour)
{
    SetResLanguage(std::get<1>(GetParam()));
    CreateLogDatabase(LogDatabasePath());
    frmMain& w = ShowWindow();
    w.cmdInst_Click(4);
    const QColor colours[] = {QColor(0, 128, 255), QColor(255, 0, 0),   QColor(255, 255, 0), QColor(0, 0, 0),
                              QColor(255, 255, 255), QColor(128, 128, 128), QColor(0, 0, 128), QColor(48, 140, 198)};
    for (int b = 1; b <= 2; ++b) {
        QPushButton* button = w.Settings().cmdOptionDisp(b);
        for (const QColor& colour : colours) {
            SCOPED_TRACE(button->objectName().toStdString() + " " + colour.name().toStdString());
            prompt.ExpectColor(true, colour);
            FocusOn(button);
            Press(Qt::Key_Return);
            ASSERT_EQ(button->palette().color(QPalette::Button), colour);
            ASSERT_TRUE(button->hasFocus());
            const QImage with = button->grab().toImage();
            button->clearFocus();
            const QImage without = button->grab().toImage();
            EXPECT_TRUE(ContrastingFrameAround(without, with)) << "the focus does not stand out";
        }
        SaveShot(w, "GraphColor" + std::to_string(b));
    }
}

namespace {

// Every push button shown and enabled in window wears a frame that stands
// out from its face while it has the focus.
void ExpectButtonsShowTheFocus(QWidget* window, const std::string& where)
{
    ASSERT_TRUE(ActivateWindow(window)) << where;
    int checked = 0;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisible() || !button->isEnabled() || !(button->focusPolicy() & Qt::TabFocus))
            continue;
        button->setFocus(Qt::TabFocusReason);
        const QImage with = button->grab().toImage();
        button->clearFocus();
        const QImage without = button->grab().toImage();
        EXPECT_TRUE(ContrastingFrameAround(without, with))
            << where << ": " << Describe(button).toStdString() << " does not show the focus";
        ++checked;
    }
    EXPECT_GT(checked, 0) << where << ": no button";
}

} // namespace

// The push button with the focus stands out from its face in every window:
// the main window's panels, the dialogs, the progress window and the Data
// View window.
TEST_P(KeyboardReachTest, EveryFocusedPushButtonStandsOut)
{
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    App().ServiceMode = true;
    ConnectInstrument(f);
    for (int menu : {0, 4}) {
        w.cmdInst_Click(menu);
        ExpectButtonsShowTheFocus(&w, "menu " + std::to_string(menu));
    }
    ViewRecord(f, false);
    ExpectButtonsShowTheFocus(&w, "data view");

    frmSetPrinter printers({QStringLiteral("Office Laser"), QStringLiteral("PDF file")}, QStringLiteral("Office Laser"), &w);
    QString password = QStringLiteral("1234");
    PasswordDialog passwords(password, &w);
    frmFsDialog factory(w.State().MainInstrument(), &w);
    frmGasSel gases(&w);
    frmUpload& progress = w.Download().UploadForm();
    for (QWidget* dialog : std::initializer_list<QWidget*>{&printers, &passwords, &factory, &gases, &progress}) {
        dialog->show();
        ExpectButtonsShowTheFocus(dialog, dialog->objectName().toStdString());
        dialog->hide();
    }

    StoreAlarm(3, "SN1", MakeDate(2024, 5, 17, 12, 0, 50), 361);
    prompt.ExpectWindow([](QWidget* window) {
        ExpectButtonsShowTheFocus(window, "Data View window");
        return 0;
    });
    w.View().OpenDataViewWindow({3, 2, MakeDate(2024, 5, 17, 12, 0, 50)});
}

// In the printer choice, Tab to Cancel: Cancel shows the focus, and OK, the
// default button, keeps a look that is no focus frame, so only one of the
// two looks focused; Enter then acts on Cancel.
TEST_P(KeyboardReachTest, FocusedButtonStandsOutFromTheDefaultOne)
{
    SetResLanguage(std::get<1>(GetParam()));
    frmMain& w = ShowWindow();
    frmSetPrinter dialog({QStringLiteral("Office Laser"), QStringLiteral("PDF file")}, QStringLiteral("Office Laser"), &w);
    dialog.show();
    ASSERT_TRUE(ActivateWindow(&dialog));
    QPushButton* ok = dialog.OkButton();
    QPushButton* cancel = dialog.CancelButton();
    FocusOn(dialog.List());
    for (int i = 0; i < 3 && QApplication::focusWidget() != cancel; ++i)
        Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), cancel) << Describe(QApplication::focusWidget()).toStdString();
    ASSERT_TRUE(ok->isDefault());
    SaveShot(dialog, std::string("PrinterChoiceCancelFocused_") + LanguageName(GetParam()));

    const QImage cancelWith = cancel->grab().toImage();
    const QImage okDefault = ok->grab().toImage();
    ok->setDefault(false);
    const QImage okPlain = ok->grab().toImage();
    ok->setDefault(true);
    EXPECT_FALSE(ContrastingFrameAround(okPlain, okDefault)) << "the default button looks focused";
    FocusOn(ok);
    const QImage okWith = ok->grab().toImage();
    FocusOn(cancel);
    EXPECT_TRUE(ContrastingFrameAround(okDefault, okWith)) << "the focus does not stand out on the default button";
    cancel->clearFocus();
    EXPECT_TRUE(ContrastingFrameAround(cancel->grab().toImage(), cancelWith)) << "Cancel does not show the focus";

    FocusOn(cancel);
    Press(Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.SelNo(), -1);
}

// The interval time box stands beside its caption, greyed, and Tab passes it
// by: from the user ID box Tab goes on to the commands.
TEST_P(KeyboardReachTest, IntervalBoxIsShownGreyedAndOutOfTheTabOrder)
{
    frmMain& w = ShowWindowOverTwoTrends();
    FocusFixture f{w, prompt, fake};
    SettingsConnected(f);
    if (HasFatalFailure())
        return;
    SettingsPanel& set = w.Settings();
    EXPECT_TRUE(set.cmbInterval->isVisible());
    EXPECT_FALSE(set.cmbInterval->isEnabled());
    EXPECT_TRUE(set.lblOption(7)->isVisible());
    EXPECT_EQ(set.lblOption(7)->text(), GetResString(5223));
    FocusOn(set.txtOption(2));
    for (int i = 0; i < 40; ++i) {
        Press(Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_NE(focus, set.cmbInterval) << "Tab " << i + 1;
        if (i == 0) {
            EXPECT_EQ(focus, set.cmdOption(0)) << Describe(focus).toStdString();
        }
    }
}
