// The command table of the simulated Dosika-family instrument.

#include "dosika/DosikaSimEncode.h"
#include "dosika/DosikaSimulator.h"

#include <algorithm>
#include <bit>

namespace lumetra::sim {

namespace {

void Put16(std::vector<std::uint8_t>& d, std::uint32_t value) {
    d.push_back(static_cast<std::uint8_t>(value));
    d.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& d, std::uint32_t value) {
    Put16(d, value & 0xFFFFu);
    Put16(d, value >> 16);
}

std::uint16_t Get16(const std::vector<std::uint8_t>& p, std::size_t at) {
    return static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
}

float GetSingle(const std::vector<std::uint8_t>& p, std::size_t at) {
    const std::uint32_t bits = static_cast<std::uint32_t>(Get16(p, at)) | (static_cast<std::uint32_t>(Get16(p, at + 2)) << 16);
    return std::bit_cast<float>(bits);
}

// Payload length (command byte included) the instrument accepts for a command; 0 for
// a command it does not know or its type does not have.
std::size_t RequestLength(const TDkSimState& s, std::uint8_t command) {
    const std::uint8_t type = s.DeviceType;
    switch (command) {
    case 0x13:
        return 5;
    case 0x14:
        return DkSimHasCalibration2(type) ? 3 : 0;
    case 0x20:
        return 4;
    case 0x21:
        if (!DkSimHasUserAndAlarm(type)) {
            return 0;
        }
        return DkSimHasDetection(s) ? 7 : 5;
    case 0x22:
    case 0x24:
    case 0x25:
        return DkSimIsAnalogSensor(type) ? 5 : 0;
    case 0x23:
    case 0x26:
        return DkSimIsAnalogSensor(type) ? 2 : 0;
    case 0x30:
        return 6;
    case 0x31:
        return 3;
    case 0x32:
    case 0x33:
    case 0x34:
    case 0x35:
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
    case 0x50:
    case 0x51:
    case 0x53:
    case 0x60:
    case 0x61:
        return 1;
    case 0x44:
        return DkSimHasCalibration2(type) ? 1 : 0;
    case 0x52:
    case 0x54:
    case 0x55:
    case 0x62:
    case 0x63:
    case 0x64:
    case 0x65:
        return DkSimIsAnalogSensor(type) ? 1 : 0;
    case 0x70:
    case 0x72:
        return DkSimHasDetection(s) ? 6 : 0;
    case 0x71:
    case 0x73:
        return DkSimHasDetection(s) ? 1 : 0;
    default:
        return 0;
    }
}

bool ValidClock(const std::vector<std::uint8_t>& p) {
    return p[1] < 60 && p[2] < 60 && p[3] < 24 && p[4] >= 1 && p[4] <= 31 && p[5] >= 1 && p[5] <= 12;
}

} // namespace

std::vector<TDosikaSimulator::TOutFrame> TDosikaSimulator::Execute(const std::vector<std::uint8_t>& request,
                                                                    const TDamage& damage) {
    const std::uint8_t command = request[0];
    if (command != 0x60 && command != 0x61) {
        return {{true, Status(request)}};
    }
    std::vector<TOutFrame> frames;
    const std::vector<std::uint8_t> status = Status(request);
    frames.push_back({true, status});
    if (status[0] == kDkStatusOk) {
        const std::vector<std::uint8_t> data =
            command == 0x60 ? EncodeDkSpectrum(Instrument, damage.SpectrumSize)
                            : EncodeDkRecordBlock(Instrument, {damage.OddBlock, damage.BlockLength});
        for (std::size_t at = 0; at < data.size(); at += kMaxFramePayload) {
            const auto first = data.begin() + static_cast<std::ptrdiff_t>(at);
            const auto last = data.begin() + static_cast<std::ptrdiff_t>(std::min(data.size(), at + kMaxFramePayload));
            frames.push_back({false, std::vector<std::uint8_t>(first, last)});
        }
    }
    frames.push_back({true, {kDkStatusEnd}});
    return frames;
}

std::vector<std::uint8_t> TDosikaSimulator::Status(const std::vector<std::uint8_t>& p) {
    TDkSimState& s = Instrument;
    const std::uint8_t command = p[0];
    if (!DkSimKnownType(s.DeviceType) || p.size() != RequestLength(s, command)) {
        return {kDkStatusUnknown};
    }
    if ((s.Measuring || s.PostExposure) && DkSimRefusedWhileMeasuring(command)) {
        return {kDkStatusRefused};
    }
    std::vector<std::uint8_t> d{kDkStatusOk};
    switch (command) {
    case 0x13:
        std::copy(p.begin() + 1, p.begin() + 5, s.Cal.begin());
        break;
    case 0x14:
        s.Cal[4] = p[1];
        s.Cal[5] = p[2];
        break;
    case 0x20:
        s.CountryCode = p[1];
        s.RegionCode = p[2];
        s.EntryCode = p[3];
        break;
    case 0x21:
        s.UserID = Get16(p, 1);
        if (s.DeviceType == 3 && s.SoftwareVersion < 10) {
            // The old Morvel keeps the alarm level in hundreds.
            s.BetaDetectionRate = p[3];
            s.AlarmLevel = static_cast<std::uint16_t>(p[4] * 100);
        } else {
            s.AlarmLevel = Get16(p, 3);
            if (p.size() == 7) {
                s.BreathingRate = Get16(p, 5);
            }
        }
        break;
    case 0x22:
        s.AOut1RangeWord = Get16(p, 1);
        s.AOut2RangeWord = Get16(p, 3);
        break;
    case 0x23:
        s.DOutMode = p[1];
        break;
    case 0x24:
        s.AOut1AlarmWord = Get16(p, 1);
        s.AOut2AlarmWord = Get16(p, 3);
        break;
    case 0x25:
        // The outputs now carry the test values, so reading them back shows those.
        s.Dac1 = Get16(p, 1);
        s.Dac2 = Get16(p, 3);
        s.Values.AOut1Value = s.Dac1;
        s.Values.AOut2Value = s.Dac2;
        break;
    case 0x26:
        if (p[1] != 0x00 && p[1] != 0xFF) {
            return {kDkStatusUnknown};
        }
        s.SwitchOn = p[1] == 0xFF;
        break;
    case 0x30:
        if (!ValidClock(p)) {
            return {kDkStatusUnknown};
        }
        s.Clock = {p[1], p[2], p[3], p[4], p[5]};
        break;
    case 0x31:
        s.SetupByte = p[1];
        s.SampleInterval = p[2];
        break;
    case 0x32:
        s.Measuring = true;
        s.StartTime = s.Clock;
        s.StartTime.Second = 0;
        break;
    case 0x33:
        if (s.PostExposure) {
            return {kDkStatusPostExposure};
        }
        s.Measuring = false;
        break;
    case 0x34:
        s.Records.clear();
        s.Spectrum.fill(0);
        break;
    case 0x35:
        s.SwitchedOff = true;
        break;
    case 0x40:
        d.insert(d.end(), {s.DeviceType, s.SoftwareVersion});
        Put16(d, s.SerialNumber);
        d.push_back(s.Family);
        break;
    case 0x41:
        d.push_back(s.Offset);
        for (std::size_t k = 0; k < 3; ++k) {
            d.insert(d.end(), {s.Roi[k].Lower, s.Roi[k].Upper});
        }
        break;
    case 0x42:
        for (std::size_t k = 3; k < 5; ++k) {
            d.insert(d.end(), {s.Roi[k].Lower, s.Roi[k].Upper});
        }
        d.insert(d.end(), {s.BetaLower, s.BetaUpper});
        break;
    case 0x43:
        d.insert(d.end(), s.Cal.begin(), s.Cal.begin() + 4);
        break;
    case 0x44:
        d.insert(d.end(), {s.Cal[4], s.Cal[5]});
        break;
    case 0x50:
        d.insert(d.end(), {s.CountryCode, s.RegionCode, s.EntryCode});
        break;
    case 0x51:
        Put16(d, s.UserID);
        Put16(d, s.AlarmLevel);
        Put16(d, s.BreathingRate);
        break;
    case 0x52:
        Put16(d, s.AOut1RangeWord);
        Put16(d, s.AOut2RangeWord);
        break;
    case 0x53:
        d.insert(d.end(), {s.SetupByte, s.SampleInterval});
        break;
    case 0x54:
        d.push_back(s.DOutMode);
        break;
    case 0x55:
        Put16(d, s.AOut1AlarmWord);
        Put16(d, s.AOut2AlarmWord);
        break;
    case 0x60:
    case 0x61:
        break; // the data frames follow the status
    case 0x62:
    case 0x63: {
        if (command == 0x62 && ValueSource) {
            // A reading starts with the radon value: the source gives the next one.
            s.Values = ValueSource(s);
        }
        const TDkSimValues& v = s.Values;
        d[0] = v.Status;
        Put32(d, static_cast<std::uint32_t>(command == 0x62 ? v.RadonValue : v.ThoronValue));
        d.push_back(command == 0x62 ? v.RadonError : v.ThoronError);
        break;
    }
    case 0x64:
        d[0] = s.Values.Status;
        d.insert(d.end(), {s.Values.TemperatureCode, s.Values.HumidityCode});
        break;
    case 0x65:
        d[0] = s.Values.Status;
        Put16(d, s.Values.AOut1Value);
        Put16(d, s.Values.AOut2Value);
        break;
    case 0x70:
        s.AlphaE50 = GetSingle(p, 1);
        s.AlphaDetectionRate = p[5];
        break;
    case 0x72:
        s.BetaE50 = GetSingle(p, 1);
        s.BetaDetectionRate = p[5];
        break;
    case 0x71:
    case 0x73:
        Put32(d, std::bit_cast<std::uint32_t>(command == 0x71 ? s.AlphaE50 : s.BetaE50));
        d.push_back(command == 0x71 ? s.AlphaDetectionRate : s.BetaDetectionRate);
        break;
    default:
        return {kDkStatusUnknown};
    }
    return d;
}

} // namespace lumetra::sim
