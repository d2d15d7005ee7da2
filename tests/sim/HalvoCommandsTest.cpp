// The simulated Halvo instrument answers each command of the table over a real
// pseudo-terminal; requests and expected answers are written out byte by byte.

#include "SimFixture.h"

namespace lumetra::test {
namespace {

using sim::THalvoSimRecord;
using sim::THalvoSimState;

const Bytes kIdentity{0x42, 0x83, 0x7C, 0x0C, 0x06, 0x06, 0x00, 0x18, 0x00, 0x45};
const Bytes kFirstRecord{0x42, 0x80, 0x7F, 0x06, 0x06, 0x00, 0x45};
const Bytes kNextRecord{0x42, 0x80, 0x7F, 0x07, 0x07, 0x00, 0x45};
const Bytes kReadSetup{0x42, 0x80, 0x7F, 0x10, 0x10, 0x00, 0x45};
const Bytes kStatusOk{0x42, 0x80, 0x7F, 0x0A, 0x0A, 0x00, 0x45};
const Bytes kNoMoreRecords{0x42, 0x80, 0x7F, 0x0B, 0x0B, 0x00, 0x45};

Bytes OneByteRequest(std::uint8_t command) { return {0x42, 0x80, 0x7F, command, command, 0x00, 0x45}; }

THalvoSimRecord ExampleRecord() {
    THalvoSimRecord r;
    r.Minute = 10;
    r.Hour = 11;
    r.Day = 15;
    r.Month = 3;
    r.Year = 2017;
    r.Interval = 60;
    r.HumidityRaw = 128;
    r.TemperatureRaw = 100;
    r.Status = 2;
    r.Counts = 500;
    return r;
}

using HalvoCommandsTest = SimFixture;

TEST_F(HalvoCommandsTest, IdentityAnswersTypeVersionSerialAndCalibrationLowByteFirst) {
    THalvoSimState state;
    state.DeviceType = 1;
    state.SoftwareVersion = 5;
    state.DeviceNumber = 0x1234;
    state.UniCon = {0x0102, 0x0304, 0x0506, 0x0708, 0, 0};
    Serve(state);
    EXPECT_EQ(Ask(kIdentity, 19), (Bytes{0x42, 0x8C, 0x73, 0x0A, 0x01, 0x05, 0x34, 0x12, 0x02, 0x01, 0x04, 0x03, 0x06,
                                          0x05, 0x08, 0x07, 0x7A, 0x00, 0x45}));
    // Types without a spectrum know neither the region request nor the extra constants.
    EXPECT_EQ(Ask(OneByteRequest(0x11), 7), (Bytes{0x42, 0x80, 0x7F, 0xFF, 0xFF, 0x00, 0x45}));

    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Index, 1u);
    EXPECT_EQ(log[0].Frame, kIdentity);
    EXPECT_EQ(log[0].Payload, (Bytes{0x0C, 0x06, 0x06, 0x00}));
    EXPECT_TRUE(log[0].CommandFlag);
    EXPECT_EQ(log[1].Payload, Bytes{0x11});
}

TEST_F(HalvoCommandsTest, TooNewInstrumentAnswersIdentityWithStatus22) {
    THalvoSimState state;
    state.TooNew = true;
    Serve(state);
    EXPECT_EQ(Ask(kIdentity, 19, 500), (Bytes{0x42, 0x80, 0x7F, 0x16, 0x16, 0x00, 0x45}));
}

TEST_F(HalvoCommandsTest, Type1RecordsComeOldestFirstUntilStatus11) {
    THalvoSimState state;
    THalvoSimRecord second = ExampleRecord();
    second.Minute = 0;
    second.Hour = 12;
    second.HumidityRaw = 0x81;
    second.TemperatureRaw = 0x65;
    second.Status = 0x01000003;
    second.Counts = 0x00012345;
    state.Records = {ExampleRecord(), second};
    Serve(state);

    const Bytes first{0x42, 0x0F, 0xF0, 0x0A, 0x0B, 0x0F, 0x03, 0x11, 0x3C, 0x80, 0x64,
                      0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01, 0xF4, 0x4F, 0x02, 0x45};
    EXPECT_EQ(Ask(kFirstRecord, 22), first);
    // The payload holds 0x45 and the sum 0x01BE; nothing is escaped.
    EXPECT_EQ(Ask(kNextRecord, 22), (Bytes{0x42, 0x0F, 0xF0, 0x00, 0x0C, 0x0F, 0x03, 0x11, 0x3C, 0x81, 0x65, 0x01,
                                          0x00, 0x00, 0x03, 0x00, 0x01, 0x23, 0x45, 0xBE, 0x01, 0x45}));
    EXPECT_EQ(Ask(kNextRecord, 22, 300), kNoMoreRecords);
    EXPECT_EQ(Ask(kNextRecord, 22, 300), kNoMoreRecords);
    EXPECT_EQ(Ask(kFirstRecord, 22), first); // command 6 starts over
    EXPECT_EQ(Simulator->RecordCursor(), 1u);
}

TEST_F(HalvoCommandsTest, SpectrumRecordCarries38ChannelsOf24BitsLowByteFirst) {
    THalvoSimState state;
    state.DeviceType = 4;
    THalvoSimRecord r;
    r.Minute = 30;
    r.Hour = 23;
    r.Day = 31;
    r.Month = 12;
    r.Year = 2019;
    r.Interval = 10;
    r.Status = 1;
    r.HumidityRaw = 0x5A;
    r.TemperatureRaw = 0x0123;
    r.PressureRaw = 0x0456;
    r.Counts = 77; // not part of the spectrum format
    r.Channels[0] = 0x030201;
    r.Channels[1] = 0x10;
    r.Channels[37] = 0xABCDEF;
    state.Records = {r};
    Serve(state);

    Bytes expected(128, 0);
    const Bytes head{0x1E, 0x17, 0x1F, 0x0C, 0x13, 0x0A, 0x01, 0x5A, 0x01, 0x23, 0x04, 0x56, 0x01, 0x02, 0x03, 0x10};
    std::copy(head.begin(), head.end(), expected.begin());
    expected[123] = 0xEF;
    expected[124] = 0xCD;
    expected[125] = 0xAB;
    const Bytes answer = Ask(kFirstRecord, 134);
    ASSERT_EQ(answer.size(), 134u);
    EXPECT_EQ(answer[1], 0x7F); // 128 bytes, command flag clear
    EXPECT_EQ(PayloadOf(answer, false), expected);
}

TEST_F(HalvoCommandsTest, Type3RecordLayoutChangesWithFirmware8) {
    THalvoSimRecord r = ExampleRecord();
    r.PressureRaw = 0x0234;
    r.Status = 0x8005;
    for (const std::uint8_t version : {std::uint8_t{7}, std::uint8_t{8}}) {
        SCOPED_TRACE(version);
        TearDown();
        THalvoSimState state;
        state.DeviceType = 3;
        state.SoftwareVersion = version;
        state.Records = {r};
        Serve(state);
        const Bytes common{0x0A, 0x0B, 0x0F, 0x03, 0x11, 0x3C, 0x80, 0x64};
        Bytes expected = common;
        if (version == 7) {
            expected.insert(expected.end(), {0x00, 0x00, 0x80, 0x05, 0x00, 0x00, 0x01, 0xF4, 0x02, 0x34});
            expected.resize(32, 0);
        } else {
            expected.insert(expected.end(), {0x02, 0x34, 0x80, 0x05, 0x00, 0x00, 0x01, 0xF4});
        }
        EXPECT_EQ(PayloadOf(Ask(kFirstRecord, expected.size() + 6), false), expected);
    }
}

TEST_F(HalvoCommandsTest, SetupClockAndMemoryCommandsChangeTheInstrument) {
    THalvoSimState state;
    state.Records = {ExampleRecord()};
    Serve(state);
    EXPECT_EQ(Ask({0x42, 0x87, 0x78, 0x0F, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x89, 0x00, 0x45}, 7), kStatusOk);
    EXPECT_EQ(Ask(kReadSetup, 14), (Bytes{0x42, 0x87, 0x78, 0x0A, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x84, 0x00, 0x45}));
    // 14:45:30 on 15 March 2017.
    EXPECT_EQ(Ask({0x42, 0x86, 0x79, 0x05, 0x1E, 0x2D, 0x0E, 0x0F, 0x03, 0x11, 0x81, 0x00, 0x45}, 7), kStatusOk);
    EXPECT_EQ(Ask(OneByteRequest(0x08), 7), kStatusOk);
    EXPECT_EQ(Ask(kFirstRecord, 22, 300), kNoMoreRecords);

    const THalvoSimState now = Simulator->State();
    EXPECT_EQ(now.SampleInterval, 60);
    EXPECT_EQ(now.SetupWord, 0x0011);
    EXPECT_EQ(now.AlarmLevel, 300);
    EXPECT_EQ(now.Clock, (sim::THalvoClock{2017, 3, 15, 14, 45, 30}));
    EXPECT_TRUE(Simulator->Records().empty());
}

TEST_F(HalvoCommandsTest, SwitchIntervalAndMeasuringCommands) {
    THalvoSimState state;
    state.Locked = false;
    state.LongInterval = false;
    state.Measuring = false;
    Serve(state);
    EXPECT_EQ(Ask(OneByteRequest(0x01), 7), kStatusOk);
    EXPECT_EQ(Ask(OneByteRequest(0x03), 7), kStatusOk);
    EXPECT_EQ(Ask(OneByteRequest(0x12), 7), kStatusOk);
    THalvoSimState now = Simulator->State();
    EXPECT_TRUE(now.Locked);
    EXPECT_TRUE(now.LongInterval);
    EXPECT_TRUE(now.Measuring);
    EXPECT_EQ(Ask(OneByteRequest(0x02), 7), kStatusOk);
    EXPECT_EQ(Ask(OneByteRequest(0x04), 7), kStatusOk);
    EXPECT_EQ(Ask(OneByteRequest(0x15), 7), kStatusOk);
    now = Simulator->State();
    EXPECT_FALSE(now.Locked);
    EXPECT_FALSE(now.LongInterval);
    EXPECT_FALSE(now.Measuring);
}

TEST_F(HalvoCommandsTest, IntervalPresetsAndSetupWriteSetTheSampleInterval) {
    THalvoSimState state;
    state.SampleInterval = 30;
    state.Recent.Interval = 30;
    state.LongInterval = false;
    Serve(state);
    // Setup write: interval 10, setup word 0, alarm level 300.
    const Bytes writeTen{0x42, 0x87, 0x78, 0x0F, 0x0A, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x46, 0x00, 0x45};
    const struct {
        Bytes Request;
        std::uint8_t Interval;
        bool Long;
    } cases[] = {
        {OneByteRequest(0x03), 180, true},
        {OneByteRequest(0x04), 60, false},
        {writeTen, 10, false},
        {OneByteRequest(0x03), 180, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Interval));
        EXPECT_EQ(Ask(c.Request, 7), kStatusOk);
        const Bytes setup = PayloadOf(Ask(kReadSetup, 14), true);
        const Bytes recent = PayloadOf(Ask(OneByteRequest(0x14), 39), true);
        ASSERT_EQ(setup.size(), 8u);
        ASSERT_EQ(recent.size(), 33u);
        EXPECT_EQ(setup[1], c.Interval);
        EXPECT_EQ(recent[1], c.Interval);
        EXPECT_EQ(Simulator->State().LongInterval, c.Long);
    }
}

TEST_F(HalvoCommandsTest, RecentReadingsAndBatterySetWhileServing) {
    Serve(THalvoSimState{});
    sim::THalvoRecent recent;
    recent.Radon = 2.0f; // 0x40000000
    recent.Tilts = 7;
    Simulator->SetRecent(recent);
    Simulator->SetBatteryRaw(0x9A);
    const Bytes answer = PayloadOf(Ask(OneByteRequest(0x14), 39), true);
    ASSERT_EQ(answer.size(), 33u);
    EXPECT_EQ(Bytes(answer.begin() + 7, answer.begin() + 11), (Bytes{0x40, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Bytes(answer.begin() + 29, answer.end()), (Bytes{0x00, 0x00, 0x00, 0x07}));
    EXPECT_EQ(PayloadOf(Ask(OneByteRequest(0x0D), 8), true), (Bytes{0x0A, 0x9A}));
}

TEST_F(HalvoCommandsTest, BatteryAnswerIsOneByteOrTwoForSpectrumTypes) {
    THalvoSimState state;
    state.BatteryRaw = 0x01FF;
    Serve(state);
    EXPECT_EQ(Ask(OneByteRequest(0x0D), 8), (Bytes{0x42, 0x81, 0x7E, 0x0A, 0xFF, 0x09, 0x01, 0x45}));
    TearDown();
    state.DeviceType = 6;
    state.BatteryRaw = 1000;
    Serve(state);
    EXPECT_EQ(Ask(OneByteRequest(0x0D), 9), (Bytes{0x42, 0x82, 0x7D, 0x0A, 0xE8, 0x03, 0xF5, 0x00, 0x45}));
}

TEST_F(HalvoCommandsTest, SpectrumTypeAnswersRegionsAndLaterConstants) {
    THalvoSimState state;
    state.DeviceType = 10;
    state.SoftwareVersion = 3;
    state.Offset = 7;
    state.ROILevel = {1, 2, 3, 4, 5};
    state.UniCon[4] = 0x1234;
    state.UniCon[5] = 0xBEEF;
    Serve(state);
    EXPECT_EQ(PayloadOf(Ask(OneByteRequest(0x11), 13), true), (Bytes{0x0A, 7, 1, 2, 3, 4, 5}));
    EXPECT_EQ(PayloadOf(Ask(OneByteRequest(0x13), 11), true), (Bytes{0x0A, 0x34, 0x12, 0xEF, 0xBE}));
}

TEST_F(HalvoCommandsTest, RecentValuesAreBigEndianSinglesAndTilts) {
    THalvoSimState state;
    state.Recent.Interval = 10;
    state.Recent.Minute = 5;
    state.Recent.Hour = 9;
    state.Recent.Day = 2;
    state.Recent.Month = 1;
    state.Recent.Year = 18;
    state.Recent.Radon = 85.5f;       // 0x42AB0000
    state.Recent.RadonError = 12;
    state.Recent.Radon2 = -2.0f;      // 0xC0000000
    state.Recent.Radon2Error = 99;
    state.Recent.Temperature = 21.5f; // 0x41AC0000
    state.Recent.Humidity = 0.5f;     // 0x3F000000
    state.Recent.Pressure = 1024.0f;  // 0x44800000
    state.Recent.Tilts = -2;
    Serve(state);
    EXPECT_EQ(PayloadOf(Ask(OneByteRequest(0x14), 39), true),
              (Bytes{0x0A, 10, 5, 9, 2, 1, 18, 0x42, 0xAB, 0x00, 0x00, 12, 0xC0, 0x00, 0x00, 0x00, 99, 0x41, 0xAC,
                     0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x44, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE}));
}

} // namespace
} // namespace lumetra::test
