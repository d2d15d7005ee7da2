// Halvo types with one counter: climate codes, tilt counters, humidity factor,
// sensitivities; and the US conversions of a record.

#include "EvaluationTestSupport.h"

#include <climits>

namespace lumetra {
namespace {

using namespace testing_support;

constexpr Byte Halvo = FamilyHalvo;

// Halvo climate codes: T = 0.5 raw - 40, rH = 0.648 raw - 4 - 0.00072 raw².
double HalvoHumidity(double raw) {
    return 0.648 * raw - 4.0 - 0.00072 * raw * raw;
}

TEST(AbsoluteHumidity, MagnusForm) {
    // Worked by hand: 6.11213 exp(17.5043 * 20 / 261.2) = 23.349 hPa at 20 °C;
    // 50 % of it over (293.15 K x 461.52 J/(kg K)) is 8.629 g/m³.
    EXPECT_NEAR(AbsoluteHumidity(20.0, 50.0), 8.6291, 1e-4);
    EXPECT_NEAR(AbsoluteHumidity(0.0, 100.0), 100.0 * 1000.0 * 6.11213 / (273.15 * 461.52), 1e-9);
    EXPECT_EQ(AbsoluteHumidity(25.0, 0.0), 0.0);
}

TEST(HalvoType1, SensitivityFollowsAbsoluteHumidity) {
    // K2 = 0.5, K3 = 2, K4 = 1.5; 15 tilts of 4 s take one minute off the hour.
    const auto header = Header(Halvo, 1, 5, {9999, 500, 2000, 1500, 7, 7});
    auto raw = RawRecord(60, 300, 0x01000000 | 15);
    raw.TemperatureRaw = 120; // 20 °C
    raw.HumidityRaw = 100;    // 53.6 %
    const auto r = Evaluate(header, raw);

    EXPECT_EQ(r.Time, raw.Time);
    EXPECT_NEAR(r.Temperature, 20.0, 1e-12);
    EXPECT_NEAR(r.Humidity, 53.6, 1e-12);
    EXPECT_EQ(r.Pressure, -1.0);
    EXPECT_EQ(r.CO2, -1.0);
    EXPECT_EQ(r.NumberOfTilts, 15);
    EXPECT_TRUE(r.Movement); // fourth byte of the status set
    EXPECT_NEAR(r.SampleTime, 59.0, 1e-12);
    EXPECT_EQ(r.CountSums[1], 300);

    const double ah = MagnusAbsoluteHumidity(20.0, 53.6);
    EXPECT_TRUE(Near(r.Radon, 300.0 * 1000.0 / 59.0 / (1.5 + 0.5 * std::exp(-ah / 2.0))));
    EXPECT_NEAR(r.RadonError, 100.0 / std::sqrt(300.0), 1e-9);
    EXPECT_EQ(r.RadonFast, -1.0);
    EXPECT_EQ(r.Thoron, -1.0);
    EXPECT_EQ(r.RadonPAEC, -1.0);

    // Negative counts of a damaged record are sign-extended.
    EXPECT_EQ(Evaluate(header, RawRecord(60, -2)).CountSums[1], -2);
    // No counts: value 0 with error 0.
    const auto none = Evaluate(header, RawRecord(60, 0));
    EXPECT_EQ(none.Radon, 0.0);
    EXPECT_EQ(none.RadonError, 0.0);
}

TEST(HalvoType2, HumidityFactorFromSoftware8) {
    auto raw = RawRecord(30, 500);
    raw.TemperatureRaw = 130; // 25 °C
    raw.HumidityRaw = 120;
    const double f = (MagnusAbsoluteHumidity(25.0, HalvoHumidity(120)) - 10.0) * 0.0085 + 1.0;

    const auto v7 = Evaluate(Header(Halvo, 2, 7, {2000}), raw);
    EXPECT_TRUE(Near(v7.Radon, 500.0 * 1000.0 / 30.0 / 2.0));
    EXPECT_NEAR(v7.RadonError, 100.0 / std::sqrt(500.0), 1e-9);
    EXPECT_EQ(v7.CountSums[1], 500);

    const auto v8 = Evaluate(Header(Halvo, 2, 8, {2000}), raw);
    EXPECT_TRUE(Near(v8.Radon, 500.0 * f * 1000.0 / 30.0 / 2.0));
    EXPECT_NEAR(v8.RadonError, 100.0 / std::sqrt(500.0 * f), 1e-9);
    EXPECT_EQ(v8.CountSums[1], 500); // the raw sum, not the corrected count
    EXPECT_GT(f, 1.0);
}

TEST(HalvoType3, PressureBySerialAndTiltVariantBySoftware) {
    auto raw = RawRecord(60, 200, 0x01000000 | 30);
    raw.PressureRaw = 400;
    raw.TemperatureRaw = 130;
    raw.HumidityRaw = 120;

    EXPECT_NEAR(Evaluate(Header(Halvo, 3, 7, {1000}, 1309), raw).Pressure, 0.542 * 400 + 750, 1e-9);
    EXPECT_NEAR(Evaluate(Header(Halvo, 3, 7, {1000}, 1310), raw).Pressure, 0.4392 * 400 + 762.5, 1e-9);

    // Software 7: 24-bit tilt counter, moved when the fourth byte is set.
    const auto a = Evaluate(Header(Halvo, 3, 7, {1000}), raw);
    EXPECT_EQ(a.NumberOfTilts, 30);
    EXPECT_TRUE(a.Movement);
    EXPECT_NEAR(a.SampleTime, 58.0, 1e-12);
    EXPECT_TRUE(Near(a.Radon, 200.0 * 1000.0 / 58.0));
    // Software 8: 15-bit counter, moved by bit 7 of the second byte only.
    const auto b = Evaluate(Header(Halvo, 3, 8, {1000}), raw);
    EXPECT_EQ(b.NumberOfTilts, 30);
    EXPECT_FALSE(b.Movement);
    EXPECT_TRUE(Near(b.Radon, 200.0 * 1000.0 / 58.0)); // no humidity factor yet

    raw.Status = 0x8000 | 30;
    const auto b2 = Evaluate(Header(Halvo, 3, 8, {1000}), raw);
    EXPECT_EQ(b2.NumberOfTilts, 30);
    EXPECT_TRUE(b2.Movement);
    // Variant A reads the same status as 32798 tilts, far beyond the interval: no
    // measuring time and no values, never a negative time.
    const auto a2 = Evaluate(Header(Halvo, 3, 7, {1000}), raw);
    EXPECT_EQ(a2.NumberOfTilts, 0x8000 + 30);
    EXPECT_EQ(a2.SampleTime, 0.0);
    ExpectNoConcentrations(a2);

    // Software 9: humidity factor as well.
    const double f = (MagnusAbsoluteHumidity(25.0, HalvoHumidity(120)) - 10.0) * 0.0085 + 1.0;
    const auto v9 = Evaluate(Header(Halvo, 3, 9, {1000}), raw);
    EXPECT_NEAR(v9.SampleTime, 58.0, 1e-12);
    EXPECT_TRUE(Near(v9.Radon, 200.0 * f * 1000.0 / 58.0));
    EXPECT_NEAR(v9.RadonError, 100.0 / std::sqrt(200.0 * f), 1e-9);
}

TEST(HalvoType5, ChamberFromSetupWordAndMovementFromTopBit) {
    const auto header = Header(Halvo, 5, 3, {1000, 2000, 4000, 5000}, 1400);
    auto raw = RawRecord(60, 120, INT_MIN | 20); // top bit set, tilt bits ignored
    raw.PressureRaw = 300;
    const double sensitivity[4] = {1.0, 2.0, 4.0, 5.0};
    for (Word chamber = 0; chamber < 4; ++chamber) {
        TInstrumentSetup setup;
        setup.SetupWord = static_cast<Word>(0xFF9F | (chamber << 5)); // every other bit set
        const auto r = Evaluate(header, raw, 0, setup);
        EXPECT_TRUE(Near(r.Radon, 120.0 * 1000.0 / 60.0 / sensitivity[chamber])) << "chamber " << chamber;
        EXPECT_NEAR(r.RadonError, 100.0 / std::sqrt(120.0), 1e-9);
        EXPECT_EQ(r.SampleTime, 60.0);
        EXPECT_EQ(r.NumberOfTilts, 0);
        EXPECT_TRUE(r.Movement);
        EXPECT_NEAR(r.Pressure, 0.4392 * 300 + 762.5, 1e-9);
    }
    raw.Status = 0x7F000014; // fourth byte set, but not its bit 7
    EXPECT_FALSE(Evaluate(header, raw).Movement);
    EXPECT_NEAR(Evaluate(Header(Halvo, 5, 3, {1000}, 1309), raw).Pressure, 0.542 * 300 + 750, 1e-9);
}

TEST(HalvoTypes7To9, ClimateSensorsAndCo2) {
    auto raw = RawRecord(60, 900, 0x8000 | 6); // variant B: 6 tilts, moved
    raw.TemperatureRaw = 100;
    raw.HumidityRaw = 150;
    raw.PressureRaw = 500;
    for (Byte type : {Byte{7}, Byte{8}, Byte{9}}) {
        const auto r = Evaluate(Header(Halvo, type, 1, {3000}), raw);
        EXPECT_NEAR(r.Temperature, 0.6864 * 100 - 46.85, 1e-9) << int{type};
        EXPECT_NEAR(r.Humidity, 0.4883 * 150 - 6, 1e-9);
        EXPECT_EQ(r.NumberOfTilts, 6);
        EXPECT_TRUE(r.Movement);
        EXPECT_NEAR(r.SampleTime, 59.6, 1e-12);
        EXPECT_TRUE(Near(r.Radon, 900.0 * 1000.0 / 59.6 / 3.0));
        EXPECT_NEAR(r.RadonError, 100.0 / 30.0, 1e-9);
        if (type == 8) {
            EXPECT_NEAR(r.Pressure, 0.4392 * 500 + 762.5, 1e-9);
        } else {
            EXPECT_EQ(r.Pressure, -1.0);
        }
        EXPECT_EQ(r.CO2, type == 9 ? (500 - 2) * 5.0 : -1.0);
    }
}

TEST(HalvoEvaluation, ZeroCalibrationOrTimeGivesNoValue) {
    // Effective time 0: ten minutes filled with 150 tilts.
    const auto filled = Evaluate(Header(Halvo, 2, 5, {1000}), RawRecord(10, 50, 150));
    EXPECT_EQ(filled.SampleTime, 0.0);
    ExpectNoConcentrations(filled);

    const auto k1 = Evaluate(Header(Halvo, 2, 5, {0}), RawRecord(10, 50));
    ExpectNoValue(k1.Radon, k1.RadonError);
    // Type 1: K3 = 0, or K4 = 0 with K2 = 0.
    const auto k3 = Evaluate(Header(Halvo, 1, 5, {1000, 500, 0, 1500}), RawRecord(10, 50));
    ExpectNoValue(k3.Radon, k3.RadonError);
    const auto k24 = Evaluate(Header(Halvo, 1, 5, {1000, 0, 2000, 0}), RawRecord(10, 50));
    ExpectNoValue(k24.Radon, k24.RadonError);
    // Type 5 with its chamber's word 0.
    TInstrumentSetup setup;
    setup.SetupWord = 2 << 5;
    const auto chamber = Evaluate(Header(Halvo, 5, 5, {1000, 1000, 0, 1000}), RawRecord(10, 50), 0, setup);
    ExpectNoValue(chamber.Radon, chamber.RadonError);
}

TEST(HalvoEvaluation, UnknownTypeLeavesEverythingAtNoValue) {
    auto raw = RawRecord(60, 500);
    raw.TemperatureRaw = 120;
    const auto r = Evaluate(Header(Halvo, 11, 5, {1000, 1000, 1000, 1000}), raw);
    ExpectNoConcentrations(r);
    EXPECT_EQ(r.CountSums[1], 0);
    EXPECT_NEAR(r.Temperature, 20.0, 1e-12); // the family's climate codes are still read
}

TEST(UsUnits, RecordValuesConverted) {
    // 6 counts in 60 minutes at K1 = 1: 100 Bq/m³.
    auto raw = RawRecord(60, 6);
    raw.TemperatureRaw = 120; // 20 °C
    raw.PressureRaw = 400;    // 966.8 mbar on serial 1309
    const auto si = Evaluate(Header(Halvo, 3, 7, {1000}, 1309), raw, 0);
    const auto us = Evaluate(Header(Halvo, 3, 7, {1000}, 1309), raw, 1);
    EXPECT_TRUE(Near(si.Radon, 100.0));
    EXPECT_TRUE(Near(us.Radon, 2.7));
    EXPECT_EQ(us.RadonError, si.RadonError); // relative errors unchanged
    EXPECT_NEAR(us.Temperature, 67.2, 1e-9);
    EXPECT_NEAR(us.Pressure, 966.8 * 0.02953, 1e-9);
    EXPECT_EQ(us.Humidity, si.Humidity);
    EXPECT_EQ(us.RadonFast, -1.0); // no value stays no value
    EXPECT_EQ(us.Thoron, -1.0);

    // A type without pressure keeps -1 in US units.
    EXPECT_EQ(Evaluate(Header(Halvo, 2, 7, {1000}), raw, 1).Pressure, -1.0);
}

} // namespace
} // namespace lumetra
