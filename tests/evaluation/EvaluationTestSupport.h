#pragma once
// Builders for raw records and an independent statement of the formulas the expected
// values of the evaluation tests are worked out with.

#include "core/GlobalDefinitions.h"
#include "evaluation/RecordEvaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace lumetra::testing_support {

// Magnus form of the absolute humidity in g/m³ (T in °C, H in %).
inline double MagnusAbsoluteHumidity(double t, double h) {
    const double saturation = 6.11213 * std::exp(17.5043 * t / (t + 241.2)); // hPa
    return h * 1000.0 * saturation / ((t + 273.15) * 461.52);
}

// The intermediates are single precision, so results agree to about 1e-6.
inline ::testing::AssertionResult Near(double actual, double expected, double relative = 2e-6) {
    const double tolerance = relative * std::max(1.0, std::abs(expected));
    if (std::abs(actual - expected) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " differs from " << expected << " by more than " << tolerance;
}

inline Array1<Word, 6> Words(std::initializer_list<Word> values) {
    Array1<Word, 6> words{};
    std::size_t i = 1;
    for (Word v : values)
        words[i++] = v;
    return words;
}

inline TInstrumentHeader Header(Byte family, Byte type, Byte software, std::initializer_list<Word> uniCon,
                                Integer deviceNumber = 1000) {
    TInstrumentHeader h;
    h.DeviceFamily = family;
    h.DeviceType = type;
    h.SoftwareVersion = software;
    h.DeviceNumber = deviceNumber;
    h.UniCon = Words(uniCon);
    return h;
}

inline TInstrumentRecord RawRecord(Byte interval, Integer counts = 0, Integer status = 0) {
    TInstrumentRecord r;
    r.SampleInterval = interval;
    r.Counts = counts;
    r.Status = status;
    r.Time = MakeDeviceTime(2024, 3, 1, 12, 0);
    return r;
}

inline TMeasurementRecord Evaluate(const TInstrumentHeader& header, const TInstrumentRecord& raw,
                                   Byte units = 0, TInstrumentSetup setup = {}) {
    TMeasurementRecord record;
    Real previous = 0.0;
    EvaluateRecord(units, header, setup, record, raw, previous);
    return record;
}

inline void ExpectNoValue(Real value, Real error) {
    EXPECT_EQ(value, -1.0);
    EXPECT_EQ(error, -1.0);
}

inline void ExpectNoConcentrations(const TMeasurementRecord& r) {
    ExpectNoValue(r.Radon, r.RadonError);
    ExpectNoValue(r.RadonFast, r.RadonFastError);
    ExpectNoValue(r.Thoron, r.ThoronError);
    ExpectNoValue(r.RadonPAEC, r.RadonPAECError);
    ExpectNoValue(r.ThoronPAEC, r.ThoronPAECError);
    EXPECT_EQ(r.RadonEEC, -1.0);
}

} // namespace lumetra::testing_support
