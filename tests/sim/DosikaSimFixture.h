#pragma once
// A simulated Dosika-family instrument served on a pseudo-terminal in-process, and a
// test-side frame reader that knows the layout on its own.

#include "ClientLine.h"
#include "common/SimPty.h"
#include "dosika/DosikaSimulator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace lumetra::test {

using Bytes = std::vector<std::uint8_t>;

struct TFrameSeen {
    bool Flag = false;
    Bytes Payload;
    bool ChecksumOk = false;
    bool ComplementOk = false;
};

// A request frame with the command flag: 42, 0x80 | (length - 1), its complement, the
// payload, the payload sum low byte first, 45.
inline Bytes Request(const Bytes& payload) {
    Bytes frame{0x42, static_cast<std::uint8_t>(0x80 | (payload.size() - 1)),
                static_cast<std::uint8_t>(~(0x80 | (payload.size() - 1)))};
    unsigned sum = 0;
    for (const std::uint8_t b : payload) {
        frame.push_back(b);
        sum += b;
    }
    frame.insert(frame.end(), {static_cast<std::uint8_t>(sum), static_cast<std::uint8_t>(sum >> 8), 0x45});
    return frame;
}

class DosikaSimFixture : public ::testing::Test {
protected:
    void Serve(sim::TDkSimState state, const std::vector<sim::TDkFault>& faults = {}) {
        Line.reset();
        Server.reset();
        Simulator = std::make_unique<sim::TDosikaSimulator>(std::move(state));
        for (const auto& fault : faults) {
            Simulator->AddFault(fault);
        }
        Server = std::make_unique<sim::TPtyServer>(*Simulator);
        std::string error;
        ASSERT_TRUE(Server->Start(Dir.File("dosika"), error)) << error;
        Line = std::make_unique<TClientLine>(Dir.File("dosika"));
        ASSERT_TRUE(Line->IsOpen());
    }

    void TearDown() override {
        Line.reset();
        if (Server) {
            Server->Stop();
        }
    }

    Bytes Ask(const Bytes& request, std::size_t expected, int timeoutMs = 2000) {
        EXPECT_TRUE(Line->Write(request));
        return Line->Read(expected, timeoutMs);
    }

    // One frame; false on a time-out or a broken header or end byte.
    bool ReadFrame(TFrameSeen& f, int timeoutMs = 2000) {
        const Bytes head = Line->Read(3, timeoutMs);
        if (head.size() != 3 || head[0] != 0x42) {
            return false;
        }
        const std::size_t n = (head[1] & 0x7Fu) + 1u;
        const Bytes rest = Line->Read(n + 3, timeoutMs);
        if (rest.size() != n + 3 || rest.back() != 0x45) {
            return false;
        }
        f.Flag = (head[1] & 0x80) != 0;
        f.ComplementOk = head[2] == static_cast<std::uint8_t>(head[1] ^ 0xFF);
        f.Payload.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n));
        unsigned sum = 0;
        for (const std::uint8_t b : f.Payload) {
            sum += b;
        }
        f.ChecksumOk = rest[n] == (sum & 0xFF) && rest[n + 1] == ((sum >> 8) & 0xFF);
        return true;
    }

    // Reads frames until the closing frame (flag set, first byte 4), a time-out or a
    // broken header; the frames read so far are returned either way.
    std::vector<TFrameSeen> ReadFrames(int timeoutMs = 2000) {
        std::vector<TFrameSeen> frames;
        TFrameSeen f;
        while (ReadFrame(f, timeoutMs)) {
            frames.push_back(f);
            if (f.Flag && f.Payload[0] == 4) {
                break;
            }
        }
        return frames;
    }

    // Sends a request payload and returns the payload of the one answer frame, which
    // must be a sound status frame; empty when none came.
    Bytes AskPayload(const Bytes& payload) {
        EXPECT_TRUE(Line->Write(Request(payload)));
        TFrameSeen f;
        if (!ReadFrame(f)) {
            ADD_FAILURE() << "no answer to command " << int(payload[0]);
            return {};
        }
        EXPECT_TRUE(f.Flag && f.ChecksumOk && f.ComplementOk) << "command " << int(payload[0]);
        return f.Payload;
    }

    // The data frames of a download answer joined, after checking its shape: status
    // frame 0, data frames of at most 128 bytes, closing frame.
    Bytes Download(const Bytes& request) {
        EXPECT_TRUE(Line->Write(request));
        const std::vector<TFrameSeen> frames = ReadFrames();
        Bytes joined;
        if (frames.size() < 2 || frames.front().Payload != Bytes{0x00} || frames.back().Payload != Bytes{0x04}) {
            ADD_FAILURE() << "download answer of " << frames.size() << " frames";
            return joined;
        }
        for (std::size_t i = 1; i + 1 < frames.size(); ++i) {
            EXPECT_FALSE(frames[i].Flag);
            EXPECT_TRUE(frames[i].ChecksumOk && frames[i].ComplementOk);
            EXPECT_LE(frames[i].Payload.size(), 128u);
            joined.insert(joined.end(), frames[i].Payload.begin(), frames[i].Payload.end());
        }
        return joined;
    }

    TTempDir Dir;
    std::unique_ptr<sim::TDosikaSimulator> Simulator;
    std::unique_ptr<sim::TPtyServer> Server;
    std::unique_ptr<TClientLine> Line;
};

// Requests without parameters: 42 80 7F C C 00 45.
inline Bytes Command(std::uint8_t code) { return {0x42, 0x80, 0x7F, code, code, 0x00, 0x45}; }

inline std::uint32_t LittleEndian(const Bytes& b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    }
    return v;
}

} // namespace lumetra::test
