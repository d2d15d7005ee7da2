#include "evaluation/Smoothing.h"

#include "evaluation/IntegralData.h"

#include <algorithm>

namespace lumetra {
namespace {

Integer RecordCount(const TMeasurementData& data) {
    return static_cast<Integer>(std::min<std::size_t>(data.NumberOfRecords, MaxRecords));
}

// The smoothed quantity: thoron and thoron-progeny values without a positive error
// are not usable and count as 0.
Real SmoothingValue(const TMeasurementRecord& record, Byte displayMode) {
    switch (displayMode) {
    case DisplayMode::Thoron:
        return record.ThoronError > 0.0 ? record.Thoron : 0.0;
    case DisplayMode::ThoronPAEC:
        return record.ThoronPAECError > 0.0 ? record.ThoronPAEC : 0.0;
    default:
        return DisplayValue(record, displayMode);
    }
}

} // namespace

Real DisplayValue(const TMeasurementRecord& record, Byte displayMode) {
    switch (displayMode) {
    case DisplayMode::Radon:
        return record.Radon;
    case DisplayMode::RadonFast:
        return record.RadonFast;
    case DisplayMode::Thoron:
        return record.Thoron;
    case DisplayMode::RadonEEC:
        return record.RadonEEC;
    case DisplayMode::RadonPAEC:
        return record.RadonPAEC;
    case DisplayMode::ThoronPAEC:
        return record.ThoronPAEC;
    default:
        return -1.0;
    }
}

Real DisplayError(const TMeasurementRecord& record, Byte displayMode) {
    switch (displayMode) {
    case DisplayMode::Radon:
        return record.RadonError;
    case DisplayMode::RadonFast:
        return record.RadonFastError;
    case DisplayMode::Thoron:
        return record.ThoronError;
    case DisplayMode::RadonEEC: // the EEC carries the error of the PAEC it comes from
    case DisplayMode::RadonPAEC:
        return record.RadonPAECError;
    case DisplayMode::ThoronPAEC:
        return record.ThoronPAECError;
    default:
        return -1.0;
    }
}

void SmoothSeries(const TMeasurementData& data, TSmoothedSeries& series) {
    const Integer n = RecordCount(data);
    const Int64 period = std::max<Integer>(series.Period, 0);
    const Byte mode = series.DisplayMode;
    // Plain pointers: the indexed accessors check every access in debug builds.
    const TMeasurementRecord* records = data.Data.data(); // record i at records[i - 1]
    Real* values = series.Values.data();

    // The window of record i runs from the last series start at or before i (or i - P)
    // up to the record before the next series start (or i + P). It is summed in record
    // order from its first record, so the result is that of the plain window walk.
    Integer seriesBegin = 1;
    Integer seriesEnd = 0; // last record of the series holding i
    for (Integer i = 1; i <= n; ++i) {
        if (records[i - 1].SeriesStart)
            seriesBegin = i;
        if (i > seriesEnd) {
            seriesEnd = i;
            while (seriesEnd < n && !records[seriesEnd].SeriesStart)
                ++seriesEnd;
        }
        const Integer from = static_cast<Integer>(std::max<Int64>(seriesBegin, i - period));
        const Integer to = static_cast<Integer>(std::min<Int64>(seriesEnd, i + period));
        Real sum = 0.0;
        for (Integer j = from; j <= to; ++j)
            sum += SmoothingValue(records[j - 1], mode);
        values[i - 1] = sum / static_cast<Real>(to - from + 1);
    }
}

Real MaxUpperErrorBound(Integer first, Integer last, Byte displayMode, const TMeasurementData& data) {
    Real result = 0.0;
    const Integer from = std::max<Integer>(first, 1);
    const Integer to = std::min<Integer>(last, RecordCount(data));
    for (Integer i = from; i <= to; ++i) {
        const TMeasurementRecord& record = data.Data[i];
        const Real value = DisplayValue(record, displayMode);
        const Real upper = value + value * DisplayError(record, displayMode) / 100.0;
        if (upper > result)
            result = upper;
    }
    return result;
}

} // namespace lumetra
