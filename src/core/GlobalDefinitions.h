#pragma once
// The two data sets: the raw instrument data set as downloaded or read from a file,
// and the measurement data set evaluated from it. The byte layouts of the header,
// setup, record and spectrum blocks are those of the native data file.

#include "core/BasicTypes.h"
#include "core/TimeConversions.h"
#include "core/PhysicalUnits.h"

#include <cstddef>
#include <string>

namespace lumetra {

constexpr std::size_t MaxRecords = 16416;
constexpr std::size_t CommentCapacity = 255; // characters of the file's code page
constexpr std::size_t IntervalChannels = 38;
constexpr std::size_t DosikaSpectrumChannels = 60;

constexpr Byte FamilyDosika = 1;
constexpr Byte FamilyHalvo = 2;
constexpr Byte FamilyModem = 3;
constexpr Byte FamilyZigBee = 4;
constexpr Byte FamilyPemko = 5;

struct TROILimits {
    Byte LowerLimit = 0;
    Byte UpperLimit = 0;
    bool operator==(const TROILimits&) const = default;
};
using TROILimitArray = Array1<TROILimits, 5>;

struct TDosikaSpectrum {
    Integer Size = 0;
    Array1<Integer, DosikaSpectrumChannels> Channels{};
    bool operator==(const TDosikaSpectrum&) const = default;
};

struct TInstrumentHeader {
    Byte DeviceFamily = 0;
    Integer DeviceNumber = 0;
    Byte DeviceType = 0;
    Byte SoftwareVersion = 0;
    Byte Offset = 0;
    Byte BetaLowerLimit = 0;
    Byte BetaUpperLimit = 0;
    Array1<Byte, 5> ROILevel{};
    TROILimitArray ROILimits{};
    Array1<Word, 6> UniCon{};
    bool operator==(const TInstrumentHeader&) const = default;
};

struct TInstrumentSetup {
    Word UserID = 0;
    Byte CountryCode = 0;
    Byte RegionCode = 0;
    Byte EntryCode = 0;
    Word SetupWord = 0;
    Byte SampleInterval = 0;
    Integer AlarmLevel = 0;
    bool operator==(const TInstrumentSetup&) const = default;
};

struct TInstrumentRecord {
    Byte SampleInterval = 0;
    TDeviceTime Time{};
    Integer TemperatureRaw = 0;
    Integer HumidityRaw = 0;
    Integer PressureRaw = 0; // Halvo type 9: the raw CO2 code
    Integer Counts = 0;
    Integer Status = 0;
    Array1<Integer, IntervalChannels> Channels{};
    Integer ExtraCounts = 0;
    Array1<Integer, 5> ROICounts{};
    bool operator==(const TInstrumentRecord&) const = default;
};

// The layouts are binding: the native file stores these blocks as their byte images.
static_assert(sizeof(TROILimits) == 2);
static_assert(sizeof(TROILimitArray) == 10);
static_assert(sizeof(TDosikaSpectrum) == 244);
static_assert(offsetof(TDosikaSpectrum, Channels) == 4);

static_assert(sizeof(TInstrumentHeader) == 40);
static_assert(offsetof(TInstrumentHeader, DeviceFamily) == 0);
static_assert(offsetof(TInstrumentHeader, DeviceNumber) == 4);
static_assert(offsetof(TInstrumentHeader, DeviceType) == 8);
static_assert(offsetof(TInstrumentHeader, SoftwareVersion) == 9);
static_assert(offsetof(TInstrumentHeader, Offset) == 10);
static_assert(offsetof(TInstrumentHeader, BetaLowerLimit) == 11);
static_assert(offsetof(TInstrumentHeader, BetaUpperLimit) == 12);
static_assert(offsetof(TInstrumentHeader, ROILevel) == 13);
static_assert(offsetof(TInstrumentHeader, ROILimits) == 18);
static_assert(offsetof(TInstrumentHeader, UniCon) == 28);

static_assert(sizeof(TInstrumentSetup) == 16);
static_assert(offsetof(TInstrumentSetup, UserID) == 0);
static_assert(offsetof(TInstrumentSetup, CountryCode) == 2);
static_assert(offsetof(TInstrumentSetup, RegionCode) == 3);
static_assert(offsetof(TInstrumentSetup, EntryCode) == 4);
static_assert(offsetof(TInstrumentSetup, SetupWord) == 6);
static_assert(offsetof(TInstrumentSetup, SampleInterval) == 8);
static_assert(offsetof(TInstrumentSetup, AlarmLevel) == 12);

static_assert(sizeof(TInstrumentRecord) == 212);
static_assert(offsetof(TInstrumentRecord, SampleInterval) == 0);
static_assert(offsetof(TInstrumentRecord, Time) == 2);
static_assert(offsetof(TInstrumentRecord, TemperatureRaw) == 16);
static_assert(offsetof(TInstrumentRecord, HumidityRaw) == 20);
static_assert(offsetof(TInstrumentRecord, PressureRaw) == 24);
static_assert(offsetof(TInstrumentRecord, Counts) == 28);
static_assert(offsetof(TInstrumentRecord, Status) == 32);
static_assert(offsetof(TInstrumentRecord, Channels) == 36);
static_assert(offsetof(TInstrumentRecord, ExtraCounts) == 188);
static_assert(offsetof(TInstrumentRecord, ROICounts) == 192);

struct TInstrumentData {
    bool Valid = false;
    Word NumberOfRecords = 0;
    std::string Comment; // UTF-8; at most 255 characters of the file's code page
    TInstrumentHeader Header{};
    TInstrumentSetup Setup{};
    RecordArray<TInstrumentRecord, MaxRecords> Records; // Records[1] is the oldest
    TDosikaSpectrum Spectrum{};
};

using TCountSums = Array1<Int64, 6>;

struct TSensorValidityMatrix {
    bool RadonValid = false;
    bool RadonFastValid = false;
    bool ThoronValid = false;
    bool RadonEECValid = false;
    bool RadonPAECValid = false;
    bool ThoronPAECValid = false;
    bool SpectrumValid = false;
    bool IntervalSpectrumValid = false;
    bool MovementValid = false;
    bool TempValid = false;
    bool rHValid = false;
    bool PresValid = false;
    bool CO2Valid = false;
    Byte NumberOfValidROI = 0;
    bool operator==(const TSensorValidityMatrix&) const = default;
};

// -1 in a climate value, a concentration or an error means "no value"; an error of -1
// beside a value marks a detection limit.
struct TMeasurementRecord {
    TDeviceTime Time{};
    Real SampleTime = 0;
    TCountSums CountSums{};
    Integer NumberOfTilts = 0;
    bool Movement = false;
    bool SeriesStart = false;
    Real Humidity = -1;
    Real Temperature = -1;
    Real Pressure = -1;
    Real CO2 = -1;
    Real Radon = -1;
    Real RadonError = -1;
    Real RadonFast = -1;
    Real RadonFastError = -1;
    Real Thoron = -1;
    Real ThoronError = -1;
    Real RadonEEC = -1;
    Real RadonPAEC = -1;
    Real RadonPAECError = -1;
    Real ThoronPAEC = -1;
    Real ThoronPAECError = -1;
    bool operator==(const TMeasurementRecord&) const = default;
};

struct TMeasurementData {
    bool Valid = false;
    Word NumberOfRecords = 0;
    TPhysicalUnits RelatedUnitSettings{};
    TSensorValidityMatrix SensorValidityMatrix{};
    RecordArray<TMeasurementRecord, MaxRecords> Data; // Data[i] belongs to Records[i]
};

// Stores a comment as the file can keep it: cut to 255 characters of its code page.
void SetComment(TInstrumentData& data, const std::string& utf8Text);

// Empties a data set in place (it is too large to be replaced by a fresh value on the
// stack): not valid, no records, every block and record cleared.
void ClearInstrumentData(TInstrumentData& data);

} // namespace lumetra
