// The browser's tree, node filters and list built from a fixture database.
#include "browser_fixture.h"

#include "browser/browser_keys.h"
#include "browser/log_list.h"
#include "browser/log_tree.h"

#include "records/head_query.h"

#include <QSet>

using namespace browser;

namespace {

// One line per node, indented by depth: "<letter> <text>".
QStringList Dump(const LogTreeModel& m)
{
    QStringList out;
    for (const LogTreeNode& n : m.Nodes()) {
        int depth = 0;
        for (int p = n.parent; p >= 0; p = m.At(p).parent)
            ++depth;
        out << QString(depth * 2, QLatin1Char(' ')) + n.letter + QLatin1Char(' ') + n.text;
    }
    return out;
}

LogTreeModel Tree(const TreeLevels& levels)
{
    LogDb db;
    return BuildLogTreeModel(db, levels);
}

LogListing List(const LogTreeModel& m, const QString& key)
{
    LogDb db;
    return BuildLogListing(db, m, m.Find(key));
}

// The key of the node reached by following texts from the root.
QString KeyOf(const LogTreeModel& m, const QStringList& path)
{
    const int at = NodeAt(m, path);
    return at < 0 ? QString() : m.At(at).key;
}

QStringList Column(const LogListing& l, int col)
{
    QStringList out;
    for (const LogListRow& r : l.rows)
        out << r.texts[col];
    return out;
}

} // namespace

class TreeTest : public BrowserDbTest {
protected:
    void SetUp() override
    {
        BrowserDbTest::SetUp();
        // Two serials; A1 has two stations and two folders; kinds inserted
        // out of order.
        AddHead({"A1", "ST1", "U1", "03/05", 7, "P1"});
        AddHead({"A1", "ST1", "U1", "03/05", 1, "I1"});
        AddHead({"A1", "ST1", "U2", "03/05", 2, "K1"});
        AddHead({"A1", "ST2", "U1", "04/05", 3, "H1"});
        AddHead({"B2", "ST1", "U1", "03/05", 5, "V1"});
        AddHead({"B2", "ST1", "U1", "03/05", 6, "W1"});
        AddHead({"B2", "ST1", "U1", "03/05", 4, "X"}); // no kind node for 4
    }
};

TEST_F(TreeTest, LevelsFollowTheCheckBoxes)
{
    struct Case {
        TreeLevels levels;
        QStringList dump;
    };
    const QString root = QStringLiteral("# Pelkar  Data");
    const Case cases[] = {
        {{false, false, false},
         {root, "  M 03/05", "    I Interval Trend", "    A Alarm Trend", "    E Alarm Events", "    B Trouble Events",
          "    R Power Events", "  M 04/05", "    D Calibration History"}},
        {{true, false, false},
         {root, "  S A1", "    M 03/05", "      I Interval Trend", "      A Alarm Trend", "      R Power Events",
          "    M 04/05", "      D Calibration History", "  S B2", "    M 03/05", "      E Alarm Events",
          "      B Trouble Events"}},
        {{false, true, false},
         {root, "  T ST1", "    M 03/05", "      I Interval Trend", "      A Alarm Trend", "      E Alarm Events",
          "      B Trouble Events", "      R Power Events", "  T ST2", "    M 04/05", "      D Calibration History"}},
        {{false, false, true},
         {root, "  U U1", "    M 03/05", "      I Interval Trend", "      E Alarm Events", "      B Trouble Events",
          "      R Power Events", "    M 04/05", "      D Calibration History", "  U U2", "    M 03/05",
          "      A Alarm Trend"}},
        {{true, true, true},
         {root, "  S A1", "    T ST1", "      U U1", "        M 03/05", "          I Interval Trend",
          "          R Power Events", "      U U2", "        M 03/05", "          A Alarm Trend", "    T ST2",
          "      U U1", "        M 04/05", "          D Calibration History", "  S B2", "    T ST1", "      U U1",
          "        M 03/05", "          E Alarm Events", "          B Trouble Events"}},
    };
    for (const Case& c : cases) {
        const LogTreeModel m = Tree(c.levels);
        EXPECT_EQ(Dump(m), c.dump) << c.levels.serial << c.levels.station << c.levels.user;
        QSet<QString> keys;
        for (const LogTreeNode& n : m.Nodes())
            keys.insert(n.key);
        EXPECT_EQ(keys.size(), m.Size());
        EXPECT_EQ(m.At(0).key, kRootKey);
    }
}

TEST_F(BrowserDbTest, EmptyDatabaseGivesOnlyTheRoot)
{
    EXPECT_EQ(Dump(Tree({true, true, true})), QStringList{"# Pelkar  Data"});
}

TEST_F(BrowserDbTest, ClashingPathsStarValuesAndQuotesStayApartAndOpen)
{
    // Concatenated paths that would clash, four spellings of "no serial",
    // one serial in two letter cases, and a quote.
    AddHead({"A1", "23", "U", "F", 1, "clash1"});
    AddHead({"A12", "3", "U", "F", 1, "clash2"});
    AddHead({QVariant(QMetaType::fromType<QString>()), "S", "U", "F", 1, "null"});
    AddHead({"", "S", "U", "F", 1, "empty"});
    AddHead({"  ", "S", "U", "F", 1, "blank"});
    AddHead({"*", "S", "U", "F", 1, "star"});
    AddHead({"c9", "S", "U", "F", 1, "lower"});
    AddHead({"C9 ", "S", "U", "F", 1, "upper"});
    AddHead({"c9 ", "S", "U", "F", 2, "alarm"});
    AddHead({"O'Brien", "S", "U", "F", 1, "quote"});

    const LogTreeModel m = Tree({true, true, false});
    QSet<QString> keys;
    for (const LogTreeNode& n : m.Nodes())
        keys.insert(n.key);
    EXPECT_EQ(keys.size(), m.Size());

    struct Case {
        QStringList path;
        QStringList names;
    };
    const Case cases[] = {
        {{"A1", "23", "F", "Interval Trend"}, {"clash1"}},
        {{"A12", "3", "F", "Interval Trend"}, {"clash2"}},
        {{"*", "S", "F", "Interval Trend"}, {"null", "empty", "blank", "star"}},
        {{"c9", "S", "F", "Interval Trend"}, {"lower", "upper"}},
        {{"c9", "S", "F", "Alarm Trend"}, {"alarm"}},
        {{"O'Brien", "S", "F", "Interval Trend"}, {"quote"}},
    };
    for (const Case& c : cases) {
        const QString key = KeyOf(m, c.path);
        ASSERT_FALSE(key.isEmpty()) << c.path.join('/').toStdString();
        EXPECT_EQ(Column(List(m, key), 0), c.names) << c.path.join('/').toStdString();
    }
    // One node each for the star and for the two spellings of C9, shown as
    // the one that sorts first.
    int serialNodes = 0;
    for (int child : m.At(0).children)
        serialNodes += m.At(child).letter == u'S';
    EXPECT_EQ(serialNodes, 5);
}

TEST_F(TreeTest, FolderListingNamesTheChildLevel)
{
    const LogTreeModel m = Tree({true, false, false});
    const LogListing root = List(m, kRootKey);
    EXPECT_FALSE(root.records);
    ASSERT_EQ(root.columns.size(), 3u);
    EXPECT_EQ(root.columns[0].caption, "Serial No.");
    EXPECT_EQ(Column(root, 0), (QStringList{"A1", "B2"}));
    EXPECT_EQ(Column(root, 1), (QStringList{"", ""}));
    EXPECT_EQ(root.rows[0].key, m.At(m.At(0).children[0]).key);

    const LogListing folder = List(m, KeyOf(m, {"A1", "03/05"}));
    EXPECT_EQ(folder.columns[0].caption, "Folder");
    EXPECT_EQ(Column(folder, 0), (QStringList{"Interval Trend", "Alarm Trend", "Power Events"}));

    const LogListing serial = List(m, KeyOf(m, {"A1"}));
    EXPECT_EQ(serial.columns[0].caption, "(MM/YY)");

    // A kind node has no children: its listing is of records.
    EXPECT_TRUE(List(m, KeyOf(m, {"A1", "03/05", "Alarm Trend"})).records);
}

TEST_F(BrowserDbTest, RecordListingShowsNullCellsEmptyAndRecordKeys)
{
    Head h{"A1", QVariant(QMetaType::fromType<QString>()), "U1", "F", 2, "  Alarm 1 "};
    h.more.insert("Dates", QVariant(QMetaType::fromType<QString>()));
    const qint64 first = AddHead(h);
    const qint64 second = AddHead({"A1", "ST", "U1", "F", 2, "Alarm 2"});
    const LogTreeModel m = Tree({});
    const LogListing l = List(m, KeyOf(m, {"F", "Alarm Trend"}));
    ASSERT_TRUE(l.records);
    ASSERT_EQ(l.columns.size(), 5u);
    ASSERT_EQ(l.rows.size(), 2u);
    EXPECT_EQ(l.rows[0].key, QString::number(first) + " K");
    EXPECT_EQ(l.rows[0].texts, (QStringList{"Alarm 1", "A1", "", "U1", ""}));
    EXPECT_EQ(l.rows[1].texts, (QStringList{"Alarm 2", "A1", "ST", "U1", "2026/03/05 10:20:30"}));
    EXPECT_EQ(l.rows[1].icon, "Alarm0");
    EXPECT_EQ(RecordKeySeqNo(l.rows[1].key), second);
    EXPECT_EQ(KindOfItemLetter(KeyLetter(l.rows[1].key))->types, 2);
}

TEST_F(BrowserDbTest, HeadFilterBindsEveryValue)
{
    AddHead({"X'); Delete From Log_head; --", "S", "U", "F", 1, "evil"});
    AddHead({"Y", "S", "U", "F", 1, "other"});
    LogDb db;
    QSqlQuery q = SelectHeads(db, "Names", {{HeadColumn::SerialNo, "x'); delete from log_head; --"},
                                            {HeadColumn::Types, 1}});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "evil");
    EXPECT_FALSE(q.next());
    EXPECT_EQ(Rows("Log_head"), 2);
}

// The heads of a node are found through the index over the shown identity,
// not by reading every head: the filter's expressions must stay those the
// index was made over.
TEST_F(BrowserDbTest, NodeHeadsAreFoundThroughTheShownIdentityIndex)
{
    LogDb db;
    QVariantList binds;
    const QString where = HeadCondition({{HeadColumn::SerialNo, "A1"},
                                         {HeadColumn::StationID, "ST"},
                                         {HeadColumn::UserID, "U1"},
                                         {HeadColumn::FolderID, "03/26"},
                                         {HeadColumn::Types, 1}},
                                        &binds);
    QSqlQuery q = QuerySql(db, "Explain Query Plan Select SeqNo From Log_Head Where " + where, binds);
    QString plan;
    while (q.next())
        plan += q.value(3).toString() + '\n';
    EXPECT_TRUE(plan.contains("USING INDEX Log_Head_Shown")) << plan.toStdString();
}
