// The instrument message frame on its own: building requests and checking answers.

#include "links/InstrumentAdapter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <vector>

namespace lumetra {
namespace {

using Bytes = std::vector<Byte>;

// An answer frame assembled by hand from the layout: start, control, complement,
// payload, checksum low/high, end.
Bytes Answer(const Bytes& payload, bool flag) {
    const auto control = static_cast<Byte>((payload.size() - 1) | (flag ? 0x80u : 0u));
    Bytes frame{0x42, control, static_cast<Byte>(0xFF - control)};
    // Appended element by element: GCC 12 at -O3 reports a false out-of-bounds copy
    // for an insert into a vector built from a short initializer list.
    std::copy(payload.begin(), payload.end(), std::back_inserter(frame));
    const unsigned sum = std::accumulate(payload.begin(), payload.end(), 0u);
    frame.push_back(static_cast<Byte>(sum % 256));
    frame.push_back(static_cast<Byte>(sum / 256 % 256));
    frame.push_back(0x45);
    return frame;
}

TEST(BuildFrame, RequestBytes) {
    const Byte request[] = {0x10};
    EXPECT_EQ(BuildFrame(request, 1, true), (Bytes{0x42, 0x80, 0x7F, 0x10, 0x10, 0x00, 0x45}));
    EXPECT_EQ(BuildFrame(request, 1, false), (Bytes{0x42, 0x00, 0xFF, 0x10, 0x10, 0x00, 0x45}));

    // Setup write: control 0x87, sum 0x0F+0x3C+0x11+0x2C+0x01 = 0x89.
    const Byte setup[] = {0x0F, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00};
    EXPECT_EQ(BuildFrame(setup, 8, true),
              (Bytes{0x42, 0x87, 0x78, 0x0F, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00, 0x89, 0x00, 0x45}));
}

TEST(BuildFrame, LengthBounds) {
    Bytes big(129, 0xFF);
    EXPECT_TRUE(BuildFrame(big.data(), 0, true).empty());
    EXPECT_TRUE(BuildFrame(big.data(), 129, true).empty());
    // 128 bytes of 0xFF: control 0xFF, complement 0x00, checksum 128 * 255 = 0x7F80.
    const Bytes frame = BuildFrame(big.data(), 128, true);
    ASSERT_EQ(frame.size(), 134u);
    EXPECT_EQ(frame[1], 0xFF);
    EXPECT_EQ(frame[2], 0x00);
    EXPECT_EQ(frame[131], 0x80);
    EXPECT_EQ(frame[132], 0x7F);
    EXPECT_EQ(frame[133], 0x45);
}

TEST(CheckAnswerFrame, ExpectedLengthAndFlag) {
    const Bytes status = Answer({0x0A, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00}, true);
    Byte payload[128] = {};
    TAnswerCheck check = CheckAnswerFrame(status.data(), status.size(), 8, payload);
    EXPECT_FALSE(check.Faulty);
    EXPECT_TRUE(check.CommandFlag);
    EXPECT_EQ(check.Length, 8u);
    EXPECT_EQ(Bytes(payload, payload + 8), (Bytes{0x0A, 0x3C, 0x11, 0x00, 0x2C, 0x01, 0x00, 0x00}));

    const Bytes record = Answer(Bytes(16, 0x42), false);
    check = CheckAnswerFrame(record.data(), record.size(), 16, payload);
    EXPECT_FALSE(check.Faulty);
    EXPECT_FALSE(check.CommandFlag);
}

TEST(CheckAnswerFrame, OtherLengthTakenAtItsOwn) {
    // 2 payload bytes where 8 were expected: 8 bytes arrived, the frame says 2.
    const Bytes shortAnswer = Answer({0x0A, 0xFF}, true);
    Byte payload[128] = {};
    TAnswerCheck check = CheckAnswerFrame(shortAnswer.data(), shortAnswer.size(), 8, payload);
    EXPECT_FALSE(check.Faulty);
    EXPECT_EQ(check.Length, 2u);
    EXPECT_EQ(payload[0], 0x0A);
    EXPECT_EQ(payload[1], 0xFF);

    // Taken at its length only if its control byte agrees: 8 bytes of a frame that
    // claims 3 payload bytes are faulty.
    Bytes lying = shortAnswer;
    lying[1] = 0x82;
    lying[2] = 0x7D;
    EXPECT_TRUE(CheckAnswerFrame(lying.data(), lying.size(), 8, payload).Faulty);
}

TEST(CheckAnswerFrame, WrongEndKeepsPayload) {
    Bytes frame = Answer({0x0A, 0x3C, 0x11, 0x00}, true);
    frame.back() = 0x00;
    Byte payload[128] = {};
    const TAnswerCheck check = CheckAnswerFrame(frame.data(), frame.size(), 4, payload);
    EXPECT_TRUE(check.Faulty);
    EXPECT_EQ(Bytes(payload, payload + 4), (Bytes{0x0A, 0x3C, 0x11, 0x00}));
}

TEST(CheckAnswerFrame, EachHeaderAndChecksumFault) {
    const Bytes good = Answer({0x01, 0x02, 0x03}, true);
    Byte payload[128] = {};
    ASSERT_FALSE(CheckAnswerFrame(good.data(), good.size(), 3, payload).Faulty);
    for (const std::size_t at : {0u, 1u, 2u, 6u, 7u, 8u}) {
        Bytes bad = good;
        bad[at] = static_cast<Byte>(bad[at] ^ 0x01);
        EXPECT_TRUE(CheckAnswerFrame(bad.data(), bad.size(), 3, payload).Faulty) << "byte " << at;
    }
    // A changed payload byte no longer matches the checksum.
    Bytes bad = good;
    bad[4] = 0x12;
    EXPECT_TRUE(CheckAnswerFrame(bad.data(), bad.size(), 3, payload).Faulty);
    EXPECT_EQ(payload[1], 0x12);
}

TEST(CheckAnswerFrame, SixOrFewerBytesAreFaulty) {
    const Bytes good = Answer({0x0A}, true);
    Byte payload[128] = {};
    for (std::size_t count = 1; count <= 6; ++count) {
        EXPECT_TRUE(CheckAnswerFrame(good.data(), count, 1, payload).Faulty) << count << " bytes";
        EXPECT_TRUE(CheckAnswerFrame(good.data(), count, 8, payload).Faulty) << count << " bytes";
    }
}

} // namespace
} // namespace lumetra
