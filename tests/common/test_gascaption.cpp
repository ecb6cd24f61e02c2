#include "common/gascaption.h"

#include <gtest/gtest.h>

namespace {
struct Gas {
    QString name;
    float full;
    QString unit;
};
struct FakeSource : GasCaptionSource {
    Gas gases[2];
    QString CaptionGasName(int gas) const override { return gases[gas].name; }
    float CaptionGasFull(int gas) const override { return gases[gas].full; }
    QString CaptionGasUnit(int gas) const override { return gases[gas].unit; }
};
}

TEST(GasCaption, FromAnObject)
{
    FakeSource src;
    src.gases[0] = {"CO", 500, "ppm"};
    src.gases[1] = {"O2 ", 25.5f, "vol%"};
    EXPECT_EQ(GasCaption(&src, 0, true), "CO(500ppm)");
    EXPECT_EQ(GasCaption(&src, 0, false), "CO(ppm)");
    EXPECT_EQ(GasCaption(&src, 1, true), "O2 (25.5vol%)"); // trailing blanks kept
    src.gases[0].name = "   ";
    EXPECT_EQ(GasCaption(&src, 0, true), "----(---)");
    EXPECT_EQ(GasCaption(&src, 0, false), "----(---)");
    EXPECT_EQ(GasCaption(nullptr, 0, true), "----(---)");
}

TEST(GasCaption, FromLooseValues)
{
    EXPECT_EQ(FormatGasLabel("CO", "ppm", -1), "CO(ppm)");
    EXPECT_EQ(FormatGasLabel("CO", "ppm", 0), "CO(0ppm)");
    EXPECT_EQ(FormatGasLabel("H2S", "ppm", 30.1f), "H2S(30.1ppm)");
    EXPECT_EQ(FormatGasLabel("", "ppm", 10), "----(---)");
    EXPECT_EQ(FormatGasLabel(" NH3 ", "ppm", 100), " NH3 (100ppm)");
}
