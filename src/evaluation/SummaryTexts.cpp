#include "evaluation/IntegralData.h"

#include "core/DeviceIdentification.h"
#include "core/NumberFormat.h"

namespace lumetra {
namespace {

struct TModeTexts {
    const TPhysicalUnits& Units;
    const TTranslate& Translate;

    std::string Value(Real value) const { return FormatFixed(value, 7, Units.RadonDecimals); }
    std::string WithError(Real value, const std::string& unit, Real error) const {
        return Value(value) + " " + unit + " " + "±" + FormatFixed(error, 3, 0) + " %";
    }
    // Radon-type averages: an error <= 0 marks an upper limit or no counts.
    std::string Average(Real value, Real error) const {
        if (error <= 0.0)
            return "< " + Value(value) + " " + Units.RnUnitString;
        return WithError(value, Units.RnUnitString, error);
    }
    std::string Exposure(Real exposure, const std::string& unit, bool upperLimit = false) const {
        return (upperLimit ? "< " : "") + FormatFixed(exposure, 7, 0) + " " + unit;
    }
    void DoseOrExposure(TSummaryTexts& texts, Real dose, Real exposure, const std::string& unit,
                        bool upperLimit) const {
        if (dose > 0.0) {
            texts.ExposureItemLabel = Translate("Dose");
            texts.ExposureLabel = FormatFixed(dose, 7, 3) + " µSv";
        } else {
            texts.ExposureLabel = Exposure(exposure, unit, upperLimit);
        }
    }
};

} // namespace

TSummaryTexts SummaryTexts(Byte displayMode, const TIntegralData& integral, const TPhysicalUnits& units,
                           const TInstrumentHeader& header, bool bordersSelected,
                           const TTranslate& translate) {
    TSummaryTexts texts;
    if (!bordersSelected) {
        texts.Colour = TSummaryColour::Grey;
        texts.PrintButton = TPrintButtonState::Unchanged;
    } else if (integral.DataOfOneSeries) {
        texts.Colour = TSummaryColour::Black;
        texts.PrintButton = TPrintButtonState::FollowExport;
    } else {
        texts.Colour = TSummaryColour::Red;
        texts.PrintButton = TPrintButtonState::Disabled;
    }

    // An empty lookup shows the English texts.
    const TTranslate lookup =
        translate ? translate : TTranslate([](const std::string& text) { return text; });

    texts.StartTestLabel = integral.StartTestString;
    texts.EndTestLabel = integral.EndTestString;
    texts.ExposureItemLabel = lookup("Exposure");

    const TModeTexts mode{units, lookup};
    switch (displayMode) {
    case DisplayMode::Radon:
        texts.AverageLabel = mode.Average(integral.RadonAverage, integral.RadonAverageError);
        mode.DoseOrExposure(texts, integral.DoseRadon, integral.RadonExposure, units.ExpUnitString,
                            integral.RadonAverageError < 0.0);
        break;
    case DisplayMode::RadonFast:
        texts.AverageLabel = mode.Average(integral.RadonFastAverage, integral.RadonFastAverageError);
        mode.DoseOrExposure(texts, integral.DoseRadonFast, integral.RadonFastExposure, units.ExpUnitString,
                            integral.RadonFastAverageError < 0.0);
        break;
    case DisplayMode::Thoron:
        texts.AverageLabel = mode.Average(integral.ThoronAverage, integral.ThoronAverageError);
        texts.ExposureLabel =
            mode.Exposure(integral.ThoronExposure, units.ExpUnitString, integral.ThoronAverageError < 0.0);
        break;
    case DisplayMode::RadonEEC:
        // The equilibrium-equivalent concentration has no upper-limit form.
        texts.AverageLabel =
            mode.WithError(integral.RadonEECAverage, units.RnUnitString, integral.RadonEECAverageError);
        texts.ExposureLabel = mode.Exposure(integral.RadonEECExposure, units.ExpUnitString);
        break;
    case DisplayMode::RadonPAEC:
        texts.AverageLabel =
            mode.WithError(integral.RadonPAECAverage, units.PAECUnitString, integral.RadonPAECAverageError);
        mode.DoseOrExposure(texts, integral.DosePot, integral.RadonPAECExposure, units.PAECExpUnitString,
                            false);
        break;
    case DisplayMode::ThoronPAEC:
        texts.AverageLabel = mode.Value(integral.ThoronPAECAverage) + " " + units.PAECUnitString;
        texts.ExposureItemLabel.clear();
        texts.ExposureLabel.clear();
        break;
    default:
        break;
    }

    // Exposures and doses are only meaningful in SI units.
    texts.ExposureVisible = integral.RelatedUnitSettings.SelectedUnits != UnitsUS;

    std::string name;
    DeviceName(header.DeviceFamily, header.DeviceType, name);
    texts.DevNumberLabel = name + " SN: " + std::to_string(header.DeviceNumber);
    texts.TotalRecordsLabel = std::to_string(integral.NumberOfSamples);
    texts.ExposureTimeLabel = FormatFixed(integral.TotalSampleTime / 60.0, 7, 1) + lookup(" hours");
    texts.PeriodLabel = integral.SamplePeriodString;
    return texts;
}

} // namespace lumetra
