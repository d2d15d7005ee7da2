// The dose-coefficient conversions, with expected bytes worked out by hand.

#include "dosika/DoseCoefficients.h"

#include "dosika/DoseCoefficientForm.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumetra {
namespace {

TEST(DkRoundToByte, NearestHalvesToEvenLowEightBits) {
    EXPECT_EQ(DkRoundToByte(25.99), 26);
    EXPECT_EQ(DkRoundToByte(2.5), 2);
    EXPECT_EQ(DkRoundToByte(3.5), 4);
    EXPECT_EQ(DkRoundToByte(255.4), 255);
    EXPECT_EQ(DkRoundToByte(259.0), 3);
    EXPECT_EQ(DkRoundToByte(-1.0), 255);
    EXPECT_EQ(DkRoundToByte(1e30), 0); // a multiple of 256
    EXPECT_EQ(DkRoundToByte(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(DkDoseCoefficients, DosikaRoundTrip) {
    TDkInitValues init;
    init.CAL1 = 50;
    init.CAL2 = 40;
    // g 7.8 x F 0.4 = 3.12: CAL3 = Round(16.66 x 3.12 / (10/50) / 10) = Round(25.9896) = 26,
    // CAL4 = Round(16.66 x 3.12 / (10/40) / 10) = Round(20.7917) = 21.
    ASSERT_EQ(DkCalibrationFromDoseProduct(7.8, 0.4, init), Result::Success);
    EXPECT_EQ(init.CAL3, 26);
    EXPECT_EQ(init.CAL4, 21);
    // Back: F = 0.2 x 260 / 16.66 / 7.8 = 0.40016...
    double factor = 0;
    ASSERT_EQ(DkEquilibriumFactorFromCalibration(init, 7.8, factor), Result::Success);
    EXPECT_NEAR(factor, 52.0 / 16.66 / 7.8, 1e-12);
    EXPECT_NEAR(factor, 0.40, 0.005);
    // The public coefficient with the same stored product: F = 3.12 / 6.1 = 0.51.
    ASSERT_EQ(DkEquilibriumFactorFromCalibration(init, DkPublicEECCoefficient, factor), Result::Success);
    EXPECT_NEAR(factor, 0.51, 0.005);
}

TEST(DkDoseCoefficients, DosikaWithoutScaleBytesIsNotConvertible) {
    TDkInitValues init;
    init.CAL1 = 0;
    init.CAL2 = 40;
    init.CAL3 = 9;
    init.CAL4 = 8;
    double factor = -1;
    EXPECT_EQ(DkEquilibriumFactorFromCalibration(init, 7.8, factor), 13);
    EXPECT_EQ(factor, -1);
    EXPECT_EQ(DkCalibrationFromDoseProduct(7.8, 0.5, init), 13);
    init.CAL1 = 50;
    init.CAL2 = 0;
    EXPECT_EQ(DkCalibrationFromDoseProduct(7.8, 0.5, init), 13);
    EXPECT_EQ(init.CAL3, 9);
    EXPECT_EQ(init.CAL4, 8);
    // A coefficient of 0 has no finite factor; an infinite factor no finite product.
    init.CAL2 = 40;
    EXPECT_EQ(DkEquilibriumFactorFromCalibration(init, 0.0, factor), 13);
    EXPECT_EQ(DkCalibrationFromDoseProduct(7.8, std::numeric_limits<double>::infinity(), init), 13);
    EXPECT_EQ(init.CAL3, 9);
}

TEST(DkDoseCoefficients, DosikaProCoefficient) {
    TDkInitValues init;
    init.CAL2 = 14;
    EXPECT_DOUBLE_EQ(DkPotCoefficientFromCalibration(init), 1.4);
    ASSERT_EQ(DkCalibrationFromPotCoefficient(DkPublicPotCoefficient, init), Result::Success);
    EXPECT_EQ(init.CAL2, 11);
    EXPECT_EQ(DkCalibrationFromPotCoefficient(std::nan(""), init), 13);
    EXPECT_EQ(init.CAL2, 11);
}

TEST(DkDoseCoefficients, BytesThatWouldBeCutDoNotFit) {
    TDkInitValues init;
    init.DeviceType = DkType::Dosika;
    init.CAL1 = 50;
    init.CAL2 = 40;
    // CAL3 = Round(16.66 x p / (10/50) / 10) = Round(8.33 p): 30.6 gives 254.9, 30.7 gives
    // 255.7, which would be stored as 0. CAL4 (6.664 p) is the smaller one.
    EXPECT_TRUE(DkDoseProductFits(30.6, 1.0, init));
    EXPECT_FALSE(DkDoseProductFits(30.7, 1.0, init));
    EXPECT_FALSE(DkDoseProductFits(61.4, 0.5, init));
    // Without the scale bytes nothing is converted, so nothing is cut.
    init.CAL1 = 0;
    EXPECT_TRUE(DkDoseProductFits(99.9, 1.0, init));
    // Dosika PRO: CAL2 = Round(g x 10).
    EXPECT_TRUE(DkPotCoefficientFits(25.5));
    EXPECT_FALSE(DkPotCoefficientFits(25.6));

    // The window's form asks for its own type's bytes.
    init.DeviceType = DkType::DosikaPro;
    init.CAL2 = 14;
    const auto same = [](const std::string& text) { return text; };
    TDoseCoefficientForm form = DkOpenDoseCoefficients(init, same);
    EXPECT_TRUE(DkDoseCoefficientsFit(form));
    std::string error;
    ASSERT_TRUE(DkDoseCoefficientChanged(form, "30.0", same, error)) << error;
    EXPECT_FALSE(DkDoseCoefficientsFit(form));
}

} // namespace
} // namespace lumetra
