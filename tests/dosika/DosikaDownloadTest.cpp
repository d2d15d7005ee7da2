// The download: spectrum and record decoding on byte vectors, the copy into the data
// set with its time stamps, and whole downloads over a line answered by hand.

#include "dosika/DosikaDownload.h"

#include "DkTestLine.h"
#include "core/Errors.h"
#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <iterator>
#include <memory>

namespace lumetra::test {
namespace {

TDkPayloadBuffer Joined(const Bytes& bytes) {
    TDkPayloadBuffer joined;
    joined.Bytes = bytes;
    joined.TotalLength = bytes.size();
    return joined;
}

TDkDownloadBuffer BufferFor(Byte type, Byte software) {
    TDkDownloadBuffer buffer;
    buffer.InitValues.DeviceType = type;
    buffer.InitValues.SoftwareVersion = software;
    return buffer;
}

// A record block: the length, the start minute, hour, day, month, then the records.
Bytes Block(Byte minute, Byte hour, Byte day, Byte month, const Bytes& records) {
    const std::size_t length = records.size() + 6;
    Bytes block{static_cast<Byte>(length % 256), static_cast<Byte>(length / 256), minute, hour, day, month};
    // Appended element by element: GCC 12 at -O3 reports a false out-of-bounds copy
    // for an insert into a vector built from a short initializer list.
    std::copy(records.begin(), records.end(), std::back_inserter(block));
    return block;
}

// A Dosika record: status, then five counters of two bytes.
Bytes DosikaRecord(Byte status, Word first) {
    Bytes r{status};
    for (int k = 0; k < 5; ++k) {
        const int value = first + k;
        r.push_back(static_cast<Byte>(value % 256));
        r.push_back(static_cast<Byte>(value / 256));
    }
    return r;
}

const TDeviceTime March2024 = MakeDeviceTime(2024, 3, 20, 12, 0);

TEST(DecodeDkSpectrum, LengthAndWidthByDeviceType) {
    Bytes dosika;
    for (int k = 1; k <= 50; ++k) {
        dosika.insert(dosika.end(), {static_cast<Byte>(k), 0x00, 0x01}); // k + 65536
    }
    TDkDownloadBuffer buffer = BufferFor(1, 5);
    ASSERT_EQ(DecodeDkSpectrum(Joined(dosika), buffer), Result::Success);
    EXPECT_EQ(buffer.Spectrum.Size, 50);
    EXPECT_EQ(buffer.Spectrum.Channels[1], 65537);
    EXPECT_EQ(buffer.Spectrum.Channels[50], 65586);
    EXPECT_EQ(buffer.Spectrum.Channels[51], 0);

    // A Dosika answer of 240 bytes is the wrong length.
    EXPECT_EQ(DecodeDkSpectrum(Joined(Bytes(240, 1)), buffer), 7);

    Bytes other;
    for (int k = 1; k <= 60; ++k) {
        other.insert(other.end(), {static_cast<Byte>(k), 0x00, 0x00, 0x02}); // k + 2^25
    }
    TDkDownloadBuffer morvel = BufferFor(3, 10);
    ASSERT_EQ(DecodeDkSpectrum(Joined(other), morvel), Result::Success);
    EXPECT_EQ(morvel.Spectrum.Size, 60);
    EXPECT_EQ(morvel.Spectrum.Channels[60], 33554432 + 60);
    EXPECT_EQ(DecodeDkSpectrum(Joined(dosika), morvel), 7);
}

TEST(DecodeDkRecords, DosikaBlockOfThreeRecords) {
    const Bytes records = Join({DosikaRecord(60, 1), DosikaRecord(59, 0x0100), DosikaRecord(61, 0xFFFB)});
    TDkDownloadBuffer buffer = BufferFor(1, 5);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(5, 10, 15, 3, records)), buffer, March2024), Result::Success);
    ASSERT_EQ(buffer.NumberOfRecords, 3);
    ASSERT_EQ(buffer.Records.size(), 3u);
    EXPECT_EQ(buffer.Records[0].RecordStatus, 60);
    EXPECT_EQ(buffer.Records[0].Counters[1], 1);
    EXPECT_EQ(buffer.Records[0].Counters[5], 5);
    EXPECT_EQ(buffer.Records[1].Counters[2], 257);
    EXPECT_EQ(buffer.Records[2].Counters[5], 65535);
    EXPECT_EQ(buffer.StartTime, MakeDeviceTime(2024, 3, 15, 10, 5));
}

TEST(DecodeDkRecords, LengthFaults) {
    const Bytes records = Join({DosikaRecord(60, 1), DosikaRecord(60, 1), DosikaRecord(60, 1)});
    TDkDownloadBuffer buffer = BufferFor(1, 5);
    Bytes oneMore = Block(0, 0, 1, 1, Join({records, Bytes{0}}));
    EXPECT_EQ(DecodeDkRecords(Joined(oneMore), buffer, March2024), 8);

    Bytes wrongLength = Block(0, 0, 1, 1, records);
    wrongLength[0] = static_cast<Byte>(wrongLength[0] + 1);
    EXPECT_EQ(DecodeDkRecords(Joined(wrongLength), buffer, March2024), 7);

    // Shorter than its header, with a length field that matches: no records to count.
    EXPECT_EQ(DecodeDkRecords(Joined({0x04, 0x00, 0x00, 0x00}), buffer, March2024), 7);
    EXPECT_EQ(DecodeDkRecords(Joined({0x01}), buffer, March2024), 7);
    EXPECT_EQ(DecodeDkRecords(Joined({}), buffer, March2024), 7);

    // Longer than 65535 bytes, with a length field equal to the length modulo 65536.
    Bytes huge(65536 + 6 + 11, 0);
    huge[0] = 17;
    EXPECT_EQ(DecodeDkRecords(Joined(huge), buffer, March2024), 7);

    // A header alone is a valid block without records.
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, {})), buffer, March2024), Result::Success);
    EXPECT_EQ(buffer.NumberOfRecords, 0);
}

TEST(DecodeDkRecords, UndecodableTypes) {
    for (const Byte type : {Byte{0}, Byte{7}, Byte{200}}) {
        TDkDownloadBuffer buffer = BufferFor(type, 1);
        EXPECT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, {})), buffer, March2024), Result::NotDecodable) << int{type};
    }
}

TEST(DecodeDkRecords, StartMonthLaterThanNowIsLastYear) {
    TDkDownloadBuffer buffer = BufferFor(1, 5);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 8, 24, 12, {})), buffer, March2024), Result::Success);
    EXPECT_EQ(buffer.StartTime, MakeDeviceTime(2023, 12, 24, 8, 0));
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 8, 1, 3, {})), buffer, March2024), Result::Success);
    EXPECT_EQ(buffer.StartTime.Year, 2024);
}

TEST(DecodeDkRecords, LayoutsOfTheOtherTypes) {
    // Senra-R: the 21-byte layout, temperature code in byte 21, humidity in byte 22.
    Bytes senra{7, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 140, 60};
    TDkDownloadBuffer buffer = BufferFor(5, 4);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, senra)), buffer, March2024), Result::Success);
    ASSERT_EQ(buffer.NumberOfRecords, 1);
    EXPECT_EQ(buffer.Records[0].RecordStatus, 7);
    EXPECT_EQ(buffer.Records[0].Counters[4], 4);
    EXPECT_EQ(buffer.Records[0].Counters[5], -1);
    EXPECT_EQ(buffer.Records[0].TemperatureCode, 140);
    EXPECT_EQ(buffer.Records[0].HumidityCode, 60);
    EXPECT_EQ(buffer.Records[0].ExtraCounter, 0);

    // Morvel: 25 bytes, the extra counter in bytes 21..24; no climate codes.
    Bytes morvel(25, 0);
    morvel[1] = 9;
    morvel[21] = 0x01;
    morvel[22] = 0x02;
    TDkDownloadBuffer m = BufferFor(3, 9);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, Join({morvel, morvel}))), m, March2024), Result::Success);
    ASSERT_EQ(m.NumberOfRecords, 2);
    EXPECT_EQ(m.Records[1].Counters[1], 9);
    EXPECT_EQ(m.Records[1].ExtraCounter, 0x0201);
    EXPECT_EQ(m.Records[1].TemperatureCode, 0);

    // Software 10 of the Dosika: 32-byte records of which the first 11 are read.
    Bytes wide = DosikaRecord(60, 100);
    wide.resize(32, 0xEE);
    TDkDownloadBuffer d10 = BufferFor(1, 10);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, Join({wide, wide}))), d10, March2024), Result::Success);
    ASSERT_EQ(d10.NumberOfRecords, 2);
    EXPECT_EQ(d10.Records[1].Counters[5], 104);
    // The same bytes read by a Dosika PRO of software 10 are five 4-byte counters.
    TDkDownloadBuffer p10 = BufferFor(2, 10);
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, wide)), p10, March2024), Result::Success);
    EXPECT_EQ(p10.Records[0].Counters[1], 100 + 101 * 65536);
}

TEST(DecodeDkRecords, LargestBlockFitsWhole) {
    // 5957 Dosika records: 6 + 5957 x 11 = 65533 bytes.
    Bytes records;
    for (int i = 0; i < 5957; ++i) {
        const Bytes r = DosikaRecord(static_cast<Byte>(i % 256), static_cast<Word>(i));
        records.insert(records.end(), r.begin(), r.end());
    }
    TDkDownloadBuffer buffer = BufferFor(1, 5);
    buffer.SetupValues.SampleInterval = 10;
    ASSERT_EQ(DecodeDkRecords(Joined(Block(0, 0, 1, 1, records)), buffer, March2024), Result::Success);
    ASSERT_EQ(buffer.NumberOfRecords, 5957);
    TInstrumentData data;
    FillDkInstrumentData(buffer, data);
    EXPECT_EQ(data.NumberOfRecords, 5957);
    EXPECT_EQ(data.Records[5957].ROICounts[1], 5956);
}

TEST(FillDkInstrumentData, RunningTimeOfTheDosikaBeforeSoftwareFive) {
    for (const Byte software : {Byte{4}, Byte{5}}) {
        TDkDownloadBuffer buffer = BufferFor(1, software);
        buffer.SetupValues.SampleInterval = 60;
        buffer.StartTime = MakeDeviceTime(2024, 3, 15, 10, 0);
        buffer.Records.assign(2, TDkRecord{});
        buffer.NumberOfRecords = 2;
        TInstrumentData data;
        FillDkInstrumentData(buffer, data);
        const Word firstHour = software == 4 ? 11 : 10;
        EXPECT_EQ(data.Records[1].Time, MakeDeviceTime(2024, 3, 15, firstHour, 0)) << int{software};
        EXPECT_EQ(data.Records[2].Time, MakeDeviceTime(2024, 3, 15, firstHour + 1, 0)) << int{software};
    }
    // Other types never shift.
    TDkDownloadBuffer pro = BufferFor(2, 4);
    pro.SetupValues.SampleInterval = 60;
    pro.StartTime = MakeDeviceTime(2024, 3, 15, 10, 0);
    pro.Records.assign(1, TDkRecord{});
    pro.NumberOfRecords = 1;
    TInstrumentData data;
    FillDkInstrumentData(pro, data);
    EXPECT_EQ(data.Records[1].Time.Hour, 10);
}

TEST(FillDkInstrumentData, LeapDayOfACommonYearBecomesFirstOfMarch) {
    TDkDownloadBuffer buffer = BufferFor(2, 3);
    buffer.SetupValues.SampleInterval = 30;
    buffer.StartTime = MakeDeviceTime(2023, 2, 29, 23, 45);
    buffer.Records.assign(2, TDkRecord{});
    buffer.NumberOfRecords = 2;
    TInstrumentData data;
    FillDkInstrumentData(buffer, data);
    EXPECT_EQ(data.Records[1].Time, MakeDeviceTime(2023, 3, 1, 23, 45));
    EXPECT_EQ(data.Records[2].Time, MakeDeviceTime(2023, 3, 2, 0, 15));
}

TEST(FillDkInstrumentData, CopiesBlocksAndRecordFields) {
    TDkDownloadBuffer buffer = BufferFor(5, 4);
    TDkInitValues& init = buffer.InitValues;
    init.DeviceNumber = 65000;
    init.Offset = 3;
    init.BetaLowerLimit = 40;
    init.BetaUpperLimit = 50;
    init.ROILimits[2] = {11, 20};
    init.CAL1 = 1;
    init.CAL5 = 5;
    init.CAL6 = 6;
    TDkSetupValues& setup = buffer.SetupValues;
    setup.UserID = 77;
    setup.CountryCode = 49;
    setup.SetupByte = 0x0F;
    setup.SampleInterval = 10;
    setup.AlarmLevel = 60000;
    buffer.Spectrum.Size = 60;
    buffer.Spectrum.Channels[60] = 9;
    TDkRecord record;
    record.RecordStatus = 12; // more than the interval
    record.Counters = {{1, 2, 3, 4, 5}};
    record.ExtraCounter = 6;
    record.TemperatureCode = 140;
    record.HumidityCode = 60;
    buffer.Records = {record};
    buffer.NumberOfRecords = 1;

    TInstrumentData data;
    data.Header.ROILevel[1] = 9;           // left over from an earlier instrument
    data.Records[1].Counts = 1234;         // likewise
    data.Records[1].Channels[3] = 5;
    FillDkInstrumentData(buffer, data);
    EXPECT_EQ(data.Header.DeviceFamily, 1);
    EXPECT_EQ(data.Header.DeviceNumber, 65000);
    EXPECT_EQ(data.Header.DeviceType, 5);
    EXPECT_EQ(data.Header.Offset, 3);
    EXPECT_EQ(data.Header.BetaUpperLimit, 50);
    EXPECT_EQ(data.Header.ROILimits[2], (TROILimits{11, 20}));
    EXPECT_EQ(data.Header.UniCon[1], 1);
    EXPECT_EQ(data.Header.UniCon[5], 5);
    EXPECT_EQ(data.Header.UniCon[6], 0); // CAL6 is not kept
    EXPECT_EQ(data.Setup.UserID, 77);
    EXPECT_EQ(data.Setup.SetupWord, 0x0F);
    EXPECT_EQ(data.Setup.AlarmLevel, 60000);
    EXPECT_EQ(data.Spectrum.Channels[60], 9);
    const TInstrumentRecord& r = data.Records[1];
    EXPECT_EQ(r.SampleInterval, 10);
    EXPECT_EQ(r.Status, -2);
    EXPECT_EQ(r.ROICounts[5], 5);
    EXPECT_EQ(r.ExtraCounts, 6);
    EXPECT_EQ(r.TemperatureRaw, 140);
    EXPECT_EQ(r.HumidityRaw, 60);
    EXPECT_EQ(r.Counts, 0);
    EXPECT_EQ(r.Channels[3], 0);
    EXPECT_EQ(data.NumberOfRecords, 1);
    EXPECT_TRUE(data.Valid);
}

// A Dosika (type 1, software 5) with two records, measuring until it is stopped when
// `measuring` is set.
struct TDosikaAnswers {
    std::shared_ptr<bool> Measuring = std::make_shared<bool>(false);
    Byte StopStatus = 0;
    bool CloseRecords = true;

    TDkTestLine::TResponder Responder() const {
        return ByCommand([measuring = Measuring, stopStatus = StopStatus,
                          close = CloseRecords](Byte code, const Bytes&) -> Bytes {
            if (code == 0x33) {
                if (stopStatus == 0) {
                    *measuring = false;
                }
                return DkAnswer({stopStatus});
            }
            if (*measuring) {
                return DkAnswer({0x01});
            }
            switch (code) {
            case 0x40: return DkAnswer({0x00, 1, 5, 0xD2, 0x04});
            case 0x41: return DkAnswer({0x00, 2, 0, 9, 10, 19, 20, 29});
            case 0x42: return DkAnswer({0x00, 30, 39, 40, 49, 4, 49});
            case 0x43: return DkAnswer({0x00, 50, 60, 26, 31});
            case 0x44: return DkAnswer({0x00, 0, 0});
            case 0x51: return DkAnswer({0x00, 7, 0, 0x2C, 0x01});
            case 0x50: return DkAnswer({0x00, 49, 1, 2});
            case 0x53: return DkAnswer({0x00, 0x01, 60});
            case 0x60: {
                Bytes spectrum;
                for (int k = 1; k <= 50; ++k) {
                    spectrum.insert(spectrum.end(), {static_cast<Byte>(k), 0, 0});
                }
                // Split over two data frames as an instrument may.
                return Join({DkAnswer({0x00}), DkData(Bytes(spectrum.begin(), spectrum.begin() + 128)),
                             DkData(Bytes(spectrum.begin() + 128, spectrum.end())), DkAnswer({0x04})});
            }
            case 0x61: {
                const Bytes block = Block(30, 9, 2, 1, Join({DosikaRecord(60, 10), DosikaRecord(58, 20)}));
                return Join({DkAnswer({0x00}), DkData(block), close ? DkAnswer({0x04}) : Bytes{}});
            }
            default: return DkAnswer({0x05});
            }
        });
    }
};

Word ThisYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<Word>(local.tm_year + 1900);
}

TEST(DkDownload, ReadsEverythingIntoTheDataSet) {
    TDosikaAnswers answers;
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TInstrumentData data;
    data.Comment = "old";
    ASSERT_EQ(DkDownload(ui, line.Port(), data), Result::Success);
    EXPECT_TRUE(data.Comment.empty());
    EXPECT_TRUE(data.Valid);
    EXPECT_EQ(data.Header.DeviceNumber, 1234);
    EXPECT_EQ(data.Header.ROILimits[1], (TROILimits{1, 10}));
    EXPECT_EQ(data.Header.UniCon[3], 26);
    EXPECT_EQ(data.Setup.AlarmLevel, 300);
    EXPECT_EQ(data.Setup.SampleInterval, 60);
    EXPECT_EQ(data.Spectrum.Size, 50);
    EXPECT_EQ(data.Spectrum.Channels[43], 43);
    ASSERT_EQ(data.NumberOfRecords, 2);
    // Start 2 January 9:30 (a January start is never later than the current month).
    EXPECT_EQ(data.Records[1].Time, MakeDeviceTime(ThisYear(), 1, 2, 9, 30));
    EXPECT_EQ(data.Records[2].Time, MakeDeviceTime(ThisYear(), 1, 2, 10, 30));
    EXPECT_EQ(data.Records[1].Status, 0);
    EXPECT_EQ(data.Records[2].Status, 2);
    EXPECT_EQ(data.Records[2].ROICounts[1], 20);
    EXPECT_EQ(data.Records[2].ROICounts[5], 24);
    EXPECT_TRUE(ui.Questions.empty());
    EXPECT_FALSE(ui.ProgressVisible);
    // The identity block is read twice: for the init values and inside the setup read.
    const Bytes expected{0x40, 0x41, 0x42, 0x43, 0x44, 0x40, 0x41, 0x42, 0x43, 0x44, 0x51, 0x50, 0x53, 0x60, 0x61};
    Bytes codes;
    for (const Bytes& r : line.Requests()) {
        codes.push_back(r[0]);
    }
    EXPECT_EQ(codes, expected);
}

TEST(DkDownload, MeasuringInstrumentStoppedOnYes) {
    TDosikaAnswers answers;
    *answers.Measuring = true;
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    ui.YesNoAnswers = {true};
    TInstrumentData data;
    ASSERT_EQ(DkDownload(ui, line.Port(), data), Result::Success);
    EXPECT_EQ(ui.Questions, (std::vector<std::string>{"Stop measurement?"}));
    EXPECT_EQ(data.NumberOfRecords, 2);
}

TEST(DkDownload, MeasuringInstrumentLeftRunningOnNo) {
    TDosikaAnswers answers;
    *answers.Measuring = true;
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TInstrumentData data;
    data.Valid = true;
    data.NumberOfRecords = 5;
    EXPECT_EQ(DkDownload(ui, line.Port(), data), Result::Declined);
    EXPECT_FALSE(data.Valid);
    EXPECT_EQ(data.NumberOfRecords, 0);
    EXPECT_EQ(line.Requests().size(), 1u); // no stop command
}

TEST(DkDownload, StopRefusedDuringPostExposureAnalysis) {
    TDosikaAnswers answers;
    *answers.Measuring = true;
    answers.StopStatus = 5;
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    ui.YesNoAnswers = {true};
    TInstrumentData data;
    EXPECT_EQ(DkDownload(ui, line.Port(), data), Result::PostExposureLock);
    EXPECT_FALSE(data.Valid);
}

TEST(DkDownload, RecordAnswerWithoutClosingFrameIsNoResponse) {
    TDosikaAnswers answers;
    answers.CloseRecords = false;
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TInstrumentData data;
    EXPECT_EQ(DkDownload(ui, line.Port(100), data), Result::NoAnswer);
    EXPECT_FALSE(data.Valid);
    EXPECT_EQ(data.NumberOfRecords, 0);
    EXPECT_FALSE(ui.ProgressVisible);
}

} // namespace
} // namespace lumetra::test
