#include "BenchData.h"

#include "evaluation/IntegralData.h"
#include "evaluation/RecordEvaluation.h"
#include "files/AsciiExport.h"
#include "files/DataSetFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace lumetra::bench {
namespace {

std::string ScratchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_ReadDataSetFile_FullFile(benchmark::State& state) {
    const auto raw = MakeFullDataSet(FamilyHalvo, 4);
    const std::string path = ScratchPath("lumetra-bench-read.lmx");
    if (SaveDataSetFile(path, *raw) != 0) {
        state.SkipWithError("cannot write the benchmark file");
        return;
    }
    auto loaded = std::make_unique<TInstrumentData>();
    for (auto _ : state) {
        const TFileStatus status = ReadDataSetFile(path, *loaded);
        if (status != TFileStatus::Read) {
            state.SkipWithError("the benchmark file did not read back");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadDataSetFile_FullFile)->Unit(benchmark::kMillisecond);

void BM_WriteAsciiExport_Spectrometric(benchmark::State& state) {
    const auto raw = MakeFullDataSet(FamilyHalvo, 4);
    auto data = std::make_unique<TMeasurementData>();
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    EvaluateDataSet(units, *raw, *data);
    TIntegralData integral;
    CalculateIntegralData(1, static_cast<Integer>(MaxRecords), *raw, integral, *data);
    const std::string path = ScratchPath("lumetra-bench-export.txt");
    for (auto _ : state) {
        const bool written = WriteAsciiExport(path, "bench.lmx", "benchmark", integral, *data, *raw);
        benchmark::DoNotOptimize(written);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteAsciiExport_Spectrometric)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumetra::bench
