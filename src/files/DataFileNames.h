#pragma once
// Where a data set is saved: DATA/Year-<year of the last record>/Dev.No. <serial> below
// the start directory, named <model code><serial>_<first stamp> ... <last stamp>.lmx.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"

#include <functional>
#include <string>

namespace lumetra {

// The model code of a family and type ("" for a type without one).
std::string ModelCode(Byte family, Byte type);

// The bare file name for a valid data set.
std::string DataFileName(const TInstrumentData& data);

// The folder below `startDirectory`; "\Year-" passes the translation lookup.
std::string DataFolderPath(const std::string& startDirectory, const TInstrumentData& data,
                           const TTranslate& translate);

// Creates the folder (and its parents) when missing; false when that fails.
bool CreateDataFolder(const std::string& folder);

} // namespace lumetra
