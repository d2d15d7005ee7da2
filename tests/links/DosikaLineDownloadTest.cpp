// Whole Dosika-family downloads over a pseudo-terminal against the simulated instrument:
// every type and every firmware that changes a format, compared field by field with
// what the simulator holds; a measuring instrument; an echoing line; broken answers.
// Expected values come from the simulator's state and from the wire rules worked out
// here (channel limits plus 1, the status as interval minus record status, the stamps
// from the start time the instrument sends), never from the client's code.

#include "dosika/DosikaDownload.h"

#include "SimulatedLine.h"
#include "core/Errors.h"
#include "dosika/DosikaSimFaults.h"
#include "dosika/DosikaSimSeries.h"
#include "dosika/DosikaSimulator.h"
#include "support/LineUserInterface.h"
#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>

namespace lumetra::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Every answer is on the line within milliseconds; only a time-out waits this out.
constexpr Integer ReadTimeOut = 300;
constexpr Byte Interval = 30;

struct TVariant {
    Byte Type;
    Byte Software;
};

std::string Name(const TVariant& v) {
    return "Type" + std::to_string(v.Type) + "Software" + std::to_string(v.Software);
}
void PrintTo(const TVariant& v, std::ostream* out) {
    *out << Name(v);
}

// Types 1, 2, 4 and 5 have the second calibration block.
bool HasCalibration2(Byte type) {
    return type == 1 || type == 2 || type == 4 || type == 5;
}

// A type 1 sends its counters in 16 bits, the others in 32.
Integer OnTheWire(Byte type, std::uint32_t counter) {
    return static_cast<Integer>(type == 1 ? counter & 0xFFFFu : counter);
}

// The instrument of a comparison: its type's defaults, with values that make a mix-up
// visible. Records start on 29 February at 23:45 (1 March in a year without one);
// record 1 has counters at the edges of its width and a status above the interval.
sim::TDkSimState Instrument(const TVariant& v, std::size_t records) {
    sim::TDkSimState s = sim::DkSimDefaultState(v.Type, v.Software);
    s.SerialNumber = static_cast<std::uint16_t>(50000 + v.Type * 100 + v.Software);
    s.StartTime = {0, 45, 23, 29, 2};
    sim::TDkSeries series;
    series.Count = records;
    series.Interval = Interval;
    series.Seed = 11u + v.Type;
    sim::GenerateDkData(s, series);

    s.Offset = 7;
    s.BetaLower = 4;
    s.BetaUpper = 255; // stored plus 1 in a byte: 0
    s.Cal = {51, 42, 33, 24, 77, 88};
    s.UserID = 517;
    s.CountryCode = 43;
    s.RegionCode = 7;
    s.EntryCode = 3;
    s.SetupByte = 0x0B;
    s.AlarmLevel = 2500;
    s.Spectrum[0] = v.Type == 1 ? 0xFFFFFFu : 0x7FFFFFFFu;
    s.Spectrum[49] = 123456;
    for (std::size_t c = 50; c < sim::kDkChannels; ++c) {
        s.Spectrum[c] = static_cast<std::uint32_t>(1000 + c); // a type 1 never sends these
    }
    for (std::size_t i = 0; i < s.Records.size(); ++i) {
        // Sent by the Morvel and the Senra-R only; the others must read 0.
        s.Records[i].ExtraCounter = static_cast<std::uint32_t>(1000000 + i);
        s.Records[i].TemperatureCode = static_cast<std::uint8_t>(i * 7 % 256);
        s.Records[i].HumidityCode = static_cast<std::uint8_t>(255 - i % 256);
    }
    if (!s.Records.empty()) {
        s.Records[0].Status = 200;
        s.Records[0].Counters =
            v.Type == 1 ? std::array<std::uint32_t, 5>{65535, 0, 1, 256, 65534}
                        : std::array<std::uint32_t, 5>{0x7FFFFFFF, 0x01020304, 65536, 0, 16777216};
    }
    return s;
}

std::string Text(const TDeviceTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.Year, t.Month, t.Day, t.Hour,
                  t.Minute, t.Second);
    return text;
}

// `minutes` after the start the instrument sent, in the year the download puts it in:
// the current one, or the one before when the start month lies after the current month.
TDeviceTime Stamp(const sim::TDkSimTime& start, long minutes) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int year = local.tm_year + 1900 - (start.Month > local.tm_mon + 1 ? 1 : 0);
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = start.Month - 1;
    t.tm_mday = start.Day;
    t.tm_hour = start.Hour;
    t.tm_min = static_cast<int>(start.Minute + minutes);
    const std::time_t at = timegm(&t); // also moves 29 February of a common year to 1 March
    std::tm out{};
    gmtime_r(&at, &out);
    return TDeviceTime{0,
                       static_cast<Word>(out.tm_min),
                       static_cast<Word>(out.tm_hour),
                       static_cast<Word>(out.tm_mday),
                       static_cast<Word>(out.tm_mon + 1),
                       static_cast<Word>(out.tm_year + 1900)};
}

// The commands a download sends, from the command table: identity and calibration,
// then all of it again with the setup, then spectrum and records.
Bytes ExpectedCommands(const TVariant& v) {
    Bytes init{0x40, 0x41, 0x42, 0x43};
    if (HasCalibration2(v.Type)) {
        init.push_back(0x44);
    }
    Bytes commands = init;
    commands.insert(commands.end(), init.begin(), init.end());
    commands.insert(commands.end(), {0x51, 0x50, 0x53});
    if (v.Type == 3 && v.Software >= 10) {
        commands.insert(commands.end(), {0x71, 0x73});
    }
    commands.insert(commands.end(), {0x60, 0x61});
    return commands;
}

// The data set against what the instrument holds.
void ExpectDataSetMatches(const sim::TDkSimState& s, const TInstrumentData& data) {
    const TInstrumentHeader& h = data.Header;
    EXPECT_EQ(h.DeviceFamily, 1);
    EXPECT_EQ(h.DeviceNumber, s.SerialNumber);
    EXPECT_EQ(h.DeviceType, s.DeviceType);
    EXPECT_EQ(h.SoftwareVersion, s.SoftwareVersion);
    EXPECT_EQ(h.Offset, s.Offset);
    EXPECT_EQ(h.BetaLowerLimit, static_cast<Byte>(s.BetaLower + 1));
    EXPECT_EQ(h.BetaUpperLimit, static_cast<Byte>(s.BetaUpper + 1));
    for (std::size_t k = 1; k <= 5; ++k) {
        SCOPED_TRACE("ROI " + std::to_string(k));
        EXPECT_EQ(h.ROILimits[k].LowerLimit, static_cast<Byte>(s.Roi[k - 1].Lower + 1));
        EXPECT_EQ(h.ROILimits[k].UpperLimit, static_cast<Byte>(s.Roi[k - 1].Upper + 1));
        EXPECT_EQ(h.ROILevel[k], 0);
    }
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(h.UniCon[k], s.Cal[k - 1]) << "CAL" << k;
    }
    EXPECT_EQ(h.UniCon[5], HasCalibration2(s.DeviceType) ? s.Cal[4] : 0);
    EXPECT_EQ(h.UniCon[6], 0);

    EXPECT_EQ(data.Setup.UserID, s.UserID);
    EXPECT_EQ(data.Setup.CountryCode, s.CountryCode);
    EXPECT_EQ(data.Setup.RegionCode, s.RegionCode);
    EXPECT_EQ(data.Setup.EntryCode, s.EntryCode);
    EXPECT_EQ(data.Setup.SetupWord, s.SetupByte);
    EXPECT_EQ(data.Setup.SampleInterval, s.SampleInterval);
    EXPECT_EQ(data.Setup.AlarmLevel, s.AlarmLevel);

    const int channels = s.DeviceType == 1 ? 50 : 60;
    EXPECT_EQ(data.Spectrum.Size, channels);
    for (int c = 1; c <= 60; ++c) {
        const auto index = static_cast<std::size_t>(c);
        EXPECT_EQ(data.Spectrum.Channels[index],
                  c <= channels ? static_cast<Integer>(s.Spectrum[index - 1]) : 0)
            << "channel " << c;
    }

    ASSERT_EQ(data.NumberOfRecords, s.Records.size());
    EXPECT_EQ(data.Valid, !s.Records.empty());
    // A Dosika before software 5 stamps the end of its first interval.
    const long first = s.DeviceType == 1 && s.SoftwareVersion < 5 ? s.SampleInterval : 0;
    for (std::size_t i = 1; i <= s.Records.size(); ++i) {
        const sim::TDkSimRecord& served = s.Records[i - 1];
        const TInstrumentRecord& r = data.Records[i];
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(Text(r.Time),
                  Text(Stamp(s.StartTime, first + static_cast<long>(i - 1) * s.SampleInterval)));
        EXPECT_EQ(r.SampleInterval, s.SampleInterval);
        EXPECT_EQ(r.Status, Integer{s.SampleInterval} - Integer{served.Status});
        for (std::size_t k = 1; k <= 5; ++k) {
            EXPECT_EQ(r.ROICounts[k], OnTheWire(s.DeviceType, served.Counters[k - 1])) << "counter " << k;
        }
        EXPECT_EQ(r.ExtraCounts, s.DeviceType == 3 ? static_cast<Integer>(served.ExtraCounter) : 0);
        EXPECT_EQ(r.TemperatureRaw, s.DeviceType == 5 ? served.TemperatureCode : 0);
        EXPECT_EQ(r.HumidityRaw, s.DeviceType == 5 ? served.HumidityCode : 0);
        EXPECT_EQ(r.Counts, 0);
        EXPECT_EQ(r.PressureRaw, 0);
        if (::testing::Test::HasFailure()) {
            return; // one broken record tells enough
        }
    }
}

class DosikaLineDownload : public ::testing::Test {
protected:
    void Serve(sim::TDkSimState state, const std::vector<std::string>& faults = {}) {
        Line.Stop();
        Simulator = std::make_unique<sim::TDosikaSimulator>(std::move(state));
        for (const std::string& text : faults) {
            sim::TDkFault fault;
            std::string error;
            ASSERT_TRUE(sim::ParseDkFault(text, fault, error)) << error;
            Simulator->AddFault(fault);
        }
        std::string error;
        ASSERT_TRUE(Line.Start(*Simulator, error)) << error;
    }

    void TearDown() override { Line.Stop(); }

    TComPort Port() const { return Line.Port(ReadTimeOut); }

    Bytes CommandsSent() const {
        Bytes commands;
        for (const auto& entry : Simulator->RequestLog()) {
            if (entry.Index != 0 && !entry.Payload.empty()) {
                commands.push_back(entry.Payload[0]);
            }
        }
        return commands;
    }

    void ExpectEmpty() const {
        EXPECT_FALSE(Data->Valid);
        EXPECT_EQ(Data->NumberOfRecords, 0);
    }

    TTempDir Dir;
    std::unique_ptr<sim::TDosikaSimulator> Simulator;
    TSimulatedLine Line{Dir.File("dosika")};
    TLineUserInterface Ui;
    // Several megabytes: kept off the stack.
    std::unique_ptr<TInstrumentData> Data = std::make_unique<TInstrumentData>();
};

class EveryVariant : public DosikaLineDownload, public ::testing::WithParamInterface<TVariant> {};

TEST_P(EveryVariant, DownloadMatchesTheInstrument) {
    const TVariant v = GetParam();
    // 300 records: a block of many frames for every record size.
    Serve(Instrument(v, 300));
    ASSERT_EQ(DkDownload(Ui, Port(), *Data), Result::Success);
    ExpectDataSetMatches(Simulator->State(), *Data);
    EXPECT_EQ(CommandsSent(), ExpectedCommands(v));
    EXPECT_TRUE(Ui.Questions.empty());
    EXPECT_EQ(Ui.ProgressShown, 2); // the spectrum and the records
    EXPECT_FALSE(Ui.ProgressVisible);
}

INSTANTIATE_TEST_SUITE_P(DosikaFamily, EveryVariant,
                         ::testing::Values(TVariant{1, 5}, TVariant{1, 4}, TVariant{1, 10}, TVariant{2, 5},
                                           TVariant{2, 10}, TVariant{3, 9}, TVariant{3, 10}, TVariant{4, 5},
                                           TVariant{5, 5}, TVariant{5, 10}, TVariant{6, 5}),
                         [](const ::testing::TestParamInfo<TVariant>& param) { return Name(param.param); });

TEST_F(DosikaLineDownload, FullRecordBlockOfTheSmallestRecords) {
    // (65535 - 6) / 11 = 5957 records in 65533 bytes, 512 data frames.
    const TVariant v{1, 5};
    Serve(Instrument(v, 5957));
    ASSERT_EQ(Simulator->State().Records.size(), 5957u);
    ASSERT_EQ(DkDownload(Ui, Port(), *Data), Result::Success);
    ExpectDataSetMatches(Simulator->State(), *Data);
}

TEST_F(DosikaLineDownload, InstrumentWithoutRecords) {
    Serve(Instrument({4, 5}, 0));
    ASSERT_EQ(DkDownload(Ui, Port(), *Data), Result::Success);
    ExpectDataSetMatches(Simulator->State(), *Data);
    ExpectEmpty();
}

TEST_F(DosikaLineDownload, EchoingLine) {
    for (const TVariant v : {TVariant{3, 10}, TVariant{1, 4}}) {
        SCOPED_TRACE(Name(v));
        sim::TDkSimState state = Instrument(v, 40);
        state.Echo = true;
        Serve(state);
        ASSERT_EQ(DkDownload(Ui, Port(), *Data), Result::Success);
        ExpectDataSetMatches(Simulator->State(), *Data);
        EXPECT_EQ(CommandsSent(), ExpectedCommands(v));
    }
}

TEST_F(DosikaLineDownload, MeasuringInstrumentNotStopped) {
    sim::TDkSimState state = Instrument({2, 5}, 20);
    state.Measuring = true;
    Serve(state);
    TScriptedUserInterface user;
    user.YesNoAnswers = {false};
    EXPECT_EQ(DkDownload(user, Port(), *Data), Result::Declined);
    EXPECT_EQ(user.Questions, std::vector<std::string>{"Stop measurement?"});
    ExpectEmpty();
    EXPECT_TRUE(Simulator->State().Measuring);
    // The first refusal ended the reading; nothing was stopped.
    EXPECT_EQ(CommandsSent(), (Bytes{0x40}));
}

TEST_F(DosikaLineDownload, MeasuringInstrumentStoppedAndRead) {
    sim::TDkSimState state = Instrument({5, 10}, 20);
    state.Measuring = true;
    Serve(state);
    TScriptedUserInterface user;
    user.YesNoAnswers = {true};
    ASSERT_EQ(DkDownload(user, Port(), *Data), Result::Success);
    EXPECT_EQ(user.Questions, std::vector<std::string>{"Stop measurement?"});
    EXPECT_FALSE(Simulator->State().Measuring);
    ExpectDataSetMatches(Simulator->State(), *Data);
    Bytes expected{0x40, 0x33};
    const Bytes all = ExpectedCommands({5, 10});
    expected.insert(expected.end(), all.begin(), all.end());
    EXPECT_EQ(CommandsSent(), expected);
}

TEST_F(DosikaLineDownload, PostExposureAnalysisCannotBeStopped) {
    sim::TDkSimState state = Instrument({1, 5}, 20);
    state.Measuring = true;
    state.PostExposure = true;
    Serve(state);
    TScriptedUserInterface user;
    user.YesNoAnswers = {true};
    EXPECT_EQ(DkDownload(user, Port(), *Data), Result::PostExposureLock);
    ExpectEmpty();
    EXPECT_TRUE(Simulator->State().Measuring);
    EXPECT_EQ(CommandsSent(), (Bytes{0x40, 0x33}));
}

TEST_F(DosikaLineDownload, FailedDownloadLeavesNothingOfTheLastOne) {
    Serve(Instrument({3, 9}, 30));
    ASSERT_EQ(DkDownload(Ui, Port(), *Data), Result::Success);
    ASSERT_TRUE(Data->Valid);
    Serve(Instrument({3, 9}, 30), {"oddblock"});
    EXPECT_EQ(DkDownload(Ui, Port(), *Data), Result::PartialRecord);
    ExpectEmpty();
}

struct TFaultCase {
    const char* Name;
    const char* Fault;
    TVariant Variant;
    Byte Expected;
};
void PrintTo(const TFaultCase& c, std::ostream* out) {
    *out << c.Fault << " on " << Name(c.Variant);
}

class BrokenAnswer : public DosikaLineDownload, public ::testing::WithParamInterface<TFaultCase> {};

TEST_P(BrokenAnswer, GivesItsResultAndNoData) {
    const TFaultCase& c = GetParam();
    Serve(Instrument(c.Variant, 60), {c.Fault});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DkDownload(Ui, Port(), *Data), c.Expected);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    ExpectEmpty();
    if (c.Expected == Result::NoAnswer) {
        EXPECT_GE(elapsed, ReadTimeOut); // the closing frame was waited for
    }
    EXPECT_FALSE(Ui.ProgressVisible);
}

INSTANTIATE_TEST_SUITE_P(
    DosikaFamily, BrokenAnswer,
    ::testing::Values(
        // Most of the record block arrives, the closing frame never.
        TFaultCase{"RecordsWithoutClosingFrame", "noend:cmd:0x61", {1, 5}, Result::NoAnswer},
        TFaultCase{"RecordsCutAfterThreeFrames", "noend@3:cmd:0x61", {2, 10}, Result::NoAnswer},
        TFaultCase{"SpectrumWithoutClosingFrame", "noend:cmd:0x60", {3, 10}, Result::NoAnswer},
        TFaultCase{"IdentitySilent", "silent:1", {4, 5}, Result::NoAnswer},
        TFaultCase{"SpectrumDataChecksum", "checksum@2:cmd:0x60", {1, 5}, Result::FrameError},
        TFaultCase{"RecordsClosingFrameChecksum", "checksum@8:cmd:0x61", {1, 5}, Result::FrameError},
        TFaultCase{"IdentityLengthComplement", "complement:1", {5, 5}, Result::FrameError},
        TFaultCase{"RecordsLengthComplement", "complement@3:cmd:0x61", {6, 5}, Result::FrameError},
        TFaultCase{"SetupLengthComplement", "complement:cmd:0x53", {2, 5}, Result::FrameError},
        TFaultCase{"OddDosikaBlock", "oddblock", {1, 4}, Result::PartialRecord},
        TFaultCase{"OddMorvelBlock", "oddblock", {3, 10}, Result::PartialRecord},
        TFaultCase{"OddPaddedBlock", "oddblock", {5, 10}, Result::PartialRecord},
        TFaultCase{"BlockLengthOff", "blocklength", {4, 5}, Result::LengthMismatch},
        TFaultCase{"DosikaSpectrumOfTheOthers", "spectrumsize", {1, 5}, Result::LengthMismatch},
        TFaultCase{"OthersSpectrumOfTheDosika", "spectrumsize", {2, 5}, Result::LengthMismatch},
        TFaultCase{"SetupRejected", "reject:cmd:0x51", {3, 9}, Result::UnexpectedResponse}),
    [](const ::testing::TestParamInfo<TFaultCase>& param) { return std::string(param.param.Name); });

} // namespace
} // namespace lumetra::test
