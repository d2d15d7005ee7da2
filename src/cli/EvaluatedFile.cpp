#include "cli/EvaluatedFile.h"

#include "cli/CliCommands.h"
#include "cli/OptionKinds.h"
#include "core/Errors.h"
#include "evaluation/RecordEvaluation.h"
#include "files/OlderFileFormats.h"

#include <charconv>
#include <string>

namespace lumetra::cli {
namespace {

// Plain decimal digits only: no sign, no blanks, no more than a record index can hold.
bool ParseIndex(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Gives the message for a malformed range, else an empty text and the range.
std::string ParseRange(const std::string& text, TRecordRange& range) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || !ParseIndex(text.substr(0, colon), range.Left) ||
        !ParseIndex(text.substr(colon + 1), range.Right)) {
        return "bad range '" + text + "', expected L:R";
    }
    if (range.Left < 1 || range.Left > range.Right) {
        return "bad range '" + text + "', expected 1 <= L <= R";
    }
    return {};
}

} // namespace

void AddEvaluationOptions(CLI::App& command, TEvaluationOptions& options) {
    command.add_option("FILE", options.File)->required();
    command.add_option("--units", options.Units, "SI units (the default) or US units")
        ->check(OneOf({"si", "us"}))
        ->type_name("si|us");
    command
        .add_option_function<std::string>(
            "--range",
            [&options](const std::string& text) {
                TRecordRange range;
                ParseRange(text, range);
                options.Range = range;
            },
            "records L to R, 1-based and inclusive (default: all)")
        ->check(CLI::Validator(
            [](const std::string& text) {
                TRecordRange range;
                return ParseRange(text, range);
            },
            ""))
        ->type_name("L:R");
}

int OpenEvaluatedFile(const char* command, const TEvaluationOptions& options, TEvaluatedFile& file,
                      std::ostream& err) {
    // Every reader promises records on success; the check keeps a broken promise from
    // indexing outside the record array.
    TInstrumentData& raw = file.Raw;
    if (ReadAnyDataFile(options.File, raw) != Result::Success || !raw.Valid || raw.NumberOfRecords == 0 ||
        raw.NumberOfRecords > MaxRecords) {
        return ReportResult(err, Result::FileUnreadable);
    }
    const unsigned long count = raw.NumberOfRecords;
    TRecordRange range{1, count};
    if (options.Range) {
        range = *options.Range;
        if (range.Right > count) {
            return ReportUsageError(err, std::string(command) + ": range '" + std::to_string(range.Left) +
                                             ":" + std::to_string(range.Right) + "' outside the records 1.." +
                                             std::to_string(count));
        }
    }
    file.RangeGiven = options.Range.has_value();

    SetUnitSystem(options.Units == "us" ? UnitsUS : UnitsSI, file.Units);
    EvaluateDataSet(file.Units, raw, file.Data);
    if (!file.Data.Valid) {
        return ReportResult(err, Result::FileUnreadable);
    }
    CalculateIntegralData(static_cast<Integer>(range.Left), static_cast<Integer>(range.Right), raw,
                          file.Integral, file.Data);
    return 0;
}

} // namespace lumetra::cli
