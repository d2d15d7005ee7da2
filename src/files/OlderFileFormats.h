#pragma once
// Readers of the older data files: ".lm3" (434,736 bytes, up to 2048 records),
// ".lmb" (360,728 bytes, up to 2048 records) and ".hvb" (15,636 bytes, up to 768
// records). Each file is one fixed-size block; bytes after it are ignored.

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"

#include <string>

namespace lumetra {

constexpr std::size_t Lm3BlockSize = 434736;
constexpr std::size_t LmbBlockSize = 360728;
constexpr std::size_t HvbBlockSize = 15636;

// Read; NotOpened; BlockShort: the block could not be read whole (or the record count
// exceeds the format's capacity); NotValid: the valid flag is not 1 (or the file holds
// no records). On failure `data.Valid` is false and nothing else is changed.
[[nodiscard]] TFileStatus ReadLm3File(const std::string& fileName, TInstrumentData& data);
[[nodiscard]] TFileStatus ReadLmbFile(const std::string& fileName, TInstrumentData& data);
[[nodiscard]] TFileStatus ReadHvbFile(const std::string& fileName, TInstrumentData& data);

// Chooses the reader by the case-sensitive extension (".lmx", ".lm3", ".lmb", ".hvb").
// 0 read; FileUnreadable for an unknown extension or any failed read, which leaves
// `data.Valid` false.
[[nodiscard]] Byte ReadAnyDataFile(const std::string& fileName, TInstrumentData& data);

} // namespace lumetra
