#include "dosika/DoseCoefficients.h"

#include "core/Errors.h"

#include <cmath>

namespace lumetra {
namespace {

constexpr Real DoseScale = 16.66;

// The calibration value for the product g × F and the scale byte CAL1 or CAL2, unrounded.
Real DoseProductValue(Real product, Byte scale) { return DoseScale * product / (10.0 / scale) / 10.0; }

constexpr Real PotScale = 10.0;

bool FitsByte(Real value) {
    const Real rounded = std::nearbyint(value);
    return std::isfinite(rounded) && rounded >= 0 && rounded <= 255;
}

} // namespace

Byte DkRoundToByte(Real value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    Real low = std::fmod(std::nearbyint(value), 256.0);
    if (low < 0) {
        low += 256.0;
    }
    return static_cast<Byte>(low);
}

Byte DkEquilibriumFactorFromCalibration(const TDkInitValues& init, Real gEEC, Real& eqf) {
    if (init.CAL1 == 0 || init.CAL2 == 0) {
        return Result::NotConvertible;
    }
    const Real k1 = 10.0 / init.CAL1;
    const Real factor = k1 * (init.CAL3 * 10.0) / DoseScale / gEEC;
    if (!std::isfinite(factor)) {
        return Result::NotConvertible;
    }
    eqf = factor;
    return Result::Success;
}

Byte DkCalibrationFromDoseProduct(Real gEEC, Real eqf, TDkInitValues& init) {
    const Real product = gEEC * eqf;
    if (init.CAL1 == 0 || init.CAL2 == 0 || !std::isfinite(product)) {
        return Result::NotConvertible;
    }
    init.CAL3 = DkRoundToByte(DoseProductValue(product, init.CAL1));
    init.CAL4 = DkRoundToByte(DoseProductValue(product, init.CAL2));
    return Result::Success;
}

bool DkDoseProductFits(Real gEEC, Real eqf, const TDkInitValues& init) {
    if (init.CAL1 == 0 || init.CAL2 == 0) {
        return true;
    }
    const Real product = gEEC * eqf;
    return FitsByte(DoseProductValue(product, init.CAL1)) && FitsByte(DoseProductValue(product, init.CAL2));
}

bool DkPotCoefficientFits(Real gPot) { return FitsByte(gPot * PotScale); }

Real DkPotCoefficientFromCalibration(const TDkInitValues& init) { return init.CAL2 / PotScale; }

Byte DkCalibrationFromPotCoefficient(Real gPot, TDkInitValues& init) {
    if (!std::isfinite(gPot)) {
        return Result::NotConvertible;
    }
    init.CAL2 = DkRoundToByte(gPot * PotScale);
    return Result::Success;
}

} // namespace lumetra
