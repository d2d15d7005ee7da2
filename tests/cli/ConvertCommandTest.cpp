// convert: every format written as a native file. The file written is compared with the
// native image built here of what the source format keeps, and info on it must tell the
// same as info on the source.

#include "cli/CliProcess.h"
#include "cli/SampleDataFiles.h"
#include "support/TempDir.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumetra::test {
namespace {

class ConvertCommand : public ::testing::Test {
protected:
    void ExpectConverted(const std::string& sourceName, const std::vector<std::uint8_t>& sourceBytes,
                         const TSampleDataSet& kept) {
        SCOPED_TRACE(sourceName);
        const std::string source = Dir.File(sourceName);
        const std::string target = Dir.File("converted.lmx");
        WriteBytes(source, sourceBytes);

        const TCliRun run = RunLumetraCli({"convert", source, "-o", target});
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(run.Out, target + "\n");

        const std::vector<std::uint8_t> written = ReadBytes(target);
        EXPECT_EQ(written.size(), 563 + 212 * kept.Records.size());
        EXPECT_TRUE(written == NativeFileBytes(kept)) << "the native image differs";

        const std::vector<std::string> before = Lines(RunLumetraCli({"info", source}).Out);
        const std::vector<std::string> after = Lines(RunLumetraCli({"info", target}).Out);
        ASSERT_EQ(before.size(), 24u);
        ASSERT_EQ(after.size(), 24u);
        EXPECT_EQ(after[0], "File: converted.lmx");
        EXPECT_EQ(after[1], "Format: lmx");
        for (std::size_t i = 2; i < before.size(); ++i) {
            EXPECT_EQ(after[i], before[i]);
        }
        std::filesystem::remove(target);
    }
    TTempDir Dir;
};

TEST_F(ConvertCommand, OlderFormatsBecomeNativeFiles) {
    ExpectConverted("survey.lm3", Lm3FileBytes(DosikaProSample()), DosikaProSample());
    ExpectConverted("plus.lmb", LmbFileBytes(HalvoPlusSample()), AsKeptByLmb(HalvoPlusSample()));
    ExpectConverted("early.hvb", HvbFileBytes(EarlyHalvoSample()), AsKeptByHvb(EarlyHalvoSample()));
}

TEST_F(ConvertCommand, NativeFileIsRewrittenUnchanged) {
    ExpectConverted("halvo.lmx", NativeFileBytes(HalvoPmtSample()), HalvoPmtSample());
}

TEST_F(ConvertCommand, ReplacesAnExistingTarget) {
    const std::string source = Dir.File("plus.lmb");
    const std::string target = Dir.File("old.lmx");
    WriteBytes(source, LmbFileBytes(HalvoPlusSample()));
    WriteBytes(target, std::vector<std::uint8_t>(5000, 0xAB));
    EXPECT_EQ(RunLumetraCli({"convert", source, "-o", target}).Status, 0);
    EXPECT_EQ(ReadBytes(target).size(), 563u + 212u * 5u);
}

class ConvertRejects : public ConvertCommand {};

TEST_F(ConvertRejects, TargetNotNamedLmx) {
    const std::string source = Dir.File("plus.lmb");
    WriteBytes(source, LmbFileBytes(HalvoPlusSample()));
    for (const char* name : {"out.LMX", "out.lm3", "out.txt", "out"}) {
        SCOPED_TRACE(name);
        const TCliRun run = RunLumetraCli({"convert", source, "-o", Dir.File(name)});
        EXPECT_EQ(run.Status, 64);
        EXPECT_EQ(run.Out, "");
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NE(lines[0].find(".lmx"), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], "Try 'lumetra-cli --help'.");
        EXPECT_FALSE(std::filesystem::exists(Dir.File(name)));
    }
}

TEST_F(ConvertRejects, UnreadableSourceWritesNothing) {
    const std::string target = Dir.File("out.lmx");
    std::vector<std::uint8_t> hvb = HvbFileBytes(EarlyHalvoSample());
    hvb.resize(15635);
    WriteBytes(Dir.File("short.hvb"), hvb);
    WriteBytes(Dir.File("plus.LMB"), LmbFileBytes(HalvoPlusSample()));
    for (const char* name : {"absent.lm3", "short.hvb", "plus.LMB"}) {
        SCOPED_TRACE(name);
        const TCliRun run = RunLumetraCli({"convert", Dir.File(name), "-o", target});
        EXPECT_EQ(run.Status, 6);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Unable to open file! Wrong file format!\n");
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

TEST_F(ConvertRejects, TargetThatCannotBeCreated) {
    const std::string source = Dir.File("plus.lmb");
    WriteBytes(source, LmbFileBytes(HalvoPlusSample()));
    const std::string target = Dir.File("no-such-folder/out.lmx");
    const TCliRun run = RunLumetraCli({"convert", source, "-o", target});
    EXPECT_EQ(run.Status, Result::FileNotWritten);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Unable to write file: " + target + "\n");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("no-such-folder")));
}

} // namespace
} // namespace lumetra::test
