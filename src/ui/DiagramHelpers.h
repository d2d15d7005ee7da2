#pragma once
// The drawing math of the time-series diagram, free of any toolkit so that it can be
// tested without a widget: time ticks, the concentration scale and its grid, record
// positions, strip shades, point and error-bar heights and the climate scales.
// Coordinates are those of the inner diagram box: x from 0 at its left edge, y growing
// downwards, y = H the zero line of every scale.

#include "core/GlobalDefinitions.h"
#include "core/PhysicalUnits.h"
#include "ui/ViewState.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace lumetra {

// Nearest integer, halves to even. NaN gives 0; values beyond the Integer range are
// held at its ends, so that a wild value draws off-screen instead of overflowing.
Integer RoundHalfEven(double value);

// One tick of the time axis.
struct TTickMark {
    Integer XPos = 0;    // x in the inner diagram
    std::string Caption; // may be empty: no record lies there
};

// The ticks of one paint.
class TTickMarkList {
public:
    void Add(TTickMark mark) { Marks.push_back(std::move(mark)); }
    // An index past the end gives an empty mark at x 0.
    const TTickMark& Get(std::size_t index) const {
        static const TTickMark none;
        return index < Marks.size() ? Marks[index] : none;
    }
    std::size_t Count() const { return Marks.size(); }
    void Clear() { Marks.clear(); }

private:
    std::vector<TTickMark> Marks;
};

// Fills `ticks` (cleared first) with the ticks of an axis `axisLength` pixels long whose
// labels are `labelHeight` high, and sets `lastTick` to the index of the last one. A
// zoom or label height below 1 counts as 1.
void BuildTimeTicks(Integer axisLength, Integer labelHeight, const TMeasurementData& data, Integer zoom,
                    Integer firstVisibleRecord, TTickMarkList& ticks, Integer& lastTick);

// The time of the record nearest to x. Leaves `time` as it is when the data set is not
// valid or the zoom is not positive; a Year of 0 means that no record lies there.
void RecordTimeAtX(Integer xPos, const TMeasurementData& data, Integer zoom, TDeviceTime& time,
                   Integer firstRecord);

// Horizontal and vertical extent of a label `textWidth` wide drawn at `escapement`
// tenths of a degree.
struct TTextOffset {
    Integer Dx = 0;
    Integer Dy = 0;
    bool operator==(const TTextOffset&) const = default;
};
TTextOffset RotatedTextOffset(Integer textWidth, Integer escapement);

// Where record i is drawn, and the record whose point is nearest to x.
Integer RecordX(Integer record, Integer firstVisibleRecord, Integer zoom);
Integer RecordUnderX(Integer x, Integer firstVisibleRecord, Integer zoom);

// The records a paint visits: the view's range cut to 1..NumberOfRecords. Empty (first
// > last) for a data set without records.
struct TRecordRange {
    Integer First = 1;
    Integer Last = 0;
};
TRecordRange VisibleRecords(const TViewState& view, const TMeasurementData& data);

// Top of the concentration scale: the largest upper error bound in view, 110 when that
// is 0 (or not a usable number), and the pixels per unit K = H / Ymax.
constexpr double FallbackYmax = 110.0;
struct TDiagramScale {
    double Ymax = FallbackYmax;
    double K = 0.0;
};
TDiagramScale DiagramScale(const TMeasurementData& data, const TViewState& view, Integer innerHeight);

// Distance of the horizontal grid lines in units of the scale: 1, 2, .. 10 times a power of ten.
Int64 GridStep(double ymax);

// The grid lines and left-scale ticks: rows y = H - Round(N × K) × q for q = 1, 2, ..
// while y > 0, each with its value q × N.
struct TScaleTick {
    Integer Y = 0;
    double Value = 0.0;
};
std::vector<TScaleTick> GridTicks(Integer innerHeight, double ymax);

// Colour as red, green, blue.
struct TRgb {
    Byte R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};
constexpr TRgb White{255, 255, 255};
constexpr TRgb Silver{192, 192, 192};
constexpr TRgb BlackInk{0, 0, 0}; // not "Black": the summary colour of that name shares the namespace
constexpr TRgb CurveGreen{0, 128, 0};
constexpr TRgb Maroon{128, 0, 0};
constexpr TRgb BorderedStrip{47, 47, 47};
constexpr TRgb BorderedMovedStrip{79, 79, 79};

// Background strip of record i: darker inside the borders, grey where the instrument was moved.
TRgb StripColour(Integer record, const TViewState& view, const TMeasurementData& data);

// Height of a radon point and half-height of its error bar, both in pixels. Modes 1, 2,
// 3 and 6 put a point with a negative error on the zero line without a bar.
struct TRadonPoint {
    Integer Y = 0;
    Integer E = 0;
    bool operator==(const TRadonPoint&) const = default;
};
TRadonPoint RadonPoint(const TMeasurementRecord& record, Byte displayMode, Integer innerHeight, double k);

// The climate quantities in the order their curves are drawn.
enum class TClimateQuantity { Humidity, Temperature, Pressure, CO2 };
constexpr TClimateQuantity ClimateCurveOrder[] = {TClimateQuantity::Humidity, TClimateQuantity::Temperature,
                                                  TClimateQuantity::Pressure, TClimateQuantity::CO2};
constexpr TClimateQuantity ClimateScaleOrder[] = {TClimateQuantity::Temperature, TClimateQuantity::Humidity,
                                                  TClimateQuantity::Pressure, TClimateQuantity::CO2};

// How one climate quantity is scaled, coloured and labelled. Humidity has no offset: its
// scale always starts at 0.
struct TClimateScale {
    TClimateQuantity Quantity = TClimateQuantity::Humidity;
    TRgb Colour;
    double Offset = 0.0;
    double Span = 0.0;
    double Step = 0.0;
    Integer AxisX = 0;   // axis line in the right scale box
    Integer LabelX = 0;  // tick labels in the right scale box
    Integer HeaderX = 0; // header text, from the left of the right scale box
    int Precision = 0;   // fixed-point format of the tick labels
    int Decimals = 0;
    std::string HeaderText;
};
TClimateScale ClimateScale(TClimateQuantity quantity, const TPhysicalUnits& units);
bool ClimateShown(TClimateQuantity quantity, const TSensorValidityMatrix& validity);
double ClimateValue(const TMeasurementRecord& record, TClimateQuantity quantity);

// Row of a climate value on its scale.
Integer ClimateY(double value, const TClimateScale& scale, Integer innerHeight);

// Ticks of a right scale at Offset + Step, Offset + 2 × Step, .. below Offset + Span;
// the first is always there.
std::vector<TScaleTick> ClimateScaleTicks(const TClimateScale& scale, Integer innerHeight);

} // namespace lumetra
