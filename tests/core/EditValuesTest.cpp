// Numbers as the setup windows read them from their edits, in the user's locale.

#include "core/EditValues.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace lumetra {
namespace {

TEST(EditValues, IntegersAndNumbers) {
    struct TCase {
        const char* Text;
        std::optional<long long> Integer;
        std::optional<double> Number;
    };
    const TCase cases[] = {
        {"60", 60, 60.0},      {" -7 ", -7, -7.0},    {"+3", 3, 3.0},          {"", {}, {}},
        {"5.4", {}, 5.4},      {"1e3", {}, {}},       {"0x10", {}, {}},        {"12a", {}, {}},
        {"-", {}, {}},         {".5", {}, 0.5},       {"1.2.3", {}, {}},       {"inf", {}, {}},
        {"99999999999999999999", 9223372036854775807LL, 1e20},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ParseIntegerText(c.Text), c.Integer) << '"' << c.Text << '"';
        EXPECT_EQ(ParseNumberText(c.Text), c.Number) << '"' << c.Text << '"';
    }
}

TEST(EditValues, LocaleSeparatorAndFullStop) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German locale";
    }
    EXPECT_EQ(ParseNumberText("5,4"), 5.4);
    EXPECT_EQ(ParseNumberText("5.4"), 5.4);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(EditValues, FallbackAndRange) {
    const TTranslate english = [](const std::string& text) { return text; };
    const TFieldRange field{"Sampling Interval", 0, 255};
    std::string error;
    EXPECT_EQ(IntegerFromEdit("not a number", 60, field, english, error), 60);
    EXPECT_EQ(IntegerFromEdit("255", 60, field, english, error), 255);
    EXPECT_EQ(error, "");
    EXPECT_EQ(IntegerFromEdit("256", 60, field, english, error), std::nullopt);
    EXPECT_EQ(error, "Sampling Interval takes a whole number from 0 to 255.");
}

} // namespace
} // namespace lumetra
