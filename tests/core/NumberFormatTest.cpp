#include "core/NumberFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <string>

namespace lumetra {
namespace {

struct Case {
    double Value;
    int Precision;
    int Decimals;
    const char* Text;
};

void ExpectCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.Value, c.Precision, c.Decimals), c.Text)
            << c.Value << " precision " << c.Precision << " decimals " << c.Decimals;
}

// Each test sets LC_NUMERIC and puts the previous one back.
class NumberLocale : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr); }
    void TearDown() override { std::setlocale(LC_NUMERIC, Saved.c_str()); }
    std::string Saved = std::setlocale(LC_NUMERIC, nullptr);
};

TEST_F(NumberLocale, FixedDecimals) {
    ExpectCases({
        {1234.5678, 7, 2, "1234.57"},
        {1549.0, 7, 0, "1549"},
        {0, 7, 1, "0.0"},
        {12.0, 4, 3, "12.000"},
        {0.5, 7, 3, "0.500"},
        {-7.25, 7, 1, "-7.3"},
        {1e20, 25, 0, "100000000000000000000"},
        {2.5, 7, -1, "3"}, // negative decimals count as none
    });
}

TEST_F(NumberLocale, RoundsHalfAwayFromZeroOnDecimalDigits) {
    ExpectCases({
        {0.125, 7, 2, "0.13"},
        {-0.125, 7, 2, "-0.13"},
        {2.5, 7, 0, "3"},
        {3.5, 7, 0, "4"},
        {-2.5, 7, 0, "-3"},
        {0.006, 7, 2, "0.01"},
        {0.004, 7, 2, "0.00"},
        {9.995, 7, 2, "9.99"}, // the double lies just below 9.995
        {1.005, 7, 2, "1.00"}, // likewise below 1.005
        {0.015625, 7, 5, "0.01563"},
        {99.95, 7, 1, "100.0"}, // 99.9500000000000028 rounds up
    });
}

TEST_F(NumberLocale, PrecisionLimitsSignificantDigits) {
    ExpectCases({
        {123456.789, 7, 2, "123456.80"},
        {99.96, 3, 1, "100.0"},
        {1234.5678, 5, 2, "1234.60"},
        {123.456, 3, 2, "123.00"},
        {987.6, 3, 0, "988"},
        {0.123456789, 4, 6, "0.123500"},
    });
}

TEST_F(NumberLocale, ExponentFormWhenIntegerPartTooLong) {
    ExpectCases({
        {12345678000.0, 8, 2, "1.2345678E+10"},
        {-12345678000.0, 8, 0, "-1.2345678E+10"},
        {1e10, 8, 0, "1E+10"},
        {123456789.0, 8, 0, "1.2345679E+08"},
        {99999999.6, 8, 0, "1E+08"}, // rounding adds the ninth integer digit
        {999.6, 3, 1, "1E+03"},
        {1234.0, 3, 1, "1.23E+03"},
        {1e100, 7, 2, "1E+100"},
        {DBL_MAX, 7, 0, "1.797693E+308"},
        {12345678.0, 8, 0, "12345678"}, // exactly precision digits stays fixed
    });
}

TEST_F(NumberLocale, NoNegativeZeroAndSpecialValues) {
    ExpectCases({
        {-0.004, 7, 2, "0.00"},
        {-0.0, 7, 1, "0.0"},
        {-0.4, 7, 0, "0"},
        {-4e-300, 7, 3, "0.000"},
        {5e-324, 7, 2, "0.00"},
    });
    EXPECT_EQ(FormatFixed(std::nan(""), 7, 2), "NAN");
    EXPECT_EQ(FormatFixed(HUGE_VAL, 7, 2), "INF");
    EXPECT_EQ(FormatFixed(-HUGE_VAL, 7, 2), "-INF");
}

TEST_F(NumberLocale, SeparatorFollowsLcNumeric) {
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 not installed";
    EXPECT_EQ(LocaleDecimalSeparator(), ',');
    EXPECT_EQ(FormatFixed(1234.5678, 7, 2), "1234,57");
    EXPECT_EQ(FormatFixed(12345678000.0, 8, 2), "1,2345678E+10");
}

} // namespace
} // namespace lumetra
