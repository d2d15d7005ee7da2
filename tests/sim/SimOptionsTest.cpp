// The command-line forms of the Halvo recent readings, the Halvo battery code and the
// analog sensors' readings.

#include "dosika/DosikaSimOptions.h"
#include "halvo/HalvoSimOptions.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

TEST(SimOptions, HalvoRecentReadings) {
    sim::THalvoRecent all;
    all.Interval = 10;
    all.Year = 18;
    all.Month = 1;
    all.Day = 2;
    all.Hour = 9;
    all.Minute = 5;
    all.Radon = 85.5f;
    all.RadonError = 12;
    all.Radon2 = -2.0f;
    all.Radon2Error = 99;
    all.Temperature = 21.5f;
    all.Humidity = 0.5f;
    all.Pressure = 1024.0f;
    all.Tilts = -2;
    sim::THalvoRecent radonOnly;
    radonOnly.Radon = 1e3f;
    const struct {
        const char* Text;
        bool Valid;
        sim::THalvoRecent Expected;
    } cases[] = {
        {"interval=10,time=2018-01-02T09:05,radon=85.5,radon-error=12,radon2=-2,radon2-error=99,temperature=21.5,"
         "humidity=0.5,pressure=1024,tilts=-2",
         true, all},
        {"radon=1e3", true, radonOnly},
        {"", false, {}},
        {"radon", false, {}},
        {"radon=", false, {}},
        {"radon=1,", false, {}},
        {"thoron=1", false, {}},
        {"radon=1,5", false, {}},
        {"radon=abc", false, {}},
        {"radon-error=256", false, {}},
        {"tilts=2147483648", false, {}},
        {"interval=-1", false, {}},
        {"time=2018-13-01T00:00", false, {}},
        {"time=1999-01-01T00:00", false, {}},
        {"time=2018-01-01 00:00", false, {}},
    };
    for (const auto& c : cases) {
        sim::THalvoRecent recent;
        std::string error;
        EXPECT_EQ(sim::ParseHalvoRecent(c.Text, recent, error), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(recent, c.Expected) << c.Text;
        } else {
            EXPECT_FALSE(error.empty()) << c.Text;
        }
    }
}

TEST(SimOptions, HalvoBatteryCodeFitsTheTypesAnswer) {
    const struct {
        std::uint8_t Type;
        std::uint16_t Raw;
        bool Fits;
    } cases[] = {{1, 255, true}, {1, 256, false}, {3, 1000, false}, {4, 1000, true}, {6, 65535, true}, {10, 256, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(sim::HalvoBatteryFits(c.Type, c.Raw), c.Fits) << int(c.Type) << " " << c.Raw;
    }
}

TEST(SimOptions, AnalogSensorValues) {
    sim::TDkSimValues all;
    all.RadonValue = 120;
    all.RadonError = 8;
    all.ThoronValue = -1;
    all.ThoronError = 40;
    all.TemperatureCode = 255;
    all.HumidityCode = 0x60;
    all.AOut1Value = 1022;
    all.AOut2Value = 65535;
    all.Status = 2;
    const struct {
        const char* Text;
        bool Valid;
        sim::TDkSimValues Expected;
    } cases[] = {
        {"radon=120,radon-error=8,thoron=-1,thoron-error=40,temperature-code=255,humidity-code=0x60,aout1=1022,"
         "aout2=65535,status=2",
         true, all},
        {"radon=-2147483648", true, [] {
             sim::TDkSimValues v;
             v.RadonValue = INT32_MIN;
             return v;
         }()},
        {"temperature-code=256", false, {}},
        {"aout1=65536", false, {}},
        {"temperature=21", false, {}},
        {"radon=1.5", false, {}},
        {"radon==1", false, {}},
    };
    for (const auto& c : cases) {
        sim::TDkSimValues values;
        std::string error;
        EXPECT_EQ(sim::ParseDkValues(c.Text, values, error), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(values, c.Expected) << c.Text;
        } else {
            EXPECT_FALSE(error.empty()) << c.Text;
        }
    }
}

} // namespace
} // namespace lumetra::test
