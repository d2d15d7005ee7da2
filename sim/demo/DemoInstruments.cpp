#include "demo/DemoInstruments.h"

#include "common/SimPty.h"
#include "common/SimSeries.h"
#include "dosika/DosikaSimSeries.h"
#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimSeries.h"
#include "halvo/HalvoSimulator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <numbers>
#include <vector>

namespace lumetra {

namespace {

constexpr std::uint8_t kInterval = 60; // minutes, all four instruments
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr std::size_t kNoMove = static_cast<std::size_t>(-1);
constexpr unsigned kMoveGapMinutes = 7 * 60;

// One instrument's surroundings. The generators give the daily cycle; on top of it
// come the weather (radon up while the pressure falls, warmer and colder spells) and,
// for the Halvos, one move to another place after a few hours switched off, which the
// program shows as a series break.
struct TSite {
    std::uint64_t Seed = 1;
    double Radon = 100.0, Thoron = 20.0; // Bq/m³ before the move
    double RadonAfterMove = 1.0;         // factor after it
    double Temperature = 21.0, Humidity = 45.0, Pressure = 1013.0;
    double CoolerAfterMove = 0.0;        // °C
    double TiltsPerRecord = 0.0;
};

// A slow swing between about -1 and 1, `days` after the first record.
double Weather(double days) {
    return 0.67 * std::sin(kTwoPi * days / 9.3) + 0.33 * std::sin(kTwoPi * days / 3.7 + 1.0);
}

std::tm LocalTime(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

// The full hour at or before `t`, local time.
std::time_t HourOf(std::time_t t) {
    std::tm local = LocalTime(t);
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// One generator call per record, so that every record gets the means of its own day.
std::vector<sim::THalvoSimRecord> HalvoRecords(const sim::THalvoSimState& state, const TSite& site, std::size_t count,
                                               std::time_t endHour) {
    std::vector<sim::THalvoSimRecord> records;
    if (count == 0) {
        return records;
    }
    records.reserve(count);
    const std::size_t move = count >= 10 ? count * 3 / 5 : kNoMove;
    const long long spanMinutes =
        static_cast<long long>(count - 1) * kInterval + (move != kNoMove ? kMoveGapMinutes : 0);
    const std::tm first = LocalTime(endHour - static_cast<std::time_t>(spanMinutes * 60));
    sim::THalvoSimRecord stamp;
    stamp.Year = first.tm_year + 1900;
    stamp.Month = static_cast<std::uint8_t>(first.tm_mon + 1);
    stamp.Day = static_cast<std::uint8_t>(first.tm_mday);
    stamp.Hour = static_cast<std::uint8_t>(first.tm_hour);
    stamp.Minute = static_cast<std::uint8_t>(first.tm_min);
    for (std::size_t i = 0; i < count; ++i) {
        const bool moved = move != kNoMove && i >= move;
        if (i == move) {
            sim::AdvanceHalvoTime(stamp, kMoveGapMinutes);
        }
        const double days = (static_cast<double>(i) * kInterval + (moved ? kMoveGapMinutes : 0)) / 1440.0;
        const double w = Weather(days);
        sim::THalvoSeries s;
        s.Count = 1;
        s.StartYear = stamp.Year;
        s.StartMonth = stamp.Month;
        s.StartDay = stamp.Day;
        s.StartHour = stamp.Hour;
        s.StartMinute = stamp.Minute;
        s.Interval = kInterval;
        s.Seed = site.Seed * 1000003u + i;
        s.RadonMean = site.Radon * (1.0 - 0.35 * w) * (moved ? site.RadonAfterMove : 1.0);
        s.RadonSwing = 0.45;
        s.ThoronMean = site.Thoron * (1.0 - 0.15 * w);
        s.TemperatureMean = site.Temperature - (moved ? site.CoolerAfterMove : 0.0) + 2.5 * std::sin(kTwoPi * days / 11.0);
        s.HumidityMean = site.Humidity + 7.0 * std::sin(kTwoPi * days / 7.0 + 1.0);
        s.PressureMean = site.Pressure + 10.0 * w;
        s.PressureSwing = 0.0; // the weather above carries it
        // Carried to the new place: the last records before the move are tilted.
        s.TiltsPerRecord = move != kNoMove && i + 2 >= move && i < move ? 8.0 : site.TiltsPerRecord;
        const std::vector<sim::THalvoSimRecord> one = sim::GenerateHalvoRecords(state, s);
        if (!one.empty()) {
            records.push_back(one.front());
        }
        sim::AdvanceHalvoTime(stamp, kInterval);
    }
    return records;
}

void SetHalvoClock(sim::THalvoSimState& state, std::time_t now) {
    const std::tm local = LocalTime(now);
    state.Clock.Year = local.tm_year + 1900;
    state.Clock.Month = static_cast<std::uint8_t>(local.tm_mon + 1);
    state.Clock.Day = static_cast<std::uint8_t>(local.tm_mday);
    state.Clock.Hour = static_cast<std::uint8_t>(local.tm_hour);
    state.Clock.Minute = static_cast<std::uint8_t>(local.tm_min);
    state.Clock.Second = static_cast<std::uint8_t>(std::min(local.tm_sec, 59));
    state.Recent.Interval = kInterval;
    state.Recent.Year = static_cast<std::uint8_t>(local.tm_year % 100);
    state.Recent.Month = state.Clock.Month;
    state.Recent.Day = state.Clock.Day;
    state.Recent.Hour = state.Clock.Hour;
    state.Recent.Minute = 0;
}

sim::THalvoSimState HalvoState(std::uint8_t type, std::uint8_t software, std::uint16_t serial, const TSite& site,
                               std::size_t count, std::time_t now) {
    sim::THalvoSimState state;
    state.DeviceType = type;
    state.SoftwareVersion = software;
    state.DeviceNumber = serial;
    state.SampleInterval = kInterval;
    SetHalvoClock(state, now);
    state.Records = HalvoRecords(state, site, count, HourOf(now));
    return state;
}

// Records and the sum spectrum one record at a time, as for the Halvos; the records
// of a Dosika carry no time stamps, only the block's start time.
sim::TDkSimState DosikaState(std::uint8_t type, std::uint8_t software, std::uint16_t serial,
                             std::uint8_t calibration, const TSite& site, std::size_t count, std::time_t now) {
    sim::TDkSimState state = sim::DkSimDefaultState(type, software);
    state.SerialNumber = serial;
    state.Cal[0] = calibration;
    state.SampleInterval = kInterval;
    const std::size_t capacity = sim::DkSimRecordCapacity(type, software);
    count = count == 0 ? capacity : std::min(count, capacity);

    const std::tm clock = LocalTime(now);
    state.Clock = {static_cast<std::uint8_t>(std::min(clock.tm_sec, 59)), static_cast<std::uint8_t>(clock.tm_min),
                   static_cast<std::uint8_t>(clock.tm_hour), static_cast<std::uint8_t>(clock.tm_mday),
                   static_cast<std::uint8_t>(clock.tm_mon + 1)};
    const std::time_t start = HourOf(now) - static_cast<std::time_t>(count > 0 ? count - 1 : 0) * kInterval * 60;
    const std::tm first = LocalTime(start);
    state.StartTime = {0, static_cast<std::uint8_t>(first.tm_min), static_cast<std::uint8_t>(first.tm_hour),
                       static_cast<std::uint8_t>(first.tm_mday), static_cast<std::uint8_t>(first.tm_mon + 1)};

    std::vector<sim::TDkSimRecord> records;
    records.reserve(count);
    std::array<std::uint64_t, sim::kDkChannels> sum{};
    sim::TDkSimState one = state;
    const unsigned startMinute = first.tm_hour * 60u + static_cast<unsigned>(first.tm_min);
    for (std::size_t i = 0; i < count; ++i) {
        const double days = static_cast<double>(i) * kInterval / 1440.0;
        const double w = Weather(days);
        const unsigned minuteOfDay = static_cast<unsigned>((startMinute + i * kInterval) % 1440);
        one.StartTime.Hour = static_cast<std::uint8_t>(minuteOfDay / 60);
        one.StartTime.Minute = static_cast<std::uint8_t>(minuteOfDay % 60);
        sim::TDkSeries s;
        s.Count = 1;
        s.Interval = kInterval;
        s.Seed = site.Seed * 1000003u + i;
        s.RadonMean = site.Radon * (1.0 - 0.35 * w);
        s.RadonSwing = 0.45;
        s.ThoronMean = site.Thoron * (1.0 - 0.15 * w);
        sim::GenerateDkData(one, s);
        if (!one.Records.empty()) {
            records.push_back(one.Records.front());
        }
        for (std::size_t c = 0; c < sim::kDkChannels; ++c) {
            sum[c] += one.Spectrum[c];
        }
    }
    state.Records = std::move(records);
    for (std::size_t c = 0; c < sim::kDkChannels; ++c) {
        state.Spectrum[c] = static_cast<std::uint32_t>(std::min<std::uint64_t>(sum[c], 0xFFFFFFFFu));
    }
    return state;
}

// About normally distributed with mean 0 and deviation 1: the sum of three uniform
// draws, which is all a little jitter needs.
double Jitter(sim::TSimDraw& draw) { return 2.0 * (draw.Uniform() + draw.Uniform() + draw.Uniform() - 1.5); }

// Output of a 4-20 mA loop in mV as the sensor reports it (20 mV per mA): 200 at zero,
// 1000 at the full-scale range.
std::uint16_t LoopMillivolts(double value, std::uint16_t rangeWord) {
    const double range = sim::DkSimRangeValue(rangeWord);
    const double share = range > 0.0 ? std::clamp(value / range, 0.0, 1.0) : 0.0;
    return static_cast<std::uint16_t>(std::lround(200.0 + 800.0 * share));
}

// The Senra-P's current readings: radon progeny (EEC) on a daily cycle of the local
// time and Po-218 with it, with a few per cent of jitter on every read, indoor climate,
// and the analog outputs following the readings while the sensor runs (stopped, they
// keep what they had, a DAC test's values too).
sim::TDkValueSource SensorValues(const TSite& site) {
    return [draw = sim::TSimDraw(site.Seed), site](const sim::TDkSimState& state) mutable {
        const std::tm now = LocalTime(std::time(nullptr));
        const double hour = now.tm_hour + now.tm_min / 60.0;
        const double eec = std::max(1.0, site.Radon * (1.0 + 0.4 * sim::DailyCycle(hour, 6.0)) *
                                             (1.0 + 0.03 * Jitter(draw)));
        // Po-218 is close to equilibrium with the gas, the later daughters are not.
        const double po218 = eec * 1.7 * (1.0 + 0.05 * Jitter(draw));
        const double warmth = sim::DailyCycle(hour, 15.0);
        const double temperature = site.Temperature + 1.5 * warmth + 0.1 * Jitter(draw);
        const double humidity = std::clamp(site.Humidity - 5.0 * warmth + 0.5 * Jitter(draw), 0.0, 100.0);

        // Counting errors: a few per cent at indoor levels.
        const auto error = [](double value) {
            return static_cast<std::uint8_t>(std::clamp(std::lround(60.0 / std::sqrt(value)), 1L, 99L));
        };
        // The codes the climate read converts: T = 0.4934 code - 25.81, H = 0.4706 code.
        const auto code = [](double c) { return static_cast<std::uint8_t>(std::clamp(std::lround(c), 0L, 254L)); };
        sim::TDkSimValues v = state.Values;
        v.RadonValue = static_cast<std::int32_t>(std::lround(eec));
        v.RadonError = error(eec);
        v.ThoronValue = static_cast<std::int32_t>(std::lround(po218));
        v.ThoronError = error(po218);
        v.TemperatureCode = code((temperature + 25.80645161) / 0.493358634);
        v.HumidityCode = code(humidity / 0.470588235);
        v.Status = 0;
        if (state.Measuring) {
            v.AOut1Value = LoopMillivolts(eec, state.AOut1RangeWord);
            v.AOut2Value = LoopMillivolts(po218, state.AOut2RangeWord);
        }
        return v;
    };
}

bool IsDirectory(const char* path) {
    struct stat info {};
    return path != nullptr && *path != '\0' && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// A fresh folder only this user can enter; empty when none can be made.
std::string MakePrivateFolder() {
    std::vector<std::string> bases;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsDirectory(runtime)) {
        bases.emplace_back(runtime);
    }
    bases.emplace_back("/tmp");
    for (const std::string& base : bases) {
        std::string pattern = base + "/lumetra-demo-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            return pattern;
        }
    }
    return {};
}

} // namespace

TDemoInstruments::TDemoInstruments(TDemoOptions options) : Options(options) {
    const std::time_t now = Options.EndTime != 0 ? Options.EndTime : std::time(nullptr);

    // A living room with a moderate radon level, then a cooler room upstairs.
    TSite living;
    living.Seed = 31;
    living.Radon = 180.0;
    living.RadonAfterMove = 0.45;
    living.CoolerAfterMove = 2.0;
    living.TiltsPerRecord = 0.004;
    HalvoPlus = std::make_unique<sim::THalvoSimulator>(HalvoState(3, 10, 2146, living, Options.HalvoRecords, now));

    // A damp basement with radon and some thoron from the walls, then the ground floor.
    TSite basement;
    basement.Seed = 47;
    basement.Radon = 850.0;
    basement.Thoron = 90.0;
    basement.RadonAfterMove = 0.3;
    basement.Temperature = 15.0;
    basement.Humidity = 68.0;
    basement.CoolerAfterMove = -5.0;
    basement.TiltsPerRecord = 0.002;
    Spectrometer = std::make_unique<sim::THalvoSimulator>(HalvoState(4, 12, 612, basement, Options.HalvoRecords, now));

    // Worn at a workplace underground. The simulator's filter sees little of the gas,
    // so with CAL1 = 100 its radon means are high: the program evaluates
    // about 280 Bq/m³ EEC with a few per cent counting error.
    TSite mine;
    mine.Seed = 59;
    mine.Radon = 6000.0;
    mine.Thoron = 300.0;
    Dosimeter = std::make_unique<sim::TDosikaSimulator>(DosikaState(2, 10, 3187, 100, mine, Options.DosikaRecords, now));

    // Watching an office on the ground floor, ready to be started. The records, with
    // CAL1 = 100, evaluate to about 70 Bq/m³ EEC; the current readings agree.
    TSite office;
    office.Seed = 73;
    office.Radon = 1500.0;
    office.Thoron = 60.0;
    sim::TDkSimState sensor = DosikaState(6, 7, 5402, 100, office, Options.SensorRecords, now);
    TSite readings = office;
    readings.Radon = 70.0; // EEC, Bq/m³
    sim::TDkValueSource source = SensorValues(readings);
    sensor.Values = source(sensor);
    sensor.Values.AOut1Value = LoopMillivolts(sensor.Values.RadonValue, sensor.AOut1RangeWord);
    sensor.Values.AOut2Value = LoopMillivolts(sensor.Values.ThoronValue, sensor.AOut2RangeWord);
    Sensor = std::make_unique<sim::TDosikaSimulator>(std::move(sensor));
    Sensor->SetValueSource(std::move(source));
}

TDemoInstruments::~TDemoInstruments() { Stop(); }

TDemoPortList TDemoInstruments::Start(std::string& error) {
    if (Running()) {
        return Ports;
    }
    error.clear();
    try {
        Directory = MakePrivateFolder();
        if (Directory.empty()) {
            error = "cannot create a folder for the demo instruments";
            return {};
        }
        const struct {
            const char* Name;
            const char* Link;
            sim::TSimDevice* Device;
        } instruments[] = {
            {"Demo Halvo PLUS", "halvo-plus", HalvoPlus.get()},
            {"Demo KVX5210-2", "kvx5210-2", Spectrometer.get()},
            {"Demo Dosika PRO", "dosika-pro", Dosimeter.get()},
            {"Demo Senra-P", "senra-p", Sensor.get()},
        };
        TDemoPortList ports;
        for (const auto& instrument : instruments) {
            auto server = std::make_unique<sim::TPtyServer>(*instrument.Device);
            const std::string path = Directory + "/" + instrument.Link;
            std::string why;
            if (!server->Start(path, why)) {
                error = std::string(instrument.Name) + ": " + why;
                Stop();
                return {};
            }
            Servers.push_back(std::move(server));
            ports.emplace_back(instrument.Name, path);
        }
        Ports = std::move(ports);
        return Ports;
    } catch (const std::exception& failure) {
        error = failure.what();
        Stop();
        return {};
    }
}

void TDemoInstruments::Stop() {
    for (const auto& server : Servers) {
        server->Stop();
    }
    Servers.clear();
    Ports.clear();
    if (!Directory.empty()) {
        rmdir(Directory.c_str());
        Directory.clear();
    }
}

} // namespace lumetra
