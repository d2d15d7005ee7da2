// Decoding one data answer of each record format, and the time stamp check.

#include "halvo/HalvoDownload.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumetra {
namespace {

using Bytes = std::vector<Byte>;

TEST(HlvRecordLength, ByTypeAndSoftware) {
    for (const int type : {1, 2}) {
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 0), 16);
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 12), 16);
    }
    for (const int type : {3, 5, 7, 8, 9}) {
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 7), 32) << type;
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 8), 16) << type;
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 255), 16) << type;
    }
    for (const int type : {4, 6, 10}) {
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 1), 128);
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 12), 128);
    }
    for (const int type : {0, 11, 255}) {
        EXPECT_EQ(HlvRecordLength(static_cast<Byte>(type), 8), 0);
    }
}

TEST(HlvDecodeRecord, TypeOneExample) {
    const Bytes d = {0x0A, 0x0B, 0x0F, 0x03, 0x11, 0x3C, 0x80, 0x64,
                     0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01, 0xF4};
    TInstrumentRecord r;
    ASSERT_TRUE(HlvDecodeRecord(1, 5, d.data(), r));
    EXPECT_EQ(r.Time, (TDeviceTime{0, 10, 11, 15, 3, 2017}));
    EXPECT_EQ(r.SampleInterval, 60);
    EXPECT_EQ(r.HumidityRaw, 128);
    EXPECT_EQ(r.TemperatureRaw, 100);
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Counts, 500);
    EXPECT_EQ(r.PressureRaw, 0);
}

TEST(HlvDecodeRecord, ClimateTypesBeforeAndFromSoftware8) {
    // Bytes 6.. : 11 22 33 44 55 66 77 88 99 AA BB CC (then zeros).
    Bytes d(32, 0);
    const Bytes head = {5, 6, 7, 8, 18, 30};
    std::copy(head.begin(), head.end(), d.begin());
    for (std::size_t k = 0; k < 12; ++k) {
        d[6 + k] = static_cast<Byte>(0x11 * (k + 1));
    }
    TInstrumentRecord r;
    ASSERT_TRUE(HlvDecodeRecord(3, 7, d.data(), r));
    EXPECT_EQ(r.Time, (TDeviceTime{0, 5, 6, 7, 8, 2018}));
    EXPECT_EQ(r.HumidityRaw, 0x11);
    EXPECT_EQ(r.TemperatureRaw, 0x22);
    EXPECT_EQ(r.Status, 0x33445566);
    EXPECT_EQ(r.Counts, 0x778899AA);
    EXPECT_EQ(r.PressureRaw, 0xBBCC);

    ASSERT_TRUE(HlvDecodeRecord(9, 8, d.data(), r));
    EXPECT_EQ(r.HumidityRaw, 0x11);
    EXPECT_EQ(r.TemperatureRaw, 0x22);
    EXPECT_EQ(r.PressureRaw, 0x3344);
    EXPECT_EQ(r.Status, 0x5566);
    EXPECT_EQ(r.Counts, 0x778899AA);
}

TEST(HlvDecodeRecord, SpectrumChannelsLowByteFirst) {
    Bytes d(128, 0);
    const Bytes head = {0, 0, 1, 1, 20, 120, 0x01, 0x40, 0x01, 0x2C, 0x0B, 0xB8};
    std::copy(head.begin(), head.end(), d.begin());
    d[12] = 0x01;
    d[13] = 0x02;
    d[14] = 0x03;
    d[123] = 0xFF; // channel 38: the last three bytes before the unused two
    d[124] = 0xFE;
    d[125] = 0xFD;
    d[126] = 0x77;
    d[127] = 0x77;
    TInstrumentRecord r;
    ASSERT_TRUE(HlvDecodeRecord(6, 4, d.data(), r));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.HumidityRaw, 0x40);
    EXPECT_EQ(r.TemperatureRaw, 0x012C);
    EXPECT_EQ(r.PressureRaw, 0x0BB8);
    EXPECT_EQ(r.Counts, 0);
    EXPECT_EQ(r.Channels[1], 3 * 65536 + 2 * 256 + 1);
    EXPECT_EQ(r.Channels[38], 0xFD * 65536 + 0xFE * 256 + 0xFF);
    for (std::size_t k = 2; k <= 37; ++k) {
        EXPECT_EQ(r.Channels[k], 0) << k;
    }
}

TEST(HlvDecodeRecord, TimeStampCheck) {
    struct TCase {
        Bytes Head; // minute, hour, day, month, year, interval
        bool Accepted;
    };
    const TCase cases[] = {
        {{59, 24, 31, 12, 0, 1}, true}, {{0, 0, 1, 1, 255, 255}, true}, {{60, 0, 1, 1, 17, 60}, false},
        {{0, 25, 1, 1, 17, 60}, false}, {{0, 0, 32, 1, 17, 60}, false}, {{0, 0, 1, 13, 17, 60}, false},
        {{0, 0, 1, 1, 17, 0}, false},   {{0, 0, 0, 1, 17, 60}, false},  {{0, 0, 1, 0, 17, 60}, false},
    };
    for (const TCase& c : cases) {
        Bytes d(16, 0);
        std::copy(c.Head.begin(), c.Head.end(), d.begin());
        TInstrumentRecord r;
        r.Counts = 42;
        EXPECT_EQ(HlvDecodeRecord(1, 5, d.data(), r), c.Accepted)
            << int{c.Head[0]} << " " << int{c.Head[1]} << " " << int{c.Head[2]} << " " << int{c.Head[3]} << " "
            << int{c.Head[5]};
        if (c.Accepted) {
            EXPECT_EQ(r.Time.Year, 2000 + c.Head[4]);
            EXPECT_EQ(r.Time.Second, 0);
        } else {
            EXPECT_EQ(r.Counts, 42); // a rejected record leaves the slot as it was
        }
    }
}

} // namespace
} // namespace lumetra
