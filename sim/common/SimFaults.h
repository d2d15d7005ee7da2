#pragma once
// The text form and the request selection of scripted faults, shared by the instrument
// simulators. The kinds, and what they do, are each instrument's own.
//
// Text form: KIND[@K][:SELECTOR][:COUNT], SELECTOR one of
//   N        requests N, N+1, ... (silent:3:2 hits requests 3 and 4)
//   rec:N    requests for stored record N, where the instrument numbers them
//   cmd:C    requests with command code C
//   (none)   every request; the count then defaults to unlimited, else to 1
// Every number is decimal, or hexadecimal after "0x" (cmd:0x61 = cmd:97).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::sim {

enum class TSimSelector { Any, FromRequest, Record, Command };

struct TSimFaultText {
    std::string Kind;        // the text before '@' or ':'
    bool HasFrame = false;   // "@K" given
    std::uint32_t Frame = 0; // K, at least 1
    TSimSelector Selector = TSimSelector::Any;
    std::uint32_t Value = 0; // request index (at least 1), record number (at least 1) or command code
    std::uint32_t Count = 1; // 0 = unlimited
};

// "silent:3:2" gives "silent", "3", "2"; never empty.
std::vector<std::string> SplitSimFault(const std::string& text);

// Decimal, or hexadecimal after "0x"; nothing else.
bool ParseSimNumber(const std::string& text, std::uint32_t& value);

// False when @K, the selector or the count is malformed, or rec:N is given while
// records cannot be selected. The kind is left to the caller.
bool ParseSimFaultText(const std::string& text, bool recordSelector, TSimFaultText& fault);

// The entry of a kind table ({Name, Kind, ...}) named `name`; null when there is none.
template <typename TEntry, std::size_t N>
const TEntry* FindSimFaultKind(const TEntry (&table)[N], const std::string& name) {
    for (const TEntry& entry : table) {
        if (name == entry.Name) {
            return &entry;
        }
    }
    return nullptr;
}

// One received request as the selectors see it.
struct TSimRequest {
    std::uint32_t Index = 0; // numbered from 1
    std::uint8_t Command = 0;
    std::size_t Record = 0; // the stored record it asks for; 0 = none
};

// Whether a fault (Selector, Value, Count, Used) still hits and selects the request.
template <typename TFault> bool SimFaultSelects(const TFault& fault, const TSimRequest& request) {
    if (fault.Count != 0 && fault.Used >= fault.Count) {
        return false;
    }
    switch (fault.Selector) {
    case TSimSelector::Any:
        return true;
    case TSimSelector::FromRequest:
        return request.Index >= fault.Value;
    case TSimSelector::Record:
        return request.Record != 0 && request.Record == fault.Value;
    case TSimSelector::Command:
        return request.Command == fault.Value;
    }
    return false;
}

} // namespace lumetra::sim
