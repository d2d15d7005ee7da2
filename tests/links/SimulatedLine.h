#pragma once
// Any simulated device (an instrument of either family, a modem) served on a
// pseudo-terminal in this process, with the client's port opened on it through a link
// path, as a user's serial port would be. For test executables that link lumetra_sim.

#include "common/SimDevice.h"
#include "common/SimPty.h"
#include "links/InstrumentAdapter.h"

#include <memory>
#include <string>

namespace lumetra::test {

class TSimulatedLine {
public:
    explicit TSimulatedLine(std::string linkPath) : Link(std::move(linkPath)) {}
    ~TSimulatedLine() { Stop(); }
    TSimulatedLine(const TSimulatedLine&) = delete;
    TSimulatedLine& operator=(const TSimulatedLine&) = delete;

    // Serves `device` (which must outlive the line) and opens the port; false with
    // `error` when either cannot be done.
    bool Start(sim::TSimDevice& device, std::string& error) {
        if (!Serve(device, error)) {
            return false;
        }
        Open = TOpenComPort(Link);
        Handle = Open.Handle();
        if (Handle == InvalidHandle) {
            error = "cannot open " + Link;
            return false;
        }
        return true;
    }

    // Serves `device` on the link only, for code that opens the port itself.
    bool Serve(sim::TSimDevice& device, std::string& error) {
        Stop();
        Server = std::make_unique<sim::TPtyServer>(device);
        return Server->Start(Link, error);
    }

    const std::string& LinkPath() const { return Link; }

    void Stop() {
        Open.Close();
        Handle = InvalidHandle;
        if (Server) {
            Server->Stop();
        }
    }

    TComPort Port(Integer readTotalTimeOut) const {
        TComPort port;
        port.Handle = Handle;
        port.ReadTotalTimeOut = readTotalTimeOut;
        port.Baudrate = 1;
        return port;
    }

    std::uint32_t Handle = InvalidHandle;

private:
    std::string Link;
    TOpenComPort Open;
    std::unique_ptr<sim::TPtyServer> Server;
};

} // namespace lumetra::test
