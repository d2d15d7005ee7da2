#pragma once
// Scripted faults of the simulated Dosika-family instrument, applied per request.
//
// A fault hits the first Count requests that match its selector and that it can act
// on (0 = every one); requests are numbered from 1 in the order valid request frames
// arrive. A fault that cannot act on a command (noend on an identity read, refuse-
// while-measuring on an instrument that does not measure) leaves that request alone
// and keeps its count.
//
// Text form (command line): KIND[@K][:SELECTOR][:COUNT], SELECTOR one of
//   N        requests N, N+1, ... (silent:3:2 silences requests 3 and 4)
//   cmd:C    requests with command code C (0x61 or 97)
//   (none)   every request; the count then defaults to unlimited, else to 1
// Numbers are decimal or hexadecimal after "0x" (common/SimFaults.h).
// Kinds:
//   silent       no answer at all
//   noend[@K]    a download answer (0x60, 0x61) without its closing frame; with @K
//                only its first K frames are sent
//   checksum[@K] frame K of the answer (default 1) has a wrong checksum
//   complement[@K] frame K of the answer has a wrong length complement
//   oddblock     the record block is one byte longer than whole records (0x61)
//   blocklength  the record block's length field is one off the bytes sent (0x61)
//   spectrumsize the spectrum in the other length: 240 bytes from a type 1, 150
//                from the others (0x60)
//   echo         the request is sent back before its answer
//   refuse       status 1 instead of the answer, as while measuring
//   refuse-while-measuring  status 1 instead of the answer, only while the instrument
//                measures: for a command it would otherwise answer then (clock, DAC,
//                switch, ...); refuse-while-measuring:cmd:0x25:0 refuses every DAC
//                test during a measurement
//   reject       status 0xFF instead of the answer, as for an unknown command

#include "common/SimFaults.h"

#include <cstdint>
#include <string>

namespace lumetra::sim {

enum class TDkFaultKind {
    Silent,
    NoEnd,
    Checksum,
    Complement,
    OddBlock,
    BlockLength,
    SpectrumSize,
    Echo,
    Refuse,
    RefuseWhileMeasuring,
    Reject
};
using TDkSelector = TSimSelector; // never Record: the requests name no record

struct TDkFault {
    TDkFaultKind Kind = TDkFaultKind::Silent;
    TDkSelector Selector = TDkSelector::Any;
    std::uint32_t Value = 0; // request index or command code
    std::uint32_t Count = 1; // 0 = unlimited
    std::uint32_t Frame = 0; // @K; 0 = the kind's default
    std::uint32_t Used = 0;  // hits so far, kept by the simulator
};

// False (and error set) when the text is malformed.
bool ParseDkFault(const std::string& text, TDkFault& fault, std::string& error);

} // namespace lumetra::sim
