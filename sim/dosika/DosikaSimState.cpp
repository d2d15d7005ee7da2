#include "dosika/DosikaSimState.h"

namespace lumetra::sim {

namespace {

// Channels (from 0) of the Rn-222, Po-218, Po-216, Po-214 and Po-212 peaks: 180 keV
// per channel on the 50-channel Dosika, 150 keV on the others.
constexpr std::array<TDkSimRoi, 5> kRoi50{{{28, 31}, {32, 34}, {35, 38}, {40, 43}, {46, 49}}};
constexpr std::array<TDkSimRoi, 5> kRoi60{{{33, 37}, {38, 41}, {42, 46}, {48, 52}, {55, 59}}};

} // namespace

bool DkSimKnownType(std::uint8_t type) { return type >= 1 && type <= 6; }

std::size_t DkSimSpectrumChannels(std::uint8_t type) { return type == 1 ? 50 : 60; }

std::size_t DkSimSpectrumBytesPerChannel(std::uint8_t type) { return type == 1 ? 3 : 4; }

std::size_t DkSimRecordSize(std::uint8_t type, std::uint8_t softwareVersion) {
    switch (type) {
    case 1:
        return softwareVersion == 10 ? 32 : 11;
    case 2:
        return softwareVersion == 10 ? 32 : 21;
    case 3:
        return 25;
    case 4:
    case 6:
        return 21;
    case 5:
        return softwareVersion == 10 ? 32 : 23;
    default:
        return 0;
    }
}

std::size_t DkSimRecordCapacity(std::uint8_t type, std::uint8_t softwareVersion) {
    const std::size_t size = DkSimRecordSize(type, softwareVersion);
    return size == 0 ? 0 : (kDkMaxBlockLength - 6) / size;
}

bool DkSimHasCalibration2(std::uint8_t type) { return type == 1 || type == 2 || type == 4 || type == 5; }

bool DkSimHasUserAndAlarm(std::uint8_t type) { return type >= 1 && type <= 4; }

bool DkSimIsAnalogSensor(std::uint8_t type) { return type == 5 || type == 6; }

bool DkSimHasDetection(const TDkSimState& state) { return state.DeviceType == 3 && state.SoftwareVersion >= 10; }

bool DkSimRefusedWhileMeasuring(std::uint8_t command) {
    switch (command) {
    case 0x40: // identity
    case 0x41: // regions of interest
    case 0x42:
    case 0x43: // calibration
    case 0x44:
    case 0x50: // setup
    case 0x51:
    case 0x53:
    case 0x71: // detection values of the Morvel's setup
    case 0x73:
    case 0x60: // spectrum and records
    case 0x61:
        return true;
    default:
        return false;
    }
}

std::uint16_t DkSimRangeWord(std::int32_t value) {
    if (value >= 0 && value < 32768) {
        return static_cast<std::uint16_t>(value);
    }
    const auto thousands = static_cast<std::uint32_t>(value < 0 ? 0 : value / 1000);
    return static_cast<std::uint16_t>((thousands & 0x7FFFu) | 0x8000u);
}

std::int32_t DkSimRangeValue(std::uint16_t word) {
    const std::int32_t low = word & 0x7FFF;
    return (word & 0x8000u) != 0 ? low * 1000 : low;
}

TDkSimState DkSimDefaultState(std::uint8_t type, std::uint8_t softwareVersion) {
    TDkSimState s;
    s.DeviceType = type;
    s.SoftwareVersion = softwareVersion;
    s.Roi = type == 1 ? kRoi50 : kRoi60;
    switch (type) {
    case 1: // CAL1, CAL2: fast and slow sensitivity scale; CAL3, CAL4: g x F for 7.8 and 0.4
        s.Cal = {50, 40, 26, 21, 0, 0};
        break;
    case 2: // CAL2: g(pot) x 10
        s.Cal = {12, 14, 0, 0, 0, 0};
        break;
    case 3:
        s.Cal = {20, 18, 30, 40, 0, 0};
        s.BetaDetectionRate = 35;
        s.AlphaDetectionRate = 28;
        s.BreathingRate = softwareVersion >= 10 ? 9600 : 8100;
        if (softwareVersion < 10) {
            s.AlarmLevel = 1000; // kept in hundreds by the old firmware
        }
        break;
    case 4:
    case 5: // fast and slow sensitivity x 10, Po-214 and Po-216 spill-over %, thoron x 10
        s.Cal = {28, 55, 12, 8, 35, 0};
        break;
    default:
        s.Cal = {30, 0, 0, 0, 0, 0};
        break;
    }
    if (type == 6) {
        s.Values.RadonValue = 120; // EEC
        s.Values.ThoronValue = 3;
        s.Values.ThoronError = 40;
    }
    return s;
}

} // namespace lumetra::sim
