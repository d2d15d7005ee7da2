// What answers on a port: a Halvo, a Dosika of each type, a measuring Dosika, a modem
// with and without echo, a silent port; the families asked in their order.

#include "instrument/InstrumentIdentification.h"

#include "core/Errors.h"
#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimulator.h"
#include "links/SimulatedLine.h"
#include "modem/ModemSimulator.h"
#include "support/LineUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace lumetra::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Far above the simulators' answer time; short, because a silent port waits it out.
constexpr Word Timeout = 300;

// The Dosika identity request and the Halvo one, written out by hand.
const Bytes DosikaIdentityRequest{0x42, 0x80, 0x7F, 0x40, 0x40, 0x00, 0x45};
const Bytes HalvoIdentityPayload{0x0C, 0x06, 0x06, 0x00};

struct TIdentity {
    Byte Result = 0xEE;
    Byte Family = 0xEE;
    Byte Type = 0xEE;
    Word Serial = 0xEEEE;
    Byte Software = 0xEE;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool ContainsBytes(const Bytes& bytes, const std::string& part) {
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

class Identification : public ::testing::Test {
protected:
    void Serve(sim::TSimDevice& device) {
        std::string error;
        ASSERT_TRUE(Line.Start(device, error)) << error;
    }

    // Every output starts as a value no probe gives, so an output left unset shows.
    TIdentity Identify(bool noModemProbe = false) {
        TIdentity id;
        TInstrumentIdentity found{0xEE, 0xEE, 0xEEEE, 0xEE};
        id.Result = IdentifyInstrument(Ui, Line.Handle, Timeout, noModemProbe, found);
        id.Family = found.Family;
        id.Type = found.Type;
        id.Serial = found.Serial;
        id.Software = found.Software;
        return id;
    }

    static void ExpectNothing(const TIdentity& id) {
        EXPECT_EQ(id.Family, 0);
        EXPECT_EQ(id.Type, 0);
        EXPECT_EQ(id.Serial, 0);
        EXPECT_EQ(id.Software, 0);
    }

    void TearDown() override { Line.Stop(); }

    TTempDir Dir;
    TSimulatedLine Line{Dir.File("port")};
    TLineUserInterface Ui;
};

sim::THalvoSimState Halvo(Byte type, Byte software, Word serial) {
    sim::THalvoSimState state;
    state.DeviceType = type;
    state.SoftwareVersion = software;
    state.DeviceNumber = serial;
    return state;
}

TEST_F(Identification, HalvoAnswersAfterTheDosikaProbe) {
    sim::THalvoSimulator halvo(Halvo(6, 5, 47110));
    Serve(halvo);
    const TIdentity id = Identify();
    EXPECT_EQ(id.Result, Result::Success);
    EXPECT_EQ(id.Family, 2);
    EXPECT_EQ(id.Type, 6);
    EXPECT_EQ(id.Serial, 47110);
    EXPECT_EQ(id.Software, 5);

    // The Dosika identity went first, then the Halvo one (a spectrometric Halvo is then
    // asked for its regions and calibration); no modem command follows a success.
    const auto log = halvo.RequestLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].Frame, DosikaIdentityRequest);
    EXPECT_EQ(log[1].Payload, HalvoIdentityPayload);
    for (const auto& entry : log) {
        EXPECT_FALSE(ContainsBytes(entry.Frame, "at&f"));
    }
}

TEST_F(Identification, HalvoTooNewIsFamilyTwoWithResult19AndNoModemProbe) {
    sim::THalvoSimState state = Halvo(2, 9, 815);
    state.TooNew = true;
    sim::THalvoSimulator halvo(state);
    Serve(halvo);
    const TIdentity id = Identify();
    EXPECT_EQ(id.Result, Result::InstrumentTooNew);
    EXPECT_EQ(id.Family, 2);
    // The refusal carries no identity.
    EXPECT_EQ(id.Type, 0);
    EXPECT_EQ(id.Serial, 0);
    for (const auto& entry : halvo.RequestLog()) {
        EXPECT_FALSE(ContainsBytes(entry.Frame, "at&f"));
    }
}

TEST_F(Identification, DosikaOfEveryTypeAnswersTheFirstProbe) {
    for (Byte type = 1; type <= 6; ++type) {
        SCOPED_TRACE(static_cast<int>(type));
        sim::TDkSimState state = sim::DkSimDefaultState(type, static_cast<Byte>(3 + type));
        state.SerialNumber = static_cast<Word>(60000 + type);
        sim::TDosikaSimulator dosika(state);
        Serve(dosika);
        const TIdentity id = Identify();
        EXPECT_EQ(id.Result, Result::Success);
        EXPECT_EQ(id.Family, 1);
        EXPECT_EQ(id.Type, type);
        EXPECT_EQ(id.Serial, 60000 + type);
        EXPECT_EQ(id.Software, 3 + type);
        // One request: nothing else was tried.
        const auto log = dosika.RequestLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].Frame, DosikaIdentityRequest);
        Line.Stop();
    }
}

TEST_F(Identification, MeasuringDosikaIsFamilyOneOfUnknownType) {
    for (const bool postExposure : {false, true}) {
        SCOPED_TRACE(postExposure);
        sim::TDkSimState state = sim::DkSimDefaultState(2, 10);
        state.Measuring = true;
        state.PostExposure = postExposure;
        sim::TDosikaSimulator dosika(state);
        Serve(dosika);
        const TIdentity id = Identify();
        EXPECT_EQ(id.Result, Result::Success);
        EXPECT_EQ(id.Family, 1);
        EXPECT_EQ(id.Type, 0);
        EXPECT_EQ(id.Serial, 0);
        EXPECT_EQ(id.Software, 0);
        EXPECT_EQ(dosika.RequestLog().size(), 1u);
        // Identification never stops a measurement.
        EXPECT_TRUE(dosika.State().Measuring);
        Line.Stop();
    }
}

TEST_F(Identification, DosikaBehindAnEchoingLine) {
    sim::TDkSimState state = sim::DkSimDefaultState(3, 10);
    state.SerialNumber = 999;
    state.Echo = true;
    sim::TDosikaSimulator dosika(state);
    Serve(dosika);
    const TIdentity id = Identify();
    EXPECT_EQ(id.Result, Result::Success);
    EXPECT_EQ(id.Family, 1);
    EXPECT_EQ(id.Type, 3);
    EXPECT_EQ(id.Serial, 999);
    EXPECT_EQ(id.Software, 10);
}

TEST_F(Identification, BrokenDosikaAnswerIsNotTakenForAnything) {
    // The identity answer has a bad checksum: the Halvo identity and the modem probe
    // follow, and neither is answered by a Dosika.
    sim::TDosikaSimulator dosika(sim::DkSimDefaultState(1, 5));
    sim::TDkFault fault;
    std::string error;
    ASSERT_TRUE(sim::ParseDkFault("checksum:1", fault, error)) << error;
    dosika.AddFault(fault);
    Serve(dosika);
    const TIdentity id = Identify();
    EXPECT_EQ(id.Result, Result::NoAnswer);
    ExpectNothing(id);
    const auto log = dosika.RequestLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].Frame, DosikaIdentityRequest);
    EXPECT_EQ(log[1].Payload, HalvoIdentityPayload);
}

TEST_F(Identification, ModemAnswersTheLastProbe) {
    struct TCase {
        const char* Name;
        sim::TModemSimOptions Options;
    };
    sim::TModemSimOptions echo;
    sim::TModemSimOptions quiet;
    quiet.Echo = false;
    sim::TModemSimOptions slow; // the echo in one read, the answer in the next
    slow.SlowResult = true;
    for (const TCase& c : {TCase{"echo", echo}, TCase{"no echo", quiet}, TCase{"slow result", slow}}) {
        SCOPED_TRACE(c.Name);
        sim::TModemSimulator modem(c.Options);
        Serve(modem);
        const TIdentity id = Identify();
        EXPECT_EQ(id.Result, Result::Success);
        EXPECT_EQ(id.Family, 3);
        EXPECT_EQ(id.Type, 0);
        EXPECT_EQ(id.Serial, 0);
        EXPECT_EQ(id.Software, 0);
        const auto log = modem.CommandLog();
        ASSERT_FALSE(log.empty());
        EXPECT_TRUE(Contains(log.back().Received, "at&f\r")) << log.back().Received;
        EXPECT_TRUE(Contains(log.back().Reply, "\r\nOK\r\n")) << log.back().Reply;
        Line.Stop();
    }
}

TEST_F(Identification, ModemIsNotProbedWhenTheCallerSaysSo) {
    sim::TModemSimulator modem;
    Serve(modem);
    const TIdentity id = Identify(true);
    EXPECT_EQ(id.Result, Result::NoAnswer);
    ExpectNothing(id);
    for (const auto& entry : modem.CommandLog()) {
        EXPECT_FALSE(Contains(entry.Received, "at&f")) << entry.Received;
    }
}

TEST_F(Identification, SilentPortGivesNoResponse) {
    sim::THalvoSimState state = Halvo(1, 8, 1234);
    state.Mute = true;
    sim::THalvoSimulator silent(state);
    Serve(silent);
    for (const bool noModemProbe : {false, true}) {
        SCOPED_TRACE(noModemProbe);
        const TIdentity id = Identify(noModemProbe);
        EXPECT_EQ(id.Result, Result::NoAnswer);
        ExpectNothing(id);
    }
}

TEST_F(Identification, PortThatDidNotOpenGivesNoAccess) {
    for (const bool noModemProbe : {false, true}) {
        TInstrumentIdentity found{0xEE, 0xEE, 0xEEEE, 0xEE};
        EXPECT_EQ(IdentifyInstrument(Ui, InvalidHandle, Timeout, noModemProbe, found), Result::PortNotOpen);
        EXPECT_EQ(found, TInstrumentIdentity{});
    }
}

} // namespace
} // namespace lumetra::test
