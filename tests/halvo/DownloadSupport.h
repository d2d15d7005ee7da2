#pragma once
// What a download from the simulated instrument must yield, worked out from the
// simulator's own records and state by the field widths of the record formats:
// one byte for humidity (and for temperature and the status of the single-counter
// types), 16 bits for pressure, for the spectrum types' temperature and for the
// status of types 3, 5, 7, 8, 9 from software 8 on, 24 bits per channel, 32 bits else.

#include "core/GlobalDefinitions.h"
#include "halvo/HalvoSimulator.h"

#include <gtest/gtest.h>

namespace lumetra::test {

inline bool IsSpectrumType(Byte type) { return type == 4 || type == 6 || type == 10; }

inline TInstrumentRecord ExpectedRecord(Byte type, Byte software, const sim::THalvoSimRecord& r) {
    TInstrumentRecord e;
    e.Time = TDeviceTime{0, r.Minute, r.Hour, r.Day, r.Month, static_cast<Word>(r.Year)};
    e.SampleInterval = r.Interval;
    e.HumidityRaw = r.HumidityRaw & 0xFF;
    if (IsSpectrumType(type)) {
        e.Status = static_cast<Integer>(r.Status & 0xFF);
        e.TemperatureRaw = r.TemperatureRaw;
        e.PressureRaw = r.PressureRaw;
        for (std::size_t k = 1; k <= IntervalChannels; ++k) {
            e.Channels[k] = static_cast<Integer>(r.Channels[k - 1] & 0xFFFFFF);
        }
        return e;
    }
    e.TemperatureRaw = r.TemperatureRaw & 0xFF;
    e.Counts = static_cast<Integer>(r.Counts);
    if (type == 1 || type == 2) {
        e.Status = static_cast<Integer>(r.Status);
    } else if (software < 8) {
        e.Status = static_cast<Integer>(r.Status);
        e.PressureRaw = r.PressureRaw;
    } else {
        e.Status = static_cast<Integer>(r.Status & 0xFFFF);
        e.PressureRaw = r.PressureRaw;
    }
    return e;
}

// Field by field, so that a failure names the field.
inline void ExpectSameRecord(const TInstrumentRecord& got, const TInstrumentRecord& want, std::size_t index) {
    SCOPED_TRACE("record " + std::to_string(index));
    EXPECT_EQ(got.Time, want.Time);
    EXPECT_EQ(got.SampleInterval, want.SampleInterval);
    EXPECT_EQ(got.TemperatureRaw, want.TemperatureRaw);
    EXPECT_EQ(got.HumidityRaw, want.HumidityRaw);
    EXPECT_EQ(got.PressureRaw, want.PressureRaw);
    EXPECT_EQ(got.Counts, want.Counts);
    EXPECT_EQ(got.Status, want.Status);
    EXPECT_EQ(got.Channels, want.Channels);
    EXPECT_EQ(got.ExtraCounts, 0);
    EXPECT_EQ(got.ROICounts, (Array1<Integer, 5>{}));
}

// Header and setup as the instrument's identity and setup requests give them.
inline void ExpectHeaderAndSetup(const TInstrumentData& data, const sim::THalvoSimState& s) {
    const bool spectrum = IsSpectrumType(s.DeviceType);
    const TInstrumentHeader& h = data.Header;
    EXPECT_EQ(h.DeviceFamily, 2);
    EXPECT_EQ(h.DeviceNumber, s.DeviceNumber);
    EXPECT_EQ(h.DeviceType, s.DeviceType);
    EXPECT_EQ(h.SoftwareVersion, s.SoftwareVersion);
    EXPECT_EQ(h.Offset, spectrum ? s.Offset : 0);
    for (std::size_t k = 1; k <= 5; ++k) {
        EXPECT_EQ(h.ROILevel[k], spectrum ? s.ROILevel[k - 1] : 0) << "ROILevel " << k;
    }
    const bool extra = spectrum && s.SoftwareVersion >= 3;
    for (std::size_t k = 1; k <= 6; ++k) {
        EXPECT_EQ(h.UniCon[k], k <= 4 || extra ? s.UniCon[k - 1] : 0) << "UniCon " << k;
    }
    EXPECT_EQ(h.BetaLowerLimit, 0);
    EXPECT_EQ(h.BetaUpperLimit, 0);
    EXPECT_EQ(h.ROILimits, TROILimitArray{});

    const bool hasSetup = s.DeviceType == 3 || s.DeviceType == 5 || spectrum;
    EXPECT_EQ(data.Setup.SampleInterval, hasSetup ? s.SampleInterval : 0);
    EXPECT_EQ(data.Setup.SetupWord, hasSetup ? s.SetupWord : 0);
    EXPECT_EQ(data.Setup.AlarmLevel, hasSetup ? s.AlarmLevel : 0);
    EXPECT_EQ(data.Setup.UserID, 0);
    EXPECT_EQ(data.Setup.CountryCode, 0);
    EXPECT_EQ(data.Setup.RegionCode, 0);
    EXPECT_EQ(data.Setup.EntryCode, 0);
    EXPECT_EQ(data.Spectrum, TDosikaSpectrum{});
}

// The downloaded data set against the simulator's records, all of them accepted.
inline void ExpectDownloaded(const TInstrumentData& data, const sim::THalvoSimState& s,
                             const std::vector<sim::THalvoSimRecord>& records) {
    ASSERT_EQ(data.NumberOfRecords, records.size());
    EXPECT_EQ(data.Valid, !records.empty());
    EXPECT_TRUE(data.Comment.empty());
    ExpectHeaderAndSetup(data, s);
    for (std::size_t i = 1; i <= records.size(); ++i) {
        ExpectSameRecord(data.Records[i], ExpectedRecord(s.DeviceType, s.SoftwareVersion, records[i - 1]), i);
    }
    // Nothing behind the last record.
    for (std::size_t i = records.size() + 1; i <= std::min<std::size_t>(records.size() + 3, MaxRecords); ++i) {
        EXPECT_EQ(data.Records[i], TInstrumentRecord{}) << "record " << i;
    }
}

} // namespace lumetra::test
