#pragma once
// Wire forms of the Dosika-family download answers, before they are cut into frames.
//
// Spectrum (0x60): a type 1 sends 50 channels of 3 bytes (150 bytes), the others 60
// channels of 4 bytes (240 bytes), little-endian.
// Record block (0x61): block length (2 bytes, counting itself), minute, hour, day and
// month of the start time, then the records. Record layouts, multi-byte values
// little-endian:
//   11 bytes (type 1): status, five 16-bit counters
//   21 bytes (types 2, 4, 6): status, five 32-bit counters
//   25 bytes (type 3): the 21 bytes, then the 32-bit extra counter
//   23 bytes (type 5): the 21 bytes, temperature code, humidity code
//   32 bytes (software 10 of types 1, 2 and 5): the type's layout, then filler bytes
// E.g. a Dosika block of one record (status 60, counters 1..5) started 10:30 on 5 Jan:
//   11 00 1E 0A 05 01 3C 01 00 02 00 03 00 04 00 05 00 (length 0x11 = 17 bytes).

#include "dosika/DosikaSimState.h"

#include <cstdint>
#include <vector>

namespace lumetra::sim {

// The spectrum payload; otherSize sends the other types' length instead (a type 1
// then sends 240 bytes, the others 150).
std::vector<std::uint8_t> EncodeDkSpectrum(const TDkSimState& state, bool otherSize = false);

// One record in the type's layout; empty for an unknown type.
std::vector<std::uint8_t> EncodeDkRecord(std::uint8_t type, std::uint8_t softwareVersion, const TDkSimRecord& record);

struct TDkBlockDamage {
    bool ExtraByte = false;    // one byte more than whole records, counted in the length
    bool LengthWrong = false; // the length field one off the bytes sent (one more if it fits)
};

// The record block. Records beyond what 65535 bytes hold are not sent.
std::vector<std::uint8_t> EncodeDkRecordBlock(const TDkSimState& state, TDkBlockDamage damage = {});

} // namespace lumetra::sim
