#pragma once
// The byte images of the data-set blocks, shared by the native file and the ".lm3"
// file, which store them alike. Encoders write every byte of the block, padding as 0.
//
//   header (40):   0 family, 4 serial (Integer), 8 type, 9 firmware, 10 offset,
//                  11/12 beta limits, 13 ROI levels 1..5, 18 ROI limit pairs 1..5,
//                  28 UniCon 1..6 (Words)
//   setup (16):    0 user (Word), 2 country, 3 region, 4 entry, 6 setup word,
//                  8 sample interval, 12 alarm level (Integer)
//   record (212):  0 sample interval, 2 time (six Words from the second up),
//                  16 temperature, 20 humidity, 24 pressure, 28 counts, 32 status,
//                  36 channels 1..38, 188 extra counts, 192 ROI counts 1..5 (Integers)
//   spectrum (244): 0 size, 4 channels 1..60 (Integers)
//   comment (256): length byte, then up to 255 Windows-1252 characters

#include "core/GlobalDefinitions.h"

#include <cstddef>
#include <string>

namespace lumetra {

constexpr std::size_t HeaderBlockSize = 40;
constexpr std::size_t SetupBlockSize = 16;
constexpr std::size_t RecordBlockSize = 212;
constexpr std::size_t SpectrumBlockSize = 244;
constexpr std::size_t CommentBlockSize = 256;

void DecodeHeader(const Byte* p, TInstrumentHeader& header);
void DecodeSetup(const Byte* p, TInstrumentSetup& setup);
void DecodeRecord(const Byte* p, TInstrumentRecord& record);
void DecodeSpectrum(const Byte* p, TDosikaSpectrum& spectrum);
// The comment as UTF-8.
std::string DecodeComment(const Byte* p);

void EncodeHeader(const TInstrumentHeader& header, Byte* p);
void EncodeSetup(const TInstrumentSetup& setup, Byte* p);
void EncodeRecord(const TInstrumentRecord& record, Byte* p);
void EncodeSpectrum(const TDosikaSpectrum& spectrum, Byte* p);
// A UTF-8 comment converted to Windows-1252 and cut to 255 characters.
void EncodeComment(const std::string& utf8, Byte* p);

} // namespace lumetra
