// Scripted faults and the robustness of the simulator's frame reader.

#include "SimFixture.h"

#include <sys/stat.h>
#include <unistd.h>

namespace lumetra::test {
namespace {

using sim::THalvoFault;
using sim::THalvoFaultKind;
using sim::THalvoSelector;
using sim::THalvoSimState;

const Bytes kIdentity{0x42, 0x83, 0x7C, 0x0C, 0x06, 0x06, 0x00, 0x18, 0x00, 0x45};
const Bytes kFirstRecord{0x42, 0x80, 0x7F, 0x06, 0x06, 0x00, 0x45};
const Bytes kNextRecord{0x42, 0x80, 0x7F, 0x07, 0x07, 0x00, 0x45};
const Bytes kReadSetup{0x42, 0x80, 0x7F, 0x10, 0x10, 0x00, 0x45};
// Interval 60, setup word 0, alarm level 300.
const Bytes kSetupAnswer{0x42, 0x87, 0x78, 0x0A, 0x3C, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x73, 0x00, 0x45};

THalvoSimState ThreeRecords() {
    THalvoSimState state;
    for (std::uint8_t i = 1; i <= 3; ++i) {
        sim::THalvoSimRecord r;
        r.Day = 1;
        r.Month = 2;
        r.Hour = i;
        r.Counts = i;
        state.Records.push_back(r);
    }
    return state;
}

std::uint8_t HourOfRecordAnswer(const Bytes& answer) { return answer.size() == 22 ? answer[4] : 0xFF; }

using HalvoFaultsTest = SimFixture;

TEST_F(HalvoFaultsTest, SilencedRecordRequestsAreOfferedTheSameRecordOnRetry) {
    Serve(ThreeRecords(), {THalvoFault{THalvoFaultKind::Silent, THalvoSelector::Record, 2, 2}});
    EXPECT_EQ(HourOfRecordAnswer(Ask(kFirstRecord, 22)), 1);
    EXPECT_TRUE(Ask(kNextRecord, 22, 300).empty());
    EXPECT_TRUE(Ask(kNextRecord, 22, 300).empty());
    EXPECT_EQ(HourOfRecordAnswer(Ask(kNextRecord, 22)), 2);
    EXPECT_EQ(HourOfRecordAnswer(Ask(kNextRecord, 22)), 3);

    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_TRUE(log[1].Answer.empty());
    EXPECT_TRUE(log[2].Answer.empty());
    EXPECT_EQ(log[2].Frame, kNextRecord);
    EXPECT_EQ(log[3].Index, 4u);
}

TEST_F(HalvoFaultsTest, DamagedAnswers) {
    Serve(THalvoSimState{}, {THalvoFault{THalvoFaultKind::Garble, THalvoSelector::FromRequest, 1, 1},
                             THalvoFault{THalvoFaultKind::BadEnd, THalvoSelector::FromRequest, 2, 1},
                             THalvoFault{THalvoFaultKind::Short, THalvoSelector::FromRequest, 3, 1},
                             THalvoFault{THalvoFaultKind::Echo, THalvoSelector::FromRequest, 4, 1}});
    Bytes garbled = kSetupAnswer;
    garbled[3] = 0xF5;
    Bytes badEnd = kSetupAnswer;
    badEnd.back() = 0x00;
    EXPECT_EQ(Ask(kReadSetup, 14), garbled);
    EXPECT_EQ(Ask(kReadSetup, 14), badEnd);
    EXPECT_EQ(Ask(kReadSetup, 14, 300), Bytes(kSetupAnswer.begin(), kSetupAnswer.begin() + 5));
    Bytes echoed = kReadSetup;
    echoed.insert(echoed.end(), kSetupAnswer.begin(), kSetupAnswer.end());
    EXPECT_EQ(Ask(kReadSetup, 21), echoed);
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer); // every fault used up
}

TEST_F(HalvoFaultsTest, RefusalOfACommand) {
    Serve(THalvoSimState{}, {THalvoFault{THalvoFaultKind::Refuse, THalvoSelector::Command, 0x10, 1}});
    EXPECT_EQ(Ask(kReadSetup, 14, 300), (Bytes{0x42, 0x80, 0x7F, 0xFF, 0xFF, 0x00, 0x45}));
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer);
}

TEST_F(HalvoFaultsTest, MuteInstrumentLogsButNeverAnswers) {
    THalvoSimState state;
    state.Mute = true;
    Serve(state);
    EXPECT_TRUE(Ask(kIdentity, 19, 300).empty());
    ASSERT_EQ(Simulator->RequestLog().size(), 1u);
    EXPECT_EQ(Simulator->RequestLog()[0].Frame, kIdentity);
}

TEST_F(HalvoFaultsTest, ReaderSkipsGarbageAndIgnoresBrokenFrames) {
    Serve(THalvoSimState{});
    // Stray bytes, a start byte with a wrong complement, then a real request.
    Bytes noisy{0x00, 0x45, 0x42, 0x80, 0x80};
    noisy.insert(noisy.end(), kReadSetup.begin(), kReadSetup.end());
    EXPECT_EQ(Ask(noisy, 14), kSetupAnswer);
    // A cut-off request right before a whole one: the scan resumes inside the broken
    // frame and finds the real one.
    Bytes cut{0x42, 0x80, 0x7F};
    cut.insert(cut.end(), kReadSetup.begin(), kReadSetup.end());
    EXPECT_EQ(Ask(cut, 14), kSetupAnswer);
    // Bad checksum, then bad end byte: no answer to either.
    EXPECT_TRUE(Ask({0x42, 0x80, 0x7F, 0x10, 0x11, 0x00, 0x45}, 1, 300).empty());
    EXPECT_TRUE(Ask({0x42, 0x80, 0x7F, 0x10, 0x10, 0x00, 0x46}, 1, 300).empty());
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_FALSE(log[1].Valid);
    EXPECT_EQ(log[1].Index, 0u);
    EXPECT_EQ(log[2].Index, 2u);
    EXPECT_FALSE(log[3].Valid);
    EXPECT_FALSE(log[4].Valid);
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer);
    EXPECT_EQ(Simulator->RequestLog().back().Index, 3u); // broken frames are not counted
}

TEST_F(HalvoFaultsTest, OwnAnswersEchoedByTheLineAreNotAnswered) {
    Serve(THalvoSimState{});
    EXPECT_TRUE(Ask({0x42, 0x80, 0x7F, 0x0A, 0x0A, 0x00, 0x45}, 1, 300).empty()); // our status 10
    EXPECT_TRUE(Ask({0x42, 0x00, 0xFF, 0x10, 0x10, 0x00, 0x45}, 1, 300).empty()); // no command flag
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer);
    const auto log = Simulator->RequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].Valid);
    EXPECT_EQ(log[0].Index, 0u);
    EXPECT_FALSE(log[1].CommandFlag);
    EXPECT_EQ(log[2].Index, 1u);
}

TEST_F(HalvoFaultsTest, TornFrameIsDroppedAfterAPauseAndTheRequestInsideIsServed) {
    Serve(THalvoSimState{});
    // The header claims six payload bytes, so the real request is swallowed until the
    // line has been quiet for a while.
    Bytes torn{0x42, 0x05, 0xFA};
    torn.insert(torn.end(), kReadSetup.begin(), kReadSetup.end());
    EXPECT_EQ(Ask(torn, 14, 3 * sim::TPtyServer::kInputGapMs), kSetupAnswer);
}

TEST_F(HalvoFaultsTest, AnswerDelay) {
    THalvoSimState state;
    state.AnswerDelayMs = 400;
    Serve(state);
    EXPECT_TRUE(Ask(kReadSetup, 14, 100).empty());
    EXPECT_EQ(Line->Read(14, 2000), kSetupAnswer);
}

TEST_F(HalvoFaultsTest, LinkSurvivesClientReopenAndIsRemovedOnStop) {
    // A stale link is replaced.
    ASSERT_EQ(symlink("/nonexistent", LinkPath().c_str()), 0);
    Serve(THalvoSimState{});
    Line.reset(); // a client closing must not hang the line up
    Line = std::make_unique<TClientLine>(LinkPath());
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer);
    Line.reset();
    Line = std::make_unique<TClientLine>(Server->SlavePath());
    EXPECT_EQ(Ask(kReadSetup, 14), kSetupAnswer);
    Server->Stop();
    struct stat st {};
    EXPECT_NE(lstat(LinkPath().c_str(), &st), 0);
}

TEST_F(HalvoFaultsTest, StartRefusesToReplaceARegularFile) {
    WriteBytes(LinkPath(), {1, 2, 3});
    sim::THalvoSimulator simulator;
    sim::TPtyServer server(simulator);
    std::string error;
    EXPECT_FALSE(server.Start(LinkPath(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(LinkPath()), (Bytes{1, 2, 3}));
}

} // namespace
} // namespace lumetra::test
