#pragma once
// Data files for the window and protocol tests, written with the native file writer.

#include "core/GlobalDefinitions.h"
#include "core/TimeConversions.h"
#include "files/DataSetFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lumetra::test {

// A Halvo type 4 (or `type`) set of hourly records with climate codes and interval
// spectra, comment "Basement"; a pause of a day before record `breakAt` starts a second
// measurement series.
inline std::string WriteHalvoFile(const std::string& path, int records, int breakAt, Byte type = 4) {
    auto raw = std::make_unique<TInstrumentData>();
    raw->Valid = true;
    raw->NumberOfRecords = static_cast<Word>(records);
    raw->Header.DeviceFamily = FamilyHalvo;
    raw->Header.DeviceType = type;
    raw->Header.DeviceNumber = 2345;
    raw->Header.SoftwareVersion = 14;
    raw->Header.ROILevel = {{0, 9, 18, 27, 38}};
    raw->Header.UniCon = {{3000, 1500, 900, 0x0A14, 0x1E28, 56250}};
    raw->Setup.SampleInterval = 60;
    raw->Comment = "Basement";
    TDeviceTime t = MakeDeviceTime(2024, 3, 1, 0, 0);
    for (int i = 1; i <= records; ++i) {
        TInstrumentRecord& r = raw->Records[static_cast<std::size_t>(i)];
        t = AddMinutes(t, i == breakAt ? 24 * 60 : 60);
        r.Time = t;
        r.SampleInterval = 60;
        r.TemperatureRaw = 90;
        r.HumidityRaw = 70;
        r.PressureRaw = 520;
        r.Counts = 100 + i % 7;
        for (std::size_t ch = 1; ch <= IntervalChannels; ++ch) {
            r.Channels[ch] = static_cast<Integer>((ch * 7 + static_cast<std::size_t>(i)) % 40);
        }
    }
    EXPECT_EQ(SaveDataSetFile(path, *raw), 0);
    return path;
}

} // namespace lumetra::test
