#include "BenchData.h"

#include "evaluation/IntegralData.h"
#include "evaluation/RecordEvaluation.h"
#include "evaluation/Smoothing.h"

#include <benchmark/benchmark.h>

namespace lumetra::bench {
namespace {

void EvaluateFullSet(benchmark::State& state, Byte family, Byte type) {
    const auto raw = MakeFullDataSet(family, type);
    auto data = std::make_unique<TMeasurementData>();
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    for (auto _ : state) {
        EvaluateDataSet(units, *raw, *data);
        benchmark::DoNotOptimize(data->Data[MaxRecords].Radon);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(MaxRecords));
}

void BM_EvaluateDataSet_HalvoType1(benchmark::State& state) { EvaluateFullSet(state, FamilyHalvo, 1); }
void BM_EvaluateDataSet_HalvoType4(benchmark::State& state) { EvaluateFullSet(state, FamilyHalvo, 4); }
void BM_EvaluateDataSet_DosikaType1(benchmark::State& state) { EvaluateFullSet(state, FamilyDosika, 1); }
void BM_EvaluateDataSet_DosikaType2(benchmark::State& state) { EvaluateFullSet(state, FamilyDosika, 2); }
BENCHMARK(BM_EvaluateDataSet_HalvoType1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateDataSet_HalvoType4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateDataSet_DosikaType1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateDataSet_DosikaType2)->Unit(benchmark::kMillisecond);

void BM_CalculateIntegralData_AllRecords(benchmark::State& state) {
    const auto raw = MakeFullDataSet(FamilyHalvo, 4);
    auto data = std::make_unique<TMeasurementData>();
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    EvaluateDataSet(units, *raw, *data);
    TIntegralData integral;
    for (auto _ : state) {
        CalculateIntegralData(1, static_cast<Integer>(MaxRecords), *raw, integral, *data);
        benchmark::DoNotOptimize(integral.RadonAverage);
    }
}
BENCHMARK(BM_CalculateIntegralData_AllRecords)->Unit(benchmark::kMicrosecond);

void BM_SmoothSeries_Period6(benchmark::State& state) {
    const auto raw = MakeFullDataSet(FamilyHalvo, 4);
    auto data = std::make_unique<TMeasurementData>();
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    EvaluateDataSet(units, *raw, *data);
    auto series = std::make_unique<TSmoothedSeries>();
    series->DisplayMode = 1;
    series->Period = 6;
    for (auto _ : state) {
        SmoothSeries(*data, *series);
        benchmark::DoNotOptimize(series->Values[MaxRecords]);
    }
}
BENCHMARK(BM_SmoothSeries_Period6)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lumetra::bench
