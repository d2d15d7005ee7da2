#pragma once
// The Dosika-family frame transaction: one request frame, then the answer frames until
// the expected count or the closing frame. Frames are those of every link:
//   42 | control (bits 0..6 = length - 1, bit 7 = command flag) | complement |
//   1..128 payload bytes | 16-bit payload sum, low byte first | 45
// Example: the identity request, payload [40] with the command flag, is
//   42 80 7F 40 40 00 45.
// A download answer is data frames (flag clear) closed by a frame with the flag set
// whose first byte is 4. A line that echoes what it is sent hands back the request
// first; that echo is recognised and dropped.

#include "core/BasicTypes.h"
#include "links/InstrumentAdapter.h"

#include <array>
#include <cstddef>
#include <vector>

namespace lumetra {

class TUserInterface;

namespace DkFrameKind {
constexpr Byte Data = 0;    // command flag clear
constexpr Byte Command = 1; // command flag set
constexpr Byte Echo = 2;    // the link's echo of the request, discarded
} // namespace DkFrameKind

struct TDkFrame {
    Byte PayloadLength = 0; // 1..128
    Byte FrameKind = DkFrameKind::Command;
    std::array<Byte, MaxPayload> Payload{}; // request: [0] is the command code
    // Length, kind and the payload bytes in use; an echo equals its request.
    bool operator==(const TDkFrame& other) const;
};

// No instrument sends that many frames; a valid record answer of 65535 bytes needs 514
// (a status frame, 512 full data frames and the closing frame).
constexpr std::size_t DkResponseCapacity = 11000;

struct TDkResponseBuffer {
    // Frames[0] is frame 1. It grows as frames arrive, never past DkResponseCapacity.
    std::vector<TDkFrame> Frames;
    Word Count = 0; // frames of the last successful transaction; unchanged by a failed one

    // Frame i, counted from 1; an empty frame for a number not received.
    const TDkFrame& Frame(std::size_t i) const;
};

// The payloads of all data frames of one answer. The length is not kept in 16 bits, so
// an answer longer than a record block can be is seen as such instead of wrapping.
struct TDkPayloadBuffer {
    std::size_t TotalLength = 0;
    std::vector<Byte> Bytes;
};

constexpr Byte DkStopCode = 4;
constexpr Byte DkByteDelay = 1;
constexpr std::uint32_t DkEntryPauseMilliseconds = 100;

// The 16-bit sum of the bytes, wrapping.
Word DkChecksum(const Byte* bytes, std::size_t count);

// The bytes a request goes out as: the command flag set when FrameKind is 1. Empty for a
// payload length outside 1..128.
std::vector<Byte> DkRequestBytes(const TDkFrame& request);

// A request with the command flag set; at most 128 bytes of `payload` are taken.
TDkFrame DkCommandFrame(const std::vector<Byte>& payload);

// 115200 baud, mark parity, 8N1, no flow control, DTR and RTS on; purges both directions.
void ConfigureDkPort(const TComPort& port);

// Result 0 success; 1 port not open; 2 request length outside 1..128 (nothing is sent);
// 3 no response (also a time-out after some frames); 4 message frame error; 5 an answer
// of more frames than the response buffer holds. ExpectedFrames 0 collects until the
// closing frame and shows the progress display meanwhile.
[[nodiscard]] Byte DkFrameTransaction(TUserInterface& ui, const TComPort& port, const TDkFrame& request, Byte byteDelay,
                        TDkResponseBuffer& responses, Byte stopCode, Word expectedFrames);

// Appends the payloads of the data frames among frames 1..Count.
void JoinDataFrames(const TDkResponseBuffer& responses, TDkPayloadBuffer& joined);

} // namespace lumetra
