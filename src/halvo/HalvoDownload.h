#pragma once
// The Halvo record download: identity and setup, then one request per stored record,
// oldest first (command 6 for the first, 7 for every later one). A record arrives as an
// answer with the command flag clear; a status answer (flag set) with status 11 ends the
// download. Records are big-endian but for the 24-bit spectrum channels, which are read
// low byte first. A type 1 record:
//   0A 0B 0F 03 11 3C 80 64 00 00 00 02 00 00 01 F4
//   = 15.3.2017 11:10, interval 60, humidity code 128, temperature code 100, status 2,
//     500 counts.

#include "core/GlobalDefinitions.h"
#include "halvo/HalvoProtocol.h"

#include <vector>

namespace lumetra {

class TUserInterface;

// Room for as many records as the data set holds.
constexpr std::size_t HlvBufferCapacity = MaxRecords;
constexpr std::uint32_t HlvRetryPauseMilliseconds = 2000;
constexpr int HlvAttempts = 3;

struct THlvDownloadBuffer {
    bool Valid = false;
    Word Count = 0;
    THlvInitValues InitValues{};
    THlvSetupValues SetupValues{};
    std::vector<TInstrumentRecord> Records; // Records[0] is record 1
    bool Truncated = false; // the instrument offered more records than fit
};

// The payload length of a data answer; 0 for a type without a record format.
Byte HlvRecordLength(Byte type, Byte softwareVersion);

// Decodes one data answer; false when its time stamp is impossible.
bool HlvDecodeRecord(Byte type, Byte softwareVersion, const Byte* payload, TInstrumentRecord& record);

[[nodiscard]] Byte HlvReadData(TUserInterface& ui, TComPort port, THlvDownloadBuffer& buffer);

// The whole download into `data`; `data` is left empty and not valid unless it succeeds.
[[nodiscard]] Byte HlvDownload(TUserInterface& ui, TComPort port, TInstrumentData& data);

} // namespace lumetra
