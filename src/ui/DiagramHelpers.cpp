#include "ui/DiagramHelpers.h"

#include "evaluation/Smoothing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace lumetra {
namespace {

Integer RecordCount(const TMeasurementData& data) {
    return static_cast<Integer>(std::min<std::size_t>(data.NumberOfRecords, MaxRecords));
}

// Record index arithmetic in 64 bits, held to the Integer range.
Integer ClampToInteger(Int64 value) {
    return static_cast<Integer>(std::clamp<Int64>(value, std::numeric_limits<Integer>::min(),
                                                  std::numeric_limits<Integer>::max()));
}

// More ticks than any screen has pixels: a bound for loops over a scale whose units
// came from elsewhere.
constexpr std::size_t MaxScaleTicks = 10000;

} // namespace

Integer RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<Integer>::min();
    constexpr double highest = std::numeric_limits<Integer>::max();
    if (value <= lowest)
        return std::numeric_limits<Integer>::min();
    if (value >= highest)
        return std::numeric_limits<Integer>::max();
    double rounded = std::round(value); // halves away from zero
    if (std::abs(value - std::trunc(value)) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    return static_cast<Integer>(rounded);
}

void BuildTimeTicks(Integer axisLength, Integer labelHeight, const TMeasurementData& data, Integer zoom,
                    Integer firstVisibleRecord, TTickMarkList& ticks, Integer& lastTick) {
    ticks.Clear();
    const Int64 a = std::max<Integer>(axisLength, 0);
    const Int64 h = std::max<Integer>(labelHeight, 1);
    const Int64 z = std::max<Integer>(zoom, 1);
    const Int64 maxTicks = a / (3 * h) + 1;
    const Int64 visible = a / z;
    Int64 step = 1;
    Int64 last = visible;
    if (visible > maxTicks) {
        step = visible / maxTicks;
        last = a / (step * z);
    }
    lastTick = static_cast<Integer>(last);
    for (Int64 k = 0; k <= last; ++k) {
        TTickMark mark;
        mark.XPos = ClampToInteger(k * step * z);
        TDeviceTime time{};
        RecordTimeAtX(mark.XPos, data, static_cast<Integer>(z), time, firstVisibleRecord);
        if (time.Year != 0)
            mark.Caption = DateTimeText(time);
        ticks.Add(std::move(mark));
    }
}

void RecordTimeAtX(Integer xPos, const TMeasurementData& data, Integer zoom, TDeviceTime& time,
                   Integer firstRecord) {
    if (!data.Valid || zoom <= 0)
        return;
    const Integer r = RecordUnderX(xPos, firstRecord, zoom);
    if (r < 1 || r > RecordCount(data)) {
        time.Year = 0;
        return;
    }
    time = data.Data[static_cast<std::size_t>(r)].Time;
}

TTextOffset RotatedTextOffset(Integer textWidth, Integer escapement) {
    const double angle = escapement / 3600.0 * 2.0 * std::numbers::pi;
    return {RoundHalfEven(std::cos(angle) * textWidth), RoundHalfEven(std::sin(angle) * textWidth)};
}

Integer RecordX(Integer record, Integer firstVisibleRecord, Integer zoom) {
    return ClampToInteger((Int64{record} - firstVisibleRecord) * zoom);
}

Integer RecordUnderX(Integer x, Integer firstVisibleRecord, Integer zoom) {
    const Int64 z = std::max<Integer>(zoom, 1);
    const Int64 half = RoundHalfEven(static_cast<double>(z) / 2.0);
    return ClampToInteger(firstVisibleRecord + (Int64{x} + half) / z);
}

TRecordRange VisibleRecords(const TViewState& view, const TMeasurementData& data) {
    return {std::max<Integer>(view.FirstVisibleRecord, 1), std::min<Integer>(view.LastVisibleRecord, RecordCount(data))};
}

TDiagramScale DiagramScale(const TMeasurementData& data, const TViewState& view, Integer innerHeight) {
    const TRecordRange range = VisibleRecords(view, data);
    TDiagramScale scale;
    const double ymax = MaxUpperErrorBound(range.First, range.Last, view.RadonDisplayMode, data);
    if (ymax > 0.0 && std::isfinite(ymax))
        scale.Ymax = ymax;
    scale.K = innerHeight / scale.Ymax;
    return scale;
}

Int64 GridStep(double ymax) {
    if (!(ymax > 0.0) || !std::isfinite(ymax))
        ymax = FallbackYmax;
    double s = ymax / 10.0;
    int j = 0;
    // 10^17 is the largest power that still leaves room for the factor up to 10.
    while (s > 10.0 && j < 17) {
        s /= 10.0;
        ++j;
    }
    Int64 power = 1;
    for (int i = 0; i < j; ++i)
        power *= 10;
    return (static_cast<Int64>(std::trunc(std::min(s, 10.0))) + 1) * power;
}

std::vector<TScaleTick> GridTicks(Integer innerHeight, double ymax) {
    std::vector<TScaleTick> ticks;
    if (!(ymax > 0.0) || !std::isfinite(ymax))
        ymax = FallbackYmax;
    const Int64 n = GridStep(ymax);
    const double k = innerHeight / ymax;
    const Int64 pixels = RoundHalfEven(static_cast<double>(n) * k); // rounded once, then multiplied
    if (pixels <= 0)
        return ticks; // a box too low for even one line
    for (Int64 q = 1;; ++q) {
        const Int64 y = innerHeight - pixels * q;
        if (y <= 0)
            break;
        ticks.push_back({static_cast<Integer>(y), static_cast<double>(q * n)});
    }
    return ticks;
}

TRgb StripColour(Integer record, const TViewState& view, const TMeasurementData& data) {
    const bool inside = view.BordersSelected && view.LeftBorderIndex <= record && record <= view.RightBorderIndex;
    const bool moved = data.SensorValidityMatrix.MovementValid && record >= 1 && record <= RecordCount(data) &&
                       data.Data[static_cast<std::size_t>(record)].Movement;
    if (inside)
        return moved ? BorderedMovedStrip : BorderedStrip;
    return moved ? Silver : White;
}

TRadonPoint RadonPoint(const TMeasurementRecord& record, Byte displayMode, Integer innerHeight, double k) {
    const double v = DisplayValue(record, displayMode);
    const double r = DisplayError(record, displayMode);
    const bool skipsNegativeError = displayMode != 4 && displayMode != 5;
    if (skipsNegativeError && r < 0.0)
        return {innerHeight, 0};
    const Integer p = RoundHalfEven(v * k);
    return {ClampToInteger(Int64{innerHeight} - p), RoundHalfEven(p * r / 100.0)};
}

TClimateScale ClimateScale(TClimateQuantity quantity, const TPhysicalUnits& units) {
    TClimateScale s;
    s.Quantity = quantity;
    switch (quantity) {
    case TClimateQuantity::Temperature:
        s = {quantity, {255, 0, 0}, units.TempOffset, units.TempSpan, units.SubDivTemp, 0, 10, 10, 4, 1,
             units.TempUnitString};
        break;
    case TClimateQuantity::Humidity:
        s = {quantity, {0, 0, 255}, 0.0, units.HumSpan, units.SubDivHum, 40, 50, 50, 3, 0, "%rH"};
        break;
    case TClimateQuantity::Pressure:
        s = {quantity, {255, 0, 255}, units.PresOffset, units.PresSpan, units.SubDivPres, 80, 90, 90, 5,
             units.PresDecimals, units.PresUnitString};
        break;
    case TClimateQuantity::CO2:
        s = {quantity, Maroon, units.CO2Offset, units.CO2Span, units.SubDivCO2, 80, 90, 90, 5, 0,
             units.CO2UnitString};
        break;
    }
    return s;
}

bool ClimateShown(TClimateQuantity quantity, const TSensorValidityMatrix& validity) {
    switch (quantity) {
    case TClimateQuantity::Humidity:
        return validity.rHValid;
    case TClimateQuantity::Temperature:
        return validity.TempValid;
    case TClimateQuantity::Pressure:
        return validity.PresValid;
    case TClimateQuantity::CO2:
        return validity.CO2Valid;
    }
    return false;
}

double ClimateValue(const TMeasurementRecord& record, TClimateQuantity quantity) {
    switch (quantity) {
    case TClimateQuantity::Humidity:
        return record.Humidity;
    case TClimateQuantity::Temperature:
        return record.Temperature;
    case TClimateQuantity::Pressure:
        return record.Pressure;
    case TClimateQuantity::CO2:
        return record.CO2;
    }
    return -1.0;
}

Integer ClimateY(double value, const TClimateScale& scale, Integer innerHeight) {
    const double h = innerHeight;
    const double pixels = scale.Quantity == TClimateQuantity::Humidity ? h * value / scale.Span
                                                                       : (value - scale.Offset) * h / scale.Span;
    return ClampToInteger(Int64{innerHeight} - RoundHalfEven(pixels));
}

std::vector<TScaleTick> ClimateScaleTicks(const TClimateScale& scale, Integer innerHeight) {
    std::vector<TScaleTick> ticks;
    const double top = scale.Offset + scale.Span;
    for (std::size_t q = 1; q <= MaxScaleTicks; ++q) {
        const double u = scale.Offset + static_cast<double>(q) * scale.Step;
        if (q > 1 && !(u < top))
            break;
        ticks.push_back({ClimateY(u, scale, innerHeight), u});
        if (!(scale.Step > 0.0))
            break; // a scale without a positive step has only its first tick
    }
    return ticks;
}

} // namespace lumetra
