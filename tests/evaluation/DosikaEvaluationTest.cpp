// Dosika family: the two-counter type 1 and the progeny types 2 and 6 with the
// thoron-progeny count carried from record to record.

#include "EvaluationTestSupport.h"

namespace lumetra {
namespace {

using namespace testing_support;

constexpr Byte Dosika = FamilyDosika;

TInstrumentRecord DosikaRecord(Byte interval, Integer roi1, Integer roi2, Integer roi3, Integer roi4,
                               Integer roi5) {
    auto raw = RawRecord(interval, 0, 3);
    raw.ROICounts = {{roi1, roi2, roi3, roi4, roi5}};
    raw.ExtraCounts = 5;
    return raw;
}

TEST(DosikaType1, TwoCounters) {
    // s² = 100 + 200 + 0.3164 x 40 = 312.656, A = 300 - 0.5625 x 40 = 277.5; radon adds ROI 4.
    const auto raw = DosikaRecord(120, 100, 200, 7, 300, 40);
    const auto r = Evaluate(Header(Dosika, 1, 1, {50, 60}), raw);
    EXPECT_EQ(r.SampleTime, 120.0);
    EXPECT_EQ(r.NumberOfTilts, 3);
    EXPECT_FALSE(r.Movement);
    EXPECT_EQ(r.CountSums[3], 7);
    EXPECT_EQ(r.CountSums[6], 5);
    EXPECT_TRUE(Near(r.RadonFast, 277.5 / 120.0 / (0.01 / 50.0))); // 11562.5
    EXPECT_TRUE(Near(r.RadonFastError, 100.0 * std::sqrt(312.656) / 277.5));
    EXPECT_TRUE(Near(r.Radon, 577.5 / 120.0 / (0.01 / 60.0))); // 28875
    EXPECT_TRUE(Near(r.RadonError, 100.0 * std::sqrt(300.0 + 312.656) / 577.5));
    ExpectNoValue(r.Thoron, r.ThoronError);
    ExpectNoValue(r.RadonPAEC, r.RadonPAECError);
    EXPECT_EQ(r.Temperature, -1.0);

    // A zero calibration word leaves only its own value open.
    const auto noFast = Evaluate(Header(Dosika, 1, 1, {0, 60}), raw);
    ExpectNoValue(noFast.RadonFast, noFast.RadonFastError);
    EXPECT_EQ(noFast.Radon, r.Radon);
    EXPECT_EQ(noFast.RadonError, r.RadonError);
    const auto noRadon = Evaluate(Header(Dosika, 1, 1, {50, 0}), raw);
    ExpectNoValue(noRadon.Radon, noRadon.RadonError);
    EXPECT_EQ(noRadon.RadonFast, r.RadonFast);

    // Below one sigma: value 0 with error 0.
    const auto low = Evaluate(Header(Dosika, 1, 1, {50, 60}), DosikaRecord(120, 1, 1, 0, 3, 100));
    EXPECT_EQ(low.RadonFast, 0.0);
    EXPECT_EQ(low.RadonFastError, 0.0);
    EXPECT_EQ(low.Radon, 0.0);
    EXPECT_EQ(low.RadonError, 0.0);
}

// Thoron progeny from the counts N of the interval: A N 1000 / t² / 0.64 / λ x 7.804 / 6240.
double ThoronProgenyOf(double A, double counts, double t) {
    return A * counts * 1000.0 / (t * t) / 0.64 / 0.001085757 * 7.804 / 6240.0;
}

TEST(DosikaProgeny, RadonAndThoronProgenyWithPreviousCount) {
    const auto uniCon = Words({3});
    for (Byte type : {Byte{2}, Byte{6}}) {
        TCountValues c{};
        c[2] = 500;
        c[4] = 200;
        c[5] = 100;
        Real previous = 0.0;
        TMeasurementRecord r;
        CalculateConcentrations(0, Dosika, type, r, {}, c, 0.0, uniCon, 60.0, 1, previous);

        // w = 500 - 56.25 = 443.75, d² = 500 + 31.64 = 531.64.
        EXPECT_TRUE(Near(r.RadonPAEC, 33.6)) << int{type}; // (426 + 246) x 3 / 60
        EXPECT_TRUE(
            Near(r.RadonPAECError, (3.0 * std::sqrt(0.9216 * 531.64 + 1.5129 * 200) / 60.0) * 100.0 / 33.6));
        EXPECT_TRUE(Near(r.RadonEEC, 33.6 / 5.56844));
        // No previous count: 100 counts, s = 10.
        EXPECT_TRUE(Near(r.ThoronPAEC, ThoronProgenyOf(3, 100, 60)));
        EXPECT_TRUE(Near(r.ThoronPAECError, 10.0));
        EXPECT_EQ(previous, 100.0);
        ExpectNoValue(r.Radon, r.RadonError);

        // The same count again: the decayed previous count leaves 100 (1 - e), less
        // than its spread s = sqrt(100 + 100 e²), so an upper limit with
        // Nq = sqrt(m²/4 - s²) - m/2 = s + 1/2 + sqrt(s + 1/4).
        const double e = std::exp(-0.001085757 * 60.0);
        CalculateConcentrations(0, Dosika, type, r, {}, c, 0.0, uniCon, 60.0, 1, previous);
        const double s = std::sqrt(100.0 + e * e * 100.0);
        EXPECT_TRUE(Near(r.ThoronPAEC, ThoronProgenyOf(3, s + 0.5 + std::sqrt(s + 0.25), 60)));
        EXPECT_EQ(r.ThoronPAECError, -1.0);
        EXPECT_TRUE(Near(r.RadonPAEC, 33.6)); // radon progeny has no memory

        // A rise to 400 counts is significant.
        c[5] = 400;
        CalculateConcentrations(0, Dosika, type, r, {}, c, 0.0, uniCon, 60.0, 1, previous);
        const double net = 400.0 - e * 100.0;
        EXPECT_TRUE(Near(r.ThoronPAEC, ThoronProgenyOf(3, net, 60)));
        EXPECT_TRUE(Near(r.ThoronPAECError, 100.0 * std::sqrt(400.0 + e * e * 100.0) / net));
        EXPECT_EQ(previous, 400.0);

        // No effective time: nothing evaluated, the previous count kept.
        CalculateConcentrations(0, Dosika, type, r, {}, c, 0.0, uniCon, 0.0, 1, previous);
        ExpectNoConcentrations(r);
        EXPECT_EQ(previous, 400.0);
    }
}

TEST(DosikaProgeny, InsignificantRadonProgenyIsALimitOfZero) {
    TCountValues c{};
    c[2] = 10;
    c[5] = 100; // w = 10 - 56.25 < 0
    Real previous = 0.0;
    TMeasurementRecord r;
    CalculateConcentrations(0, Dosika, 2, r, {}, c, 0.0, Words({3}), 60.0, 1, previous);
    EXPECT_EQ(r.RadonPAEC, 0.0);
    EXPECT_EQ(r.RadonPAECError, -1.0);
    EXPECT_EQ(r.RadonEEC, 0.0);
}

TEST(DosikaProgeny, UsUnitsOneMilliWorkingLevelIs20Point8NanojoulePerM3) {
    // 0.96 x 65 x 1 / 3 = 20.8 nJ/m³.
    const auto raw = DosikaRecord(3, 0, 65, 0, 0, 0);
    const auto header = Header(Dosika, 2, 1, {1});
    const auto si = Evaluate(header, raw, 0);
    const auto us = Evaluate(header, raw, 1);
    EXPECT_TRUE(Near(si.RadonPAEC, 20.8));
    EXPECT_TRUE(Near(us.RadonPAEC, 1.0));
    EXPECT_EQ(us.RadonPAECError, si.RadonPAECError);
    EXPECT_TRUE(Near(us.RadonEEC, 20.8 / 5.56844 * 0.027));
    // No thoron counts: limit with Nq = 1.
    EXPECT_TRUE(Near(si.ThoronPAEC, ThoronProgenyOf(1, 1, 3)));
    EXPECT_TRUE(Near(us.ThoronPAEC, ThoronProgenyOf(1, 1, 3) / 20.8));
    EXPECT_EQ(us.ThoronPAECError, -1.0);
    EXPECT_EQ(us.Radon, -1.0);
    EXPECT_NEAR(NanojoulePerM3ToMilliWorkingLevel(20.8), 1.0, 1e-12);
}

} // namespace
} // namespace lumetra
