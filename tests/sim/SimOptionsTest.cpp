// The command-line forms of the Halvo recent readings and battery code and of the
// analog sensors' readings.

#include "dosika/DosikaSimOptions.h"
#include "halvo/HalvoSimOptions.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

TEST(SimOptions, HalvoRecentReadingsAndBattery) {
    const sim::THalvoRecent all{10, 5, 9, 2, 1, 18, 85.5f, 12, -2.0f, 99, 21.5f, 0.5f, 1024.0f, -2};
    sim::THalvoRecent radonOnly;
    radonOnly.Radon = 1e3f;
    const struct {
        const char* Text;
        bool Valid;
        sim::THalvoRecent Expected;
    } cases[] = {
        {"interval=10,time=2018-01-02T09:05,radon=85.5,radon-error=12,radon2=-2,radon2-error=99,"
         "temperature=21.5,humidity=0.5,pressure=1024,tilts=-2",
         true, all},
        {"radon=1e3", true, radonOnly},
        {"", false, {}},           {"radon", false, {}},         {"radon=1,", false, {}},
        {"thoron=1", false, {}},   {"radon=abc", false, {}},     {"radon-error=256", false, {}},
        {"tilts=2147483648", false, {}}, {"time=2018-13-01T00:00", false, {}},
        {"time=1999-01-01T00:00", false, {}},
    };
    for (const auto& c : cases) {
        sim::THalvoRecent recent;
        std::string error;
        EXPECT_EQ(sim::ParseHalvoRecent(c.Text, recent, error), c.Valid) << c.Text;
        EXPECT_EQ(error.empty(), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(recent, c.Expected) << c.Text;
        }
    }
    // One byte from the types without a spectrum, 16 bits from 4, 6 and 10.
    EXPECT_TRUE(sim::HalvoBatteryFits(1, 255));
    EXPECT_FALSE(sim::HalvoBatteryFits(3, 256));
    EXPECT_TRUE(sim::HalvoBatteryFits(10, 256));
}

TEST(SimOptions, AnalogSensorValues) {
    const sim::TDkSimValues all{120, 8, -1, 40, 255, 0x60, 1022, 65535, 2};
    sim::TDkSimValues values;
    std::string error;
    ASSERT_TRUE(sim::ParseDkValues("radon=120,radon-error=8,thoron=-1,thoron-error=40,temperature-code=255,"
                                   "humidity-code=0x60,aout1=1022,aout2=65535,status=2",
                                   values, error))
        << error;
    EXPECT_EQ(values, all);
    for (const char* bad : {"temperature-code=256", "aout1=65536", "temperature=21", "radon=1.5", "radon==1"}) {
        EXPECT_FALSE(sim::ParseDkValues(bad, values, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

} // namespace
} // namespace lumetra::test
