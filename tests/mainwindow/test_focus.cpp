// Where the keyboard focus is after a keyboard user's action in a panel.
// Each case starts from the control the user has tabbed to, presses keys
// on whatever holds the focus, and then requires the focus on a shown,
// enabled control inside the panel the user works in (never in the menu
// column), namely the control named by the case. The table runs in both
// languages: the layout of the panels differs between them.
#include "main_window_fixture.h"
#include "../settings/gas_channel.h"
#include "../views/view_db_fixture.h"

#include "common/widgets/grid_writer.h"
#include "graph/ucltalgraph.h"
#include "records/instrument.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

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

FakeQvif::Step Answered()
{
    FakeQvif::Step s;
    s.answerReceived = true;
    return s;
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
    {"SummaryButton", 3,
     [](FocusFixture& f) {
         ViewRecord(f, false);
         FocusOn(f.w.View().cmdBrowse(3));
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.View().cmdBrowse(3); }},
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

    // ---- the download panel ----
    {"ReadInformationButton", 0,
     [](FocusFixture& f) {
         f.fake.connected = true;
         f.fake.RaiseOnConnect();
         for (int i = 0; i < 5; ++i)
             QCoreApplication::processEvents();
         f.w.cmdInst_Click(0);
         f.fake.Script("GetInstrument", Answered());
         QPushButton* read = f.w.Download().cmdDown(1);
         ASSERT_TRUE(read->isEnabled());
         FocusOn(read);
     },
     [](FocusFixture&) { Press(Qt::Key_Space); },
     [](FocusFixture& f) -> QWidget* { return f.w.Download().cmdDown(1); }},
};

} // namespace

class FocusTest : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<int, ResLanguage>> {};

TEST_P(FocusTest, StaysInThePanel)
{
    const FocusCase& c = kCases[std::get<0>(GetParam())];
    SetResLanguage(std::get<1>(GetParam()));
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreInterval(1, "SN1", start, 40, {{start.addSecs(50), -104, -101}});
    StoreInterval(2, "SN1", start.addSecs(3600), 40, {});
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

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
    EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus))
        << where << ", expected on " << Describe(expected).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Panels, FocusTest,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kCases))),
                                            ::testing::Values(ResLanguage::English, ResLanguage::Japanese)),
                         [](const ::testing::TestParamInfo<FocusTest::ParamType>& info) {
                             return std::string(kCases[std::get<0>(info.param)].name)
                                    + (std::get<1>(info.param) == ResLanguage::Japanese ? "_Japanese" : "_English");
                         });
