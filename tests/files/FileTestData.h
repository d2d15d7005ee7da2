#pragma once
// Test-side file images: an own little-endian writer that places the fields at the
// offsets of the file tables, and data sets filled with distinct values. Nothing here
// uses the code under test.

#include "core/GlobalDefinitions.h"
#include "support/ByteImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

inline void PutHeader(TImage& im, std::size_t at, const TInstrumentHeader& h) {
    im.U8(at + 0, h.DeviceFamily);
    im.I32(at + 4, h.DeviceNumber);
    im.U8(at + 8, h.DeviceType);
    im.U8(at + 9, h.SoftwareVersion);
    im.U8(at + 10, h.Offset);
    im.U8(at + 11, h.BetaLowerLimit);
    im.U8(at + 12, h.BetaUpperLimit);
    for (std::size_t k = 0; k < 5; ++k) {
        im.U8(at + 13 + k, h.ROILevel.Items[k]);
        im.U8(at + 18 + 2 * k, h.ROILimits.Items[k].LowerLimit);
        im.U8(at + 19 + 2 * k, h.ROILimits.Items[k].UpperLimit);
    }
    for (std::size_t k = 0; k < 6; ++k) {
        im.U16(at + 28 + 2 * k, h.UniCon.Items[k]);
    }
}

inline void PutSetup(TImage& im, std::size_t at, const TInstrumentSetup& s) {
    im.U16(at + 0, s.UserID);
    im.U8(at + 2, s.CountryCode);
    im.U8(at + 3, s.RegionCode);
    im.U8(at + 4, s.EntryCode);
    im.U16(at + 6, s.SetupWord);
    im.U8(at + 8, s.SampleInterval);
    im.I32(at + 12, s.AlarmLevel);
}

inline void PutRecord(TImage& im, std::size_t at, const TInstrumentRecord& r) {
    im.U8(at + 0, r.SampleInterval);
    const Word time[6] = {r.Time.Second, r.Time.Minute, r.Time.Hour, r.Time.Day, r.Time.Month, r.Time.Year};
    for (std::size_t k = 0; k < 6; ++k) {
        im.U16(at + 2 + 2 * k, time[k]);
    }
    im.I32(at + 16, r.TemperatureRaw);
    im.I32(at + 20, r.HumidityRaw);
    im.I32(at + 24, r.PressureRaw);
    im.I32(at + 28, r.Counts);
    im.I32(at + 32, r.Status);
    for (std::size_t k = 0; k < 38; ++k) {
        im.I32(at + 36 + 4 * k, r.Channels.Items[k]);
    }
    im.I32(at + 188, r.ExtraCounts);
    for (std::size_t k = 0; k < 5; ++k) {
        im.I32(at + 192 + 4 * k, r.ROICounts.Items[k]);
    }
}

inline void PutSpectrum(TImage& im, std::size_t at, const TDosikaSpectrum& s) {
    im.I32(at, s.Size);
    for (std::size_t k = 0; k < 60; ++k) {
        im.I32(at + 4 + 4 * k, s.Channels.Items[k]);
    }
}

// The native file as its table lays it out; the comment must be plain ASCII here.
inline TImage NativeImage(const TInstrumentData& d) {
    TImage im(563 + 212 * std::size_t{d.NumberOfRecords});
    im.I32(0, 1);
    im.U8(4, d.Valid ? 1 : 0);
    im.U16(5, d.NumberOfRecords);
    im.Text(7, d.Comment);
    PutHeader(im, 263, d.Header);
    PutSetup(im, 303, d.Setup);
    PutSpectrum(im, 319, d.Spectrum);
    for (std::size_t i = 1; i <= d.NumberOfRecords; ++i) {
        PutRecord(im, 563 + 212 * (i - 1), d.Records[i]);
    }
    return im;
}

// Linear congruential values: every field differs, and high bytes are set so that a
// byte-order or sign fault shows.
class TValues {
public:
    explicit TValues(std::uint32_t seed) : State(seed) {}
    std::uint32_t Next() {
        State = State * 1664525u + 1013904223u;
        return State;
    }
    Byte B() { return static_cast<Byte>(Next() >> 24); }
    Word W() { return static_cast<Word>(Next() >> 16); }
    Integer I() { return static_cast<Integer>(Next()); }

private:
    std::uint32_t State;
};

// A Dosika-style set: every header, setup, record and spectrum field filled.
inline void FillDataSet(TInstrumentData& d, std::size_t count, std::uint32_t seed) {
    TValues v(seed);
    d.Valid = true;
    d.NumberOfRecords = static_cast<Word>(count);
    d.Comment = "Cellar, north wall";
    TInstrumentHeader& h = d.Header;
    h.DeviceFamily = FamilyDosika;
    h.DeviceNumber = v.I();
    h.DeviceType = v.B();
    h.SoftwareVersion = v.B();
    h.Offset = v.B();
    h.BetaLowerLimit = v.B();
    h.BetaUpperLimit = v.B();
    for (auto& x : h.ROILevel) {
        x = v.B();
    }
    for (auto& x : h.ROILimits) {
        x.LowerLimit = v.B();
        x.UpperLimit = v.B();
    }
    for (auto& x : h.UniCon) {
        x = v.W();
    }
    d.Setup = {v.W(), v.B(), v.B(), v.B(), v.W(), v.B(), v.I()};
    d.Spectrum.Size = 60;
    for (auto& x : d.Spectrum.Channels) {
        x = v.I();
    }
    for (std::size_t i = 1; i <= count; ++i) {
        TInstrumentRecord& r = d.Records[i];
        r.SampleInterval = v.B();
        r.Time = {v.W(), v.W(), v.W(), v.W(), v.W(), v.W()};
        r.TemperatureRaw = v.I();
        r.HumidityRaw = v.I();
        r.PressureRaw = v.I();
        r.Counts = v.I();
        r.Status = v.I();
        for (auto& x : r.Channels) {
            x = v.I();
        }
        r.ExtraCounts = v.I();
        for (auto& x : r.ROICounts) {
            x = v.I();
        }
    }
}

// Every field, with the first differing record named.
inline void ExpectSameDataSet(const TInstrumentData& expected, const TInstrumentData& actual) {
    EXPECT_EQ(expected.Valid, actual.Valid);
    ASSERT_EQ(expected.NumberOfRecords, actual.NumberOfRecords);
    EXPECT_EQ(expected.Comment, actual.Comment);
    EXPECT_TRUE(expected.Header == actual.Header);
    EXPECT_TRUE(expected.Setup == actual.Setup);
    EXPECT_TRUE(expected.Spectrum == actual.Spectrum);
    for (std::size_t i = 1; i <= expected.NumberOfRecords; ++i) {
        ASSERT_TRUE(expected.Records[i] == actual.Records[i]) << "record " << i;
    }
}

} // namespace lumetra::test
