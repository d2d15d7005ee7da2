// The main window with a full data set: opening a 16416-record file up to the first
// finished paint of the diagram, and one cursor move with its read-out labels.

#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "../BenchData.h"
#include "files/DataSetFile.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace lumetra {
namespace {

// The open dialog answers with the prepared file.
class TBenchWindow final : public TMainWindow {
public:
    using TMainWindow::TMainWindow;
    std::string FileToOpen;

protected:
    std::string ChooseOpenFileName() override { return FileToOpen; }
};

struct TOpenedWindow {
    std::filesystem::path Folder;
    std::unique_ptr<TBenchWindow> Window;

    TOpenedWindow() {
        Folder = std::filesystem::temp_directory_path() / "lumetra-mainwindow-bench";
        std::filesystem::create_directories(Folder);
        const auto raw = bench::MakeFullDataSet(FamilyHalvo, 4);
        const std::string file = (Folder / "full.lmx").string();
        if (SaveDataSetFile(file, *raw) != Result::Success)
            throw std::runtime_error("cannot write the benchmark file " + file);
        Window = std::make_unique<TBenchWindow>(Folder.string());
        Window->FileToOpen = file;
        Window->resize(1200, 760);
        Window->show();
        QApplication::processEvents();
    }
    ~TOpenedWindow() {
        Window.reset();
        std::error_code error;
        std::filesystem::remove_all(Folder, error);
    }
};

void BM_OpenFileToFirstPaint(benchmark::State& state) {
    TOpenedWindow opened;
    for (auto _ : state) {
        opened.Window->OpenFile();
        opened.Window->Diagram->repaint();
    }
    if (opened.Window->InstrumentData().NumberOfRecords != MaxRecords)
        state.SkipWithError("the file was not opened");
}

void BM_WindowCursorMove(benchmark::State& state) {
    TOpenedWindow opened;
    opened.Window->OpenFile();
    TDiagramWidget* diagram = opened.Window->Diagram;
    const TLayoutRect inner = diagram->Boxes().InnerDiagram;
    int step = 0;
    for (auto _ : state) {
        const QPoint at(inner.Left + 10 + step++ % (inner.Width - 20), inner.Top + inner.Height / 2);
        QMouseEvent move(QEvent::MouseMove, at, diagram->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(diagram, &move);
        QApplication::processEvents(); // the two changed columns and the labels
    }
}

BENCHMARK(BM_OpenFileToFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowCursorMove)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lumetra
