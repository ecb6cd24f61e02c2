// The property grid of each kind of stored record.
#include "browser_fixture.h"

#include "browser/property_grid.h"

using namespace browser;

namespace {

QVariantMap Gases(bool gas1Enabled)
{
    return {{"Gas1Name", "CO"},    {"Gas1Unit", "ppm"},   {"Gas1Full", 500},     {"Gas1Point", 0},
            {"Gas1Enable", gas1Enabled ? 1 : 0},          {"Gas1Avr", 501},      {"Gas1Max", 500},
            {"Gas1Min", 3},        {"Gas1MaxDate", "2026-03-05 11:00:01"},       {"Gas2Name", "O2"},
            {"Gas2Unit", "%"},     {"Gas2Full", 25},      {"Gas2Point", 1},      {"Gas2Enable", 1},
            {"Gas2Avr", 20.9},     {"Gas2Max", -1},       {"Gas2Min", 19.5},
            {"Gas2MaxDate", "2026-03-05 11:00:02"},       {"Gas2MinDate", "2026-03-05 11:00:03"},
            {"Dcount", 120},       {"Interval", 10}};
}

PropertyGrid Grid(const QString& key)
{
    LogDb db;
    return BuildPropertyGrid(db, key);
}

QString Key(qint64 seqNo, char letter)
{
    return QString::number(seqNo) + QLatin1Char(' ') + QLatin1Char(letter);
}

} // namespace

TEST_F(BrowserDbTest, FolderKeysGiveTheStubAndOtherKeysTheBareHeader)
{
    const PropertyGrid stub = Grid("A1/F M");
    EXPECT_FALSE(stub.buttonsEnabled);
    EXPECT_EQ(stub.grid.RowTexts(0), (QStringList{"Property", "Value"}));
    EXPECT_EQ(stub.grid.RowTexts(1), (QStringList{"Type", "Folder"}));
    EXPECT_EQ(stub.grid.Align(0, 1), CellAlign::Center);
    EXPECT_EQ(stub.grid.Align(1, 1), CellAlign::Left);

    const PropertyGrid other = Grid("12 Z");
    EXPECT_TRUE(other.buttonsEnabled);
    EXPECT_EQ(other.grid.Rows(), 2);
    EXPECT_EQ(other.grid.RowTexts(1), (QStringList{"", ""}));
}

TEST_F(BrowserDbTest, IntervalGridDisabledGasOverAndMinimumOfGasTwo)
{
    Head h{"A1", "ST1", QVariant(QMetaType::fromType<QString>()), "F", 1, "Trend 1"};
    h.more = Gases(true);
    const qint64 enabled = AddHead(h);
    h.more = Gases(false);
    const qint64 disabled = AddHead(h);

    const PropertyGrid g = Grid(Key(enabled, 'G'));
    ASSERT_EQ(g.grid.Rows(), 14);
    const QStringList expected[] = {
        {"Property", "Value", "Value"},
        {"Name", "Trend 1", "Trend 1"},
        {"Start Date/Time", "2026/03/05 10:20:30", "2026/03/05 10:20:30"},
        {"Serial No.", "A1", "A1"},
        {"Station ID", "ST1", "ST1"},
        {"User ID", "*", "*"},
        {"Data Count", "120", "120"},
        {"Interval Time (sec)", "10", "10"},
        {"Gas(FullScale)", "CO(500ppm)", "O2(25%)"},
        {"Avg", "OVER", "20.9"},
        {"Max", "500", "OVER"},
        {"Max Date/Time", "03/05 11:00:01", "03/05 11:00:02"},
        {"Min", "-----", "19.5"},
        {"Min Date/Time", "-----", "03/05 11:00:03"},
    };
    for (int r = 0; r < 14; ++r)
        EXPECT_EQ(g.grid.RowTexts(r), expected[r]) << r;
    EXPECT_TRUE(g.grid.Merged(7));
    EXPECT_FALSE(g.grid.Merged(8));
    EXPECT_EQ(g.grid.Shaded().size(), 2u);
    EXPECT_EQ(g.grid.Align(9, 1), CellAlign::Center);
    EXPECT_EQ(g.grid.Align(11, 1), CellAlign::Left);

    const PropertyGrid d = Grid(Key(disabled, 'G'));
    for (int r = 9; r <= 13; ++r)
        EXPECT_EQ(d.grid.Text(r, 1), "-----") << r;

    // A head that is gone keeps the header and the size.
    const PropertyGrid gone = Grid("999 G");
    EXPECT_EQ(gone.grid.Rows(), 14);
    EXPECT_EQ(gone.grid.Text(1, 0), "");
}

TEST_F(BrowserDbTest, AlarmGridShowsPoint181OrNothing)
{
    Head h{"A1", "ST1", "U1", "F", 2, "Alarm"};
    h.more = Gases(true);
    const qint64 longTrend = AddHead(h);
    const qint64 shortTrend = AddHead(h);
    {
        LogDb db;
        DbTransaction tx(db);
        qint64 seq = 1;
        for (int i = 0; i < 361; ++i) {
            const QVariant gas1 = i == 180 ? QVariant(QMetaType::fromType<double>()) : QVariant(i == 180 ? 0 : 7);
            ExecSql(db, "Insert Into Alarm_Data (SeqNo,RelNo,Gas1Value,Gas2Value) Values (?,?,?,?);",
                    {seq++, longTrend, gas1, i == 180 ? 18.5 : 20.9});
        }
        for (int i = 0; i < 180; ++i)
            ExecSql(db, "Insert Into Alarm_Data (SeqNo,RelNo,Gas1Value,Gas2Value) Values (?,?,?,?);",
                    {seq++, shortTrend, 9, 20.0});
        tx.Commit();
    }
    const PropertyGrid g = Grid(Key(longTrend, 'K'));
    ASSERT_EQ(g.grid.Rows(), 10);
    EXPECT_EQ(g.grid.RowTexts(2), (QStringList{"Alarm Date/Time", "2026/03/05 10:20:30", "2026/03/05 10:20:30"}));
    // A Null reading at the alarm moment counts as -12: "OVER".
    EXPECT_EQ(g.grid.RowTexts(9), (QStringList{"Value", "OVER", "18.5"}));
    // The shorter trend after it has no alarm point, not the previous one.
    EXPECT_EQ(Grid(Key(shortTrend, 'K')).grid.RowTexts(9), (QStringList{"Value", "-----", "-----"}));
}

TEST_F(BrowserDbTest, HistoryGridOneEntryOrTheNewestOfMany)
{
    Head h{"A1", "ST1", "U1", "F", 3, "Hist"};
    h.more = Gases(true);
    const qint64 one = AddHead(h);
    const qint64 two = AddHead(h);
    const auto add = [&](qint64 rel, const char* date, double before1) {
        Insert("cHistory", {{"RelNo", rel}, {"Dates", date}, {"Gas1Before", before1}, {"Gas1After", 50},
                            {"Gas1Full", 500}, {"Gas2Before", 20.4}, {"Gas2After", 20.9}, {"Gas2Full", 25}});
    };
    add(one, "2026-01-01 09:00:00", 600);
    add(two, "2026-01-01 09:00:00", 1);
    add(two, "2026-02-01 09:00:00", 600);

    const PropertyGrid g1 = Grid(Key(one, 'H'));
    ASSERT_EQ(g1.grid.Rows(), 3);
    EXPECT_EQ(g1.grid.RowTexts(0), (QStringList{"DateTime", "Gas", "Before", "After"}));
    EXPECT_EQ(g1.grid.RowTexts(1), (QStringList{"2026/01/01 09:00:00", "CO(500ppm)", "OVER", "50"}));
    EXPECT_EQ(g1.grid.RowTexts(2), (QStringList{"", "O2(25%)", "20.4", "20.9"}));

    const PropertyGrid g2 = Grid(Key(two, 'H'));
    ASSERT_EQ(g2.grid.Rows(), 11);
    EXPECT_EQ(g2.grid.RowTexts(1), (QStringList{"2026/02/01 09:00:00", "CO(500ppm)", "600", "50"}));
    EXPECT_EQ(g2.grid.RowTexts(5), (QStringList{"", "", "", ""}));
    EXPECT_EQ(g2.grid.RowTexts(10), (QStringList{"...", "Total", "2", "Datas"}));
    EXPECT_EQ(g2.grid.Align(1, 2), CellAlign::Center);
    EXPECT_EQ(g2.grid.Align(1, 1), CellAlign::Left);
}

TEST_F(BrowserDbTest, EventGridsShowTenOrTheNewestWithTheTotal)
{
    struct Case {
        char letter;
        int types;
        const char* table;
        int events;
        int rows;
        QStringList first;
        QStringList last;
        int emptyFrom; // first empty data row, 0 for none
    };
    const Case cases[] = {
        {'V', 5, "Alarm_Event", 10, 11, {"2026/01/01 00:00:10", "CO", "ALARM"}, {"2026/01/01 00:00:01", "CO", "ALARM"}, 0},
        {'V', 5, "Alarm_Event", 11, 11, {"2026/01/01 00:00:11", "CO", "ALARM"}, {"...", "Total", "11 Datas"}, 3},
        {'W', 6, "Trouble_Event", 11, 11, {"2026/01/01 00:00:11", "CO", "ALARM"}, {"...", "Total", "11 Datas"}, 9},
        {'P', 7, "Power_Event", 11, 11, {"2026/01/01 00:00:11", "ON"}, {"...", "Total 11 Datas"}, 9},
        {'P', 7, "Power_Event", 0, 2, {"", ""}, {"", ""}, 0},
    };
    for (const Case& c : cases) {
        const qint64 head = AddHead({"A1", "S", "U", "F", c.types, "Ev"});
        for (int i = 1; i <= c.events; ++i) {
            QVariantMap row{{"RelNo", head}, {"Dates", QStringLiteral("2026-01-01 00:00:%1").arg(i, 2, 10, QLatin1Char('0'))}};
            if (c.letter == 'P') {
                row.insert("Power_Type", 1);
            } else {
                row.insert("GasName", "CO");
                row.insert("Alarm_type", -104);
            }
            Insert(c.table, row);
        }
        const PropertyGrid g = Grid(Key(head, c.letter));
        SCOPED_TRACE(std::string(1, c.letter) + " " + std::to_string(c.events));
        ASSERT_EQ(g.grid.Rows(), c.rows);
        EXPECT_EQ(g.grid.RowTexts(1), c.first);
        EXPECT_EQ(g.grid.RowTexts(c.rows - 1), c.last);
        if (c.emptyFrom) {
            EXPECT_EQ(g.grid.Text(c.emptyFrom, 0), "");
        }
    }
}
