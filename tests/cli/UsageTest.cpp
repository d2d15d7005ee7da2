// Usage errors end with 64 and two lines on stderr before any file is touched; help
// goes to stdout.

#include "cli/CliProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

// `named`: what the message must name.
void ExpectUsageError(const std::vector<std::string>& args, const std::string& named = "") {
    std::string joined;
    for (const auto& arg : args) {
        joined += " [" + arg + "]";
    }
    SCOPED_TRACE("lumetra-cli" + joined);
    const TCliRun run = RunLumetraCli(args);
    EXPECT_EQ(run.Status, 64);
    EXPECT_EQ(run.Out, "");
    const std::vector<std::string> lines = Lines(run.Err);
    ASSERT_EQ(lines.size(), 2u) << run.Err;
    EXPECT_FALSE(lines[0].empty());
    EXPECT_NE(lines[0].find(named), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Try 'lumetra-cli --help'.");
}

TEST(CliUsage, ErrorsGiveExit64) {
    ExpectUsageError({});
    ExpectUsageError({"frobnicate"});
    ExpectUsageError({"INFO", "a.lmx"});
    ExpectUsageError({"--bogus"});
    ExpectUsageError({"info"});
    ExpectUsageError({"info", "a.lmx", "b.lmx"});
    ExpectUsageError({"info", "--bogus", "a.lmx"});
    ExpectUsageError({"info", "a.lmx", "-o", "b.lmx"});
    ExpectUsageError({"convert"});
    ExpectUsageError({"convert", "a.lm3"});
    ExpectUsageError({"convert", "a.lm3", "-o"});
    ExpectUsageError({"convert", "a.lm3", "-o", "b.lmx", "-o", "c.lmx"});
    ExpectUsageError({"convert", "a.lm3", "b.lm3", "-o", "c.lmx"});
    ExpectUsageError({"convert", "a.lm3", "-x", "c.lmx"});
}

TEST(CliUsage, ErrorsNameWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"frobnicate"}, "frobnicate"},
        {{"help"}, "help"},
        {{"info", "--bogus", "a.lmx"}, "--bogus"},
        {{"info", "a.lmx", "--verbose=1"}, "--verbose"},
        {{"info", "-help"}, "-help"},
        {{"info"}, "FILE"},
        {{"info", "a.lmx", "b.lmx"}, "b.lmx"},
        {{"info", "a.lmx", "--", "b.lmx"}, "b.lmx"},
        {{"info", "a.lmx", "--", "--help"}, "--help"},
        {{"convert", "a.lm3"}, "-o"},
        {{"convert", "a.lm3", "-o"}, "-o"},
        {{"convert", "a.lm3", "-o", "b.lmx", "-o", "c.lmx"}, "-o"},
        {{"download", "COM1", "--stop-measurement=yes"}, "--stop-measurement"},
    };
    for (const auto& [args, named] : cases) {
        ExpectUsageError(args, named);
    }
}

TEST(CliUsage, CheckedBeforeTheFileIsRead) {
    // The source does not exist: a usage error still wins over the read failure.
    TTempDir dir;
    ExpectUsageError({"convert", dir.File("absent.lm3")});
    ExpectUsageError({"convert", dir.File("absent.lm3"), "-o", dir.File("out.LMX")});
}

TEST(CliUsage, OverviewListsEveryCommand) {
    const TCliRun run = RunLumetraCli({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    bool info = false;
    bool convert = false;
    for (const auto& line : Lines(run.Out)) {
        info = info || line.rfind("  info FILE ", 0) == 0;
        convert = convert || line.rfind("  convert FILE -o OUT.lmx ", 0) == 0;
    }
    EXPECT_TRUE(info) << run.Out;
    EXPECT_TRUE(convert) << run.Out;
}

TEST(CliUsage, CommandHelpWinsOverOtherArguments) {
    const std::string info = "Usage: lumetra-cli info FILE [--calibration]\n";
    const std::string convert = "Usage: lumetra-cli convert FILE -o OUT.lmx\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"info", "--help"}, info},
        {{"info", "x.lmx", "--bogus", "--help"}, info},
        {{"convert", "--help"}, convert},
        {{"convert", "a.lm3", "-o", "b.lmx", "-o", "c.txt", "--help"}, convert},
        {{"summary", "a.lmx", "--mode", "9", "--help"}, "Usage: lumetra-cli summary FILE "},
        {{"export", "a.lmx", "--comment", "--help"}, "Usage: lumetra-cli export FILE "},
    };
    for (const auto& [args, usage] : cases) {
        const TCliRun run = RunLumetraCli(args);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(run.Out.rfind(usage, 0), 0u) << run.Out;
    }
    EXPECT_NE(RunLumetraCli({"convert", "--help"}).Out.find("  -o OUT.lmx  "), std::string::npos);
}

TEST(CliUsage, AfterDoubleDashAndAsALoneDashWordsAreArguments) {
    // "--" ends the options, so "--help" after it is the FILE argument of info.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info", "--", "--help"}, {"info", "--", "-o"}, {"info", "-"}}) {
        const TCliRun run = RunLumetraCli(args);
        EXPECT_EQ(run.Status, 6) << args.back();
        EXPECT_EQ(run.Err, "Unable to open file! Wrong file format!\n");
    }
}

} // namespace
} // namespace lumetra::test
