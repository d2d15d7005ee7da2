#include "links/InstrumentAdapter.h"

#include "core/Errors.h"
#include "core/UserInterface.h"
#include "links/SerialPort.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <utility>

namespace lumetra {

std::vector<Byte> BuildFrame(const Byte* payload, std::size_t length, bool commandFlag) {
    if (length == 0 || length > MaxPayload) {
        return {};
    }
    std::vector<Byte> frame;
    frame.reserve(length + 6);
    const auto control = static_cast<Byte>((length - 1) | (commandFlag ? 0x80 : 0x00));
    frame.push_back(FrameStart);
    frame.push_back(control);
    frame.push_back(static_cast<Byte>(~control));
    std::uint16_t sum = 0;
    for (std::size_t k = 0; k < length; ++k) {
        frame.push_back(payload[k]);
        sum = static_cast<std::uint16_t>(sum + payload[k]);
    }
    frame.push_back(static_cast<Byte>(sum & 0xFF));
    frame.push_back(static_cast<Byte>(sum >> 8));
    frame.push_back(FrameEnd);
    return frame;
}

TAnswerCheck CheckAnswerFrame(const Byte* received, std::size_t count, std::size_t expectedLength, Byte* payload) {
    TAnswerCheck check;
    std::size_t len = expectedLength;
    if (count != len + 6 && count > 6) {
        len = count - 6;
    }
    len = std::min(len, MaxPayload);
    bool faulty = count <= 6;
    // Bytes that did not arrive count as missing: every check on them fails.
    const auto at = [&](std::size_t i) -> int { return i < count ? received[i] : -1; };
    if (at(0) != FrameStart) {
        faulty = true;
    }
    if (at(1) < 0 || at(2) < 0 || static_cast<Byte>(~at(1)) != at(2)) {
        faulty = true;
    }
    if (at(1) < 0 || static_cast<std::size_t>(at(1) & 0x7F) != len - 1) {
        faulty = true;
    }
    std::uint16_t sum = 0;
    for (std::size_t k = 0; k < len; ++k) {
        const int b = at(3 + k);
        payload[k] = b < 0 ? 0 : static_cast<Byte>(b);
        sum = static_cast<std::uint16_t>(sum + payload[k]);
    }
    const int low = at(3 + len);
    const int high = at(4 + len);
    if (low < 0 || high < 0 || static_cast<std::uint16_t>(low | (high << 8)) != sum) {
        faulty = true;
    }
    if (at(5 + len) != FrameEnd) {
        faulty = true;
    }
    check.Faulty = faulty;
    check.CommandFlag = at(1) >= 0 && (at(1) & 0x80) != 0;
    check.Length = len;
    return check;
}

std::uint32_t OpenComPort(const std::string& name) {
    const int fd = SerialOpen(name);
    return fd < 0 ? InvalidHandle : static_cast<std::uint32_t>(fd);
}

void CloseComPort(std::uint32_t handle) {
    if (handle != InvalidHandle) {
        SerialClose(static_cast<int>(handle));
    }
}

void ConfigureComPort(const TComPort& port) {
    const int fd = static_cast<int>(port.Handle);
    SerialConfigure(fd, port.Baudrate);
    SerialPurge(fd);
}

Byte ExchangeFrame(TClock& clock, const TComPort& port, Byte& flag, Byte requestLength, TFrameBuffer& buffer,
                   Byte answerLength) {
    if (port.Handle == InvalidHandle) {
        return Result::PortNotOpen;
    }
    ConfigureComPort(port);
    if (requestLength == 0 || requestLength > MaxPayload) {
        return Result::RequestLength;
    }
    const int fd = static_cast<int>(port.Handle);
    const std::vector<Byte> frame = BuildFrame(buffer.data(), requestLength, flag == 1);
    for (const Byte b : frame) {
        (void)SerialWriteByte(fd, b);
        clock.Pause(BytePauseMilliseconds);
    }
    const std::size_t expected = std::min<std::size_t>(answerLength, MaxPayload);
    // The request is overwritten before the read, also when nothing arrives.
    buffer.fill(0);
    std::array<Byte, MaxFrame> received{};
    const std::size_t count =
        SerialRead(fd, received.data(), expected + 6, port.ReadTotalTimeOut, ByteGapMilliseconds);
    if (count == 0) {
        return Result::NoAnswer;
    }
    const TAnswerCheck check = CheckAnswerFrame(received.data(), count, expected, buffer.data());
    flag = check.CommandFlag ? 1 : 0;
    return check.Faulty ? Result::FrameError : Result::Success;
}

namespace {

// Natural order by the trailing number (ttyS2 before ttyS10), without number
// conversions that could throw.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        const std::size_t last = s.find_last_not_of("0123456789");
        const std::size_t at = last == std::string::npos ? 0 : last + 1;
        std::string digits = s.substr(at);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        return std::pair{s.substr(0, at), digits};
    };
    const auto [pa, da] = split(a);
    const auto [pb, db] = split(b);
    if (pa != pb) {
        return pa < pb;
    }
    if (da.size() != db.size()) {
        return da.size() < db.size();
    }
    return da != db ? da < db : a < b;
}

} // namespace

std::vector<std::string> SearchComPorts(const std::string& deviceDirectory) {
    std::vector<std::string> names;
    static const std::regex serialName(R"(tty(S|USB|ACM|AMA|XRUSB|RFCOMM)\d+)");
    std::error_code error;
    std::filesystem::directory_iterator entry(deviceDirectory, error);
    // Iterating with an error code: a directory that cannot be read lists no port.
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (std::regex_match(name, serialName)) {
            names.push_back(entry->path().string());
        }
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<std::string> usable;
    for (const auto& name : names) {
        if (TOpenComPort(name).IsOpen()) {
            usable.push_back(name);
        }
    }
    usable.emplace_back(TcpIpPortName);
    return usable;
}

} // namespace lumetra
