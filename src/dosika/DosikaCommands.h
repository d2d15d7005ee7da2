#pragma once
// The Dosika-family command set. Every command is one request frame with the command
// flag set, payload [code, parameters...], answered by one frame whose first byte d0 is
// a status: 0 accepted, 1 refused while measuring (result 12), anything else result 5.
// Values are little-endian. Example: reading the identity sends 42 80 7F 40 40 00 45;
// the answer payload 00 02 0A 39 30 says Dosika PRO, software 10, serial 12345.
// Operations stop at the first failure; what was decoded before it stays stored.

#include "dosika/DosikaFrames.h"
#include "dosika/DosikaTypes.h"

#include <string>
#include <vector>

namespace lumetra {

class TUserInterface;

namespace DkCommand {
constexpr Byte WriteCalibration1 = 0x13;
constexpr Byte WriteCalibration2 = 0x14;
constexpr Byte WriteCodes = 0x20;
constexpr Byte WriteUserAndAlarm = 0x21;
constexpr Byte WriteAnalogRanges = 0x22;
constexpr Byte WriteDigitalOutputMode = 0x23;
constexpr Byte WriteAnalogAlarmLevels = 0x24;
constexpr Byte SetAnalogOutputs = 0x25;
constexpr Byte SetSwitchOutput = 0x26;
constexpr Byte SetClock = 0x30;
constexpr Byte WriteModeAndInterval = 0x31;
constexpr Byte StartMeasurement = 0x32;
constexpr Byte StopMeasurement = 0x33;
constexpr Byte ClearMemory = 0x34;
constexpr Byte SwitchOff = 0x35;
constexpr Byte ReadIdentity = 0x40;
constexpr Byte ReadRoiBlock1 = 0x41;
constexpr Byte ReadRoiBlock2 = 0x42;
constexpr Byte ReadCalibration1 = 0x43;
constexpr Byte ReadCalibration2 = 0x44;
constexpr Byte ReadCodes = 0x50;
constexpr Byte ReadUserAlarmBreathing = 0x51;
constexpr Byte ReadAnalogRanges = 0x52;
constexpr Byte ReadModeAndInterval = 0x53;
constexpr Byte ReadDigitalOutputMode = 0x54;
constexpr Byte ReadAnalogAlarmLevels = 0x55;
constexpr Byte ReadSpectrum = 0x60;
constexpr Byte ReadRecords = 0x61;
constexpr Byte ReadRadon = 0x62;
constexpr Byte ReadThoron = 0x63;
constexpr Byte ReadClimate = 0x64;
constexpr Byte ReadAnalogOutputs = 0x65;
constexpr Byte WriteAlphaDetection = 0x70;
constexpr Byte ReadAlphaDetection = 0x71;
constexpr Byte WriteBetaDetection = 0x72;
constexpr Byte ReadBetaDetection = 0x73;
} // namespace DkCommand

// The result a status byte d0 gives for a command: 0 accepted, 12 refused while
// measuring, 16 (stop only, status 5) locked in the post-exposure analysis, else 5.
[[nodiscard]] Byte DkStatusResult(Byte command, Byte status);

// Sends one command and checks the status of its answer; `minimumLength` is the answer
// payload the decoding needs (d0 included), a shorter answer gives 5. On success the
// answer is Responses.Frame(1).
[[nodiscard]] Byte DkCommandTransaction(TUserInterface& ui, const TComPort& port, const std::vector<Byte>& request,
                          std::size_t minimumLength, TDkResponseBuffer& responses);

// Analog ranges and alarm levels in 16 bits: below 32768 as they are, from 32768 on in
// thousands with bit 15 set. Values outside what the coding can carry are held at its
// ends: below 0 as 0, above 32767 thousands as 32767 thousands.
Word DkEncodeRange(Integer value);
Integer DkDecodeRange(Word coded);

// The payload of the 0x21 request (code, user, then per type and software version).
std::vector<Byte> DkUserAlarmRequest(Byte deviceType, Byte softwareVersion, const TDkSetupValues& setup);

bool DkReadsCalibration2(Byte deviceType);  // 0x44 is asked
bool DkWritesCalibration2(Byte deviceType); // 0x14 is sent
bool DkHasDetectionValues(Byte deviceType, Byte softwareVersion); // Morvel from software 10

// Climate codes of the analog sensors; 255 gives DkNoClimateValue.
Real DkTemperatureFromCode(Byte code);
Real DkHumidityFromCode(Byte code);

[[nodiscard]] Byte DkReadIdentity(TUserInterface& ui, TComPort port, TDkIdentity& identity);
[[nodiscard]] Byte DkReadInitValues(TUserInterface& ui, TComPort port, TDkInitValues& values);
[[nodiscard]] Byte DkReadSetup(TUserInterface& ui, TComPort port, TDkSetupValues& values);
[[nodiscard]] Byte DkWriteSetup(TUserInterface& ui, TComPort port, const TDkSetupValues& values);
[[nodiscard]] Byte DkWriteCalibration(TUserInterface& ui, TComPort port, const TDkInitValues& values);
// Sets the instrument's clock to `now` (no year is sent). `text` becomes the short date,
// a blank and the time of it; it is empty when the command fails.
[[nodiscard]] Byte DkSetClock(TUserInterface& ui, TComPort port, TDeviceTime now, std::string& text);
// The same with the computer's current local time.
[[nodiscard]] Byte DkSetClock(TUserInterface& ui, TComPort port, std::string& text);
[[nodiscard]] Byte DkSwitchOff(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte DkStopMeasurement(TUserInterface& ui, TComPort port);
[[nodiscard]] Byte DkClearAndStart(TUserInterface& ui, TComPort port);

[[nodiscard]] Byte DkWriteAnalogSetup(TUserInterface& ui, TComPort port, const TAnalogSensorSetup& setup);
[[nodiscard]] Byte DkReadAnalogSetup(TUserInterface& ui, TComPort port, TAnalogSensorSetup& setup);
[[nodiscard]] Byte DkReadActualValues(TUserInterface& ui, TComPort port, TAnalogSensorValues& values);
[[nodiscard]] Byte DkSetAnalogOutputs(TUserInterface& ui, TComPort port, Word first, Word second);
[[nodiscard]] Byte DkSetSwitchOutput(TUserInterface& ui, TComPort port, bool on);

} // namespace lumetra
