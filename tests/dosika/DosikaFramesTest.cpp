// The frame layer on byte vectors: checksum, request bytes, frame comparison, joining.

#include "dosika/DosikaFrames.h"

#include "DkTestLine.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

TDkFrame FrameOf(Byte kind, const Bytes& payload) {
    TDkFrame frame;
    frame.FrameKind = kind;
    frame.PayloadLength = static_cast<Byte>(payload.size());
    std::copy(payload.begin(), payload.end(), frame.Payload.begin());
    return frame;
}

TEST(DkChecksum, WrapsAtSixteenBits) {
    // 257 bytes of 255 and one of 6: 65535 + 6 = 65536 + 5.
    Bytes bytes(257, 0xFF);
    bytes.push_back(6);
    EXPECT_EQ(DkChecksum(bytes.data(), bytes.size()), 5);
    // The largest sum one frame can carry does not wrap: 128 x 255 = 32640 = 0x7F80.
    const Bytes full(128, 0xFF);
    EXPECT_EQ(DkChecksum(full.data(), full.size()), 0x7F80);
    EXPECT_EQ(DkChecksum(bytes.data(), 0), 0);
}

TEST(DkRequestBytes, IdentityRequestIsSevenBytes) {
    const Bytes expected{0x42, 0x80, 0x7F, 0x40, 0x40, 0x00, 0x45};
    EXPECT_EQ(DkRequestBytes(DkCommandFrame({0x40})), expected);
}

TEST(DkRequestBytes, FullPayloadAndCommandFlag) {
    Bytes payload(128);
    for (std::size_t k = 0; k < payload.size(); ++k) {
        payload[k] = static_cast<Byte>(k + 100); // sums to 128 x 100 + 127 x 64 = 20928 = 0x51C0
    }
    const Bytes sent = DkRequestBytes(FrameOf(DkFrameKind::Command, payload));
    ASSERT_EQ(sent.size(), 134u);
    EXPECT_EQ(sent[1], 0xFF);
    EXPECT_EQ(sent[2], 0x00);
    EXPECT_EQ(sent[131], 0xC0);
    EXPECT_EQ(sent[132], 0x51);
    EXPECT_EQ(sent[133], 0x45);
    // Any kind but 1 goes out with the flag clear.
    const Bytes data = DkRequestBytes(FrameOf(DkFrameKind::Data, payload));
    EXPECT_EQ(data[1], 0x7F);
    EXPECT_EQ(data[2], 0x80);
    EXPECT_EQ(DkRequestBytes(FrameOf(DkFrameKind::Echo, {0x01}))[1], 0x00);
}

TEST(DkRequestBytes, LengthOutsideTheFrameLimitsGivesNothing) {
    EXPECT_TRUE(DkRequestBytes(FrameOf(DkFrameKind::Command, {})).empty());
    TDkFrame tooLong = FrameOf(DkFrameKind::Command, {0x01});
    tooLong.PayloadLength = 129;
    EXPECT_TRUE(DkRequestBytes(tooLong).empty());
    // A command frame takes at most 128 bytes.
    EXPECT_EQ(DkCommandFrame(Bytes(200, 7)).PayloadLength, 128);
}

TEST(TDkFrame, ComparesLengthKindAndThePayloadInUse) {
    TDkFrame a = FrameOf(DkFrameKind::Command, {0x40, 0x01});
    TDkFrame b = FrameOf(DkFrameKind::Command, {0x40, 0x01});
    b.Payload[5] = 0x99; // beyond the length: not compared
    EXPECT_EQ(a, b);
    EXPECT_NE(a, FrameOf(DkFrameKind::Data, {0x40, 0x01}));
    EXPECT_NE(a, FrameOf(DkFrameKind::Command, {0x40}));
    EXPECT_NE(a, FrameOf(DkFrameKind::Command, {0x40, 0x02}));
}

TEST(JoinDataFrames, TakesOnlyDataFramesUpToTheCount) {
    TDkResponseBuffer responses;
    responses.Frames = {FrameOf(DkFrameKind::Command, {0x00}), FrameOf(DkFrameKind::Data, {1, 2, 3}),
                        FrameOf(DkFrameKind::Echo, {9}), FrameOf(DkFrameKind::Data, {4, 5}),
                        FrameOf(DkFrameKind::Command, {0x04}), FrameOf(DkFrameKind::Data, {6})};
    responses.Count = 5; // the last frame is left over from an earlier answer
    TDkPayloadBuffer joined;
    joined.Bytes = {0xEE}; // an earlier join is replaced
    JoinDataFrames(responses, joined);
    EXPECT_EQ(joined.Bytes, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(joined.TotalLength, 5u);

    // A count beyond the frames held reads no further than they go.
    responses.Count = 40;
    JoinDataFrames(responses, joined);
    EXPECT_EQ(joined.TotalLength, 6u);
}

TEST(JoinDataFrames, LengthDoesNotWrapPastSixteenBits) {
    TDkResponseBuffer responses;
    responses.Frames.assign(513, FrameOf(DkFrameKind::Data, Bytes(128, 1)));
    responses.Count = 513;
    TDkPayloadBuffer joined;
    JoinDataFrames(responses, joined);
    EXPECT_EQ(joined.TotalLength, 513u * 128u); // 65664, not 128
}

TEST(TDkResponseBuffer, FrameOutsideTheBufferIsEmpty) {
    TDkResponseBuffer responses;
    EXPECT_EQ(responses.Frame(1).PayloadLength, 0);
    EXPECT_EQ(responses.Frame(0).PayloadLength, 0);
    responses.Frames.push_back(FrameOf(DkFrameKind::Command, {7}));
    EXPECT_EQ(responses.Frame(1).Payload[0], 7);
    EXPECT_EQ(responses.Frame(2).PayloadLength, 0);
}

} // namespace
} // namespace lumetra::test
