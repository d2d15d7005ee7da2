#pragma once
// What export and summary share: a data file of any format evaluated in the units of
// "--units si|us", and the integral data over the records of "--range L:R".

#include "cli/CliOptions.h"
#include "core/GlobalDefinitions.h"
#include "evaluation/IntegralData.h"

#include <ostream>

namespace lumetra::cli {

struct TEvaluatedFile {
    TInstrumentData Raw;
    TMeasurementData Data;
    TIntegralData Integral;
    TPhysicalUnits Units;
    bool RangeGiven = false; // the range stands for the borders of the main window
};

// Checks the options before the file is read (so a usage error never waits on a bad
// file), then reads, evaluates and sums up. Gives 0 when `file` is ready, else the exit
// status after printing the message: 64 for a usage error (also a range beyond the
// file's records), 6 for a file that cannot be read.
int OpenEvaluatedFile(const char* command, const TCliOptions& options, TEvaluatedFile& file, std::ostream& err);

} // namespace lumetra::cli
