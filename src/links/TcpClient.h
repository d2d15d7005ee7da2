#pragma once
// A TCP connection to an instrument server or a registration server: connect with a
// time-out, send a frame in one call, read an exact number of bytes or a text line
// within a time-out. Reads wait on poll against a steady clock; a peer that closes the
// connection ends a read at once. Sends never raise SIGPIPE.

#include "core/BasicTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumetra {

class TTcpClient {
public:
    TTcpClient() = default;
    ~TTcpClient() { Disconnect(); }
    TTcpClient(TTcpClient&& other) noexcept;
    TTcpClient& operator=(TTcpClient&& other) noexcept;
    TTcpClient(const TTcpClient&) = delete;
    TTcpClient& operator=(const TTcpClient&) = delete;

    // Resolves `host` (a name, or an IPv4 or IPv6 literal) and connects to the first
    // address that answers within `timeoutMs` in all. A connection held before is closed.
    bool Connect(const std::string& host, std::uint16_t port, int timeoutMs);
    bool Connected() const { return Socket >= 0; }
    // The peer closed its side (a read found the end of the stream).
    bool PeerClosed() const { return EndOfStream; }

    // Sends all `size` bytes; false when the connection cannot take them.
    bool Send(const Byte* data, std::size_t size);
    bool Send(const std::string& text) {
        return Send(reinterpret_cast<const Byte*>(text.data()), text.size());
    }

    // Reads up to `count` bytes, returning when that many arrived, the time ran out or the
    // peer closed; gives the number read.
    std::size_t ReadExact(Byte* buffer, std::size_t count, int timeoutMs);

    // Reads one line ended by LF (a CR before it is dropped, the LF is not kept); false
    // when no whole line arrived in time, the peer closed first, or the line would pass
    // `maxLength` characters.
    bool ReadLine(std::string& line, int timeoutMs, std::size_t maxLength = 4096);

    void Disconnect();

private:
    // Waits for input until `deadline` (steady milliseconds); false on time-out or error.
    bool WaitReadable(std::int64_t deadline);

    int Socket = -1;
    bool EndOfStream = false;
    std::string Pending; // bytes read past a line's end
};

} // namespace lumetra
