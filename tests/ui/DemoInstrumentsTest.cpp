// The demo instruments: four ports in a private folder that open and answer as the
// instruments they are named after, records that end at the given time with one series
// break, live readings of the analog sensor, and nothing left behind after Stop.

#include "demo/DemoInstruments.h"

#include "core/GlobalDefinitions.h"
#include "core/TimeConversions.h"
#include "dosika/DosikaCommands.h"
#include "dosika/DosikaDownload.h"
#include "evaluation/RecordEvaluation.h"
#include "halvo/HalvoDownload.h"
#include "instrument/InstrumentConnection.h"
#include "links/InstrumentAdapter.h"
#include "support/LineUserInterface.h"
#include "support/ScriptedUserInterface.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <set>
#include <string>

namespace lumetra::test {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// 20 January 2026, 14:37 local time: no clock change in the days before it.
std::time_t FixedEnd() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 20;
    local.tm_hour = 14;
    local.tm_min = 37;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TDeviceTime LocalStamp(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return MakeDeviceTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

struct TIdentity {
    Byte Result = 0xEE, Family = 0xEE, Type = 0xEE, Software = 0xEE;
    Word Serial = 0xEEEE;
};

// As one step of the main window's search identifies a port.
TIdentity Identify(TLineUserInterface& ui, const std::string& path) {
    TIdentity id;
    TInstrumentIdentity found;
    id.Result = IdentifyOnPort(ui, path, found);
    id.Family = found.Family;
    id.Type = found.Type;
    id.Serial = found.Serial;
    id.Software = found.Software;
    return id;
}

// Runs an operation with the port settings the main window uses for a direct line;
// the byte pauses are skipped so a few dozen records take well under a second.
template <typename TOperation> Byte OnPort(const std::string& path, bool halvo, TOperation operation) {
    TLineUserInterface ui;
    ui.SplitClock.RealPauseLimit = 0;
    TComPort port;
    port.ReadTotalTimeOut = 1000;
    port.Baudrate = halvo ? 0 : 1;
    const TOpenComPort open(path);
    if (!open.IsOpen()) {
        ADD_FAILURE() << "cannot open " << path;
        return 0xEE;
    }
    port.Handle = open.Handle();
    return operation(ui, port);
}

Byte Download(const std::string& path, bool halvo, TInstrumentData& data) {
    return OnPort(path, halvo, [&](TLineUserInterface& ui, TComPort port) {
        return halvo ? HlvDownload(ui, port, data) : DkDownload(ui, port, data);
    });
}

TEST(DemoInstruments, StartListsFourPortsThatOpenAndStopRemovesThem) {
    TDemoOptions options;
    options.HalvoRecords = 20;
    options.DosikaRecords = 20;
    TDemoInstruments demo(options);
    EXPECT_FALSE(demo.Running());
    std::string error;
    const TDemoPortList ports = demo.Start(error);
    ASSERT_EQ(ports.size(), 4u) << error;
    EXPECT_TRUE(demo.Running());
    EXPECT_EQ(ports[0].first, "Demo Halvo PLUS");
    EXPECT_EQ(ports[1].first, "Demo KVX5210-2");
    EXPECT_EQ(ports[2].first, "Demo Dosika PRO");
    EXPECT_EQ(ports[3].first, "Demo Senra-P");

    // A folder of its own that only this user may enter.
    const std::string folder = demo.Folder();
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::set<std::string> paths;
    for (const auto& [name, path] : ports) {
        EXPECT_EQ(path.rfind(folder + "/", 0), 0u) << path;
        EXPECT_TRUE(Exists(path)) << path;
        EXPECT_TRUE(TOpenComPort(path).IsOpen()) << name;
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), 4u);

    // Started twice: the same ports, nothing new.
    EXPECT_EQ(demo.Start(error), ports);

    demo.Stop();
    EXPECT_FALSE(demo.Running());
    for (const auto& port : ports) {
        EXPECT_FALSE(Exists(port.second)) << port.second;
    }
    EXPECT_FALSE(Exists(folder));
    demo.Stop(); // again: nothing to do

    // Started again after a stop, in a new folder; the destructor cleans up as well.
    std::string again;
    {
        TDemoInstruments second(options);
        const TDemoPortList more = second.Start(error);
        ASSERT_EQ(more.size(), 4u) << error;
        again = second.Folder();
        EXPECT_TRUE(Exists(more[0].second));
    }
    EXPECT_FALSE(Exists(again));
}

TEST(DemoInstruments, EachPortAnswersAsTheInstrumentItIsNamedAfter) {
    TDemoOptions options;
    options.HalvoRecords = 5;
    options.DosikaRecords = 5;
    options.SensorRecords = 5;
    TDemoInstruments demo(options);
    std::string error;
    const TDemoPortList ports = demo.Start(error);
    ASSERT_EQ(ports.size(), 4u) << error;
    TLineUserInterface ui;

    const TIdentity plus = Identify(ui, ports[0].second);
    EXPECT_EQ(plus.Result, 0);
    EXPECT_EQ(plus.Family, 2);
    EXPECT_EQ(plus.Type, 3);
    EXPECT_NE(plus.Serial, 0);

    // Software 12 and later: the records are corrected for humidity.
    const TIdentity spectrometer = Identify(ui, ports[1].second);
    EXPECT_EQ(spectrometer.Result, 0);
    EXPECT_EQ(spectrometer.Family, 2);
    EXPECT_EQ(spectrometer.Type, 4);
    EXPECT_GE(spectrometer.Software, 12);

    const TIdentity dosimeter = Identify(ui, ports[2].second);
    EXPECT_EQ(dosimeter.Result, 0);
    EXPECT_EQ(dosimeter.Family, 1);
    EXPECT_EQ(dosimeter.Type, 2);
    EXPECT_EQ(dosimeter.Software, 10);

    // Not measuring, so the window opens without asking to stop it.
    const TIdentity sensor = Identify(ui, ports[3].second);
    EXPECT_EQ(sensor.Result, 0);
    EXPECT_EQ(sensor.Family, 1);
    EXPECT_EQ(sensor.Type, 6);

    // Indoor readings that move a little from one read to the next.
    std::set<Integer> radon;
    for (int read = 0; read < 5; ++read) {
        TAnalogSensorValues values;
        ASSERT_EQ(OnPort(ports[3].second, false,
                         [&](TLineUserInterface& line, TComPort port) { return DkReadActualValues(line, port, values); }),
                  0);
        EXPECT_GT(values.RadonValue, 10);
        EXPECT_LT(values.RadonValue, 300);
        EXPECT_GE(values.ThoronValue, 0);
        EXPECT_GT(values.TemperatureValue, 15.0);
        EXPECT_LT(values.TemperatureValue, 30.0);
        EXPECT_GT(values.HumidityValue, 20.0);
        EXPECT_LT(values.HumidityValue, 80.0);
        EXPECT_LT(values.AOut1Value, 1023); // valid outputs
        radon.insert(values.RadonValue);
    }
    EXPECT_GT(radon.size(), 1u);

    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_TRUE(ui.Questions.empty());
}

TEST(DemoInstruments, HalvoRecordsEndAtTheGivenHourWithOneSeriesBreak) {
    TDemoOptions options;
    options.HalvoRecords = 48;
    options.DosikaRecords = 5;
    options.EndTime = FixedEnd();
    TDemoInstruments demo(options);
    std::string error;
    const TDemoPortList ports = demo.Start(error);
    ASSERT_EQ(ports.size(), 4u) << error;

    for (const std::size_t which : {0u, 1u}) {
        SCOPED_TRACE(ports[which].first);
        auto data = std::make_unique<TInstrumentData>();
        ASSERT_EQ(Download(ports[which].second, true, *data), 0);
        ASSERT_TRUE(data->Valid);
        ASSERT_EQ(data->NumberOfRecords, 48);
        EXPECT_EQ(data->Records[48].Time, MakeDeviceTime(2026, 1, 20, 14, 0));

        // Hourly records, once interrupted for a few hours; the records just before
        // the interruption were moved.
        int breaks = 0;
        bool movedBeforeBreak = false;
        for (std::size_t i = 2; i <= 48; ++i) {
            EXPECT_EQ(data->Records[i].SampleInterval, 60);
            const Integer step = MinutesBetween(data->Records[i].Time, data->Records[i - 1].Time);
            if (step != 60) {
                ++breaks;
                EXPECT_GT(step, 120);
                movedBeforeBreak = data->Records[i - 1].Status != 0;
            }
        }
        EXPECT_EQ(breaks, 1);
        EXPECT_TRUE(movedBeforeBreak);

        auto evaluated = std::make_unique<TMeasurementData>();
        EvaluateDataSet(TPhysicalUnits{}, *data, *evaluated);
        ASSERT_TRUE(evaluated->Valid);
        int starts = 0;
        double radon = 0.0;
        for (std::size_t i = 1; i <= 48; ++i) {
            starts += evaluated->Data[i].SeriesStart ? 1 : 0;
            radon += evaluated->Data[i].Radon;
            // Indoor climate.
            EXPECT_GT(evaluated->Data[i].Temperature, 5.0);
            EXPECT_LT(evaluated->Data[i].Temperature, 35.0);
            EXPECT_GT(evaluated->Data[i].Humidity, 20.0);
            EXPECT_LT(evaluated->Data[i].Humidity, 95.0);
            EXPECT_GT(evaluated->Data[i].Pressure, 970.0);
            EXPECT_LT(evaluated->Data[i].Pressure, 1050.0);
        }
        EXPECT_EQ(starts, 2); // the first record and the one after the break
        // Indoor radon: tens to a few thousand Bq/m³, never nothing.
        EXPECT_GT(radon / 48.0, 30.0);
        EXPECT_LT(radon / 48.0, 3000.0);
    }
}

TEST(DemoInstruments, DosikaHoldsTheBlockEndingNowAndEveryStartServesTheSame) {
    TDemoOptions options;
    options.HalvoRecords = 5;
    options.DosikaRecords = 30;
    const std::time_t now = std::time(nullptr);
    options.EndTime = now;

    auto first = std::make_unique<TInstrumentData>();
    auto second = std::make_unique<TInstrumentData>();
    for (TInstrumentData* data : {first.get(), second.get()}) {
        TDemoInstruments demo(options);
        std::string error;
        const TDemoPortList ports = demo.Start(error);
        ASSERT_EQ(ports.size(), 4u) << error;
        ASSERT_EQ(Download(ports[2].second, false, *data), 0);
    }
    ASSERT_TRUE(first->Valid);
    ASSERT_EQ(first->NumberOfRecords, 30);
    TDeviceTime hour = LocalStamp(now);
    hour.Minute = 0;
    EXPECT_EQ(first->Records[30].Time, hour);
    std::int64_t spectrum = 0;
    for (const Integer channel : first->Spectrum.Channels) {
        spectrum += channel;
    }
    EXPECT_GT(spectrum, 0);

    ASSERT_EQ(second->NumberOfRecords, 30);
    for (std::size_t i = 1; i <= 30; ++i) {
        EXPECT_EQ(second->Records[i], first->Records[i]) << "record " << i;
    }
    EXPECT_EQ(second->Spectrum.Channels, first->Spectrum.Channels);
}

TEST(DemoInstruments, FullDosikaBlockByDefault) {
    // 65535-byte block, 6 header bytes, 32 bytes per record of a Dosika PRO software 10.
    constexpr std::size_t Capacity = (65535 - 6) / 32;
    TDemoOptions options;
    options.HalvoRecords = 1;
    TDemoInstruments demo(options);
    std::string error;
    const TDemoPortList ports = demo.Start(error);
    ASSERT_EQ(ports.size(), 4u) << error;
    auto data = std::make_unique<TInstrumentData>();
    ASSERT_EQ(Download(ports[2].second, false, *data), 0);
    EXPECT_EQ(data->NumberOfRecords, Capacity);
    EXPECT_EQ(MinutesBetween(data->Records[Capacity].Time, data->Records[1].Time),
              static_cast<Integer>((Capacity - 1) * 60));
}

// The demo as `lumetra --demo` shows it: the four instruments in the port list, found
// by the search and downloaded in full. Writes the screenshots demo-*.png to the
// working folder.
TEST(DemoInstruments, WindowListsFindsAndDownloadsThem) {
    TDemoInstruments demo;
    std::string error;
    const TDemoPortList ports = demo.Start(error);
    ASSERT_EQ(ports.size(), 4u) << error;

    TTempDir dir;
    TScriptedUserInterface ui;
    TMainWindow window(dir.Path());
    window.SetPortDirectory(dir.File("no-devices"));
    window.UseUserInterface(&ui);
    window.resize(1280, 800);
    window.show();
    window.AddDemoPorts(ports);
    ASSERT_EQ(window.SelectCOM->count(), 5);
    EXPECT_EQ(window.SelectCOM->itemText(0).toStdString(), "Demo Halvo PLUS");
    EXPECT_EQ(window.SelectCOM->itemText(1).toStdString(), "Demo KVX5210-2");
    EXPECT_EQ(window.SelectCOM->itemText(2).toStdString(), "Demo Dosika PRO");
    EXPECT_EQ(window.SelectCOM->itemText(3).toStdString(), "Demo Senra-P");
    EXPECT_EQ(window.SelectCOM->itemText(4).toStdString(), "TCP-IP");

    window.SearchInstrument();
    ASSERT_EQ(ui.Messages.size(), 1u);
    const std::string& found = ui.Messages[0];
    EXPECT_NE(found.find("Demo Halvo PLUS -> Halvo Plus, SN:"), std::string::npos) << found;
    EXPECT_NE(found.find("\nDemo KVX5210-2 -> KVX5210-2, SN:"), std::string::npos) << found;
    EXPECT_NE(found.find("\nDemo Dosika PRO -> Dosika-PRO, SN:"), std::string::npos) << found;
    EXPECT_NE(found.find("\nDemo Senra-P -> Analogous Senra-P, SN:"), std::string::npos) << found;
    EXPECT_EQ(window.SelectedPortName(), "Demo Halvo PLUS");

    const struct {
        int Index;
        Word Records;
        const char* Screenshot;
    } downloads[] = {{0, 3000, "demo-halvo-plus.png"},
                     {1, 3000, "demo-kvx5210-2.png"},
                     {2, (65535 - 6) / 32, "demo-dosika-pro.png"},
                     {3, 14 * 24, "demo-senra-p.png"}};
    for (const auto& download : downloads) {
        SCOPED_TRACE(download.Screenshot);
        ui.Messages.clear();
        window.SelectCOM->setCurrentIndex(download.Index);
        window.ChangeComPort(download.Index);
        window.LoadData();
        EXPECT_EQ(ui.Messages, std::vector<std::string>{"Data download completed!"});
        EXPECT_EQ(window.InstrumentData().NumberOfRecords, download.Records);
        QApplication::processEvents();
        EXPECT_TRUE(window.grab().toImage().save(QString::fromLatin1(download.Screenshot)));
        if (download.Index == 0) {
            // Around the move: the tilted records and the series break.
            window.ScrollGraphic(1400);
            QApplication::processEvents();
            EXPECT_TRUE(window.grab().toImage().save(QStringLiteral("demo-halvo-plus-break.png")));
        }
    }
}

} // namespace
} // namespace lumetra::test
