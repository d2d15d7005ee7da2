// ports, identify and download against lumetra-sim running as a process of its own on a
// pseudo-terminal, and the saved file read back by info and export. The simulator's
// records start on 1 March 2017 at 0:00, one every --interval minutes; the stamps
// expected below are worked out from that by hand. Dates in the C locale (MM/DD/YY).

#include "cli/CliProcess.h"
#include "cli/OutputLines.h"
#include "cli/SimProcess.h"
#include "support/TempDir.h"

#include "halvo/HalvoSimSeries.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace lumetra::test {
namespace {

const std::string NoAccess =
    "No access to COM Port! Selected port available at this PC? No access by another application?\n";
const std::string NoResponse = "No response! Instrument connected? Right COM port? Cable OK?\n";
const std::string TooNew = "This instrument requires a later read-out software revision!\n";

class InstrumentCommands : public ::testing::Test {
protected:
    void TearDown() override {
        const bool clean = Sim.Stop();
        EXPECT_TRUE(clean) << "the simulator did not end cleanly: " << SimErrors();
        EXPECT_FALSE(std::filesystem::is_symlink(Link())) << "the simulator left its link behind";
    }

    void StartSim(const std::vector<std::string>& options) {
        std::string error;
        ASSERT_TRUE(Sim.Start("halvo", options, Link(), Dir.File("sim.err"), error)) << error << SimErrors();
    }

    std::string SimErrors() const {
        const std::vector<std::uint8_t> bytes = ReadBytes(Dir.File("sim.err"));
        return std::string(bytes.begin(), bytes.end());
    }

    std::string Link() const { return Dir.File("halvo"); }

    TTempDir Dir;
    TSimProcess Sim;
};

TEST_F(InstrumentCommands, DownloadSavesAFileThatInfoAndExportReadBack) {
    // 20 records, 90 minutes apart: the last is 19 x 90 = 1710 minutes = 1 day 4:30
    // after the first, on 2 March 2017 at 4:30.
    StartSim({"--type", "1", "--serial", "4711", "--records", "20", "--interval", "90", "--seed", "7"});

    const TCliRun identify = RunLumetraCli({"identify", Link()});
    EXPECT_EQ(identify.Status, 0) << identify.Err;
    EXPECT_EQ(identify.Err, "");
    EXPECT_EQ(identify.Out, "Halvo, (1) SN:4711, SW:8\nFamily: 2\nType: 1\nSerial: 4711\nSoftware: 8\n");

    // The port identify used is free again for the download.
    const TCliRun download = RunLumetraCli({"download", Link(), "--data-dir", Dir.File("store")});
    ASSERT_EQ(download.Status, 0) << download.Err;
    EXPECT_EQ(download.Err, "");
    const std::string file =
        Dir.File("store") + "/DATA/Year-2017/Dev.No. 4711/HLV4711_3_1_2017  0-00 ... 3_2_2017  4-30.lmx";
    EXPECT_EQ(download.Out, file + "\n");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 563u + 212u * 20u);

    const TCliRun info = RunLumetraCli({"info", file});
    ASSERT_EQ(info.Status, 0) << info.Err;
    const std::vector<std::string> infoLines = Lines(info.Out);
    for (const std::string line :
         {"Instrument: Halvo, (1) SN:4711, SW:8", "Family: 2", "Type: 1", "Serial: 4711", "Software: 8",
          "Records: 20", "First record: 03/01/17 00:00", "Last record: 03/02/17 04:30", "Comment: "}) {
        EXPECT_TRUE(HasLine(infoLines, line)) << line << "\n" << info.Out;
    }

    const TCliRun exported = RunLumetraCli({"export", file});
    ASSERT_EQ(exported.Status, 0) << exported.Err;
    const std::vector<std::string> lines = CrLfLines(exported.Out);
    EXPECT_TRUE(HasLine(lines, "Serial Number:\t4711")) << exported.Out;
    EXPECT_TRUE(HasLine(lines, "Data Records:\t20")) << exported.Out;
    EXPECT_TRUE(HasLine(lines, "End Test:\t03/02/17 04:30")) << exported.Out;
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("Time\t", 0) == 0; });
    ASSERT_NE(header, lines.end()) << exported.Out;
    const std::vector<std::string> columns = Fields(*header);
    const auto roi = std::find(columns.begin(), columns.end(), "ROI1");
    ASSERT_NE(roi, columns.end()) << *header;
    const auto countsColumn = static_cast<std::size_t>(roi - columns.begin());
    const std::vector<std::string> records(header + 2, lines.end());
    ASSERT_EQ(records.size(), 20u) << exported.Out;

    // The counts must arrive unchanged: the simulator's own series for the same
    // instrument and seed says what it served.
    sim::THalvoSimState instrument;
    instrument.DeviceType = 1;
    instrument.DeviceNumber = 4711;
    instrument.SampleInterval = 90;
    sim::THalvoSeries series;
    series.Count = 20;
    series.Interval = 90;
    series.Seed = 7;
    const std::vector<sim::THalvoSimRecord> served = sim::GenerateHalvoRecords(instrument, series);
    ASSERT_EQ(served.size(), 20u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(records[i]);
        const std::vector<std::string> fields = Fields(records[i]);
        ASSERT_GT(fields.size(), countsColumn);
        EXPECT_EQ(fields[countsColumn], std::to_string(served[i].Counts));
    }
    EXPECT_EQ(Fields(records.front())[0], "03/01/17 00:00");
    EXPECT_EQ(Fields(records[16])[0], "03/02/17 00:00"); // 16 x 90 minutes = 24 hours
    EXPECT_EQ(Fields(records.back())[0], "03/02/17 04:30");
}

TEST_F(InstrumentCommands, DownloadOfASpectrometricInstrumentToANamedFile) {
    // Type 6 reads its setup too and sends 128-byte records; 5 records 15 minutes apart.
    StartSim({"--type", "6", "--software", "5", "--serial", "77", "--records", "5", "--interval", "15"});
    const std::string file = Dir.File("thoron.lmx");
    const TCliRun download = RunLumetraCli({"download", Link(), "-o", file, "--stop-measurement"});
    ASSERT_EQ(download.Status, 0) << download.Err;
    // The Halvo download never asks whether to stop the measurement.
    EXPECT_EQ(download.Err, "");
    EXPECT_EQ(download.Out, file + "\n");

    const TCliRun info = RunLumetraCli({"info", file});
    ASSERT_EQ(info.Status, 0) << info.Err;
    const std::vector<std::string> lines = Lines(info.Out);
    for (const std::string line :
         {"Instrument: Thoron-Halvo, SN:77, SW:5", "Type: 6", "Sample interval: 15 min", "Records: 5",
          "First record: 03/01/17 00:00", "Last record: 03/01/17 01:00"}) {
        EXPECT_TRUE(HasLine(lines, line)) << line << "\n" << info.Out;
    }
    const TCliRun exported = RunLumetraCli({"export", file});
    EXPECT_EQ(exported.Status, 0) << exported.Err;
    EXPECT_TRUE(HasLine(CrLfLines(exported.Out), "Data Records:\t5")) << exported.Out;
}

TEST_F(InstrumentCommands, FailuresGiveTheResultCodeAndItsMessage) {
    const std::string absent = Dir.File("no-such-port");
    for (const std::string command : {"identify", "download"}) {
        SCOPED_TRACE(command);
        const TCliRun run = RunLumetraCli({command, absent});
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, NoAccess);

        const TCliRun tcp = RunLumetraCli({command, "TCP-IP"});
        EXPECT_EQ(tcp.Status, 18);
        EXPECT_EQ(tcp.Out, "");
        EXPECT_EQ(tcp.Err, "TCP/IP connection not established!\n");
    }
}

TEST_F(InstrumentCommands, SilentInstrumentGivesNoResponse) {
    StartSim({"--type", "1", "--fault", "mute"});
    const TCliRun identify = RunLumetraCli({"identify", Link()});
    EXPECT_EQ(identify.Status, 3);
    EXPECT_EQ(identify.Out, "");
    EXPECT_EQ(identify.Err, NoResponse);

    const TCliRun download = RunLumetraCli({"download", Link(), "--data-dir", Dir.File("store")});
    EXPECT_EQ(download.Status, 3);
    EXPECT_EQ(download.Out, "");
    EXPECT_EQ(download.Err, NoResponse);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("store")));
}

TEST_F(InstrumentCommands, InstrumentTooNewIsRefused) {
    StartSim({"--type", "2", "--fault", "too-new"});
    for (const std::string command : {"identify", "download"}) {
        SCOPED_TRACE(command);
        const TCliRun run = RunLumetraCli({command, Link()});
        EXPECT_EQ(run.Status, 19);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, TooNew);
    }
}

TEST_F(InstrumentCommands, EmptyInstrumentGivesNoDataAvailable) {
    StartSim({"--type", "1", "--records", "0"});
    const TCliRun run = RunLumetraCli({"download", Link(), "--data-dir", Dir.File("store")});
    EXPECT_EQ(run.Status, 20);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "No data available!\n");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("store")));
}

TEST_F(InstrumentCommands, FolderThatCannotBeCreatedFailsTheSave) {
    StartSim({"--type", "1", "--records", "3"});
    WriteBytes(Dir.File("plain-file"), {1, 2, 3});
    const TCliRun run = RunLumetraCli({"download", Link(), "--data-dir", Dir.File("plain-file")});
    // Not 1, which would say the port could not be opened.
    EXPECT_EQ(run.Status, Result::FileNotWritten);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "Unable to create folder: " + Dir.File("plain-file") + "/DATA/Year-2017/Dev.No. 1234\n");
}

TEST_F(InstrumentCommands, OptionsAreCheckedBeforeThePort) {
    // The port does not exist: trying it first would give 1, not 64.
    const std::string absent = Dir.File("no-such-port");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"download", absent, "-o", Dir.File("out.txt")},
             {"download", absent, "-o", Dir.File("out.LMX")},
             {"download", absent, "-o", Dir.File("a.lmx"), "--data-dir", Dir.Path()},
             {"download", absent, "--bogus"},
             {"identify", absent, "-o", Dir.File("a.lmx")}}) {
        SCOPED_TRACE(args[2]);
        const TCliRun run = RunLumetraCli(args);
        EXPECT_EQ(run.Status, 64);
        EXPECT_EQ(run.Out, "");
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 2u) << run.Err;
        EXPECT_EQ(lines[1], "Try 'lumetra-cli --help'.");
    }
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out.txt")));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out.LMX")));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("a.lmx")));
}

TEST(PortsCommand, ListsPortsAndEndsWithTcpIp) {
    const TCliRun run = RunLumetraCli({"ports"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "TCP-IP");
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        EXPECT_EQ(lines[k].rfind("/dev/tty", 0), 0u) << lines[k];
    }
    EXPECT_EQ(RunLumetraCli({"ports", "extra"}).Status, 64);
}

TEST(PortsCommand, OverviewListsTheInstrumentCommands) {
    const TCliRun run = RunLumetraCli({"--help"});
    EXPECT_EQ(run.Status, 0);
    const std::vector<std::string> lines = Lines(run.Out);
    for (const std::string synopsis : {"  ports ", "  identify PORT ",
                                       "  download PORT [-o FILE] [--data-dir DIR] [--stop-measurement] "}) {
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) { return line.rfind(synopsis, 0) == 0; }))
            << synopsis << "\n"
            << run.Out;
    }
}

} // namespace
} // namespace lumetra::test
