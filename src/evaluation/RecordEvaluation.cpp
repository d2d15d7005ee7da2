#include "evaluation/RecordEvaluation.h"

#include "evaluation/SpectrometricEvaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumetra {

using evaluation_detail::NoValue;
using evaluation_detail::Single;
using evaluation_detail::SqrtCounts;

// Precision: the calibration quantities, spill-over coefficients and the intermediate
// counts and limits of the concentration formulas are held in single precision (float),
// the precision this evaluation is defined with; each expression is computed in double
// from them, and every result is stored as Real.

Real AbsoluteHumidity(Real temperatureCelsius, Real humidity) {
    const Real t = temperatureCelsius;
    return humidity * 1000.0 * 6.11213 * std::exp(17.5043 * t / (t + 241.2)) / ((t + 273.15) * 461.52);
}

// 1 mWL = 20.8 nJ/m³: nJ/m³ are divided by 20.8 (multiplying by 0.208 would inflate
// every US value 4.3-fold).
Real NanojoulePerM3ToMilliWorkingLevel(Real value) {
    return value / 20.8;
}

namespace {

constexpr double ThoronProgenyDecay = 0.001085757; // per minute

void HalvoSingleCounter(Byte type, TMeasurementRecord& r, const TInstrumentSetup& setup, Real c1, Real ah,
                        const Array1<Word, 6>& uniCon, Real t) {
    const float K1 = static_cast<float>(uniCon[1]) / 1000.0f;
    const float K2 = static_cast<float>(uniCon[2]) / 1000.0f;
    const float K3 = static_cast<float>(uniCon[3]) / 1000.0f;
    const float K4 = static_cast<float>(uniCon[4]) / 1000.0f;
    double sensitivity = 0.0;
    switch (type) {
    case 1:
        if (K3 == 0.0f)
            return;
        sensitivity = K4 + K2 * std::exp(-ah / K3);
        break;
    case 5: {
        // The chamber in use, from bits 5 and 6 of the setup word.
        const float chambers[4] = {K1, K2, K3, K4};
        sensitivity = chambers[(setup.SetupWord >> 5) & 3];
        break;
    }
    default:
        sensitivity = K1;
        break;
    }
    if (!evaluation_detail::Usable(sensitivity))
        return;
    r.Radon = c1 * 1000.0 / t / sensitivity;
    r.RadonError = c1 > 0.0 ? 100.0 * std::sqrt(c1) / c1 : 0.0;
}

// Two counters: ROI 1 + 2 net of ROI 5 for the fast value, plus ROI 4 for radon.
void DosikaTwoCounters(TMeasurementRecord& r, const TCountValues& c, const Array1<Word, 6>& uniCon, Real t) {
    r.Radon = r.RadonError = r.RadonFast = r.RadonFastError = 0.0;
    const float s = Single(SqrtCounts(c[1] + c[2] + 0.3164 * c[5]));
    const float A = Single(c[1] + c[2] - 0.5625 * c[5]);
    if (uniCon[1] == 0) {
        NoValue(r.RadonFast, r.RadonFastError);
    } else if (A > 0.0f && s <= A) {
        r.RadonFast = A / t / (0.01 / uniCon[1]);
        r.RadonFastError = 100.0 * s / A;
    }
    const float Gs = Single(c[4] + A);
    const float Fs = Single(SqrtCounts(c[4] + double{s} * s));
    if (uniCon[2] == 0) {
        NoValue(r.Radon, r.RadonError);
    } else if (Gs > 0.0f && Fs <= Gs) {
        r.Radon = Gs / t / (0.01 / uniCon[2]);
        r.RadonError = 100.0 * Fs / Gs;
    }
}

Real ThoronProgeny(float A, double counts, Real t) {
    return (A * counts * 1000.0 / (t * t) / 0.64 / ThoronProgenyDecay) * 7.804 / 6240.0;
}

// Radon progeny from ROI 2 and 4; thoron progeny from the growth of ROI 5 over the
// decay of the previous interval's count.
void DosikaProgeny(TMeasurementRecord& r, const TCountValues& c, const Array1<Word, 6>& uniCon, Real t,
                   Real& previousProgenyCount) {
    const float A = static_cast<float>(uniCon[1]);
    float d = Single(std::sqrt(std::abs(c[2] + 0.3164 * c[5])));
    float w = Single(c[2] - 0.5625 * c[5]);
    if (w < 0.0f || w < d) {
        w = 0.0f;
        d = 0.0f;
    }
    r.RadonPAEC = (0.96 * w + 1.23 * c[4]) * A / t;
    r.RadonPAECError = r.RadonPAEC <= 0.0 ? -1.0
                                          : (A * std::sqrt(std::abs(0.9216 * d * d + 1.5129 * c[4])) / t) *
                                                100.0 / r.RadonPAEC;
    r.RadonEEC = r.RadonPAEC / 5.56844;

    const Real P = previousProgenyCount;
    const float e = Single(std::exp(-ThoronProgenyDecay * t));
    const float Cn = Single(c[5] - e * P);
    const float s = Single(SqrtCounts(c[5] + double{e} * e * P));
    if (Cn >= s && Cn > 0.0f) {
        r.ThoronPAEC = ThoronProgeny(A, Cn, t);
        r.ThoronPAECError = 100.0 * s / Cn;
    } else {
        const float m = -(2.0f * s + 1.0f);
        const float Nq = Single(SqrtCounts(double{m} * m / 4.0 - double{s} * s) - m / 2.0);
        r.ThoronPAEC = ThoronProgeny(A, Nq, t);
        r.ThoronPAECError = -1.0;
    }
    previousProgenyCount = c[5];
}

// Overflow from damaged counts or climate codes never reaches a record: a value or
// error that is not finite makes the pair "no value".
void KeepFinite(Real& value, Real& error) {
    if (!std::isfinite(value) || !std::isfinite(error))
        NoValue(value, error);
}

void ToUsUnits(TMeasurementRecord& r) {
    r.Radon = BqPerM3ToPicoCuriePerLitre(r.Radon);
    r.RadonFast = BqPerM3ToPicoCuriePerLitre(r.RadonFast);
    r.Thoron = BqPerM3ToPicoCuriePerLitre(r.Thoron);
    r.RadonEEC = BqPerM3ToPicoCuriePerLitre(r.RadonEEC);
    if (r.RadonPAEC != -1.0)
        r.RadonPAEC = NanojoulePerM3ToMilliWorkingLevel(r.RadonPAEC);
    if (r.ThoronPAEC != -1.0)
        r.ThoronPAEC = NanojoulePerM3ToMilliWorkingLevel(r.ThoronPAEC);
}

} // namespace

void CalculateConcentrations(Byte unitSystem, Byte family, Byte type, TMeasurementRecord& record,
                             const TInstrumentSetup& setup, const TCountValues& counts, Real absoluteHumidity,
                             const Array1<Word, 6>& uniCon, Real t, Byte softwareVersion,
                             Real& previousProgenyCount) {
    NoValue(record.Radon, record.RadonError);
    NoValue(record.RadonFast, record.RadonFastError);
    NoValue(record.Thoron, record.ThoronError);
    NoValue(record.RadonPAEC, record.RadonPAECError);
    NoValue(record.ThoronPAEC, record.ThoronPAECError);
    record.RadonEEC = -1.0;
    if (!(t > 0.0))
        return;

    if (family == FamilyHalvo) {
        switch (type) {
        case 1:
        case 2:
        case 3:
        case 5:
        case 7:
        case 8:
        case 9:
            HalvoSingleCounter(type, record, setup, counts[1], absoluteHumidity, uniCon, t);
            break;
        case 4:
        case 6:
        case 10:
            evaluation_detail::HalvoSpectrometric(record, counts, uniCon, t, softwareVersion);
            break;
        default:
            break;
        }
    } else if (family == FamilyDosika) {
        switch (type) {
        case 1:
            DosikaTwoCounters(record, counts, uniCon, t);
            break;
        case 4:
        case 5:
            evaluation_detail::DosikaSpectrometric(record, counts, uniCon, t);
            break;
        case 2:
        case 6:
            DosikaProgeny(record, counts, uniCon, t, previousProgenyCount);
            break;
        default:
            break;
        }
    }

    KeepFinite(record.Radon, record.RadonError);
    KeepFinite(record.RadonFast, record.RadonFastError);
    KeepFinite(record.Thoron, record.ThoronError);
    KeepFinite(record.RadonPAEC, record.RadonPAECError);
    KeepFinite(record.ThoronPAEC, record.ThoronPAECError);
    if (!std::isfinite(record.RadonEEC) || record.RadonPAEC == -1.0)
        record.RadonEEC = -1.0;

    if (unitSystem == UnitsUS)
        ToUsUnits(record);
}

namespace {

// Halvo tilt counter, variant A: 24-bit count, moved when the fourth byte is set.
// Variant B: 15-bit count, moved when bit 7 of the second byte is set.
// Each tilt costs four seconds of measuring; a counter beyond the interval leaves none.
void HalvoTilts(bool variantB, TMeasurementRecord& r, const TInstrumentRecord& raw) {
    const auto status = static_cast<std::uint32_t>(raw.Status);
    if (variantB) {
        r.NumberOfTilts = static_cast<Integer>(status & 0x7FFFu);
        r.Movement = ((status >> 15) & 1u) != 0;
    } else {
        r.NumberOfTilts = static_cast<Integer>(status & 0xFFFFFFu);
        r.Movement = (status >> 24) != 0;
    }
    r.SampleTime = std::max(0.0, raw.SampleInterval - 4.0 * r.NumberOfTilts / 60.0);
}

Real HalvoPressure(const TInstrumentHeader& header, const TInstrumentRecord& raw) {
    const Real p = raw.PressureRaw;
    return header.DeviceNumber > 1309 ? 0.4392 * p + 762.5 : 0.542 * p + 750.0;
}

// Sum of the interval spectrum over channels ROILevel[k]+1 .. ROILevel[k+1]. A level
// beyond the 38 channels is held at the last one.
Int64 RoiSum(const TInstrumentHeader& header, const TInstrumentRecord& raw, std::size_t k) {
    const std::size_t first = std::size_t{header.ROILevel[k]} + 1;
    const std::size_t last = std::min<std::size_t>(header.ROILevel[k + 1], IntervalChannels);
    Int64 sum = 0;
    for (std::size_t ch = first; ch <= last; ++ch)
        sum += raw.Channels[ch];
    return sum;
}

// A type without an entry delivers no counts and no effective time.
void EvaluateHalvo(const TInstrumentHeader& header, TMeasurementRecord& r, const TInstrumentRecord& raw,
                   Real& ah, TCountValues& c) {
    const Byte type = header.DeviceType;
    const Byte software = header.SoftwareVersion;
    const Real humidityRaw = raw.HumidityRaw;
    r.Humidity = 0.648 * humidityRaw - 4.0 - 0.00072 * humidityRaw * humidityRaw;
    r.Temperature = 0.5 * raw.TemperatureRaw - 40.0;
    ah = AbsoluteHumidity(r.Temperature, r.Humidity);
    const Real humidityFactor = (ah - 10.0) * 0.0085 + 1.0;
    const Real counts = raw.Counts;

    switch (type) {
    case 1:
        c[1] = counts;
        HalvoTilts(false, r, raw);
        break;
    case 2:
        c[1] = counts * (software > 7 ? humidityFactor : 1.0);
        HalvoTilts(false, r, raw);
        break;
    case 3:
        c[1] = counts * (software > 8 ? humidityFactor : 1.0);
        HalvoTilts(software > 7, r, raw);
        r.Pressure = HalvoPressure(header, raw);
        break;
    case 5:
        c[1] = counts;
        r.SampleTime = raw.SampleInterval;
        r.Movement = (static_cast<std::uint32_t>(raw.Status) >> 31) != 0;
        r.NumberOfTilts = 0;
        r.Pressure = HalvoPressure(header, raw);
        break;
    case 7:
    case 8:
    case 9:
        c[1] = counts;
        HalvoTilts(true, r, raw);
        r.Temperature = 0.6864 * raw.TemperatureRaw - 46.85;
        r.Humidity = 0.4883 * raw.HumidityRaw - 6.0;
        if (type == 8)
            r.Pressure = 0.4392 * raw.PressureRaw + 762.5;
        if (type == 9)
            r.CO2 = (static_cast<Real>(raw.PressureRaw) - 2.0) * 5.0;
        break;
    case 4:
    case 6:
    case 10: {
        const Real r0 = type == 4 ? 0.025 : 0.0085;
        const Real f = software > 11 ? (ah - 10.0) * r0 + 1.0 : 1.0;
        for (std::size_t k = 1; k <= 4; ++k) {
            const Int64 sum = RoiSum(header, raw, k);
            r.CountSums[k] = sum;
            c[k] = static_cast<Real>(sum) * f;
        }
        r.SampleTime = raw.SampleInterval;
        r.Movement = raw.Status != 0;
        const bool oldSensor =
            (type == 4 && header.DeviceNumber < 263) || (type == 6 && header.DeviceNumber < 17);
        const Real p = raw.PressureRaw;
        r.Pressure = oldSensor ? 0.4297 * p + 750.0 : 0.3866 * p + 762.5;
        return;
    }
    default:
        return;
    }
    r.CountSums[1] = raw.Counts; // single counter
}

void EvaluateDosika(Byte type, TMeasurementRecord& r, const TInstrumentRecord& raw, TCountValues& c) {
    for (std::size_t k = 1; k <= 5; ++k)
        r.CountSums[k] = raw.ROICounts[k];
    r.CountSums[6] = raw.ExtraCounts;
    for (std::size_t k = 1; k <= 6; ++k)
        c[k] = static_cast<Real>(r.CountSums[k]);
    r.SampleTime = raw.SampleInterval;
    r.NumberOfTilts = raw.Status;
    if (type == 5) {
        r.Temperature = 0.470588235 * raw.TemperatureRaw;
        r.Humidity = 0.493358634 * raw.HumidityRaw - 25.80645161;
    }
}

} // namespace

void EvaluateRecord(Byte unitSystem, const TInstrumentHeader& header, const TInstrumentSetup& setup,
                    TMeasurementRecord& record, const TInstrumentRecord& raw, Real& previousProgenyCount) {
    record.Time = raw.Time;
    record.Movement = false;
    record.Pressure = -1.0;
    record.Humidity = -1.0;
    record.Temperature = -1.0;

    TCountValues c{};
    Real ah = 0.0;
    if (header.DeviceFamily == FamilyHalvo)
        EvaluateHalvo(header, record, raw, ah, c);
    else if (header.DeviceFamily == FamilyDosika)
        EvaluateDosika(header.DeviceType, record, raw, c);

    CalculateConcentrations(unitSystem, header.DeviceFamily, header.DeviceType, record, setup, c, ah,
                            header.UniCon, record.SampleTime, header.SoftwareVersion, previousProgenyCount);

    if (unitSystem == UnitsUS) {
        record.Pressure = MillibarToInchHg(record.Pressure);
        // Converted even when it is -1: the instruments' evaluation does so, and the
        // validity matrix says whether a temperature exists.
        record.Temperature = CelsiusToFahrenheit(record.Temperature);
    }
}

bool ValidityMatrixFor(Byte family, Byte type, TSensorValidityMatrix& matrix) {
    TSensorValidityMatrix m;
    if (family == FamilyHalvo) {
        switch (type) {
        case 1:
        case 2:
        case 7:
        case 3:
        case 5:
        case 8:
        case 9:
            m.RadonValid = m.MovementValid = m.TempValid = m.rHValid = true;
            m.PresValid = type == 3 || type == 5 || type == 8;
            m.CO2Valid = type == 9;
            m.NumberOfValidROI = 1;
            break;
        case 4:
        case 6:
        case 10:
            m.RadonValid = m.RadonFastValid = m.ThoronValid = true;
            m.SpectrumValid = m.IntervalSpectrumValid = true;
            m.MovementValid = m.TempValid = m.rHValid = m.PresValid = true;
            m.NumberOfValidROI = 4;
            break;
        default:
            return false;
        }
    } else if (family == FamilyDosika) {
        switch (type) {
        case 1:
        case 4:
        case 5:
            m.RadonValid = m.RadonFastValid = m.SpectrumValid = true;
            m.ThoronValid = type != 1;
            m.TempValid = m.rHValid = type == 5;
            break;
        case 2:
        case 6:
            m.RadonEECValid = m.RadonPAECValid = m.ThoronPAECValid = m.SpectrumValid = true;
            break;
        default:
            return false;
        }
        m.NumberOfValidROI = 5;
    } else {
        return false;
    }
    matrix = m;
    return true;
}

void EvaluateDataSet(const TPhysicalUnits& units, const TInstrumentData& raw, TMeasurementData& data) {
    if (!raw.Valid) {
        data.Valid = false;
        return;
    }
    const std::size_t n = std::min<std::size_t>(raw.NumberOfRecords, MaxRecords);
    data.Valid = true;
    data.RelatedUnitSettings = units;
    data.NumberOfRecords = static_cast<Word>(n);

    // The thoron progeny of each record depends on the one before; every evaluation of
    // a data set starts afresh.
    Real previousProgenyCount = 0.0;
    const TInstrumentRecord* in = raw.Records.data();
    TMeasurementRecord* out = data.Data.data();
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = TMeasurementRecord{};
        EvaluateRecord(units.SelectedUnits, raw.Header, raw.Setup, out[i], in[i], previousProgenyCount);
        out[i].SeriesStart =
            i == 0 || MinutesBetween(in[i].Time, in[i - 1].Time) != Integer{in[i].SampleInterval};
    }
    ValidityMatrixFor(raw.Header.DeviceFamily, raw.Header.DeviceType, data.SensorValidityMatrix);
}

} // namespace lumetra
