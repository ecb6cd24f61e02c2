#include "common/appstate.h"
#include "common/gasvalue.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(GasValue, FormatGasValue)
{
    struct Case {
        float value;
        int points;
        const char* text;
    };
    const Case cases[] = {
        {-101, 0, "-----"}, {-101, 3, "-----"},  {-107, 1, "OVER"},    {-102, 0, "NORMAL"},
        {-109, 0, "FAIL(Cal.)"}, {-111, 2, "FAIL(BATT.)"}, {-116, 0, "MIN"}, {-118, 0, "?????"},
        {12.345f, 2, "12.35"}, {12.345f, 7, "12"},  {-117, 0, "-117"},  {-5, 1, "-5.0"},
        {0.04f, 3, "0.040"},   {-0.04f, 1, "0.0"},  {5, -1, "5"},       {-101.5f, 1, "-101.5"},
        {20.9f, 1, "20.9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGasValue(c.value, c.points), c.text) << c.value << " " << c.points;

    ResetAppState();
    App().ConvertFactor = 2.0f;
    EXPECT_EQ(FormatGasValue(1.5f, 1, true), "3.0");
    EXPECT_EQ(FormatGasValue(1.5f, 1, false), "1.5");
    ResetAppState();
}

TEST(GasValue, CodesAndNames)
{
    EXPECT_TRUE(IsStatusCode(-101));
    EXPECT_TRUE(IsStatusCode(-116));
    EXPECT_TRUE(IsStatusCode(-118));
    EXPECT_FALSE(IsStatusCode(-117));
    EXPECT_FALSE(IsStatusCode(-101.5f));
    EXPECT_EQ(StatusCodeName(-102), "NORMAL");
    EXPECT_EQ(StatusCodeName(-115), "MAX");
    EXPECT_EQ(StatusCodeName(-110), "FAIL(Sen.)");
    EXPECT_EQ(StatusCodeName(-101), "");
    EXPECT_EQ(StatusCodeName(-116), "");
    EXPECT_EQ(StatusCodeName(0), "");
}

TEST(GasValue, StatusTextToCode)
{
    struct Case {
        const char* text;
        float code;
    };
    const Case cases[] = {
        {"  over", -107}, {"FAIL(BATT.)", -110}, {"CALIB.", -101}, {"3.5", 3.5f}, {"", -101},
        {"-107", -107},   {"ALARM", -101},       {"Alrm", -104},   {"Warn", -103}, {"stel", -105},
        {"TWA", -106},    {"Max", -115},         {"Min", -116},    {"Norm", -102}, {"CLG", -101},
        {"Cal.", -101},   {" 12 ", 12},          {"1e3", -101},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatusTextToCode(c.text), c.code) << c.text;
}

TEST(GasValue, OverIfAboveFull)
{
    EXPECT_EQ(OverIfAboveFull("100", 100), "100");
    EXPECT_EQ(OverIfAboveFull("100.1", 100), "OVER");
    EXPECT_EQ(OverIfAboveFull("-0.5", 100), "OVER");
    EXPECT_EQ(OverIfAboveFull("0", 100), "0");
    EXPECT_EQ(OverIfAboveFull("NORMAL", 100), "NORMAL");
    EXPECT_EQ(OverIfAboveFull("-----", 100), "-----");
}

TEST(GasValue, PicturesAndDecimals)
{
    EXPECT_EQ(PointsFormat(0), "#0");
    EXPECT_EQ(PointsFormat(3), "#0.000");
    EXPECT_EQ(PointsFormat(9), "#0.000000000");
    EXPECT_EQ(PointsFormat(10), "");
    EXPECT_EQ(PointsFormat(-1), "");
    EXPECT_EQ(DecimalPlaces("100"), 0);
    EXPECT_EQ(DecimalPlaces("0.05"), 2);
    EXPECT_EQ(DecimalPlaces("12.50"), 2);
    EXPECT_EQ(DecimalPlaces("5."), 0);
    EXPECT_EQ(DecimalPlaces("1.2.3"), 3);
}

TEST(GasValue, FormatValue5)
{
    EXPECT_EQ(FormatValue5(5, 0), "    5");
    EXPECT_EQ(FormatValue5(12.5f, 1), " 12.5");
    EXPECT_EQ(FormatValue5(-1, 0), "00000");
    EXPECT_EQ(FormatValue5(0.25f, 2), " 0.25");
    // Too long for five characters: the leading digit is lost, which is why
    // callers check the full text first.
    EXPECT_EQ(FormatValue5(1234.5f, 1), "234.5");
    EXPECT_EQ(FormatNumber(1234.5, 1).size(), 6);
}

TEST(GasValue, RoundToStep)
{
    struct Case {
        float value, step, expected;
    };
    const Case cases[] = {
        {0.25f, 0.5f, 0.0f},     // 0.5 rounds to 0 (halves to even)
        {0.75f, 0.5f, 1.0f},     // 1.5 rounds to 2
        {1.25f, 0.5f, 1.0f},     // 2.5 rounds to 2
        {12.34f, 0.5f, 12.5f},
        {12.25f, 0.5f, 12.0f},   // 24.5 rounds to 24
        {-3, 0.5f, 0.0f},        // a negative value gives 0
        {-3, 0, 0.0f},
        {32767, 1, 32767.0f},
        // A step of 0 or less stores the value unrounded.
        {1, 0, 1.0f},
        {0, 0, 0.0f},
        {12.34f, -0.5f, 12.34f},
        // Quotients beyond the 16-bit range round as any other.
        {32768, 1, 32768.0f},
        {40000.3f, 0.5f, 40000.5f},
        {70000.25f, 0.5f, 70000.0f},
        {1e30f, 1e-30f, 1e30f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(RoundToStep(c.value, c.step), c.expected) << c.value << " step " << c.step;
    EXPECT_FLOAT_EQ(RoundToStep(12.34f, 0.1f), 12.3f);
    EXPECT_TRUE(std::isnan(RoundToStep(std::nanf(""), 1)));
}

TEST(GasValue, NumberTexts)
{
    for (const char* yes : {"0", "-1", "+2", "3.5", " 4 ", ".5", "5.", "-0.25"})
        EXPECT_TRUE(IsNumericText(yes)) << yes;
    for (const char* no : {"", " ", "-", ".", "1e5", "abc", "1.2.3", "12a", "nan", "inf", "1 2", "0x10"})
        EXPECT_FALSE(IsNumericText(no)) << no;

    float f = 0;
    EXPECT_TRUE(ParseFloatText("2.5", &f));
    EXPECT_EQ(f, 2.5f);
    EXPECT_FALSE(ParseFloatText(QString(50, '9'), &f));
    double d = 0;
    EXPECT_TRUE(ParseWholeText("2.5", &d));
    EXPECT_EQ(d, 2);
    EXPECT_TRUE(ParseWholeText("3.5", &d));
    EXPECT_EQ(d, 4);
    EXPECT_TRUE(ParseWholeText("-2.5", &d));
    EXPECT_EQ(d, -2);

    EXPECT_EQ(FloatText(25.5f), "25.5");
    EXPECT_EQ(FloatText(100), "100");
    EXPECT_EQ(FloatText(0.1f), "0.1");
    EXPECT_EQ(FloatText(-3), "-3");
    EXPECT_EQ(FloatText(-0.0f), "0");
    EXPECT_EQ(FloatText(1e7f), "10000000");
    EXPECT_EQ(FloatText(0.0001f), "0.0001");
    for (float v : {0.1f, 12.345f, 1e-7f, 3.4e38f, 16777217.0f}) {
        EXPECT_TRUE(IsNumericText(FloatText(v))) << v;
        EXPECT_TRUE(ParseFloatText(FloatText(v), &f));
        EXPECT_EQ(f, v);
    }
}
