#pragma once
// Data files built byte by byte from the published layouts, independent of the readers
// and writers under test: a sample data set and its image in each of the four formats.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::test {

struct TSampleStamp {
    int Year = 2000, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
};

// The stamp `minutes` later, by the C library's calendar arithmetic.
TSampleStamp StampAfter(TSampleStamp start, int minutes);

struct TSampleRecord {
    std::uint8_t SampleInterval = 0;
    TSampleStamp Time;
    std::int32_t Temperature = 0, Humidity = 0, Pressure = 0, Counts = 0, Status = 0;
    std::array<std::int32_t, 38> Channels{};
    std::int32_t ExtraCounts = 0;
    std::array<std::int32_t, 5> ROICounts{};
};

struct TSampleDataSet {
    std::uint8_t Family = 0, Type = 0, Software = 0, Offset = 0, BetaLower = 0, BetaUpper = 0;
    std::int32_t Serial = 0;
    std::array<std::uint8_t, 5> ROILevels{};
    std::array<std::uint8_t, 10> ROILimits{}; // lower, upper of ROI 1, then ROI 2 ...
    std::array<std::uint16_t, 6> Calibration{};
    std::uint16_t UserID = 0;
    std::uint8_t Country = 0, Region = 0, Entry = 0;
    std::uint16_t SetupWord = 0;
    std::uint8_t SampleInterval = 0;
    std::int32_t AlarmLevel = 0;
    std::string Comment; // Windows-1252 bytes
    std::int32_t SpectrumSize = 0;
    std::array<std::int32_t, 60> Spectrum{};
    std::vector<TSampleRecord> Records;
};

// `count` records `step` minutes apart from `first`, each with its own values (bytes
// where the older formats keep bytes) so that a record read from the wrong place shows.
std::vector<TSampleRecord> SampleRecords(int count, TSampleStamp first, int step, std::uint8_t interval,
                                         bool withChannels);

std::vector<std::uint8_t> NativeFileBytes(const TSampleDataSet& set);
std::vector<std::uint8_t> Lm3FileBytes(const TSampleDataSet& set);
std::vector<std::uint8_t> LmbFileBytes(const TSampleDataSet& set);
std::vector<std::uint8_t> HvbFileBytes(const TSampleDataSet& set);

// What a data set becomes when it passes through a format that keeps only part of it:
// the fields the format lacks are zero, the family is Halvo, seconds are 0.
TSampleDataSet AsKeptByLmb(TSampleDataSet set);
TSampleDataSet AsKeptByHvb(TSampleDataSet set);

// The samples the command tests share; each fills every field its format keeps with a
// value of its own, beyond the range of a signed byte or word where the field allows.
TSampleDataSet HalvoPmtSample();   // native: every field, 3 records
TSampleDataSet DosikaProSample();  // .lm3: Dosika fields and spectrum, 2048 records (full)
TSampleDataSet HalvoPlusSample();  // .lmb: 5 records across a new year
TSampleDataSet EarlyHalvoSample(); // .hvb: 768 records (full)

} // namespace lumetra::test
