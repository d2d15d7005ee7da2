#include "files/OlderFileFormats.h"

#include "FileTestData.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

using test::ExpectSameDataSet;
using test::FillDataSet;
using test::NativeImage;
using test::TImage;
using test::TTempDir;
using test::WriteBytes;

using TReader = TFileStatus (*)(const std::string&, TInstrumentData&);

TImage Lm3Image(const TInstrumentData& d) {
    TImage im(434736);
    im.U8(0, d.Valid ? 1 : 0);
    im.U16(2, d.NumberOfRecords);
    im.Text(4, d.Comment);
    test::PutHeader(im, 260, d.Header);
    test::PutSetup(im, 300, d.Setup);
    for (std::size_t r = 1; r <= d.NumberOfRecords; ++r) {
        test::PutRecord(im, 316 + 212 * (r - 1), d.Records[r]);
    }
    test::PutSpectrum(im, 434492, d.Spectrum);
    return im;
}

// Two .lmb records; record 2 carries the bytes that a sign or year fault would spoil.
TImage LmbImage(std::uint32_t count) {
    TImage im(360728);
    im.U8(0, 1);
    im.U16(2, count);
    im.Text(4, "Basement");
    im.I32(260, 123456);
    im.U8(264, 4);
    im.U8(265, 0xC3);
    for (std::size_t k = 0; k < 4; ++k) {
        im.U16(266 + 2 * k, static_cast<std::uint32_t>(0xF000 + k));
    }
    for (std::size_t k = 0; k < 5; ++k) {
        im.U8(274 + k, static_cast<std::uint32_t>(10 * (k + 1)));
    }
    im.U8(279, 0x85);
    for (std::size_t r = 1; r <= 2; ++r) {
        const std::size_t at = 280 + 176 * (r - 1);
        im.U8(at, 0xEE); // not read
        im.U8(at + 1, 60);
        im.U8(at + 2, static_cast<std::uint32_t>(5 + r));
        im.U8(at + 3, 7);
        im.U8(at + 4, 24);
        im.U8(at + 5, 5);
        im.U8(at + 6, r == 2 ? 17 : 99);
        im.U8(at + 7, 200);
        im.I32(at + 8, -40);
        im.I32(at + 12, 0x00ABCDEF);
        im.I32(at + 16, 1000 * static_cast<std::int32_t>(r));
        im.I32(at + 20, 3);
        for (std::size_t k = 0; k < 38; ++k) {
            im.I32(at + 24 + 4 * k, static_cast<std::int32_t>(100 * r + k));
        }
    }
    return im;
}

TImage HvbImage(std::uint32_t count) {
    TImage im(15636);
    im.U8(0, 1);
    im.I32(4, 987);
    im.U8(8, 2);
    im.U8(9, 0xA1);
    im.U16(10, count);
    for (std::size_t k = 0; k < 4; ++k) {
        im.U16(12 + 2 * k, static_cast<std::uint32_t>(0x8001 + k));
    }
    for (std::size_t r = 1; r <= count && r <= 768; ++r) {
        const std::size_t at = 20 * r;
        im.U8(at, 0xEE); // not read
        im.U8(at + 1, static_cast<std::uint32_t>(r % 60));
        im.U8(at + 2, 13);
        im.U8(at + 3, 2);
        im.U8(at + 4, 11);
        im.U8(at + 5, 19);
        im.U8(at + 6, 30);
        im.U8(at + 7, 0xF0);
        im.U8(at + 8, 250);
        im.U8(at + 9, 0xEE); // three bytes not read
        im.U8(at + 10, 0xEE);
        im.U8(at + 11, 0xEE);
        im.I32(at + 12, static_cast<std::int32_t>(r) * 7);
        im.I32(at + 16, -static_cast<std::int32_t>(r));
    }
    im.Text(15380, "Attic");
    return im;
}

class OlderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // A full Dosika set beforehand: anything a reader forgets to clear shows.
        FillDataSet(Target, 20, 42);
        Previous = Target;
    }
    template <typename TRead>
    auto Read(TRead reader, const std::vector<std::uint8_t>& bytes, const std::string& name = "f") {
        WriteBytes(Dir.File(name), bytes);
        return reader(Dir.File(name), Target);
    }
    void ExpectOnlyInvalidated() {
        TInstrumentData expected = Previous;
        expected.Valid = false;
        ExpectSameDataSet(expected, Target);
    }

    TTempDir Dir;
    TInstrumentData Target, Previous;
};

// --- .lm3 ---------------------------------------------------------------------------

TEST_F(OlderFiles, Lm3CopiesTheBlocksWhole) {
    TInstrumentData expected;
    FillDataSet(expected, 2048, 7);
    ASSERT_EQ(Read(ReadLm3File, Lm3Image(expected).Bytes), TFileStatus::Read);
    ExpectSameDataSet(expected, Target);
}

TEST_F(OlderFiles, Lm3RejectsShortBadFlagAndBadCounts) {
    TInstrumentData source;
    FillDataSet(source, 3, 7);
    TImage im = Lm3Image(source);
    std::vector<std::uint8_t> shortBlock = im.Bytes;
    shortBlock.pop_back();
    EXPECT_EQ(Read(ReadLm3File, shortBlock), TFileStatus::BlockShort);
    ExpectOnlyInvalidated();
    im.U16(2, 2049);
    EXPECT_EQ(Read(ReadLm3File, im.Bytes), TFileStatus::BlockShort);
    im.U16(2, 0);
    EXPECT_EQ(Read(ReadLm3File, im.Bytes), TFileStatus::NotValid);
    im.U16(2, 3);
    im.U8(0, 0);
    EXPECT_EQ(Read(ReadLm3File, im.Bytes), TFileStatus::NotValid);
    ExpectOnlyInvalidated();
}

// --- .lmb ---------------------------------------------------------------------------

TEST_F(OlderFiles, LmbFieldsAndClearedRest) {
    ASSERT_EQ(Read(ReadLmbFile, LmbImage(2).Bytes), TFileStatus::Read);
    EXPECT_TRUE(Target.Valid);
    EXPECT_EQ(Target.NumberOfRecords, 2);
    EXPECT_EQ(Target.Comment, "Basement");

    TInstrumentHeader header;
    header.DeviceFamily = 2;
    header.DeviceNumber = 123456;
    header.DeviceType = 4;
    header.SoftwareVersion = 0xC3;
    header.Offset = 0x85;
    header.ROILevel = {{10, 20, 30, 40, 50}};
    header.UniCon = {{0xF000, 0xF001, 0xF002, 0xF003, 0, 0}};
    EXPECT_TRUE(Target.Header == header);
    EXPECT_TRUE(Target.Setup == TInstrumentSetup{});
    EXPECT_TRUE(Target.Spectrum == TDosikaSpectrum{});

    TInstrumentRecord second;
    second.SampleInterval = 60;
    second.Time = {0, 7, 7, 24, 5, 2017};
    second.HumidityRaw = 200;
    second.TemperatureRaw = -40;
    second.PressureRaw = 0x00ABCDEF;
    second.Counts = 2000;
    second.Status = 3;
    for (std::size_t k = 1; k <= 38; ++k) {
        second.Channels[k] = static_cast<Integer>(200 + k - 1);
    }
    EXPECT_TRUE(Target.Records[2] == second);
    EXPECT_EQ(Target.Records[1].Time.Year, 2099);
    EXPECT_EQ(Target.Records[1].Channels[38], 137);
    // Records past the count are not the reader's.
    EXPECT_TRUE(Target.Records[3] == Previous.Records[3]);
}

TEST_F(OlderFiles, LmbRejects) {
    TImage im = LmbImage(2);
    im.U16(2, 2049);
    EXPECT_EQ(Read(ReadLmbFile, im.Bytes), TFileStatus::BlockShort);
    ExpectOnlyInvalidated();
    im.U16(2, 0);
    EXPECT_EQ(Read(ReadLmbFile, im.Bytes), TFileStatus::NotValid);
    im.U16(2, 2);
    im.U8(0, 0);
    EXPECT_EQ(Read(ReadLmbFile, im.Bytes), TFileStatus::NotValid);
    EXPECT_EQ(Read(ReadLmbFile, std::vector<std::uint8_t>(360727, 1)), TFileStatus::BlockShort);
    ExpectOnlyInvalidated();
}

// --- .hvb ---------------------------------------------------------------------------

TEST_F(OlderFiles, HvbFieldsAtTwentyTimesTheRecordNumber) {
    ASSERT_EQ(Read(ReadHvbFile, HvbImage(768).Bytes), TFileStatus::Read);
    EXPECT_EQ(Target.NumberOfRecords, 768);
    EXPECT_EQ(Target.Comment, "Attic");

    TInstrumentHeader header;
    header.DeviceFamily = 2;
    header.DeviceNumber = 987;
    header.DeviceType = 2;
    header.SoftwareVersion = 0xA1;
    header.UniCon = {{0x8001, 0x8002, 0x8003, 0x8004, 0, 0}};
    EXPECT_TRUE(Target.Header == header);
    EXPECT_TRUE(Target.Setup == TInstrumentSetup{});
    EXPECT_TRUE(Target.Spectrum == TDosikaSpectrum{});

    for (std::size_t r : {std::size_t{1}, std::size_t{768}}) {
        TInstrumentRecord expected;
        expected.Time = {0, static_cast<Word>(r % 60), 13, 2, 11, 2019};
        expected.SampleInterval = 30;
        expected.HumidityRaw = 0xF0;
        expected.TemperatureRaw = 250;
        expected.Counts = static_cast<Integer>(r) * 7;
        expected.Status = -static_cast<Integer>(r);
        EXPECT_TRUE(Target.Records[r] == expected) << "record " << r;
    }
}

TEST_F(OlderFiles, HvbBlockSizeDecides) {
    std::vector<std::uint8_t> bytes = HvbImage(3).Bytes;
    bytes.pop_back();
    EXPECT_EQ(Read(ReadHvbFile, bytes), TFileStatus::BlockShort);
    ExpectOnlyInvalidated();

    bytes = HvbImage(3).Bytes;
    bytes.resize(15700, 0xFF);
    ASSERT_EQ(Read(ReadHvbFile, bytes), TFileStatus::Read);
    EXPECT_EQ(Target.NumberOfRecords, 3);
    EXPECT_EQ(Target.Records[3].Counts, 21);
    EXPECT_EQ(Target.Comment, "Attic");
}

TEST_F(OlderFiles, HvbRejects) {
    TImage im = HvbImage(3);
    im.U16(10, 769);
    EXPECT_EQ(Read(ReadHvbFile, im.Bytes), TFileStatus::BlockShort);
    im.U16(10, 0);
    EXPECT_EQ(Read(ReadHvbFile, im.Bytes), TFileStatus::NotValid);
    im.U16(10, 3);
    im.U8(0, 0);
    EXPECT_EQ(Read(ReadHvbFile, im.Bytes), TFileStatus::NotValid);
    ExpectOnlyInvalidated();
}

TEST_F(OlderFiles, MissingFileOrDirectoryCannotBeOpened) {
    for (TReader reader : {ReadLm3File, ReadLmbFile, ReadHvbFile}) {
        EXPECT_EQ(reader(Dir.File("missing"), Target), TFileStatus::NotOpened);
        EXPECT_EQ(reader(Dir.Path(), Target), TFileStatus::NotOpened);
    }
    ExpectOnlyInvalidated();
}

// --- Choice by extension ------------------------------------------------------------

TEST_F(OlderFiles, ExtensionChoosesTheReader) {
    TInstrumentData native;
    FillDataSet(native, 2, 3);
    const std::vector<std::uint8_t> lmx = NativeImage(native).Bytes;
    const std::vector<std::uint8_t> hvb = HvbImage(3).Bytes;

    EXPECT_EQ(Read(ReadAnyDataFile, lmx, "a.lmx"), 0);
    ExpectSameDataSet(native, Target);
    EXPECT_EQ(Read(ReadAnyDataFile, hvb, "a.hvb"), 0);
    EXPECT_EQ(Target.Comment, "Attic");
    EXPECT_EQ(Read(ReadAnyDataFile, LmbImage(2).Bytes, "a.lmb"), 0);
    EXPECT_EQ(Target.Comment, "Basement");
    // A block too short for the format shows that the named reader was used; whatever
    // the reader's reason, the caller gets the one file result code.
    EXPECT_EQ(Read(ReadAnyDataFile, hvb, "b.lm3"), Result::FileUnreadable);
    EXPECT_EQ(Read(ReadAnyDataFile, hvb, "b.lmb"), Result::FileUnreadable);
    EXPECT_EQ(Read(ReadAnyDataFile, hvb, "b.lmx"), Result::FileUnreadable);

    EXPECT_EQ(Read(ReadAnyDataFile, lmx, "a.LMX"), 6);
    EXPECT_FALSE(Target.Valid);
    EXPECT_EQ(Read(ReadAnyDataFile, lmx, "a.lmx.bak"), 6);
    EXPECT_EQ(Read(ReadAnyDataFile, lmx, "lmx"), 6);
    EXPECT_EQ(ReadAnyDataFile(Dir.File("x.lmx") + "/noext", Target), 6);
}

} // namespace
} // namespace lumetra
