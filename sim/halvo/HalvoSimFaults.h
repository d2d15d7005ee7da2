#pragma once
// Scripted faults of the simulated Halvo instrument, applied per received request.
//
// A fault has a kind, a selector saying which requests it hits, and a count: it hits
// the first Count requests that match (0 = every matching request). Requests are
// numbered from 1 in the order valid frames arrive, retries included.
//
// Text form (command line): KIND[:SELECTOR][:COUNT], SELECTOR one of
//   N        requests N, N+1, ... (so silent:3:2 silences requests 3 and 4)
//   rec:N    requests for stored record N (command 6 asks for record 1, command 7 for
//            the one after the last delivered), so retries of one record all match
//   cmd:C    requests with command code C (12 or 0x0C)
//   (none)   every request
// Numbers are decimal or hexadecimal after "0x" (common/SimFaults.h).
// Kinds: silent (no answer), garble (a payload byte inverted), badend (end byte
// wrong), short (the frame cut to 5 bytes), echo (the request sent back before the
// answer), refuse (status 255 instead of the answer). Flags without selector:
// too-new (identity answered with status 22), mute (no answer at all), and
// badtime:N (stored record N gets month 0).

#include "common/SimFaults.h"

#include <cstdint>
#include <string>

namespace lumetra::sim {

enum class THalvoFaultKind { Silent, Garble, BadEnd, Short, Echo, Refuse };
using THalvoSelector = TSimSelector; // rec:N included: commands 6 and 7 ask for records

struct THalvoFault {
    THalvoFaultKind Kind = THalvoFaultKind::Silent;
    THalvoSelector Selector = THalvoSelector::Any;
    std::uint32_t Value = 0;  // request index, record number or command code
    std::uint32_t Count = 1;  // 0 = unlimited
    // Short: bytes of the frame kept (default 5). Garble: frame offset of the inverted
    // byte (default 3, the first payload byte).
    int Parameter = -1;
    std::uint32_t Used = 0;   // hits so far, kept by the simulator
};

// A parsed --fault argument: either a fault or one of the flags.
struct THalvoFaultOption {
    bool IsFault = false;
    THalvoFault Fault;
    bool TooNew = false;
    bool Mute = false;
    std::uint32_t BadTimeRecord = 0; // 1-based; 0 = none
};

// False (and error set) when the text is malformed.
bool ParseHalvoFault(const std::string& text, THalvoFaultOption& option, std::string& error);

} // namespace lumetra::sim
