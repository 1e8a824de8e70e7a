#include <gtest/gtest.h>

#include "foundation/text/NumericText.h"

using namespace mw;

TEST(NumericText, AcceptsDecimalNumbersOnly)
{
    EXPECT_EQ(parseNumber("12.5"), 12.5);
    EXPECT_EQ(parseNumber("  -3 "), -3.0);
    EXPECT_EQ(parseNumber("+.5"), 0.5);
    EXPECT_EQ(parseNumber("7."), 7.0);
    EXPECT_EQ(parseNumber("1e3"), 1000.0);
    EXPECT_EQ(parseNumber("2.5E-1"), 0.25);
    for (const char* bad : {"", " ", "-", ".", "1,5", "abc", "1e", "1e+", "inf", "nan", "0x10", "1 2", "--1", "1.2.3"})
        EXPECT_FALSE(parseNumber(bad)) << bad;
}

TEST(NumericText, FloatAndIntegerRanges)
{
    EXPECT_EQ(parseFloat32("3.4e38"), 3.4e38f);
    EXPECT_FALSE(parseFloat32("1e39"));
    EXPECT_FALSE(parseFloat32("-1e39"));
    EXPECT_FALSE(parseNumber("1e999"));
    EXPECT_EQ(parseInteger("255", 0, 255), 255);
    EXPECT_EQ(parseInteger("2.5", 0, 255), 2); // halves to even
    EXPECT_EQ(parseInteger("3.5", 0, 255), 4);
    EXPECT_FALSE(parseInteger("256", 0, 255));
    EXPECT_FALSE(parseInteger("-1", 0, 255));
    EXPECT_EQ(parseInteger("-2147483648", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_FALSE(parseInteger("2147483648", INT32_MIN, INT32_MAX));
}

TEST(NumericText, ShowsTheShortestTextThatReadsBack)
{
    EXPECT_EQ(formatFloat(1.0f), "1");
    EXPECT_EQ(formatFloat(0.1f), "0.1");
    EXPECT_EQ(formatFloat(-12.25f), "-12.25");
    EXPECT_EQ(formatFloat(6.123234e-17f), "6.123234E-17");
    EXPECT_EQ(formatFloat(1e20f), "1E+20");
    EXPECT_EQ(formatDouble(-2.5e-300), "-2.5E-300");
    for (float v : {0.3f, 1.0f / 3.0f, 26.4071f, -1774.3284f, 3.4028235e38f})
        EXPECT_EQ(parseFloat32(formatFloat(v)), v);
    EXPECT_EQ(formatDouble(90.0), "90");
    EXPECT_EQ(formatDouble(-30.000000000000004), "-30.000000000000004");
}
