#include "cli/SampleDataFiles.h"
#include "support/ByteImage.h"

#include <cstddef>
#include <ctime>
#include <utility>

namespace lumetra::test {
namespace {

unsigned U(int value) {
    return static_cast<unsigned>(value);
}

void PutHeader(TImage& image, std::size_t at, const TSampleDataSet& set) {
    image.U8(at + 0, set.Family);
    image.I32(at + 4, set.Serial);
    image.U8(at + 8, set.Type);
    image.U8(at + 9, set.Software);
    image.U8(at + 10, set.Offset);
    image.U8(at + 11, set.BetaLower);
    image.U8(at + 12, set.BetaUpper);
    for (std::size_t k = 0; k < 5; ++k) {
        image.U8(at + 13 + k, set.ROILevels[k]);
    }
    for (std::size_t k = 0; k < 10; ++k) {
        image.U8(at + 18 + k, set.ROILimits[k]);
    }
    for (std::size_t k = 0; k < 6; ++k) {
        image.U16(at + 28 + 2 * k, set.Calibration[k]);
    }
}

void PutSetup(TImage& image, std::size_t at, const TSampleDataSet& set) {
    image.U16(at + 0, set.UserID);
    image.U8(at + 2, set.Country);
    image.U8(at + 3, set.Region);
    image.U8(at + 4, set.Entry);
    image.U16(at + 6, set.SetupWord);
    image.U8(at + 8, set.SampleInterval);
    image.I32(at + 12, set.AlarmLevel);
}

void PutSpectrum(TImage& image, std::size_t at, const TSampleDataSet& set) {
    image.I32(at, set.SpectrumSize);
    for (std::size_t k = 0; k < 60; ++k) {
        image.I32(at + 4 + 4 * k, set.Spectrum[k]);
    }
}

void PutRecord(TImage& image, std::size_t at, const TSampleRecord& r) {
    image.U8(at + 0, r.SampleInterval);
    image.U16(at + 2, U(r.Time.Second));
    image.U16(at + 4, U(r.Time.Minute));
    image.U16(at + 6, U(r.Time.Hour));
    image.U16(at + 8, U(r.Time.Day));
    image.U16(at + 10, U(r.Time.Month));
    image.U16(at + 12, U(r.Time.Year));
    image.I32(at + 16, r.Temperature);
    image.I32(at + 20, r.Humidity);
    image.I32(at + 24, r.Pressure);
    image.I32(at + 28, r.Counts);
    image.I32(at + 32, r.Status);
    for (std::size_t k = 0; k < 38; ++k) {
        image.I32(at + 36 + 4 * k, r.Channels[k]);
    }
    image.I32(at + 188, r.ExtraCounts);
    for (std::size_t k = 0; k < 5; ++k) {
        image.I32(at + 192 + 4 * k, r.ROICounts[k]);
    }
}

TSampleDataSet KeptByHalvoFormats(TSampleDataSet set) {
    set.Family = 2;
    set.BetaLower = set.BetaUpper = 0;
    set.ROILimits = {};
    set.Calibration[4] = set.Calibration[5] = 0;
    set.UserID = 0;
    set.Country = set.Region = set.Entry = 0;
    set.SetupWord = 0;
    set.SampleInterval = 0;
    set.AlarmLevel = 0;
    set.SpectrumSize = 0;
    set.Spectrum = {};
    for (auto& r : set.Records) {
        r.Time.Second = 0;
        r.Humidity &= 0xFF;
        r.ExtraCounts = 0;
        r.ROICounts = {};
    }
    return set;
}

} // namespace

TSampleStamp StampAfter(TSampleStamp start, int minutes) {
    std::tm tm{};
    tm.tm_year = start.Year - 1900;
    tm.tm_mon = start.Month - 1;
    tm.tm_mday = start.Day;
    tm.tm_hour = start.Hour;
    tm.tm_min = start.Minute + minutes;
    tm.tm_sec = start.Second;
    const std::time_t t = timegm(&tm);
    gmtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::vector<TSampleRecord> SampleRecords(int count, TSampleStamp first, int step, std::uint8_t interval,
                                         bool withChannels) {
    std::vector<TSampleRecord> records;
    for (int i = 1; i <= count; ++i) {
        TSampleRecord r;
        r.SampleInterval = interval;
        r.Time = StampAfter(first, step * (i - 1));
        r.Temperature = 100 + i % 150;
        r.Humidity = 30 + i % 200;
        r.Pressure = 900 + i;
        r.Counts = 3 * i + 1;
        r.Status = i % 7;
        if (withChannels) {
            for (int k = 0; k < 38; ++k) {
                r.Channels[static_cast<std::size_t>(k)] = i * 100 + k;
            }
        }
        r.ExtraCounts = i + 5;
        for (int k = 0; k < 5; ++k) {
            r.ROICounts[static_cast<std::size_t>(k)] = i * 10 + k;
        }
        records.push_back(r);
    }
    return records;
}

std::vector<std::uint8_t> NativeFileBytes(const TSampleDataSet& set) {
    TImage image(563 + 212 * set.Records.size());
    image.I32(0, 1);
    image.U8(4, 1);
    image.U16(5, static_cast<unsigned>(set.Records.size()));
    image.Text(7, set.Comment);
    PutHeader(image, 263, set);
    PutSetup(image, 303, set);
    PutSpectrum(image, 319, set);
    for (std::size_t i = 0; i < set.Records.size(); ++i) {
        PutRecord(image, 563 + 212 * i, set.Records[i]);
    }
    return image.Bytes;
}

std::vector<std::uint8_t> Lm3FileBytes(const TSampleDataSet& set) {
    TImage image(434736);
    image.U8(0, 1);
    image.U16(2, static_cast<unsigned>(set.Records.size()));
    image.Text(4, set.Comment);
    PutHeader(image, 260, set);
    PutSetup(image, 300, set);
    for (std::size_t i = 0; i < set.Records.size(); ++i) {
        PutRecord(image, 316 + 212 * i, set.Records[i]);
    }
    PutSpectrum(image, 434492, set);
    return image.Bytes;
}

std::vector<std::uint8_t> LmbFileBytes(const TSampleDataSet& set) {
    TImage image(360728);
    image.U8(0, 1);
    image.U16(2, static_cast<unsigned>(set.Records.size()));
    image.Text(4, set.Comment);
    image.I32(260, set.Serial);
    image.U8(264, set.Type);
    image.U8(265, set.Software);
    for (std::size_t k = 0; k < 4; ++k) {
        image.U16(266 + 2 * k, set.Calibration[k]);
    }
    for (std::size_t k = 0; k < 5; ++k) {
        image.U8(274 + k, set.ROILevels[k]);
    }
    image.U8(279, set.Offset);
    for (std::size_t i = 0; i < set.Records.size(); ++i) {
        const TSampleRecord& r = set.Records[i];
        const std::size_t at = 280 + 176 * i;
        image.U8(at + 0, 0xEE); // not read
        image.U8(at + 1, r.SampleInterval);
        image.U8(at + 2, U(r.Time.Minute));
        image.U8(at + 3, U(r.Time.Hour));
        image.U8(at + 4, U(r.Time.Day));
        image.U8(at + 5, U(r.Time.Month));
        image.U8(at + 6, U(r.Time.Year - 2000));
        image.U8(at + 7, U(r.Humidity));
        image.I32(at + 8, r.Temperature);
        image.I32(at + 12, r.Pressure);
        image.I32(at + 16, r.Counts);
        image.I32(at + 20, r.Status);
        for (std::size_t k = 0; k < 38; ++k) {
            image.I32(at + 24 + 4 * k, r.Channels[k]);
        }
    }
    return image.Bytes;
}

std::vector<std::uint8_t> HvbFileBytes(const TSampleDataSet& set) {
    TImage image(15636);
    image.U8(0, 1);
    image.I32(4, set.Serial);
    image.U8(8, set.Type);
    image.U8(9, set.Software);
    image.U16(10, static_cast<unsigned>(set.Records.size()));
    for (std::size_t k = 0; k < 4; ++k) {
        image.U16(12 + 2 * k, set.Calibration[k]);
    }
    for (std::size_t i = 0; i < set.Records.size(); ++i) {
        const TSampleRecord& r = set.Records[i];
        const std::size_t at = 20 * (i + 1);
        image.U8(at + 0, 0xEE); // not read
        image.U8(at + 1, U(r.Time.Minute));
        image.U8(at + 2, U(r.Time.Hour));
        image.U8(at + 3, U(r.Time.Day));
        image.U8(at + 4, U(r.Time.Month));
        image.U8(at + 5, U(r.Time.Year - 2000));
        image.U8(at + 6, r.SampleInterval);
        image.U8(at + 7, U(r.Humidity));
        image.U8(at + 8, U(r.Temperature));
        image.U8(at + 9, 0xEE); // not read
        image.I32(at + 12, r.Counts);
        image.I32(at + 16, r.Status);
    }
    image.Text(15380, set.Comment);
    return image.Bytes;
}

TSampleDataSet AsKeptByLmb(TSampleDataSet set) {
    return KeptByHalvoFormats(std::move(set));
}

TSampleDataSet AsKeptByHvb(TSampleDataSet set) {
    set = KeptByHalvoFormats(std::move(set));
    set.Offset = 0;
    set.ROILevels = {};
    for (auto& r : set.Records) {
        r.Temperature &= 0xFF;
        r.Pressure = 0;
        r.Channels = {};
    }
    return set;
}

} // namespace lumetra::test
