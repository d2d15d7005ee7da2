#pragma once
// Stored records of the simulated Halvo instruments and their wire form. Record
// answers are 16, 32 or 128 bytes by type and firmware; the first six bytes are
// minute, hour, day, month, year - 2000, interval. A type 1 record with minute 10,
// hour 11, 15 March 2017, interval 60, humidity code 128, temperature code 100,
// status 2 and 500 counts is 0A 0B 0F 03 11 3C 80 64 00 00 00 02 00 00 01 F4.
// Multi-byte fields are high byte first, except the 24-bit spectrum channels of
// types 4, 6 and 10, which are low byte first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::sim {

inline constexpr std::size_t kHalvoChannels = 38;

struct THalvoSimRecord {
    std::uint8_t Minute = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Day = 1;
    std::uint8_t Month = 1;
    int Year = 2017;               // four digits; sent as Year - 2000
    std::uint8_t Interval = 60;    // minutes
    std::uint16_t HumidityRaw = 0; // one byte on the wire
    std::uint16_t TemperatureRaw = 0;
    std::uint16_t PressureRaw = 0; // type 9: the CO2 code
    std::uint32_t Status = 0;      // sent in the width the format gives (1, 2 or 4 bytes)
    std::uint32_t Counts = 0;
    std::array<std::uint32_t, kHalvoChannels> Channels{}; // 24 bits each; Channels[0] is channel 1
    bool operator==(const THalvoSimRecord&) const = default;
};

// Payload length of a record answer; 0 for a type outside 1..10.
std::size_t HalvoRecordLength(std::uint8_t type, std::uint8_t softwareVersion);
bool HalvoIsSpectrumType(std::uint8_t type);

// The record's wire form for the type and firmware; empty for a type outside 1..10.
// Values wider than their field are cut to it.
std::vector<std::uint8_t> EncodeHalvoRecord(std::uint8_t type, std::uint8_t softwareVersion, const THalvoSimRecord& record);

// Time stamp plus minutes over the calendar (leap years included).
void AdvanceHalvoTime(THalvoSimRecord& record, unsigned minutes);

} // namespace lumetra::sim
