#pragma once
// What a simulated Dosika-family instrument holds: identity, regions of interest,
// calibration, setup, the analog-sensor block, clock, sum spectrum and stored records,
// and its run state. Values are kept as the instrument sends them: channel limits
// counted from 0, analog ranges and alarm levels as their 16-bit wire words.
//
// Types: 1 Dosika, 2 Dosika PRO, 3 Morvel, 4 KVX5210, 5 Senra-R, 6 Senra-P.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra::sim {

inline constexpr std::size_t kDkChannels = 60;        // 50 of them in use on a type 1
inline constexpr std::size_t kDkMaxBlockLength = 65535; // the record block's length field

struct TDkSimTime {
    std::uint8_t Second = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Hour = 10;
    std::uint8_t Day = 5;
    std::uint8_t Month = 1;
    bool operator==(const TDkSimTime&) const = default;
};

struct TDkSimRoi {
    std::uint8_t Lower = 0; // counted from 0, as sent
    std::uint8_t Upper = 0;
    bool operator==(const TDkSimRoi&) const = default;
};

// One stored record. Counters are cut to the width of the type's format (16 bits on a
// type 1); ExtraCounter is sent by the Morvel only, the two codes by the Senra-R only.
struct TDkSimRecord {
    std::uint8_t Status = 60; // the instrument's first record byte
    std::array<std::uint32_t, 5> Counters{};
    std::uint32_t ExtraCounter = 0;
    std::uint8_t TemperatureCode = 0;
    std::uint8_t HumidityCode = 0;
    bool operator==(const TDkSimRecord&) const = default;
};

// The current readings of an analog sensor, answered by 0x62 (radon), 0x63 (thoron),
// 0x64 (climate codes) and 0x65 (the two analog outputs).
struct TDkSimValues {
    std::int32_t RadonValue = 250; // Bq/m³ (EEC on a Senra-P); -1 = no value
    std::uint8_t RadonError = 9;   // %
    std::int32_t ThoronValue = -1; // Bq/m³ (Po-218 on a Senra-P); -1 = no value
    std::uint8_t ThoronError = 0;
    std::uint8_t TemperatureCode = 95; // 21.1 °C; 255 = no value
    std::uint8_t HumidityCode = 96;    // 45 % rH; 255 = no value
    std::uint16_t AOut1Value = 500;    // mV; 1023 and above = not valid
    std::uint16_t AOut2Value = 0;
    std::uint8_t Status = 0; // status byte of the four reads
    bool operator==(const TDkSimValues&) const = default;
};

struct TDkSimState {
    std::uint8_t DeviceType = 1;
    std::uint8_t SoftwareVersion = 5;
    std::uint16_t SerialNumber = 4321;
    std::uint8_t Family = 1; // sixth byte of the identity answer

    std::uint8_t Offset = 3;
    std::array<TDkSimRoi, 5> Roi{};
    std::uint8_t BetaLower = 2; // counted from 0
    std::uint8_t BetaUpper = 20;
    std::array<std::uint8_t, 6> Cal{50, 40, 26, 21, 0, 0}; // CAL1..CAL6

    std::uint16_t UserID = 0;
    std::uint8_t CountryCode = 49;
    std::uint8_t RegionCode = 1;
    std::uint8_t EntryCode = 0;
    std::uint8_t SetupByte = 0;
    std::uint8_t SampleInterval = 60;
    std::uint16_t AlarmLevel = 1000; // a Morvel below software 10 keeps it in hundreds
    std::uint16_t BreathingRate = 8100;
    float AlphaE50 = 4.7e-5f; // Morvel from software 10
    std::uint8_t AlphaDetectionRate = 0;
    float BetaE50 = 1.5e-7f;
    std::uint8_t BetaDetectionRate = 0;

    // Senra-R and Senra-P: the output setup (0x22-0x24, read by 0x52, 0x54, 0x55), the
    // last values of the DAC test (0x25) and the switch output (0x26).
    std::uint16_t AOut1RangeWord = 1000;
    std::uint16_t AOut2RangeWord = 1000;
    std::uint16_t AOut1AlarmWord = 10;
    std::uint16_t AOut2AlarmWord = 10;
    std::uint8_t DOutMode = 0;
    std::uint16_t Dac1 = 0; // mV, as last set
    std::uint16_t Dac2 = 0;
    bool SwitchOn = false;
    TDkSimValues Values;

    TDkSimTime Clock;     // as last set; it does not run
    TDkSimTime StartTime; // sent in the record block header (minute, hour, day, month)
    std::array<std::uint32_t, kDkChannels> Spectrum{}; // Spectrum[0] is channel 1
    std::vector<TDkSimRecord> Records;

    // Measuring: the reads of identity, calibration, setup and stored data are refused
    // with status 1 (DkSimRefusedWhileMeasuring); everything else is answered.
    bool Measuring = false;
    bool PostExposure = false; // measuring, and stop answered with status 5
    bool SwitchedOff = false;  // after command 0x35 nothing is answered

    bool Echo = false;     // every request is sent back before its answer
    int AnswerDelayMs = 0; // between a complete request and its answer
};

// Defaults for a type and firmware: regions of interest and calibration that fit the
// type's spectrum, breathing rate and detection values of a Morvel.
TDkSimState DkSimDefaultState(std::uint8_t type, std::uint8_t softwareVersion);

bool DkSimKnownType(std::uint8_t type);
// 50 channels of 3 bytes on a type 1, 60 of 4 bytes otherwise.
std::size_t DkSimSpectrumChannels(std::uint8_t type);
std::size_t DkSimSpectrumBytesPerChannel(std::uint8_t type);
// Bytes per stored record (11, 21, 23, 25 or 32); 0 for an unknown type.
std::size_t DkSimRecordSize(std::uint8_t type, std::uint8_t softwareVersion);
// Records that fit one block of at most 65535 bytes.
std::size_t DkSimRecordCapacity(std::uint8_t type, std::uint8_t softwareVersion);

// Which commands a type knows beyond the common ones.
bool DkSimHasCalibration2(std::uint8_t type);         // 0x14, 0x44
bool DkSimHasUserAndAlarm(std::uint8_t type);         // 0x21
bool DkSimIsAnalogSensor(std::uint8_t type);          // 0x22-0x26, 0x52, 0x54, 0x55, 0x62-0x65
bool DkSimHasDetection(const TDkSimState& state);     // 0x70-0x73: Morvel from software 10

// The commands a measuring instrument refuses with status 1: the reads of its identity,
// calibration, setup and stored data, which a download and the opening of the control
// window start with. Anything else a measuring instrument answers (stop, clock, DAC,
// switch, the analog setup and values, ...); a test that wants one of them refused
// scripts the fault refuse-while-measuring.
bool DkSimRefusedWhileMeasuring(std::uint8_t command);

// 16-bit coding of ranges and alarm levels: below 32768 as is, otherwise thousands
// with bit 15 set (40000 <-> 0x8028).
std::uint16_t DkSimRangeWord(std::int32_t value);
std::int32_t DkSimRangeValue(std::uint16_t word);

} // namespace lumetra::sim
