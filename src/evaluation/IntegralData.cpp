#include "evaluation/IntegralData.h"

#include "evaluation/RecordEvaluation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumetra {
namespace {

constexpr Real NoMinimum = 1.0E12;

Integer SaturatedInteger(Int64 value) {
    constexpr Int64 lowest = std::numeric_limits<Integer>::min();
    constexpr Int64 highest = std::numeric_limits<Integer>::max();
    return static_cast<Integer>(std::clamp(value, lowest, highest));
}

Real FiniteOrNoValue(Real value) {
    return std::isfinite(value) ? value : -1.0;
}

// The humidity coefficient of the spectrometric types, as the record evaluation uses it,
// so that a range agrees with its records.
Real SpectrometricHumidityCoefficient(Byte type) {
    return type == 4 ? 0.025 : 0.0085;
}

// Average times hours. A range without a value (-1) has no exposure either; a negative
// exposure is never reported.
Real Exposure(Integer totalSampleTime, Real average) {
    if (average < 0.0)
        return -1.0;
    return static_cast<Real>(totalSampleTime) * average / 60.0;
}

// US exposures back into SI for the doses, which are in µSv whatever the units.
Real RadonExposureInSI(Real exposure, Byte unitSystem) {
    return unitSystem == UnitsUS ? exposure / BqPerM3ToPicoCuriePerLitre(1.0) : exposure;
}
// mWLh to nJh/m³: 1 mWL = 20.8 nJ/m³, the inverse of the conversion the evaluation applies.
Real PAECExposureInSI(Real exposure, Byte unitSystem) {
    return unitSystem == UnitsUS ? exposure / NanojoulePerM3ToMilliWorkingLevel(1.0) : exposure;
}

struct TExtremes {
    Real Minimum = NoMinimum;
    Real Maximum = 0.0;
    void Take(Real value) {
        if (value > Maximum)
            Maximum = value;
        if (!(value >= Minimum))
            Minimum = value;
    }
};

void PeriodTexts(const TInstrumentData& raw, const TMeasurementData& data, Integer left, Integer right,
                 TIntegralData& integral) {
    integral.StartTestString =
        DateTimeText(SubtractMinutes(data.Data[left].Time, raw.Records[left].SampleInterval));
    integral.EndTestString = DateTimeText(data.Data[right].Time);
    integral.SamplePeriodString = integral.StartTestString + " - " + integral.EndTestString;
}

} // namespace

void CalculateIntegralData(Integer leftIndex, Integer rightIndex, const TInstrumentData& raw,
                           TIntegralData& integral, const TMeasurementData& data) {
    integral = TIntegralData{};
    integral.RelatedUnitSettings = data.RelatedUnitSettings;
    const Byte unitSystem = data.RelatedUnitSettings.SelectedUnits;
    const TSensorValidityMatrix& valid = data.SensorValidityMatrix;
    const TInstrumentHeader& header = raw.Header;
    const Byte family = header.DeviceFamily;
    const Byte type = header.DeviceType;
    const bool halvo = family == FamilyHalvo;
    const bool dosika = family == FamilyDosika;
    const bool spectrometric = halvo && (type == 4 || type == 6 || type == 10);

    // Callers pass 1 <= L <= R <= N; anything else is held inside the data set.
    const Integer count =
        static_cast<Integer>(std::min<std::size_t>({data.NumberOfRecords, raw.NumberOfRecords, MaxRecords}));
    const Integer left = count == 0 ? 0 : std::clamp<Integer>(leftIndex, 1, count);
    const Integer right = count == 0 ? 0 : std::clamp<Integer>(rightIndex, left, count);
    integral.LeftIndex = static_cast<Word>(left);
    integral.RightIndex = static_cast<Word>(right);

    if (spectrometric)
        integral.SumSpectrum.Size = static_cast<Integer>(IntervalChannels);
    else if (dosika)
        integral.SumSpectrum = raw.Spectrum;

    TExtremes radon, radonFast, thoron, eec, paec, thoronPaec;
    TCountValues c{};
    Array1<Int64, 6> countSums{};
    Int64 spectrum[IntervalChannels] = {};
    Int64 tilts = 0;
    Int64 totalSampleTime = 0;
    Real effectiveTime = 0.0;
    Real humidityAccumulator = 0.0;
    Real thoronPaecAccumulator = 0.0;
    Byte longestInterval = 1;
    bool oneSeries = true;
    const Real humidityCoefficient = SpectrometricHumidityCoefficient(type);
    const Byte software = header.SoftwareVersion;
    const bool humidityCorrected =
        (type == 2 && software > 7) || (type == 3 && software > 8) || (spectrometric && software > 11);
    // Only the interval spectra of the spectrometric types are summed here.
    const std::size_t channels =
        spectrometric
            ? static_cast<std::size_t>(std::clamp<Integer>(integral.SumSpectrum.Size, 0, IntervalChannels))
            : 0;

    for (Integer i = left; count > 0 && i <= right; ++i) {
        const TMeasurementRecord& record = data.Data[i];
        const TInstrumentRecord& rawRecord = raw.Records[i];
        if (halvo) {
            // The Magnus formula needs °C; a US data set stores °F.
            const auto absoluteHumidity = [&]() {
                const Real celsius =
                    unitSystem == UnitsUS ? FahrenheitToCelsius(record.Temperature) : record.Temperature;
                const Real ah = AbsoluteHumidity(celsius, record.Humidity);
                return std::isfinite(ah) ? ah : 0.0; // damaged climate codes must not poison the sums
            };
            Real f = 1.0;
            tilts += record.NumberOfTilts;
            switch (type) {
            case 1:
                countSums[1] += record.CountSums[1];
                humidityAccumulator += absoluteHumidity();
                c[1] = static_cast<Real>(countSums[1]);
                break;
            case 2:
            case 3:
                if (humidityCorrected)
                    f = (absoluteHumidity() - 10.0) * 0.0085 + 1.0;
                countSums[1] += record.CountSums[1];
                c[1] += static_cast<Real>(record.CountSums[1]) * f;
                break;
            case 5:
            case 7:
            case 8:
            case 9:
                countSums[1] += record.CountSums[1];
                c[1] = static_cast<Real>(countSums[1]);
                break;
            case 4:
            case 6:
            case 10:
                if (humidityCorrected)
                    f = (absoluteHumidity() - 10.0) * humidityCoefficient + 1.0;
                for (std::size_t k = 1; k <= 6; ++k) {
                    countSums[k] += record.CountSums[k];
                    c[k] += static_cast<Real>(record.CountSums[k]) * f;
                }
                for (std::size_t ch = 0; ch < channels; ++ch)
                    spectrum[ch] += rawRecord.Channels.Items[ch];
                break;
            default:
                break;
            }
        } else if (dosika) {
            for (std::size_t k = 1; k <= 6; ++k) {
                countSums[k] += record.CountSums[k];
                c[k] = static_cast<Real>(countSums[k]);
            }
            if ((type == 2 || type == 6) && record.ThoronPAECError > 0.0)
                thoronPaecAccumulator += record.ThoronPAEC;
        }

        if (valid.RadonValid)
            radon.Take(record.Radon);
        if (valid.RadonFastValid)
            radonFast.Take(record.RadonFast);
        if (valid.ThoronValid && record.ThoronError > 0.0)
            thoron.Take(record.Thoron);
        if (valid.RadonEECValid)
            eec.Take(record.RadonEEC);
        if (valid.RadonPAECValid)
            paec.Take(record.RadonPAEC);
        if (valid.ThoronPAECValid)
            thoronPaec.Take(record.ThoronPAEC);

        effectiveTime += record.SampleTime;
        totalSampleTime += rawRecord.SampleInterval;
        if (rawRecord.SampleInterval > longestInterval)
            longestInterval = rawRecord.SampleInterval;
        if (record.SeriesStart && i != left)
            oneSeries = false;
    }

    for (std::size_t k = 1; k <= 6; ++k)
        integral.IntegralCountSums[k] = countSums[k];
    for (std::size_t ch = 0; ch < channels; ++ch)
        integral.SumSpectrum.Channels.Items[ch] = SaturatedInteger(spectrum[ch]);
    integral.TotalNumberOfTilts = SaturatedInteger(tilts);
    integral.TotalSampleTime = SaturatedInteger(totalSampleTime);
    integral.ShortestSampleInterval = longestInterval;
    integral.DataOfOneSeries = oneSeries;
    integral.NumberOfSamples = count == 0 ? 0 : right - left + 1;

    integral.RadonMinimum = radon.Minimum;
    integral.RadonMaximum = radon.Maximum;
    integral.RadonFastMinimum = radonFast.Minimum;
    integral.RadonFastMaximum = radonFast.Maximum;
    integral.ThoronMinimum = thoron.Minimum;
    integral.ThoronMaximum = thoron.Maximum;
    integral.RadonEECMinimum = eec.Minimum;
    integral.RadonEECMaximum = eec.Maximum;
    integral.RadonPAECMinimum = paec.Minimum;
    integral.RadonPAECMaximum = paec.Maximum;
    integral.ThoronPAECMinimum = thoronPaec.Minimum;
    integral.ThoronPAECMaximum = thoronPaec.Maximum;

    // Records without a positive thoron-progeny error count as 0 in the average.
    const Real samples = integral.NumberOfSamples > 0 ? static_cast<Real>(integral.NumberOfSamples) : 1.0;
    const Real averageHumidity = humidityAccumulator / samples;
    const Real averageThoronPaec = thoronPaecAccumulator / samples;

    // The range's counts once more through the concentration calculation, so that the
    // error of the average follows from the total number of counts.
    TMeasurementRecord result;
    Real previousProgenyCount = 0.0;
    CalculateConcentrations(unitSystem, family, type, result, raw.Setup, c, averageHumidity, header.UniCon,
                            effectiveTime, header.SoftwareVersion, previousProgenyCount);

    const Integer minutes = integral.TotalSampleTime;
    if (valid.RadonValid) {
        integral.RadonAverage = FiniteOrNoValue(result.Radon);
        integral.RadonAverageError = FiniteOrNoValue(result.RadonError);
        integral.RadonExposure = Exposure(minutes, integral.RadonAverage);
    }
    if (valid.RadonFastValid) {
        integral.RadonFastAverage = FiniteOrNoValue(result.RadonFast);
        integral.RadonFastAverageError = FiniteOrNoValue(result.RadonFastError);
        integral.RadonFastExposure = Exposure(minutes, integral.RadonFastAverage);
    }
    if (valid.ThoronValid) {
        integral.ThoronAverage = FiniteOrNoValue(result.Thoron);
        integral.ThoronAverageError = FiniteOrNoValue(result.ThoronError);
        integral.ThoronExposure = Exposure(minutes, integral.ThoronAverage);
    }
    if (valid.RadonEECValid) {
        integral.RadonEECAverage = FiniteOrNoValue(result.RadonEEC);
        integral.RadonEECAverageError = FiniteOrNoValue(result.RadonPAECError);
        integral.RadonEECExposure = Exposure(minutes, integral.RadonEECAverage);
    }
    if (valid.RadonPAECValid) {
        integral.RadonPAECAverage = FiniteOrNoValue(result.RadonPAEC);
        integral.RadonPAECAverageError = FiniteOrNoValue(result.RadonPAECError);
        integral.RadonPAECExposure = Exposure(minutes, integral.RadonPAECAverage);
    }
    if (valid.ThoronPAECValid) {
        integral.ThoronPAECAverage = FiniteOrNoValue(averageThoronPaec);
        integral.ThoronPAECAverageError = -1.0;
    }

    if (dosika && type == 1 && header.UniCon[1] != 0) {
        const Real factor = (10.0 / header.UniCon[1]) * (10.0 * header.UniCon[3]) / 16.66;
        if (integral.RadonExposure >= 0.0)
            integral.DoseRadon = 0.001 * RadonExposureInSI(integral.RadonExposure, unitSystem) * factor;
        if (integral.RadonFastExposure >= 0.0)
            integral.DoseRadonFast =
                0.001 * RadonExposureInSI(integral.RadonFastExposure, unitSystem) * factor;
    } else if (dosika && type == 2 && integral.RadonPAECExposure >= 0.0) {
        integral.DosePot =
            0.001 * PAECExposureInSI(integral.RadonPAECExposure, unitSystem) * (header.UniCon[2] / 10.0);
    }

    if (count > 0)
        PeriodTexts(raw, data, left, right, integral);
}

bool HoldsDisplayMode(const TSensorValidityMatrix& valid, Byte displayMode) {
    switch (displayMode) {
    case DisplayMode::Radon: return valid.RadonValid;
    case DisplayMode::RadonFast: return valid.RadonFastValid;
    case DisplayMode::Thoron: return valid.ThoronValid;
    case DisplayMode::RadonEEC: return valid.RadonEECValid;
    case DisplayMode::RadonPAEC: return valid.RadonPAECValid;
    case DisplayMode::ThoronPAEC: return valid.ThoronPAECValid;
    default: return false;
    }
}

Byte InitialDisplayMode(const TSensorValidityMatrix& valid) {
    return valid.RadonEECValid && !valid.RadonValid ? DisplayMode::RadonEEC : DisplayMode::Radon;
}

} // namespace lumetra
