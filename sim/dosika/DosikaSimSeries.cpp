#include "dosika/DosikaSimSeries.h"

#include "common/SimSeries.h"

#include <algorithm>
#include <cmath>

namespace lumetra::sim {

namespace {

constexpr std::size_t kNuclides = 5;
constexpr double kEnergyKeV[kNuclides] = {5490.0, 6002.0, 6778.0, 7687.0, 8785.0};
constexpr bool kFromRadon[kNuclides] = {true, true, false, true, false};

// Counts per minute per kBq/m³ of each peak. Radon monitors see the gas itself and
// its first daughters in the chamber; progeny instruments see the daughters on a
// filter and hardly any gas.
void Sensitivities(std::uint8_t type, double (&sens)[kNuclides]) {
    const bool progeny = type == 2 || type == 3 || type == 6;
    const double monitor[kNuclides] = {1.0, 1.1, 0.6, 0.9, 0.3};
    const double filter[kNuclides] = {0.05, 1.2, 0.1, 1.5, 0.4};
    for (std::size_t k = 0; k < kNuclides; ++k) {
        sens[k] = progeny ? filter[k] : monitor[k];
    }
}

// Share of a peak falling into each channel: a narrow Gaussian with the low-energy
// tail of alphas that lost energy on the way to the detector.
std::vector<double> PeakShape(double center, std::size_t channels) {
    std::vector<double> shape(channels, 0.0);
    double total = 0.0;
    for (std::size_t c = 0; c < channels; ++c) {
        const double d = static_cast<double>(c) + 0.5 - center;
        double w = std::exp(-d * d / (2.0 * 0.8 * 0.8));
        if (d < 0.0) {
            w += 0.15 * std::exp(d / 4.0);
        }
        shape[c] = w;
        total += w;
    }
    for (double& w : shape) {
        w /= total;
    }
    return shape;
}

std::uint8_t Code(double value) { return static_cast<std::uint8_t>(std::clamp(std::round(value), 0.0, 254.0)); }

} // namespace

void GenerateDkData(TDkSimState& s, const TDkSeries& series) {
    s.Records.clear();
    s.Spectrum.fill(0);
    s.SampleInterval = series.Interval;
    if (!DkSimKnownType(s.DeviceType)) {
        return;
    }
    const std::size_t channels = DkSimSpectrumChannels(s.DeviceType);
    const double keVPerChannel = channels == 50 ? 180.0 : 150.0;
    std::vector<std::vector<double>> shapes;
    for (const double e : kEnergyKeV) {
        shapes.push_back(PeakShape(e / keVPerChannel, channels));
    }
    double sens[kNuclides];
    Sensitivities(s.DeviceType, sens);
    const std::uint64_t spectrumMax = s.DeviceType == 1 ? 0xFFFFFFu : 0xFFFFFFFFu;
    const std::uint32_t counterMax = s.DeviceType == 1 ? 0xFFFFu : 0xFFFFFFFFu;

    TSimDraw draw(series.Seed);
    const std::size_t count = std::min(series.Count, DkSimRecordCapacity(s.DeviceType, s.SoftwareVersion));
    s.Records.reserve(count);
    const unsigned startMinute = s.StartTime.Hour * 60u + s.StartTime.Minute;
    std::vector<std::uint64_t> sum(channels, 0);
    std::vector<std::uint32_t> interval(channels, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const double hour = static_cast<double>((startMinute + i * series.Interval) % 1440) / 60.0;
        TDkSimRecord r;
        r.Status = series.Interval;
        if (draw.Uniform() < series.ShortIntervalChance) {
            r.Status = static_cast<std::uint8_t>(std::max(0, series.Interval - 1 - static_cast<int>(draw.Uniform() * 5.0)));
        }
        const double minutes = r.Status;
        const double radon = series.RadonMean * std::max(0.0, 1.0 + series.RadonSwing * DailyCycle(hour, 6.0));
        const double thoron = series.ThoronMean * std::max(0.0, 1.0 + 0.5 * series.RadonSwing * DailyCycle(hour, 6.0));
        for (std::size_t c = 0; c < channels; ++c) {
            double mean = 0.004 * std::exp(-static_cast<double>(c) / 15.0) * minutes;
            for (std::size_t k = 0; k < kNuclides; ++k) {
                mean += (kFromRadon[k] ? radon : thoron) / 1000.0 * minutes * sens[k] * shapes[k][c];
            }
            interval[c] = draw.Poisson(mean);
            sum[c] = std::min<std::uint64_t>(sum[c] + interval[c], spectrumMax);
        }
        for (std::size_t k = 0; k < 5; ++k) {
            std::uint64_t roi = 0;
            for (std::size_t c = s.Roi[k].Lower; c <= s.Roi[k].Upper && c < channels; ++c) {
                roi += interval[c];
            }
            r.Counters[k] = static_cast<std::uint32_t>(std::min<std::uint64_t>(roi, counterMax));
        }
        if (s.DeviceType == 3) {
            r.ExtraCounter = draw.Poisson(radon / 1000.0 * minutes * 2.0 + 0.05 * minutes);
        }
        if (s.DeviceType == 5) {
            // Codes as the climate read converts them: T = 0.4934 code - 25.81, H = 0.4706 code.
            const double t = series.TemperatureMean + series.TemperatureSwing * DailyCycle(hour, 15.0);
            const double h = std::clamp(series.HumidityMean - series.HumiditySwing * DailyCycle(hour, 15.0), 0.0, 100.0);
            r.TemperatureCode = Code((t + 25.80645161) / 0.493358634);
            r.HumidityCode = Code(h / 0.470588235);
        }
        s.Records.push_back(r);
    }
    for (std::size_t c = 0; c < channels; ++c) {
        s.Spectrum[c] = static_cast<std::uint32_t>(sum[c]);
    }
}

} // namespace lumetra::sim
