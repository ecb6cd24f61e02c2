#include "settings/gas_select_model.h"

#include "settings/setpoint_rules.h"
#include "settings_fixture.h"

namespace {

GasTable TableWith(int gas, std::initializer_list<int> enabledEntries)
{
    GasTable t{};
    for (int i : enabledEntries) {
        t[gas][i].Enabled = true;
        t[gas][i].Name = QStringLiteral("G%1").arg(i);
        t[gas][i].Unit = QStringLiteral("ppm");
        t[gas][i].FullScale = 100 + i;
    }
    return t;
}

} // namespace

TEST_F(SettingsTest, GasListRowsByCount)
{
    struct Case {
        std::initializer_list<int> entries;
        int count, perRow, rows;
    };
    const Case cases[] = {
        {{}, 0, 0, 1},
        {{0, 1, 2}, 3, 3, 1},
        {{0, 1, 2, 3}, 4, 4, 1},
        {{0, 1, 2, 3, 4, 5}, 6, 3, 2},
        {{0, 1, 2, 3, 4, 5, 6}, 7, 4, 2},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 8, 4, 2}, // entry 8 is never offered
    };
    for (const Case& c : cases) {
        const GasListLayout l = BuildGasList(TableWith(1, c.entries), 1);
        EXPECT_EQ(l.count, c.count);
        EXPECT_EQ(l.perRow, c.perRow);
        EXPECT_EQ(l.rows, c.rows);
    }
    const GasListLayout l = BuildGasList(TableWith(0, {0, 2, 5}), 0);
    EXPECT_TRUE(l.shown[0] && !l.shown[1] && l.shown[2] && l.shown[5]);
    EXPECT_EQ(l.captions[2], "G2(102ppm)");
    EXPECT_EQ(BuildGasList(TableWith(0, {0, 2, 5}), 1).count, 0); // the other channel
}

TEST_F(SettingsTest, GasListComesFromTheSpecTypesTable)
{
    App().ChgGasTable = TableWith(0, {0, 1});
    App().ChgGas01Table = TableWith(0, {3, 4, 5});
    EXPECT_EQ(BuildGasList(ReplacementGasTable("00"), 0).count, 2);
    EXPECT_EQ(BuildGasList(ReplacementGasTable("01"), 0).count, 3);
    EXPECT_EQ(BuildGasList(ReplacementGasTable("07"), 0).count, 3);
}

TEST_F(SettingsTest, GasOptionPlaces)
{
    // Three options in one row, clear of the frame's line: each a third of
    // the frame less its margin and the 0.1 share.
    GasListLayout three = BuildGasList(TableWith(0, {0, 1, 2}), 0);
    const TwipsRect p2 = GasOptionPlace(three, 2, 3160, 1500, 300);
    EXPECT_DOUBLE_EQ(p2.width, 1000);
    EXPECT_DOUBLE_EQ(p2.left, 2120);
    EXPECT_DOUBLE_EQ(p2.top, 240);
    // Seven: four places a row; the fifth option starts the second row.
    GasListLayout seven = BuildGasList(TableWith(0, {0, 1, 2, 3, 4, 5, 6}), 0);
    const TwipsRect p4 = GasOptionPlace(seven, 4, 4100, 1500, 300);
    EXPECT_DOUBLE_EQ(p4.left, 120);
    EXPECT_DOUBLE_EQ(p4.top, 740);
    // Buttons share the width.
    const TwipsRect b1 = GasSelectButtonPlace(1, 2, 3000, 1800, 400);
    EXPECT_DOUBLE_EQ(b1.left, 1500);
    EXPECT_DOUBLE_EQ(b1.width, 1440);
    EXPECT_DOUBLE_EQ(b1.top, 1980);
    EXPECT_DOUBLE_EQ(GasSelectFramePlace(3000, 2500, 400).height, 1740);
}
