#include "instrument/InstrumentConnection.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"

namespace lumetra {
namespace {

Byte RunFamilyOperation(const TFamilyOperation& operation, const TComPort& port, const TInstrumentIdentity& identity) {
    return operation ? operation(port, identity) : Result::FamilyNotSupported;
}

// A port of this machine: open, identify, set the line for the family, run, close.
Byte RunOnSerialPort(TUserInterface& ui, const std::string& path, TConnectionPurpose purpose,
                     const TFamilyOperations& operations, TInstrumentIdentity& identity) {
    const TConnectionTimeouts timeouts = TimeoutsFor(purpose);
    const TOpenComPort open(path);
    const Byte result = IdentifyInstrument(ui, open.Handle(), timeouts.Identify, false, identity);
    if (result != Result::Success || purpose == TConnectionPurpose::Search) {
        return result;
    }
    TComPort port;
    port.Handle = open.Handle();
    port.ReadTotalTimeOut = timeouts.ReadTotalTimeOut;
    switch (identity.Family) {
    case FamilyDosika:
        port.Baudrate = 1;
        return RunFamilyOperation(operations.Dosika, port, identity);
    case FamilyHalvo:
        port.Baudrate = 0;
        return RunFamilyOperation(operations.Halvo, port, identity);
    default:
        // A modem or a coordinator answered: reached through their own paths.
        return Result::FamilyNotSupported;
    }
}

} // namespace

Byte RunOnInstrument(TUserInterface& ui, const std::string& entry, TConnectionPurpose purpose,
                     const TFamilyOperations& operations, TInstrumentIdentity& identity) {
    identity = {};
    if (entry == TcpIpPortName) {
        // No instrument-server link exists in this build, so no connection comes up.
        return Result::NoTcpIpConnection;
    }
    return RunOnSerialPort(ui, entry, purpose, operations, identity);
}

Byte IdentifyOnPort(TUserInterface& ui, const std::string& portPath, TInstrumentIdentity& identity) {
    return RunOnInstrument(ui, portPath, TConnectionPurpose::Search, {}, identity);
}

std::string SearchResultLine(const TUserInterface& ui, const std::string& portName,
                             const TInstrumentIdentity& identity) {
    if (IsRunningInstrument(identity)) {
        return portName + ui.Translate(" Running instrument, can not read ID/SN");
    }
    return portName + " -> " + InstrumentDescription(identity);
}

std::vector<TFoundInstrument> SearchInstruments(TUserInterface& ui, const std::vector<TPortEntry>& entries,
                                                const std::function<void(const TPortEntry&)>& onProbe,
                                                const std::function<void(const TFoundInstrument&)>& onFound) {
    std::vector<TFoundInstrument> found;
    for (std::size_t i = 0; i < entries.size() && found.size() < MaxInstrumentsFound; ++i) {
        const TPortEntry& entry = entries[i];
        if (entry.Path == TcpIpPortName) {
            continue;
        }
        if (onProbe) {
            onProbe(entry);
        }
        TInstrumentIdentity identity;
        if (IdentifyOnPort(ui, entry.Path, identity) != Result::Success) {
            continue;
        }
        TFoundInstrument instrument{i, entry, identity, SearchResultLine(ui, entry.Name, identity)};
        if (onFound) {
            onFound(instrument);
        }
        found.push_back(std::move(instrument));
        ui.Clock().Pause(FoundInstrumentPauseMs);
    }
    return found;
}

} // namespace lumetra
