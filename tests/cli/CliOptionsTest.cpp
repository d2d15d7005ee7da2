#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace lumetra::cli {
namespace {

const TCliCommandSyntax Download{
    {{"-o", true}, {"--data-dir", true}, {"--stop-measurement", false}}, {"PORT"}, 1, 1};

bool Parse(const std::vector<std::string>& args, TCliOptions& options, std::string& error) {
    return ParseCliOptions(args, Download, options, error);
}

TEST(CliOptions, ValuesFlagsAndPositionalInAnyOrder) {
    TCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--stop-measurement", "-o", "out.lmx", "/dev/ttyUSB0", "--data-dir=/srv/data"},
                      options, error))
        << error;
    EXPECT_EQ(options.Positional, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_EQ(options.Value("-o"), "out.lmx");
    EXPECT_EQ(options.Value("--data-dir"), "/srv/data");
    EXPECT_TRUE(options.HasFlag("--stop-measurement"));

    ASSERT_TRUE(Parse({"COM1", "--data-dir", "-weird-dir"}, options, error)) << error;
    EXPECT_EQ(options.Value("--data-dir"), "-weird-dir"); // a value may start with a dash
    EXPECT_FALSE(options.Value("-o").has_value());
    EXPECT_FALSE(options.HasFlag("--stop-measurement")); // nothing left from the last parse
}

TEST(CliOptions, DoubleDashAndLoneDashArePositional) {
    TCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--", "-o"}, options, error)) << error;
    EXPECT_EQ(options.Positional, std::vector<std::string>{"-o"});
    EXPECT_FALSE(options.Value("-o").has_value());
    ASSERT_TRUE(Parse({"-"}, options, error)) << error;
    EXPECT_EQ(options.Positional, std::vector<std::string>{"-"});
}

TEST(CliOptions, ErrorsSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"COM1", "--verbose"}, "unknown option '--verbose'"},
        {{"COM1", "--verbose=1"}, "unknown option '--verbose'"},
        {{"COM1", "-o"}, "option '-o' needs a value"},
        {{"COM1", "-o", "a.lmx", "-o", "b.lmx"}, "option '-o' given more than once"},
        {{"COM1", "--stop-measurement=yes"}, "option '--stop-measurement' takes no value"},
        {{"-o", "a.lmx"}, "missing PORT"},
        {{"COM1", "COM2"}, "unexpected argument 'COM2'"},
    };
    for (const auto& [args, message] : cases) {
        TCliOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << message;
        EXPECT_EQ(error, message);
    }
}

TEST(CliOptions, HelpIsSeenOnlyBeforeDoubleDash) {
    EXPECT_TRUE(RequestsHelp({"COM1", "--help"}));
    EXPECT_TRUE(RequestsHelp({"--help", "--", "x"}));
    EXPECT_FALSE(RequestsHelp({"--", "--help"}));
    EXPECT_FALSE(RequestsHelp({"-help", "help"}));
}

} // namespace
} // namespace lumetra::cli
