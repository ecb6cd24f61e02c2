// Every option button, check box, zoom list, tree and list of the panels
// runs its handler whatever changes it: the program setting the value or
// the selection, or the keyboard. Each case is driven both ways on a loaded
// and shown window, and its visible effect is checked; boxes the handler
// shows are counted by the scripted prompt, so a handler that runs twice
// for one change fails as well.
#include "item_texts.h"
#include "main_window_fixture.h"
#include "../views/view_db_fixture.h"

#include "common/widgets/grid_writer.h"
#include "graph/ucltalgraph.h"
#include "settings/frmGasSel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {

enum class Drive { Code, Key };

void PrintTo(Drive d, std::ostream* os) { *os << (d == Drive::Code ? "by code" : "by key"); }

struct HandlerFixture {
    frmMain& w;
    ScriptedPrompt& prompt;
    std::unique_ptr<QWidget> dialog; // a window of a case's own
};

struct HandlerCase {
    const char* name;
    // Brings the window to the state the case starts from.
    std::function<void(HandlerFixture&)> prepare;
    // The change, made by the program's code or by a key press.
    std::function<void(HandlerFixture&)> byCode;
    std::function<void(HandlerFixture&)> byKey;
    std::function<void(HandlerFixture&)> check;
};

// An arrow key on the focused option of a group moves the choice.
void ArrowFrom(QRadioButton* from, Qt::Key key)
{
    from->setFocus();
    ASSERT_TRUE(from->hasFocus());
    QTest::keyClick(from, key);
}

void OpenRecordInView(frmMain& w, qint64 seqNo)
{
    w.Data().SelectedKind = 1;
    w.Data().SelectedSeqNo = seqNo;
    emit w.Data().DetailRequested();
    ASSERT_TRUE(w.fraMenu(3)->isVisible());
}

// The interval-trend node under the one folder (no grouping levels).
QTreeWidgetItem* IntervalNode(frmMain& w)
{
    QTreeWidgetItem* folder = w.Data().tvwLog->topLevelItem(0)->child(0);
    return folder ? folder->child(0) : nullptr;
}

const HandlerCase kCases[] = {
    {"LastCalibrationRecordOption",
     [](HandlerFixture& f) {
         f.prompt.ExpectBox(MsgResult::Ok); // the panel's own fill
         f.w.cmdInst_Click(3);
         f.prompt.ExpectBox(MsgResult::Ok); // the option's fill, once
     },
     [](HandlerFixture& f) { f.w.LastCal().optHistory(2)->setChecked(true); },
     [](HandlerFixture& f) { ArrowFrom(f.w.LastCal().optHistory(1), Qt::Key_Right); },
     [](HandlerFixture& f) {
         LastCalPanel& cal = f.w.LastCal();
         EXPECT_TRUE(cal.optHistory(2)->isChecked());
         ASSERT_EQ(f.prompt.boxes.size(), 2);
         EXPECT_EQ(f.prompt.boxes[1].text, "Calibration data not found.");
         EXPECT_EQ(cal.vfgHistory->Cols(), 8);
         EXPECT_EQ(cal.vfgHistory->Text(0, 4), "Gas");
         EXPECT_FALSE(cal.cmdLastCal->isEnabled());
     }},
    {"DataSerialLevelBox",
     [](HandlerFixture& f) { f.w.cmdInst_Click(2); },
     [](HandlerFixture& f) { f.w.Data().chkLog(0)->setChecked(true); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.Data().chkLog(0), Qt::Key_Space); },
     [](HandlerFixture& f) {
         DataPanel& d = f.w.Data();
         QTreeWidgetItem* root = d.tvwLog->topLevelItem(0);
         EXPECT_EQ(ChildTexts(root), (QStringList{"SN1", "SN2"}));
         EXPECT_EQ(d.tvwLog->currentItem(), root);
         EXPECT_EQ(d.lvwLog->headerItem()->text(0), "Serial No.");
         EXPECT_EQ(ListTexts(d.lvwLog), (QStringList{"SN1", "SN2"}));
     }},
    {"DataTreeNode",
     [](HandlerFixture& f) {
         f.w.cmdInst_Click(2);
         QTreeWidgetItem* folder = f.w.Data().tvwLog->topLevelItem(0)->child(0);
         folder->setExpanded(true);
         f.w.Data().tvwLog->setCurrentItem(folder);
         ASSERT_EQ(ListTexts(f.w.Data().lvwLog), (QStringList{"Interval Trend", "Power Events"}));
     },
     [](HandlerFixture& f) { f.w.Data().tvwLog->setCurrentItem(IntervalNode(f.w)); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.Data().tvwLog, Qt::Key_Down); },
     [](HandlerFixture& f) {
         DataPanel& d = f.w.Data();
         EXPECT_EQ(d.tvwLog->currentItem(), IntervalNode(f.w));
         EXPECT_EQ(ListTexts(d.lvwLog), (QStringList{"alpha", "beta"}));
         EXPECT_EQ(d.vfgLog->Text(1, 1), "alpha");
         EXPECT_EQ(d.SelectedKind, 1);
         EXPECT_EQ(d.SelectedSeqNo, 1);
         EXPECT_TRUE(d.cmdDetail->isEnabled());
     }},
    {"DataListItem",
     [](HandlerFixture& f) {
         f.w.cmdInst_Click(2);
         f.w.Data().tvwLog_NodeClick(IntervalNode(f.w)->data(0, Qt::UserRole).toString());
         ASSERT_EQ(f.w.Data().vfgLog->Text(1, 1), "alpha");
     },
     [](HandlerFixture& f) { f.w.Data().lvwLog->setCurrentItem(f.w.Data().lvwLog->topLevelItem(1)); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.Data().lvwLog, Qt::Key_Down); },
     [](HandlerFixture& f) {
         DataPanel& d = f.w.Data();
         EXPECT_EQ(d.vfgLog->Text(1, 1), "beta");
         EXPECT_EQ(d.SelectedKind, 1);
         EXPECT_EQ(d.SelectedSeqNo, 2);
         // View Data opens the highlighted record.
         d.cmdDetail->click();
         EXPECT_EQ(f.w.View().SeqNo(), 2);
     }},
    {"ViewGraphOption",
     [](HandlerFixture& f) { OpenRecordInView(f.w, 1); },
     [](HandlerFixture& f) { f.w.View().optBrowse(1)->setChecked(true); },
     [](HandlerFixture& f) { ArrowFrom(f.w.View().optBrowse(0), Qt::Key_Right); },
     [](HandlerFixture& f) {
         EXPECT_TRUE(f.w.View().talGraph->isVisible());
         EXPECT_FALSE(f.w.View().vfgBrowse->isVisible());
     }},
    {"ViewZoomList",
     [](HandlerFixture& f) {
         OpenRecordInView(f.w, 1);
         f.w.View().optBrowse(1)->setChecked(true);
         ASSERT_EQ(f.w.View().talGraph->Zoom(), 1);
     },
     [](HandlerFixture& f) { f.w.View().cmbBrowse->setCurrentIndex(1); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.View().cmbBrowse, Qt::Key_Down); },
     [](HandlerFixture& f) { EXPECT_EQ(f.w.View().talGraph->Zoom(), 3); }},
    {"ViewSeriesBox",
     [](HandlerFixture& f) {
         OpenRecordInView(f.w, 1);
         f.w.View().optBrowse(1)->setChecked(true);
         ASSERT_TRUE(f.w.View().talGraph->SampleVisible(0));
     },
     [](HandlerFixture& f) { f.w.View().chkBrowse(0)->setChecked(false); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.View().chkBrowse(0), Qt::Key_Space); },
     [](HandlerFixture& f) { EXPECT_FALSE(f.w.View().talGraph->SampleVisible(0)); }},
    {"ViewEventOnlyBox",
     [](HandlerFixture& f) {
         OpenRecordInView(f.w, 1);
         ASSERT_TRUE(f.w.View().chkOutline->isEnabled());
     },
     [](HandlerFixture& f) { f.w.View().chkEvent->setChecked(true); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.View().chkEvent, Qt::Key_Space); },
     [](HandlerFixture& f) { EXPECT_FALSE(f.w.View().chkOutline->isEnabled()); }},
    {"AutomaticDownloadBox",
     [](HandlerFixture& f) { f.prompt.ExpectBox(MsgResult::Yes); },
     [](HandlerFixture& f) { f.w.Download().chkAutoLoad(0)->setChecked(true); },
     [](HandlerFixture& f) { QTest::keyClick(f.w.Download().chkAutoLoad(0), Qt::Key_Space); },
     [](HandlerFixture& f) {
         ASSERT_EQ(f.prompt.boxes.size(), 1);
         EXPECT_EQ(f.prompt.boxes[0].title, "Automatic Load");
         EXPECT_TRUE(App().AutoLoad);
         EXPECT_TRUE(f.w.Download().chkAutoLoad(1)->isEnabled());
     }},
    {"ReplacementGasOption",
     [](HandlerFixture& f) {
         auto d = std::make_unique<frmGasSel>();
         d->SetSpecType("00");
         d->SetGasNo(0);
         ASSERT_FALSE(d->cmdGasSel(0)->isEnabled());
         f.dialog = std::move(d);
     },
     [](HandlerFixture& f) { static_cast<frmGasSel&>(*f.dialog).optGasList(1)->setChecked(true); },
     [](HandlerFixture& f) { QTest::keyClick(static_cast<frmGasSel&>(*f.dialog).optGasList(1), Qt::Key_Space); },
     [](HandlerFixture& f) {
         auto& d = static_cast<frmGasSel&>(*f.dialog);
         EXPECT_EQ(d.SelNum(), 1);
         EXPECT_TRUE(d.cmdGasSel(0)->isEnabled());
     }},
};

} // namespace

class HandlerTest : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<int, Drive>> {};

TEST_P(HandlerTest, RunsOnEveryChange)
{
    const HandlerCase& c = kCases[std::get<0>(GetParam())];
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreInterval(1, "SN1", start, 40, {{start.addSecs(50), -104, -101}});
    StoreInterval(2, "SN1", start.addSecs(3600), 40, {});
    StoreHead(3, 7, "SN2", start);
    {
        LogDb db;
        ExecSql(db, "Update Log_Head Set Names='alpha' Where SeqNo=1;");
        ExecSql(db, "Update Log_Head Set Names='beta' Where SeqNo=2;");
    }
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_FALSE(w.State().StartupPending);

    HandlerFixture f{w, prompt, nullptr};
    c.prepare(f);
    if (HasFatalFailure())
        return;
    if (std::get<1>(GetParam()) == Drive::Code)
        c.byCode(f);
    else
        c.byKey(f);
    if (HasFatalFailure())
        return;
    c.check(f);
}

INSTANTIATE_TEST_SUITE_P(Panels, HandlerTest,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kCases))),
                                            ::testing::Values(Drive::Code, Drive::Key)),
                         [](const ::testing::TestParamInfo<HandlerTest::ParamType>& info) {
                             return std::string(kCases[std::get<0>(info.param)].name)
                                    + (std::get<1>(info.param) == Drive::Code ? "_ByCode" : "_ByKey");
                         });

// The options that the start-up defaults choose read nothing: loading the
// window over an empty calibration table shows no box, and the list is read
// when its panel is first opened.
TEST_F(MainWindowTest, StartUpSelectionsReadNothingUntilThePanelOpens)
{
    CreateLogDatabase(LogDatabasePath());
    frmMain& w = MakeWindow();
    w.Form_Load();
    EXPECT_TRUE(w.LastCal().optHistory(1)->isChecked());
    EXPECT_TRUE(prompt.boxes.isEmpty());
    w.show();
    prompt.ExpectBox(MsgResult::Ok);
    w.cmdInst_Click(3);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "Calibration data not found.");
}

// The grouping levels named by the settings file are applied at start-up
// as if ticked: the first visit shows the tree with them, the root picked
// and its first level listed.
TEST_F(MainWindowTest, LevelsFromTheSettingsFileBuildTheTree)
{
    CreateLogDatabase(LogDatabasePath());
    const QDateTime start = MakeDate(2024, 5, 17, 12, 0, 0);
    StoreHead(1, 1, "SN1", start);
    StoreHead(2, 1, "SN2", start);
    {
        QFile ini(home.file("Pelkar.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Data Select\tTrue\tFalse\tFalse\r\n");
    }
    frmMain& w = MakeWindow();
    w.Form_Load();
    w.show();
    w.cmdInst_Click(2);
    DataPanel& d = w.Data();
    EXPECT_TRUE(d.chkLog(0)->isChecked());
    QTreeWidgetItem* root = d.tvwLog->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildTexts(root), (QStringList{"SN1", "SN2"}));
    EXPECT_EQ(d.tvwLog->currentItem(), root);
    EXPECT_EQ(ListTexts(d.lvwLog), (QStringList{"SN1", "SN2"}));
}
