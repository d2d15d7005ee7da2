// One frame exchange over a pseudo-terminal with the simulated Halvo instrument: the
// bytes on the line, the answer checks, every result code.

#include "core/Errors.h"
#include "links/InstrumentAdapter.h"
#include "support/SimulatedHalvo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/ioctl.h>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace lumetra::test {
namespace {

using sim::THalvoFaultKind;
using sim::THalvoSelector;
using SteadyClock = std::chrono::steady_clock;

long MillisecondsSince(SteadyClock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
}

sim::THalvoSimState SetupInstrument() {
    sim::THalvoSimState state;
    state.DeviceType = 1;
    state.SampleInterval = 60;
    state.SetupWord = 0x0011;
    state.AlarmLevel = 300;
    state.BatteryRaw = 0x37;
    return state;
}

// The setup-read answer payload for interval 60, setup word 0x0011, alarm level 300:
// status, interval, word low first, level low first.
const Bytes SetupAnswer = {0x0A, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00};

class SerialExchangeTest : public THalvoLineTest {
protected:
    // A setup read (request [0x10], 8 bytes expected).
    Byte ReadSetup(Byte& flag) {
        Buffer.fill(0xEE);
        Buffer[0] = 0x10;
        flag = 1;
        return ExchangeFrame(Ui.Clock(), Port, flag, 1, Buffer, 8);
    }
    Bytes Head(std::size_t n) const { return Bytes(Buffer.begin(), Buffer.begin() + static_cast<long>(n)); }

    TFrameBuffer Buffer{};
};

TEST_F(SerialExchangeTest, RequestBytesAndAnswer) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    Byte flag = 1;
    const auto start = SteadyClock::now();
    EXPECT_EQ(ReadSetup(flag), Result::Success);
    const long elapsed = MillisecondsSince(start);

    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Frame, (Bytes{0x42, 0x80, 0x7F, 0x10, 0x10, 0x00, 0x45}));
    EXPECT_EQ(Head(8), SetupAnswer);
    EXPECT_EQ(Buffer[8], 0); // the rest of the buffer is cleared, not the caller's bytes
    EXPECT_EQ(flag, 1);

    // Each of the 7 bytes is written on its own and followed by 5 ms.
    EXPECT_EQ(Ui.SplitClock.RealPauses, 7);
    EXPECT_GE(elapsed, 35);
    EXPECT_LT(elapsed, ReadTimeOut); // a complete answer is not waited out
}

TEST_F(SerialExchangeTest, RequestWithoutCommandFlag) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    Buffer[0] = 0x10;
    Byte flag = 0;
    // The instrument ignores a frame without the command flag.
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 1, Buffer, 8), Result::NoAnswer);
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Frame, (Bytes{0x42, 0x00, 0xFF, 0x10, 0x10, 0x00, 0x45}));
}

TEST_F(SerialExchangeTest, ShorterAnswerTakenAtItsLength) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    // The battery answer of a type 1 is 2 bytes; ask for 8.
    Buffer.fill(0xEE);
    Buffer[0] = 0x0D;
    Byte flag = 1;
    const auto start = SteadyClock::now();
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 1, Buffer, 8), Result::Success);
    const long elapsed = MillisecondsSince(start);
    EXPECT_EQ(Head(3), (Bytes{0x0A, 0x37, 0x00}));
    EXPECT_EQ(flag, 1);
    // Only the end of the read time tells that nothing more comes.
    EXPECT_GE(elapsed, ReadTimeOut);
    EXPECT_LT(elapsed, ReadTimeOut + 300);
}

TEST_F(SerialExchangeTest, WrongEndByteKeepsPayload) {
    ASSERT_TRUE(Serve(SetupInstrument(), {HalvoFault(THalvoFaultKind::BadEnd, THalvoSelector::Command, 16)}));
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::FrameError);
    EXPECT_EQ(Head(8), SetupAnswer);
    EXPECT_EQ(flag, 1);
}

TEST_F(SerialExchangeTest, GarbledAnswer) {
    // Inverting the status byte breaks the checksum.
    ASSERT_TRUE(Serve(SetupInstrument(), {HalvoFault(THalvoFaultKind::Garble, THalvoSelector::Command, 16)}));
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::FrameError);
    EXPECT_EQ(Buffer[0], 0xF5);
    EXPECT_EQ(Buffer[1], 0x3C);
    // A garbled control byte: its complement no longer matches.
    Simulator->AddFault(HalvoFault(THalvoFaultKind::Garble, THalvoSelector::Command, 16, 1, 1));
    EXPECT_EQ(ReadSetup(flag), Result::FrameError);
    // Then the line is clean again.
    EXPECT_EQ(ReadSetup(flag), Result::Success);
    EXPECT_EQ(Head(8), SetupAnswer);
}

TEST_F(SerialExchangeTest, CutAnswersAreFaulty) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    for (const int kept : {1, 3, 5, 6, 9}) {
        Simulator->AddFault(HalvoFault(THalvoFaultKind::Short, THalvoSelector::Command, 16, 1, kept));
        Byte flag = 1;
        EXPECT_EQ(ReadSetup(flag), Result::FrameError) << kept << " bytes kept";
    }
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::Success);
}

TEST_F(SerialExchangeTest, SilentInstrument) {
    sim::THalvoSimState state = SetupInstrument();
    state.Mute = true;
    ASSERT_TRUE(Serve(state));
    Byte flag = 1;
    const auto start = SteadyClock::now();
    EXPECT_EQ(ReadSetup(flag), Result::NoAnswer);
    const long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, ReadTimeOut);
    EXPECT_LT(elapsed, ReadTimeOut + 300);
    EXPECT_EQ(flag, 1);            // left as it was
    EXPECT_EQ(Head(8), Bytes(8, 0)); // the request is gone all the same
    EXPECT_EQ(RequestCommands(), (Bytes{0x10}));
}

TEST_F(SerialExchangeTest, EchoIsTakenAsTheAnswer) {
    ASSERT_TRUE(Serve(SetupInstrument(), {HalvoFault(THalvoFaultKind::Echo, THalvoSelector::Any, 0, 0)}));
    // The 7-byte echo and the start of the answer fill the 14 bytes read: faulty.
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::FrameError);
    // Where the answer expected is one byte, the echo is a well-formed frame and is
    // taken for it: the "status" is the command code.
    Buffer[0] = 0x01;
    flag = 1;
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 1, Buffer, 1), Result::Success);
    EXPECT_EQ(Buffer[0], 0x01);
    EXPECT_EQ(flag, 1);
}

TEST_F(SerialExchangeTest, EveryExchangeStartsWithEmptyBuffers) {
    ASSERT_TRUE(Serve(SetupInstrument(), {HalvoFault(THalvoFaultKind::Echo, THalvoSelector::Any, 0, 1)}));
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::FrameError);
    // Half of the answer to the echoed request is still waiting on the line.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadSetup(flag), Result::Success);
    EXPECT_EQ(Head(8), SetupAnswer);
}

TEST_F(SerialExchangeTest, PortNotOpenSendsNothing) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    TComPort closed = Port;
    closed.Handle = InvalidHandle;
    Buffer[0] = 0x10;
    Byte flag = 1;
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), closed, flag, 1, Buffer, 8), Result::PortNotOpen);
    EXPECT_EQ(Buffer[0], 0x10);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(Simulator->RequestLog().empty());
}

TEST_F(SerialExchangeTest, RequestLengthOutOfRangeSendsNothing) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    Buffer.fill(0x10);
    Byte flag = 1;
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 0, Buffer, 8), Result::RequestLength);
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 129, Buffer, 8), Result::RequestLength);
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 255, Buffer, 8), Result::RequestLength);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(Simulator->RequestLog().empty());
    EXPECT_EQ(Ui.SplitClock.RealPauses, 0);
}

TEST_F(SerialExchangeTest, LongestRequest) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    // 128 payload bytes reach the instrument intact (it refuses the unknown command).
    for (std::size_t k = 0; k < 128; ++k) {
        Buffer[k] = static_cast<Byte>(0x80 + k);
    }
    Byte flag = 1;
    EXPECT_EQ(ExchangeFrame(Ui.Clock(), Port, flag, 128, Buffer, 1), Result::Success);
    EXPECT_EQ(Buffer[0], 255);
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 1u);
    ASSERT_EQ(log[0].Frame.size(), 134u);
    EXPECT_TRUE(log[0].Valid);
    EXPECT_EQ(log[0].Frame[1], 0xFF);
    EXPECT_EQ(log[0].Payload[127], 0xFF);
}

TEST_F(SerialExchangeTest, MarkParityLineStillExchanges) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    Port.Baudrate = 1; // 115200 with mark parity, which a pseudo-terminal refuses
    Byte flag = 1;
    EXPECT_EQ(ReadSetup(flag), Result::Success);
    EXPECT_EQ(Head(8), SetupAnswer);
}

TEST_F(SerialExchangeTest, PortReopensAfterClose) {
    ASSERT_TRUE(Serve(SetupInstrument()));
    Byte flag = 1;
    ASSERT_EQ(ReadSetup(flag), Result::Success);
    const int probe = ::open(LinkPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    int exclusive = 0;
    ASSERT_EQ(::ioctl(probe, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    CloseComPort(Port.Handle);
    Port.Handle = InvalidHandle;
    ASSERT_EQ(::ioctl(probe, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(probe);

    Port.Handle = OpenComPort(LinkPath());
    ASSERT_NE(Port.Handle, InvalidHandle);
    EXPECT_EQ(ReadSetup(flag), Result::Success);
}

} // namespace
} // namespace lumetra::test
