#include "common/numeric.h"

#include <gtest/gtest.h>

TEST(Numeric, WhatCountsAsANumber)
{
    for (const char* yes : {"0", "-1", "+2", "3.5", " 4 ", ".5", "5.", "-0.25", "1e5", "1E-3", "+2.5e+2",
                            "\t7\t", "007"})
        EXPECT_TRUE(IsNumeric(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "-", "+", ".", "-.", "e5", "1e", "1e+", "abc", "1.2.3", "12a", "nan",
                           "inf", "1 2", "0x10", "1,000", "---", "--5", "1e5.5", "- 1"})
        EXPECT_FALSE(IsNumeric(QString::fromLatin1(no))) << no;
}

TEST(Numeric, Value)
{
    double v = 0;
    EXPECT_TRUE(NumericValue(" 12.34 ", &v));
    EXPECT_DOUBLE_EQ(v, 12.34);
    EXPECT_TRUE(NumericValue("2.5e2", &v));
    EXPECT_DOUBLE_EQ(v, 250);
    v = 7;
    EXPECT_FALSE(NumericValue("1e999", &v)); // beyond a double
    EXPECT_FALSE(NumericValue("abc", &v));
    EXPECT_DOUBLE_EQ(v, 7);
}
