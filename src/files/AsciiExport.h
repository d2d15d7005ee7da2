#pragma once
// The tab-separated export of a bordered range: a header block, the RESULTS of the
// integral data, the sum spectrum, column headers, units and one line per record.
// Lines end with CR LF; the literals are English and never translated; numbers use the
// locale's decimal separator; the comment is written as UTF-8.

#include "core/GlobalDefinitions.h"
#include "evaluation/IntegralData.h"

#include <string>

namespace lumetra {

// The export's text; empty when the evaluated data set is not valid.
std::string AsciiExportText(const std::string& dataFileName, const std::string& comment,
                            const TIntegralData& integral, const TMeasurementData& data,
                            const TInstrumentData& raw);

// Writes the export to `fileName`; false (and no file) when the data set is not valid or
// the file cannot be written.
bool WriteAsciiExport(const std::string& fileName, const std::string& dataFileName, const std::string& comment,
                      const TIntegralData& integral, const TMeasurementData& data, const TInstrumentData& raw);

} // namespace lumetra
