#pragma once
// Dose conversion coefficients held by the Dosika dosimeters in calibration bytes.
// Dosika: the product p of the coefficient g(EEC) (nSv per Bq·h/m³) and the equilibrium
// factor F, scaled by CAL1 and CAL2 into CAL3 and CAL4:
//   CAL3 = Round(16.66 × p / (10 / CAL1) / 10),  F = (10 / CAL1) × CAL3 × 10 / 16.66 / g
// Example: CAL1 50, g 7.8, F 0.4 give CAL3 26; CAL3 26 reads back as F 0.40.
// Dosika PRO: g(pot) (Sv per J·h/m³) times 10 in CAL2.
// Round is to the nearest integer, halves to even, kept in the low 8 bits.

#include "dosika/DosikaTypes.h"

namespace lumetra {

constexpr Real DkPublicEECCoefficient = 6.10;
constexpr Real DkWorkersEECCoefficient = 7.80;
constexpr Real DkPublicPotCoefficient = 1.10;
constexpr Real DkWorkersPotCoefficient = 1.40;

// The rounding of calibration values: nearest integer, halves to even, low 8 bits.
// A non-finite value gives 0 (the conversions below reject those before).
Byte DkRoundToByte(Real value);

// Dosika: the equilibrium factor the bytes hold for the coefficient `gEEC`. Result 13,
// `eqf` unchanged, when CAL1 or CAL2 is 0 or the factor has no finite value.
[[nodiscard]] Byte DkEquilibriumFactorFromCalibration(const TDkInitValues& init, Real gEEC, Real& eqf);

// Dosika: CAL3 and CAL4 for g × F. Result 13, no byte changed, when CAL1 or CAL2 is 0
// or the product has no finite value.
[[nodiscard]] Byte DkCalibrationFromDoseProduct(Real gEEC, Real eqf, TDkInitValues& init);

// Whether the bytes for g × F (Dosika) or g(pot) (Dosika PRO) hold their rounded values
// whole, from 0 to 255. The conversions above keep the low 8 bits of a larger value, as
// the window always has; a caller that must not store a coefficient other than the one
// chosen asks first. With CAL1 or CAL2 0 nothing is converted, and the product fits.
bool DkDoseProductFits(Real gEEC, Real eqf, const TDkInitValues& init);
bool DkPotCoefficientFits(Real gPot);

// Dosika PRO: g(pot) = CAL2 / 10, and CAL2 = Round(g(pot) × 10); result 13, CAL2
// unchanged, for a coefficient without a finite value.
Real DkPotCoefficientFromCalibration(const TDkInitValues& init);
[[nodiscard]] Byte DkCalibrationFromPotCoefficient(Real gPot, TDkInitValues& init);

} // namespace lumetra
