// Generated records and the command-line fault syntax.

#include "halvo/HalvoSimFaults.h"
#include "halvo/HalvoSimSeries.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumetra::test {
namespace {

using namespace lumetra::sim;

TEST(HalvoSeriesTest, TimeStampsAdvanceByTheIntervalOverALeapDay) {
    THalvoSimState state;
    THalvoSeries series;
    series.Count = 27;
    series.StartYear = 2016;
    series.StartMonth = 2;
    series.StartDay = 28;
    series.StartHour = 23;
    series.Interval = 60;
    const auto records = GenerateHalvoRecords(state, series);
    ASSERT_EQ(records.size(), 27u);
    EXPECT_EQ(records[1].Day, 29);
    EXPECT_EQ(records[1].Hour, 0);
    EXPECT_EQ(records[25].Month, 3);
    EXPECT_EQ(records[25].Day, 1);
    EXPECT_EQ(records[25].Hour, 0);
    EXPECT_EQ(records[26].Interval, 60);
}

TEST(HalvoSeriesTest, CountsArePoissonAroundTheCalibratedMeanAndSeeded) {
    THalvoSimState state;
    state.DeviceType = 2;
    state.SoftwareVersion = 7; // no humidity factor
    state.UniCon[0] = 3000;    // 3 counts per minute per kBq/m³
    THalvoSeries series;
    series.Count = 480; // 20 whole days: the daily cycle averages out
    series.RadonMean = 100.0;
    const auto records = GenerateHalvoRecords(state, series);
    double total = 0;
    for (const auto& r : records) {
        total += r.Counts;
    }
    const double expected = 480 * 100.0 * 60 * 3.0 / 1000.0; // 8640
    EXPECT_LT(std::abs(total - expected), 5 * std::sqrt(expected));
    EXPECT_EQ(GenerateHalvoRecords(state, series), records);
    series.Seed = 2;
    EXPECT_NE(GenerateHalvoRecords(state, series), records);
}

TEST(HalvoSeriesTest, RawClimateCodesDecodeToTheSeriesRange) {
    // Mean 21 ± 2 °C, 45 ± 8 %, 1013 ± 4 mbar, 600 ± 150 ppm; codes round, so allow
    // half a code step on top.
    struct TCase {
        std::uint8_t Type;
        std::uint16_t Serial;
    };
    for (const TCase c : {TCase{1, 100}, TCase{3, 1310}, TCase{3, 1309}, TCase{7, 1}, TCase{9, 1}, TCase{4, 300}}) {
        SCOPED_TRACE(int(c.Type));
        THalvoSimState state;
        state.DeviceType = c.Type;
        state.DeviceNumber = c.Serial;
        THalvoSeries series;
        series.Count = 24;
        for (const auto& r : GenerateHalvoRecords(state, series)) {
            const double tr = r.TemperatureRaw, hr = r.HumidityRaw, pr = r.PressureRaw;
            const bool sht = c.Type == 7 || c.Type == 9;
            const double t = sht ? 0.6864 * tr - 46.85 : 0.5 * tr - 40;
            const double h = sht ? 0.4883 * hr - 6 : 0.648 * hr - 4 - 0.00072 * hr * hr;
            EXPECT_NEAR(t, 21.0, 2.0 + 0.35);
            EXPECT_NEAR(h, 45.0, 8.0 + 0.5);
            if (c.Type == 3) {
                const double p = c.Serial > 1309 ? 0.4392 * pr + 762.5 : 0.542 * pr + 750;
                EXPECT_NEAR(p, 1013.0, 4.0 + 0.3);
            } else if (c.Type == 4) {
                EXPECT_NEAR(0.3866 * pr + 762.5, 1013.0, 4.0 + 0.2);
            } else if (c.Type == 9) {
                EXPECT_NEAR((pr - 2) * 5, 600.0, 150.0 + 2.5);
            } else {
                EXPECT_EQ(pr, 0);
            }
        }
    }
}

TEST(HalvoSeriesTest, FaultOptionSyntax) {
    THalvoFaultOption option;
    std::string error;
    ASSERT_TRUE(ParseHalvoFault("silent:rec:3:2", option, error));
    EXPECT_TRUE(option.IsFault);
    EXPECT_EQ(option.Fault.Kind, THalvoFaultKind::Silent);
    EXPECT_EQ(option.Fault.Selector, THalvoSelector::Record);
    EXPECT_EQ(option.Fault.Value, 3u);
    EXPECT_EQ(option.Fault.Count, 2u);

    ASSERT_TRUE(ParseHalvoFault("garble:cmd:12", option, error));
    EXPECT_EQ(option.Fault.Selector, THalvoSelector::Command);
    EXPECT_EQ(option.Fault.Value, 12u);
    EXPECT_EQ(option.Fault.Count, 1u);

    ASSERT_TRUE(ParseHalvoFault("short:4", option, error));
    EXPECT_EQ(option.Fault.Selector, THalvoSelector::FromRequest);
    EXPECT_EQ(option.Fault.Value, 4u);

    ASSERT_TRUE(ParseHalvoFault("echo", option, error));
    EXPECT_EQ(option.Fault.Selector, THalvoSelector::Any);
    EXPECT_EQ(option.Fault.Count, 0u); // every request

    ASSERT_TRUE(ParseHalvoFault("too-new", option, error));
    EXPECT_TRUE(option.TooNew);
    EXPECT_FALSE(option.IsFault);
    ASSERT_TRUE(ParseHalvoFault("badtime:5", option, error));
    EXPECT_EQ(option.BadTimeRecord, 5u);

    for (const char* bad : {"", "loud", "silent:", "silent:0", "silent:rec", "silent:rec:0", "silent:x", "echo:1:2:3",
                            "mute:1", "badtime", "badtime:0", "garble:cmd:-1"}) {
        EXPECT_FALSE(ParseHalvoFault(bad, option, error)) << bad;
    }
}

} // namespace
} // namespace lumetra::test
