// info on files of every format, built byte by byte; the expected lines are worked out
// by hand from the bytes written (dates in the C locale: %x is MM/DD/YY).

#include "cli/CliProcess.h"
#include "cli/SampleDataFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumetra::test {
namespace {

class InfoCommand : public ::testing::Test {
protected:
    TCliRun Info(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        WriteBytes(Dir.File(name), bytes);
        return RunLumetraCli({"info", Dir.File(name)});
    }
    TTempDir Dir;
};

TEST_F(InfoCommand, NativeFileShowsEveryField) {
    const TCliRun run = Info("halvo.lmx", NativeFileBytes(HalvoPmtSample()));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    // Serial 70000 is 0x11170: the description shows its low word, 0x1170 = 4464.
    EXPECT_EQ(run.Out, "File: halvo.lmx\n"
                       "Format: lmx\n"
                       "Instrument: Halvo PMT, SN:4464, SW:12\n"
                       "Family: 2\n"
                       "Type: 5\n"
                       "Serial: 70000\n"
                       "Software: 12\n"
                       "Offset: 3\n"
                       "ROI levels: 10 20 30 40 50\n"
                       "ROI limits: 1-2 3-4 5-6 7-8 9-10\n"
                       "Beta limits: 7-9\n"
                       "Calibration: 100 200 300 400 40000 65535\n"
                       "User ID: 513\n"
                       "Country code: 49\n"
                       "Region code: 7\n"
                       "Entry code: 3\n"
                       "Setup word: 6699 (0x1A2B)\n"
                       "Sample interval: 60 min\n"
                       "Alarm level: 100000\n"
                       "Records: 3\n"
                       "First record: 05/24/17 07:05\n"
                       "Last record: 01/01/18 00:00\n"
                       "Spectrum channels: 38\n"
                       "Comment: Basement, east wall, caf\xC3\xA9\n");
}

TEST_F(InfoCommand, Lm3FileShowsDosikaFieldsOfAFullBlock) {
    const TCliRun run = Info("survey.lm3", Lm3FileBytes(DosikaProSample()));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    // Record 2048 is 20470 minutes (14 days 5:10) after 3 March 2016 22:50.
    EXPECT_EQ(run.Out, "File: survey.lm3\n"
                       "Format: lm3\n"
                       "Instrument: Dosika-PRO, SN:4321, SW:5\n"
                       "Family: 1\n"
                       "Type: 2\n"
                       "Serial: 4321\n"
                       "Software: 5\n"
                       "Offset: 0\n"
                       "ROI levels: 0 0 0 0 0\n"
                       "ROI limits: 10-20 21-30 31-40 41-50 51-60\n"
                       "Beta limits: 12-200\n"
                       "Calibration: 11 22 33 44 55 0\n"
                       "User ID: 1000\n"
                       "Country code: 43\n"
                       "Region code: 2\n"
                       "Entry code: 9\n"
                       "Setup word: 240 (0x00F0)\n"
                       "Sample interval: 10 min\n"
                       "Alarm level: 300\n"
                       "Records: 2048\n"
                       "First record: 03/03/16 22:50\n"
                       "Last record: 03/18/16 04:00\n"
                       "Spectrum channels: 60\n"
                       "Comment: Dosika survey\n");
}

TEST_F(InfoCommand, LmbFileIsHalvoWithoutSetup) {
    const TCliRun run = Info("plus.lmb", LmbFileBytes(HalvoPlusSample()));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "File: plus.lmb\n"
                       "Format: lmb\n"
                       "Instrument: Halvo Plus, SN:4711, SW:21\n"
                       "Family: 2\n"
                       "Type: 3\n"
                       "Serial: 4711\n"
                       "Software: 21\n"
                       "Offset: 2\n"
                       "ROI levels: 5 10 15 20 25\n"
                       "ROI limits: 0-0 0-0 0-0 0-0 0-0\n"
                       "Beta limits: 0-0\n"
                       "Calibration: 1111 2222 3333 44444 0 0\n"
                       "User ID: 0\n"
                       "Country code: 0\n"
                       "Region code: 0\n"
                       "Entry code: 0\n"
                       "Setup word: 0 (0x0000)\n"
                       "Sample interval: 0 min\n"
                       "Alarm level: 0\n"
                       "Records: 5\n"
                       "First record: 12/31/17 23:50\n"
                       "Last record: 01/01/18 00:30\n"
                       "Spectrum channels: 0\n"
                       "Comment: lmb sample\n");
}

TEST_F(InfoCommand, HvbFileOfAFullBlock) {
    const TCliRun run = Info("early.hvb", HvbFileBytes(EarlyHalvoSample()));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    // 123456 = 0x1E240, low word 0xE240 = 57920. Record 768 is 767 hours (31 days 23 h)
    // after 7 February 2009 9:05, and February 2009 has 28 days.
    EXPECT_EQ(run.Out, "File: early.hvb\n"
                       "Format: hvb\n"
                       "Instrument: Halvo, (1) SN:57920, SW:3\n"
                       "Family: 2\n"
                       "Type: 1\n"
                       "Serial: 123456\n"
                       "Software: 3\n"
                       "Offset: 0\n"
                       "ROI levels: 0 0 0 0 0\n"
                       "ROI limits: 0-0 0-0 0-0 0-0 0-0\n"
                       "Beta limits: 0-0\n"
                       "Calibration: 10 20 30 40 0 0\n"
                       "User ID: 0\n"
                       "Country code: 0\n"
                       "Region code: 0\n"
                       "Entry code: 0\n"
                       "Setup word: 0 (0x0000)\n"
                       "Sample interval: 0 min\n"
                       "Alarm level: 0\n"
                       "Records: 768\n"
                       "First record: 02/07/09 09:05\n"
                       "Last record: 03/11/09 08:05\n"
                       "Spectrum channels: 0\n"
                       "Comment: hvb dump\n");
}

TEST_F(InfoCommand, CommentWithLineBreaksStaysOnOneLine) {
    TSampleDataSet set = HalvoPmtSample();
    set.Comment = "cellar\r\nsecond\tline";
    const TCliRun run = Info("broken.lmx", NativeFileBytes(set));
    EXPECT_EQ(run.Status, 0);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines.back(), "Comment: cellar  second line");
}

TEST_F(InfoCommand, CalibrationConstantsFollowTheInfoLines) {
    struct TCase {
        std::string Name;
        std::vector<std::uint8_t> Bytes;
        std::string Constants;
    };
    // The PMT's setup word 0x1A2B has 1 in bits 5 and 6: the M chamber and its word, 200.
    const TCase cases[] = {
        {"halvo.lmx", NativeFileBytes(HalvoPmtSample()),
         "Calibration Constants for Halvo PMT, SN:4464, SW:12\n"
         "\n"
         "Sensitivity (Slow): 0.20 cpm/(kBq/m³); Chamber size \"M\"\n"},
        {"survey.lm3", Lm3FileBytes(DosikaProSample()),
         "Calibration Constants for Dosika-PRO, SN:4321, SW:5\n"
         "\n"
         "Sensitivity (Progeny): 11.00 min/L\n"},
    };
    for (const TCase& c : cases) {
        WriteBytes(Dir.File(c.Name), c.Bytes);
        const TCliRun plain = RunLumetraCli({"info", Dir.File(c.Name)});
        const TCliRun run = RunLumetraCli({"info", Dir.File(c.Name), "--calibration"});
        EXPECT_EQ(run.Status, 0) << c.Name;
        EXPECT_EQ(run.Err, "") << c.Name;
        EXPECT_EQ(run.Out, plain.Out + c.Constants) << c.Name;
    }
    EXPECT_EQ(RunLumetraCli({"info", Dir.File("halvo.lmx"), "--calibration=no"}).Status, 64);
}

class InfoRejects : public InfoCommand {
protected:
    void ExpectUnreadable(const TCliRun& run) {
        EXPECT_EQ(run.Status, 6);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Unable to open file! Wrong file format!\n");
    }
};

TEST_F(InfoRejects, MissingFileAndDirectory) {
    ExpectUnreadable(RunLumetraCli({"info", Dir.File("absent.lmx")}));
    ExpectUnreadable(RunLumetraCli({"info", Dir.Path()}));
    const std::string folder = Dir.File("folder.lmx");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ExpectUnreadable(RunLumetraCli({"info", folder}));
}

TEST_F(InfoRejects, TruncatedFiles) {
    std::vector<std::uint8_t> native = NativeFileBytes(HalvoPmtSample());
    native.pop_back(); // the last record cut short
    ExpectUnreadable(Info("short.lmx", native));
    ExpectUnreadable(Info("empty.lmx", {}));

    std::vector<std::uint8_t> lm3 = Lm3FileBytes(DosikaProSample());
    lm3.pop_back();
    ExpectUnreadable(Info("short.lm3", lm3));

    std::vector<std::uint8_t> lmb = LmbFileBytes(HalvoPlusSample());
    lmb.resize(360727);
    ExpectUnreadable(Info("short.lmb", lmb));

    std::vector<std::uint8_t> hvb = HvbFileBytes(EarlyHalvoSample());
    hvb.resize(15635);
    ExpectUnreadable(Info("short.hvb", hvb));
}

TEST_F(InfoRejects, UnknownOrCapitalisedExtension) {
    const std::vector<std::uint8_t> native = NativeFileBytes(HalvoPmtSample());
    ExpectUnreadable(Info("halvo.LMX", native));
    ExpectUnreadable(Info("halvo.Lmx", native));
    ExpectUnreadable(Info("halvo.txt", native));
    ExpectUnreadable(Info("halvo", native));
    ExpectUnreadable(Info("survey.LM3", Lm3FileBytes(DosikaProSample())));
    ExpectUnreadable(Info("early.HVB", HvbFileBytes(EarlyHalvoSample())));
    // The same bytes under the right name are read, so the name alone made the difference.
    EXPECT_EQ(Info("halvo.lmx", native).Status, 0);
}

TEST_F(InfoRejects, FilesNotMarkedValidOrWithoutRecords) {
    std::vector<std::uint8_t> lmb = LmbFileBytes(HalvoPlusSample());
    lmb[0] = 0;
    ExpectUnreadable(Info("invalid.lmb", lmb));

    TSampleDataSet none = HalvoPmtSample();
    none.Records.clear();
    ExpectUnreadable(Info("none.lmx", NativeFileBytes(none)));

    // A record count beyond the block's 768 records must not be read past the block.
    std::vector<std::uint8_t> hvb = HvbFileBytes(EarlyHalvoSample());
    hvb[10] = 0x01;
    hvb[11] = 0x03; // 769
    ExpectUnreadable(Info("overfull.hvb", hvb));
}

} // namespace
} // namespace lumetra::test
