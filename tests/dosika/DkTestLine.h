#pragma once
// A pseudo-terminal whose far end plays the instrument (or the modem) from answers the
// test writes by hand: the client end is opened as a serial port, and a thread on the
// other end cuts what arrives into requests and answers each with the bytes a test
// function returns for it.

#include "links/InstrumentAdapter.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumetra::test {

using Bytes = std::vector<std::uint8_t>;

// A frame as the instrument sends it, built here independently of the client's code.
Bytes DkFrameBytes(bool commandFlag, const Bytes& payload);
inline Bytes DkAnswer(const Bytes& payload) { return DkFrameBytes(true, payload); }
inline Bytes DkData(const Bytes& payload) { return DkFrameBytes(false, payload); }
Bytes Join(std::initializer_list<Bytes> parts);

struct TChunk {
    int DelayMs = 0; // waited before the bytes go out
    Bytes Data;
};
using TReply = std::vector<TChunk>;

class TDkTestLine {
public:
    enum class TMode {
        Frames, // a request is one frame; the responder gets its payload
        Text    // a request ends with a carriage return, or is "+++"; the responder gets it whole
    };
    using TResponder = std::function<TReply(const Bytes& request)>;

    explicit TDkTestLine(TResponder responder, TMode mode = TMode::Frames);
    ~TDkTestLine();
    TDkTestLine(const TDkTestLine&) = delete;
    TDkTestLine& operator=(const TDkTestLine&) = delete;

    bool IsOpen() const { return Client != InvalidHandle; }
    TComPort Port(int readTotalTimeOut = 300) const;
    std::uint32_t Handle() const { return Client; }

    // Every request received so far: frame payloads (Frames) or texts (Text).
    std::vector<Bytes> Requests() const;
    // The whole frames as they arrived (Frames mode), checked by the test.
    std::vector<Bytes> RawRequests() const;
    // Bytes that arrived outside any frame.
    std::size_t StrayBytes() const;

private:
    void Serve();
    bool WriteAll(const Bytes& data);
    void TakeRequests(Bytes& pending);

    TResponder Responder;
    TMode Mode;
    int Master = -1;
    std::uint32_t Client = InvalidHandle;
    std::atomic<bool> Stopping{false};
    mutable std::mutex Lock;
    std::vector<Bytes> Received;
    std::vector<Bytes> RawReceived;
    std::size_t Stray = 0;
    std::thread Worker;
};

// Answers by command code: the payload's first byte picks the answer.
TDkTestLine::TResponder ByCommand(std::function<Bytes(std::uint8_t code, const Bytes& request)> answer);

} // namespace lumetra::test
