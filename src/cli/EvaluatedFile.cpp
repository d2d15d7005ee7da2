#include "cli/EvaluatedFile.h"

#include "cli/CliCommands.h"
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

} // namespace

int OpenEvaluatedFile(const char* command, const TCliOptions& options, TEvaluatedFile& file, std::ostream& err) {
    const std::string name = command;
    Byte system = UnitsSI;
    if (const auto units = options.Value("--units")) {
        if (*units == "us") {
            system = UnitsUS;
        } else if (*units != "si") {
            return ReportUsageError(err, name + ": --units must be si or us, not '" + *units + "'");
        }
    }

    unsigned long left = 0;
    unsigned long right = 0;
    const auto range = options.Value("--range");
    if (range) {
        const auto colon = range->find(':');
        if (colon == std::string::npos || !ParseIndex(range->substr(0, colon), left) ||
            !ParseIndex(range->substr(colon + 1), right)) {
            return ReportUsageError(err, name + ": bad range '" + *range + "', expected L:R");
        }
        if (left < 1 || left > right) {
            return ReportUsageError(err, name + ": bad range '" + *range + "', expected 1 <= L <= R");
        }
    }

    // Every reader promises records on success; the check keeps a broken promise from
    // indexing outside the record array.
    TInstrumentData& raw = file.Raw;
    if (ReadAnyDataFile(options.Positional[0], raw) != Result::Success || !raw.Valid || raw.NumberOfRecords == 0 ||
        raw.NumberOfRecords > MaxRecords) {
        return ReportResult(err, Result::FileUnreadable);
    }
    const unsigned long count = raw.NumberOfRecords;
    if (!range) {
        left = 1;
        right = count;
    } else if (right > count) {
        return ReportUsageError(err, name + ": range '" + *range + "' outside the records 1.." + std::to_string(count));
    }
    file.RangeGiven = range.has_value();

    SetUnitSystem(system, file.Units);
    EvaluateDataSet(file.Units, raw, file.Data);
    if (!file.Data.Valid) {
        return ReportResult(err, Result::FileUnreadable);
    }
    CalculateIntegralData(static_cast<Integer>(left), static_cast<Integer>(right), raw, file.Integral, file.Data);
    return 0;
}

} // namespace lumetra::cli
