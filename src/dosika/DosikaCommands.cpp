#include "dosika/DosikaCommands.h"

#include "core/Errors.h"
#include "core/UserInterface.h"

#include <algorithm>
#include <array>
#include <bit>
#include <ctime>

namespace lumetra {
namespace {

void AppendWord(std::vector<Byte>& out, Word value) {
    out.push_back(static_cast<Byte>(value & 0xFF));
    out.push_back(static_cast<Byte>(value >> 8));
}

void AppendSingle(std::vector<Byte>& out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<Byte>((bits >> shift) & 0xFF));
    }
}

// One command's answer, copied out of the response buffer that lives only for the
// command.
struct TReply {
    Byte Result = 0;
    std::size_t Length = 0;
    std::array<Byte, MaxPayload> D{}; // d0 is the status

    Word WordAt(std::size_t k) const { return static_cast<Word>(D[k] | (D[k + 1] << 8)); }
    float SingleAt(std::size_t k) const {
        const std::uint32_t bits = std::uint32_t{D[k]} | (std::uint32_t{D[k + 1]} << 8) |
                                   (std::uint32_t{D[k + 2]} << 16) | (std::uint32_t{D[k + 3]} << 24);
        return std::bit_cast<float>(bits);
    }
};

TReply Ask(TUserInterface& ui, const TComPort& port, const std::vector<Byte>& request, std::size_t minimumLength) {
    TDkResponseBuffer responses;
    TReply reply;
    reply.Result = DkCommandTransaction(ui, port, request, minimumLength, responses);
    const TDkFrame& frame = responses.Frame(1);
    reply.Length = frame.PayloadLength;
    reply.D = frame.Payload;
    return reply;
}

// A command whose answer carries nothing but the status.
Byte Simple(TUserInterface& ui, const TComPort& port, const std::vector<Byte>& request) {
    return Ask(ui, port, request, 1).Result;
}

// Channel numbers arrive counted from 0; stored counted from 1, in byte arithmetic.
Byte FromZeroBased(Byte channel) { return static_cast<Byte>(channel + 1); }

} // namespace

Byte DkStatusResult(Byte command, Byte status) {
    switch (command) {
    case DkCommand::StopMeasurement:
        if (status == 5) {
            return Result::PostExposureLock;
        }
        break;
    case DkCommand::ReadRadon:
    case DkCommand::ReadThoron:
    case DkCommand::ReadClimate:
        if (status == 2) {
            return Result::MeasurementState;
        }
        break;
    case DkCommand::ReadAnalogOutputs:
        if (status == 1) {
            return Result::Success;
        }
        if (status == 2) {
            return Result::MeasurementState;
        }
        break;
    default:
        break;
    }
    if (status == 0) {
        return Result::Success;
    }
    return status == 1 ? Result::MeasurementState : Result::UnexpectedResponse;
}

Byte DkCommandTransaction(TUserInterface& ui, const TComPort& port, const std::vector<Byte>& request,
                          std::size_t minimumLength, TDkResponseBuffer& responses) {
    const TDkFrame frame = DkCommandFrame(request);
    const Byte result = DkFrameTransaction(ui, port, frame, DkByteDelay, responses, DkStopCode, 1);
    if (result != Result::Success) {
        return result;
    }
    const TDkFrame& answer = responses.Frame(1);
    const Byte status = DkStatusResult(frame.Payload[0], answer.Payload[0]);
    if (status != Result::Success) {
        return status;
    }
    // An answer too short for its fields would otherwise be decoded from zeros.
    return answer.PayloadLength < minimumLength ? Result::UnexpectedResponse : Result::Success;
}

std::vector<Byte> DkUserAlarmRequest(Byte deviceType, Byte softwareVersion, const TDkSetupValues& setup) {
    std::vector<Byte> request{DkCommand::WriteUserAndAlarm};
    AppendWord(request, setup.UserID);
    if (deviceType == DkType::Morvel && softwareVersion < 10) {
        request.push_back(setup.BetaDetectionRate);
        request.push_back(static_cast<Byte>((setup.AlarmLevel / 100) & 0xFF));
        return request;
    }
    AppendWord(request, setup.AlarmLevel);
    if (DkHasDetectionValues(deviceType, softwareVersion)) {
        AppendWord(request, setup.BreathingRate);
    }
    return request;
}

bool DkReadsCalibration2(Byte deviceType) {
    return deviceType == DkType::Dosika || deviceType == DkType::DosikaPro || deviceType == DkType::Kvx5210 ||
           deviceType == DkType::SenraR;
}

bool DkWritesCalibration2(Byte deviceType) { return deviceType == DkType::Kvx5210 || deviceType == DkType::SenraR; }

bool DkHasDetectionValues(Byte deviceType, Byte softwareVersion) {
    return deviceType == DkType::Morvel && softwareVersion >= 10;
}

Byte DkReadIdentity(TUserInterface& ui, TComPort port, TDkIdentity& identity) {
    const TReply a = Ask(ui, port, {DkCommand::ReadIdentity}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    identity.DeviceType = a.D[1];
    identity.SoftwareVersion = a.D[2];
    identity.SerialNumber = a.WordAt(3);
    if (identity.DeviceType > 6) {
        // Devices beyond the family (the ZigBee coordinator) name their family in d5.
        if (a.Length < 6) {
            return Result::UnexpectedResponse;
        }
        identity.DeviceFamily = a.D[5];
    } else {
        identity.DeviceFamily = FamilyDosika;
    }
    return Result::Success;
}

Byte DkReadInitValues(TUserInterface& ui, TComPort port, TDkInitValues& values) {
    TReply a = Ask(ui, port, {DkCommand::ReadIdentity}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.DeviceType = a.D[1];
    values.SoftwareVersion = a.D[2];
    values.DeviceNumber = a.WordAt(3);

    a = Ask(ui, port, {DkCommand::ReadRoiBlock1}, 8);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.Offset = a.D[1];
    for (std::size_t k = 1; k <= 3; ++k) {
        values.ROILimits[k].LowerLimit = FromZeroBased(a.D[2 * k]);
        values.ROILimits[k].UpperLimit = FromZeroBased(a.D[2 * k + 1]);
    }

    a = Ask(ui, port, {DkCommand::ReadRoiBlock2}, 7);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    for (std::size_t k = 4; k <= 5; ++k) {
        values.ROILimits[k].LowerLimit = FromZeroBased(a.D[2 * k - 7]);
        values.ROILimits[k].UpperLimit = FromZeroBased(a.D[2 * k - 6]);
    }
    values.BetaLowerLimit = FromZeroBased(a.D[5]);
    values.BetaUpperLimit = FromZeroBased(a.D[6]);

    a = Ask(ui, port, {DkCommand::ReadCalibration1}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.CAL1 = a.D[1];
    values.CAL2 = a.D[2];
    values.CAL3 = a.D[3];
    values.CAL4 = a.D[4];

    if (!DkReadsCalibration2(values.DeviceType)) {
        return Result::Success;
    }
    a = Ask(ui, port, {DkCommand::ReadCalibration2}, 3);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.CAL5 = a.D[1];
    values.CAL6 = a.D[2];
    return Result::Success;
}

Byte DkReadSetup(TUserInterface& ui, TComPort port, TDkSetupValues& values) {
    TDkInitValues init;
    Byte result = DkReadInitValues(ui, port, init);
    if (result == Result::Success) {
        const TReply a = Ask(ui, port, {DkCommand::ReadUserAlarmBreathing}, 5);
        result = a.Result;
        if (result == Result::Success) {
            values.UserID = a.WordAt(1);
            values.AlarmLevel = a.WordAt(3);
            // Only a Morvel from software 10 reports one; the others get the default below.
            values.BreathingRate = a.Length >= 7 ? a.WordAt(5) : DkDefaultBreathingRate;
        }
    }
    if (result == Result::Success) {
        const TReply a = Ask(ui, port, {DkCommand::ReadCodes}, 4);
        result = a.Result;
        if (result == Result::Success) {
            values.CountryCode = a.D[1];
            values.RegionCode = a.D[2];
            values.EntryCode = a.D[3];
        }
    }
    if (result == Result::Success) {
        const TReply a = Ask(ui, port, {DkCommand::ReadModeAndInterval}, 3);
        result = a.Result;
        if (result == Result::Success) {
            values.SetupByte = a.D[1];
            values.SampleInterval = a.D[2];
        }
    }
    if (result == Result::Success && DkHasDetectionValues(init.DeviceType, init.SoftwareVersion)) {
        TReply a = Ask(ui, port, {DkCommand::ReadAlphaDetection}, 6);
        if (a.Result != Result::Success) {
            return a.Result;
        }
        values.AlphaE50 = a.SingleAt(1);
        values.AlphaDetectionRate = a.D[5];
        a = Ask(ui, port, {DkCommand::ReadBetaDetection}, 6);
        if (a.Result != Result::Success) {
            return a.Result;
        }
        values.BetaE50 = a.SingleAt(1);
        values.BetaDetectionRate = a.D[5];
        return Result::Success;
    }
    values.BreathingRate = DkDefaultBreathingRate;
    values.AlphaE50 = DkDefaultAlphaE50;
    values.BetaE50 = DkDefaultBetaE50;
    return result;
}

Byte DkWriteSetup(TUserInterface& ui, TComPort port, const TDkSetupValues& values) {
    TDkInitValues init;
    Byte result = DkReadInitValues(ui, port, init);
    if (result != Result::Success) {
        return result;
    }
    result = Simple(ui, port, {DkCommand::WriteModeAndInterval, values.SetupByte, values.SampleInterval});
    if (result != Result::Success) {
        return result;
    }
    result = Simple(ui, port, {DkCommand::WriteCodes, values.CountryCode, values.RegionCode, values.EntryCode});
    if (result != Result::Success) {
        return result;
    }
    const Byte type = init.DeviceType;
    if (type >= DkType::Dosika && type <= DkType::Kvx5210) {
        result = Simple(ui, port, DkUserAlarmRequest(type, init.SoftwareVersion, values));
        if (result != Result::Success) {
            return result;
        }
    }
    if (!DkHasDetectionValues(type, init.SoftwareVersion)) {
        return result;
    }
    std::vector<Byte> alpha{DkCommand::WriteAlphaDetection};
    AppendSingle(alpha, values.AlphaE50);
    alpha.push_back(values.AlphaDetectionRate);
    result = Simple(ui, port, alpha);
    if (result != Result::Success) {
        return result;
    }
    std::vector<Byte> beta{DkCommand::WriteBetaDetection};
    AppendSingle(beta, values.BetaE50);
    beta.push_back(values.BetaDetectionRate);
    return Simple(ui, port, beta);
}

Byte DkWriteCalibration(TUserInterface& ui, TComPort port, const TDkInitValues& values) {
    Byte result =
        Simple(ui, port, {DkCommand::WriteCalibration1, values.CAL1, values.CAL2, values.CAL3, values.CAL4});
    if (result != Result::Success || !DkWritesCalibration2(values.DeviceType)) {
        return result;
    }
    return Simple(ui, port, {DkCommand::WriteCalibration2, values.CAL5, values.CAL6});
}

Byte DkSetClock(TUserInterface& ui, TComPort port, TDeviceTime now, std::string& text) {
    text.clear();
    const Byte result =
        Simple(ui, port,
               {DkCommand::SetClock, static_cast<Byte>(now.Second), static_cast<Byte>(now.Minute),
                static_cast<Byte>(now.Hour), static_cast<Byte>(now.Day), static_cast<Byte>(now.Month)});
    if (result == Result::Success) {
        text = DateText(now) + " " + TimeText(now);
    }
    return result;
}

Byte DkSetClock(TUserInterface& ui, TComPort port, std::string& text) {
    const TDeviceTime now = LocalDeviceTimeNow();
    return DkSetClock(ui, port, now, text);
}

Byte DkSwitchOff(TUserInterface& ui, TComPort port) { return Simple(ui, port, {DkCommand::SwitchOff}); }

Byte DkStopMeasurement(TUserInterface& ui, TComPort port) { return Simple(ui, port, {DkCommand::StopMeasurement}); }

Byte DkClearAndStart(TUserInterface& ui, TComPort port) {
    const Byte result = Simple(ui, port, {DkCommand::ClearMemory});
    if (result != Result::Success) {
        return result;
    }
    return Simple(ui, port, {DkCommand::StartMeasurement});
}

Word DkEncodeRange(Integer value) {
    if (value < 32768) {
        return static_cast<Word>(std::max(value, 0));
    }
    return static_cast<Word>(std::min(value / 1000, 0x7FFF) | 0x8000);
}

Integer DkDecodeRange(Word coded) {
    const Integer value = coded & 0x7FFF;
    return (coded & 0x8000) != 0 ? value * 1000 : value;
}

Real DkTemperatureFromCode(Byte code) {
    return code == 255 ? DkNoClimateValue : code * 0.493358634 - 25.80645161;
}

Real DkHumidityFromCode(Byte code) { return code == 255 ? DkNoClimateValue : code * 0.470588235; }

Byte DkWriteAnalogSetup(TUserInterface& ui, TComPort port, const TAnalogSensorSetup& setup) {
    Byte result = Simple(ui, port, {DkCommand::WriteDigitalOutputMode, static_cast<Byte>(setup.DOUTMode & 0xBF)});
    if (result != Result::Success) {
        return result;
    }
    std::vector<Byte> ranges{DkCommand::WriteAnalogRanges};
    AppendWord(ranges, DkEncodeRange(setup.AOUT1Range));
    AppendWord(ranges, DkEncodeRange(setup.AOUT2Range));
    result = Simple(ui, port, ranges);
    if (result != Result::Success) {
        return result;
    }
    std::vector<Byte> alarms{DkCommand::WriteAnalogAlarmLevels};
    AppendWord(alarms, DkEncodeRange(setup.AOUT1AlarmLevel));
    AppendWord(alarms, DkEncodeRange(setup.AOUT2AlarmLevel));
    return Simple(ui, port, alarms);
}

Byte DkReadAnalogSetup(TUserInterface& ui, TComPort port, TAnalogSensorSetup& setup) {
    TReply a = Ask(ui, port, {DkCommand::ReadDigitalOutputMode}, 2);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    setup.DOUTMode = a.D[1];
    a = Ask(ui, port, {DkCommand::ReadAnalogRanges}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    setup.AOUT1Range = DkDecodeRange(a.WordAt(1));
    setup.AOUT2Range = DkDecodeRange(a.WordAt(3));
    a = Ask(ui, port, {DkCommand::ReadAnalogAlarmLevels}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    setup.AOUT1AlarmLevel = DkDecodeRange(a.WordAt(1));
    setup.AOUT2AlarmLevel = DkDecodeRange(a.WordAt(3));
    return Result::Success;
}

Byte DkReadActualValues(TUserInterface& ui, TComPort port, TAnalogSensorValues& values) {
    TReply a = Ask(ui, port, {DkCommand::ReadRadon}, 6);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.RadonValue = static_cast<Integer>(a.WordAt(1) | (std::uint32_t{a.WordAt(3)} << 16));
    values.RadonError = a.D[5];
    a = Ask(ui, port, {DkCommand::ReadThoron}, 6);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.ThoronValue = static_cast<Integer>(a.WordAt(1) | (std::uint32_t{a.WordAt(3)} << 16));
    values.ThoronError = a.D[5];
    a = Ask(ui, port, {DkCommand::ReadClimate}, 3);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.TemperatureValue = DkTemperatureFromCode(a.D[1]);
    values.HumidityValue = DkHumidityFromCode(a.D[2]);
    a = Ask(ui, port, {DkCommand::ReadAnalogOutputs}, 5);
    if (a.Result != Result::Success) {
        return a.Result;
    }
    values.AOut1Value = a.WordAt(1);
    values.AOut2Value = a.WordAt(3);
    return Result::Success;
}

Byte DkSetAnalogOutputs(TUserInterface& ui, TComPort port, Word first, Word second) {
    std::vector<Byte> request{DkCommand::SetAnalogOutputs};
    AppendWord(request, first);
    AppendWord(request, second);
    return Simple(ui, port, request);
}

Byte DkSetSwitchOutput(TUserInterface& ui, TComPort port, bool on) {
    return Simple(ui, port, {DkCommand::SetSwitchOutput, static_cast<Byte>(on ? 0xFF : 0x00)});
}

} // namespace lumetra
