// search over a folder of links, identify on a Dosika and on a modem, and downloads of
// every simulated Dosika-family type saved and read back by export, against lumetra-sim
// processes on pseudo-terminals. The Dosika simulator's records start on 5 January at
// 10:00 (in the current year), one an hour; its counts are its own seeded series,
// generated here again to say what was served. Dates in the C locale (MM/DD/YY).

#include "cli/CliProcess.h"
#include "cli/OutputLines.h"
#include "cli/SimProcess.h"
#include "support/TempDir.h"

#include "dosika/DosikaSimSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <thread>

namespace lumetra::test {
namespace {

const std::string Running = "Running instrument, can not read ID/SN";
const std::string ModemIdentity =
    "MODEM, controlled by AT command set\nFamily: 3\nType: 0\nSerial: 0\nSoftware: 0\n";

class SearchAndDosikaCommands : public ::testing::Test {
protected:
    void TearDown() override {
        for (std::size_t k = 0; k < Sims.size(); ++k) {
            EXPECT_TRUE(Sims[k]->Stop()) << "simulator " << k << " did not end cleanly: " << Errors(k);
        }
        for (const std::string& link : Links) {
            EXPECT_FALSE(std::filesystem::is_symlink(link)) << "left behind: " << link;
        }
    }

    // Starts a simulator on `link`; the returned path is the link.
    std::string StartSim(const std::string& kind, const std::vector<std::string>& options,
                         const std::string& link) {
        const std::size_t k = Sims.size();
        Sims.push_back(std::make_unique<TSimProcess>());
        Links.push_back(link);
        std::string error;
        EXPECT_TRUE(Sims[k]->Start(kind, options, link, ErrorLog(k), error)) << error << Errors(k);
        return link;
    }

    std::string ErrorLog(std::size_t k) const { return Dir.File("sim" + std::to_string(k) + ".err"); }
    std::string Errors(std::size_t k) const {
        const std::vector<std::uint8_t> bytes = ReadBytes(ErrorLog(k));
        return std::string(bytes.begin(), bytes.end());
    }

    std::string PortsDir() const {
        std::filesystem::create_directories(Dir.File("ports"));
        return Dir.File("ports");
    }

    TTempDir Dir;
    std::vector<std::unique_ptr<TSimProcess>> Sims;
    std::vector<std::string> Links;
};

TEST_F(SearchAndDosikaCommands, SearchListsTheAnsweringPortsInPortOrder) {
    const std::string dir = PortsDir();
    // Natural order puts ttyUSB10 after ttyUSB3; the silent port in between is left out,
    // and so is a file whose name is not a serial device's.
    StartSim("dosika", {"--type", "1", "--measuring"}, dir + "/ttyUSB10");
    StartSim("halvo", {"--type", "1", "--serial", "812"}, dir + "/ttyUSB1");
    StartSim("halvo", {"--type", "1", "--fault", "mute"}, dir + "/ttyUSB2");
    StartSim("dosika", {"--type", "2", "--serial", "4321"}, dir + "/ttyUSB3");
    WriteBytes(dir + "/notaport", {1});

    const TCliRun ports = RunLumetraCli({"ports", "--ports-dir", dir});
    EXPECT_EQ(ports.Status, 0);
    EXPECT_EQ(ports.Out,
              dir + "/ttyUSB1\n" + dir + "/ttyUSB2\n" + dir + "/ttyUSB3\n" + dir + "/ttyUSB10\nTCP-IP\n");

    const TCliRun search = RunLumetraCli({"search", "--ports-dir", dir});
    EXPECT_EQ(search.Status, 0) << search.Err;
    EXPECT_EQ(search.Err, "");
    EXPECT_EQ(search.Out, dir + "/ttyUSB1 -> Halvo, (1) SN:812, SW:8\n" + dir +
                              "/ttyUSB3 -> Dosika-PRO, SN:4321, SW:5\n" + dir + "/ttyUSB10 " + Running +
                              "\n");

    // The search let go of every port: they all answer again.
    const TCliRun identify = RunLumetraCli({"identify", dir + "/ttyUSB3"});
    EXPECT_EQ(identify.Status, 0) << identify.Err;
    EXPECT_EQ(identify.Out, "Dosika-PRO, SN:4321, SW:5\nFamily: 1\nType: 2\nSerial: 4321\nSoftware: 5\n");
    const TCliRun measuring = RunLumetraCli({"identify", dir + "/ttyUSB10"});
    EXPECT_EQ(measuring.Status, 0) << measuring.Err;
    EXPECT_EQ(measuring.Out, Running + "\nFamily: 1\nType: 0\nSerial: 0\nSoftware: 0\n");
}

TEST_F(SearchAndDosikaCommands, SearchWhereNothingAnswers) {
    const std::string dir = PortsDir();
    StartSim("halvo", {"--type", "1", "--fault", "mute"}, dir + "/ttyS0");
    const TCliRun search = RunLumetraCli({"search", "--ports-dir", dir});
    EXPECT_EQ(search.Status, 1);
    EXPECT_EQ(search.Out, "");
    EXPECT_EQ(search.Err, "No connected instruments found.\n");

    const TCliRun empty = RunLumetraCli({"search", "--ports-dir", Dir.File("no-such-folder")});
    EXPECT_EQ(empty.Status, 1);
    EXPECT_EQ(empty.Err, "No connected instruments found.\n");
    EXPECT_EQ(RunLumetraCli({"search", "extra"}).Status, 64);
}

TEST_F(SearchAndDosikaCommands, ModemIsRecognisedButNotDownloaded) {
    const std::string echo = StartSim("modem", {"--echo"}, Dir.File("modem-echo"));
    const std::string quiet = StartSim("modem", {"--no-echo"}, Dir.File("modem-quiet"));
    for (const std::string& link : {echo, quiet}) {
        SCOPED_TRACE(link);
        const TCliRun identify = RunLumetraCli({"identify", link});
        EXPECT_EQ(identify.Status, 0) << identify.Err;
        EXPECT_EQ(identify.Err, "");
        EXPECT_EQ(identify.Out, ModemIdentity);
    }
    const TCliRun download = RunLumetraCli({"download", echo, "--data-dir", Dir.File("store")});
    EXPECT_EQ(download.Status, 9);
    EXPECT_EQ(download.Out, "");
    EXPECT_EQ(download.Err,
              "A modem answered; dial-up connections are not supported by the command-line tool yet.\n");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("store")));
}

TEST_F(SearchAndDosikaCommands, MeasuringInstrumentIsStoppedOnlyWhenAllowed) {
    const std::string link = StartSim(
        "dosika", {"--type", "3", "--software", "10", "--serial", "77", "--records", "12", "--measuring"},
        Dir.File("morvel"));
    const TCliRun declined = RunLumetraCli({"download", link, "--data-dir", Dir.File("store")});
    EXPECT_EQ(declined.Status, 15);
    EXPECT_EQ(declined.Out, "");
    EXPECT_EQ(declined.Err,
              "Stop measurement? No\nMeasurement running; download declined (use --stop-measurement).\n");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("store")));

    const std::string file = Dir.File("morvel.lmx");
    const TCliRun stopped = RunLumetraCli({"download", link, "-o", file, "--stop-measurement"});
    ASSERT_EQ(stopped.Status, 0) << stopped.Err;
    EXPECT_EQ(stopped.Err, "Stop measurement? Yes\n");
    EXPECT_EQ(stopped.Out, file + "\n");
    const TCliRun exported = RunLumetraCli({"export", file});
    EXPECT_EQ(exported.Status, 0) << exported.Err;
    EXPECT_TRUE(HasLine(CrLfLines(exported.Out), "Data Records:\t12")) << exported.Out;

    // Stopped now: no question any more.
    const TCliRun again = RunLumetraCli({"download", link, "-o", file});
    EXPECT_EQ(again.Status, 0) << again.Err;
    EXPECT_EQ(again.Err, "");
}

TEST_F(SearchAndDosikaCommands, PostExposureAnalysisAndBrokenAnswers) {
    const std::string locked = StartSim("dosika", {"--type", "1", "--post-exposure"}, Dir.File("locked"));
    const std::string odd = StartSim("dosika", {"--type", "4", "--fault", "oddblock"}, Dir.File("odd"));
    const std::string cut = StartSim("dosika", {"--type", "2", "--fault", "noend:cmd:0x61"}, Dir.File("cut"));
    const std::string store = Dir.File("store");

    const TCliRun lockedRun = RunLumetraCli({"download", locked, "--data-dir", store, "--stop-measurement"});
    EXPECT_EQ(lockedRun.Status, 16);
    EXPECT_EQ(lockedRun.Err, "Stop measurement? Yes\nNo access during 180 Minutes post exposure analysis!\n");

    const TCliRun oddRun = RunLumetraCli({"download", odd, "--data-dir", store});
    EXPECT_EQ(oddRun.Status, 8);
    EXPECT_EQ(oddRun.Err,
              "The instrument's record block is not a whole number of records; nothing was saved.\n");

    const TCliRun cutRun = RunLumetraCli({"download", cut, "--data-dir", store});
    EXPECT_EQ(cutRun.Status, 3);
    EXPECT_EQ(cutRun.Err, "No response! Instrument connected? Right COM port? Cable OK?\n");

    for (const TCliRun* run : {&lockedRun, &oddRun, &cutRun}) {
        EXPECT_EQ(run->Out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(store));
}

struct TVariant {
    int Type;
    int Software;
};

// The C locale's short date and time, and the file name's "M_D_YYYY HH-MM" (hour
// right-aligned in two), of `hours` after 5 January 10:00 of `year`.
std::tm HoursAfterStart(int year, int hours) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 10 + hours;
    const std::time_t at = timegm(&t);
    std::tm out{};
    gmtime_r(&at, &out);
    return out;
}
std::string ExportStamp(const std::tm& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d", t.tm_mon + 1, t.tm_mday, t.tm_year % 100,
                  t.tm_hour, t.tm_min);
    return text;
}
std::string NameStamp(const std::tm& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%d_%d_%d %2d-%02d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900,
                  t.tm_hour, t.tm_min);
    return text;
}

TEST_F(SearchAndDosikaCommands, DownloadOfEveryTypeIsReadBackByExport) {
    const std::vector<TVariant> variants{{1, 5},  {1, 4}, {1, 10}, {2, 5},  {2, 10}, {3, 9},
                                         {3, 10}, {4, 5}, {5, 5},  {5, 10}, {6, 5}};
    const std::string store = Dir.File("store");
    std::vector<std::string> links;
    for (std::size_t k = 0; k < variants.size(); ++k) {
        links.push_back(StartSim("dosika",
                                 {"--type", std::to_string(variants[k].Type), "--software",
                                  std::to_string(variants[k].Software), "--serial", std::to_string(3000 + k),
                                  "--records", std::to_string(20 + k)},
                                 Dir.File("dosika" + std::to_string(k))));
    }
    ASSERT_FALSE(HasFailure());
    // Each download spends most of its time waiting on its line: all at once.
    std::vector<TCliRun> downloads(variants.size());
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < variants.size(); ++k) {
        threads.emplace_back([&, k] {
            downloads[k] = RunLumetraCli({"download", links[k], "--data-dir", store});
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    std::tm now{};
    const std::time_t clock = std::time(nullptr);
    localtime_r(&clock, &now);
    const int year = now.tm_year + 1900; // January is never after the current month
    for (std::size_t k = 0; k < variants.size(); ++k) {
        const TVariant& v = variants[k];
        SCOPED_TRACE("type " + std::to_string(v.Type) + " software " + std::to_string(v.Software));
        const TCliRun& download = downloads[k];
        ASSERT_EQ(download.Status, 0) << download.Err;
        EXPECT_EQ(download.Err, "");
        const std::size_t records = 20 + k;
        const int serial = static_cast<int>(3000 + k);
        // A Dosika before software 5 stamps the end of its first hour.
        const int first = v.Type == 1 && v.Software < 5 ? 1 : 0;
        const std::tm start = HoursAfterStart(year, first);
        const std::tm end = HoursAfterStart(year, first + static_cast<int>(records) - 1);

        ASSERT_FALSE(download.Out.empty());
        const std::filesystem::path file = download.Out.substr(0, download.Out.size() - 1);
        EXPECT_EQ(download.Out.back(), '\n');
        EXPECT_EQ(file.parent_path().string(), store + "/DATA/Year-" + std::to_string(end.tm_year + 1900) +
                                                   "/Dev.No. " + std::to_string(serial));
        const std::string tail =
            std::to_string(serial) + "_" + NameStamp(start) + " ... " + NameStamp(end) + ".lmx";
        EXPECT_TRUE(file.filename().string().ends_with(tail)) << file << " does not end in " << tail;
        ASSERT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(std::filesystem::file_size(file), 563u + 212u * records);

        const TCliRun exported = RunLumetraCli({"export", file.string()});
        ASSERT_EQ(exported.Status, 0) << exported.Err;
        const std::vector<std::string> lines = CrLfLines(exported.Out);
        EXPECT_TRUE(HasLine(lines, "Serial Number:\t" + std::to_string(serial))) << exported.Out;
        EXPECT_TRUE(HasLine(lines, "Data Records:\t" + std::to_string(records))) << exported.Out;
        const auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l == "Time" || l.rfind("Time\t", 0) == 0; // "Time" alone: no valid quantity
        });
        ASSERT_NE(header, lines.end()) << exported.Out;
        // The header, the units line, then one line a record.
        const std::vector<std::string> rows(header + 2, lines.end());
        ASSERT_EQ(rows.size(), records) << exported.Out;
        EXPECT_EQ(Fields(rows.front())[0], ExportStamp(start));
        EXPECT_EQ(Fields(rows.back())[0], ExportStamp(end));
        if (v.Type == 3) {
            continue; // the Morvel's evaluation has no count columns
        }
        const std::vector<std::string> columns = Fields(*header);
        const auto roi = std::find(columns.begin(), columns.end(), "ROI1");
        ASSERT_NE(roi, columns.end()) << *header;
        const auto roiColumn = static_cast<std::size_t>(roi - columns.begin());
        // What the simulator served: its state for the same options.
        sim::TDkSimState served =
            sim::DkSimDefaultState(static_cast<std::uint8_t>(v.Type), static_cast<std::uint8_t>(v.Software));
        sim::TDkSeries series;
        series.Count = records;
        sim::GenerateDkData(served, series);
        ASSERT_EQ(served.Records.size(), records);
        for (std::size_t i = 0; i < records; ++i) {
            const std::vector<std::string> fields = Fields(rows[i]);
            ASSERT_GE(fields.size(), roiColumn + 5) << rows[i];
            for (std::size_t c = 0; c < 5; ++c) {
                EXPECT_EQ(fields[roiColumn + c], std::to_string(served.Records[i].Counters[c]))
                    << "record " << i + 1 << " ROI" << c + 1;
            }
        }
    }
}

TEST(SearchCommandHelp, OverviewAndHelpNameTheFolderOption) {
    const TCliRun overview = RunLumetraCli({"--help"});
    EXPECT_EQ(overview.Status, 0);
    const std::vector<std::string> lines = Lines(overview.Out);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("  search [--ports-dir DIR] ", 0) == 0;
    })) << overview.Out;
    for (const std::string command : {"search", "ports"}) {
        const TCliRun help = RunLumetraCli({command, "--help"});
        EXPECT_EQ(help.Status, 0);
        EXPECT_NE(help.Out.find("--ports-dir DIR"), std::string::npos) << help.Out;
    }
}

} // namespace
} // namespace lumetra::test
