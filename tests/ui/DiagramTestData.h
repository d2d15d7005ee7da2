#pragma once
// Data sets for the diagram tests: evaluated records written by hand, where a test
// needs to know every pixel, and a raw Halvo spectrometric set run through the
// evaluation, where it needs a plausible picture.

#include "core/GlobalDefinitions.h"
#include "core/TimeConversions.h"
#include "core/PhysicalUnits.h"
#include "evaluation/RecordEvaluation.h"
#include "ui/ViewState.h"

#include <QImage>

#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>

namespace lumetra::diagram_test {

// The panel the pixel tests draw on: W = 700, H = 380, inner box at (80, 20).
constexpr int PanelWidth = 900;
constexpr int PanelHeight = 500;
constexpr int W = PanelWidth - 200;
constexpr int H = PanelHeight - 120;
constexpr int InnerLeft = 80;
constexpr int InnerTop = 20;
constexpr int XAxisLeft = 1;
constexpr int XAxisTop = InnerTop + H;

// `count` hourly records of radon 0 without error, no climate sensor, nothing moved.
inline std::unique_ptr<TMeasurementData> FlatSet(int count) {
    auto data = std::make_unique<TMeasurementData>();
    data->Valid = true;
    data->NumberOfRecords = static_cast<Word>(count);
    SetUnitSystem(UnitsSI, data->RelatedUnitSettings);
    data->SensorValidityMatrix.RadonValid = true;
    const TDeviceTime start = MakeDeviceTime(2024, 3, 1, 0, 0);
    for (int i = 1; i <= count; ++i) {
        TMeasurementRecord& r = data->Data[static_cast<std::size_t>(i)];
        r.Time = AddMinutes(start, 60 * i);
        r.SampleTime = 60;
        r.Radon = 0.0;
        r.RadonError = 0.0;
    }
    return data;
}

inline TViewState ViewOf(int first, int last, int zoom) {
    TViewState view;
    view.FirstVisibleRecord = first;
    view.LastVisibleRecord = last;
    view.Zoom = zoom;
    return view;
}

inline bool IsColour(const QImage& image, int x, int y, int r, int g, int b) {
    const QRgb pixel = image.pixel(x, y);
    return qRed(pixel) == r && qGreen(pixel) == g && qBlue(pixel) == b;
}

inline bool IsDark(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    return qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

// A Halvo spectrometric monitor (type 4) with hourly records: radon with a daily cycle
// of Poisson counts, a room climate, the instrument moved now and then, and a break in
// the series after record `breakAfter` (0: none).
inline std::unique_ptr<TInstrumentData> HalvoSpectrumSet(int count, int breakAfter, std::uint64_t seed = 7) {
    auto raw = std::make_unique<TInstrumentData>();
    raw->Valid = true;
    raw->NumberOfRecords = static_cast<Word>(count);
    TInstrumentHeader& h = raw->Header;
    h.DeviceFamily = FamilyHalvo;
    h.DeviceType = 4;
    h.DeviceNumber = 1000;
    h.SoftwareVersion = 12;
    // Sensitivities K1..K3 in counts per minute per kBq/m³, then the spill-over codes.
    const double k1 = 12.0, k2 = 6.0, k3 = 8.0;
    const Word uniCon[6] = {12000, 6000, 8000, 0x0505, 0x1414, 56250};
    for (std::size_t k = 1; k <= 6; ++k)
        h.UniCon[k] = uniCon[k - 1];
    const Byte levels[5] = {4, 12, 18, 26, 34};
    for (std::size_t k = 1; k <= 5; ++k)
        h.ROILevel[k] = levels[k - 1];
    raw->Setup.SampleInterval = 60;

    std::mt19937_64 engine(seed);
    TDeviceTime time = MakeDeviceTime(2024, 3, 4, 0, 0);
    for (int i = 1; i <= count; ++i) {
        if (i == breakAfter + 1 && breakAfter > 0)
            time = AddMinutes(time, 6 * 60); // the instrument was off for six hours
        TInstrumentRecord& r = raw->Records[static_cast<std::size_t>(i)];
        r.SampleInterval = 60;
        r.Time = time;
        const double day = (time.Hour + time.Minute / 60.0) / 24.0;
        const double cycle = std::cos(2.0 * std::numbers::pi * (day - 0.25));
        const double trend = 1.0 + 0.6 * std::sin(2.0 * std::numbers::pi * i / 260.0);
        const double radon = 120.0 * trend * (1.0 + 0.45 * cycle);   // Bq/m³
        const double thoron = 15.0 * (1.0 + 0.3 * cycle);
        const double temperature = 21.0 - 2.5 * cycle;                 // °C
        const double humidity = 45.0 + 8.0 * cycle;                    // %
        const double pressure = 1005.0 + 6.0 * std::sin(2.0 * std::numbers::pi * i / 120.0);
        r.TemperatureRaw = static_cast<Integer>(std::lround((temperature + 40.0) * 2.0));
        // Inverse of 0.648 c - 4 - 0.00072 c² below its vertex.
        const double a = 0.00072, b = -0.648, c = 4.0 + humidity;
        r.HumidityRaw = static_cast<Integer>(std::lround((-b - std::sqrt(b * b - 4.0 * a * c)) / (2.0 * a)));
        r.PressureRaw = static_cast<Integer>(std::lround((pressure - 762.5) / 0.3866));
        r.Status = (i % 97 >= 40 && i % 97 < 44) ? 1 : 0;
        // Po-218 (fast radon), Po-216 (thoron), Po-214 (slow radon), Po-212.
        const double regionMeans[4] = {radon * 60 * k2 / 1000.0, thoron * 60 * k3 / 1000.0,
                                       radon * 60 * (k1 - k2) / 1000.0, 0.3 * thoron * 60 * k3 / 1000.0};
        for (std::size_t ch = 1; ch <= IntervalChannels; ++ch) {
            double mean = 0.1;
            for (std::size_t k = 0; k < 4; ++k)
                if (ch > levels[k] && ch <= levels[k + 1])
                    mean = regionMeans[k] / (levels[k + 1] - levels[k]);
            std::poisson_distribution<int> counts(mean);
            r.Channels[ch] = counts(engine);
        }
        time = AddMinutes(time, 60);
    }
    return raw;
}

inline std::unique_ptr<TMeasurementData> Evaluated(const TInstrumentData& raw, Byte system = UnitsSI) {
    TPhysicalUnits units;
    SetUnitSystem(system, units);
    auto data = std::make_unique<TMeasurementData>();
    EvaluateDataSet(units, raw, *data);
    return data;
}

} // namespace lumetra::diagram_test
