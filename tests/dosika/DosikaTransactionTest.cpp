// The frame transaction over a pseudo-terminal whose far end answers with bytes written
// here by hand.

#include "dosika/DosikaFrames.h"

#include "DkTestLine.h"
#include "core/Errors.h"
#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumetra::test {
namespace {

TDkTestLine::TResponder Always(Bytes answer) {
    return [answer](const Bytes&) -> TReply { return {TChunk{0, answer}}; };
}

TDkTestLine::TResponder Silent() {
    return [](const Bytes&) -> TReply { return {}; };
}

// Answers every request with its own echo followed by `answer`.
TDkTestLine::TResponder Echoing(Bytes answer) {
    return [answer](const Bytes& request) -> TReply { return {TChunk{0, Join({DkAnswer(request), answer})}}; };
}

Byte Transact(TScriptedUserInterface& ui, const TDkTestLine& line, const TDkFrame& request,
              TDkResponseBuffer& responses, Word expected, int timeout = 300) {
    return DkFrameTransaction(ui, line.Port(timeout), request, DkByteDelay, responses, DkStopCode, expected);
}

TEST(DkFrameTransaction, SendsTheRequestAndStoresTheReply) {
    TDkTestLine line(Always(DkAnswer({0x00, 0x02, 0x0A, 0x39, 0x30})));
    ASSERT_TRUE(line.IsOpen());
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1), Result::Success);
    EXPECT_EQ(responses.Count, 1);
    const TDkFrame& reply = responses.Frame(1);
    EXPECT_EQ(reply.PayloadLength, 5);
    EXPECT_EQ(reply.FrameKind, DkFrameKind::Command);
    EXPECT_EQ(reply.Payload[4], 0x30);
    ASSERT_EQ(line.RawRequests().size(), 1u);
    EXPECT_EQ(line.RawRequests()[0], (Bytes{0x42, 0x80, 0x7F, 0x40, 0x40, 0x00, 0x45}));
    // The entry pause, then one byte delay after configuring and after each of 7 bytes.
    const auto& pauses = ui.ManualClock.Pauses;
    ASSERT_EQ(pauses.size(), 9u);
    EXPECT_EQ(pauses[0], 100u);
    EXPECT_TRUE(std::all_of(pauses.begin() + 1, pauses.end(), [](auto p) { return p == 1; }));
    // An ordinary command shows no progress.
    EXPECT_TRUE(ui.ProgressPositions.empty());
}

TEST(DkFrameTransaction, AcceptsAFullLengthAnswer) {
    Bytes payload(128, 0xFF);
    payload[0] = 0;
    TDkTestLine line(Always(DkAnswer(payload)));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1), Result::Success);
    EXPECT_EQ(responses.Frame(1).PayloadLength, 128);
    EXPECT_EQ(responses.Frame(1).Payload[127], 0xFF);
}

TEST(DkFrameTransaction, EchoIsDiscardedAndTheReplyTakesSlotOne) {
    TDkTestLine line(Echoing(DkAnswer({0x00, 0x01})));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1), Result::Success);
    EXPECT_EQ(responses.Count, 1);
    EXPECT_EQ(responses.Frame(1).PayloadLength, 2);
    EXPECT_EQ(responses.Frame(1).Payload[1], 0x01);
}

TEST(DkFrameTransaction, OnlyTheFirstFrameCanBeTheEcho) {
    // A download: echo, status, then a data frame that happens to equal the request's
    // payload but arrives later, and the closing frame.
    TDkTestLine line(Echoing(Join({DkAnswer({0x00}), DkData({0x61}), DkAnswer({0x04})})));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x61}), responses, 0), Result::Success);
    EXPECT_EQ(responses.Count, 3);
    EXPECT_EQ(responses.Frame(2).FrameKind, DkFrameKind::Data);
    EXPECT_EQ(responses.Frame(2).Payload[0], 0x61);
}

TEST(DkFrameTransaction, NoResponseCases) {
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    {
        TDkTestLine line(Silent());
        EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1, 100), Result::NoAnswer);
    }
    {
        // A link that only echoes: the instrument is not there.
        TDkTestLine line(Echoing({}));
        EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1, 100), Result::NoAnswer);
    }
    {
        // The closing frame never comes: a time-out after stored frames is still 3.
        TDkTestLine line(Always(Join({DkAnswer({0x00}), DkData({1, 2, 3})})));
        responses.Count = 7;
        EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x60}), responses, 0, 100), Result::NoAnswer);
        EXPECT_EQ(responses.Count, 7); // a failure leaves the count alone
        EXPECT_FALSE(ui.ProgressVisible);
    }
}

TEST(DkFrameTransaction, FaultyFramesGiveFrameError) {
    const Bytes good = DkAnswer({0x00, 0x05});
    Bytes complement = good;
    complement[2] ^= 0x01;
    Bytes start = good;
    start[0] = 0x43;
    Bytes checksum = good;
    checksum[5] ^= 0x01;
    Bytes end = good;
    end.back() = 0x46;
    const Bytes shortHeader{0x42, 0x81};
    const Bytes shortPayload{0x42, 0x81, 0x7E, 0x00};
    const Bytes shortTrailer{0x42, 0x81, 0x7E, 0x00, 0x05, 0x05};
    for (const Bytes& answer : {complement, start, checksum, end, shortHeader, shortPayload, shortTrailer}) {
        TDkTestLine line(Always(answer));
        TScriptedUserInterface ui;
        TDkResponseBuffer responses;
        EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1, 100), Result::FrameError)
            << ::testing::PrintToString(answer);
        EXPECT_EQ(responses.Count, 0);
    }
}

TEST(DkFrameTransaction, OneExpectedFrameEndsAtTheFirstFrameWhateverItsFlag) {
    TDkTestLine line(Always(Join({DkData({0x11}), DkAnswer({0x22})})));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1), Result::Success);
    EXPECT_EQ(responses.Count, 1);
    EXPECT_EQ(responses.Frame(1).FrameKind, DkFrameKind::Data);
    EXPECT_EQ(responses.Frame(1).Payload[0], 0x11);
}

TEST(DkFrameTransaction, DownloadCollectsUntilTheClosingFrame) {
    // The status frame has the flag set but is not the stop code; a data frame whose
    // first byte is 4 does not close either.
    TDkTestLine line(Always(Join({DkAnswer({0x00}), DkData({0x04, 0x01}), DkData({0x02}), DkAnswer({0x04})})));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x61}), responses, 0), Result::Success);
    EXPECT_EQ(responses.Count, 4);
    EXPECT_EQ(responses.Frame(4).FrameKind, DkFrameKind::Command);
    // Progress: cleared, then the number of every frame awaited.
    EXPECT_EQ(ui.ProgressPositions, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(ui.ProgressVisible);
}

TEST(DkFrameTransaction, PortNotOpenAndBadRequestLength) {
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    TComPort closed;
    EXPECT_EQ(DkFrameTransaction(ui, closed, DkCommandFrame({0x40}), 1, responses, 4, 0), Result::PortNotOpen);
    EXPECT_FALSE(ui.ProgressVisible);
    EXPECT_EQ(ui.ManualClock.Pauses.front(), 100u);

    TDkTestLine line(Always(DkAnswer({0x00})));
    TDkFrame empty = DkCommandFrame({0x40});
    empty.PayloadLength = 0;
    EXPECT_EQ(Transact(ui, line, empty, responses, 1), Result::RequestLength);
    TDkFrame tooLong = DkCommandFrame({0x40});
    tooLong.PayloadLength = 129;
    EXPECT_EQ(Transact(ui, line, tooLong, responses, 1), Result::RequestLength);
    // Nothing went out, not even a start byte: the next request is answered normally.
    EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x40}), responses, 1), Result::Success);
    EXPECT_EQ(line.StrayBytes(), 0u);
    EXPECT_EQ(line.RawRequests().size(), 1u);
}

TEST(DkFrameTransaction, MoreFramesThanTheBufferHoldsNeverOverflow) {
    Bytes flood = DkAnswer({0x00});
    const Bytes one = DkData({0x07});
    for (std::size_t k = 0; k < DkResponseCapacity + 10; ++k) {
        flood.insert(flood.end(), one.begin(), one.end());
    }
    TDkTestLine line(Always(flood));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    EXPECT_EQ(Transact(ui, line, DkCommandFrame({0x61}), responses, 0, 2000), Result::UnexpectedResponse);
    EXPECT_LE(responses.Frames.size(), DkResponseCapacity);
    EXPECT_EQ(responses.Count, 0);
    EXPECT_FALSE(ui.ProgressVisible);
}

TEST(DkFrameTransaction, LargestRecordAnswerFits) {
    // A status frame, 512 full data frames (65536 bytes, more than a block can be) and
    // the closing frame.
    Bytes answer = DkAnswer({0x00});
    const Bytes full = DkData(Bytes(128, 0x01));
    for (int k = 0; k < 512; ++k) {
        answer.insert(answer.end(), full.begin(), full.end());
    }
    const Bytes closing = DkAnswer({0x04});
    answer.insert(answer.end(), closing.begin(), closing.end());
    TDkTestLine line(Always(answer));
    TScriptedUserInterface ui;
    TDkResponseBuffer responses;
    ASSERT_EQ(Transact(ui, line, DkCommandFrame({0x61}), responses, 0, 2000), Result::Success);
    EXPECT_EQ(responses.Count, 514);
    TDkPayloadBuffer joined;
    JoinDataFrames(responses, joined);
    EXPECT_EQ(joined.TotalLength, 65536u);
}

} // namespace
} // namespace lumetra::test
