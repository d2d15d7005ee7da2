#pragma once
// A simulated Halvo instrument served on a pseudo-terminal in this process, with the
// client's port opened on it through a link path, as a user's serial port would be.
// For test executables that link lumetra_sim.

#include "common/SimPty.h"
#include "halvo/HalvoSimulator.h"
#include "links/InstrumentAdapter.h"
#include "support/LineUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lumetra::test {

using Bytes = std::vector<std::uint8_t>;

inline sim::THalvoFault HalvoFault(sim::THalvoFaultKind kind, sim::THalvoSelector selector, std::uint32_t value,
                                   std::uint32_t count = 1, int parameter = -1) {
    sim::THalvoFault fault;
    fault.Kind = kind;
    fault.Selector = selector;
    fault.Value = value;
    fault.Count = count;
    fault.Parameter = parameter;
    return fault;
}

class THalvoLineTest : public ::testing::Test {
protected:
    // Short, because an answer shorter than expected (every status-only answer to a
    // longer request) is only taken when the whole read time has passed; still far
    // above the simulator's answer time.
    static constexpr Integer ReadTimeOut = 300;

    // Starts the simulator and opens the port; false (with a test failure) if either
    // cannot be done.
    bool Serve(sim::THalvoSimState state, const std::vector<sim::THalvoFault>& faults = {}) {
        Stop();
        Simulator = std::make_unique<sim::THalvoSimulator>(std::move(state));
        for (const auto& fault : faults) {
            Simulator->AddFault(fault);
        }
        Server = std::make_unique<sim::TPtyServer>(*Simulator);
        std::string error;
        if (!Server->Start(LinkPath(), error)) {
            ADD_FAILURE() << "simulator: " << error;
            return false;
        }
        Port = TComPort{};
        Port.ReadTotalTimeOut = ReadTimeOut;
        Port.Handle = OpenComPort(LinkPath());
        if (Port.Handle == InvalidHandle) {
            ADD_FAILURE() << "cannot open " << LinkPath();
            return false;
        }
        return true;
    }

    void Stop() {
        CloseComPort(Port.Handle);
        Port.Handle = InvalidHandle;
        if (Server) {
            Server->Stop();
        }
    }

    void TearDown() override { Stop(); }

    // What reached the instrument: the payloads of the valid requests, in order.
    std::vector<Bytes> RequestPayloads() const {
        std::vector<Bytes> payloads;
        for (const auto& entry : Simulator->RequestLog()) {
            if (entry.Index != 0) {
                payloads.push_back(entry.Payload);
            }
        }
        return payloads;
    }
    Bytes RequestCommands() const {
        Bytes commands;
        for (const auto& payload : RequestPayloads()) {
            commands.push_back(payload.empty() ? 0 : payload[0]);
        }
        return commands;
    }

    std::string LinkPath() const { return Dir.File("halvo"); }

    TTempDir Dir;
    std::unique_ptr<sim::THalvoSimulator> Simulator;
    std::unique_ptr<sim::TPtyServer> Server;
    TComPort Port;
    TLineUserInterface Ui;
};

} // namespace lumetra::test
