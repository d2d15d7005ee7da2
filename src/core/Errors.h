#pragma once
// Result codes of every instrument and file operation, and the message each one shows.

#include "core/BasicTypes.h"

#include <optional>
#include <string>

namespace lumetra {

class TUserInterface;

// Every result code of the program, whatever module returns it. A code means one thing
// everywhere: a module never reuses another code's number for a reason of its own.
namespace Result {
constexpr Byte Success = 0;
constexpr Byte PortNotOpen = 1;
constexpr Byte RequestLength = 2;        // silent
constexpr Byte NoAnswer = 3;
constexpr Byte FrameError = 4;
constexpr Byte UnexpectedResponse = 5;
constexpr Byte FileUnreadable = 6;
constexpr Byte LengthMismatch = 7;       // silent: a Dosika answer's length does not match its layout
constexpr Byte PartialRecord = 8;        // silent: a record block is not a whole number of records
constexpr Byte FamilyNotSupported = 9;   // silent
constexpr Byte NotDecodable = 10;        // silent: the device type has no record format
constexpr Byte FileNotWritten = 11;      // silent: the caller names the file it could not write
constexpr Byte MeasurementState = 12;
constexpr Byte NotConvertible = 13;      // silent: calibration bytes that cannot be converted
constexpr Byte ModemFailed = 14;
constexpr Byte Declined = 15;            // silent
constexpr Byte PostExposureLock = 16;
constexpr Byte ZigBeeFailed = 17;
constexpr Byte NoTcpIpConnection = 18;
constexpr Byte InstrumentTooNew = 19;
} // namespace Result

// Why a data file could not be read. Not a result code (the numbers overlap the port
// codes): ReadAnyDataFile turns every failure into FileUnreadable.
enum class TFileStatus : Byte {
    Read = 0,
    NotOpened = 2,   // the file could not be opened
    Incomplete = 3,  // a native file that is not a complete data set
    BlockShort = 4,  // an older file's block could not be read whole
    NotValid = 5,    // an older file's valid flag is not 1, or it holds no records
};

// The fixed message of a result code, shown as it stands (never translated); no value
// for success and for the silent codes.
std::optional<std::string> ResultMessageText(Byte code);

// Shows one message for a result: the caller's (already translated) text for success,
// the fixed message for the codes that have one, nothing for any other code.
void ShowResultMessage(TUserInterface& ui, Byte code, const std::string& text = {});

} // namespace lumetra
