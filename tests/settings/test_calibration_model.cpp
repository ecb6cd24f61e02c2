#include "settings/calibration_model.h"

#include "settings_fixture.h"

TEST_F(SettingsTest, CalibrationGridWithAndWithoutLink)
{
    EXPECT_FALSE(LiveDataAtHand(0, -1));
    EXPECT_FALSE(LiveDataAtHand(1, -1));
    EXPECT_FALSE(LiveDataAtHand(2, 0));
    EXPECT_TRUE(LiveDataAtHand(2, -1));

    std::array<GasSetting, 2> current{};
    current[0].Name = "CO";
    current[0].Unit = "ppm";
    current[0].FullScale = 500;
    inst.SetGasEnabled(1, false);

    auto rows = BuildCalGrid(inst, true, current);
    EXPECT_EQ(rows[0].label, "H2S(30ppm)");
    EXPECT_EQ(rows[0].autoCal, "25.0");
    EXPECT_TRUE(rows[0].ticked && rows[0].gasEnabled);
    EXPECT_FALSE(rows[1].ticked || rows[1].gasEnabled);
    EXPECT_EQ(rows[1].autoCal, "20.9");

    rows = BuildCalGrid(inst, false, current);
    EXPECT_EQ(rows[0].label, "CO(500ppm)");
    EXPECT_EQ(rows[1].label, "----(---)");
    EXPECT_EQ(rows[0].autoCal, "-----");
    EXPECT_EQ(rows[1].autoCal, "-----");
    EXPECT_TRUE(rows[0].ticked); // ticks follow the instrument either way
}

TEST(CalibrationTexts, Volts)
{
    EXPECT_EQ(AnalogVoltText(1234), "1.234V");
    EXPECT_EQ(AnalogVoltText(0), "0.000V");
    EXPECT_EQ(AnalogVoltText(5), "0.005V");
    EXPECT_EQ(VoltText(3.6), "3.600V");
}

TEST_F(SettingsTest, SpanSelectionTable)
{
    struct Case {
        bool tick0, tick1, enabled0, enabled1;
        const char* selection;
    };
    const Case cases[] = {
        {false, true, true, true, "01"},
        {true, false, true, true, "10"},
        {true, true, true, true, "11"},
        {false, false, true, true, "00"},
        {true, true, false, false, "00"}, // ticked but disabled counts as not ticked
        {true, true, true, false, "10"},
    };
    for (const Case& c : cases) {
        inst.SetGasEnabled(0, c.enabled0);
        inst.SetGasEnabled(1, c.enabled1);
        EXPECT_EQ(SelectionText(SpanSelection(inst, {c.tick0, c.tick1})), c.selection);
    }
    EXPECT_EQ(ZeroSelectionText(), "11");
}

TEST_F(SettingsTest, AdjustmentResultLines)
{
    EXPECT_EQ(AdjustmentResultText(inst, {true, true}, {true, false}, {1.0f, 20.94f}),
              "H2S  Adjustment Complete.\r\nOXY(20.9) Failed\r\n");
    EXPECT_EQ(AdjustmentResultText(inst, {false, true}, {false, true}, {0, 0}), "OXY  Adjustment Complete.\r\n");
    EXPECT_EQ(AdjustmentResultText(inst, {true, false}, {false, false}, {-101, 0}), "H2S(-----) Failed\r\n");
    EXPECT_EQ(AdjustmentResultText(inst, {false, false}, {true, true}, {0, 0}), "");
}
