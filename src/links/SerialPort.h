#pragma once
// The POSIX serial layer: open by name (read/write, exclusive, no controlling terminal),
// the two line settings, raw mode with DTR and RTS raised, bounded reads, purge, close.
// Calls that a pseudo-terminal refuses (modem-control ioctls, mark parity) are ignored,
// as a failed device-control call never fails an exchange.

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumetra {

// An open file descriptor, or -1 when the port cannot be opened.
int SerialOpen(const std::string& name);
// Releases exclusive mode (so the next operation can open the port again) and closes.
void SerialClose(int fd);

// Selector 0: 9600 baud, no parity; any other value: 115200 baud, mark parity. 8 data
// bits, 1 stop bit, no flow control, raw.
void SerialConfigure(int fd, std::uint8_t baudrateSelector);
// Discards what is waiting in both directions.
void SerialPurge(int fd);

// Writes one byte; false when the write fails.
bool SerialWriteByte(int fd, std::uint8_t byte);

// Reads up to `count` bytes; returns when that many arrived, when no byte arrived for
// `gapMilliseconds` after the previous one, or when `totalMilliseconds` have passed.
// Returns the number of bytes read.
std::size_t SerialRead(int fd, std::uint8_t* buffer, std::size_t count, int totalMilliseconds,
                       int gapMilliseconds);

} // namespace lumetra
