#pragma once
// Where a user action meets an instrument: the entry chosen in the port list is opened,
// what answers is identified, the line is set for its family, the family's operation
// runs and everything opened is closed again, on every path. The main window and the
// command-line tool both come through here, so each connection path exists once.

#include "core/BasicTypes.h"
#include "instrument/InstrumentIdentification.h"
#include "links/InstrumentAdapter.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

class TUserInterface;

// What the instrument is reached for; it fixes the time-outs.
enum class TConnectionPurpose { Search, Setup, Download };

struct TConnectionTimeouts {
    Word Identify = 1000;          // each answer of the first identification
    Integer ReadTotalTimeOut = 1000; // each answer of the family's operation
    Word IdentifyOverCall = 0;     // the identification again once a modem call is up
};

constexpr TConnectionTimeouts TimeoutsFor(TConnectionPurpose purpose) {
    switch (purpose) {
    case TConnectionPurpose::Search: return {1000, 1000, 0};
    case TConnectionPurpose::Setup: return {1000, 1000, 5000};
    case TConnectionPurpose::Download: return {1000, 1000, 10000};
    }
    return {};
}

// The operation run on a reached instrument: the line is set for its family
// (`Baudrate`, `ReadTotalTimeOut`, `Bridge`); `identity` is what the identification
// found. Gives a result code.
using TFamilyOperation = std::function<Byte(const TComPort& port, const TInstrumentIdentity& identity)>;

// One operation per family; an empty one makes that family unsupported (result 9).
struct TFamilyOperations {
    TFamilyOperation Dosika;
    TFamilyOperation Halvo;
};

// Reaches the instrument behind `entry` (a serial port's path, or "TCP-IP") and runs
// the operation of its family. `identity` is what the first identification found (all
// 0 when it found nothing). For the search purpose no operation runs: the result is the
// identification's. The port is closed before this returns.
[[nodiscard]] Byte RunOnInstrument(TUserInterface& ui, const std::string& entry, TConnectionPurpose purpose,
                                   const TFamilyOperations& operations, TInstrumentIdentity& identity);

// What answers on one port, as one step of the search does it.
[[nodiscard]] Byte IdentifyOnPort(TUserInterface& ui, const std::string& portPath, TInstrumentIdentity& identity);

// An entry of the port list: the name shown, and the path opened (a demo instrument's
// link differs from its name).
struct TPortEntry {
    std::string Name;
    std::string Path;
};

struct TFoundInstrument {
    std::size_t Index = 0; // in the searched entries
    TPortEntry Port;
    TInstrumentIdentity Identity;
    std::string Line; // as the search lists it: the port name, then the description
};

constexpr std::size_t MaxInstrumentsFound = 255;
constexpr std::uint32_t FoundInstrumentPauseMs = 500;

// The line the search shows for an instrument found on `portName`.
std::string SearchResultLine(const TUserInterface& ui, const std::string& portName, const TInstrumentIdentity& identity);

// Asks every entry except "TCP-IP", in order, what answers there, until 255 instruments
// were found. `onProbe` runs before each port is asked (a window shows its name),
// `onFound` for each instrument as soon as it is known.
std::vector<TFoundInstrument> SearchInstruments(TUserInterface& ui, const std::vector<TPortEntry>& entries,
                                                const std::function<void(const TPortEntry&)>& onProbe,
                                                const std::function<void(const TFoundInstrument&)>& onFound);

} // namespace lumetra
