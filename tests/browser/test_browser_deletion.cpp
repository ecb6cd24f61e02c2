// Deletion of stored data: whole commands in one transaction.
#include "browser_fixture.h"

#include "browser/deletion.h"
#include "browser/log_tree.h"

#include "common/errors.h"

using namespace browser;

namespace {
const QStringList kRecordTables{"Interval_Data", "Interval_Event", "Alarm_Data", "cHistory",
                                "Power_Event",   "Alarm_Event",    "Trouble_Event"};
}

class DeletionTest : public BrowserDbTest {
protected:
    void SetUp() override
    {
        BrowserDbTest::SetUp();
        // Serial A1: folder F1 with every kind, folder F2 with one trend;
        // serial B2 with the same folder name.
        const int kinds[] = {1, 2, 3, 5, 6, 7};
        for (int t : kinds)
            AddRecord({"A1", "S", "U", "F1", t, "a"});
        AddRecord({"A1", "S", "U", "F2", 1, "b"});
        AddRecord({"B2", "S", "U", "F1", 1, "c"});
        Insert("cLatestHist", {{"SerialNo", "A1"}, {"UserID", "U"}, {"StationID", "S"}});
    }

    // A head with one row in every record table.
    qint64 AddRecord(const Head& h)
    {
        const qint64 seq = AddHead(h);
        for (const QString& t : kRecordTables)
            Insert(t, {{"RelNo", seq}});
        return seq;
    }

    // Rows per table: heads first, then the record tables.
    std::vector<qint64> Counts()
    {
        std::vector<qint64> out{Rows("Log_head")};
        for (const QString& t : kRecordTables)
            out.push_back(Rows(t));
        out.push_back(Rows("cLatestHist"));
        return out;
    }

    HeadFilter FilterOf(const QStringList& path, const TreeLevels& levels)
    {
        LogDb db;
        const LogTreeModel m = BuildLogTreeModel(db, levels);
        const int at = NodeAt(m, path);
        EXPECT_GE(at, 0) << path.join('/').toStdString();
        if (at < 0)
            return {};
        return m.Filter(at);
    }
};

TEST_F(DeletionTest, NodeDeletionTakesWhatIsBelowTheNodeAndNothingElse)
{
    struct Case {
        QStringList path;
        // Heads left, and rows left in each record table.
        qint64 heads;
        qint64 rowsPerTable;
    };
    const Case cases[] = {
        {{"A1", "F1"}, 2, 2},                  // a folder: every kind and the event tables
        {{"A1", "F1", "Interval Trend"}, 7, 7}, // a kind node: that kind only
        {{"A1"}, 1, 1},                        // a serial: both folders
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.join('/').toStdString());
        Exec("Delete From Log_head");
        for (const QString& t : kRecordTables)
            Exec("Delete From " + t);
        SetUp();
        const HeadFilter f = FilterOf(c.path, {true, false, false});
        LogDb db;
        DeleteNodeData(db, f);
        EXPECT_EQ(Rows("Log_head"), c.heads);
        for (const QString& t : kRecordTables)
            EXPECT_EQ(Rows(t), c.rowsPerTable) << t.toStdString();
        EXPECT_EQ(Rows("Log_head", "Where SerialNo='B2'"), 1);
    }
}

TEST_F(DeletionTest, DeleteAllEmptiesEveryTable)
{
    LogDb db;
    DeleteAllData(db);
    for (qint64 n : Counts())
        EXPECT_EQ(n, 0);
}

TEST_F(DeletionTest, OneRecordOfEachKindTakesItsHeadAndItsOwnRows)
{
    struct Case {
        char letter;
        int types;
        QStringList tables;
    };
    const Case cases[] = {
        {'G', 1, {"Interval_Data", "Interval_Event"}}, {'K', 2, {"Alarm_Data"}}, {'H', 3, {"cHistory"}},
        {'V', 5, {"Alarm_Event"}}, {'W', 6, {"Trouble_Event"}}, {'P', 7, {"Power_Event"}},
    };
    // All six first: a deleted head's number would be taken again.
    std::vector<qint64> seqs;
    for (const Case& c : cases)
        seqs.push_back(AddRecord({"Z9", "S", "U", "F", c.types, "z"}));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const qint64 seq = seqs[i];
        SCOPED_TRACE(c.letter);
        LogDb db;
        DeleteRecord(db, seq, *KindOfItemLetter(QLatin1Char(c.letter)));
        EXPECT_EQ(Rows("Log_head", QStringLiteral("Where SeqNo=%1").arg(seq)), 0);
        for (const QString& t : kRecordTables)
            EXPECT_EQ(Rows(t, QStringLiteral("Where RelNo=%1").arg(seq)), c.tables.contains(t) ? 0 : 1)
                << t.toStdString();
    }
}

TEST_F(DeletionTest, AnAbortPartWayLeavesEveryTableAsItWas)
{
    Exec("Create Trigger Refuse Before Delete On Power_Event Begin Select Raise(Abort, 'refused'); End;");
    const std::vector<qint64> before = Counts();
    const auto expectRefused = [&](const std::function<void(LogDb&)>& command) {
        LogDb db;
        EXPECT_THROW(command(db), DatabaseError);
        EXPECT_EQ(Counts(), before);
    };
    expectRefused([](LogDb& db) { DeleteAllData(db); });
    expectRefused([&](LogDb& db) { DeleteNodeData(db, FilterOf({"A1", "F1"}, {true, false, false})); });
    expectRefused([&](LogDb& db) { DeleteRecord(db, 6, *KindOfItemLetter(u'P')); });
}

TEST_F(DeletionTest, LatestHistoryRowByItsShownIdentity)
{
    Insert("cLatestHist", {{"SerialNo", QVariant(QMetaType::fromType<QString>())}, {"UserID", " "}, {"StationID", "O'K"}});
    Insert("cLatestHist", {{"SerialNo", "X"}, {"UserID", "*"}, {"StationID", "o'k"}});
    LogDb db;
    DeleteLatestHistory(db, {"*", "*", "o'K"});
    EXPECT_EQ(Rows("cLatestHist"), 2);
    EXPECT_EQ(Rows("cLatestHist", "Where SerialNo Is Null"), 0);
    DeleteLatestHistory(db, {"a1", "u", "s"});
    EXPECT_EQ(Rows("cLatestHist"), 1);
}
