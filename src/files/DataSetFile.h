#pragma once
// The native data file (.lmx), little-endian, blocks without gaps (N = records):
//   0    4   format version, Integer 1
//   4    1   Valid (1)
//   5    2   NumberOfRecords
//   7    256 comment: length byte + 255 Windows-1252 characters
//   263  40  header      303  16  setup      319  244  spectrum
//   563 + 212 x (i - 1)  record i, i = 1..N
// A file of one record is 775 bytes; of 16416 records 3,480,755 bytes.

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"

#include <string>

namespace lumetra {

constexpr std::size_t NativePreambleSize = 563;
constexpr std::size_t NativeRecordSize = 212;

// 0 written; FileNotWritten when the file could not be created (nothing is left behind). The file is
// written beside the target under a temporary name and renamed into place.
[[nodiscard]] Byte SaveDataSetFile(const std::string& fileName, const TInstrumentData& data);

// Read; NotOpened; Incomplete: the file is not a complete data set (shorter than its
// preamble, valid flag not 1, no records, more than 16416 records, or a record cut
// short). On failure `data.Valid` is false and nothing else is changed.
[[nodiscard]] TFileStatus ReadDataSetFile(const std::string& fileName, TInstrumentData& data);

} // namespace lumetra
