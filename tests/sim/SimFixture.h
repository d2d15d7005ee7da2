#pragma once
// A simulator served on a pseudo-terminal in-process, reached through a link path.

#include "ClientLine.h"
#include "common/SimPty.h"
#include "halvo/HalvoSimulator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace lumetra::test {

using Bytes = std::vector<std::uint8_t>;

class SimFixture : public ::testing::Test {
protected:
    void Serve(sim::THalvoSimState state, const std::vector<sim::THalvoFault>& faults = {}) {
        Line.reset();
        Server.reset();
        Simulator = std::make_unique<sim::THalvoSimulator>(std::move(state));
        for (const auto& fault : faults) {
            Simulator->AddFault(fault);
        }
        Server = std::make_unique<sim::TPtyServer>(*Simulator);
        std::string error;
        ASSERT_TRUE(Server->Start(LinkPath(), error)) << error;
        Line = std::make_unique<TClientLine>(LinkPath());
        ASSERT_TRUE(Line->IsOpen());
    }

    void TearDown() override {
        Line.reset();
        if (Server) {
            Server->Stop();
        }
    }

    // Sends a request and reads up to expected answer bytes.
    Bytes Ask(const Bytes& request, std::size_t expected, int timeoutMs = 2000) {
        EXPECT_TRUE(Line->Write(request));
        return Line->Read(expected, timeoutMs);
    }

    std::string LinkPath() const { return Dir.File("halvo"); }

    TTempDir Dir;
    std::unique_ptr<sim::THalvoSimulator> Simulator;
    std::unique_ptr<sim::TPtyServer> Server;
    std::unique_ptr<TClientLine> Line;
};

// A frame's payload, checked against its own header and checksum: a test-side reading
// of the layout, independent of the simulator's code.
inline Bytes PayloadOf(const Bytes& frame, bool expectFlag) {
    if (frame.size() < 7 || frame[0] != 0x42 || frame[2] != static_cast<std::uint8_t>(~frame[1]) ||
        ((frame[1] & 0x80) != 0) != expectFlag || frame.size() != (frame[1] & 0x7Fu) + 7u || frame.back() != 0x45) {
        ADD_FAILURE() << "malformed frame of " << frame.size() << " bytes";
        return {};
    }
    const std::size_t n = frame.size() - 6;
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += frame[3 + i];
    }
    EXPECT_EQ(frame[3 + n], sum & 0xFF);
    EXPECT_EQ(frame[4 + n], (sum >> 8) & 0xFF);
    return Bytes(frame.begin() + 3, frame.begin() + 3 + static_cast<std::ptrdiff_t>(n));
}

} // namespace lumetra::test
