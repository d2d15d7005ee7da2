#pragma once
// What export and summary share: a data file of any format evaluated in the units of
// "--units si|us", and the integral data over the records of "--range L:R".

#include "core/GlobalDefinitions.h"
#include "evaluation/IntegralData.h"

#include <optional>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::cli {

// Records Left to Right, 1-based and inclusive, 1 <= Left <= Right.
struct TRecordRange {
    unsigned long Left = 0;
    unsigned long Right = 0;
};

struct TEvaluationOptions {
    std::string File;
    std::string Units = "si";
    std::optional<TRecordRange> Range; // all records when not given
};

// FILE, --units and --range. Their form is checked while the command line is parsed, so
// a usage error never waits on a bad file.
void AddEvaluationOptions(CLI::App& command, TEvaluationOptions& options);

struct TEvaluatedFile {
    TInstrumentData Raw;
    TMeasurementData Data;
    TIntegralData Integral;
    TPhysicalUnits Units;
    bool RangeGiven = false; // the range stands for the borders of the main window
};

// Reads, evaluates and sums up. Gives 0 when `file` is ready, else the exit status after
// printing the message: 6 for a file that cannot be read, 64 for a range beyond the
// file's records.
int OpenEvaluatedFile(const char* command, const TEvaluationOptions& options, TEvaluatedFile& file,
                      std::ostream& err);

} // namespace lumetra::cli
