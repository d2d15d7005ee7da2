// Spectrum and record answers of the simulated Dosika-family instrument: frame
// splitting, record layouts per type and firmware, and the generated data.

#include "DosikaSimFixture.h"
#include "dosika/DosikaSimSeries.h"

namespace lumetra::test {
namespace {

using sim::TDkSimRecord;
using sim::TDkSimState;

TDkSimState OfType(std::uint8_t type, std::uint8_t software) {
    TDkSimState s;
    s.DeviceType = type;
    s.SoftwareVersion = software;
    s.StartTime = {0, 30, 10, 5, 1};
    return s;
}

TDkSimRecord Record(std::uint8_t status, std::array<std::uint32_t, 5> counters) {
    TDkSimRecord r;
    r.Status = status;
    r.Counters = counters;
    return r;
}

using DosikaDownloadTest = DosikaSimFixture;

TEST_F(DosikaDownloadTest, DosikaSpectrumIsSplitAt128Bytes) {
    TDkSimState s = OfType(1, 5);
    s.Spectrum[0] = 0x000102;
    s.Spectrum[42] = 0x123456; // bytes 126..128: across the frame boundary
    s.Spectrum[49] = 0xFFFFFF;
    s.Spectrum[50] = 0x55; // beyond the 50 channels a Dosika sends
    Serve(s);
    // Status frame, 128 + 22 data bytes, closing frame.
    const Bytes raw = Ask(Command(0x60), 7 + 134 + 28 + 7);
    ASSERT_EQ(raw.size(), 176u);
    EXPECT_EQ(Bytes(raw.begin(), raw.begin() + 7), (Bytes{0x42, 0x80, 0x7F, 0x00, 0x00, 0x00, 0x45}));
    EXPECT_EQ(Bytes(raw.begin() + 7, raw.begin() + 13), (Bytes{0x42, 0x7F, 0x80, 0x02, 0x01, 0x00}));
    EXPECT_EQ(raw[7 + 3 + 126], 0x56);
    EXPECT_EQ(raw[7 + 3 + 127], 0x34);
    EXPECT_EQ(Bytes(raw.begin() + 141, raw.begin() + 145), (Bytes{0x42, 0x15, 0xEA, 0x12}));
    EXPECT_EQ(Bytes(raw.end() - 7, raw.end()), (Bytes{0x42, 0x80, 0x7F, 0x04, 0x04, 0x00, 0x45}));

    const Bytes joined = Download(Command(0x60));
    ASSERT_EQ(joined.size(), 150u);
    EXPECT_EQ(LittleEndian(joined, 42 * 3, 3), 0x123456u);
    EXPECT_EQ(LittleEndian(joined, 49 * 3, 3), 0xFFFFFFu);
}

TEST_F(DosikaDownloadTest, OtherTypesSendSixtyChannelsOfFourBytes) {
    TDkSimState s = OfType(6, 5);
    for (std::size_t i = 0; i < 60; ++i) {
        s.Spectrum[i] = static_cast<std::uint32_t>(i * 0x01010101u);
    }
    Serve(s);
    EXPECT_TRUE(Line->Write(Command(0x60)));
    const auto frames = ReadFrames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[1].Payload.size(), 128u);
    EXPECT_EQ(frames[2].Payload.size(), 112u);
    const Bytes joined = Download(Command(0x60));
    ASSERT_EQ(joined.size(), 240u);
    EXPECT_EQ(LittleEndian(joined, 59 * 4, 4), 59u * 0x01010101u);
}

TEST_F(DosikaDownloadTest, DosikaBlockOfThreeRecords) {
    TDkSimState s = OfType(1, 4);
    s.Records = {Record(60, {1, 2, 3, 4, 5}), Record(58, {0x100, 0, 0, 0, 0x1234}), Record(60, {65535, 0, 0, 0, 0})};
    Serve(s);
    // 6 + 11 x 3 = 39 bytes; start 10:30 on 5 January.
    const Bytes expected{0x27, 0x00, 0x1E, 0x0A, 0x05, 0x01,                                   //
                         0x3C, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00, //
                         0x3A, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x34, 0x12, //
                         0x3C, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Download(Command(0x61)), expected);
}

TEST_F(DosikaDownloadTest, RecordLayoutsByTypeAndFirmware) {
    TDkSimRecord r = Record(60, {1, 2, 3, 4, 0x01020304});
    r.ExtraCounter = 0x0A0B0C0D;
    r.TemperatureCode = 95;
    r.HumidityCode = 96;
    const struct {
        std::uint8_t Type, Software;
        std::size_t Size;
    } cases[] = {{1, 10, 32}, {2, 5, 21}, {2, 10, 32}, {3, 9, 25}, {4, 5, 21}, {5, 5, 23}, {5, 10, 32}, {6, 10, 21}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << " software " << int(c.Software));
        TDkSimState s = OfType(c.Type, c.Software);
        s.Records = {r, r};
        Serve(s);
        const Bytes block = Download(Command(0x61));
        ASSERT_EQ(block.size(), 6 + 2 * c.Size);
        EXPECT_EQ(LittleEndian(block, 0, 2), block.size());
        const std::size_t at = 6 + c.Size; // the second record
        EXPECT_EQ(block[at], 60);
        const std::size_t width = c.Type == 1 ? 2 : 4;
        EXPECT_EQ(LittleEndian(block, at + 1 + 2 * width, width), 3u);
        EXPECT_EQ(LittleEndian(block, at + 1 + 4 * width, width), c.Type == 1 ? 0x0304u : 0x01020304u);
        if (c.Type == 3) {
            EXPECT_EQ(LittleEndian(block, at + 21, 4), 0x0A0B0C0Du);
        }
        if (c.Type == 5) {
            EXPECT_EQ(block[at + 21], 95);
            EXPECT_EQ(block[at + 22], 96);
        }
    }
}

TEST_F(DosikaDownloadTest, LargestBlockFillsTheLengthField) {
    TDkSimState s = OfType(1, 5);
    s.Records.assign(5958, Record(60, {1, 1, 1, 1, 1})); // one more than fits
    Serve(s);
    EXPECT_TRUE(Line->Write(Command(0x61)));
    const auto frames = ReadFrames(5000);
    // 6 + 5957 x 11 = 65533 bytes: 511 full frames and one of 125.
    ASSERT_EQ(frames.size(), 514u);
    EXPECT_EQ(frames[511].Payload.size(), 128u);
    EXPECT_EQ(frames[512].Payload.size(), 125u);
    EXPECT_EQ(LittleEndian(frames[1].Payload, 0, 2), 65533u);
}

TEST_F(DosikaDownloadTest, GeneratedRecordsAgreeWithTheSumSpectrum) {
    for (const std::uint8_t type : {std::uint8_t{1}, std::uint8_t{3}, std::uint8_t{5}}) {
        SCOPED_TRACE(int(type));
        TDkSimState s = sim::DkSimDefaultState(type, 5);
        sim::TDkSeries series;
        series.Count = 100;
        series.Interval = 30;
        sim::GenerateDkData(s, series);
        ASSERT_EQ(s.Records.size(), 100u);
        EXPECT_EQ(s.SampleInterval, 30);
        for (std::size_t k = 0; k < 5; ++k) {
            std::uint64_t records = 0, spectrum = 0;
            for (const TDkSimRecord& r : s.Records) {
                records += r.Counters[k];
                EXPECT_LE(r.Status, 30);
            }
            for (std::size_t c = s.Roi[k].Lower; c <= s.Roi[k].Upper; ++c) {
                spectrum += s.Spectrum[c];
            }
            EXPECT_EQ(records, spectrum) << "ROI " << k + 1;
            EXPECT_GT(records, 0u);
        }
        if (type == 1) {
            EXPECT_EQ(s.Spectrum[50], 0u);
        }
        TDkSimState again = sim::DkSimDefaultState(type, 5);
        sim::GenerateDkData(again, series);
        EXPECT_EQ(again.Records, s.Records);
        series.Seed = 2;
        sim::GenerateDkData(again, series);
        EXPECT_NE(again.Records, s.Records);
    }
}

} // namespace
} // namespace lumetra::test
