#include "cli/SampleDataFiles.h"

namespace lumetra::test {

TSampleDataSet HalvoPmtSample() {
    TSampleDataSet set;
    set.Family = 2;
    set.Type = 5;
    set.Software = 12;
    set.Offset = 3;
    set.BetaLower = 7;
    set.BetaUpper = 9;
    set.Serial = 70000;
    set.ROILevels = {10, 20, 30, 40, 50};
    set.ROILimits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    set.Calibration = {100, 200, 300, 400, 40000, 65535};
    set.UserID = 513;
    set.Country = 49;
    set.Region = 7;
    set.Entry = 3;
    set.SetupWord = 0x1A2B;
    set.SampleInterval = 60;
    set.AlarmLevel = 100000;
    set.Comment = "Basement, east wall, caf\xE9";
    set.SpectrumSize = 38;
    for (std::size_t k = 0; k < 38; ++k) {
        set.Spectrum[k] = static_cast<std::int32_t>(2 * k + 1);
    }
    set.Records = SampleRecords(3, {2017, 5, 24, 7, 5, 30}, 60, 60, true);
    set.Records[2].Time = {2018, 1, 1, 0, 0, 0};
    return set;
}

TSampleDataSet DosikaProSample() {
    TSampleDataSet set;
    set.Family = 1;
    set.Type = 2;
    set.Software = 5;
    set.BetaLower = 12;
    set.BetaUpper = 200;
    set.Serial = 4321;
    set.ROILimits = {10, 20, 21, 30, 31, 40, 41, 50, 51, 60};
    set.Calibration = {11, 22, 33, 44, 55, 0};
    set.UserID = 1000;
    set.Country = 43;
    set.Region = 2;
    set.Entry = 9;
    set.SetupWord = 0x00F0;
    set.SampleInterval = 10;
    set.AlarmLevel = 300;
    set.Comment = "Dosika survey";
    set.SpectrumSize = 60;
    for (std::size_t k = 0; k < 60; ++k) {
        set.Spectrum[k] = static_cast<std::int32_t>(1000 + k);
    }
    set.Records = SampleRecords(2048, {2016, 3, 3, 22, 50, 0}, 10, 10, false);
    return set;
}

TSampleDataSet HalvoPlusSample() {
    TSampleDataSet set;
    set.Family = 2;
    set.Type = 3;
    set.Software = 21;
    set.Offset = 2;
    set.Serial = 4711;
    set.ROILevels = {5, 10, 15, 20, 25};
    set.Calibration = {1111, 2222, 3333, 44444, 0, 0};
    set.Comment = "lmb sample";
    set.Records = SampleRecords(5, {2017, 12, 31, 23, 50, 0}, 10, 10, true);
    set.Records[0].Humidity = 200;
    return set;
}

TSampleDataSet EarlyHalvoSample() {
    TSampleDataSet set;
    set.Family = 2;
    set.Type = 1;
    set.Software = 3;
    set.Serial = 123456;
    set.Calibration = {10, 20, 30, 40, 0, 0};
    set.Comment = "hvb dump";
    set.Records = SampleRecords(768, {2009, 2, 7, 9, 5, 0}, 60, 60, false);
    set.Records[0].Temperature = 250;
    return set;
}

} // namespace lumetra::test
