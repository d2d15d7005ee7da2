// Paint speed of the alpha spectrum window: the picture alone, and the window's refresh
// after a border change (new sums, repainted at once). Target: a repaint under 2 ms.

#include "evaluation/IntegralData.h"
#include "ui/SpectrumDisplay.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>

namespace lumetra {
namespace {

// A full Dosika spectrum (60 channels, five regions) or a Halvo one (38 channels, four
// regions between five boundaries), with counts in the millions as after months.
struct TSpectrumCase {
    TInstrumentHeader Header;
    TIntegralData Integral;

    explicit TSpectrumCase(Byte family) {
        Header.DeviceFamily = family;
        Header.Offset = 2;
        const Byte levels[5] = {4, 12, 18, 26, 34};
        const std::pair<Byte, Byte> limits[5] = {{8, 16}, {17, 24}, {25, 34}, {35, 44}, {45, 56}};
        for (std::size_t i = 1; i <= 5; ++i) {
            Header.ROILevel[i] = levels[i - 1];
            Header.ROILimits[i] = {limits[i - 1].first, limits[i - 1].second};
        }
        const Integer size = family == FamilyDosika ? 60 : 38;
        Integral.SumSpectrum.Size = size;
        for (Integer ch = 1; ch <= size; ++ch) {
            const double peaks = std::exp(-0.5 * std::pow((ch - 10.0) / 2.0, 2)) +
                                 0.7 * std::exp(-0.5 * std::pow((ch - 22.0) / 2.5, 2)) +
                                 0.9 * std::exp(-0.5 * std::pow((ch - 30.0) / 2.0, 2));
            Integral.SumSpectrum.Channels[static_cast<std::size_t>(ch)] =
                static_cast<Integer>(3.0e6 * peaks + 1000.0);
        }
    }
};

void BM_SpectrumPicture(benchmark::State& state) {
    const TSpectrumCase c(static_cast<Byte>(state.range(0)));
    const QSize size(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    TROISums sums{};
    CalculateROISums(c.Header, c.Integral.SumSpectrum, sums);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintSpectrum(painter, size, c.Header, c.Integral.SumSpectrum, sums, {});
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// What a border change costs while the window is shown: ShowSpectrum(false, ...).
void BM_SpectrumWindowRefresh(benchmark::State& state) {
    const TSpectrumCase c(static_cast<Byte>(state.range(0)));
    TSpectrumWindow window([](const std::string& english) { return english; });
    window.resize(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    window.ShowSpectrum(true, "bench.lmx", c.Header, c.Integral);
    QApplication::processEvents();
    for (auto _ : state)
        window.ShowSpectrum(false, "bench.lmx", c.Header, c.Integral);
}

// Family, then the paint box's size: the first window, and a full-HD one.
#define LUMETRA_SPECTRA                                                                                     \
    ->Args({FamilyDosika, 606, 391})->Args({FamilyHalvo, 606, 391})->Args({FamilyDosika, 1920, 1080})     \
        ->Unit(benchmark::kMillisecond)
BENCHMARK(BM_SpectrumPicture) LUMETRA_SPECTRA;
BENCHMARK(BM_SpectrumWindowRefresh) LUMETRA_SPECTRA;

} // namespace
} // namespace lumetra
