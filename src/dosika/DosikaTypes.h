#pragma once
// The records of the Dosika family: identity, calibration and setup blocks, the analog
// sensors' output setup and current readings.

#include "core/BasicTypes.h"
#include "core/GlobalDefinitions.h"

namespace lumetra {

// Device types of family 1.
namespace DkType {
constexpr Byte Dosika = 1;
constexpr Byte DosikaPro = 2;
constexpr Byte Morvel = 3;
constexpr Byte Kvx5210 = 4;
constexpr Byte SenraR = 5;
constexpr Byte SenraP = 6;
} // namespace DkType

struct TDkIdentity {
    Word SerialNumber = 0;
    Byte DeviceType = 0;
    Byte SoftwareVersion = 0;
    Byte DeviceFamily = 0;
    bool operator==(const TDkIdentity&) const = default;
};

// Channel numbers are counted from 1 (the instrument counts from 0).
struct TDkInitValues {
    Word DeviceNumber = 0;
    Byte DeviceType = 0;
    Byte SoftwareVersion = 0;
    Byte Offset = 0;
    Byte BetaLowerLimit = 0;
    Byte BetaUpperLimit = 0;
    TROILimitArray ROILimits{};
    Byte CAL1 = 0, CAL2 = 0, CAL3 = 0, CAL4 = 0, CAL5 = 0, CAL6 = 0;
    bool operator==(const TDkInitValues&) const = default;
};

struct TDkSetupValues {
    Word UserID = 0;
    Byte CountryCode = 0;
    Byte RegionCode = 0;
    Byte EntryCode = 0;
    Byte SetupByte = 0; // bits 0..2 the mode switches, bit 3 US units
    Byte SampleInterval = 0; // minutes
    Word AlarmLevel = 0;
    Word BreathingRate = 0;
    float AlphaE50 = 0;
    Byte AlphaDetectionRate = 0;
    float BetaE50 = 0;
    Byte BetaDetectionRate = 0;
    bool operator==(const TDkSetupValues&) const = default;
};

// What an instrument that does not report them is taken to have.
constexpr Word DkDefaultBreathingRate = 8100;
constexpr float DkDefaultAlphaE50 = 4.7e-5f;
constexpr float DkDefaultBetaE50 = 1.5e-7f;

// The output setup of the Senra-R and Senra-P analog sensors, in Bq/m³.
struct TAnalogSensorSetup {
    Integer AOUT1Range = 0;
    Integer AOUT2Range = 0;
    Integer AOUT1AlarmLevel = 0;
    Integer AOUT2AlarmLevel = 0;
    Byte DOUTMode = 0; // bits 0..4 ROI 1..5, bit 5 rH/T, bit 7 pulse mode; bit 6 always 0
    bool operator==(const TAnalogSensorSetup&) const = default;
};

constexpr Integer DkNoConcentration = -1;
constexpr Real DkNoClimateValue = 10000.0;

struct TAnalogSensorValues {
    Integer RadonValue = DkNoConcentration;  // Bq/m³
    Integer ThoronValue = DkNoConcentration; // Bq/m³
    Byte RadonError = 0;                      // %
    Byte ThoronError = 0;                     // %
    Real TemperatureValue = DkNoClimateValue; // °C
    Real HumidityValue = DkNoClimateValue;    // % rH
    Word AOut1Value = 0;
    Word AOut2Value = 0;
};

} // namespace lumetra
