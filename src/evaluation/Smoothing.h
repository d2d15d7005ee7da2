#pragma once
// Moving averages of the displayed quantity that never reach across a series start, and
// the top of the error bars that scales the concentration axis.

#include "core/GlobalDefinitions.h"

namespace lumetra {

struct TSmoothedSeries {
    Byte DisplayMode = 1;
    Integer Period = 0; // records on each side; 0 = no smoothing
    RecordArray<Real, MaxRecords> Values;
};

// The value and relative error of a record for a display mode (1..6).
Real DisplayValue(const TMeasurementRecord& record, Byte displayMode);
Real DisplayError(const TMeasurementRecord& record, Byte displayMode);

// Fills Values[1..NumberOfRecords] with the moving average over ±Period records.
void SmoothSeries(const TMeasurementData& data, TSmoothedSeries& series);

// The largest value × (1 + error / 100) over records first..last; 0 when none is above 0.
Real MaxUpperErrorBound(Integer first, Integer last, Byte displayMode, const TMeasurementData& data);

} // namespace lumetra
