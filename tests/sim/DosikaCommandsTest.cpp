// The simulated Dosika-family instrument's command set, byte for byte.

#include "DosikaSimFixture.h"

namespace lumetra::test {
namespace {

using sim::TDkSimState;

const Bytes kOk{0x42, 0x80, 0x7F, 0x00, 0x00, 0x00, 0x45};
const Bytes kRefused{0x42, 0x80, 0x7F, 0x01, 0x01, 0x00, 0x45};
const Bytes kUnknown{0x42, 0x80, 0x7F, 0xFF, 0xFF, 0x00, 0x45};
// Type 1, software 5, serial 4321 = 0x10E1, family 1.
const Bytes kIdentityAnswer{0x42, 0x85, 0x7A, 0x00, 0x01, 0x05, 0xE1, 0x10, 0x01, 0xF8, 0x00, 0x45};

TDkSimState Dosika() {
    TDkSimState s;
    s.DeviceType = 1;
    s.SoftwareVersion = 5;
    s.SerialNumber = 4321;
    s.Offset = 3;
    s.Roi = {{{28, 31}, {32, 34}, {35, 38}, {40, 43}, {46, 49}}};
    s.BetaLower = 2;
    s.BetaUpper = 20;
    s.Cal = {50, 40, 26, 21, 0, 0};
    return s;
}

TDkSimState OfType(std::uint8_t type, std::uint8_t software) {
    TDkSimState s = Dosika();
    s.DeviceType = type;
    s.SoftwareVersion = software;
    return s;
}

using DosikaCommandsTest = DosikaSimFixture;

TEST_F(DosikaCommandsTest, IdentityRegionsAndCalibration) {
    Serve(Dosika());
    EXPECT_EQ(Ask(Command(0x40), 12), kIdentityAnswer);
    // Offset 3, ROI 1-3 counted from 0.
    EXPECT_EQ(Ask(Command(0x41), 14),
              (Bytes{0x42, 0x87, 0x78, 0x00, 0x03, 0x1C, 0x1F, 0x20, 0x22, 0x23, 0x26, 0xC9, 0x00, 0x45}));
    // ROI 4, 5 and the beta window.
    EXPECT_EQ(Ask(Command(0x42), 13), (Bytes{0x42, 0x86, 0x79, 0x00, 0x28, 0x2B, 0x2E, 0x31, 0x02, 0x14, 0xC8, 0x00, 0x45}));
    EXPECT_EQ(Ask(Command(0x43), 11), (Bytes{0x42, 0x84, 0x7B, 0x00, 0x32, 0x28, 0x1A, 0x15, 0x89, 0x00, 0x45}));
    EXPECT_EQ(Ask(Command(0x44), 9), (Bytes{0x42, 0x82, 0x7D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x45}));

    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].Frame, (Bytes{0x42, 0x80, 0x7F, 0x40, 0x40, 0x00, 0x45}));
    EXPECT_EQ(log[0].Answer, kIdentityAnswer);
    EXPECT_EQ(log[4].Index, 5u);
}

TEST_F(DosikaCommandsTest, CalibrationWritesAndTheCommandsATypeLacks) {
    Serve(OfType(4, 5));
    EXPECT_EQ(Ask({0x42, 0x84, 0x7B, 0x13, 0x0A, 0x14, 0x1E, 0x28, 0x77, 0x00, 0x45}, 7), kOk);
    EXPECT_EQ(Ask({0x42, 0x82, 0x7D, 0x14, 0x23, 0x07, 0x3E, 0x00, 0x45}, 7), kOk);
    EXPECT_EQ(Ask(Command(0x43), 11), (Bytes{0x42, 0x84, 0x7B, 0x00, 0x0A, 0x14, 0x1E, 0x28, 0x64, 0x00, 0x45}));
    EXPECT_EQ(Simulator->State().Cal, (std::array<std::uint8_t, 6>{10, 20, 30, 40, 35, 7}));

    // Neither the Morvel nor the Senra-P has the second calibration block; only the
    // analog sensors have the value reads.
    for (const std::uint8_t type : {std::uint8_t{3}, std::uint8_t{6}}) {
        Serve(OfType(type, 5));
        EXPECT_EQ(Ask(Command(0x44), 7), kUnknown) << int(type);
        EXPECT_EQ(Ask({0x42, 0x82, 0x7D, 0x14, 0x23, 0x07, 0x3E, 0x00, 0x45}, 7), kUnknown) << int(type);
    }
    Serve(Dosika());
    EXPECT_EQ(Ask(Command(0x62), 7), kUnknown);
    EXPECT_EQ(Ask({0x42, 0x81, 0x7E, 0x40, 0x00, 0x40, 0x00, 0x45}, 7), kUnknown); // 0x40 with a stray parameter
}

TEST_F(DosikaCommandsTest, UserAndAlarmPayloadsPerType) {
    const Bytes five{0x42, 0x84, 0x7B, 0x21, 0x34, 0x12, 0xE8, 0x03, 0x52, 0x01, 0x45};   // user 0x1234, alarm 1000
    const Bytes seven{0x42, 0x86, 0x79, 0x21, 0x34, 0x12, 0xE8, 0x03, 0x80, 0x25, 0xF7, 0x01, 0x45}; // + breathing 9600
    const Bytes oldMorvel{0x42, 0x84, 0x7B, 0x21, 0x34, 0x12, 0x23, 0x0A, 0x94, 0x00, 0x45}; // beta rate 35, 10 hundreds

    Serve(OfType(2, 5));
    EXPECT_EQ(Ask(seven, 7), kUnknown);
    EXPECT_EQ(Ask(five, 7), kOk);
    EXPECT_EQ(Ask(Command(0x51), 13), (Bytes{0x42, 0x86, 0x79, 0x00, 0x34, 0x12, 0xE8, 0x03, 0xA4, 0x1F, 0xF4, 0x01, 0x45}));

    Serve(OfType(3, 9));
    EXPECT_EQ(Ask(oldMorvel, 7), kOk);
    EXPECT_EQ(Simulator->State().BetaDetectionRate, 35);
    EXPECT_EQ(Simulator->State().AlarmLevel, 1000);
    EXPECT_EQ(Ask({0x42, 0x85, 0x7A, 0x70, 0x00, 0x00, 0x00, 0x3F, 0x1C, 0xCB, 0x00, 0x45}, 7), kUnknown);

    Serve(OfType(3, 10));
    EXPECT_EQ(Ask(five, 7), kUnknown);
    EXPECT_EQ(Ask(seven, 7), kOk);
    EXPECT_EQ(Simulator->State().BreathingRate, 9600);
    // Alpha E50 0.5 (IEEE 0x3F000000), detection rate 28, read back.
    EXPECT_EQ(Ask({0x42, 0x85, 0x7A, 0x70, 0x00, 0x00, 0x00, 0x3F, 0x1C, 0xCB, 0x00, 0x45}, 7), kOk);
    EXPECT_EQ(Ask(Command(0x71), 12), (Bytes{0x42, 0x85, 0x7A, 0x00, 0x00, 0x00, 0x00, 0x3F, 0x1C, 0x5B, 0x00, 0x45}));

    Serve(OfType(5, 5));
    EXPECT_EQ(Ask(five, 7), kUnknown);
}

TEST_F(DosikaCommandsTest, AnalogSensorRangesAndValues) {
    Serve(OfType(5, 5));
    // Ranges 40000 -> 0x8028 and 32767 as is.
    EXPECT_EQ(Ask({0x42, 0x84, 0x7B, 0x22, 0x28, 0x80, 0xFF, 0x7F, 0x48, 0x02, 0x45}, 7), kOk);
    EXPECT_EQ(Simulator->State().AOut1RangeWord, 0x8028);
    EXPECT_EQ(sim::DkSimRangeValue(0x8028), 40000);
    EXPECT_EQ(sim::DkSimRangeWord(50000), 0x8032);
    EXPECT_EQ(sim::DkSimRangeWord(32767), 0x7FFF);
    EXPECT_EQ(Ask(Command(0x52), 11), (Bytes{0x42, 0x84, 0x7B, 0x00, 0x28, 0x80, 0xFF, 0x7F, 0x26, 0x02, 0x45}));
    // Radon 250 Bq/m³ +- 9 %.
    EXPECT_EQ(Ask(Command(0x62), 12), (Bytes{0x42, 0x85, 0x7A, 0x00, 0xFA, 0x00, 0x00, 0x00, 0x09, 0x03, 0x01, 0x45}));
    TDkSimState s = Simulator->State();
    s.Values.Status = 2;
    Simulator->SetState(s);
    EXPECT_EQ(Ask(Command(0x64), 9), (Bytes{0x42, 0x82, 0x7D, 0x02, 0x5F, 0x60, 0xC1, 0x00, 0x45}));
    EXPECT_EQ(Ask({0x42, 0x81, 0x7E, 0x26, 0x01, 0x27, 0x00, 0x45}, 7), kUnknown); // switch byte neither 00 nor FF
    EXPECT_EQ(Ask({0x42, 0x81, 0x7E, 0x26, 0xFF, 0x25, 0x01, 0x45}, 7), kOk);
    EXPECT_TRUE(Simulator->State().SwitchOn);
}

TEST_F(DosikaCommandsTest, MeasuringAndPostExposure) {
    TDkSimState s = OfType(5, 5);
    s.Measuring = true;
    Serve(s);
    EXPECT_EQ(Ask(Command(0x40), 7), kRefused);
    EXPECT_EQ(Ask(Command(0x62), 12).size(), 12u); // live readings still answered
    // A refused download still gets its closing frame.
    EXPECT_EQ(Ask(Command(0x61), 14), (Bytes{0x42, 0x80, 0x7F, 0x01, 0x01, 0x00, 0x45, 0x42, 0x80, 0x7F, 0x04, 0x04, 0x00, 0x45}));
    EXPECT_EQ(Ask(Command(0x33), 7), kOk);
    EXPECT_FALSE(Simulator->State().Measuring);
    EXPECT_EQ(Ask(Command(0x40), 12).size(), 12u);

    Simulator->SetMeasuring(true, true);
    EXPECT_EQ(Ask(Command(0x33), 7), (Bytes{0x42, 0x80, 0x7F, 0x05, 0x05, 0x00, 0x45}));
    EXPECT_EQ(Ask(Command(0x41), 7), kRefused);
    EXPECT_TRUE(Simulator->State().Measuring);
}

TEST_F(DosikaCommandsTest, ClockStartClearAndSwitchOff) {
    TDkSimState s = Dosika();
    s.Records.resize(3);
    s.Spectrum[10] = 7;
    Serve(s);
    // 14:45:30 on 15 March; month 13 is refused.
    EXPECT_EQ(Ask({0x42, 0x85, 0x7A, 0x30, 0x1E, 0x2D, 0x0E, 0x0F, 0x0D, 0xA5, 0x00, 0x45}, 7), kUnknown);
    EXPECT_EQ(Ask({0x42, 0x85, 0x7A, 0x30, 0x1E, 0x2D, 0x0E, 0x0F, 0x03, 0x9B, 0x00, 0x45}, 7), kOk);
    EXPECT_EQ(Ask(Command(0x34), 7), kOk);
    EXPECT_EQ(Ask(Command(0x32), 7), kOk);
    const TDkSimState after = Simulator->State();
    EXPECT_TRUE(after.Records.empty());
    EXPECT_EQ(after.Spectrum[10], 0u);
    EXPECT_TRUE(after.Measuring);
    EXPECT_EQ(after.StartTime, (sim::TDkSimTime{0, 45, 14, 15, 3}));
    EXPECT_EQ(Ask(Command(0x30), 7), kUnknown); // the clock without its five bytes
    EXPECT_EQ(Ask(Command(0x35), 7), kOk);
    EXPECT_TRUE(Ask(Command(0x40), 7, 300).empty());
    EXPECT_EQ(Simulator->RequestLog().back().Index, 7u);
}

TEST_F(DosikaCommandsTest, EchoingLink) {
    TDkSimState s = Dosika();
    s.Echo = true;
    Serve(s);
    Bytes expected = Command(0x40);
    expected.insert(expected.end(), kIdentityAnswer.begin(), kIdentityAnswer.end());
    EXPECT_EQ(Ask(Command(0x40), expected.size()), expected);
    EXPECT_EQ(Simulator->RequestLog()[0].Answer, expected);
}

TEST_F(DosikaCommandsTest, BrokenAndFlaglessFramesAreNotAnswered) {
    Serve(Dosika());
    EXPECT_TRUE(Ask({0x42, 0x80, 0x7F, 0x40, 0x41, 0x00, 0x45}, 1, 300).empty()); // checksum
    EXPECT_TRUE(Ask({0x42, 0x00, 0xFF, 0x40, 0x40, 0x00, 0x45}, 1, 300).empty()); // no command flag
    EXPECT_EQ(Ask(Command(0x40), 12), kIdentityAnswer);
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_FALSE(log[0].Valid);
    EXPECT_EQ(log[0].Index, 0u);
    EXPECT_EQ(log[1].Index, 0u);
    EXPECT_EQ(log[2].Index, 1u);
}

} // namespace
} // namespace lumetra::test
