// Spill-over evaluation of the region-of-interest counts: Halvo types 4, 6, 10 and
// Dosika types 4 and 5. Expected values are worked step by step beside each case.

#include "EvaluationTestSupport.h"

namespace lumetra {
namespace {

using namespace testing_support;

constexpr Byte Halvo = FamilyHalvo;
constexpr Byte Dosika = FamilyDosika;

// ROI k spans channels ROILevel[k]+1 .. ROILevel[k+1]; the counts sit on the edges of
// their regions so that an off-by-one in the boundaries shows.
TInstrumentRecord SpectrumRecord(Integer roi1, Integer roi2, Integer roi3, Integer roi4) {
    auto raw = RawRecord(60);
    raw.Channels[1] = roi1 / 2;
    raw.Channels[10] = roi1 - roi1 / 2;
    raw.Channels[11] = roi2 / 2;
    raw.Channels[20] = roi2 - roi2 / 2;
    raw.Channels[21] = roi3 / 2;
    raw.Channels[30] = roi3 - roi3 / 2;
    raw.Channels[31] = roi4 / 2;
    raw.Channels[38] = roi4 - roi4 / 2;
    return raw;
}

TInstrumentHeader Spectrometric(Byte type, Byte software, std::initializer_list<Word> uniCon,
                                Integer serial = 500) {
    auto h = Header(Halvo, type, software, uniCon, serial);
    h.ROILevel = {{0, 10, 20, 30, 38}};
    return h;
}

// K1 = 3, K2 = 1, K3 = 0.5; t = 60 min.
constexpr double t = 60.0;
constexpr double K1 = 3.0;
constexpr double K2 = 1.0;
constexpr double K3 = 0.5;

TEST(HalvoSpectrometric, FixedCoefficientsBeforeSoftware3) {
    // u = 0.5625, v = 0.02, y = 0.05; UniCon5/6 are ignored, UniCon4 = 0 gives z = w = 0.
    const auto header = Spectrometric(4, 2, {3000, 1000, 500, 0, 0xFFFF, 12345});
    const auto r = Evaluate(header, SpectrumRecord(400, 300, 500, 100));
    EXPECT_EQ(r.CountSums[1], 400);
    EXPECT_EQ(r.CountSums[2], 300);
    EXPECT_EQ(r.CountSums[3], 500);
    EXPECT_EQ(r.CountSums[4], 100);
    EXPECT_EQ(r.SampleTime, 60.0);

    // g = 300. ROI 3: G = 500 - 100 x 0.05 = 495, D = B = 500 + 0.0025 x 300 = 500.75.
    // ROI 2: K = 300 - 100 x 0.02 = 298, I = 300 + 300 x 0.0004 = 300.12, J = 0.
    // ROI 1: M = 400 - 100 x 0.5625 = 343.75, Cf = 400 + 300 x 0.31640625 = 494.921875.
    // Radon: N = 495 + 343.75 = 838.75.
    EXPECT_TRUE(Near(r.Thoron, 298.0 * 1000.0 / t / K3));
    EXPECT_TRUE(Near(r.ThoronError, 100.0 * std::sqrt(300.12) / 298.0));
    EXPECT_TRUE(Near(r.RadonFast, 343.75 * 1000.0 / t / K2));
    EXPECT_TRUE(Near(r.RadonFastError, 100.0 * std::sqrt(494.921875) / 343.75));
    EXPECT_TRUE(Near(r.Radon, 838.75 * 1000.0 / t / K1));
    EXPECT_TRUE(Near(r.RadonError, 100.0 * std::sqrt(494.921875 + 500.75) / 838.75));
}

TEST(HalvoSpectrometric, CoefficientsFromCalibrationFromSoftware3) {
    // UniCon6 = 50000: u = 0.5. UniCon5 = 20 | 50: p = 2.0 %, q = 5.0 %.
    // UniCon4 = 10 | 5: a = 10 %, b = 5 %.
    const Word uniCon5 = (20 << 8) | 50;
    const Word uniCon4 = (10 << 8) | 5;
    for (Byte software : {Byte{3}, Byte{11}}) {
        const auto r = Evaluate(Spectrometric(6, software, {3000, 1000, 500, uniCon4, uniCon5, 50000}),
                                SpectrumRecord(400, 300, 500, 100));
        const double u = 0.5, v = 2.0 / 98.0, y = 5.0 / 95.0, z = 10.0 / 90.0, w = 5.0 / 95.0;
        const double g = 300.0;
        const double G = 500.0 - 100.0 * y;
        const double D = 500.0 + y * y * g;
        const double E = w * w * (D + 2.0 * G);
        const double B = D;
        const double K = 300.0 - w * G - 100.0 * v;
        const double I = E + 300.0 + g * v * v;
        const double J = z * z * (I + 2.0 * K);
        const double M = 400.0 - z * K - 100.0 * u;
        const double Cf = 400.0 + J + g * u * u;
        const double N = G + M;
        EXPECT_TRUE(Near(r.Thoron, K * 1000.0 / t / K3)) << int{software};
        EXPECT_TRUE(Near(r.ThoronError, 100.0 * std::sqrt(I) / K));
        EXPECT_TRUE(Near(r.RadonFast, M * 1000.0 / t / K2));
        EXPECT_TRUE(Near(r.RadonFastError, 100.0 * std::sqrt(Cf) / M));
        EXPECT_TRUE(Near(r.Radon, N * 1000.0 / t / K1));
        EXPECT_TRUE(Near(r.RadonError, 100.0 * std::sqrt(Cf + B) / N));
    }
}

TEST(HalvoSpectrometric, HumidityFactorAboveSoftware11) {
    // No ROI 4 counts and no spill-over: each value is its region's corrected count.
    for (Byte type : {Byte{4}, Byte{6}, Byte{10}}) {
        auto raw = SpectrumRecord(400, 300, 500, 0);
        raw.TemperatureRaw = 130; // 25 °C
        raw.HumidityRaw = 120;
        const double humidity = 0.648 * 120 - 4.0 - 0.00072 * 120 * 120;
        const double r0 = type == 4 ? 0.025 : 0.0085;
        const double f = (MagnusAbsoluteHumidity(25.0, humidity) - 10.0) * r0 + 1.0;
        for (Byte software : {Byte{11}, Byte{12}}) {
            const double k = software > 11 ? f : 1.0;
            const auto r = Evaluate(Spectrometric(type, software, {3000, 1000, 500, 0, 0, 56250}), raw);
            EXPECT_TRUE(Near(r.RadonFast, 400.0 * k * 1000.0 / t / K2)) << int{type} << "/" << int{software};
            EXPECT_TRUE(Near(r.RadonFastError, 100.0 / std::sqrt(400.0 * k)));
            EXPECT_TRUE(Near(r.Thoron, 300.0 * k * 1000.0 / t / K3));
            EXPECT_TRUE(Near(r.ThoronError, 100.0 / std::sqrt(300.0 * k)));
            EXPECT_TRUE(Near(r.Radon, 900.0 * k * 1000.0 / t / K1));
            EXPECT_TRUE(Near(r.RadonError, 100.0 / std::sqrt(900.0 * k)));
            EXPECT_EQ(r.CountSums[1], 400); // the sums stay uncorrected
        }
    }
}

TEST(HalvoSpectrometric, DetectionLimits) {
    // Only ROI 4 counts: every region falls below its limit. g = 300,
    // lim3 = 2 sqrt(0.0025 g), lim2 = 2 sqrt(0.0004 g), lim1 = 2 sqrt(0.31640625 g);
    // radon then falls back to the ROI 3 limit over K1 - K2.
    const auto r = Evaluate(Spectrometric(4, 2, {3000, 1000, 500}), SpectrumRecord(0, 0, 0, 100));
    EXPECT_TRUE(Near(r.Thoron, 2.0 * std::sqrt(0.12) * 1000.0 / t / K3));
    EXPECT_EQ(r.ThoronError, -1.0);
    EXPECT_TRUE(Near(r.RadonFast, 2.0 * std::sqrt(94.921875) * 1000.0 / t / K2));
    EXPECT_EQ(r.RadonFastError, -1.0);
    EXPECT_TRUE(Near(r.Radon, 2.0 * std::sqrt(0.75) * 1000.0 / t / (K1 - K2)));
    EXPECT_EQ(r.RadonError, -1.0);

    // ROI 3 significant but ROI 1 buried under ROI 4 (G = 30 - 15 = 15 below
    // lim1 = 2 sqrt(0.31640625 x 900) = 33.75): radon from ROI 3 alone.
    const auto fallback = Evaluate(Spectrometric(4, 2, {3000, 1000, 500}), SpectrumRecord(0, 0, 30, 300));
    EXPECT_TRUE(Near(fallback.Radon, 15.0 * 1000.0 / t / (K1 - K2)));
    EXPECT_TRUE(Near(fallback.RadonError, 100.0 * std::sqrt(30.0 + 0.0025 * 900.0) / 15.0));

    // No counts in ROI 1: RadonFast = 1000 / t / K2 as a limit.
    const auto empty = Evaluate(Spectrometric(10, 2, {3000, 1000, 500}), SpectrumRecord(0, 100, 200, 0));
    EXPECT_TRUE(Near(empty.RadonFast, 1000.0 / t / K2));
    EXPECT_EQ(empty.RadonFastError, -1.0);
    EXPECT_TRUE(Near(empty.Radon, 200.0 * 1000.0 / t / K1));
    EXPECT_TRUE(Near(empty.RadonError, 100.0 / std::sqrt(200.0)));
    EXPECT_TRUE(Near(empty.Thoron, 100.0 * 1000.0 / t / K3));
    EXPECT_TRUE(Near(empty.ThoronError, 10.0));
}

TEST(HalvoSpectrometric, SmallLimitsTakeTheRegionCountsAsTheyAre) {
    // p = q = 0.1 %: v = y = 0.1 / 99.9, so lim3 = lim2 = 2 y sqrt(300) = 0.035 are
    // below 0.1 and ROI 3 and ROI 2 are taken without subtracting ROI 4; u = 0.
    const auto small = Evaluate(Spectrometric(4, 3, {3000, 1000, 500, 0, (1 << 8) | 1, 0}),
                                SpectrumRecord(400, 300, 500, 100));
    EXPECT_TRUE(Near(small.Radon, 900.0 * 1000.0 / t / K1));
    EXPECT_TRUE(Near(small.RadonError, 100.0 * 30.0 / 900.0));
    EXPECT_TRUE(Near(small.RadonFast, 400.0 * 1000.0 / t / K2));
    EXPECT_TRUE(Near(small.Thoron, 300.0 * 1000.0 / t / K3));

    // a = 1 %: z = 1/99 and J = 3 x 100 x z² put lim1 = 2 sqrt(J) = 0.35 between 0.1
    // and 1; the threshold of ROI 1 is one count, so its counts are taken as they are.
    const auto fast =
        Evaluate(Spectrometric(4, 2, {3000, 1000, 500, 1 << 8}), SpectrumRecord(400, 100, 500, 0));
    EXPECT_TRUE(Near(fast.RadonFast, 400.0 * 1000.0 / t / K2));
    EXPECT_TRUE(Near(fast.RadonFastError, 5.0));
    EXPECT_TRUE(Near(fast.Radon, 900.0 * 1000.0 / t / K1));
    EXPECT_TRUE(Near(fast.Thoron, 100.0 * 1000.0 / t / K3));
}

TEST(HalvoSpectrometric, RecordFieldsAndPressureSensors) {
    auto raw = SpectrumRecord(10, 10, 10, 10);
    raw.Status = 0x100;
    raw.PressureRaw = 600;
    raw.SampleInterval = 30;
    const auto r = Evaluate(Spectrometric(4, 2, {3000, 1000, 500}, 262), raw);
    EXPECT_TRUE(r.Movement);
    EXPECT_EQ(r.NumberOfTilts, 0);
    EXPECT_EQ(r.SampleTime, 30.0); // tilts do not shorten it
    EXPECT_NEAR(r.Pressure, 0.4297 * 600 + 750, 1e-9);
    EXPECT_EQ(r.CO2, -1.0);
    EXPECT_NEAR(Evaluate(Spectrometric(4, 2, {}, 263), raw).Pressure, 0.3866 * 600 + 762.5, 1e-9);
    EXPECT_NEAR(Evaluate(Spectrometric(6, 2, {}, 16), raw).Pressure, 0.4297 * 600 + 750, 1e-9);
    EXPECT_NEAR(Evaluate(Spectrometric(6, 2, {}, 17), raw).Pressure, 0.3866 * 600 + 762.5, 1e-9);
    EXPECT_NEAR(Evaluate(Spectrometric(10, 2, {}, 5), raw).Pressure, 0.3866 * 600 + 762.5, 1e-9);
    raw.Status = 0;
    EXPECT_FALSE(Evaluate(Spectrometric(4, 2, {}), raw).Movement);
}

TEST(HalvoSpectrometric, RoiLevelsBeyondTheSpectrumAreHeld) {
    auto raw = RawRecord(60);
    for (std::size_t ch = 1; ch <= IntervalChannels; ++ch)
        raw.Channels[ch] = static_cast<Integer>(ch);
    auto header = Spectrometric(4, 2, {3000, 1000, 500});
    header.ROILevel = {{5, 3, 36, 255, 255}};
    const auto r = Evaluate(header, raw);
    EXPECT_EQ(r.CountSums[1], 0);                       // 6..3: empty
    EXPECT_EQ(r.CountSums[2], 36 * 37 / 2 - 3 * 4 / 2); // 4..36
    EXPECT_EQ(r.CountSums[3], 37 + 38);                 // 37..255, held at 38
    EXPECT_EQ(r.CountSums[4], 0);                       // 256..255
}

TEST(HalvoSpectrometric, UndefinedCalibrationLeavesDependentValuesOpen) {
    const auto raw = SpectrumRecord(400, 300, 500, 100);
    // b = 100 %: w undefined, so thoron, fast radon and radon all depend on it.
    const auto b = Evaluate(Spectrometric(4, 5, {3000, 1000, 500, 100, 0, 50000}), raw);
    ExpectNoConcentrations(b);
    // a = 100 %: z undefined; thoron does not use it.
    const auto a = Evaluate(Spectrometric(4, 5, {3000, 1000, 500, 100 << 8, 0, 50000}), raw);
    ExpectNoValue(a.Radon, a.RadonError);
    ExpectNoValue(a.RadonFast, a.RadonFastError);
    EXPECT_GT(a.ThoronError, 0.0);
    // K3 = 0: only thoron.
    const auto k3 = Evaluate(Spectrometric(4, 2, {3000, 1000, 0}), raw);
    ExpectNoValue(k3.Thoron, k3.ThoronError);
    EXPECT_GT(k3.RadonError, 0.0);
    EXPECT_GT(k3.RadonFastError, 0.0);
    // K1 = K2 matters only where radon falls back to ROI 3 alone.
    const auto equal = Evaluate(Spectrometric(4, 2, {1000, 1000, 500}), SpectrumRecord(0, 0, 30, 300));
    ExpectNoValue(equal.Radon, equal.RadonError);
    const auto equalOk = Evaluate(Spectrometric(4, 2, {1000, 1000, 500}), raw);
    EXPECT_TRUE(Near(equalOk.Radon, 838.75 * 1000.0 / t / 1.0));
}

// Dosika spectrometric: K1 = 20, K2 = 30, K3 = 25 (words / 10), b = 5/95, a = 10/90.
TInstrumentRecord DosikaRecord(Integer roi1, Integer roi2, Integer roi3, Integer roi4, Integer roi5) {
    auto raw = RawRecord(60);
    raw.ROICounts = {{roi1, roi2, roi3, roi4, roi5}};
    raw.ExtraCounts = 9;
    return raw;
}

TEST(DosikaSpectrometric, NetCountsWithSpillOver) {
    for (Byte type : {Byte{4}, Byte{5}}) {
        auto raw = DosikaRecord(77, 300, 200, 500, 100);
        raw.TemperatureRaw = 51;
        raw.HumidityRaw = 150;
        const auto r = Evaluate(Header(Dosika, type, 1, {200, 300, 5, 10, 250}), raw);
        EXPECT_EQ(r.CountSums[1], 77);
        EXPECT_EQ(r.CountSums[5], 100);
        EXPECT_EQ(r.CountSums[6], 9);
        EXPECT_EQ(r.SampleTime, 60.0);
        const double a = 10.0 / 90.0, b = 5.0 / 95.0;
        const double n = 300.0, W = 0.0025 * n, Y = 0.31640625 * n, Z = 0.0004 * n;
        const double E = 500.0 - 0.05 * 100.0;
        const double D = 500.0 + W;
        const double B = b * b * (D + 2.0 * E);
        const double I = 200.0 - b * E - 0.02 * 100.0;
        const double Gp = Z + 200.0 + B;
        const double Hh = a * a * (Gp + 2.0 * I);
        const double K = 300.0 - a * I - 0.5625 * 100.0;
        const double L = Y + 300.0 + Hh;
        const double M = E + K;
        EXPECT_TRUE(Near(r.Thoron, I * 1000.0 / 60.0 / 25.0)) << int{type};
        EXPECT_TRUE(Near(r.ThoronError, 100.0 * std::sqrt(Gp) / I));
        EXPECT_TRUE(Near(r.RadonFast, K * 1000.0 / 60.0 / 20.0));
        EXPECT_TRUE(Near(r.RadonFastError, 100.0 * std::sqrt(L) / K));
        EXPECT_TRUE(Near(r.Radon, M * 1000.0 / 60.0 / 30.0));
        EXPECT_TRUE(Near(r.RadonError, 100.0 * std::sqrt(L + D) / M));
        if (type == 5) {
            EXPECT_NEAR(r.Temperature, 0.470588235 * 51, 1e-9);
            EXPECT_NEAR(r.Humidity, 0.493358634 * 150 - 25.80645161, 1e-9);
        } else {
            EXPECT_EQ(r.Temperature, -1.0);
            EXPECT_EQ(r.Humidity, -1.0);
        }
        EXPECT_EQ(r.Pressure, -1.0);
    }
}

TEST(DosikaSpectrometric, DetectionLimits) {
    // Only ROI 5 counts (n = 300): X = 2 sqrt(0.75), thoron limit 2 sqrt(0.12), fast
    // limit J = 2 sqrt(94.921875); radon falls back to the ROI 4 limit over K2 - K1.
    const auto r = Evaluate(Header(Dosika, 4, 1, {200, 300, 5, 10, 250}), DosikaRecord(0, 0, 0, 0, 100));
    EXPECT_TRUE(Near(r.Thoron, 2.0 * std::sqrt(0.12) * 1000.0 / 60.0 / 25.0));
    EXPECT_EQ(r.ThoronError, -1.0);
    EXPECT_TRUE(Near(r.RadonFast, 2.0 * std::sqrt(94.921875) * 1000.0 / 60.0 / 20.0));
    EXPECT_EQ(r.RadonFastError, -1.0);
    EXPECT_TRUE(Near(r.Radon, 2.0 * std::sqrt(0.75) * 1000.0 / 60.0 / 10.0));
    EXPECT_EQ(r.RadonError, -1.0);

    // No counts at all: fast radon 0 as a limit (its own rule for an empty ROI 2).
    const auto empty = Evaluate(Header(Dosika, 4, 1, {200, 300, 5, 10, 250}), DosikaRecord(0, 0, 0, 0, 0));
    EXPECT_EQ(empty.RadonFast, 0.0);
    EXPECT_EQ(empty.RadonFastError, -1.0);
    EXPECT_EQ(empty.Thoron, 0.0);
    EXPECT_EQ(empty.ThoronError, 0.0);
}

TEST(DosikaSpectrometric, FastRadonThresholdIsOneCount) {
    // a = 1/99 and 100 thoron counts: J = 2 sqrt(3 x 100 x a²) = 0.35, below one, so
    // ROI 2 is taken as it is. ROI 4 is empty, and radon falls back to it: 0, error 0.
    const auto r = Evaluate(Header(Dosika, 4, 1, {200, 300, 5, 1, 250}), DosikaRecord(0, 400, 100, 0, 0));
    EXPECT_TRUE(Near(r.RadonFast, 400.0 * 1000.0 / 60.0 / 20.0));
    EXPECT_TRUE(Near(r.RadonFastError, 5.0));
    EXPECT_TRUE(Near(r.Thoron, 100.0 * 1000.0 / 60.0 / 25.0));
    EXPECT_EQ(r.Radon, 0.0);
    EXPECT_EQ(r.RadonError, 0.0);

    // One ROI 5 count: the thoron limit 2 sqrt(0.0004 x 3) = 0.069 is below 0.1, so ROI 3
    // is taken as it is; J = 2 sqrt(3 x 100 x a² + 0.31640625 x 3) is above one.
    const auto one = Evaluate(Header(Dosika, 4, 1, {200, 300, 5, 1, 250}), DosikaRecord(0, 400, 100, 0, 1));
    EXPECT_TRUE(Near(one.Thoron, 100.0 * 1000.0 / 60.0 / 25.0));
    EXPECT_TRUE(Near(one.ThoronError, 10.0));
    const double a = 1.0 / 99.0;
    const double K = 400.0 - a * 100.0 - 0.5625;
    const double L = 0.31640625 * 3 + 400.0 + 3 * 100.0 * a * a;
    EXPECT_TRUE(Near(one.RadonFast, K * 1000.0 / 60.0 / 20.0));
    EXPECT_TRUE(Near(one.RadonFastError, 100.0 * std::sqrt(L) / K));
}

TEST(DosikaSpectrometric, UndefinedCalibrationLeavesDependentValuesOpen) {
    const auto raw = DosikaRecord(0, 300, 200, 500, 100);
    const auto b = Evaluate(Header(Dosika, 4, 1, {200, 300, 100, 10, 250}), raw);
    ExpectNoConcentrations(b);
    const auto a = Evaluate(Header(Dosika, 4, 1, {200, 300, 5, 100, 250}), raw);
    ExpectNoValue(a.Radon, a.RadonError);
    ExpectNoValue(a.RadonFast, a.RadonFastError);
    EXPECT_GT(a.ThoronError, 0.0);
    const auto k1 = Evaluate(Header(Dosika, 5, 1, {0, 300, 5, 10, 250}), raw);
    ExpectNoValue(k1.RadonFast, k1.RadonFastError);
    EXPECT_GT(k1.RadonError, 0.0);
    const auto k3 = Evaluate(Header(Dosika, 5, 1, {200, 300, 5, 10, 0}), raw);
    ExpectNoValue(k3.Thoron, k3.ThoronError);
    // K1 = K2 only matters where radon falls back to ROI 4.
    const auto equal = Evaluate(Header(Dosika, 4, 1, {300, 300, 5, 10, 250}), DosikaRecord(0, 0, 0, 0, 100));
    ExpectNoValue(equal.Radon, equal.RadonError);
}

} // namespace
} // namespace lumetra
