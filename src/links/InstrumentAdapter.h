#pragma once
// The serial instrument link and the instrument message frame shared by every link:
//   0     start 0x42 ("B")
//   1     control: bits 0..6 = payload length - 1, bit 7 = command flag
//   2     complement of the control byte
//   3     payload, 1..128 bytes
//   3+n   checksum: sum of the payload bytes mod 65536, low byte first
//   5+n   end 0x45 ("E")
// Example: payload [0x10] with the flag set is 42 80 7F 10 10 00 45.

#include "core/BasicTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

class TClock;

constexpr std::uint32_t InvalidHandle = 0xFFFFFFFFu;
constexpr Integer BridgeTcpIp = 2;
constexpr Integer BridgeZigBee = 4;

// The link descriptor, passed by value to every instrument operation.
struct TComPort {
    std::uint32_t Handle = InvalidHandle; // the open port's file descriptor
    Integer ReadTotalTimeOut = 1000;      // ms one read of an answer may take
    Byte Baudrate = 0;                    // 0: 9600 no parity; other: 115200 mark parity
    Integer Bridge = 0;                   // bit value 2: over the TCP/IP link
};

constexpr std::size_t MaxPayload = 128;
constexpr std::size_t MaxFrame = MaxPayload + 6;
using TFrameBuffer = std::array<Byte, MaxFrame>;

constexpr Byte FrameStart = 0x42;
constexpr Byte FrameEnd = 0x45;
constexpr int ByteGapMilliseconds = 5000;
constexpr std::uint32_t BytePauseMilliseconds = 5;

// The request frame for `length` payload bytes (1..128); empty for another length.
std::vector<Byte> BuildFrame(const Byte* payload, std::size_t length, bool commandFlag);

// Checks `count` received bytes as one answer frame of `expectedLength` payload bytes,
// taking an answer of another length at its own length. Copies the payload into
// `payload` in any case and reports the command flag and the length taken.
struct TAnswerCheck {
    bool Faulty = true;
    bool CommandFlag = false;
    std::size_t Length = 0;
};
TAnswerCheck CheckAnswerFrame(const Byte* received, std::size_t count, std::size_t expectedLength, Byte* payload);

// Opens a port by name for one operation; the handle is InvalidHandle when it fails.
// Callers hold a port through TOpenComPort, which closes it.
std::uint32_t OpenComPort(const std::string& name);
void CloseComPort(std::uint32_t handle);

// The one owner of an open serial port: opened for one operation, closed whichever way
// that operation ends. A port that does not open leaves an invalid handle; the first
// exchange on it reports 1.
class TOpenComPort {
public:
    TOpenComPort() = default;
    explicit TOpenComPort(const std::string& name) : PortHandle(OpenComPort(name)) {}
    ~TOpenComPort() { Close(); }
    TOpenComPort(TOpenComPort&& other) noexcept : PortHandle(other.PortHandle) { other.PortHandle = InvalidHandle; }
    TOpenComPort& operator=(TOpenComPort&& other) noexcept {
        if (this != &other) {
            Close();
            PortHandle = other.PortHandle;
            other.PortHandle = InvalidHandle;
        }
        return *this;
    }
    TOpenComPort(const TOpenComPort&) = delete;
    TOpenComPort& operator=(const TOpenComPort&) = delete;

    std::uint32_t Handle() const { return PortHandle; }
    bool IsOpen() const { return PortHandle != InvalidHandle; }
    // Closes before the end of the owner's scope (a second call does nothing).
    void Close() {
        CloseComPort(PortHandle);
        PortHandle = InvalidHandle;
    }

private:
    std::uint32_t PortHandle = InvalidHandle;
};

// Line settings, time-outs and purge of both directions, before every exchange.
void ConfigureComPort(const TComPort& port);

// Sends the first `requestLength` bytes of `buffer` as one request frame and reads one
// answer of `answerLength` payload bytes into `buffer`. Result 0; 1 port not open;
// 2 request length outside 1..128; 3 no byte arrived; 4 faulty answer frame.
[[nodiscard]] Byte ExchangeFrame(TClock& clock, const TComPort& port, Byte& flag, Byte requestLength, TFrameBuffer& buffer,
                   Byte answerLength);

// The serial ports that exist and open, then "TCP-IP": the devices of `deviceDirectory`
// named ttyS, ttyUSB, ttyACM, ttyAMA, ttyXRUSB or ttyRFCOMM and a number, in natural
// order (ttyS2 before ttyS10).
std::vector<std::string> SearchComPorts(const std::string& deviceDirectory = "/dev");
constexpr const char* TcpIpPortName = "TCP-IP";

} // namespace lumetra
