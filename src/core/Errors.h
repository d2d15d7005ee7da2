#pragma once
// Result codes of every instrument and file operation, and the message each one shows.

#include "core/BasicTypes.h"

#include <optional>
#include <string>

namespace lumetra {

class TUserInterface;

namespace Result {
constexpr Byte Success = 0;
constexpr Byte PortNotOpen = 1;
constexpr Byte RequestLength = 2;
constexpr Byte NoAnswer = 3;
constexpr Byte FrameError = 4;
constexpr Byte UnexpectedResponse = 5;
constexpr Byte FileUnreadable = 6;
constexpr Byte FamilyNotSupported = 9;
constexpr Byte MeasurementState = 12;
constexpr Byte ModemFailed = 14;
constexpr Byte Declined = 15;
constexpr Byte PostExposureLock = 16;
constexpr Byte ZigBeeFailed = 17;
constexpr Byte NoTcpIpConnection = 18;
constexpr Byte InstrumentTooNew = 19;
} // namespace Result

// The fixed message of a result code, shown as it stands (never translated); no value
// for success and for the silent codes.
std::optional<std::string> ResultMessageText(Byte code);

// Shows one message for a result: the caller's (already translated) text for success,
// the fixed message for the codes that have one, nothing for any other code.
void ShowResultMessage(TUserInterface& ui, Byte code, const std::string& text = {});

} // namespace lumetra
