#include "core/PhysicalUnits.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(SetUnitSystem, SiSettings) {
    TPhysicalUnits u;
    SetUnitSystem(0, u);
    EXPECT_EQ(u.SelectedUnits, 0);
    EXPECT_EQ(u.RnUnitString, "Bq/m³");
    EXPECT_EQ(u.ExpUnitString, "Bqh/m³");
    EXPECT_EQ(u.TempUnitString, "°C");
    EXPECT_EQ(u.PresUnitString, "mbar");
    EXPECT_EQ(u.PAECUnitString, "nJ/m³");
    EXPECT_EQ(u.PAECExpUnitString, "nJh/m³");
    // The screen and paper pressure axes differ: 850..1060 against 860..1060 mbar.
    EXPECT_EQ(u.PresOffset + u.PresSpan, 1060);
    EXPECT_EQ(u.PresOffset, 850);
    EXPECT_EQ(u.PresOffsetPrinter + u.PresSpanPrinter, 1060);
    EXPECT_EQ(u.PresOffsetPrinter, 860);
    EXPECT_EQ(u.SubDivPres, 30);
    EXPECT_EQ(u.TempOffset, -20);
    EXPECT_EQ(u.TempSpan, 60);
    EXPECT_EQ(u.SubDivTemp, 10);
    EXPECT_EQ(u.SubDivTempPrinter, 6);
    EXPECT_EQ(u.SubDivPresPrinter, 5);
    EXPECT_EQ(u.RadonDecimals, 0);
    EXPECT_EQ(u.PresDecimals, 0);
}

TEST(SetUnitSystem, UsSettings) {
    TPhysicalUnits u;
    SetUnitSystem(1, u);
    EXPECT_EQ(u.SelectedUnits, 1);
    EXPECT_EQ(u.RnUnitString, "pCi/L");
    EXPECT_EQ(u.ExpUnitString, "pCih/L");
    EXPECT_EQ(u.TempUnitString, "°F");
    EXPECT_EQ(u.PresUnitString, "inHg");
    EXPECT_EQ(u.PAECUnitString, "mWL");
    EXPECT_EQ(u.PAECExpUnitString, "mWLh");
    EXPECT_EQ(u.HumUnitString, "%");
    EXPECT_EQ(u.CO2UnitString, "ppm");
    EXPECT_EQ(u.TempOffset, -10);
    EXPECT_EQ(u.TempSpan, 120);
    EXPECT_EQ(u.SubDivTemp, 20);
    EXPECT_EQ(u.PresOffset, 25);
    EXPECT_EQ(u.PresSpan, 7);
    EXPECT_EQ(u.SubDivPres, 1);
    EXPECT_EQ(u.SubDivPresPrinter, 7);
    EXPECT_EQ(u.RadonDecimals, 1);
    EXPECT_EQ(u.PresDecimals, 2);
}

TEST(SetUnitSystem, AnyOtherSystemGivesSiValuesButKeepsItsNumber) {
    TPhysicalUnits si;
    TPhysicalUnits other;
    SetUnitSystem(0, si);
    SetUnitSystem(7, other);
    EXPECT_EQ(other.SelectedUnits, 7);
    other.SelectedUnits = 0;
    EXPECT_EQ(other, si);

    // Switching back restores every field.
    TPhysicalUnits switched;
    SetUnitSystem(1, switched);
    SetUnitSystem(0, switched);
    EXPECT_EQ(switched, si);
}

TEST(UnitConversions, UseTheInstrumentConstants) {
    EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(0), 31.0);
    EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(100), 212.0);
    EXPECT_NEAR(CelsiusToFahrenheit(20), 67.2, 1e-12);
    EXPECT_NEAR(FahrenheitToCelsius(67.2), 20.0, 1e-12);
    EXPECT_NEAR(MillibarToInchHg(1000), 29.53, 1e-12);
    EXPECT_NEAR(BqPerM3ToPicoCuriePerLitre(100), 2.7, 1e-12);
    EXPECT_EQ(MillibarToInchHg(-1), -1);
    EXPECT_EQ(BqPerM3ToPicoCuriePerLitre(-1), -1);
}

} // namespace
} // namespace lumetra
