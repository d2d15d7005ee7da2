// The analog sensors' output setup, DAC and switch tests and readings, and what a
// measuring Dosika-family instrument still answers.

#include "DosikaSimFixture.h"

namespace lumetra::test {
namespace {

using sim::TDkSimState;
using sim::TDkSimValues;

TDkSimState Sensor(std::uint8_t type) { return sim::DkSimDefaultState(type, 5); }

using DosikaAnalogTest = DosikaSimFixture;

TEST_F(DosikaAnalogTest, OutputSetupIsKeptAsSentAndReadBack) {
    Serve(Sensor(6));
    const struct {
        Bytes Write;
        std::uint8_t Read;
        Bytes Answer;
    } cases[] = {
        {{0x22, 0x32, 0x80, 0xE8, 0x03}, 0x52, {0x00, 0x32, 0x80, 0xE8, 0x03}}, // ranges 50000 (0x8032), 1000
        {{0x23, 0xBF}, 0x54, {0x00, 0xBF}},
        {{0x24, 0xFF, 0x7F, 0x0A, 0x00}, 0x55, {0x00, 0xFF, 0x7F, 0x0A, 0x00}}, // alarms 32767, 10
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskPayload(c.Write), Bytes{0x00}) << int(c.Write[0]);
        EXPECT_EQ(AskPayload({c.Read}), c.Answer) << int(c.Read);
    }
    const TDkSimState s = Simulator->State();
    EXPECT_EQ(sim::DkSimRangeValue(s.AOut1RangeWord), 50000);
    EXPECT_EQ(s.AOut2RangeWord, 1000);
    EXPECT_EQ(s.DOutMode, 0xBF);
    EXPECT_EQ(s.AOut1AlarmWord, 0x7FFF);
    EXPECT_EQ(s.AOut2AlarmWord, 10);
}

TEST_F(DosikaAnalogTest, DacTestDrivesTheOutputsAndTheSwitchFollowsItsCommand) {
    Serve(Sensor(5));
    EXPECT_EQ(AskPayload({0x25, 0xF4, 0x01, 0x34, 0x12}), Bytes{0x00});
    EXPECT_EQ(AskPayload({0x65}), (Bytes{0x00, 0xF4, 0x01, 0x34, 0x12}));
    const TDkSimState s = Simulator->State();
    EXPECT_EQ(s.Dac1, 500);
    EXPECT_EQ(s.Dac2, 0x1234);
    for (const bool on : {true, false}) {
        EXPECT_EQ(AskPayload({0x26, static_cast<std::uint8_t>(on ? 0xFF : 0x00)}), Bytes{0x00});
        EXPECT_EQ(Simulator->State().SwitchOn, on);
    }
}

TEST_F(DosikaAnalogTest, ReadingsSetByTheTestOrItsSourceAreWhatTheClientReads) {
    Serve(Sensor(6));
    Simulator->SetValues({120, 8, -1, 0, 100, 255, 1022, 1023, 1});
    const struct {
        std::uint8_t Command;
        Bytes Answer;
    } cases[] = {
        {0x62, {0x01, 0x78, 0x00, 0x00, 0x00, 8}},
        {0x63, {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0}},
        {0x64, {0x01, 100, 255}},
        {0x65, {0x01, 0xFE, 0x03, 0xFF, 0x03}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskPayload({c.Command}), c.Answer) << int(c.Command);
    }

    // A source renews the readings at each radon read, and only there.
    Simulator->SetValueSource([](const TDkSimState& s) {
        TDkSimValues next = s.Values;
        next.RadonValue += 1;
        next.ThoronValue += 2;
        return next;
    });
    EXPECT_EQ(AskPayload({0x62}), (Bytes{0x01, 121, 0x00, 0x00, 0x00, 8}));
    EXPECT_EQ(AskPayload({0x63}), (Bytes{0x01, 0x01, 0x00, 0x00, 0x00, 0}));
    EXPECT_EQ(AskPayload({0x63}), (Bytes{0x01, 0x01, 0x00, 0x00, 0x00, 0}));
    EXPECT_EQ(AskPayload({0x62}), (Bytes{0x01, 122, 0x00, 0x00, 0x00, 8}));
}

TEST_F(DosikaAnalogTest, MeasuringRefusesOnlyTheReadsOfIdentitySetupAndData) {
    TDkSimState s = Sensor(5);
    s.Measuring = true;
    Serve(s);
    const struct {
        Bytes Request;
        bool Refused;
    } cases[] = {
        {{0x40}, true}, {{0x41}, true}, {{0x42}, true}, {{0x43}, true}, {{0x44}, true}, {{0x50}, true},
        {{0x51}, true}, {{0x53}, true}, {{0x30, 30, 45, 14, 15, 3}, false} /* clock */,
        {{0x25, 0xF4, 0x01, 0x00, 0x00}, false}, {{0x26, 0xFF}, false}, {{0x22, 0xE8, 0x03, 0xE8, 0x03}, false},
        {{0x23, 0x01}, false}, {{0x24, 0x0A, 0x00, 0x0A, 0x00}, false}, {{0x52}, false}, {{0x54}, false},
        {{0x55}, false}, {{0x62}, false}, {{0x65}, false}, {{0x31, 0x00, 60}, false}, {{0x20, 49, 1, 0}, false},
        {{0x13, 1, 2, 3, 4}, false}, {{0x14, 5, 6}, false}, {{0x34}, false}, {{0x32}, false},
    };
    for (const auto& c : cases) {
        const Bytes answer = AskPayload(c.Request);
        ASSERT_FALSE(answer.empty());
        EXPECT_EQ(answer[0], c.Refused ? 1 : 0) << "command " << int(c.Request[0]);
    }
    EXPECT_TRUE(Simulator->State().Measuring);
}

TEST_F(DosikaAnalogTest, RefuseWhileMeasuringFaultWaitsForAMeasurement) {
    sim::TDkFault fault;
    std::string error;
    ASSERT_TRUE(sim::ParseDkFault("refuse-while-measuring:cmd:0x25", fault, error)) << error;
    Serve(Sensor(6), {fault});
    const Bytes dac{0x25, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(AskPayload(dac), Bytes{0x00}); // not measuring: answered, the fault kept
    Simulator->SetMeasuring(true);
    EXPECT_EQ(AskPayload(dac), Bytes{0x01});
    EXPECT_EQ(AskPayload(dac), Bytes{0x00}); // its one hit used
}

} // namespace
} // namespace lumetra::test
