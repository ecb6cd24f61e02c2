// The data panel and the last-calibration panel on a fixture database, with
// the password window answered through the scripted prompt.
#include "browser_fixture.h"

#include "browser/browser_keys.h"
#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "browser/password_dialog.h"

#include "common/resstrings.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/tree_columns.h"
#include "records/instrument.h"
#include "fake_database.h"
#include "item_texts.h"
#include "scripted_prompt.h"
#include "null_panel_host.h"
#include "shared/shared_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>
#include <optional>

namespace {

// The password window: types entry and presses Continue.
std::function<int(QWidget*)> TypePassword(const QString& entry)
{
    return [entry](QWidget* w) {
        auto* d = qobject_cast<PasswordDialog*>(w);
        d->txtPass->setText(entry);
        d->cmdPass_Click(0);
        return d->result();
    };
}

QString ItemKey(QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toString();
}

} // namespace

class PanelTest : public BrowserDbTest {
protected:
    void SetUp() override
    {
        BrowserDbTest::SetUp();
        App().Password = "Morva";
        a1 = AddHead({"A1", "S", "U", "F1", 1, "beta"});
        AddHead({"A1", "S", "U", "F1", 1, "alpha"});
        AddHead({"A1", "S", "U", "F1", 2, "alarm"});
        AddHead({"A1", "S", "U", "F2", 7, "power"});
        AddHead({"B2", "S", "U", "F1", 1, "other"});
        frame.resize(960, 780);
        data = std::make_unique<DataPanel>(&frame, state, host);
        data->chkLog(0)->setChecked(true);
        state.TreeRefreshNeeded = true;
        data->BuildLogTree();
    }

    QString Key(const QStringList& path)
    {
        const auto& m = data->TreeModel();
        const int at = NodeAt(m, path);
        return at < 0 ? QString() : m.At(at).key;
    }

    qint64 a1 = 0;
    QGroupBox frame;
    SharedState state;
    NullPanelHost host;
    std::unique_ptr<DataPanel> data;
};

TEST_F(PanelTest, TreeIsRebuiltOnlyWhenStaleAndKeepsAnIndex)
{
    QTreeWidget* tree = data->tvwLog;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(state.TreeRefreshNeeded);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
    const QString kind = Key({"A1", "F1", "Interval Trend"});
    ASSERT_NE(data->TreeItem(kind), nullptr);
    EXPECT_EQ(ItemKey(data->TreeItem(kind)), kind);

    AddHead({"C3", "S", "U", "F1", 1, "new"});
    data->BuildLogTree();
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2); // not stale: kept
    state.TreeRefreshNeeded = true;
    data->BuildLogTree();
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 3);

    // A check box rebuilds at once and lists the first level.
    data->chkLog(0)->click();
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), "F1");
    EXPECT_EQ(data->lvwLog->headerItem()->text(0), "(MM/YY)");
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"F1", "F2"}));
}

TEST_F(PanelTest, NodeClickListsRecordsSortedAndPicksTheFirst)
{
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"alpha", "beta"}));
    EXPECT_EQ(data->SelectedKind, 1);
    EXPECT_EQ(data->SelectedSeqNo, a1 + 1);
    EXPECT_TRUE(data->cmdDetail->isEnabled());
    EXPECT_EQ(data->vfgLog->Text(1, 1), "alpha");

    data->lvwLog_ColumnClick();
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"beta", "alpha"}));
    data->lvwLog_ColumnClick();
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"alpha", "beta"}));

    data->lvwLog_ItemClick(ItemKey(data->lvwLog->topLevelItem(1)));
    EXPECT_EQ(data->SelectedSeqNo, a1);

    // Detail and a double click on a record ask for the data view.
    QSignalSpy detail(data.get(), &DataPanel::DetailRequested);
    data->cmdDetail->click();
    data->LastPressedKey = ItemKey(data->lvwLog->topLevelItem(1));
    data->lvwLog_DblClick();
    EXPECT_EQ(detail.count(), 2);

    // A folder node gives the stub and disables the buttons.
    data->tvwLog_NodeClick(Key({"A1"}));
    EXPECT_EQ(data->lvwLog->headerItem()->text(0), "(MM/YY)");
    EXPECT_EQ(data->vfgLog->Text(1, 0), "Type");
    EXPECT_FALSE(data->cmdDetail->isEnabled());
    // A double click on a folder item opens it.
    data->LastPressedKey = Key({"A1", "F2"});
    data->lvwLog_DblClick();
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"Power Events"}));
}

// A list too narrow for every text keeps the date and time whole inside its
// width: the identity columns give way first (their texts elided, whole in
// the tooltips), then the name. Widened, the list shows every text whole.
TEST_F(PanelTest, ANarrowListKeepsTheDateWholeAndTheIdentityGivesWay)
{
    AddHead({"WM2024080123", "STATION-OF-THE-NORTH", "USER-ON-THE-NIGHT-SHIFT", "F9", 1, "iv05080000"});
    state.TreeRefreshNeeded = true;
    data->BuildLogTree();
    frame.show();
    QTreeWidget* list = data->lvwLog;
    auto whole = [list](int c) {
        return list->columnWidth(c) >= static_cast<QAbstractItemView*>(list)->sizeHintForColumn(c);
    };
    auto inside = [list](int c) {
        return list->header()->sectionViewportPosition(c) + list->columnWidth(c) <= list->viewport()->width();
    };
    list->resize(400, list->height());
    data->tvwLog_NodeClick(Key({"WM2024080123", "F9", "Interval Trend"}));
    ASSERT_EQ(list->columnCount(), 5);
    EXPECT_TRUE(whole(4) && inside(4)) << "the date and time read whole";
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0) << "no sideways scroll";
    for (int c = 1; c <= 3; ++c) {
        SCOPED_TRACE(c);
        EXPECT_FALSE(whole(c));
        EXPECT_NE(qobject_cast<CutTextTips*>(list->itemDelegateForColumn(c)), nullptr);
        EXPECT_GE(list->columnWidth(c), CaptionWidth(*list->header(), c)) << "the heading stays whole";
    }
    EXPECT_EQ(list->itemDelegateForColumn(4), nullptr);

    // Wide enough, every text whole; the list follows its width.
    list->resize(900, list->height());
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(whole(c) && inside(c)) << c;
}

TEST_F(PanelTest, InstrumentButtonFillsTheStoredInstrumentOnly)
{
    ScriptedPrompt prompt;
    prompt.ExpectBox(MsgResult::Ok);
    data->cmdLogInst_Click(); // nothing picked yet
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "No data selected. Select data to view.");

    const QString mainSerial = state.MainInstrument().SerialNo();
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    bool shownWithFlag = false;
    QObject::connect(data.get(), &DataPanel::StoredInstrumentRequested, data.get(),
            [&] { shownWithFlag = state.ShowSampleInstrument; });
    data->cmdLogInst_Click();
    EXPECT_TRUE(shownWithFlag);
    EXPECT_FALSE(state.ShowSampleInstrument);
    EXPECT_EQ(state.StoredInstrument().SerialNo(), "A1");
    EXPECT_EQ(state.MainInstrument().SerialNo(), mainSerial);
    EXPECT_TRUE(prompt.AllUsed());
}

TEST_F(PanelTest, NodeDeletionAsksTwiceThenShowsWhatIsLeft)
{
    const QString folder = Key({"A1", "F1"});
    {
        // Cancelled password, then No: nothing deleted.
        ScriptedPrompt prompt;
        prompt.ExpectWindow([](QWidget* w) {
            qobject_cast<QDialog*>(w)->reject();
            return 0;
        });
        data->DeleteKey(folder);
        prompt.ExpectWindow(TypePassword("MORVA"));
        prompt.ExpectBox(MsgResult::No);
        data->DeleteKey(folder);
        EXPECT_TRUE(prompt.AllUsed());
        EXPECT_EQ(Rows("Log_head"), 5);
    }
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("morva"));
    prompt.ExpectBox(MsgResult::Yes);
    data->DeleteKey(folder);
    EXPECT_TRUE(prompt.AllUsed());
    EXPECT_EQ(prompt.boxes[0].text, "Delete Samples in Folder.\r\nReady?");
    EXPECT_EQ(Rows("Log_head"), 2);
    // The node at the former parent's position (serial A1) is listed.
    EXPECT_EQ(ItemKey(data->tvwLog->currentItem()), Key({"A1"}));
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"F2"}));
}

TEST_F(PanelTest, RecordDeletionRemovesTheItemAndMarksTheTreeStale)
{
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    data->DeleteKey(ItemKey(data->lvwLog->topLevelItem(0)));
    EXPECT_EQ(prompt.boxes[0].text, "Delete sample alpha.\r\nReady?");
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"beta"}));
    EXPECT_TRUE(state.TreeRefreshNeeded);
    EXPECT_EQ(Rows("Log_head"), 4);
}

TEST_F(PanelTest, AFailedDeletionIsReportedAndChangesNothing)
{
    Exec("Create Trigger Refuse Before Delete On Log_head Begin Select Raise(Abort, 'refused'); End;");
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    data->DeleteKey(browser::kRootKey);
    ASSERT_EQ(prompt.boxes.size(), 2);
    EXPECT_TRUE(prompt.boxes[1].text.startsWith("Database Error."));
    EXPECT_EQ(prompt.boxes[1].icon, MsgIcon::Critical);
    EXPECT_EQ(Rows("Log_head"), 5);
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"alpha", "beta"}));
    EXPECT_FALSE(state.TreeRefreshNeeded);
}

// Another program's read keeps the deletion's commit from being written:
// the box says in plain words which database is in use, as for any other
// statement a lock refuses, and nothing is deleted.
TEST_F(PanelTest, ADeletionWhoseCommitALockRefusesSaysTheDatabaseIsInUse)
{
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    std::optional<FakeDatabaseFault> other;
    other.emplace(FakeDatabaseFault::Fault::ReadByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(other->Active());
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    prompt.ExpectBox(MsgResult::Ok);
    data->DeleteKey(browser::kRootKey);
    ASSERT_EQ(prompt.boxes.size(), 2);
    const QString text = prompt.boxes[1].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("The database %1 is in use by another program.")
                                    .arg(QDir::toNativeSeparators(LogDatabasePath()))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Commit"))) << text.toStdString();
    EXPECT_EQ(prompt.boxes[1].icon, MsgIcon::Critical);
    other.reset();
    EXPECT_EQ(Rows("Log_head"), 5);
    EXPECT_EQ(ListTexts(data->lvwLog), (QStringList{"alpha", "beta"}));
}

// Another program holds the database locked with a write of its own. While
// the window starts, the tree neither waits nor shows a box and stays
// stale; asked for later, it says in plain words which database is in use.
TEST_F(PanelTest, ADatabaseInUseIsToldInPlainWordsOnlyWhenTheTreeIsAskedFor)
{
    const FakeDatabaseFault other(FakeDatabaseFault::Fault::LockedByAnotherProgram, LogDatabasePath());
    ASSERT_TRUE(other.Active());
    QTreeWidget* tree = data->tvwLog;
    ScriptedPrompt prompt;
    state.StartupPending = true;
    state.TreeRefreshNeeded = true;
    data->BuildLogTree();
    EXPECT_TRUE(prompt.boxes.isEmpty());
    EXPECT_TRUE(state.TreeRefreshNeeded);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);

    state.StartupPending = false;
    prompt.ExpectBox(MsgResult::Ok);
    data->BuildLogTree();
    ASSERT_EQ(prompt.boxes.size(), 1);
    const QString text = prompt.boxes[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("The database %1 is in use by another program.")
                                    .arg(QDir::toNativeSeparators(LogDatabasePath()))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Select"))) << text.toStdString();
    EXPECT_TRUE(state.TreeRefreshNeeded);
}

// A mouse click picks a node or item once, also where it both moves the
// current item and clicks it; a click on the current one picks it again
// (after the list was changed under it); the right button picks nothing.
TEST_F(PanelTest, MouseClicksPickOnce)
{
    frame.show();
    QTreeWidget* tree = data->tvwLog;
    QTreeWidget* list = data->lvwLog;
    const auto click = [](QTreeWidget* view, QTreeWidgetItem* item, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view->viewport(), button, {}, view->visualItemRect(item).center());
    };
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    ASSERT_EQ(ListTexts(list), (QStringList{"alpha", "beta"}));

    int layouts = host.layoutRequests;
    click(list, list->topLevelItem(1));
    EXPECT_EQ(host.layoutRequests, layouts + 1);
    EXPECT_EQ(data->SelectedSeqNo, a1);
    EXPECT_EQ(data->vfgLog->Text(1, 1), "beta");
    EXPECT_EQ(data->LastPressedKey, ItemKey(list->topLevelItem(1)));
    click(list, list->topLevelItem(1));
    EXPECT_EQ(host.layoutRequests, layouts + 2);

    data->tvwLog->expandAll();
    QTreeWidgetItem* power = data->TreeItem(Key({"A1", "F2", "Power Events"}));
    layouts = host.layoutRequests;
    click(tree, power);
    EXPECT_EQ(host.layoutRequests, layouts + 1);
    EXPECT_EQ(ListTexts(list), (QStringList{"power"}));
    // Opened from the list, another folder; a click on the tree's current
    // node lists it again.
    data->LastPressedKey = Key({"A1", "F1"});
    data->lvwLog_DblClick();
    ASSERT_NE(ListTexts(list), (QStringList{"power"}));
    click(tree, power);
    EXPECT_EQ(ListTexts(list), (QStringList{"power"}));

    layouts = host.layoutRequests;
    const QString picked = data->vfgLog->Text(1, 1);
    click(tree, data->TreeItem(Key({"A1", "F1", "Interval Trend"})), Qt::RightButton);
    click(list, list->topLevelItem(0), Qt::RightButton);
    EXPECT_EQ(host.layoutRequests, layouts);
    EXPECT_EQ(tree->currentItem(), power);
    EXPECT_EQ(data->vfgLog->Text(1, 1), picked);
}

// After a deletion the grid, Detail and Instrument no longer offer a record
// that is gone; a record that is still there stays picked.
struct DeletionCase {
    const char* name;
    QStringList node; // a tree node to delete ("#" the root), or
    int listItem;     // a record of the interval list (alpha, beta) to delete
    bool forgotten;
};

void PrintTo(const DeletionCase& c, std::ostream* os) { *os << c.name; }

class PanelDeletionTest : public PanelTest, public ::testing::WithParamInterface<DeletionCase> {};

TEST_P(PanelDeletionTest, ForgetsThePickedRecordOnlyWhenItIsGone)
{
    const DeletionCase& c = GetParam();
    data->tvwLog_NodeClick(Key({"A1", "F1", "Interval Trend"}));
    ASSERT_EQ(data->vfgLog->Text(1, 1), "alpha");
    const qint64 alpha = data->SelectedSeqNo;
    const QString key = c.listItem >= 0 ? ItemKey(data->lvwLog->topLevelItem(c.listItem))
                        : c.node == QStringList{"#"} ? browser::kRootKey
                                                      : Key(c.node);
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    data->DeleteKey(key);
    EXPECT_TRUE(prompt.AllUsed());
    if (c.forgotten) {
        EXPECT_EQ(data->vfgLog->Text(1, 0), "Type");
        EXPECT_FALSE(data->cmdDetail->isEnabled());
        EXPECT_FALSE(data->cmdLogInst->isEnabled());
        EXPECT_EQ(data->SelectedKind, 0);
        EXPECT_EQ(data->SelectedSeqNo, 0);
    } else {
        EXPECT_EQ(data->vfgLog->Text(1, 1), "alpha");
        EXPECT_TRUE(data->cmdDetail->isEnabled());
        // A node's deletion lists another folder, which clears the pick.
        EXPECT_EQ(data->SelectedSeqNo, c.listItem >= 0 ? alpha : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PanelDeletionTest,
                         ::testing::Values(DeletionCase{"AnotherRecord", {}, 1, false},
                                           DeletionCase{"TheKindNodeHoldingIt", {"A1", "F1", "Interval Trend"}, -1, true},
                                           DeletionCase{"AnotherFolder", {"A1", "F2"}, -1, false},
                                           DeletionCase{"Everything", {"#"}, -1, true}),
                         [](const ::testing::TestParamInfo<DeletionCase>& info) { return info.param.name; });

// After the current record of the list is deleted, the item after it (at
// the end of the list, the one before it) is current and picked as the
// arrow keys pick it: its properties in the grid, Detail and Instrument
// offered, the record picked for the data view. The last record of a list
// leaves nothing current and nothing picked.
struct NeighbourCase {
    const char* name;
    const char* kind;
    const char* deleted;
    const char* next; // nullptr: none left
};

void PrintTo(const NeighbourCase& c, std::ostream* os) { *os << c.name; }

class PanelNeighbourTest : public PanelTest, public ::testing::WithParamInterface<NeighbourCase> {};

TEST_P(PanelNeighbourTest, DeletingTheCurrentRecordPicksTheNextOne)
{
    const NeighbourCase& c = GetParam();
    data->tvwLog_NodeClick(Key({"A1", "F1", c.kind}));
    QTreeWidget* list = data->lvwLog;
    QTreeWidgetItem* deleted = nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == c.deleted)
            deleted = list->topLevelItem(i);
    ASSERT_NE(deleted, nullptr);
    list->setCurrentItem(deleted);
    ASSERT_EQ(data->vfgLog->Text(1, 1), c.deleted);
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    data->DeleteKey(ItemKey(deleted));
    EXPECT_TRUE(prompt.AllUsed());
    if (!c.next) {
        EXPECT_EQ(list->topLevelItemCount(), 0);
        EXPECT_EQ(list->currentItem(), nullptr);
        EXPECT_EQ(data->vfgLog->Text(1, 0), "Type");
        EXPECT_FALSE(data->cmdDetail->isEnabled());
        EXPECT_EQ(data->SelectedSeqNo, 0);
        return;
    }
    QTreeWidgetItem* current = list->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), c.next);
    EXPECT_TRUE(current->isSelected());
    EXPECT_EQ(data->vfgLog->Text(1, 1), c.next);
    EXPECT_TRUE(data->cmdDetail->isEnabled());
    EXPECT_TRUE(data->cmdLogInst->isEnabled());
    EXPECT_EQ(data->SelectedKind, 1);
    EXPECT_EQ(data->SelectedSeqNo, browser::RecordKeySeqNo(ItemKey(current)));
}

// After the current record of the list is deleted, the item after it (at
// the end of the list, the one before it) is current and picked as the
// arrow keys pick it: its properties in the grid, Detail and Instrument
// offered, the record picked for the data view. The last record of a list
// leaves nothing current and nothing picked.
INSTANTIATE_TEST_SUITE_P(Records, PanelNeighbourTest,
                         ::testing::Values(NeighbourCase{"TheFirstOfTwo", "Interval Trend", "alpha", "beta"},
                                           NeighbourCase{"TheLastOfTwo", "Interval Trend", "beta", "alpha"},
                                           NeighbourCase{"TheOnlyOne", "Alarm Trend", "alarm", nullptr}),
                         [](const ::testing::TestParamInfo<NeighbourCase>& info) { return info.param.name; });

TEST_F(BrowserDbTest, PasswordWindowContinueAndChange)
{
    App().Password = "Morva";
    ScriptedPrompt prompt;
    prompt.ExpectWindow([](QWidget* w) {
        auto* d = qobject_cast<PasswordDialog*>(w);
        EXPECT_EQ(d->windowTitle(), "Password");
        EXPECT_EQ(d->txtPass->echoMode(), QLineEdit::Password);
        d->cmdPass_Click(1);
        EXPECT_EQ(d->cmdPass(1)->text(), "Current password");
        d->txtPass->setText("morva");
        d->cmdPass_Click(1);
        d->txtPass->setText("Secret");
        d->cmdPass_Click(1);
        d->txtPass->setText("SECRET");
        d->cmdPass_Click(1); // changed; the entry stays in the box
        d->cmdPass_Click(0);
        return d->result();
    });
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_TRUE(AskPassword(nullptr));
    EXPECT_EQ(App().Password, "SECRET");
    prompt.ExpectWindow(TypePassword(""));
    EXPECT_FALSE(AskPassword(nullptr));
    EXPECT_TRUE(prompt.AllUsed());
}

// Before a node is picked, in either language, the list shows no heading
// of its own making (a column numbered "1") and the property grid no blank
// heading cell; a picked node gives the list its real headings.
TEST_F(BrowserDbTest, NothingPickedShowsNoStrayHeadings)
{
    AddHead({"A1", "S", "U", "F1", 1, "beta"});
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        SCOPED_TRACE(language == ResLanguage::English ? "English" : "Japanese");
        QGroupBox frame;
        frame.resize(960, 780);
        SharedState state;
        NullPanelHost host;
        DataPanel data(&frame, state, host);
        data.LoadCaptions();
        frame.show();
        QCoreApplication::processEvents();
        auto headings = [&data] {
            QStringList shown;
            if (!data.lvwLog->isHeaderHidden())
                for (int c = 0; c < data.lvwLog->columnCount(); ++c)
                    shown << data.lvwLog->headerItem()->text(c);
            return shown;
        };
        EXPECT_EQ(headings(), QStringList());
        ASSERT_GE(data.vfgLog->Rows(), data.vfgLog->FixedRows());
        for (int r = 0; r < data.vfgLog->FixedRows(); ++r)
            for (int c = 0; c < data.vfgLog->Cols(); ++c)
                EXPECT_FALSE(data.vfgLog->Text(r, c).isEmpty()) << "row " << r << " column " << c;
        EXPECT_EQ(data.vfgLog->Text(0, 0), GetResString(5604));
        EXPECT_EQ(data.vfgLog->Text(0, 1), GetResString(5605));

        state.TreeRefreshNeeded = true;
        data.BuildLogTree();
        data.FillLogList(data.TreeModel().At(0).key);
        const QStringList listed = headings();
        EXPECT_FALSE(listed.isEmpty());
        for (const QString& caption : listed)
            EXPECT_FALSE(caption.isEmpty());
    }
    SetResLanguage(ResLanguage::English);
}

// Enter in the box presses Continue, the window's default button, in every
// step of the change dialogue; what is typed shows as stars.
TEST_F(BrowserDbTest, PasswordWindowEnterPressesContinue)
{
    App().Password = "Morva";
    struct Case {
        const char* name;
        int changePresses; // presses of the change button before typing
        QString typed;
        bool wrongBox; // "Incorrect Password Entered" shown
        bool accepted;
    };
    const Case cases[] = {
        {"right password", 0, "morva", false, true},
        {"right password in the current-password step", 1, "MORVA", false, true},
        {"wrong password stays open", 0, "nope", true, false},
        {"empty box closes", 0, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompt prompt;
        bool closedByEnter = false;
        prompt.ExpectWindow([&](QWidget* w) {
            auto* d = qobject_cast<PasswordDialog*>(w);
            EXPECT_TRUE(d->cmdPass(0)->isDefault());
            for (int i = 0; i < c.changePresses; ++i)
                QTest::mouseClick(d->cmdPass(1), Qt::LeftButton);
            QTest::keyClicks(d->txtPass, c.typed);
            EXPECT_EQ(d->txtPass->text(), c.typed);
            EXPECT_EQ(d->txtPass->displayText(), QString(c.typed.size(), QLatin1Char('*')));
            QTest::keyClick(d->txtPass, Qt::Key_Return);
            closedByEnter = !d->isVisible();
            if (!closedByEnter)
                d->reject();
            return d->result();
        });
        if (c.wrongBox)
            prompt.ExpectBox(MsgResult::Ok);
        EXPECT_EQ(AskPassword(nullptr), c.accepted);
        EXPECT_EQ(closedByEnter, !c.wrongBox);
        EXPECT_TRUE(prompt.AllUsed());
        if (c.wrongBox) {
            ASSERT_EQ(prompt.boxes.size(), 1);
            EXPECT_EQ(prompt.boxes[0].text, "Incorrect Password Entered");
        }
    }
}

// What is typed in the password box is drawn as stars: the box looks just
// as it does showing "***" in plain text, in a window of its own and under a
// window with a style sheet (as the main window has), though the
// application style's own mask is another character.
TEST_F(BrowserDbTest, PasswordWindowDrawsStars)
{
    ASSERT_NE(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter), u'*')
        << "the application style must mask with another character for this test to see the box's own";
    App().Password = "Morva";
    for (bool styledOwner : {false, true}) {
        SCOPED_TRACE(styledOwner ? "under a window with a style sheet" : "without an owner");
        QWidget owner;
        if (styledOwner)
            owner.setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); }"));
        owner.show();
        ScriptedPrompt prompt;
        prompt.ExpectWindow([](QWidget* w) {
            auto* d = qobject_cast<PasswordDialog*>(w);
            QLineEdit* box = d->txtPass;
            d->show();
            QCoreApplication::processEvents();
            QTest::keyClicks(box, QStringLiteral("abc"));
            EXPECT_EQ(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), u'*');
            EXPECT_EQ(box->displayText(), QStringLiteral("***"));
            // The same box drawn as typed, then showing "***" as plain text
            // (read-only, so no caret blinks between the two).
            box->setReadOnly(true);
            const QImage typed = box->grab().toImage();
            box->setEchoMode(QLineEdit::Normal);
            box->setText(QStringLiteral("***"));
            EXPECT_EQ(typed, box->grab().toImage()) << "the box draws another mask than \"***\"";
            d->reject();
            return d->result();
        });
        EXPECT_FALSE(AskPassword(styledOwner ? &owner : nullptr));
        EXPECT_TRUE(prompt.AllUsed());
    }
}

class LastCalPanelTest : public BrowserDbTest {
protected:
    void SetUp() override
    {
        BrowserDbTest::SetUp();
        App().Password = "Morva";
        panel = std::make_unique<LastCalPanel>(&frame, state, host);
        // As the window's defaults do at start-up: nothing is read yet.
        state.StartupPending = true;
        panel->optHistory(1)->setChecked(true);
        state.StartupPending = false;
    }
    void Add(const char* serial, const char* written)
    {
        Insert("cLatestHist", {{"SerialNo", serial}, {"UserID", "U"}, {"StationID", "S"}, {"WriteDates", written},
                               {"Gas1Name", "CO"}, {"Gas1Full", 500}, {"Gas1CalDate", "2025-01-01 00:00:00"}});
    }
    QGroupBox frame;
    SharedState state;
    NullPanelHost host;
    std::unique_ptr<LastCalPanel> panel;
};

TEST_F(LastCalPanelTest, EmptyListIsReportedAndPrintWaitsForARow)
{
    ScriptedPrompt prompt;
    prompt.ExpectBox(MsgResult::Ok);
    panel->FillHistoryGrid();
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "Calibration data not found.");
    QSignalSpy print(panel.get(), &LastCalPanel::PrintRequested);
    panel->cmdLastCal_Click();
    EXPECT_EQ(print.count(), 0);

    Add("A1", "2026-01-01 00:00:00");
    panel->optHistory(2)->click();
    EXPECT_EQ(panel->vfgHistory->Rows(), 3);
    EXPECT_FALSE(panel->cmdLastCal->isEnabled());
    panel->optHistory(0)->click();
    EXPECT_TRUE(panel->cmdLastCal->isEnabled());
    EXPECT_EQ(panel->vfgHistory->currentRow(), 1);
    panel->cmdLastCal_Click();
    EXPECT_EQ(print.count(), 1);
}

TEST_F(LastCalPanelTest, DeletingTheCurrentRowsCalibration)
{
    Add("A1", "2026-01-01 00:00:00");
    Add("B2", "2026-02-01 00:00:00");
    panel->FillHistoryGrid();
    ASSERT_EQ(panel->vfgHistory->Rows(), 3);
    ScriptedPrompt prompt;
    prompt.ExpectWindow(TypePassword("Morva"));
    prompt.ExpectBox(MsgResult::Yes);
    panel->vfgHistory->setCurrentCell(1, 0);
    panel->mnuHistDel_Click();
    EXPECT_EQ(prompt.boxes[0].text, "Delete History : SerialNo=B2");
    EXPECT_EQ(Rows("cLatestHist"), 1);
    EXPECT_EQ(panel->vfgHistory->Rows(), 2);
    EXPECT_EQ(panel->vfgHistory->Text(1, 1), "A1");
    EXPECT_TRUE(prompt.AllUsed());
}
