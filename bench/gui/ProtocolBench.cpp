// The protocol of a full Halvo type 4 data set written as a PDF, as `lumetra
// --print-pdf` does it (reading, evaluation, integral data, drawing, writing).

#include "../BenchData.h"
#include "files/DataSetFile.h"
#include "ui/PrintPdf.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

namespace lumetra {
namespace {

void BM_PrintPdf_FullHalvoType4(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "lumetra-protocol-bench";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "full.lmx").string();
    const std::string pdf = (folder / "full.pdf").string();
    if (SaveDataSetFile(file, *bench::MakeFullDataSet(FamilyHalvo, 4)) != 0) {
        state.SkipWithError("cannot write the benchmark file");
        return;
    }
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunPrintPdf({file, pdf}, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrintPdf_FullHalvoType4)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumetra
