// The Halvo commands over a pseudo-terminal with the simulated instrument: the request
// bytes it receives, the decoding of its answers, the state each command changes.

#include "core/Errors.h"
#include "halvo/HalvoProtocol.h"
#include "support/SimulatedHalvo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <ctime>

namespace lumetra::test {
namespace {

using sim::THalvoFaultKind;
using sim::THalvoSelector;

sim::THalvoSimState Instrument(Byte type, Byte software) {
    sim::THalvoSimState state;
    state.DeviceType = type;
    state.SoftwareVersion = software;
    state.DeviceNumber = 0xA1B2;
    state.UniCon = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0xFEDC};
    state.Offset = 7;
    state.ROILevel = {3, 11, 19, 27, 35};
    return state;
}

// Fields the identity steps must not touch are preset to this.
THlvInitValues Sentinel() {
    THlvInitValues v;
    v.UniCon5 = 0x5555;
    v.UniCon6 = 0x6666;
    v.Offset = 99;
    v.ROILevel = {{91, 92, 93, 94, 95}};
    return v;
}

using HlvCommandsTest = THalvoLineTest;

TEST_F(HlvCommandsTest, IdentityOfASingleCounterTypeIsStepOneOnly) {
    ASSERT_TRUE(Serve(Instrument(1, 5)));
    THlvInitValues v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::Success);
    EXPECT_EQ(RequestPayloads(), (std::vector<Bytes>{{0x0C, 0x06, 0x06, 0x00}}));
    EXPECT_EQ(v.DeviceType, 1);
    EXPECT_EQ(v.SoftwareVersion, 5);
    EXPECT_EQ(v.DeviceNumber, 0xA1B2);
    EXPECT_EQ(v.UniCon1, 0x0102);
    EXPECT_EQ(v.UniCon2, 0x0304);
    EXPECT_EQ(v.UniCon3, 0x0506);
    EXPECT_EQ(v.UniCon4, 0x0708);
    EXPECT_EQ(v.UniCon5, 0x5555);
    EXPECT_EQ(v.UniCon6, 0x6666);
    EXPECT_EQ(v.Offset, 99);
    EXPECT_EQ(v.ROILevel, (THlvROILevel{{91, 92, 93, 94, 95}}));
}

TEST_F(HlvCommandsTest, IdentityOfSpectrumTypesBySoftwareVersion) {
    // Software 2: identity and regions, not the two extra constants.
    ASSERT_TRUE(Serve(Instrument(4, 2)));
    THlvInitValues v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::Success);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x11}));
    EXPECT_EQ(v.DeviceType, 4);
    EXPECT_EQ(v.Offset, 7);
    EXPECT_EQ(v.ROILevel, (THlvROILevel{{3, 11, 19, 27, 35}}));
    EXPECT_EQ(v.UniCon4, 0x0708);
    EXPECT_EQ(v.UniCon5, 0x5555);
    EXPECT_EQ(v.UniCon6, 0x6666);

    for (const Byte type : {Byte{4}, Byte{6}, Byte{10}}) {
        ASSERT_TRUE(Serve(Instrument(type, 3)));
        v = Sentinel();
        EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::Success) << "type " << int{type};
        EXPECT_EQ(RequestPayloads(), (std::vector<Bytes>{{0x0C, 0x06, 0x06, 0x00}, {0x11}, {0x13}}));
        EXPECT_EQ(v.DeviceType, type);
        EXPECT_EQ(v.SoftwareVersion, 3);
        EXPECT_EQ(v.Offset, 7);
        EXPECT_EQ(v.ROILevel, (THlvROILevel{{3, 11, 19, 27, 35}}));
        EXPECT_EQ(v.UniCon5, 0x090A);
        EXPECT_EQ(v.UniCon6, 0xFEDC);
    }
}

TEST_F(HlvCommandsTest, IdentityFailures) {
    // Status 22: the instrument needs a newer program.
    sim::THalvoSimState state = Instrument(4, 3);
    state.TooNew = true;
    ASSERT_TRUE(Serve(state));
    THlvInitValues v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::InstrumentTooNew);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C}));
    EXPECT_EQ(v.DeviceType, 0);

    // Any other status: unexpected.
    ASSERT_TRUE(Serve(Instrument(1, 5), {HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Command, 12)}));
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::UnexpectedResponse);

    // A failing region step keeps what step 1 decoded and sends no step 3.
    ASSERT_TRUE(Serve(Instrument(6, 4), {HalvoFault(THalvoFaultKind::Silent, THalvoSelector::Command, 17)}));
    v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::NoAnswer);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C, 0x11}));
    EXPECT_EQ(v.DeviceType, 6);
    EXPECT_EQ(v.UniCon1, 0x0102);
    EXPECT_EQ(v.Offset, 99);

    ASSERT_TRUE(Serve(Instrument(10, 4), {HalvoFault(THalvoFaultKind::BadEnd, THalvoSelector::Command, 19)}));
    v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::FrameError);
    EXPECT_EQ(v.Offset, 7);
    EXPECT_EQ(v.UniCon5, 0x5555);
}

TEST_F(HlvCommandsTest, SetupWriteAndReadBack) {
    ASSERT_TRUE(Serve(Instrument(3, 8)));
    THlvSetupValues written;
    written.SampleInterval = 60;
    written.SetupWord = 0x0011;
    written.AlarmLevel = 300;
    EXPECT_EQ(HlvWriteSetupValues(Ui, Port, written), Result::Success);
    EXPECT_EQ(RequestPayloads(), (std::vector<Bytes>{{0x0F, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00}}));
    const auto state = Simulator->State();
    EXPECT_EQ(state.SampleInterval, 60);
    EXPECT_EQ(state.SetupWord, 0x0011);
    EXPECT_EQ(state.AlarmLevel, 300);

    THlvSetupValues read;
    EXPECT_EQ(HlvReadSetupValues(Ui, Port, read), Result::Success);
    EXPECT_EQ(read, written);
    EXPECT_EQ(RequestPayloads().back(), Bytes{0x10});

    // All four bytes of the level, lowest first; a high setup word byte.
    written = {180, 0xA57E, -2};
    EXPECT_EQ(HlvWriteSetupValues(Ui, Port, written), Result::Success);
    EXPECT_EQ(RequestPayloads().back(), (Bytes{0x0F, 0xB4, 0x7E, 0xA5, 0xFE, 0xFF, 0xFF, 0xFF}));
    written = {10, 0x0102, 0x12345678};
    EXPECT_EQ(HlvWriteSetupValues(Ui, Port, written), Result::Success);
    EXPECT_EQ(RequestPayloads().back(), (Bytes{0x0F, 0x0A, 0x02, 0x01, 0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(HlvReadSetupValues(Ui, Port, read), Result::Success);
    EXPECT_EQ(read, written);

    Simulator->AddFault(HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Command, 15));
    EXPECT_EQ(HlvWriteSetupValues(Ui, Port, written), Result::UnexpectedResponse);
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Garble, THalvoSelector::Command, 16));
    read = {};
    EXPECT_EQ(HlvReadSetupValues(Ui, Port, read), Result::FrameError);
    EXPECT_EQ(read, THlvSetupValues{});
}

TEST_F(HlvCommandsTest, SetClockSendsTwoDigitYearAndIgnoresStatus) {
    ASSERT_TRUE(Serve(Instrument(1, 5)));
    std::setlocale(LC_TIME, "C");
    const TDeviceTime when{56, 34, 12, 15, 3, 2017};
    std::string text;
    EXPECT_EQ(HlvSetClock(Ui, Port, when, text), Result::Success);
    EXPECT_EQ(RequestPayloads(), (std::vector<Bytes>{{0x05, 56, 34, 12, 15, 3, 17}}));
    const auto clock = Simulator->State().Clock;
    EXPECT_EQ(clock, (sim::THalvoClock{2017, 3, 15, 12, 34, 56}));
    EXPECT_EQ(text, "03/15/17 12:34");

    // A refusal still counts as set: only the exchange is the result.
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Command, 5));
    EXPECT_EQ(HlvSetClock(Ui, Port, TDeviceTime{0, 0, 0, 1, 1, 2030}, text), Result::Success);
    EXPECT_EQ(RequestPayloads().back(), (Bytes{0x05, 0, 0, 0, 1, 1, 30}));
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Silent, THalvoSelector::Command, 5));
    EXPECT_EQ(HlvSetClock(Ui, Port, when, text), Result::NoAnswer);

    // The computer's clock: the instrument ends up within a few seconds of it.
    EXPECT_EQ(HlvSetClock(Ui, Port, text), Result::Success);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto set = Simulator->State().Clock;
    EXPECT_EQ(set.Year, local.tm_year + 1900);
    EXPECT_EQ(set.Month, local.tm_mon + 1);
    const int setSeconds = set.Hour * 3600 + set.Minute * 60 + set.Second;
    const int nowSeconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const int apart = std::abs(nowSeconds - setSeconds);
    EXPECT_LE(std::min(apart, 24 * 3600 - apart), 5);
}

TEST_F(HlvCommandsTest, BatteryConversionsByType) {
    struct TCase {
        Byte Type;
        Byte Software;
        std::uint16_t Raw;
        double Volts;
        Bytes Commands;
    };
    const TCase cases[] = {
        {6, 2, 1000, 3.23, {0x0C, 0x11, 0x0D}},            // 1000 x 0.00323
        {1, 5, 255, 1.65, {0x0C, 0x0D}},                   // 255 x 3.3 / 255 / 2
        {2, 5, 0x0180, 128 * 3.3 / 510, {0x0C, 0x0D}},     // one byte: the high byte is not sent
        {3, 8, 200, 200 * 3.3 / 510, {0x0C, 0x0D}},
        {4, 3, 200, 3.602, {0x0C, 0x11, 0x13, 0x0D}},      // 200 x 0.01801
        {10, 2, 0x0102, 258 * 0.01801, {0x0C, 0x11, 0x0D}},
    };
    for (const TCase& c : cases) {
        sim::THalvoSimState state = Instrument(c.Type, c.Software);
        state.BatteryRaw = c.Raw;
        ASSERT_TRUE(Serve(state));
        Real volts = -1;
        EXPECT_EQ(HlvReadBattery(Ui, Port, volts), Result::Success) << "type " << int{c.Type};
        EXPECT_NEAR(volts, c.Volts, 1e-9) << "type " << int{c.Type};
        EXPECT_EQ(RequestCommands(), c.Commands) << "type " << int{c.Type};
    }

    // The identity failing is the battery's failure; no battery request follows.
    sim::THalvoSimState state = Instrument(1, 5);
    state.TooNew = true;
    ASSERT_TRUE(Serve(state));
    Real volts = -1;
    EXPECT_EQ(HlvReadBattery(Ui, Port, volts), Result::InstrumentTooNew);
    EXPECT_EQ(RequestCommands(), (Bytes{0x0C}));
    EXPECT_EQ(volts, -1);
}

TEST_F(HlvCommandsTest, StatusOnlyCommandsChangeTheInstrument) {
    sim::THalvoSimState state = Instrument(3, 8);
    state.Records.resize(3);
    state.Measuring = false;
    state.LongInterval = false;
    ASSERT_TRUE(Serve(state));

    EXPECT_EQ(HlvLockSwitch(Ui, Port), Result::Success);
    EXPECT_TRUE(Simulator->State().Locked);
    EXPECT_EQ(HlvUnlockSwitch(Ui, Port), Result::Success);
    EXPECT_FALSE(Simulator->State().Locked);
    EXPECT_EQ(HlvSetLongInterval(Ui, Port), Result::Success);
    EXPECT_TRUE(Simulator->State().LongInterval);
    EXPECT_EQ(HlvSetShortInterval(Ui, Port), Result::Success);
    EXPECT_FALSE(Simulator->State().LongInterval);
    EXPECT_EQ(HlvStartMeasurement(Ui, Port), Result::Success);
    EXPECT_TRUE(Simulator->State().Measuring);
    EXPECT_EQ(HlvStopMeasurement(Ui, Port), Result::Success);
    EXPECT_FALSE(Simulator->State().Measuring);
    EXPECT_EQ(HlvClearMemory(Ui, Port), Result::Success);
    EXPECT_TRUE(Simulator->Records().empty());
    EXPECT_EQ(RequestPayloads(),
              (std::vector<Bytes>{{0x01}, {0x02}, {0x03}, {0x04}, {0x12}, {0x15}, {0x08}}));

    Simulator->AddFault(HalvoFault(THalvoFaultKind::Refuse, THalvoSelector::Command, 1));
    EXPECT_EQ(HlvLockSwitch(Ui, Port), Result::UnexpectedResponse);
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Silent, THalvoSelector::Command, 18));
    EXPECT_EQ(HlvStartMeasurement(Ui, Port), Result::NoAnswer);
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Short, THalvoSelector::Command, 21));
    EXPECT_EQ(HlvStopMeasurement(Ui, Port), Result::FrameError);
}

TEST_F(HlvCommandsTest, EchoingLineFailsTheCommand) {
    // The echoed request is read as the answer: its "status" is the command code.
    ASSERT_TRUE(Serve(Instrument(1, 5), {HalvoFault(THalvoFaultKind::Echo, THalvoSelector::Any, 0, 0)}));
    EXPECT_EQ(HlvLockSwitch(Ui, Port), Result::UnexpectedResponse);
    THlvInitValues v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::FrameError);
    THlvRecentValues recent;
    EXPECT_EQ(HlvReadRecentValues(Ui, Port, recent), Result::FrameError);
}

TEST_F(HlvCommandsTest, RecentValues) {
    sim::THalvoSimState state = Instrument(3, 8);
    state.Recent.Interval = 120;
    state.Recent.Minute = 59;
    state.Recent.Hour = 23;
    state.Recent.Day = 31;
    state.Recent.Month = 12;
    state.Recent.Year = 24;
    state.Recent.Radon = 1234.5f;
    state.Recent.RadonError = 7;
    state.Recent.Radon2 = -0.125f;
    state.Recent.Radon2Error = 200;
    state.Recent.Temperature = 68.25f;
    state.Recent.Humidity = 55.5f;
    state.Recent.Pressure = 29.921875f;
    state.Recent.Tilts = -70000;
    ASSERT_TRUE(Serve(state));
    THlvRecentValues v;
    EXPECT_EQ(HlvReadRecentValues(Ui, Port, v), Result::Success);
    EXPECT_EQ(RequestPayloads(), (std::vector<Bytes>{{0x14}}));
    EXPECT_EQ(v.Interval, 120);
    EXPECT_EQ(v.Time, (TDeviceTime{0, 59, 23, 31, 12, 24}));
    EXPECT_EQ(v.Radon, 1234.5f);
    EXPECT_EQ(v.RadonError, 7);
    EXPECT_EQ(v.Radon2, -0.125f);
    EXPECT_EQ(v.Radon2Error, 200);
    EXPECT_EQ(v.Temperature, 68.25f);
    EXPECT_EQ(v.Humidity, 55.5f);
    EXPECT_EQ(v.Pressure, 29.921875f);
    EXPECT_EQ(v.Tilts, -70000);
}

TEST_F(HlvCommandsTest, TcpIpBridgeNeverTouchesTheSerialLine) {
    ASSERT_TRUE(Serve(Instrument(1, 5)));
    Port.Bridge = 2;
    THlvInitValues v = Sentinel();
    EXPECT_EQ(HlvReadInitValues(Ui, Port, v), Result::NoTcpIpConnection);
    EXPECT_EQ(HlvLockSwitch(Ui, Port), Result::NoTcpIpConnection);
    // The ZigBee bit alone stays on the serial port.
    Port.Bridge = 4;
    EXPECT_EQ(HlvLockSwitch(Ui, Port), Result::Success);
    EXPECT_EQ(RequestCommands(), (Bytes{0x01}));
}

TEST_F(HlvCommandsTest, ClosedPort) {
    ASSERT_TRUE(Serve(Instrument(1, 5)));
    TComPort closed = Port;
    closed.Handle = InvalidHandle;
    THlvInitValues v;
    EXPECT_EQ(HlvReadInitValues(Ui, closed, v), Result::PortNotOpen);
    Real volts = 0;
    EXPECT_EQ(HlvReadBattery(Ui, closed, volts), Result::PortNotOpen);
    EXPECT_TRUE(RequestPayloads().empty());
}

} // namespace
} // namespace lumetra::test
