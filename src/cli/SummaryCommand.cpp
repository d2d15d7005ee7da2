// summary FILE: the texts of the main window's summary panel for one display mode.

#include "cli/CliCommands.h"

#include "cli/EvaluatedFile.h"
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

bool HoldsQuantity(const TSensorValidityMatrix& valid, Byte mode) {
    switch (mode) {
    case DisplayMode::Radon: return valid.RadonValid;
    case DisplayMode::RadonFast: return valid.RadonFastValid;
    case DisplayMode::Thoron: return valid.ThoronValid;
    case DisplayMode::RadonEEC: return valid.RadonEECValid;
    case DisplayMode::RadonPAEC: return valid.RadonPAECValid;
    case DisplayMode::ThoronPAEC: return valid.ThoronPAECValid;
    default: return false;
    }
}

// The main window starts on radon, or on the EEC for the sets that hold it.
Byte InitialMode(const TSensorValidityMatrix& valid) {
    return valid.RadonEECValid && !valid.RadonValid ? DisplayMode::RadonEEC : DisplayMode::Radon;
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

int RunSummary(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    Byte mode = 0;
    const auto modeText = options.Value("--mode");
    if (modeText) {
        if (modeText->size() != 1 || (*modeText)[0] < '1' || (*modeText)[0] > '6') {
            return ReportUsageError(err, "summary: --mode must be 1 to 6, not '" + *modeText + "'");
        }
        mode = static_cast<Byte>((*modeText)[0] - '0');
    }
    const auto file = std::make_unique<TEvaluatedFile>();
    if (const int status = OpenEvaluatedFile("summary", options, *file, err); status != 0) {
        return status;
    }
    const TSensorValidityMatrix& valid = file->Data.SensorValidityMatrix;
    if (!modeText) {
        mode = InitialMode(valid);
    } else if (!HoldsQuantity(valid, mode)) {
        return ReportUsageError(err, "summary: --mode " + *modeText + ": the file holds no " + QuantityName(mode) +
                                         " values");
    }
    const TTranslate english = [](const std::string& text) { return text; };
    const TSummaryTexts texts =
        SummaryTexts(mode, file->Integral, file->Units, file->Raw.Header, file->RangeGiven, english);
    PrintSummary(texts, file->Integral.DataOfOneSeries, out);
    return 0;
}

} // namespace

const TCliCommand& SummaryCommand() {
    static const TCliCommand command{
        "summary",
        "summary FILE [--units si|us] [--range L:R] [--mode 1-6]",
        "the summary panel's texts for a range of records",
        "FILE is a data file of any of the formats .lmx, .lm3, .lmb and .hvb. Its records\n"
        "are evaluated and summed up over the range as the main window's summary panel\n"
        "shows them, one \"Label: text\" line each: instrument, records, start and end,\n"
        "period, exposure time, average, exposure or dose (SI units only), and whether\n"
        "the range is one measurement series.\n"
        "\n"
        "  --units si|us    SI units (the default) or US units\n"
        "  --range L:R      records L to R, 1-based and inclusive (default: all)\n"
        "  --mode 1-6       the quantity: 1 radon, 2 radon (fast), 3 thoron, 4 EEC (radon),\n"
        "                   5 PAEC (radon), 6 PAEC (thoron); one the file holds. Default:\n"
        "                   radon, or EEC (radon) for the files without radon.\n",
        {{{"--units", true}, {"--range", true}, {"--mode", true}}, {"FILE"}, 1, 1},
        RunSummary,
    };
    return command;
}

} // namespace lumetra::cli
