// Reaching an instrument by the entry chosen in the port list: the family's operation
// runs on a line set for that family, nothing runs for what cannot be served, the port
// is closed on every path; and the search over a list of entries.

#include "instrument/InstrumentConnection.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimulator.h"
#include "links/SimulatedLine.h"
#include "modem/ModemSimulator.h"
#include "support/LineUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace lumetra::test {
namespace {

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// What an operation was handed.
struct TCall {
    char Family = '-';
    TComPort Port;
};

// Operations that record their call and give a result no real step gives, so the
// result passed through shows.
TFamilyOperations Recording(std::optional<TCall>& call, bool withHalvo = true) {
    constexpr Byte Marker = 77;
    TFamilyOperations operations;
    operations.Dosika = [&call](const TComPort& port, const TInstrumentIdentity&) {
        call = TCall{'D', port};
        return Marker;
    };
    if (withHalvo) {
        operations.Halvo = [&call](const TComPort& port, const TInstrumentIdentity&) {
            call = TCall{'H', port};
            return Marker;
        };
    }
    return operations;
}

TEST(InstrumentConnection, EachEntryReachesItsFamilyOrNothing) {
    TTempDir dir;
    sim::THalvoSimulator halvo{sim::THalvoSimState{}};
    sim::TDosikaSimulator dosika(sim::DkSimDefaultState(2, 10));
    sim::TModemSimulator modem;
    struct TCase {
        const char* Name;
        sim::TSimDevice* Device; // nothing served: the entry names no port
        std::string Entry;
        TConnectionPurpose Purpose;
        bool WithHalvo;
        Byte Result;
        char Ran;
        Byte Baudrate;
        Byte Family;
    };
    const TCase cases[] = {
        {"Halvo download", &halvo, "", TConnectionPurpose::Download, true, 77, 'H', 0, FamilyHalvo},
        {"Halvo setup", &halvo, "", TConnectionPurpose::Setup, true, 77, 'H', 0, FamilyHalvo},
        {"Dosika download", &dosika, "", TConnectionPurpose::Download, true, 77, 'D', 1, FamilyDosika},
        {"search runs nothing", &dosika, "", TConnectionPurpose::Search, true, Result::Success, '-', 0, FamilyDosika},
        {"family without operation", &halvo, "", TConnectionPurpose::Download, false, Result::FamilyNotSupported,
         '-', 0, FamilyHalvo},
        {"modem", &modem, "", TConnectionPurpose::Download, true, Result::FamilyNotSupported, '-', 0, FamilyModem},
        {"no such port", nullptr, dir.File("absent"), TConnectionPurpose::Download, true, Result::PortNotOpen, '-',
         0, 0},
        {"instrument server", nullptr, TcpIpPortName, TConnectionPurpose::Download, true,
         Result::NoTcpIpConnection, '-', 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSimulatedLine line(dir.File("port"));
        std::string entry = c.Entry;
        if (c.Device != nullptr) {
            std::string error;
            ASSERT_TRUE(line.Serve(*c.Device, error)) << error;
            entry = line.LinkPath();
        }
        TLineUserInterface ui;
        std::optional<TCall> call;
        TInstrumentIdentity identity;
        const std::size_t before = OpenDescriptors();
        EXPECT_EQ(RunOnInstrument(ui, entry, c.Purpose, Recording(call, c.WithHalvo), identity), c.Result);
        EXPECT_EQ(OpenDescriptors(), before) << "the port was left open";
        EXPECT_EQ(identity.Family, c.Family);
        EXPECT_EQ(call ? call->Family : '-', c.Ran);
        if (call) {
            EXPECT_EQ(call->Port.Baudrate, c.Baudrate);
            EXPECT_EQ(call->Port.ReadTotalTimeOut, TimeoutsFor(c.Purpose).ReadTotalTimeOut);
            EXPECT_EQ(call->Port.Bridge, 0);
            EXPECT_NE(call->Port.Handle, InvalidHandle);
        }
    }
}

TEST(InstrumentConnection, SearchListsWhatAnswersAndSkipsTheServerEntry) {
    TTempDir dir;
    sim::THalvoSimState state;
    state.DeviceType = 5;
    state.DeviceNumber = 4711;
    state.SoftwareVersion = 12;
    sim::THalvoSimulator halvo(state);
    sim::TDkSimState measuring = sim::DkSimDefaultState(1, 8);
    measuring.Measuring = true;
    sim::TDosikaSimulator dosika(measuring);
    TSimulatedLine halvoLine(dir.File("a")), dosikaLine(dir.File("b"));
    std::string error;
    ASSERT_TRUE(halvoLine.Serve(halvo, error)) << error;
    ASSERT_TRUE(dosikaLine.Serve(dosika, error)) << error;

    const std::vector<TPortEntry> entries{{"Halvo here", dir.File("a")},
                                          {"nothing", dir.File("absent")},
                                          {"Dosika here", dir.File("b")},
                                          {TcpIpPortName, TcpIpPortName}};
    TLineUserInterface ui;
    ui.SplitClock.RealPauseLimit = 101; // the Dosika's 100 ms entry pause is slept
    std::vector<std::string> probed, reported;
    const auto found = SearchInstruments(
        ui, entries, [&probed](const TPortEntry& entry) { probed.push_back(entry.Name); },
        [&reported](const TFoundInstrument& instrument) { reported.push_back(instrument.Line); });

    EXPECT_EQ(probed, (std::vector<std::string>{"Halvo here", "nothing", "Dosika here"}));
    const std::vector<std::string> lines{"Halvo here -> Halvo PMT, SN:4711, SW:12",
                                         "Dosika here Running instrument, can not read ID/SN"};
    EXPECT_EQ(reported, lines);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Index, 0u);
    EXPECT_EQ(found[1].Index, 2u);
    EXPECT_EQ(found[1].Port.Path, dir.File("b"));
    // The pause after each instrument found lets the user read the panel.
    EXPECT_EQ(ui.SplitClock.LongPauses, (std::vector<std::uint32_t>{500, 500}));
}

} // namespace
} // namespace lumetra::test
