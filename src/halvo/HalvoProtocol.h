#pragma once
// The Halvo command protocol: one request frame per command, the payload starting with
// the command code; the answer payload starts with a status code (10 accepted, 11 no
// more records, 22 the instrument needs a newer program).
// Example: the setup write with interval 60, setup word 0x0011 and alarm level 300 sends
// the payload 0F 3C 11 00 2C 01 00 00.

#include "core/BasicTypes.h"
#include "core/TimeConversions.h"
#include "links/InstrumentAdapter.h"

#include <string>

namespace lumetra {

class TUserInterface;

using THlvROILevel = Array1<Byte, 5>;

struct THlvInitValues {
    Integer DeviceNumber = 0;
    Byte DeviceType = 0;
    Byte SoftwareVersion = 0;
    Word UniCon1 = 0, UniCon2 = 0, UniCon3 = 0, UniCon4 = 0, UniCon5 = 0, UniCon6 = 0;
    THlvROILevel ROILevel{};
    Byte Offset = 0;
    bool operator==(const THlvInitValues&) const = default;
};

struct THlvSetupValues {
    Byte SampleInterval = 0;
    Word SetupWord = 0;
    Integer AlarmLevel = 0;
    bool operator==(const THlvSetupValues&) const = default;
};

struct THlvRecentValues {
    Byte Interval = 0;
    TDeviceTime Time{}; // Year as the instrument sends it: two digits
    float Radon = 0;
    Byte RadonError = 0;
    float Radon2 = 0; // type 3: average radon; other types: thoron
    Byte Radon2Error = 0;
    float Temperature = 0;
    float Humidity = 0;
    float Pressure = 0;
    Integer Tilts = 0;
};

namespace HlvStatus {
constexpr Byte Accepted = 10;
constexpr Byte NoMoreRecords = 11;
constexpr Byte NeedsNewerProgram = 22;
} // namespace HlvStatus

// The one dispatch: over the TCP/IP link when Bridge has the bit value 2, else over the
// serial port. `answerLength` is what the caller expects; the TCP/IP link reports the
// length it received.
[[nodiscard]] Byte HlvExchange(TUserInterface& ui, const TComPort& port, Byte& flag, Byte requestLength, TFrameBuffer& buffer,
                 Byte answerLength);

bool HlvIsSpectrometric(Byte type);

[[nodiscard]] Byte HlvReadInitValues(TUserInterface& ui, TComPort port, THlvInitValues& values);
[[nodiscard]] Byte HlvReadSetupValues(TUserInterface& ui, TComPort port, THlvSetupValues& values);
[[nodiscard]] Byte HlvWriteSetupValues(TUserInterface& ui, TComPort port, const THlvSetupValues& values);
// Sets the instrument's clock to `now`; `text` becomes the short date, a blank and the
// short time of it.
[[nodiscard]] Byte HlvSetClock(TUserInterface& ui, TComPort port, TDeviceTime now, std::string& text);
// The same with the computer's current local time.
[[nodiscard]] Byte HlvSetClock(TUserInterface& ui, TComPort port, std::string& text);
// Volts per cell.
[[nodiscard]] Byte HlvReadBattery(TUserInterface& ui, TComPort port, Real& volts);
[[nodiscard]] Byte HlvLockSwitch(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvUnlockSwitch(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvSetLongInterval(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvSetShortInterval(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvClearMemory(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvStartMeasurement(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvStopMeasurement(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte HlvReadRecentValues(TUserInterface& ui, TComPort port, THlvRecentValues& values);

// Byte-order helpers for the values the instruments send high byte first.
Integer BigEndianLongAt(const Byte* buffer, std::size_t position, bool bigEndian);
float BigEndianSingleAt(const Byte* buffer, std::size_t position);

} // namespace lumetra
