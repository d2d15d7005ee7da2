#include "halvo/HalvoSimSeries.h"

#include "common/SimSeries.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumetra::sim {

namespace {

std::uint16_t Code(double value, double maximum) {
    return static_cast<std::uint16_t>(std::clamp(std::round(value), 0.0, maximum));
}

// Relative humidity code of types 1 to 6: H = 0.648 r - 4 - 0.00072 r², the root below
// the vertex (r = 450), which is the one inside a byte.
double HumidityCode(double humidity) {
    const double a = 0.00072, b = -0.648, c = 4.0 + humidity;
    const double disc = std::max(0.0, b * b - 4.0 * a * c);
    return (-b - std::sqrt(disc)) / (2.0 * a);
}

double AbsoluteHumidity(double t, double h) {
    return h * 1000.0 * 6.11213 * std::exp(17.5043 * t / (t + 241.2)) / ((t + 273.15) * 461.52);
}

// Counts per minute per kBq/m³ for the single-counter types, including the humidity
// factor the evaluation will multiply by.
double Sensitivity(const THalvoSimState& s, double ah) {
    const auto k = [&](std::size_t i) { return s.UniCon[i - 1] / 1000.0; };
    const double f = (ah - 10.0) * 0.0085 + 1.0;
    switch (s.DeviceType) {
    case 1:
        return k(4) + (k(3) > 0.0 ? k(2) * std::exp(-ah / k(3)) : 0.0);
    case 2:
        return k(1) / (s.SoftwareVersion > 7 ? std::max(f, 0.1) : 1.0);
    case 3:
        return k(1) / (s.SoftwareVersion > 8 ? std::max(f, 0.1) : 1.0);
    case 5:
        return k(1 + ((s.SetupWord >> 5) & 3u));
    default:
        return k(1);
    }
}

std::uint32_t StatusWord(std::uint8_t type, std::uint8_t version, std::uint32_t tilts) {
    const bool moved = tilts > 0;
    if (type == 5) {
        return moved ? 0x80000000u : 0u;
    }
    if (HalvoIsSpectrumType(type)) {
        return moved ? 1u : 0u;
    }
    if (type >= 7 || (type == 3 && version >= 8)) {
        return std::min(tilts, 0x7FFFu) | (moved ? 0x8000u : 0u);
    }
    return std::min(tilts, 0xFFFFFFu) | (moved ? 0x01000000u : 0u);
}

void FillSpectrum(const THalvoSimState& s, double radon, double thoron, double ah, double minutes,
                  THalvoSimRecord& r, TSimDraw& draw) {
    const double k1 = s.UniCon[0] / 1000.0, k2 = s.UniCon[1] / 1000.0, k3 = s.UniCon[2] / 1000.0;
    double f = 1.0;
    if (s.SoftwareVersion > 11) {
        f = std::max(0.1, (ah - 10.0) * (s.DeviceType == 4 ? 0.025 : 0.0085) + 1.0);
    }
    // Expected counts of the four regions: Po-218 (radon fast), Po-216 (thoron),
    // Po-214 (radon slow) and Po-212; everything else a faint background.
    const double roi[4] = {radon * minutes * k2 / 1000.0 / f, thoron * minutes * k3 / 1000.0 / f,
                           radon * minutes * std::max(0.0, k1 - k2) / 1000.0 / f,
                           0.3 * thoron * minutes * k3 / 1000.0 / f};
    for (std::size_t ch = 1; ch <= kHalvoChannels; ++ch) {
        double mean = 0.002 * minutes;
        for (std::size_t k = 0; k < 4; ++k) {
            const unsigned low = s.ROILevel[k], high = s.ROILevel[k + 1];
            if (ch > low && ch <= high) {
                mean = roi[k] / (high - low);
            }
        }
        r.Channels[ch - 1] = std::min(draw.Poisson(mean), 0xFFFFFFu);
    }
}

} // namespace

std::vector<THalvoSimRecord> GenerateHalvoRecords(const THalvoSimState& s, const THalvoSeries& series) {
    std::vector<THalvoSimRecord> records;
    if (HalvoRecordLength(s.DeviceType, s.SoftwareVersion) == 0) {
        return records;
    }
    records.reserve(series.Count);
    TSimDraw draw(series.Seed);
    THalvoSimRecord stamp;
    stamp.Year = series.StartYear;
    stamp.Month = series.StartMonth;
    stamp.Day = series.StartDay;
    stamp.Hour = series.StartHour;
    stamp.Minute = series.StartMinute;
    const std::uint8_t type = s.DeviceType;
    const bool sht = type >= 7 && type <= 9; // the newer climate sensor of types 7 to 9
    for (std::size_t i = 0; i < series.Count; ++i) {
        THalvoSimRecord r;
        r.Year = stamp.Year;
        r.Month = stamp.Month;
        r.Day = stamp.Day;
        r.Hour = stamp.Hour;
        r.Minute = stamp.Minute;
        r.Interval = series.Interval;
        const double hour = r.Hour + r.Minute / 60.0;
        const double days = static_cast<double>(i) * series.Interval / 1440.0;
        const double radon = series.RadonMean * std::max(0.0, 1.0 + series.RadonSwing * DailyCycle(hour, 6.0));
        const double t = series.TemperatureMean + series.TemperatureSwing * DailyCycle(hour, 15.0);
        const double h = std::clamp(series.HumidityMean - series.HumiditySwing * DailyCycle(hour, 15.0), 0.0, 100.0);
        const double p = series.PressureMean + series.PressureSwing * std::sin(2.0 * std::numbers::pi * days / 5.0);

        const std::uint32_t tilts = draw.Poisson(series.TiltsPerRecord);
        r.Status = StatusWord(type, s.SoftwareVersion, tilts);
        const bool counted = type != 5 && !HalvoIsSpectrumType(type);
        const double minutes = std::max(0.0, series.Interval - (counted ? tilts * 4.0 / 60.0 : 0.0));

        if (sht) {
            r.TemperatureRaw = Code((t + 46.85) / 0.6864, 255);
            r.HumidityRaw = Code((h + 6.0) / 0.4883, 255);
        } else {
            r.TemperatureRaw = Code((t + 40.0) * 2.0, HalvoIsSpectrumType(type) ? 65535 : 255);
            r.HumidityRaw = Code(HumidityCode(h), 255);
        }
        if (type == 3 || type == 5) {
            r.PressureRaw = s.DeviceNumber > 1309 ? Code((p - 762.5) / 0.4392, 65535) : Code((p - 750.0) / 0.542, 65535);
        } else if (type == 8) {
            r.PressureRaw = Code((p - 762.5) / 0.4392, 65535);
        } else if (type == 9) {
            const double co2 = series.CO2Mean + series.CO2Swing * DailyCycle(hour, 19.0);
            r.PressureRaw = Code(co2 / 5.0 + 2.0, 65535);
        } else if (HalvoIsSpectrumType(type)) {
            const bool early = (type == 4 && s.DeviceNumber < 263) || (type == 6 && s.DeviceNumber < 17);
            r.PressureRaw = early ? Code((p - 750.0) / 0.4297, 65535) : Code((p - 762.5) / 0.3866, 65535);
        }

        // Counts from the temperature and humidity the evaluation will see in the codes.
        const double tSeen = sht ? 0.6864 * r.TemperatureRaw - 46.85 : 0.5 * r.TemperatureRaw - 40.0;
        const double hSeen = sht ? 0.4883 * r.HumidityRaw - 6.0
                                 : 0.648 * r.HumidityRaw - 4.0 - 0.00072 * r.HumidityRaw * r.HumidityRaw;
        const double ah = AbsoluteHumidity(tSeen, hSeen);
        if (HalvoIsSpectrumType(type)) {
            const double thoron = series.ThoronMean * std::max(0.0, 1.0 + 0.5 * series.RadonSwing * DailyCycle(hour, 6.0));
            FillSpectrum(s, radon, thoron, ah, minutes, r, draw);
        } else {
            r.Counts = draw.Poisson(radon * minutes * Sensitivity(s, ah) / 1000.0);
        }
        records.push_back(r);
        AdvanceHalvoTime(stamp, series.Interval);
    }
    return records;
}

} // namespace lumetra::sim
