#include "dosika/DoseCoefficientForm.h"

#include "core/DeviceIdentification.h"
#include "core/EditValues.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "core/NumberFormat.h"
#include "dosika/DosikaCommands.h"

#include <optional>

namespace lumetra {
namespace {

std::string Fixed2(Real value) { return FormatFixed(value, 15, 2); }

// The number a list line starts with.
std::optional<Real> LeadingNumber(const std::string& text) { return ParseNumberText(text.substr(0, 4)); }

constexpr Real LowestFactor = 0.2;
constexpr Real HighestFactor = 1.0;
constexpr Real FallbackFactor = 0.5;

} // namespace

TDoseCoefficientForm DkOpenDoseCoefficients(const TDkInitValues& init, const TTranslate& translate) {
    TDoseCoefficientForm form;
    form.InitValues = init;
    std::string name;
    DeviceName(FamilyDosika, init.DeviceType, name);
    form.Caption = name + " SN: " + std::to_string(init.DeviceNumber);
    if (init.DeviceType == DkType::Dosika) {
        form.FactorEnabled = true;
        form.Label = translate("Dose Conversion Coefficient g(EEC)");
        form.CoefficientLines = {Fixed2(DkPublicEECCoefficient) + translate(" nSv/(Bqh/m³) - Public"),
                                 Fixed2(DkWorkersEECCoefficient) + translate(" nSv/(Bqh/m³) - Workers")};
        form.CoefficientText = form.CoefficientLines[1];
        for (int tenths = 2; tenths <= 10; ++tenths) {
            form.FactorLines.push_back(Fixed2(tenths / 10.0));
        }
        form.FactorText = Fixed2(FallbackFactor);
        form.gEEC = DkWorkersEECCoefficient;
        if (DkEquilibriumFactorFromCalibration(init, form.gEEC, form.Eqf) != Result::Success) {
            form.Error = Result::NotConvertible;
            return form;
        }
        form.FactorText = Fixed2(form.Eqf);
    } else if (init.DeviceType == DkType::DosikaPro) {
        form.FactorEnabled = false;
        form.Label = translate("Dose Conversion Coefficient g(pot)");
        form.gPot = DkPotCoefficientFromCalibration(init);
        form.CoefficientText = Fixed2(form.gPot) + translate(" Sv/(Jh/m³)");
        form.CoefficientLines = {Fixed2(DkPublicPotCoefficient) + translate(" Sv/(Jh/m³) - Public"),
                                 Fixed2(DkWorkersPotCoefficient) + translate(" Sv/(Jh/m³) - Workers")};
    }
    return form;
}

bool DkDoseCoefficientChanged(TDoseCoefficientForm& form, const std::string& text, const TTranslate& translate,
                              std::string& error) {
    if (text.empty()) {
        return true;
    }
    const auto coefficient = LeadingNumber(text);
    // A coefficient of 0 has no factor that keeps the product; none below 0 exists.
    if (!coefficient || *coefficient <= 0) {
        error = translate("The dose conversion coefficient must be a number above 0.");
        return false;
    }
    form.CoefficientText = text;
    if (form.InitValues.DeviceType == DkType::Dosika) {
        const Real product = form.gEEC * form.Eqf;
        form.gEEC = *coefficient;
        form.Eqf = product / form.gEEC;
        form.FactorText = Fixed2(form.Eqf);
    } else {
        form.gPot = *coefficient;
    }
    return true;
}

bool DkEquilibriumFactorChanged(TDoseCoefficientForm& form, const std::string& text, bool lineSelected,
                                const TTranslate& translate, std::string& error) {
    if (text.empty()) {
        return true;
    }
    const auto factor = lineSelected ? LeadingNumber(text) : ParseNumberText(text);
    if (!factor) {
        error = translate("The equilibrium factor must be a number.");
        return false;
    }
    form.FactorText = text;
    form.Eqf = (*factor < LowestFactor || *factor > HighestFactor) ? FallbackFactor : *factor;
    return true;
}

bool DkDoseCoefficientsFit(const TDoseCoefficientForm& form) {
    if (form.InitValues.DeviceType == DkType::Dosika) {
        return DkDoseProductFits(form.gEEC, form.Eqf, form.InitValues);
    }
    if (form.InitValues.DeviceType == DkType::DosikaPro) {
        return DkPotCoefficientFits(form.gPot);
    }
    return true;
}

void DkTransferDoseCoefficients(TDoseCoefficientForm& form) {
    if (form.InitValues.DeviceType == DkType::Dosika) {
        if (DkCalibrationFromDoseProduct(form.gEEC, form.Eqf, form.InitValues) != Result::Success) {
            form.Error = Result::NotConvertible;
        }
    } else if (form.InitValues.DeviceType == DkType::DosikaPro) {
        if (DkCalibrationFromPotCoefficient(form.gPot, form.InitValues) != Result::Success) {
            form.Error = Result::NotConvertible;
        }
    }
    form.ClosedBySetButton = true;
}

Byte DkWriteDoseCoefficients(TUserInterface& ui, const TComPort& port, const TDoseCoefficientForm& form) {
    if (form.Error != Result::Success) {
        return form.Error;
    }
    return DkWriteCalibration(ui, port, form.InitValues);
}

} // namespace lumetra
