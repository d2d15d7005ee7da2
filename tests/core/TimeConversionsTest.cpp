#include "core/TimeConversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace lumetra {
namespace {

TDeviceTime Stamp(int y, int mo, int d, int h, int mi, int s = 0) { return MakeDeviceTime(y, mo, d, h, mi, s); }

void ExpectStamp(TDeviceTime t, int y, int mo, int d, int h, int mi, int s = 0) {
    EXPECT_EQ(t.Year, y);
    EXPECT_EQ(t.Month, mo);
    EXPECT_EQ(t.Day, d);
    EXPECT_EQ(t.Hour, h);
    EXPECT_EQ(t.Minute, mi);
    EXPECT_EQ(t.Second, s);
}

TEST(DeviceTimeToDateTime, KnownDaysAndFractions) {
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(1899, 12, 30, 0, 0)), 0.0);
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(1900, 1, 1, 0, 0)), 2.0);
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(1900, 3, 1, 0, 0)), 61.0); // 1900 has no 29 February
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(2000, 1, 1, 0, 0)), 36526.0);
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(2000, 1, 1, 6, 0)), 36526.25);
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(2000, 1, 1, 18, 0, 59)), 36526.75); // seconds ignored
    EXPECT_NEAR(DeviceTimeToDateTime(Stamp(2017, 3, 5, 9, 7)), 42799.0 + (9 * 60 + 7) / 1440.0, 1e-9);
    EXPECT_EQ(DeviceTimeToDateTime(Stamp(1899, 12, 29, 12, 0)), -0.5);
}

// Walks the calendar day by day with a plain month table and compares every day.
TEST(DeviceTimeToDateTime, AgreesWithDayByDayWalk) {
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = 1899, m = 12, d = 30;
    TDeviceTime previous = Stamp(y, m, d, 7, 45);
    for (int serial = 0; y < 2101; ++serial) {
        const TDeviceTime t = Stamp(y, m, d, 7, 45);
        ASSERT_NEAR(DeviceTimeToDateTime(t), serial + (7 * 60 + 45) / 1440.0, 1e-9) << y << "-" << m << "-" << d;
        if (serial > 0) {
            ASSERT_EQ(AddMinutes(previous, 1440), t) << y << "-" << m << "-" << d;
            ASSERT_EQ(SubtractMinutes(t, 1440), previous) << y << "-" << m << "-" << d;
        }
        previous = t;
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        if (++d > lengths[m - 1] + (m == 2 && leap ? 1 : 0)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
}

TEST(DeviceTimeToDateTime, OutOfRangeFieldsCarry) {
    const auto value = [](TDeviceTime t) { return DeviceTimeToDateTime(t); };
    EXPECT_EQ(value(Stamp(2016, 13, 1, 0, 0)), value(Stamp(2017, 1, 1, 0, 0)));
    EXPECT_EQ(value(Stamp(2017, 0, 15, 0, 0)), value(Stamp(2016, 12, 15, 0, 0)));
    EXPECT_EQ(value(Stamp(2017, 2, 31, 0, 0)), value(Stamp(2017, 3, 3, 0, 0)));
    EXPECT_EQ(value(Stamp(2016, 3, 0, 0, 0)), value(Stamp(2016, 2, 29, 0, 0)));
    EXPECT_EQ(value(Stamp(2016, 12, 31, 24, 10)), value(Stamp(2017, 1, 1, 0, 10)));
    EXPECT_EQ(value(Stamp(2017, 1, 1, 0, 60)), value(Stamp(2017, 1, 1, 1, 0)));
    // Decoding puts the carried stamp into range.
    ExpectStamp(AddMinutes(Stamp(2017, 2, 31, 24, 5, 30), 0), 2017, 3, 4, 0, 5);
    ExpectStamp(AddMinutes(Stamp(2017, 0, 0, 0, 0), 0), 2016, 11, 30, 0, 0);
}

TEST(FixLeapDay, OnlyImpossibleLeapDaysMove) {
    ExpectStamp(FixLeapDay(Stamp(2017, 2, 29, 10, 0, 12)), 2017, 3, 1, 10, 0, 12);
    ExpectStamp(FixLeapDay(Stamp(2016, 2, 29, 10, 0)), 2016, 2, 29, 10, 0);
    ExpectStamp(FixLeapDay(Stamp(2000, 2, 29, 10, 0)), 2000, 2, 29, 10, 0);
    ExpectStamp(FixLeapDay(Stamp(2100, 2, 29, 10, 0)), 2100, 3, 1, 10, 0);
    ExpectStamp(FixLeapDay(Stamp(2017, 2, 28, 10, 0)), 2017, 2, 28, 10, 0);
    ExpectStamp(FixLeapDay(Stamp(2017, 3, 29, 10, 0)), 2017, 3, 29, 10, 0);
}

TEST(AddSubtractMinutes, CrossDayMonthAndYear) {
    ExpectStamp(AddMinutes(Stamp(2016, 12, 31, 23, 30, 45), 90), 2017, 1, 1, 1, 0);
    ExpectStamp(SubtractMinutes(Stamp(2016, 3, 1, 0, 30, 45), 60), 2016, 2, 29, 23, 30);
    ExpectStamp(SubtractMinutes(Stamp(2017, 3, 1, 0, 30), 60), 2017, 2, 28, 23, 30);
    ExpectStamp(AddMinutes(Stamp(2016, 2, 28, 23, 59), 1), 2016, 2, 29, 0, 0);
    ExpectStamp(SubtractMinutes(Stamp(2017, 1, 1, 0, 0), 1), 2016, 12, 31, 23, 59);
    ExpectStamp(AddMinutes(Stamp(2017, 3, 5, 9, 7, 33), 0), 2017, 3, 5, 9, 7);
    // 65535 minutes are 45 days, 12 hours and 15 minutes.
    ExpectStamp(SubtractMinutes(Stamp(2016, 3, 1, 0, 30), 65535), 2016, 1, 15, 12, 15);
    // A negative count moves back.
    ExpectStamp(AddMinutes(Stamp(2016, 3, 1, 0, 30), -60), 2016, 2, 29, 23, 30);
}

TEST(AddSubtractMinutes, HeldAtTheEndsOfTheStampRange) {
    ExpectStamp(AddMinutes(Stamp(65535, 12, 31, 23, 59), 1), 65535, 12, 31, 23, 59);
    ExpectStamp(SubtractMinutes(Stamp(0, 1, 1, 0, 0), 1), 0, 1, 1, 0, 0);
    ExpectStamp(AddMinutes(Stamp(65535, 65535, 65535, 65535, 65535, 65535), 2147483647), 65535, 12, 31, 23, 59);
    ExpectStamp(SubtractMinutes(Stamp(0, 0, 0, 0, 0), 65535), 0, 1, 1, 0, 0);
}

TEST(MinutesBetween, WholeMinutesAcrossBoundaries) {
    EXPECT_EQ(MinutesBetween(Stamp(2017, 3, 5, 9, 7, 59), Stamp(2017, 3, 5, 9, 7, 0)), 0);
    EXPECT_EQ(MinutesBetween(Stamp(2017, 3, 5, 9, 8, 0), Stamp(2017, 3, 5, 9, 7, 59)), 1);
    EXPECT_EQ(MinutesBetween(Stamp(2017, 3, 6, 0, 10), Stamp(2017, 3, 5, 23, 50)), 20);
    EXPECT_EQ(MinutesBetween(Stamp(2017, 1, 1, 0, 30), Stamp(2016, 12, 31, 23, 30)), 60);
    EXPECT_EQ(MinutesBetween(Stamp(2016, 3, 1, 12, 0), Stamp(2016, 2, 28, 12, 0)), 2 * 1440);
    EXPECT_EQ(MinutesBetween(Stamp(2017, 3, 1, 12, 0), Stamp(2017, 2, 28, 12, 0)), 1440);
    EXPECT_EQ(MinutesBetween(Stamp(2016, 2, 28, 12, 0), Stamp(2016, 3, 1, 12, 0)), -2 * 1440);
    EXPECT_EQ(MinutesBetween(Stamp(2001, 1, 1, 0, 0), Stamp(2000, 1, 1, 0, 0)), 366 * 1440);
    // Far apart stamps from a damaged file stay within Integer.
    EXPECT_EQ(MinutesBetween(Stamp(65535, 1, 1, 0, 0), Stamp(0, 1, 1, 0, 0)), 2147483647);
    EXPECT_EQ(MinutesBetween(Stamp(0, 1, 1, 0, 0), Stamp(65535, 1, 1, 0, 0)), -2147483647 - 1);
}

TEST(FormatDeviceTime, ModesAndStyles) {
    const TDeviceTime t = Stamp(2017, 3, 5, 9, 7);
    EXPECT_EQ(FormatDeviceTime(3, 2, t), "3/5/2017  9:07");
    EXPECT_EQ(FormatDeviceTime(3, 1, t), "3_5_2017  9-07");
    EXPECT_EQ(FormatDeviceTime(3, 0, t), "3_5_2017  9-07");
    EXPECT_EQ(FormatDeviceTime(5, 2, t), "3/5/2017 ");
    EXPECT_EQ(FormatDeviceTime(4, 2, Stamp(2017, 3, 5, 14, 5)), "14:05");
    EXPECT_EQ(FormatDeviceTime(4, 2, Stamp(2017, 3, 5, 9, 5)), " 9:05");
    EXPECT_EQ(FormatDeviceTime(4, 1, Stamp(2017, 3, 5, 0, 0)), " 0-00");
    EXPECT_EQ(FormatDeviceTime(3, 2, Stamp(2016, 12, 31, 23, 59)), "12/31/2016 23:59");
    EXPECT_EQ(FormatDeviceTime(0, 2, t), "");
    EXPECT_EQ(FormatDeviceTime(2, 2, t), "");
    EXPECT_EQ(FormatDeviceTime(6, 2, t), "");
    EXPECT_EQ(FormatDeviceTime(3, 2, Stamp(65535, 65535, 65535, 65535, 65535)), "65535/65535/65535 65535:65535");
}

TEST(RemoveSecondsField, KeepsWhatSurroundsTheSeconds) {
    EXPECT_EQ(RemoveSecondsField("09:07:00", "09:07:59"), "09:07");
    EXPECT_EQ(RemoveSecondsField("09:59:00", "09:59:59"), "09:59");
    EXPECT_EQ(RemoveSecondsField("02:05:00 PM", "02:05:59 PM"), "02:05 PM");
    EXPECT_EQ(RemoveSecondsField("PM 2:05:00", "PM 2:05:59"), "PM 2:05");
    EXPECT_EQ(RemoveSecondsField("9.07.0", "9.07.59"), "9.07");
    EXPECT_EQ(RemoveSecondsField("09h07m00s", "09h07m59s"), "09h07m");
    EXPECT_EQ(RemoveSecondsField("09\u664207\u520600\u79d2", "09\u664207\u520659\u79d2"), "09\u664207\u5206");
    EXPECT_EQ(RemoveSecondsField("09:07", "09:07"), "09:07");
    EXPECT_EQ(RemoveSecondsField("", ""), "");
}

// Sets LC_TIME for one test and puts the previous one back.
class TimeLocale : public ::testing::Test {
protected:
    void TearDown() override { std::setlocale(LC_TIME, Saved.c_str()); }
    bool Use(const char* name) { return std::setlocale(LC_TIME, name) != nullptr; }
    std::string Saved = std::setlocale(LC_TIME, nullptr);
};

TEST_F(TimeLocale, CLocaleTexts) {
    ASSERT_TRUE(Use("C"));
    const TDeviceTime t = Stamp(2017, 3, 5, 9, 7, 41);
    EXPECT_EQ(DateTimeText(t), "03/05/17 09:07");
    EXPECT_EQ(TimeText(t), "09:07");
    EXPECT_EQ(DateText(t), "03/05/17");
    EXPECT_EQ(DateTimeText(Stamp(2017, 3, 5, 0, 0)), "03/05/17 00:00");
    EXPECT_EQ(TimeText(Stamp(2017, 3, 5, 0, 0)), "00:00");
    EXPECT_EQ(DateTimeText(Stamp(2017, 3, 5, 23, 59)), "03/05/17 23:59");
    // Hour 24 from a download carries into the next day, which then starts at midnight.
    EXPECT_EQ(DateTimeText(Stamp(2017, 3, 5, 24, 0)), "03/06/17 00:00");
    EXPECT_EQ(DateText(Stamp(2017, 2, 29, 8, 0)), "03/01/17");
}

TEST_F(TimeLocale, TwelveHourLocaleKeepsMarker) {
    if (!Use("en_US.UTF-8"))
        GTEST_SKIP() << "locale en_US.UTF-8 not installed";
    EXPECT_EQ(TimeText(Stamp(2017, 3, 5, 14, 5)), "02:05 PM");
    const std::string text = DateTimeText(Stamp(2017, 3, 5, 14, 5));
    EXPECT_EQ(text.substr(text.size() - 9), " 02:05 PM") << text;
    const std::string midnight = DateTimeText(Stamp(2017, 3, 5, 0, 0));
    EXPECT_EQ(midnight.substr(midnight.size() - 6), " 00:00") << midnight;
}

} // namespace
} // namespace lumetra
