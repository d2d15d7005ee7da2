#pragma once
// Full-size synthetic data sets for the benchmarks: 16416 records of one instrument,
// one series at a 60-minute interval, with plausible counts and climate codes.

#include "core/GlobalDefinitions.h"

#include <memory>

namespace lumetra::bench {

inline std::unique_ptr<TInstrumentData> MakeFullDataSet(Byte family, Byte type) {
    auto raw = std::make_unique<TInstrumentData>();
    raw->Valid = true;
    raw->NumberOfRecords = static_cast<Word>(MaxRecords);
    raw->Header.DeviceFamily = family;
    raw->Header.DeviceType = type;
    raw->Header.DeviceNumber = 2345;
    raw->Header.SoftwareVersion = 14;
    raw->Header.ROILevel = {{0, 9, 18, 27, 38}};
    raw->Header.UniCon = {{3000, 1500, 900, 0x0A14, 0x1E28, 56250}};
    raw->Setup.SampleInterval = 60;
    raw->Spectrum.Size = 60;
    TDeviceTime t = MakeDeviceTime(2024, 1, 1, 0, 0);
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<Integer>((seed >> 16) & 0x7FFF);
    };
    for (std::size_t i = 1; i <= MaxRecords; ++i) {
        TInstrumentRecord& r = raw->Records[i];
        t = AddMinutes(t, 60);
        r.Time = t;
        r.SampleInterval = 60;
        r.TemperatureRaw = 80 + next() % 20;
        r.HumidityRaw = 60 + next() % 30;
        r.PressureRaw = 500 + next() % 50;
        r.Counts = next() % 400;
        r.Status = next() % 3;
        for (std::size_t ch = 1; ch <= IntervalChannels; ++ch) {
            r.Channels[ch] = next() % 50;
        }
        r.ExtraCounts = next() % 100;
        for (std::size_t k = 1; k <= 5; ++k) {
            r.ROICounts[k] = next() % 300;
        }
    }
    return raw;
}

} // namespace lumetra::bench
