#include "ui/PrintPdf.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "evaluation/IntegralData.h"
#include "evaluation/RecordEvaluation.h"
#include "evaluation/Smoothing.h"
#include "files/ByteBuffer.h"
#include "files/OlderFileFormats.h"
#include "ui/ProtocolPrinter.h"

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace lumetra {
namespace {

constexpr int ExitUsage = 64;

int Usage(std::ostream& err, const std::string& message) {
    err << "lumetra: " << message << "\nTry 'lumetra --help'.\n";
    return ExitUsage;
}

bool ParseIndex(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

struct TPrintPdfOptions {
    std::string File;
    std::string Output;
    std::string Range;
    int Mode = 0;
    std::string Units = "si";
    std::optional<std::string> Comment;
    bool ErrorBars = false;
    int Smooth = 0;
};

std::string BareName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The PDF is drawn in memory and written as the data files are: beside the target under
// a temporary name, then renamed into place, so a failure leaves nothing behind.
bool WritePdf(const std::string& output, const TProtocolInputs& inputs) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    {
        QPdfWriter writer(&buffer);
        // The pens are given in printer pixels: 600 dpi is a common office printer's.
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(QString::fromStdString(inputs.DataFileName));
        drawn = PrintProtocolDocument(writer, inputs);
    }
    const QByteArray& pdf = buffer.data();
    return drawn && !pdf.isEmpty() &&
           WriteFileAtomically(output, std::vector<Byte>(pdf.begin(), pdf.end()));
}

} // namespace

bool AsksForPrintPdf(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-pdf") == 0) {
            return true;
        }
    }
    return false;
}

int RunPrintPdf(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    TPrintPdfOptions options;
    CLI::App app("lumetra --print-pdf");
    app.set_help_flag();
    app.add_option("FILE", options.File)->required();
    app.add_option("OUT", options.Output)->required();
    app.add_option("--range", options.Range);
    app.add_option("--mode", options.Mode)->check(CLI::Range(1, 6));
    app.add_option("--units", options.Units)->check(CLI::IsMember({"si", "us"}));
    app.add_option("--comment", options.Comment);
    app.add_flag("--error-bars", options.ErrorBars);
    app.add_option("--smooth", options.Smooth)->check(CLI::Range(0, 6));
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return Usage(err, std::string("--print-pdf: ") + error.what());
    }

    auto raw = std::make_unique<TInstrumentData>();
    if (ReadAnyDataFile(options.File, *raw) != Result::Success || !raw->Valid || raw->NumberOfRecords == 0) {
        err << *ResultMessageText(Result::FileUnreadable) << '\n';
        return Result::FileUnreadable;
    }
    unsigned long left = 1, right = raw->NumberOfRecords;
    if (!options.Range.empty()) {
        const auto colon = options.Range.find(':');
        if (colon == std::string::npos || !ParseIndex(options.Range.substr(0, colon), left) ||
            !ParseIndex(options.Range.substr(colon + 1), right) || left < 1 || left > right ||
            right > raw->NumberOfRecords) {
            return Usage(err, "--print-pdf: bad range '" + options.Range + "', expected L:R within 1.." +
                                  std::to_string(raw->NumberOfRecords));
        }
    }
    TPhysicalUnits units;
    SetUnitSystem(options.Units == "us" ? UnitsUS : UnitsSI, units);
    auto data = std::make_unique<TMeasurementData>();
    EvaluateDataSet(units, *raw, *data);
    if (!data->Valid) {
        err << *ResultMessageText(Result::FileUnreadable) << '\n';
        return Result::FileUnreadable;
    }
    const Byte mode = options.Mode == 0 ? InitialDisplayMode(data->SensorValidityMatrix) : static_cast<Byte>(options.Mode);
    if (!HoldsDisplayMode(data->SensorValidityMatrix, mode)) {
        return Usage(err, "--print-pdf: --mode " + std::to_string(mode) + ": the file holds no values of that quantity");
    }
    auto integral = std::make_unique<TIntegralData>();
    CalculateIntegralData(static_cast<Integer>(left), static_cast<Integer>(right), *raw, *integral, *data);
    if (!integral->DataOfOneSeries) {
        // The window's print button is disabled for such a range: a protocol covers one
        // measurement series.
        return Usage(err, "--print-pdf: records " + std::to_string(left) + ":" + std::to_string(right) +
                              " cross the start of a new measurement series; a protocol covers one series");
    }
    auto smoothed = std::make_unique<TSmoothedSeries>();
    smoothed->DisplayMode = mode;
    smoothed->Period = options.Smooth;
    if (options.Smooth > 0) {
        SmoothSeries(*data, *smoothed);
    }

    TProtocolInputs inputs;
    inputs.Raw = raw.get();
    inputs.Data = data.get();
    inputs.Integral = integral.get();
    inputs.Smoothed = smoothed.get();
    inputs.DisplayMode = mode;
    inputs.ErrorBars = options.ErrorBars;
    inputs.DataFileName = BareName(options.File);
    inputs.Comment = options.Comment.value_or(raw->Comment);
    StampPrintTime(inputs);
    inputs.Translate = [](const std::string& text) { return text; };
    if (!WritePdf(options.Output, inputs)) {
        err << "Unable to write file: " << options.Output << '\n';
        return Result::FileNotWritten;
    }
    out << options.Output << '\n';
    return 0;
}

} // namespace lumetra
