// Whole downloads over a pseudo-terminal from the simulated instrument, compared field
// by field with the simulator's records; retries, skipped records and every way a
// download ends.

#include "DownloadSupport.h"
#include "core/Errors.h"
#include "halvo/HalvoDownload.h"
#include "halvo/HalvoSimSeries.h"
#include "support/SimulatedHalvo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace lumetra::test {
namespace {

using sim::THalvoFaultKind;
using sim::THalvoSelector;

// A record whose every field has distinct bytes at the full width of the fields, hour
// 24 (which the time check accepts) and the largest interval.
sim::THalvoSimRecord WideRecord() {
    sim::THalvoSimRecord r;
    r.Minute = 59;
    r.Hour = 24;
    r.Day = 31;
    r.Month = 12;
    r.Year = 2099;
    r.Interval = 255;
    r.HumidityRaw = 0xC3;
    r.TemperatureRaw = 0xBEAD;
    r.PressureRaw = 0xF00D;
    r.Status = 0xFEDCBA98;
    r.Counts = 0x89ABCDEF;
    for (std::size_t k = 0; k < sim::kHalvoChannels; ++k) {
        r.Channels[k] = (0x800000u + 0x010203u * static_cast<std::uint32_t>(k + 1)) & 0xFFFFFFu;
    }
    return r;
}

sim::THalvoSimState Instrument(Byte type, Byte software, std::size_t count) {
    sim::THalvoSimState s;
    s.DeviceType = type;
    s.SoftwareVersion = software;
    s.DeviceNumber = 0x51E7;
    s.UniCon = {3100, 1450, 2050, 0x0506, 0x1415, 56250};
    s.Offset = 3;
    s.ROILevel = {5, 13, 19, 27, 36};
    s.SampleInterval = 30;
    s.SetupWord = 0x0035;
    s.AlarmLevel = 0x00012C40;
    sim::THalvoSeries series;
    series.Count = count;
    series.Interval = 30;
    series.TiltsPerRecord = 2.0;
    series.Seed = 100u * type + software;
    s.Records = sim::GenerateHalvoRecords(s, series);
    return s;
}

using HlvDownloadTest = THalvoLineTest;

TEST_F(HlvDownloadTest, EveryTypeAndRecordFormat) {
    struct TVariant {
        Byte Type;
        Byte Software;
    };
    const TVariant variants[] = {{1, 5},  {2, 9},  {3, 7}, {3, 8}, {5, 7}, {5, 9}, {7, 7}, {7, 8},
                                 {8, 7},  {8, 12}, {9, 7}, {9, 8}, {4, 2}, {4, 3}, {6, 5}, {10, 12}};
    for (const TVariant& v : variants) {
        SCOPED_TRACE("type " + std::to_string(v.Type) + " software " + std::to_string(v.Software));
        sim::THalvoSimState state = Instrument(v.Type, v.Software, 5);
        state.Records.push_back(WideRecord());
        ASSERT_EQ(state.Records.size(), 6u);
        ASSERT_TRUE(Serve(state));
        TLineUserInterface ui;
        TInstrumentData data;
        data.Comment = "left from before";
        EXPECT_EQ(HlvDownload(ui, Port, data), Result::Success);
        ExpectDownloaded(data, Simulator->State(), Simulator->Records());

        // Identity steps, setup for the types that have one, then 6 for the first record
        // and 7 up to the status 11.
        Bytes commands{0x0C};
        if (IsSpectrumType(v.Type)) {
            commands.push_back(0x11);
            if (v.Software >= 3) {
                commands.push_back(0x13);
            }
        }
        if (v.Type == 3 || v.Type == 5 || IsSpectrumType(v.Type)) {
            commands.push_back(0x10);
        }
        commands.push_back(0x06);
        commands.insert(commands.end(), 6, 0x07);
        EXPECT_EQ(RequestCommands(), commands);
        EXPECT_EQ(ui.ProgressTitle, "Data download");
        EXPECT_EQ(ui.ProgressShown, 1);
        EXPECT_FALSE(ui.ProgressVisible);
        EXPECT_EQ(ui.ProgressPositions, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(ui.ProgressTexts.front(), "-");
        EXPECT_EQ(ui.ProgressTexts.back(), "6");
        EXPECT_EQ(ui.PendingEventRuns, 7);
        EXPECT_TRUE(ui.SplitClock.LongPauses.empty());
        EXPECT_TRUE(ui.Messages.empty());
    }
}

TEST_F(HlvDownloadTest, ImpossibleTimeStampsAreSkipped) {
    sim::THalvoSimState state = Instrument(7, 8, 8);
    state.Records[0].Month = 0; // the very first record
    state.Records[2].Month = 0;
    state.Records[3].Interval = 0;
    state.Records[5].Minute = 60;
    state.Records[6].Hour = 24; // accepted
    ASSERT_TRUE(Serve(state));
    TInstrumentData data;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    const auto all = Simulator->Records();
    const std::vector<sim::THalvoSimRecord> accepted = {all[1], all[4], all[6], all[7]};
    ExpectDownloaded(data, Simulator->State(), accepted);
    // Skipped without a word; the count only moves for accepted records.
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(Ui.ProgressPositions, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Ui.PendingEventRuns, 9);
    Bytes commands{0x0C, 0x06};
    commands.insert(commands.end(), 8, 0x07);
    EXPECT_EQ(RequestCommands(), commands);
}

TEST_F(HlvDownloadTest, FailedAttemptsAreRepeatedAfterAPause) {
    // Record 3 is lost on the line twice: no answer, then a garbled one whose cleared
    // command flag must not find its way into the repeated request. Record 5 arrives
    // twice with a wrong end byte.
    sim::THalvoSimState state = Instrument(1, 5, 6);
    ASSERT_TRUE(Serve(state, {HalvoFault(THalvoFaultKind::Silent, THalvoSelector::Record, 3),
                              HalvoFault(THalvoFaultKind::Garble, THalvoSelector::Record, 3),
                              HalvoFault(THalvoFaultKind::BadEnd, THalvoSelector::Record, 5, 2)}));
    TInstrumentData data;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    ExpectDownloaded(data, Simulator->State(), Simulator->Records());
    EXPECT_EQ(Ui.SplitClock.LongPauses, (std::vector<std::uint32_t>{2000, 2000, 2000, 2000}));

    std::vector<sim::THalvoLoggedRequest> records;
    for (const auto& entry : Simulator->RequestLog()) {
        if (entry.Payload.size() == 1 && (entry.Payload[0] == 6 || entry.Payload[0] == 7)) {
            records.push_back(entry);
        }
    }
    // 6, 7 (record 2), three times 7 for record 3, 7, three for record 5, 7, 7 (status 11).
    ASSERT_EQ(records.size(), 11u);
    for (const auto& entry : records) {
        EXPECT_EQ(entry.Frame, entry.Payload[0] == 6 ? (Bytes{0x42, 0x80, 0x7F, 0x06, 0x06, 0x00, 0x45})
                                                     : (Bytes{0x42, 0x80, 0x7F, 0x07, 0x07, 0x00, 0x45}));
    }
}

TEST_F(HlvDownloadTest, ThreeFailedAttemptsEndTheDownload) {
    struct TCase {
        sim::THalvoFaultKind Kind;
        Byte Result;
    };
    for (const TCase c : {TCase{THalvoFaultKind::Silent, Result::NoAnswer},
                          TCase{THalvoFaultKind::Garble, Result::FrameError}}) {
        ASSERT_TRUE(Serve(Instrument(4, 3, 5), {HalvoFault(c.Kind, THalvoSelector::Record, 3, 3)}));
        TLineUserInterface ui;
        TInstrumentData data;
        data.NumberOfRecords = 12;
        data.Valid = true;
        data.Header.DeviceType = 9;
        data.Records[1].Counts = 77;
        EXPECT_EQ(HlvDownload(ui, Port, data), c.Result);
        // The records received so far are discarded: an empty, invalid data set.
        EXPECT_FALSE(data.Valid);
        EXPECT_EQ(data.NumberOfRecords, 0);
        EXPECT_EQ(data.Header, TInstrumentHeader{});
        EXPECT_EQ(data.Records[1], TInstrumentRecord{});
        EXPECT_EQ(ui.SplitClock.LongPauses, (std::vector<std::uint32_t>{2000, 2000, 2000}));
        EXPECT_FALSE(ui.ProgressVisible);
        // 6, 7 for record 2, then the three attempts; no fourth.
        EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x11, 0x13, 0x10, 0x06, 0x07, 0x07, 0x07, 0x07}));
    }
}

TEST_F(HlvDownloadTest, EmptyInstrument) {
    sim::THalvoSimState state = Instrument(3, 8, 0);
    ASSERT_TRUE(state.Records.empty());
    ASSERT_TRUE(Serve(state));
    TInstrumentData data;
    data.Valid = true;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    ExpectDownloaded(data, Simulator->State(), {});
    EXPECT_FALSE(data.Valid);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x10, 0x06}));
    EXPECT_EQ(Ui.ProgressPositions, (std::vector<int>{0}));
}

TEST_F(HlvDownloadTest, UnexpectedStatusInTheRecordLoop) {
    ASSERT_TRUE(Serve(Instrument(2, 5, 4), {HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Record, 2)}));
    TInstrumentData data;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::UnexpectedResponse);
    EXPECT_FALSE(data.Valid);
    EXPECT_EQ(data.NumberOfRecords, 0);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x06, 0x07}));
    EXPECT_TRUE(Ui.SplitClock.LongPauses.empty()); // a status answer is no failed exchange
}

TEST_F(HlvDownloadTest, IdentityOrSetupFailureSendsNoRecordRequest) {
    sim::THalvoSimState state = Instrument(1, 5, 3);
    state.Mute = true;
    ASSERT_TRUE(Serve(state));
    TInstrumentData data;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::NoAnswer);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C}));
    EXPECT_FALSE(data.Valid);
    EXPECT_FALSE(Ui.ProgressVisible);
    EXPECT_TRUE(Ui.SplitClock.LongPauses.empty()); // only record requests are repeated

    state = Instrument(6, 3, 3);
    state.TooNew = true;
    ASSERT_TRUE(Serve(state));
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::InstrumentTooNew);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C}));

    ASSERT_TRUE(Serve(Instrument(5, 9, 3), {HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Command, 16)}));
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::UnexpectedResponse);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x10}));
    EXPECT_FALSE(data.Valid);
}

TEST_F(HlvDownloadTest, TypeWithoutRecordFormat) {
    for (const Byte type : {Byte{0}, Byte{11}, Byte{200}}) {
        sim::THalvoSimState state = Instrument(1, 5, 3);
        state.DeviceType = type;
        ASSERT_TRUE(Serve(state));
        TInstrumentData data;
        EXPECT_EQ(HlvDownload(Ui, Port, data), Result::InstrumentTooNew) << "type " << int{type};
        EXPECT_EQ(RequestCommands(), (Bytes{0x0C})) << "type " << int{type};
        EXPECT_FALSE(data.Valid);
    }
}

TEST_F(HlvDownloadTest, NothingOfAnEarlierInstrumentStays) {
    ASSERT_TRUE(Serve(Instrument(4, 3, 6)));
    TInstrumentData data;
    ASSERT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    ASSERT_EQ(data.NumberOfRecords, 6);
    data.Spectrum.Size = 60;
    data.Spectrum.Channels[1] = 5;
    data.Setup.UserID = 17;
    data.Header.BetaLowerLimit = 4;

    // A smaller instrument of another type into the same data set.
    ASSERT_TRUE(Serve(Instrument(1, 5, 2)));
    ASSERT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    ExpectDownloaded(data, Simulator->State(), Simulator->Records());
    for (std::size_t i = 3; i <= 6; ++i) {
        EXPECT_EQ(data.Records[i], TInstrumentRecord{}) << "record " << i;
    }
}

TEST_F(HlvDownloadTest, PortOpensAgainAfterADownload) {
    ASSERT_TRUE(Serve(Instrument(9, 8, 2)));
    TInstrumentData data;
    ASSERT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    CloseComPort(Port.Handle);
    Port.Handle = InvalidHandle;
    const int probe = ::open(LinkPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    int exclusive = 1;
    EXPECT_EQ(::ioctl(probe, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(probe);

    Port.Handle = OpenComPort(LinkPath());
    ASSERT_NE(Port.Handle, InvalidHandle);
    TInstrumentData again;
    EXPECT_EQ(HlvDownload(Ui, Port, again), Result::Success);
    ExpectDownloaded(again, Simulator->State(), Simulator->Records());
}

TEST_F(HlvDownloadTest, ReadDataFillsItsBuffer) {
    ASSERT_TRUE(Serve(Instrument(8, 8, 3)));
    THlvDownloadBuffer buffer;
    buffer.SetupValues = {99, 99, 99};
    buffer.Records.resize(5);
    EXPECT_EQ(HlvReadData(Ui, Port, buffer), Result::Success);
    EXPECT_TRUE(buffer.Valid);
    EXPECT_EQ(buffer.Count, 3);
    EXPECT_FALSE(buffer.Truncated);
    ASSERT_EQ(buffer.Records.size(), 3u);
    EXPECT_EQ(buffer.InitValues.DeviceType, 8);
    EXPECT_EQ(buffer.InitValues.DeviceNumber, 0x51E7);
    EXPECT_EQ(buffer.SetupValues, THlvSetupValues{}); // type 8 has no setup request
    const auto records = Simulator->Records();
    for (std::size_t i = 0; i < 3; ++i) {
        ExpectSameRecord(buffer.Records[i], ExpectedRecord(8, 8, records[i]), i + 1);
    }
}

TEST_F(HlvDownloadTest, MoreRecordsThanADataSetHolds) {
    sim::THalvoSimState state = Instrument(1, 5, MaxRecords + 3);
    ASSERT_TRUE(Serve(state));
    // Thousands of exchanges: skip the byte pauses too.
    Ui.SplitClock.RealPauseLimit = 0;
    TInstrumentData data;
    EXPECT_EQ(HlvDownload(Ui, Port, data), Result::Success);
    auto records = Simulator->Records();
    records.resize(MaxRecords);
    ExpectDownloaded(data, Simulator->State(), records);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_NE(Ui.Messages[0].find("16416"), std::string::npos) << Ui.Messages[0];
    // The record that did not fit was the last one asked for.
    EXPECT_EQ(RequestCommands().size(), 1 + MaxRecords + 1);
    EXPECT_FALSE(Ui.ProgressVisible);
    EXPECT_EQ(Ui.ProgressPositions.back(), static_cast<int>(MaxRecords));
}

} // namespace
} // namespace lumetra::test
