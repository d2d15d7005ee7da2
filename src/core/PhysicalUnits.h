#pragma once
// The two systems of units: unit strings and the default ranges of the climate axes on
// the screen and on paper.

#include "core/BasicTypes.h"

#include <string>

namespace lumetra {

constexpr Byte UnitsSI = 0;
constexpr Byte UnitsUS = 1;

struct TPhysicalUnits {
    Byte SelectedUnits = UnitsSI;
    std::string RnUnitString;
    std::string ExpUnitString;
    std::string HumUnitString;
    std::string PresUnitString;
    std::string CO2UnitString;
    std::string TempUnitString;
    std::string PAECUnitString;
    std::string PAECExpUnitString;

    Real TempSpan = 0, TempOffset = 0, SubDivTemp = 0;
    Real HumSpan = 0, HumOffset = 0, SubDivHum = 0;
    Real PresSpan = 0, PresOffset = 0, SubDivPres = 0;
    Real CO2Span = 0, CO2Offset = 0, SubDivCO2 = 0;

    Real TempSpanPrinter = 0, TempOffsetPrinter = 0, SubDivTempPrinter = 0;
    Real HumSpanPrinter = 0, HumOffsetPrinter = 0, SubDivHumPrinter = 0;
    Real PresSpanPrinter = 0, PresOffsetPrinter = 0, SubDivPresPrinter = 0;
    Real CO2SpanPrinter = 0, CO2OffsetPrinter = 0, SubDivCO2Printer = 0;

    Byte RadonDecimals = 0;
    Byte PresDecimals = 0;

    bool operator==(const TPhysicalUnits&) const = default;
};

// Fills `units` with the settings of `system`: 1 gives US units, any other value SI.
void SetUnitSystem(Byte system, TPhysicalUnits& units);

// Conversions from the instruments' SI values into US units. "No value" (-1) passes
// unchanged through the linear ones.
Real BqPerM3ToPicoCuriePerLitre(Real value);
Real CelsiusToFahrenheit(Real celsius);
Real FahrenheitToCelsius(Real fahrenheit);
Real MillibarToInchHg(Real value);

} // namespace lumetra
