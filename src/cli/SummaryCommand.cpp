// summary FILE: the texts of the main window's summary panel for one display mode.

#include "cli/CliCommands.h"

#include "cli/EvaluatedFile.h"
#include "cli/OptionKinds.h"
#include "evaluation/IntegralData.h"

#include <memory>
#include <string>

namespace lumetra::cli {
namespace {

const char* QuantityName(Byte mode) {
    switch (mode) {
    case DisplayMode::Radon: return "radon";
    case DisplayMode::RadonFast: return "radon (fast)";
    case DisplayMode::Thoron: return "thoron";
    case DisplayMode::RadonEEC: return "EEC (radon)";
    case DisplayMode::RadonPAEC: return "PAEC (radon)";
    default: return "PAEC (thoron)";
    }
}

void PrintSummary(const TSummaryTexts& texts, bool oneSeries, std::ostream& out) {
    out << "Instrument: " << texts.DevNumberLabel << '\n';
    out << "Records: " << texts.TotalRecordsLabel << '\n';
    out << "Start Test: " << texts.StartTestLabel << '\n';
    out << "End Test: " << texts.EndTestLabel << '\n';
    out << "Period: " << texts.PeriodLabel << '\n';
    out << "Exposure time: " << texts.ExposureTimeLabel << '\n';
    out << "Average: " << texts.AverageLabel << '\n';
    if (texts.ExposureVisible && !texts.ExposureItemLabel.empty()) {
        out << texts.ExposureItemLabel << ": " << texts.ExposureLabel << '\n';
    }
    out << "One series: " << (oneSeries ? "yes" : "no") << '\n';
}

struct TSummaryOptions {
    TEvaluationOptions Evaluation;
    int Mode = 0; // 1 to 6; 0: the mode the main window starts with
};

int RunSummary(const TSummaryOptions& options, std::ostream& out, std::ostream& err) {
    const auto file = std::make_unique<TEvaluatedFile>();
    if (const int status = OpenEvaluatedFile("summary", options.Evaluation, *file, err); status != 0) {
        return status;
    }
    const TSensorValidityMatrix& valid = file->Data.SensorValidityMatrix;
    Byte mode = static_cast<Byte>(options.Mode);
    if (options.Mode == 0) {
        mode = InitialDisplayMode(valid);
    } else if (!HoldsDisplayMode(valid, mode)) {
        return ReportUsageError(err, "summary: --mode " + std::to_string(options.Mode) +
                                         ": the file holds no " + QuantityName(mode) + " values");
    }
    const TTranslate english = [](const std::string& text) { return text; };
    const TSummaryTexts texts =
        SummaryTexts(mode, file->Integral, file->Units, file->Raw.Header, file->RangeGiven, english);
    PrintSummary(texts, file->Integral.DataOfOneSeries, out);
    return 0;
}

} // namespace

void AddSummaryCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("summary", "the summary panel's texts for a range of records",
                     "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. Its records\n"
                     "are evaluated and summed up over the range as the main window's summary panel\n"
                     "shows them, one \"Label: text\" line each: instrument, records, start and end,\n"
                     "period, exposure time, average, exposure or dose (SI units only), and whether\n"
                     "the range is one measurement series.\n",
                     RunSummary);
    AddEvaluationOptions(command, options.Evaluation);
    command
        .add_option(
            "--mode", options.Mode,
            "the quantity: 1 radon, 2 radon (fast), 3 thoron, 4 EEC (radon), 5 PAEC (radon), 6 PAEC "
            "(thoron); one the file holds. Default: radon, or EEC (radon) for the files without radon.")
        ->check(DecimalNumber())
        ->check(CLI::Range(1, 6).description(""))
        ->type_name("1-6");
}

} // namespace lumetra::cli
