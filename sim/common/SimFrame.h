#pragma once
// The instrument message frame as the simulators see it on the wire:
//   42 | control (bits 0-6 = payload length - 1, bit 7 = command flag) | ~control |
//   payload (1..128) | sum of the payload bytes mod 65536, low byte first | 45
// e.g. the one-byte request [10] with the flag set is 42 80 7F 10 10 00 45.
// Nothing is escaped, so the reader finds frames by their header and checksum alone.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::sim {

inline constexpr std::uint8_t kFrameStart = 0x42;
inline constexpr std::uint8_t kFrameEnd = 0x45;
inline constexpr std::size_t kMaxFramePayload = 128;
inline constexpr std::size_t kFrameOverhead = 6;

// The whole frame around a payload; empty when the payload length is outside 1..128.
std::vector<std::uint8_t> BuildFrame(bool commandFlag, const std::vector<std::uint8_t>& payload);

struct TReceivedFrame {
    std::vector<std::uint8_t> Bytes;   // the frame as received, start to end byte
    std::vector<std::uint8_t> Payload;
    bool CommandFlag = false;
    bool Valid = false;                // header, checksum and end byte all right
};

// Cuts frames out of a byte stream. A start byte whose complement does not match is
// garbage and skipped; a frame with a bad checksum or end byte is reported as invalid
// and the scan resumes one byte after its start, so a real frame hidden behind garbage
// is still found.
class TFrameReader {
public:
    void Feed(const std::uint8_t* data, std::size_t size, std::vector<TReceivedFrame>& frames);
    // The sender went quiet in the middle of a frame: give up on the bytes held, but
    // still take any complete frame that starts inside them.
    void Flush(std::vector<TReceivedFrame>& frames);
    bool Pending() const { return !Buffer.empty(); }

private:
    void Scan(std::vector<TReceivedFrame>& frames);
    std::vector<std::uint8_t> Buffer;
};

} // namespace lumetra::sim
