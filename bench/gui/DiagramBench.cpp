// Paint speed of the time-series diagram: a full repaint of a full data set into an
// offscreen picture, and one cursor move on the panel widget. Target: a repaint under
// 8 ms, a cursor move under 1 ms.

#include "core/PhysicalUnits.h"
#include "evaluation/Smoothing.h"
#include "ui/DiagramPainter.h"
#include "ui/DiagramWidget.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace lumetra {
namespace {

void ValidityMatrixForBench(TSensorValidityMatrix& m) {
    m.RadonValid = m.RadonFastValid = m.ThoronValid = true;
    m.MovementValid = m.TempValid = m.rHValid = m.PresValid = true;
}

// 16416 hourly records of a spectrometric monitor: radon with a daily cycle and its
// counting error, thoron, climate, a move now and then and a new series every 2000.
const TMeasurementData& FullSet() {
    static const std::unique_ptr<TMeasurementData> data = [] {
        auto d = std::make_unique<TMeasurementData>();
        d->Valid = true;
        d->NumberOfRecords = static_cast<Word>(MaxRecords);
        SetUnitSystem(UnitsSI, d->RelatedUnitSettings);
        ValidityMatrixForBench(d->SensorValidityMatrix);
        const TDeviceTime start = MakeDeviceTime(2023, 1, 1, 0, 0);
        for (std::size_t i = 1; i <= MaxRecords; ++i) {
            TMeasurementRecord& r = d->Data[i];
            const double hour = static_cast<double>(i % 24);
            const double cycle = std::cos(2.0 * std::numbers::pi * (hour - 6.0) / 24.0);
            r.Time = AddMinutes(start, static_cast<Integer>(60 * i));
            r.SampleTime = 60;
            r.Radon = 120.0 * (1.0 + 0.4 * cycle) + 30.0 * std::sin(static_cast<double>(i) * 0.37);
            r.RadonError = 100.0 / std::sqrt(r.Radon * 0.36);
            r.RadonFast = r.Radon * 0.95;
            r.RadonFastError = r.RadonError * 1.4;
            r.Thoron = 15.0 * (1.0 + 0.2 * cycle);
            r.ThoronError = i % 7 == 0 ? -1.0 : 35.0;
            r.Temperature = 21.0 - 2.5 * cycle;
            r.Humidity = 45.0 + 8.0 * cycle;
            r.Pressure = 1005.0 + 6.0 * std::sin(static_cast<double>(i) / 20.0);
            r.Movement = i % 97 < 3;
            r.SeriesStart = i % 2000 == 1;
        }
        return d;
    }();
    return *data;
}

TPhysicalUnits SiUnits() {
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    return units;
}

// Panels of the smallest window (1000 × 600) and of a full-HD one.
QSize PanelOf(int windowClientWidth, int windowClientHeight) {
    return {windowClientWidth - 16, windowClientHeight - 232};
}

void Repaint(benchmark::State& state, TViewState view, const TSmoothedSeries* smoothed, bool errorBars) {
    const QSize panel = PanelOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const TPhysicalUnits units = SiUnits();
    const TDiagramSources sources{&FullSet(), &units, smoothed, errorBars};
    QImage image(panel, QImage::Format_RGB32);
    const int w = panel.width() - 200;
    if (view.Zoom == 0)
        view.Zoom = 1;
    if (view.LastVisibleRecord <= view.FirstVisibleRecord)
        view.LastVisibleRecord = std::min(view.FirstVisibleRecord + w / view.Zoom + 1, static_cast<int>(MaxRecords));
    for (auto _ : state) {
        QPainter painter(&image);
        PaintDiagram(painter, panel, sources, view);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RepaintZoom1(benchmark::State& state) {
    TViewState view;
    view.FirstVisibleRecord = 1;
    Repaint(state, view, nullptr, false);
}

void BM_RepaintZoom1ErrorBars(benchmark::State& state) {
    TViewState view;
    view.FirstVisibleRecord = 5000;
    Repaint(state, view, nullptr, true);
}

// After a fit over the whole set: more records than pixels, so the zoom stays 1.
void BM_RepaintAfterFitAll(benchmark::State& state) {
    TViewState view;
    view.FirstVisibleRecord = 1;
    view.BordersSelected = true;
    view.LeftBorderIndex = 1;
    view.RightBorderIndex = static_cast<int>(MaxRecords);
    Repaint(state, view, nullptr, false);
}

// After a fit over records 1000 .. 1100: 101 records fill the width.
void BM_RepaintAfterFitRange(benchmark::State& state) {
    TViewState view;
    const int w = static_cast<int>(state.range(0)) - 16 - 200;
    view.BordersSelected = true;
    view.LeftBorderIndex = 1000;
    view.RightBorderIndex = 1100;
    view.FirstVisibleRecord = 999;
    view.Zoom = w / 101;
    view.LastVisibleRecord = 1100;
    Repaint(state, view, nullptr, true);
}

void BM_RepaintSmoothed(benchmark::State& state) {
    static const std::unique_ptr<TSmoothedSeries> smoothed = [] {
        auto s = std::make_unique<TSmoothedSeries>();
        s->Period = 3;
        SmoothSeries(FullSet(), *s);
        return s;
    }();
    TViewState view;
    view.FirstVisibleRecord = 1;
    Repaint(state, view, smoothed.get(), false);
}

void BM_CursorMove(benchmark::State& state) {
    const TPhysicalUnits units = SiUnits();
    TViewState view;
    view.FirstVisibleRecord = 1;
    TDiagramWidget widget;
    const QSize panel = PanelOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    widget.resize(panel);
    view.LastVisibleRecord = panel.width() - 200 + 1;
    widget.SetSources(&FullSet(), &units, nullptr, &view);
    widget.show();
    QApplication::processEvents();
    int x = 0;
    for (auto _ : state) {
        x = (x + 7) % widget.InnerWidth();
        widget.MoveCursorLine(x);
        QApplication::processEvents(); // paints the two changed columns
    }
}

#define LUMETRA_PANELS ->Args({1000, 600})->Args({1920, 1080})->Unit(benchmark::kMillisecond)
BENCHMARK(BM_RepaintZoom1) LUMETRA_PANELS;
BENCHMARK(BM_RepaintZoom1ErrorBars) LUMETRA_PANELS;
BENCHMARK(BM_RepaintAfterFitAll) LUMETRA_PANELS;
BENCHMARK(BM_RepaintAfterFitRange) LUMETRA_PANELS;
BENCHMARK(BM_RepaintSmoothed) LUMETRA_PANELS;
BENCHMARK(BM_CursorMove) LUMETRA_PANELS;

} // namespace
} // namespace lumetra

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
