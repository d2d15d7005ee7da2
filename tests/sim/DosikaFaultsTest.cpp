// Scripted faults of the simulated Dosika-family instrument.

#include "DosikaSimFixture.h"

namespace lumetra::test {
namespace {

using sim::TDkFault;
using sim::TDkFaultKind;
using sim::TDkSelector;
using sim::TDkSimState;

TDkSimState ThreeDosikaRecords() {
    TDkSimState s;
    s.DeviceType = 1;
    s.SoftwareVersion = 5;
    s.Records.resize(3);
    return s;
}

TDkFault OnCommand(TDkFaultKind kind, std::uint8_t command, std::uint32_t frame = 0) {
    TDkFault f;
    f.Kind = kind;
    f.Selector = TDkSelector::Command;
    f.Value = command;
    f.Frame = frame;
    return f;
}

using DosikaFaultsTest = DosikaSimFixture;

TEST_F(DosikaFaultsTest, DownloadWithoutItsClosingFrame) {
    Serve(ThreeDosikaRecords(), {OnCommand(TDkFaultKind::NoEnd, 0x61), OnCommand(TDkFaultKind::NoEnd, 0x60, 1)});
    EXPECT_TRUE(Line->Write(Command(0x61)));
    auto frames = ReadFrames(500);
    ASSERT_EQ(frames.size(), 2u); // status and the one data frame, then silence
    EXPECT_EQ(frames[1].Payload.size(), 6u + 33u);
    EXPECT_TRUE(Line->Write(Command(0x60)));
    frames = ReadFrames(500);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Payload, Bytes{0x00});
    // Each fault hit only once.
    EXPECT_EQ(Download(Command(0x61)).size(), 39u);
}

TEST_F(DosikaFaultsTest, DamagedFrames) {
    Serve(ThreeDosikaRecords(),
          {OnCommand(TDkFaultKind::Checksum, 0x60, 2), OnCommand(TDkFaultKind::Complement, 0x40)});
    EXPECT_TRUE(Line->Write(Command(0x60)));
    const auto frames = ReadFrames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[0].ChecksumOk);
    EXPECT_FALSE(frames[1].ChecksumOk);
    EXPECT_TRUE(frames[1].ComplementOk);
    EXPECT_TRUE(frames[2].ChecksumOk);
    const Bytes identity = Ask(Command(0x40), 12);
    ASSERT_EQ(identity.size(), 12u);
    EXPECT_EQ(identity[1], 0x85);
    EXPECT_EQ(identity[2], 0x7B); // 0x7A expected
}

TEST_F(DosikaFaultsTest, RecordBlocksThatDoNotAddUp) {
    Serve(ThreeDosikaRecords(), {OnCommand(TDkFaultKind::OddBlock, 0x61), OnCommand(TDkFaultKind::SpectrumSize, 0x60)});
    Simulator->AddFault({TDkFaultKind::BlockLength, TDkSelector::FromRequest, 3, 1, 0, 0});
    Bytes block = Download(Command(0x61));
    ASSERT_EQ(block.size(), 6u + 11u * 3u + 1u);
    EXPECT_EQ(LittleEndian(block, 0, 2), 40u);
    EXPECT_EQ(Download(Command(0x60)).size(), 240u);
    block = Download(Command(0x61));
    ASSERT_EQ(block.size(), 39u);
    EXPECT_EQ(LittleEndian(block, 0, 2), 40u);
}

TEST_F(DosikaFaultsTest, SilenceRefusalAndEchoOfSingleRequests) {
    Serve(ThreeDosikaRecords(), {TDkFault{TDkFaultKind::Silent, TDkSelector::FromRequest, 2, 1, 0, 0},
                                 OnCommand(TDkFaultKind::Refuse, 0x43), OnCommand(TDkFaultKind::Echo, 0x50)});
    EXPECT_EQ(Ask(Command(0x40), 12).size(), 12u);
    EXPECT_TRUE(Ask(Command(0x40), 12, 300).empty());
    EXPECT_EQ(Ask(Command(0x40), 12).size(), 12u);
    EXPECT_EQ(Ask(Command(0x43), 7), (Bytes{0x42, 0x80, 0x7F, 0x01, 0x01, 0x00, 0x45}));
    const Bytes echoed = Ask(Command(0x50), 7 + 10);
    EXPECT_EQ(Bytes(echoed.begin(), echoed.begin() + 7), Command(0x50));
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_TRUE(log[1].Answer.empty());
    EXPECT_EQ(log[4].Answer, echoed);
}

TEST(DosikaFaultText, Parsing) {
    TDkFault f;
    std::string error;
    ASSERT_TRUE(sim::ParseDkFault("checksum@2:cmd:0x61:3", f, error)) << error;
    EXPECT_EQ(f.Kind, TDkFaultKind::Checksum);
    EXPECT_EQ(f.Frame, 2u);
    EXPECT_EQ(f.Selector, TDkSelector::Command);
    EXPECT_EQ(f.Value, 0x61u);
    EXPECT_EQ(f.Count, 3u);
    ASSERT_TRUE(sim::ParseDkFault("silent:3:2", f, error));
    EXPECT_EQ(f.Selector, TDkSelector::FromRequest);
    EXPECT_EQ(f.Value, 3u);
    EXPECT_EQ(f.Count, 2u);
    ASSERT_TRUE(sim::ParseDkFault("noend:cmd:97", f, error));
    EXPECT_EQ(f.Value, 0x61u);
    EXPECT_EQ(f.Count, 1u);
    ASSERT_TRUE(sim::ParseDkFault("echo", f, error));
    EXPECT_EQ(f.Selector, TDkSelector::Any);
    EXPECT_EQ(f.Count, 0u);
    for (const char* bad : {"bogus", "silent@2", "noend@0", "noend@", "silent:0", "silent:cmd", "silent:cmd:0x100",
                            "silent:1:2:3", "checksum@x", "oddblock:cmd:0x61:y"}) {
        EXPECT_FALSE(sim::ParseDkFault(bad, f, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace lumetra::test
