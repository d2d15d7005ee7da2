// The command set: status mapping, codings and payloads on byte vectors, and the
// command sequences over a line answered by hand.

#include "dosika/DosikaCommands.h"

#include "DkTestLine.h"
#include "core/Errors.h"
#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace lumetra::test {
namespace {

// The command codes of the requests, in order.
Bytes Codes(const TDkTestLine& line) {
    Bytes codes;
    for (const Bytes& request : line.Requests()) {
        codes.push_back(request.empty() ? 0 : request[0]);
    }
    return codes;
}

// A small instrument: fixed answers by command code; 0x01 status for the rest.
struct TInstrumentAnswers {
    std::map<Byte, Bytes> Payloads;
    TDkTestLine::TResponder Responder() const {
        return ByCommand([payloads = Payloads](Byte code, const Bytes&) -> Bytes {
            const auto it = payloads.find(code);
            return DkAnswer(it == payloads.end() ? Bytes{0x05} : it->second);
        });
    }
};

TInstrumentAnswers InitAnswers(Byte type, Byte software) {
    TInstrumentAnswers a;
    a.Payloads[0x40] = {0x00, type, software, 0x39, 0x30};
    a.Payloads[0x41] = {0x00, 0x11, 0, 9, 10, 19, 20, 255};
    a.Payloads[0x42] = {0x00, 30, 39, 40, 49, 4, 254};
    a.Payloads[0x43] = {0x00, 50, 60, 26, 31};
    a.Payloads[0x44] = {0x00, 70, 80};
    return a;
}

TEST(DkStatusResult, MapsStatusPerCommand) {
    EXPECT_EQ(DkStatusResult(0x40, 0), Result::Success);
    EXPECT_EQ(DkStatusResult(0x40, 1), Result::MeasurementState);
    EXPECT_EQ(DkStatusResult(0x40, 2), Result::UnexpectedResponse);
    EXPECT_EQ(DkStatusResult(0x40, 5), Result::UnexpectedResponse);
    EXPECT_EQ(DkStatusResult(0x33, 5), Result::PostExposureLock);
    EXPECT_EQ(DkStatusResult(0x33, 1), Result::MeasurementState);
    EXPECT_EQ(DkStatusResult(0x62, 2), Result::MeasurementState);
    EXPECT_EQ(DkStatusResult(0x64, 1), Result::MeasurementState);
    EXPECT_EQ(DkStatusResult(0x65, 1), Result::Success);
    EXPECT_EQ(DkStatusResult(0x65, 2), Result::MeasurementState);
    EXPECT_EQ(DkStatusResult(0x65, 3), Result::UnexpectedResponse);
}

TEST(DkRangeCoding, SmallValuesAsTheyAreLargeInThousands) {
    EXPECT_EQ(DkEncodeRange(40000), 0x8028);
    EXPECT_EQ(DkDecodeRange(0x8028), 40000);
    EXPECT_EQ(DkEncodeRange(32767), 0x7FFF);
    EXPECT_EQ(DkDecodeRange(0x7FFF), 32767);
    EXPECT_EQ(DkEncodeRange(50000), 0x8032);
    EXPECT_EQ(DkEncodeRange(32768), 0x8020); // 32 thousands
    EXPECT_EQ(DkEncodeRange(1000), 1000);
    // Beyond what 15 bits of thousands carry, and below 0: held at the ends.
    EXPECT_EQ(DkEncodeRange(40000000), 0xFFFF);
    EXPECT_EQ(DkDecodeRange(0xFFFF), 32767000);
    EXPECT_EQ(DkEncodeRange(-5), 0);
}

TEST(DkUserAlarmRequest, PayloadPerTypeAndSoftware) {
    TDkSetupValues setup;
    setup.UserID = 0x1234;
    setup.AlarmLevel = 1234; // 0x04D2; div 100 = 12
    setup.BreathingRate = 8100; // 0x1FA4
    setup.BetaDetectionRate = 7;
    EXPECT_EQ(DkUserAlarmRequest(2, 3, setup), (Bytes{0x21, 0x34, 0x12, 0xD2, 0x04}));
    EXPECT_EQ(DkUserAlarmRequest(1, 10, setup), (Bytes{0x21, 0x34, 0x12, 0xD2, 0x04}));
    EXPECT_EQ(DkUserAlarmRequest(3, 9, setup), (Bytes{0x21, 0x34, 0x12, 0x07, 0x0C}));
    EXPECT_EQ(DkUserAlarmRequest(3, 10, setup), (Bytes{0x21, 0x34, 0x12, 0xD2, 0x04, 0xA4, 0x1F}));
    setup.AlarmLevel = 60000; // div 100 = 600: its low byte 0x58
    EXPECT_EQ(DkUserAlarmRequest(3, 9, setup)[4], 0x58);
}

TEST(DkClimateCodes, ConvertAndMarkMissing) {
    EXPECT_NEAR(DkTemperatureFromCode(100), 100 * 0.493358634 - 25.80645161, 1e-12);
    EXPECT_NEAR(DkTemperatureFromCode(0), -25.80645161, 1e-12);
    EXPECT_NEAR(DkHumidityFromCode(85), 40.0, 1e-6); // 85 x 8/17
    EXPECT_EQ(DkTemperatureFromCode(255), 10000.0);
    EXPECT_EQ(DkHumidityFromCode(255), 10000.0);
}

TEST(DkReadInitValues, ChannelsCountedFromOneInByteArithmetic) {
    TDkTestLine line(InitAnswers(1, 5).Responder());
    TScriptedUserInterface ui;
    TDkInitValues values;
    ASSERT_EQ(DkReadInitValues(ui, line.Port(), values), Result::Success);
    EXPECT_EQ(values.DeviceType, 1);
    EXPECT_EQ(values.SoftwareVersion, 5);
    EXPECT_EQ(values.DeviceNumber, 12345);
    EXPECT_EQ(values.Offset, 0x11);
    EXPECT_EQ(values.ROILimits[1], (TROILimits{1, 10}));
    EXPECT_EQ(values.ROILimits[2], (TROILimits{11, 20}));
    EXPECT_EQ(values.ROILimits[3], (TROILimits{21, 0})); // 255 + 1 wraps to 0
    EXPECT_EQ(values.ROILimits[4], (TROILimits{31, 40}));
    EXPECT_EQ(values.ROILimits[5], (TROILimits{41, 50}));
    EXPECT_EQ(values.BetaLowerLimit, 5);
    EXPECT_EQ(values.BetaUpperLimit, 255);
    EXPECT_EQ(values.CAL1, 50);
    EXPECT_EQ(values.CAL4, 31);
    EXPECT_EQ(values.CAL5, 70);
    EXPECT_EQ(values.CAL6, 80);
    EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42, 0x43, 0x44}));
}

TEST(DkReadInitValues, NoSecondCalibrationBlockForMorvelAndSenraP) {
    for (const Byte type : {Byte{3}, Byte{6}}) {
        TDkTestLine line(InitAnswers(type, 10).Responder());
        TScriptedUserInterface ui;
        TDkInitValues values;
        values.CAL5 = 0xAA;
        values.CAL6 = 0xBB;
        ASSERT_EQ(DkReadInitValues(ui, line.Port(), values), Result::Success);
        EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42, 0x43})) << int{type};
        EXPECT_EQ(values.CAL5, 0xAA);
        EXPECT_EQ(values.CAL6, 0xBB);
    }
    for (const Byte type : {Byte{2}, Byte{4}, Byte{5}}) {
        TDkTestLine line(InitAnswers(type, 10).Responder());
        TScriptedUserInterface ui;
        TDkInitValues values;
        ASSERT_EQ(DkReadInitValues(ui, line.Port(), values), Result::Success);
        EXPECT_EQ(Codes(line).back(), 0x44) << int{type};
    }
}

TEST(DkReadInitValues, StopsAtTheFirstFailureKeepingWhatWasRead) {
    TInstrumentAnswers answers = InitAnswers(1, 5);
    answers.Payloads[0x42] = {0x01}; // refused while measuring
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TDkInitValues values;
    EXPECT_EQ(DkReadInitValues(ui, line.Port(), values), Result::MeasurementState);
    EXPECT_EQ(values.DeviceNumber, 12345);
    EXPECT_EQ(values.ROILimits[1], (TROILimits{1, 10}));
    EXPECT_EQ(values.CAL1, 0);
    EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42}));
}

TEST(DkReadInitValues, ShortAnswerIsUnexpected) {
    TInstrumentAnswers answers = InitAnswers(1, 5);
    answers.Payloads[0x43] = {0x00, 50, 60}; // two calibration bytes missing
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TDkInitValues values;
    EXPECT_EQ(DkReadInitValues(ui, line.Port(), values), Result::UnexpectedResponse);
}

TEST(DkReadIdentity, FamilyFromTheAnswerOnlyBeyondTypeSix) {
    TScriptedUserInterface ui;
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00, 6, 3, 0x01, 0x80, 9}); }));
        TDkIdentity identity;
        ASSERT_EQ(DkReadIdentity(ui, line.Port(), identity), Result::Success);
        EXPECT_EQ(identity, (TDkIdentity{0x8001, 6, 3, 1}));
    }
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00, 200, 2, 0x10, 0x00, 4}); }));
        TDkIdentity identity;
        ASSERT_EQ(DkReadIdentity(ui, line.Port(), identity), Result::Success);
        EXPECT_EQ(identity, (TDkIdentity{16, 200, 2, 4}));
    }
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00, 200, 2, 0x10, 0x00}); }));
        TDkIdentity identity;
        EXPECT_EQ(DkReadIdentity(ui, line.Port(), identity), Result::UnexpectedResponse);
    }
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x01}); }));
        TDkIdentity identity;
        EXPECT_EQ(DkReadIdentity(ui, line.Port(), identity), Result::MeasurementState);
    }
}

TEST(DkReadSetup, DefaultsForInstrumentsWithoutDetectionValues) {
    TInstrumentAnswers answers = InitAnswers(2, 7);
    answers.Payloads[0x51] = {0x00, 0x34, 0x12, 0x2C, 0x01};
    answers.Payloads[0x50] = {0x00, 49, 7, 3};
    answers.Payloads[0x53] = {0x00, 0x0B, 60};
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TDkSetupValues setup;
    setup.AlphaDetectionRate = 17;
    setup.BetaDetectionRate = 18;
    ASSERT_EQ(DkReadSetup(ui, line.Port(), setup), Result::Success);
    EXPECT_EQ(setup.UserID, 0x1234);
    EXPECT_EQ(setup.AlarmLevel, 300);
    EXPECT_EQ(setup.CountryCode, 49);
    EXPECT_EQ(setup.RegionCode, 7);
    EXPECT_EQ(setup.EntryCode, 3);
    EXPECT_EQ(setup.SetupByte, 0x0B);
    EXPECT_EQ(setup.SampleInterval, 60);
    EXPECT_EQ(setup.BreathingRate, 8100);
    EXPECT_FLOAT_EQ(setup.AlphaE50, 4.7e-5f);
    EXPECT_FLOAT_EQ(setup.BetaE50, 1.5e-7f);
    EXPECT_EQ(setup.AlphaDetectionRate, 17);
    EXPECT_EQ(setup.BetaDetectionRate, 18);
    EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42, 0x43, 0x44, 0x51, 0x50, 0x53}));
}

TEST(DkReadSetup, MorvelFromSoftwareTenReadsDetectionValues) {
    TInstrumentAnswers answers = InitAnswers(3, 10);
    answers.Payloads[0x51] = {0x00, 0x01, 0x00, 0x2C, 0x01, 0xA0, 0x0F}; // breathing 4000
    answers.Payloads[0x50] = {0x00, 1, 2, 3};
    answers.Payloads[0x53] = {0x00, 0x01, 10};
    answers.Payloads[0x71] = {0x00, 0x00, 0x00, 0x80, 0x3F, 9}; // 1.0f
    answers.Payloads[0x73] = {0x00, 0x00, 0x00, 0x20, 0x40, 11}; // 2.5f
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TDkSetupValues setup;
    ASSERT_EQ(DkReadSetup(ui, line.Port(), setup), Result::Success);
    EXPECT_EQ(setup.BreathingRate, 4000);
    EXPECT_EQ(setup.AlphaE50, 1.0f);
    EXPECT_EQ(setup.AlphaDetectionRate, 9);
    EXPECT_EQ(setup.BetaE50, 2.5f);
    EXPECT_EQ(setup.BetaDetectionRate, 11);
    EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42, 0x43, 0x51, 0x50, 0x53, 0x71, 0x73}));
}

TEST(DkReadSetup, FailureStillSetsTheDefaults) {
    TInstrumentAnswers answers = InitAnswers(3, 10);
    answers.Payloads[0x51] = {0x01};
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    TDkSetupValues setup;
    setup.BreathingRate = 1;
    EXPECT_EQ(DkReadSetup(ui, line.Port(), setup), Result::MeasurementState);
    EXPECT_EQ(setup.BreathingRate, 8100);
    EXPECT_FLOAT_EQ(setup.AlphaE50, 4.7e-5f);
}

TDkSetupValues SampleSetup() {
    TDkSetupValues setup;
    setup.UserID = 0x0102;
    setup.CountryCode = 49;
    setup.RegionCode = 8;
    setup.EntryCode = 2;
    setup.SetupByte = 0x05;
    setup.SampleInterval = 30;
    setup.AlarmLevel = 500; // 0x01F4
    setup.BreathingRate = 0x0203;
    setup.AlphaE50 = 1.0f;  // 00 00 80 3F
    setup.AlphaDetectionRate = 3;
    setup.BetaE50 = -2.0f; // 00 00 00 C0
    setup.BetaDetectionRate = 4;
    return setup;
}

TEST(DkWriteSetup, RequestsOfADosikaPro) {
    TInstrumentAnswers answers = InitAnswers(2, 7);
    answers.Payloads[0x31] = answers.Payloads[0x20] = answers.Payloads[0x21] = {0x00};
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    ASSERT_EQ(DkWriteSetup(ui, line.Port(), SampleSetup()), Result::Success);
    const auto requests = line.Requests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests[5], (Bytes{0x31, 0x05, 30}));
    EXPECT_EQ(requests[6], (Bytes{0x20, 49, 8, 2}));
    EXPECT_EQ(requests[7], (Bytes{0x21, 0x02, 0x01, 0xF4, 0x01}));
}

TEST(DkWriteSetup, RequestsOfAMorvelFromSoftwareTen) {
    TInstrumentAnswers answers = InitAnswers(3, 10);
    for (const Byte code : Bytes{0x31, 0x20, 0x21, 0x70, 0x72}) {
        answers.Payloads[code] = {0x00};
    }
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    ASSERT_EQ(DkWriteSetup(ui, line.Port(), SampleSetup()), Result::Success);
    const auto requests = line.Requests();
    ASSERT_EQ(requests.size(), 9u);
    EXPECT_EQ(requests[6], (Bytes{0x21, 0x02, 0x01, 0xF4, 0x01, 0x03, 0x02}));
    EXPECT_EQ(requests[7], (Bytes{0x70, 0x00, 0x00, 0x80, 0x3F, 3}));
    EXPECT_EQ(requests[8], (Bytes{0x72, 0x00, 0x00, 0x00, 0xC0, 4}));
}

TEST(DkWriteSetup, AnalogSensorsGetNoUserAndAlarm) {
    TInstrumentAnswers answers = InitAnswers(5, 10);
    answers.Payloads[0x31] = answers.Payloads[0x20] = {0x00};
    TDkTestLine line(answers.Responder());
    TScriptedUserInterface ui;
    ASSERT_EQ(DkWriteSetup(ui, line.Port(), SampleSetup()), Result::Success);
    EXPECT_EQ(Codes(line), (Bytes{0x40, 0x41, 0x42, 0x43, 0x44, 0x31, 0x20}));
}

TEST(DkWriteCalibration, SecondBlockOnlyForTypesFourAndFive) {
    TDkInitValues values;
    values.CAL1 = 1;
    values.CAL2 = 2;
    values.CAL3 = 3;
    values.CAL4 = 4;
    values.CAL5 = 5;
    values.CAL6 = 6;
    for (const Byte type : {Byte{1}, Byte{2}, Byte{3}, Byte{4}, Byte{5}, Byte{6}}) {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00}); }));
        TScriptedUserInterface ui;
        values.DeviceType = type;
        ASSERT_EQ(DkWriteCalibration(ui, line.Port(), values), Result::Success);
        const auto requests = line.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0], (Bytes{0x13, 1, 2, 3, 4}));
        if (type == 4 || type == 5) {
            ASSERT_EQ(requests.size(), 2u) << int{type};
            EXPECT_EQ(requests[1], (Bytes{0x14, 5, 6}));
        } else {
            EXPECT_EQ(requests.size(), 1u) << int{type};
        }
    }
}

TEST(DkControlCommands, StopSwitchOffClearAndStart) {
    TScriptedUserInterface ui;
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x05}); }));
        EXPECT_EQ(DkStopMeasurement(ui, line.Port()), Result::PostExposureLock);
        EXPECT_EQ(Codes(line), (Bytes{0x33}));
    }
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00}); }));
        EXPECT_EQ(DkSwitchOff(ui, line.Port()), Result::Success);
        EXPECT_EQ(DkClearAndStart(ui, line.Port()), Result::Success);
        EXPECT_EQ(Codes(line), (Bytes{0x35, 0x34, 0x32}));
    }
    {
        // Clearing refused: nothing is started.
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x01}); }));
        EXPECT_EQ(DkClearAndStart(ui, line.Port()), Result::MeasurementState);
        EXPECT_EQ(Codes(line), (Bytes{0x34}));
    }
}

TEST(DkSetClock, SendsTheTimeWithoutYear) {
    const TDeviceTime now = MakeDeviceTime(2024, 3, 15, 10, 20, 30);
    TScriptedUserInterface ui;
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00}); }));
        std::string text;
        ASSERT_EQ(DkSetClock(ui, line.Port(), now, text), Result::Success);
        EXPECT_EQ(line.Requests().at(0), (Bytes{0x30, 30, 20, 10, 15, 3}));
        EXPECT_EQ(text, DateText(now) + " " + TimeText(now));
    }
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x01}); }));
        std::string text = "old";
        EXPECT_EQ(DkSetClock(ui, line.Port(), now, text), Result::MeasurementState);
        EXPECT_TRUE(text.empty());
    }
}

TEST(DkAnalogSetup, WriteAndReadWithTheRangeCoding) {
    TScriptedUserInterface ui;
    {
        TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00}); }));
        TAnalogSensorSetup setup{40000, 1000, 32767, 50000, 0xFF};
        ASSERT_EQ(DkWriteAnalogSetup(ui, line.Port(), setup), Result::Success);
        const auto requests = line.Requests();
        ASSERT_EQ(requests.size(), 3u);
        EXPECT_EQ(requests[0], (Bytes{0x23, 0xBF})); // bit 6 always written as 0
        EXPECT_EQ(requests[1], (Bytes{0x22, 0x28, 0x80, 0xE8, 0x03}));
        EXPECT_EQ(requests[2], (Bytes{0x24, 0xFF, 0x7F, 0x32, 0x80}));
    }
    {
        TDkTestLine line(ByCommand([](Byte code, const Bytes&) {
            switch (code) {
            case 0x54: return DkAnswer({0x00, 0x81});
            case 0x52: return DkAnswer({0x00, 0x28, 0x80, 0xE8, 0x03});
            case 0x55: return DkAnswer({0x00, 0x0A, 0x00, 0x32, 0x80});
            default: return DkAnswer({0x05});
            }
        }));
        TAnalogSensorSetup setup;
        ASSERT_EQ(DkReadAnalogSetup(ui, line.Port(), setup), Result::Success);
        EXPECT_EQ(setup, (TAnalogSensorSetup{40000, 1000, 10, 50000, 0x81}));
        EXPECT_EQ(Codes(line), (Bytes{0x54, 0x52, 0x55}));
    }
}

TEST(DkReadActualValues, DecodesTheFourReadings) {
    TScriptedUserInterface ui;
    TDkTestLine line(ByCommand([](Byte code, const Bytes&) {
        switch (code) {
        case 0x62: return DkAnswer({0x00, 0x78, 0x00, 0x00, 0x00, 8}); // 120 Bq/m³ ±8 %
        case 0x63: return DkAnswer({0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0}); // -1: no value
        case 0x64: return DkAnswer({0x00, 100, 255});
        case 0x65: return DkAnswer({0x01, 0xFE, 0x03, 0xFF, 0x03}); // status 1 accepted
        default: return DkAnswer({0x05});
        }
    }));
    TAnalogSensorValues values;
    ASSERT_EQ(DkReadActualValues(ui, line.Port(), values), Result::Success);
    EXPECT_EQ(values.RadonValue, 120);
    EXPECT_EQ(values.RadonError, 8);
    EXPECT_EQ(values.ThoronValue, -1);
    EXPECT_NEAR(values.TemperatureValue, 23.52941179, 1e-6);
    EXPECT_EQ(values.HumidityValue, 10000.0);
    EXPECT_EQ(values.AOut1Value, 1022);
    EXPECT_EQ(values.AOut2Value, 1023);
    EXPECT_EQ(Codes(line), (Bytes{0x62, 0x63, 0x64, 0x65}));
}

TEST(DkReadActualValues, StatusTwoIsARefusal) {
    TScriptedUserInterface ui;
    TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x02}); }));
    TAnalogSensorValues values;
    EXPECT_EQ(DkReadActualValues(ui, line.Port(), values), Result::MeasurementState);
    EXPECT_EQ(values.RadonValue, -1);
}

TEST(DkOutputs, DacAndSwitchRequests) {
    TScriptedUserInterface ui;
    TDkTestLine line(ByCommand([](Byte, const Bytes&) { return DkAnswer({0x00}); }));
    ASSERT_EQ(DkSetAnalogOutputs(ui, line.Port(), 500, 0x1234), Result::Success);
    ASSERT_EQ(DkSetSwitchOutput(ui, line.Port(), true), Result::Success);
    ASSERT_EQ(DkSetSwitchOutput(ui, line.Port(), false), Result::Success);
    const auto requests = line.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], (Bytes{0x25, 0xF4, 0x01, 0x34, 0x12}));
    EXPECT_EQ(requests[1], (Bytes{0x26, 0xFF}));
    EXPECT_EQ(requests[2], (Bytes{0x26, 0x00}));
}

TEST(DkCommands, TransportFailuresPassThrough) {
    TScriptedUserInterface ui;
    TComPort closed;
    TDkInitValues values;
    EXPECT_EQ(DkReadInitValues(ui, closed, values), Result::PortNotOpen);
    TDkTestLine line([](const Bytes&) -> TReply { return {}; });
    EXPECT_EQ(DkSwitchOff(ui, line.Port(100)), Result::NoAnswer);
}

} // namespace
} // namespace lumetra::test
