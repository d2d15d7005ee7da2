// export and summary on a Halvo type 2 file built here. The expected numbers are worked
// out by hand: software 7 uses no humidity factor, K1 = UniCon[1] / 1000 = 2, so a record
// of C counts in t minutes holds C x 1000 / t / 2 Bq/m³ with the error 100 / sqrt(C) %, and
// a range holds its summed counts over its summed time. Dates in the C locale.

#include "cli/CliProcess.h"
#include "cli/SampleDataFiles.h"
#include "support/TempDir.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumetra::test {
namespace {

// 24 hourly records of 12 x i counts from 1 March 2019 08:00, 20.0 °C (code 120) and
// 53.6 % (code 100); records 7.. start a new series at 16:00 (two intervals are
// missing); record 3 has 15 tilts, 4 s each, so it measured 59 minutes.
TSampleDataSet RadonSample() {
    TSampleDataSet set;
    set.Family = 2;
    set.Type = 2;
    set.Software = 7;
    set.Serial = 815;
    set.Calibration = {2000, 0, 0, 0, 0, 0};
    set.SampleInterval = 60;
    set.Comment = "Keller, Stra\xDF" "e";
    for (int i = 1; i <= 24; ++i) {
        TSampleRecord r;
        r.SampleInterval = 60;
        r.Time = StampAfter({2019, 3, 1, 8, 0, 0}, i <= 6 ? 60 * (i - 1) : 8 * 60 + 60 * (i - 7));
        r.Temperature = 120;
        r.Humidity = 100;
        r.Counts = 12 * i;
        r.Status = i == 3 ? 15 : 0;
        set.Records.push_back(r);
    }
    return set;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> RecordLines(const std::string& text) {
    const std::vector<std::string> lines = CrLfLines(text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].rfind("Time\t", 0) == 0) {
            return {lines.begin() + static_cast<std::ptrdiff_t>(k + 2), lines.end()};
        }
    }
    return {};
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

class ExportSummary : public ::testing::Test {
protected:
    ExportSummary() : File(Dir.File("sample.lmx")) { WriteBytes(File, NativeFileBytes(RadonSample())); }

    void ExpectUsageError(const std::vector<std::string>& args, const std::string& mentioned) {
        SCOPED_TRACE(args.back());
        const TCliRun run = RunLumetraCli(args);
        EXPECT_EQ(run.Status, 64);
        EXPECT_EQ(run.Out, "");
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 2u) << run.Err;
        EXPECT_NE(lines[0].find(mentioned), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], "Try 'lumetra-cli --help'.");
    }

    TTempDir Dir;
    std::string File;
};

TEST_F(ExportSummary, ExportOfARangeByteForByte) {
    // Records 2 and 3: 24 + 36 counts in 60 + 59 minutes is 252.1 Bq/m³ ± 12.91 %; the
    // exposure takes the nominal 2 hours: 504.2 Bqh/m³.
    const TCliRun run = RunLumetraCli({"export", File, "--range", "2:3"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "Comment:\r\n"
                       "Keller, Stra\xC3\x9F" "e\r\n"
                       "\r\n"
                       "Data exported from \"sample.lmx\"\r\n"
                       "\r\n"
                       "Halvo\r\n"
                       "Serial Number:\t815\r\n"
                       "Start Test:\t03/01/19 08:00\r\n"
                       "End Test:\t03/01/19 10:00\r\n"
                       "Sample Time:\t2.0 hours\r\n"
                       "Data Records:\t2\r\n"
                       "\r\n"
                       "RESULTS\r\n"
                       "\r\n"
                       "Radon Average:\t252 Bq/m\xC2\xB3\r\n"
                       "Error:\t12.9 %\r\n"
                       "Radon Exposure:\t504 Bqh/m\xC2\xB3\r\n"
                       "\r\n"
                       "Time\tRadon\tError\tTemp.\trel. Hum.\tTilt\tROI1\r\n"
                       "\tBq/m\xC2\xB3\t%\t\xC2\xB0" "C\t%\t\tcts\r\n"
                       "03/01/19 09:00\t200\t20\t20.0\t54\t0\t24\r\n"
                       "03/01/19 10:00\t305\t17\t20.0\t54\t15\t36\r\n");
}

TEST_F(ExportSummary, ExportDefaultsToEveryRecord) {
    // 3600 counts in 1439 minutes: 1250.87 Bq/m³ ± 1.67 %, over 24 nominal hours 30020.9 Bqh/m³.
    const TCliRun run = RunLumetraCli({"export", File});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(HasLine(run.Out, "Start Test:\t03/01/19 07:00"));
    EXPECT_TRUE(HasLine(run.Out, "End Test:\t03/02/19 09:00"));
    EXPECT_TRUE(HasLine(run.Out, "Sample Time:\t24.0 hours"));
    EXPECT_TRUE(HasLine(run.Out, "Radon Average:\t1251 Bq/m\xC2\xB3\r\nError:\t1.7 %\r\nRadon Exposure:\t30021 Bqh/m\xC2\xB3"))
        << run.Out;
    const std::vector<std::string> records = RecordLines(run.Out);
    ASSERT_EQ(records.size(), 24u);
    EXPECT_EQ(records[0], "03/01/19 08:00\t100\t29\t20.0\t54\t0\t12");
    EXPECT_EQ(records[23], "03/02/19 09:00\t2400\t6\t20.0\t54\t0\t288");
}

TEST_F(ExportSummary, ExportOfElevenRecords) {
    const TCliRun run = RunLumetraCli({"export", File, "--range=10:20"});
    EXPECT_EQ(run.Status, 0);
    const std::vector<std::string> records = RecordLines(run.Out);
    ASSERT_EQ(records.size(), 11u);
    EXPECT_EQ(records.front(), "03/01/19 19:00\t1000\t9\t20.0\t54\t0\t120");
    EXPECT_EQ(records.back(), "03/02/19 05:00\t2000\t6\t20.0\t54\t0\t240");
    EXPECT_TRUE(HasLine(run.Out, "Data Records:\t11"));
    // 1980 counts in 660 minutes: 1500 Bq/m³ ± 2.25 %, 16500 Bqh/m³.
    EXPECT_TRUE(HasLine(run.Out, "Radon Average:\t1500 Bq/m\xC2\xB3\r\nError:\t2.2 %\r\nRadon Exposure:\t16500 Bqh/m\xC2\xB3"))
        << run.Out;
}

TEST_F(ExportSummary, ExportInUsUnits) {
    // Records 12..20: 1728 counts in 540 minutes, 1600 Bq/m³ = 43.2 pCi/L ± 2.41 %, over
    // 9 hours 388.8 pCih/L; 20 °C is 1.81 x 20 + 31 = 67.2 °F.
    const TCliRun run = RunLumetraCli({"export", File, "--units", "us", "--range", "12:20"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(HasLine(run.Out, "Radon Average:\t43.2 pCi/L\r\nError:\t2.4 %\r\nRadon Exposure:\t389 pCih/L"))
        << run.Out;
    EXPECT_TRUE(HasLine(run.Out, "\tpCi/L\t%\t\xC2\xB0" "F\t%\t\tcts")) << run.Out;
    const std::vector<std::string> records = RecordLines(run.Out);
    ASSERT_EQ(records.size(), 9u);
    EXPECT_EQ(records.front(), "03/01/19 21:00\t32.4\t8\t67.2\t54\t0\t144");
}

TEST_F(ExportSummary, ExportToAFileAndTheGivenComment) {
    const std::string out = Dir.File("export.txt");
    const std::string comment = "Gr\xC3\xBC\xC3\x9F" "e aus dem Keller";
    const TCliRun run = RunLumetraCli({"export", File, "-o", out, "--comment", comment, "--range", "1:5"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, out + "\n");
    const std::vector<std::uint8_t> bytes = ReadBytes(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 10 + comment.size() + 2), "Comment:\r\n" + comment + "\r\n");
    EXPECT_EQ(RecordLines(text).size(), 5u);
    EXPECT_EQ(text, RunLumetraCli({"export", File, "--comment", comment, "--range", "1:5"}).Out);

    const TCliRun failed = RunLumetraCli({"export", File, "-o", Dir.File("missing/export.txt")});
    EXPECT_EQ(failed.Status, Result::FileNotWritten);
    EXPECT_EQ(failed.Out, "");
    EXPECT_EQ(failed.Err, "Unable to write file: " + Dir.File("missing/export.txt") + "\n");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("missing")));
}

TEST_F(ExportSummary, ExportNamesTheBareFileAndReadsEveryFormat) {
    std::filesystem::create_directories(Dir.File("site/a"));
    WriteBytes(Dir.File("site/a/plus.lmb"), LmbFileBytes(HalvoPlusSample()));
    const TCliRun run = RunLumetraCli({"export", Dir.File("site/a/plus.lmb")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("Comment:\r\nlmb sample\r\n\r\nData exported from \"plus.lmb\"\r\n\r\nHalvo PLUS\r\n", 0),
              0u)
        << run.Out;
    EXPECT_EQ(RecordLines(run.Out).size(), 5u);
}

TEST_F(ExportSummary, ExportFollowsTheLocale) {
    const TCliRun run = RunLumetraCli({"export", File, "--range", "2:3"}, "de_DE.UTF-8");
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(HasLine(run.Out, "Sample Time:\t2,0 hours")) << run.Out;
    EXPECT_TRUE(HasLine(run.Out, "Error:\t12,9 %")) << run.Out;
    const std::vector<std::string> records = RecordLines(run.Out);
    ASSERT_EQ(records.size(), 2u);
    const std::string values = "\t200\t20\t20,0\t54\t0\t24";
    ASSERT_GT(records[0].size(), values.size());
    EXPECT_EQ(records[0].substr(records[0].size() - values.size()), values);
}

TEST_F(ExportSummary, SummaryOfEveryRecord) {
    const TCliRun run = RunLumetraCli({"summary", File});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "Instrument: Halvo SN: 815\n"
                       "Records: 24\n"
                       "Start Test: 03/01/19 07:00\n"
                       "End Test: 03/02/19 09:00\n"
                       "Period: 03/01/19 07:00 - 03/02/19 09:00\n"
                       "Exposure time: 24.0 hours\n"
                       "Average: 1251 Bq/m\xC2\xB3 \xC2\xB1" "2 %\n"
                       "Exposure: 30021 Bqh/m\xC2\xB3\n"
                       "One series: no\n");
}

TEST_F(ExportSummary, SummaryOfRangesAndUnits) {
    // Record 7 starts a series: a range beginning there is one series, one crossing it is not.
    TCliRun run = RunLumetraCli({"summary", File, "--range", "7:9", "--mode", "1"});
    EXPECT_EQ(run.Status, 0);
    // 12 x (7 + 8 + 9) = 288 counts in 180 minutes: 800 Bq/m³ ± 5.89 %, 2400 Bqh/m³ in 3 hours.
    EXPECT_EQ(run.Out, "Instrument: Halvo SN: 815\n"
                       "Records: 3\n"
                       "Start Test: 03/01/19 15:00\n"
                       "End Test: 03/01/19 18:00\n"
                       "Period: 03/01/19 15:00 - 03/01/19 18:00\n"
                       "Exposure time: 3.0 hours\n"
                       "Average: 800 Bq/m\xC2\xB3 \xC2\xB1" "6 %\n"
                       "Exposure: 2400 Bqh/m\xC2\xB3\n"
                       "One series: yes\n");
    EXPECT_EQ(Lines(RunLumetraCli({"summary", File, "--range", "5:8"}).Out).back(), "One series: no");

    // US units hide the exposure.
    run = RunLumetraCli({"summary", File, "--range", "12:20", "--units", "us"});
    EXPECT_EQ(run.Status, 0);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 8u) << run.Out;
    EXPECT_EQ(lines[5], "Exposure time: 9.0 hours");
    EXPECT_EQ(lines[6], "Average: 43.2 pCi/L \xC2\xB1" "2 %");
    EXPECT_EQ(lines[7], "One series: yes");
}

TEST_F(ExportSummary, SummaryOfAProgenySetStartsOnTheEec) {
    // A Dosika PRO holds no radon: like the main window, the summary starts on the EEC.
    WriteBytes(Dir.File("survey.lm3"), Lm3FileBytes(DosikaProSample()));
    const TCliRun run = RunLumetraCli({"summary", Dir.File("survey.lm3")});
    EXPECT_EQ(run.Status, 0);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 9u) << run.Out;
    EXPECT_EQ(lines[0], "Instrument: Dosika PRO SN: 4321");
    EXPECT_EQ(lines[1], "Records: 2048");
    EXPECT_EQ(lines[6].rfind("Average: ", 0), 0u);
    EXPECT_NE(lines[6].find(" Bq/m\xC2\xB3 \xC2\xB1"), std::string::npos) << lines[6];
    EXPECT_EQ(RunLumetraCli({"summary", Dir.File("survey.lm3"), "--mode", "4"}).Out, run.Out);
    const TCliRun paec = RunLumetraCli({"summary", Dir.File("survey.lm3"), "--mode", "5"});
    EXPECT_NE(Lines(paec.Out).at(6).find(" nJ/m\xC2\xB3 \xC2\xB1"), std::string::npos) << paec.Out;
    ExpectUsageError({"summary", Dir.File("survey.lm3"), "--mode", "1"}, "radon");
}

TEST_F(ExportSummary, OptionsInAnyOrderAndForm) {
    const TCliRun run = RunLumetraCli({"export", File, "--range", "2:3", "--comment", "-x"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("Comment:\r\n-x\r\n", 0), 0u) << run.Out; // a value may start with a dash
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"export", "--comment=-x", "--range=2:3", File},
                                               {"export", "--range", "2:3", File, "--comment", "-x"},
                                               {"export", "--comment", "-x", "--range", "2:3", "--", File}}) {
        EXPECT_EQ(RunLumetraCli(args).Out, run.Out) << args[1];
    }
}

TEST_F(ExportSummary, UsageErrors) {
    for (const std::string command : {"export", "summary"}) {
        SCOPED_TRACE(command);
        for (const std::string range : {"", "5", "a:b", "1:", ":3", "-1:3", "+1:3", "1:3x", " 1:3", "1:3:5",
                                        "1.5:3", "99999999999:3"}) {
            ExpectUsageError({command, File, "--range", range}, "range");
        }
        ExpectUsageError({command, File, "--range", "0:3"}, "0:3");
        ExpectUsageError({command, File, "--range", "4:3"}, "4:3");
        ExpectUsageError({command, File, "--range", "1:25"}, "1..24");
        ExpectUsageError({command, File, "--range", "25:25"}, "1..24");
        ExpectUsageError({command, File, "--units", "SI"}, "SI");
        ExpectUsageError({command, File, "--units", "metric"}, "metric");
        ExpectUsageError({command, File, "--units", ""}, "--units");
        ExpectUsageError({command, File, "--units", "si", "--units=us"}, "--units");
        ExpectUsageError({command, File, "--bogus"}, "--bogus");
        ExpectUsageError({command}, "FILE");
        // Checked before the file is read.
        ExpectUsageError({command, Dir.File("absent.lmx"), "--range", "3:2"}, "3:2");
        ExpectUsageError({command, Dir.File("absent.lmx"), "--units", "uk"}, "uk");
    }
    for (const std::string mode : {"0", "7", "x", "", "1 ", "01", "-1"}) {
        ExpectUsageError({"summary", File, "--mode", mode}, "--mode");
    }
    ExpectUsageError({"summary", File, "--mode", "3"}, "thoron");
    ExpectUsageError({"summary", File, "--comment", "x"}, "--comment");
    ExpectUsageError({"summary", File, "-o", "x.txt"}, "-o");
}

TEST_F(ExportSummary, UnreadableFilesGiveResult6) {
    WriteBytes(Dir.File("broken.lmx"), {0, 1, 2});
    WriteBytes(Dir.File("sample.txt"), NativeFileBytes(RadonSample()));
    for (const std::string name : {"broken.lmx", "absent.lmx", "sample.txt"}) {
        for (const std::string command : {"export", "summary"}) {
            SCOPED_TRACE(command + " " + name);
            const TCliRun run = RunLumetraCli({command, Dir.File(name)});
            EXPECT_EQ(run.Status, 6);
            EXPECT_EQ(run.Out, "");
            EXPECT_EQ(run.Err, "Unable to open file! Wrong file format!\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out.txt")));
    EXPECT_EQ(RunLumetraCli({"export", Dir.File("absent.lmx"), "-o", Dir.File("out.txt")}).Status, 6);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out.txt")));
}

TEST_F(ExportSummary, OverviewAndHelp) {
    const TCliRun overview = RunLumetraCli({"--help"});
    bool exportListed = false;
    bool summaryListed = false;
    for (const auto& line : Lines(overview.Out)) {
        exportListed = exportListed ||
                       line.rfind("  export FILE [-o OUT] [--units si|us] [--range L:R] [--comment TEXT] ", 0) == 0;
        summaryListed = summaryListed || line.rfind("  summary FILE [--units si|us] [--range L:R] [--mode 1-6] ", 0) == 0;
    }
    EXPECT_TRUE(exportListed) << overview.Out;
    EXPECT_TRUE(summaryListed) << overview.Out;
    for (const std::string command : {"export", "summary"}) {
        const TCliRun help = RunLumetraCli({command, "--help"});
        EXPECT_EQ(help.Status, 0);
        EXPECT_EQ(help.Out.rfind("Usage: lumetra-cli " + command + " FILE [", 0), 0u) << help.Out;
        EXPECT_NE(help.Out.find("--range L:R"), std::string::npos);
    }
}

} // namespace
} // namespace lumetra::test
