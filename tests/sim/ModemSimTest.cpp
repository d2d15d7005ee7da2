// The simulated Hayes modem: echo, result formats, and the escape.

#include "ClientLine.h"
#include "common/SimPty.h"
#include "modem/ModemSimulator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace lumetra::test {
namespace {

class ModemSimTest : public ::testing::Test {
protected:
    void Serve(sim::TModemSimOptions options) {
        Line.reset();
        Server.reset();
        Modem = std::make_unique<sim::TModemSimulator>(std::move(options));
        Server = std::make_unique<sim::TPtyServer>(*Modem);
        std::string error;
        ASSERT_TRUE(Server->Start(Dir.File("modem"), error)) << error;
        Line = std::make_unique<TClientLine>(Dir.File("modem"));
        ASSERT_TRUE(Line->IsOpen());
    }

    void TearDown() override {
        Line.reset();
        if (Server) {
            Server->Stop();
        }
    }

    std::string Ask(const std::string& text, std::size_t expected, int timeoutMs = 2000) {
        EXPECT_TRUE(Line->Write(std::vector<std::uint8_t>(text.begin(), text.end())));
        const auto bytes = Line->Read(expected, timeoutMs);
        return std::string(bytes.begin(), bytes.end());
    }

    TTempDir Dir;
    std::unique_ptr<sim::TModemSimulator> Modem;
    std::unique_ptr<sim::TPtyServer> Server;
    std::unique_ptr<TClientLine> Line;
};

TEST_F(ModemSimTest, AnswersWithAndWithoutEcho) {
    Serve({});
    EXPECT_EQ(Ask("at&f\r", 11), "at&f\r\r\nOK\r\n");
    // E0 takes effect after its own line, which was still echoed.
    EXPECT_EQ(Ask("ATE0\r", 11), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Ask("at&f\r", 6), "\r\nOK\r\n");

    Serve({false, false, "x"});
    EXPECT_EQ(Ask("at&f\r", 6), "\r\nOK\r\n");
    EXPECT_FALSE(Modem->EchoOn());
    ASSERT_EQ(Modem->CommandLog().size(), 1u);
    EXPECT_EQ(Modem->CommandLog()[0].Received, "at&f\r");
    EXPECT_EQ(Modem->CommandLog()[0].Reply, "\r\nOK\r\n");
}

TEST_F(ModemSimTest, ResultFormatsAndCommands) {
    Serve({false, false, "Test modem"});
    EXPECT_EQ(Ask("at s0=1 &y0\r", 6), "\r\nOK\r\n");
    EXPECT_EQ(Modem->Register(0), 1);
    EXPECT_EQ(Ask("ATS0?\r", 13), "\r\n001\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask("ATI\r", 20), "\r\nTest modem\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask("ATDT0123456\r", 14), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(Ask("AT+++X\r", 9), "\r\nERROR\r\n");
    EXPECT_EQ(Ask("junkAT\r", 6), "\r\nOK\r\n"); // executed from "AT" on
    EXPECT_TRUE(Ask("hello\r", 1, 300).empty());
    EXPECT_EQ(Ask("ATV0\r", 2), "0\r");
    EXPECT_EQ(Ask("ATQ9\r", 2), "4\r");
    EXPECT_TRUE(Ask("ATQ1\r", 1, 300).empty());
    EXPECT_TRUE(Ask("AT\r", 1, 300).empty());
    // Factory settings come back with &F; Z takes the profile saved by &W (here the
    // factory one).
    EXPECT_EQ(Ask("AT&F\r", 6), "\r\nOK\r\n");
    EXPECT_EQ(Ask("ATQ1Z\r", 6), "\r\nOK\r\n");
}

TEST_F(ModemSimTest, EscapeAndSlowResultWaitForSilence) {
    using namespace std::chrono;
    Serve({true, true, "x"});
    auto start = steady_clock::now();
    EXPECT_EQ(Ask("at&f\r", 5), "at&f\r");
    EXPECT_LT(steady_clock::now() - start, milliseconds(500));
    EXPECT_EQ(Ask("", 6, 3000), "\r\nOK\r\n");
    EXPECT_GE(steady_clock::now() - start, milliseconds(900));

    Serve({false, false, "x"});
    start = steady_clock::now();
    EXPECT_EQ(Ask("+++", 6, 3000), "\r\nOK\r\n");
    EXPECT_GE(steady_clock::now() - start, milliseconds(900));
    EXPECT_EQ(Modem->CommandLog().back().Received, "+++");
}

} // namespace
} // namespace lumetra::test
