// Usage errors end with 64 and two lines on stderr before any file is touched; help
// goes to stdout.

#include "cli/CliProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

void ExpectUsageError(const std::vector<std::string>& args) {
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
    EXPECT_NE(RunLumetraCli({"frobnicate"}).Err.find("frobnicate"), std::string::npos);
    EXPECT_NE(RunLumetraCli({"info", "--bogus", "a.lmx"}).Err.find("--bogus"), std::string::npos);
    EXPECT_NE(RunLumetraCli({"info"}).Err.find("FILE"), std::string::npos);
    EXPECT_NE(RunLumetraCli({"info", "a.lmx", "b.lmx"}).Err.find("b.lmx"), std::string::npos);
    EXPECT_NE(RunLumetraCli({"convert", "a.lm3"}).Err.find("-o"), std::string::npos);
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
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"info", "--help"}, {"info", "x.lmx", "--bogus", "--help"}}) {
        const TCliRun run = RunLumetraCli(args);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(run.Out.rfind("Usage: lumetra-cli info FILE\n", 0), 0u) << run.Out;
    }
    const TCliRun convert = RunLumetraCli({"convert", "--help"});
    EXPECT_EQ(convert.Status, 0);
    EXPECT_EQ(convert.Out.rfind("Usage: lumetra-cli convert FILE -o OUT.lmx\n", 0), 0u) << convert.Out;
    EXPECT_NE(convert.Out.find("-o OUT.lmx"), std::string::npos);
}

TEST(CliUsage, HelpAfterDoubleDashIsAFileName) {
    // "--" ends the options, so "--help" after it is the FILE argument of info.
    const TCliRun run = RunLumetraCli({"info", "--", "--help"});
    EXPECT_EQ(run.Status, 6);
    EXPECT_EQ(run.Err, "Unable to open file! Wrong file format!\n");
}

} // namespace
} // namespace lumetra::test
