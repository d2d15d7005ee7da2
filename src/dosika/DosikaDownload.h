#pragma once
// The Dosika-family download: identity, calibration and setup, then the sum spectrum
// (command 0x60) and the record block (0x61), each answered by a status frame, data
// frames and the closing frame. The joined record block is
//   length (2 bytes, = the joined length) | minute | hour | day | month | records
// with no year: the start is taken to lie in the past year when its month is later
// than the current one. Example from a Dosika (records of 11 bytes):
//   11 00 00 0A 0F 03 | 3C 01 00 02 00 03 00 04 00 05 00
//   = start 15 March 10:00, one record of status 60 and counts 1, 2, 3, 4, 5.

#include "core/GlobalDefinitions.h"
#include "dosika/DosikaCommands.h"

#include <vector>

namespace lumetra {

class TUserInterface;

// A record block is at most 65535 bytes, so it holds at most (65535 - 6) / 11 records of
// the smallest size; the buffer takes them all, and so does the data set.
constexpr std::size_t DkMaxBlockLength = 65535;
constexpr std::size_t DkMaxRecords = (DkMaxBlockLength - 6) / 11;
static_assert(DkMaxRecords <= MaxRecords);

struct TDkRecord {
    Byte RecordStatus = 0;
    Integer ExtraCounter = 0; // Morvel only
    Array1<Integer, 5> Counters{};
    Byte HumidityCode = 0;    // Senra-R only
    Byte TemperatureCode = 0; // Senra-R only
    bool operator==(const TDkRecord&) const = default;
};

struct TDkDownloadBuffer {
    bool Valid = false;
    TDkInitValues InitValues{};
    TDkSetupValues SetupValues{};
    Word NumberOfRecords = 0;
    TDeviceTime StartTime{};
    TDosikaSpectrum Spectrum{};
    std::vector<TDkRecord> Records; // Records[0] is record 1; NumberOfRecords of them
};

// Bytes per record for a device type and software version; 0 when not decodable.
std::size_t DkRecordSize(Byte deviceType, Byte softwareVersion);

// 0, or 7 when the length is not that of the device type's spectrum.
[[nodiscard]] Byte DecodeDkSpectrum(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer);

// 0; 9 device type not decodable; 7 block length not the joined length (a joined answer
// longer than 65535 bytes or shorter than the 6 header bytes can never match); 8 not a
// whole number of records. `today` gives the year and month the start time is placed by.
[[nodiscard]] Byte DecodeDkRecords(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer, TDeviceTime today);
// The same with the computer's current date.
[[nodiscard]] Byte DecodeDkRecords(const TDkPayloadBuffer& joined, TDkDownloadBuffer& buffer);

[[nodiscard]] Byte DkReadAllData(TUserInterface& ui, TComPort port, TDkDownloadBuffer& buffer);

// Copies a successful download into the data set: header, setup, spectrum, and records
// with time stamps running from the start time in steps of the sample interval (a
// Dosika before software 5 stamps the end of its first interval).
void FillDkInstrumentData(const TDkDownloadBuffer& buffer, TInstrumentData& data);

// The whole download. An instrument that refuses because it is measuring is offered to
// be stopped ("Stop measurement?"); declining gives 15. `data` is left empty and not
// valid unless the download succeeds.
[[nodiscard]] Byte DkDownload(TUserInterface& ui, TComPort port, TInstrumentData& data);

} // namespace lumetra
