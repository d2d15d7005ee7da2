#include "files/DataSetFile.h"

#include "FileTestData.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {
namespace {

using test::ExpectSameDataSet;
using test::FillDataSet;
using test::NativeImage;
using test::ReadBytes;
using test::TImage;
using test::TTempDir;
using test::WriteBytes;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// --- Layout -------------------------------------------------------------------------

TEST(NativeFileLayout, SavedBytesAreTheTableLayoutWithZeroPadding) {
    TTempDir dir;
    TInstrumentData data;
    FillDataSet(data, 3, 11);
    ASSERT_EQ(SaveDataSetFile(dir.File("a.lmx"), data), Result::Success);
    EXPECT_EQ(ReadBytes(dir.File("a.lmx")), NativeImage(data).Bytes);
}

TEST(NativeFileLayout, FieldsLandAtTheirOffsets) {
    TTempDir dir;
    TInstrumentData data;
    data.Valid = true;
    data.NumberOfRecords = 2;
    data.Comment = "AB";
    data.Header.DeviceFamily = 1;
    data.Header.DeviceNumber = 0x01020304;
    data.Header.ROILimits[5].UpperLimit = 0x99;
    data.Header.UniCon[6] = 0xBEEF;
    data.Setup.SetupWord = 0x1234;
    data.Setup.AlarmLevel = -2;
    data.Spectrum.Size = 60;
    data.Spectrum.Channels[60] = 0x0A0B0C0D;
    data.Records[2].SampleInterval = 10;
    data.Records[2].Time.Year = 2017;
    data.Records[2].Counts = 0x7F000001;
    data.Records[2].ROICounts[5] = -1;
    ASSERT_EQ(SaveDataSetFile(dir.File("a.lmx"), data), Result::Success);
    const std::vector<std::uint8_t> b = ReadBytes(dir.File("a.lmx"));
    ASSERT_EQ(b.size(), 563u + 2 * 212u);
    using V = std::vector<std::uint8_t>;
    EXPECT_EQ(V(b.begin(), b.begin() + 10), (V{1, 0, 0, 0, 1, 2, 0, 2, 'A', 'B'}));
    EXPECT_EQ(b[263], 1);
    EXPECT_EQ(V(b.begin() + 267, b.begin() + 271), (V{4, 3, 2, 1}));
    EXPECT_EQ(b[263 + 27], 0x99);
    EXPECT_EQ(V(b.begin() + 263 + 38, b.begin() + 263 + 40), (V{0xEF, 0xBE}));
    EXPECT_EQ(V(b.begin() + 309, b.begin() + 311), (V{0x34, 0x12}));
    EXPECT_EQ(V(b.begin() + 315, b.begin() + 319), (V{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(V(b.begin() + 319, b.begin() + 323), (V{60, 0, 0, 0}));
    EXPECT_EQ(V(b.begin() + 559, b.begin() + 563), (V{0x0D, 0x0C, 0x0B, 0x0A}));
    const std::size_t r2 = 563 + 212;
    EXPECT_EQ(b[r2], 10);
    EXPECT_EQ(V(b.begin() + r2 + 12, b.begin() + r2 + 14), (V{0xE1, 0x07}));
    EXPECT_EQ(V(b.begin() + r2 + 28, b.begin() + r2 + 32), (V{1, 0, 0, 0x7F}));
    EXPECT_EQ(V(b.begin() + r2 + 208, b.end()), (V{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(NativeFileLayout, SizesAndInvalidSetFlag) {
    TTempDir dir;
    TInstrumentData data;
    FillDataSet(data, 1, 3);
    data.Valid = false;
    ASSERT_EQ(SaveDataSetFile(dir.File("one.lmx"), data), Result::Success);
    const std::vector<std::uint8_t> one = ReadBytes(dir.File("one.lmx"));
    EXPECT_EQ(one.size(), 775u);
    EXPECT_EQ(one.at(4), 0);

    FillDataSet(data, MaxRecords, 4);
    ASSERT_EQ(SaveDataSetFile(dir.File("full.lmx"), data), Result::Success);
    EXPECT_EQ(std::filesystem::file_size(dir.File("full.lmx")), 3480755u);
}

// --- Round trip ---------------------------------------------------------------------

TEST(NativeFileRoundTrip, FullSetComesBackIdentical) {
    TTempDir dir;
    TInstrumentData saved;
    FillDataSet(saved, MaxRecords, 21);
    ASSERT_EQ(SaveDataSetFile(dir.File("full.lmx"), saved), Result::Success);
    TInstrumentData read;
    ASSERT_EQ(ReadDataSetFile(dir.File("full.lmx"), read), TFileStatus::Read);
    ExpectSameDataSet(saved, read);
}

TEST(NativeFileRoundTrip, DosikaSetWithSpectrumAndRoiFields) {
    TTempDir dir;
    TInstrumentData saved;
    FillDataSet(saved, 5, 99);
    saved.Header.DeviceType = 5;
    saved.Header.ROILimits[1] = {3, 17};
    saved.Header.ROILimits[5] = {40, 60};
    saved.Spectrum.Size = 60;
    saved.Records[5].ROICounts[3] = 123456;
    saved.Records[5].ExtraCounts = -7;
    ASSERT_EQ(SaveDataSetFile(dir.File("d.lmx"), saved), Result::Success);
    TInstrumentData read;
    ASSERT_EQ(ReadDataSetFile(dir.File("d.lmx"), read), TFileStatus::Read);
    ExpectSameDataSet(saved, read);
}

TEST(NativeFileRoundTrip, ReadsAHandBuiltFile) {
    TTempDir dir;
    TInstrumentData expected;
    FillDataSet(expected, 7, 5);
    WriteBytes(dir.File("h.lmx"), NativeImage(expected).Bytes);
    TInstrumentData read;
    ASSERT_EQ(ReadDataSetFile(dir.File("h.lmx"), read), TFileStatus::Read);
    ExpectSameDataSet(expected, read);
}

TEST(NativeFileRoundTrip, CommentIsStoredAsWindows1252) {
    TTempDir dir;
    TInstrumentData data;
    FillDataSet(data, 1, 8);
    data.Comment = "Grüße € Ä";
    ASSERT_EQ(SaveDataSetFile(dir.File("c.lmx"), data), Result::Success);
    const std::vector<std::uint8_t> b = ReadBytes(dir.File("c.lmx"));
    const std::vector<std::uint8_t> stored(b.begin() + 7, b.begin() + 17);
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{9, 'G', 'r', 0xFC, 0xDF, 'e', ' ', 0x80, ' ', 0xC4}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 17, b.begin() + 263), std::vector<std::uint8_t>(246, 0));
    TInstrumentData read;
    ASSERT_EQ(ReadDataSetFile(dir.File("c.lmx"), read), TFileStatus::Read);
    EXPECT_EQ(read.Comment, "Grüße € Ä");
}

TEST(NativeFileRoundTrip, LongCommentIsCutTo255Characters) {
    TTempDir dir;
    TInstrumentData data;
    FillDataSet(data, 1, 8);
    std::string comment;
    for (int k = 0; k < 300; ++k) {
        comment += "ä"; // two UTF-8 bytes, one byte in the file
    }
    data.Comment = comment;
    ASSERT_EQ(SaveDataSetFile(dir.File("c.lmx"), data), Result::Success);
    const std::vector<std::uint8_t> b = ReadBytes(dir.File("c.lmx"));
    EXPECT_EQ(b.at(7), 255);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 8, b.begin() + 263), std::vector<std::uint8_t>(255, 0xE4));
    TInstrumentData read;
    ASSERT_EQ(ReadDataSetFile(dir.File("c.lmx"), read), TFileStatus::Read);
    EXPECT_EQ(read.Comment, comment.substr(0, 2 * 255));
}

// --- Rejected files -----------------------------------------------------------------

class NativeFileRejects : public ::testing::Test {
protected:
    void SetUp() override {
        FillDataSet(Good, 4, 77);
        // The target already holds a set; a failed read must not disturb its records.
        FillDataSet(Target, 10, 31);
        Previous = Target;
    }
    TFileStatus ReadImage(const std::vector<std::uint8_t>& bytes) {
        WriteBytes(Dir.File("x.lmx"), bytes);
        return ReadDataSetFile(Dir.File("x.lmx"), Target);
    }
    void ExpectOnlyInvalidated() {
        EXPECT_FALSE(Target.Valid);
        TInstrumentData expected = Previous;
        expected.Valid = false;
        ExpectSameDataSet(expected, Target);
    }

    TTempDir Dir;
    TInstrumentData Good, Target, Previous;
};

TEST_F(NativeFileRejects, CutOffLastRecord) {
    std::vector<std::uint8_t> bytes = NativeImage(Good).Bytes;
    bytes.pop_back();
    EXPECT_EQ(ReadImage(bytes), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();
}

TEST_F(NativeFileRejects, MoreRecordsThanTheSetHolds) {
    TImage im(563 + 212 * (MaxRecords + 1));
    im.U8(4, 1);
    im.U16(5, static_cast<std::uint32_t>(MaxRecords + 1));
    EXPECT_EQ(ReadImage(im.Bytes), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();
}

TEST_F(NativeFileRejects, ShortPreambleInvalidFlagAndNoRecords) {
    std::vector<std::uint8_t> shortFile = NativeImage(Good).Bytes;
    shortFile.resize(562);
    EXPECT_EQ(ReadImage(shortFile), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();
    EXPECT_EQ(ReadImage({}), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();

    TImage notValid = NativeImage(Good);
    notValid.U8(4, 0);
    EXPECT_EQ(ReadImage(notValid.Bytes), TFileStatus::Incomplete);
    notValid.U8(4, 2);
    EXPECT_EQ(ReadImage(notValid.Bytes), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();

    TImage empty(563);
    empty.U8(4, 1);
    EXPECT_EQ(ReadImage(empty.Bytes), TFileStatus::Incomplete);
    ExpectOnlyInvalidated();
}

TEST_F(NativeFileRejects, MissingFileOrDirectoryCannotBeOpened) {
    EXPECT_EQ(ReadDataSetFile(Dir.File("missing.lmx"), Target), TFileStatus::NotOpened);
    ExpectOnlyInvalidated();
    EXPECT_EQ(ReadDataSetFile(Dir.Path(), Target), TFileStatus::NotOpened);
    ExpectOnlyInvalidated();
}

TEST_F(NativeFileRejects, TrailingBytesAreIgnored) {
    std::vector<std::uint8_t> bytes = NativeImage(Good).Bytes;
    bytes.resize(bytes.size() + 100, 0xAB);
    EXPECT_EQ(ReadImage(bytes), TFileStatus::Read);
    ExpectSameDataSet(Good, Target);
    // Records beyond the file's count keep what they held.
    EXPECT_TRUE(Target.Records[5] == Previous.Records[5]);
}

// --- Saving -------------------------------------------------------------------------

TEST(NativeFileSave, FailureLeavesNothingBehind) {
    TTempDir dir;
    TInstrumentData data;
    FillDataSet(data, 2, 1);
    EXPECT_EQ(SaveDataSetFile(dir.File("missing/a.lmx"), data), Result::FileNotWritten);
    EXPECT_TRUE(Entries(dir.Path()).empty());

    // The temporary file can be made, but renaming it over a folder fails.
    std::filesystem::create_directory(dir.File("b.lmx"));
    EXPECT_EQ(SaveDataSetFile(dir.File("b.lmx"), data), Result::FileNotWritten);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"b.lmx"});
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("b.lmx")));
}

TEST(NativeFileSave, ReplacesAnExistingFile) {
    TTempDir dir;
    WriteBytes(dir.File("a.lmx"), std::vector<std::uint8_t>(5000, 0x55));
    TInstrumentData data;
    FillDataSet(data, 1, 2);
    ASSERT_EQ(SaveDataSetFile(dir.File("a.lmx"), data), Result::Success);
    EXPECT_EQ(ReadBytes(dir.File("a.lmx")), NativeImage(data).Bytes);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a.lmx"});
}

} // namespace
} // namespace lumetra
