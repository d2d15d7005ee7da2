#include "halvo/HalvoProtocol.h"

#include "core/Errors.h"
#include "core/UserInterface.h"
#include "links/TcpIpAccess.h"

#include <bit>
#include <chrono>
#include <ctime>
#include <initializer_list>

namespace lumetra {
namespace {

Word LittleWordAt(const TFrameBuffer& b, std::size_t k) {
    return static_cast<Word>(b[k] | (b[k + 1] << 8));
}

// Sends one command with the flag set; on success checks the status byte.
Byte Command(TUserInterface& ui, const TComPort& port, std::initializer_list<Byte> request, Byte answerLength,
             TFrameBuffer& buffer) {
    buffer.fill(0);
    std::size_t k = 0;
    for (const Byte b : request) {
        buffer[k++] = b;
    }
    Byte flag = 1;
    const Byte result = HlvExchange(ui, port, flag, static_cast<Byte>(request.size()), buffer, answerLength);
    if (result != Result::Success) {
        return result;
    }
    return buffer[0] == HlvStatus::Accepted ? Result::Success : Result::UnexpectedResponse;
}

Byte SimpleCommand(TUserInterface& ui, const TComPort& port, Byte code) {
    TFrameBuffer buffer{};
    return Command(ui, port, {code}, 1, buffer);
}

} // namespace

Byte HlvExchange(TUserInterface& ui, const TComPort& port, Byte& flag, Byte requestLength, TFrameBuffer& buffer,
                 Byte answerLength) {
    if ((port.Bridge & BridgeTcpIp) != 0) {
        Byte received = 0;
        return TcpTransaction(flag, requestLength, received, buffer);
    }
    return ExchangeFrame(ui.Clock(), port, flag, requestLength, buffer, answerLength);
}

bool HlvIsSpectrometric(Byte type) { return type == 4 || type == 6 || type == 10; }

Byte HlvReadInitValues(TUserInterface& ui, TComPort port, THlvInitValues& values) {
    TFrameBuffer buffer{};
    buffer = {0x0C, 0x06, 0x06, 0x00};
    Byte flag = 1;
    Byte result = HlvExchange(ui, port, flag, 4, buffer, 13);
    if (result != Result::Success) {
        return result;
    }
    if (buffer[0] == HlvStatus::NeedsNewerProgram) {
        return Result::InstrumentTooNew;
    }
    if (buffer[0] != HlvStatus::Accepted) {
        return Result::UnexpectedResponse;
    }
    values.DeviceType = buffer[1];
    values.SoftwareVersion = buffer[2];
    values.DeviceNumber = LittleWordAt(buffer, 3);
    values.UniCon1 = LittleWordAt(buffer, 5);
    values.UniCon2 = LittleWordAt(buffer, 7);
    values.UniCon3 = LittleWordAt(buffer, 9);
    values.UniCon4 = LittleWordAt(buffer, 11);
    if (!HlvIsSpectrometric(values.DeviceType)) {
        return Result::Success;
    }
    result = Command(ui, port, {0x11}, 7, buffer);
    if (result != Result::Success) {
        return result;
    }
    values.Offset = buffer[1];
    for (std::size_t k = 1; k <= 5; ++k) {
        values.ROILevel[k] = buffer[1 + k];
    }
    if (values.SoftwareVersion < 3) {
        return Result::Success;
    }
    result = Command(ui, port, {0x13}, 5, buffer);
    if (result != Result::Success) {
        return result;
    }
    values.UniCon5 = LittleWordAt(buffer, 1);
    values.UniCon6 = LittleWordAt(buffer, 3);
    return Result::Success;
}

Byte HlvReadSetupValues(TUserInterface& ui, TComPort port, THlvSetupValues& values) {
    TFrameBuffer buffer{};
    const Byte result = Command(ui, port, {0x10}, 8, buffer);
    if (result != Result::Success) {
        return result;
    }
    values.SampleInterval = buffer[1];
    values.SetupWord = LittleWordAt(buffer, 2);
    values.AlarmLevel = BigEndianLongAt(buffer.data(), 4, false);
    return Result::Success;
}

Byte HlvWriteSetupValues(TUserInterface& ui, TComPort port, const THlvSetupValues& values) {
    TFrameBuffer buffer{};
    const auto alarm = static_cast<std::uint32_t>(values.AlarmLevel);
    return Command(ui, port,
                   {0x0F, values.SampleInterval, static_cast<Byte>(values.SetupWord & 0xFF),
                    static_cast<Byte>(values.SetupWord >> 8), static_cast<Byte>(alarm & 0xFF),
                    static_cast<Byte>((alarm >> 8) & 0xFF), static_cast<Byte>((alarm >> 16) & 0xFF),
                    static_cast<Byte>(alarm >> 24)},
                   1, buffer);
}

Byte HlvSetClock(TUserInterface& ui, TComPort port, TDeviceTime now, std::string& text) {
    TFrameBuffer buffer{};
    buffer[0] = 0x05;
    buffer[1] = static_cast<Byte>(now.Second);
    buffer[2] = static_cast<Byte>(now.Minute);
    buffer[3] = static_cast<Byte>(now.Hour);
    buffer[4] = static_cast<Byte>(now.Day);
    buffer[5] = static_cast<Byte>(now.Month);
    buffer[6] = static_cast<Byte>(now.Year - 2000);
    Byte flag = 1;
    // The instrument's status byte is not checked: the exchange itself is the result.
    const Byte result = HlvExchange(ui, port, flag, 7, buffer, 1);
    text = DateText(now) + " " + TimeText(now);
    return result;
}

Byte HlvSetClock(TUserInterface& ui, TComPort port, std::string& text) {
    const TDeviceTime now = LocalDeviceTimeNow();
    return HlvSetClock(ui, port, now, text);
}

Byte HlvReadBattery(TUserInterface& ui, TComPort port, Real& volts) {
    THlvInitValues scratch;
    Byte result = HlvReadInitValues(ui, port, scratch);
    if (result != Result::Success) {
        return result;
    }
    const Byte type = scratch.DeviceType;
    TFrameBuffer buffer{};
    result = Command(ui, port, {0x0D}, HlvIsSpectrometric(type) ? 3 : 2, buffer);
    if (result != Result::Success) {
        return result;
    }
    if (type == 4 || type == 10) {
        volts = LittleWordAt(buffer, 1) * 0.01801;
    } else if (type == 6) {
        volts = LittleWordAt(buffer, 1) * 0.00323;
    } else {
        volts = buffer[1] * 3.3 / 255.0 / 2.0;
    }
    return Result::Success;
}

Byte HlvLockSwitch(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x01); }
Byte HlvUnlockSwitch(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x02); }
Byte HlvSetLongInterval(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x03); }
Byte HlvSetShortInterval(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x04); }
Byte HlvClearMemory(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x08); }
Byte HlvStartMeasurement(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x12); }
Byte HlvStopMeasurement(TUserInterface& ui, TComPort port) { return SimpleCommand(ui, port, 0x15); }

Byte HlvReadRecentValues(TUserInterface& ui, TComPort port, THlvRecentValues& values) {
    TFrameBuffer buffer{};
    const Byte result = Command(ui, port, {0x14}, 33, buffer);
    if (result != Result::Success) {
        return result;
    }
    values.Interval = buffer[1];
    values.Time = TDeviceTime{0, buffer[2], buffer[3], buffer[4], buffer[5], buffer[6]};
    values.Radon = BigEndianSingleAt(buffer.data(), 7);
    values.RadonError = buffer[11];
    values.Radon2 = BigEndianSingleAt(buffer.data(), 12);
    values.Radon2Error = buffer[16];
    values.Temperature = BigEndianSingleAt(buffer.data(), 17);
    values.Humidity = BigEndianSingleAt(buffer.data(), 21);
    values.Pressure = BigEndianSingleAt(buffer.data(), 25);
    values.Tilts = BigEndianLongAt(buffer.data(), 29, true);
    return Result::Success;
}

Integer BigEndianLongAt(const Byte* buffer, std::size_t position, bool bigEndian) {
    const Byte* b = buffer + position;
    const std::uint32_t value = bigEndian ? (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                                                (std::uint32_t{b[2]} << 8) | b[3]
                                          : (std::uint32_t{b[3]} << 24) | (std::uint32_t{b[2]} << 16) |
                                                (std::uint32_t{b[1]} << 8) | b[0];
    return static_cast<Integer>(value);
}

float BigEndianSingleAt(const Byte* buffer, std::size_t position) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(BigEndianLongAt(buffer, position, true)));
}

} // namespace lumetra
