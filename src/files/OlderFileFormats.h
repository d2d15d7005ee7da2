#pragma once
// Readers of the older data files: ".lm3" (434,736 bytes, up to 2048 records),
// ".lmb" (360,728 bytes, up to 2048 records) and ".hvb" (15,636 bytes, up to 768
// records). Each file is one fixed-size block; bytes after it are ignored.

#include "core/GlobalDefinitions.h"

#include <string>

namespace lumetra {

constexpr std::size_t Lm3BlockSize = 434736;
constexpr std::size_t LmbBlockSize = 360728;
constexpr std::size_t HvbBlockSize = 15636;

// 0 read; 2 the file could not be opened; 4 the block could not be read whole (or the
// record count exceeds the format's capacity); 5 the valid flag is not 1 (or the file
// holds no records). On failure `data.Valid` is false and nothing else is changed.
Byte ReadLm3File(const std::string& fileName, TInstrumentData& data);
Byte ReadLmbFile(const std::string& fileName, TInstrumentData& data);
Byte ReadHvbFile(const std::string& fileName, TInstrumentData& data);

// Chooses the reader by the case-sensitive extension (".lmx", ".lm3", ".lmb", ".hvb").
// An unknown extension gives 6 and, like any failed read, leaves `data.Valid` false.
Byte ReadAnyDataFile(const std::string& fileName, TInstrumentData& data);

} // namespace lumetra
