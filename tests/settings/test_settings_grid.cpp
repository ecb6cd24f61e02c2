#include "settings/settings_grid.h"

#include "settings_fixture.h"

namespace {

QStringList RowTexts(const SettingsGridData& grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols; ++c)
        texts << grid.At(row, c).text;
    return texts;
}

QStringList Texts(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* s : list)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

TEST_F(SettingsTest, PanelStateByModeAndLink)
{
    struct Case {
        bool service, u, connected;
        int status, commFlags;
        bool full;
        std::optional<bool> gridVisible;
        bool serviceControls, enabled, showData;
    };
    const Case cases[] = {
        {false, false, false, 0, 0, false, false, false, false, false},
        {false, false, true, 2, -1, false, false, false, true, true},
        {false, true, true, 2, -1, true, true, false, true, true},
        {false, true, true, 2, 0, true, true, false, true, false},  // information not read yet
        {false, true, false, 1, -1, true, true, false, false, false}, // link down
        {true, false, false, 0, 0, true, std::nullopt, true, false, true}, // "-R" shows the record anyway
        {true, true, true, 2, -1, true, std::nullopt, true, true, true},
    };
    for (const Case& c : cases) {
        const SettingsPanelState s = DecideSettingsPanel(c.service, c.u, c.connected, c.status,
                                                         static_cast<std::int16_t>(c.commFlags));
        SCOPED_TRACE(testing::Message() << "R " << c.service << " U " << c.u << " status " << c.status);
        EXPECT_EQ(s.fullLayout, c.full);
        EXPECT_EQ(s.gridVisible, c.gridVisible);
        EXPECT_EQ(s.serviceControlsVisible, c.serviceControls);
        EXPECT_EQ(s.commandsEnabled, c.enabled);
        EXPECT_EQ(s.showData, c.showData);
    }
}

TEST_F(SettingsTest, FullLayoutWithData)
{
    SettingsGridInputs in;
    in.fullLayout = true;
    in.showData = true;
    const SettingsGridData grid = BuildSettingsGrid(inst, in);
    ASSERT_EQ(grid.cols, 7);
    EXPECT_EQ(RowTexts(grid, 0), Texts({"", "Sensor", "Warning and Alarm point", "Warning and Alarm point",
                                        "Warning and Alarm point", "Warning and Alarm point", ""}));
    EXPECT_EQ(RowTexts(grid, 1), Texts({"Gas", "Enable", "Warning", "Alarm", "STEL", "TWA", "Auto Cal."}));
    EXPECT_EQ(RowTexts(grid, 2), Texts({"H2S(30ppm)", "", "5.0", "10.0", "1.0", "1.0", "25.0"}));
    EXPECT_EQ(RowTexts(grid, 3), Texts({"OXY(25VOL%)", "", "19.5", "18.0", "-----", "-----", "20.9"}));
    EXPECT_EQ(grid.At(2, 1).check, SettingsCell::Check::Checked);
    EXPECT_EQ(grid.At(2, 2).align, SettingsCell::Align::Right);
    EXPECT_EQ(grid.At(3, 4).align, SettingsCell::Align::Centre);
    EXPECT_EQ(grid.At(2, 1).align, SettingsCell::Align::Centre);
    EXPECT_EQ(grid.At(0, 2).align, SettingsCell::Align::Centre);
    EXPECT_EQ(grid.At(1, 0).align, SettingsCell::Align::Centre);
    // The second gas's STEL and TWA are read-only in every mode.
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(grid.At(r, c).readOnly, r == 3 && (c == 4 || c == 5)) << r << "," << c;
            EXPECT_FALSE(grid.At(r, c).red);
        }
    }
}

TEST_F(SettingsTest, CompactLayoutWithData)
{
    SettingsGridInputs in;
    in.showData = true;
    in.gasLocked = {true, false};
    inst.SetGasEnabled(1, false);
    const SettingsGridData grid = BuildSettingsGrid(inst, in);
    ASSERT_EQ(grid.cols, 6);
    EXPECT_EQ(RowTexts(grid, 0), Texts({"", "Sensor", "Warning and Alarm point", "Warning and Alarm point",
                                        "Warning and Alarm point", "Warning and Alarm point"}));
    EXPECT_EQ(RowTexts(grid, 1), Texts({"Gas", "Warning", "Alarm", "STEL", "TWA", "Auto Cal."}));
    EXPECT_EQ(RowTexts(grid, 2), Texts({"H2S(30ppm)", "5.0", "10.0", "1.0", "1.0", "25.0"}));
    // A disabled gas shows "-----" everywhere.
    EXPECT_EQ(RowTexts(grid, 3), Texts({"OXY(25VOL%)", "-----", "-----", "-----", "-----", "-----"}));
    EXPECT_EQ(grid.At(2, 1).check, SettingsCell::Check::None);
    EXPECT_TRUE(grid.At(3, 3).readOnly && grid.At(3, 4).readOnly);
    EXPECT_TRUE(grid.At(2, 1).readOnly); // the locked gas's first cell
    EXPECT_FALSE(grid.At(3, 1).readOnly);
}

TEST_F(SettingsTest, OutOfOrderPairsAreRedOnlyWhenEnabled)
{
    struct Case {
        bool full;
        float w0, a0;
        const char* oxy;
        float w1, a1;
        bool enabled1;
        bool red0, red1;
    };
    const Case cases[] = {
        {true, 10, 10, "00", 19.5f, 18, true, false, false}, // equal: in order
        {true, 11, 10, "00", 19.5f, 18, true, true, false},
        {false, 11, 10, "00", 18, 19.5f, true, true, true},
        {true, 5, 10, "01", 19.5f, 19.5f, true, false, true},
        {true, 5, 10, "01", 19.5f, 19.5f, false, false, false}, // disabled: never red
    };
    for (const Case& c : cases) {
        inst.SetWarning(0, c.w0);
        inst.SetAlarm(0, c.a0);
        inst.SetOxyAlarmType(QString::fromLatin1(c.oxy));
        inst.SetWarning(1, c.w1);
        inst.SetAlarm(1, c.a1);
        inst.SetGasEnabled(1, c.enabled1);
        SettingsGridInputs in;
        in.fullLayout = c.full;
        in.showData = true;
        const SettingsGridData grid = BuildSettingsGrid(inst, in);
        const int wc = c.full ? 2 : 1;
        for (int c2 = 0; c2 < grid.cols; ++c2) {
            EXPECT_EQ(grid.At(2, c2).red, c.red0 && (c2 == wc || c2 == wc + 1)) << c.w0 << " col " << c2;
            EXPECT_EQ(grid.At(3, c2).red, c.red1 && (c2 == wc || c2 == wc + 1)) << c.w1 << " col " << c2;
        }
    }
}

TEST_F(SettingsTest, NoDataFormUsesTheSettingsFileGases)
{
    SettingsGridInputs in;
    in.currentGas[0].Name = "CO";
    in.currentGas[0].Unit = "ppm";
    in.currentGas[0].FullScale = 500;
    in.currentGas[1].Name = " ";
    inst.SetWarning(0, 11); // out of order, but no data is shown

    in.fullLayout = true;
    SettingsGridData grid = BuildSettingsGrid(inst, in);
    EXPECT_EQ(RowTexts(grid, 2), Texts({"CO(500ppm)", "", "-----", "-----", "-----", "", ""}));
    EXPECT_EQ(RowTexts(grid, 3), Texts({"----(---)", "", "-----", "-----", "-----", "", ""}));
    EXPECT_EQ(grid.At(2, 1).check, SettingsCell::Check::Unchecked);
    EXPECT_EQ(grid.At(3, 1).check, SettingsCell::Check::Unchecked);
    EXPECT_FALSE(grid.At(2, 2).red);
    EXPECT_TRUE(grid.At(3, 4).readOnly && grid.At(3, 5).readOnly);

    in.fullLayout = false;
    grid = BuildSettingsGrid(inst, in);
    EXPECT_EQ(RowTexts(grid, 2), Texts({"CO(500ppm)", "-----", "-----", "-----", "-----", "-----"}));

    // Built twice, the same grid.
    const SettingsGridData again = BuildSettingsGrid(inst, in);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(RowTexts(again, r), RowTexts(grid, r));
}

TEST_F(SettingsTest, ColumnMapOfBothLayouts)
{
    EXPECT_FALSE(FieldOfColumn(true, 0));
    EXPECT_FALSE(FieldOfColumn(true, 1));
    EXPECT_EQ(FieldOfColumn(true, 2), SetPointField::Warning);
    EXPECT_EQ(FieldOfColumn(true, 6), SetPointField::AutoCalib);
    EXPECT_FALSE(FieldOfColumn(true, 7));
    EXPECT_EQ(FieldOfColumn(false, 1), SetPointField::Warning);
    EXPECT_EQ(FieldOfColumn(false, 5), SetPointField::AutoCalib);
    EXPECT_FALSE(FieldOfColumn(false, 6));
    EXPECT_EQ(ColumnOfField(false, SetPointField::Stel), 3);
    EXPECT_EQ(ColumnOfField(true, SetPointField::Stel), 4);
}
