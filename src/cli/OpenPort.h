#pragma once
// A serial port held open for one operation, closed whichever way the operation ends.

#include "links/InstrumentAdapter.h"

#include <cstdint>
#include <string>

namespace lumetra::cli {

class TOpenPort {
public:
    // A port that does not open leaves an invalid handle; the first exchange on it
    // reports 1.
    explicit TOpenPort(const std::string& name) : Handle(OpenComPort(name)) {}
    ~TOpenPort() { CloseComPort(Handle); }
    TOpenPort(const TOpenPort&) = delete;
    TOpenPort& operator=(const TOpenPort&) = delete;
    const std::uint32_t Handle;
};

// The description line of an identified instrument, as the search shows it.
std::string InstrumentDescription(Byte family, Byte type, Word serial, Byte software);

// Each answer of an identification is awaited this long.
constexpr Word IdentifyTimeoutMs = 1000;

} // namespace lumetra::cli
