// The diagram's drawing math, checked against values worked out by hand.

#include "ui/DiagramHelpers.h"

#include "DiagramTestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace lumetra {
namespace {

using diagram_test::FlatSet;
using diagram_test::ViewOf;

std::vector<Integer> Rows(const std::vector<TScaleTick>& ticks) {
    std::vector<Integer> rows;
    for (const TScaleTick& t : ticks)
        rows.push_back(t.Y);
    return rows;
}

std::vector<double> Values(const std::vector<TScaleTick>& ticks) {
    std::vector<double> values;
    for (const TScaleTick& t : ticks)
        values.push_back(t.Value);
    return values;
}

TEST(DiagramRounding, RoundsHalvesToEvenAndHoldsWildValues) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-7.6), -8);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<Integer>::max());
    EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()), std::numeric_limits<Integer>::min());
}

TEST(DiagramTimeTicks, SpacesTicksByThreeLabelHeights) {
    // 700 div 39 + 1 = 18 ticks fit; 700 records in view; step 700 div 18 = 38 records;
    // last tick 700 div 38 = 18.
    auto data = FlatSet(1000);
    TTickMarkList ticks;
    Integer lastTick = -1;
    BuildTimeTicks(700, 13, *data, 1, 1, ticks, lastTick);
    EXPECT_EQ(lastTick, 18);
    ASSERT_EQ(ticks.Count(), 19u);
    for (std::size_t k = 0; k < ticks.Count(); ++k) {
        EXPECT_EQ(ticks.Get(k).XPos, static_cast<Integer>(38 * k));
        EXPECT_EQ(ticks.Get(k).Caption, DateTimeText(data->Data[1 + 38 * k].Time)) << k;
    }

    // Scrolled to record 5, the captions follow the view.
    BuildTimeTicks(700, 13, *data, 1, 5, ticks, lastTick);
    ASSERT_EQ(ticks.Count(), 19u);
    EXPECT_EQ(ticks.Get(3).Caption, DateTimeText(data->Data[5 + 3 * 38].Time));
}

TEST(DiagramTimeTicks, StepAndLastTickFollowTheZoom) {
    auto data = FlatSet(1000);
    TTickMarkList ticks;
    Integer lastTick = 0;
    // Zoom 10: 70 records in view > 18, step 70 div 18 = 3, last tick 700 div 30 = 23.
    BuildTimeTicks(700, 13, *data, 10, 1, ticks, lastTick);
    EXPECT_EQ(lastTick, 23);
    ASSERT_EQ(ticks.Count(), 24u);
    EXPECT_EQ(ticks.Get(23).XPos, 690);
    EXPECT_EQ(ticks.Get(2).Caption, DateTimeText(data->Data[7].Time));

    // Zoom 50: only 14 records in view, one tick each, the last at the right edge.
    BuildTimeTicks(700, 13, *data, 50, 1, ticks, lastTick);
    EXPECT_EQ(lastTick, 14);
    ASSERT_EQ(ticks.Count(), 15u);
    EXPECT_EQ(ticks.Get(14).XPos, 700);
    EXPECT_EQ(ticks.Get(14).Caption, DateTimeText(data->Data[15].Time));
}

TEST(DiagramTimeTicks, TicksPastTheLastRecordHaveNoCaption) {
    auto data = FlatSet(600);
    TTickMarkList ticks;
    Integer lastTick = 0;
    BuildTimeTicks(700, 13, *data, 1, 1, ticks, lastTick);
    ASSERT_EQ(ticks.Count(), 19u);
    EXPECT_FALSE(ticks.Get(15).Caption.empty()); // record 571
    for (std::size_t k = 16; k <= 18; ++k)       // records 609, 647, 685
        EXPECT_TRUE(ticks.Get(k).Caption.empty()) << k;
}

TEST(DiagramTimeTicks, OneRecordGivesTwoTicksTheSecondWithoutCaption) {
    auto data = FlatSet(1);
    TTickMarkList ticks;
    Integer lastTick = 0;
    BuildTimeTicks(700, 13, *data, 700, 1, ticks, lastTick);
    EXPECT_EQ(lastTick, 1);
    ASSERT_EQ(ticks.Count(), 2u);
    EXPECT_EQ(ticks.Get(0).XPos, 0);
    EXPECT_EQ(ticks.Get(0).Caption, DateTimeText(data->Data[1].Time));
    EXPECT_EQ(ticks.Get(1).XPos, 700);
    EXPECT_TRUE(ticks.Get(1).Caption.empty());
}

TEST(DiagramTimeTicks, DegenerateArgumentsStayBounded) {
    auto data = FlatSet(10);
    TTickMarkList ticks;
    ticks.Add({5, "stale"});
    Integer lastTick = -1;
    BuildTimeTicks(0, 13, *data, 1, 1, ticks, lastTick); // a box without width
    EXPECT_EQ(lastTick, 0);
    ASSERT_EQ(ticks.Count(), 1u);
    EXPECT_EQ(ticks.Get(0).XPos, 0);
    // Zoom 0 and label height 0 count as 1: like zoom 1 with 3-pixel spacing.
    BuildTimeTicks(30, 0, *data, 0, 1, ticks, lastTick);
    // MaxTicks 30 div 3 + 1 = 11 < 30 records in view: step 2, last tick 15.
    EXPECT_EQ(lastTick, 15);
    ASSERT_EQ(ticks.Count(), 16u);
    EXPECT_EQ(ticks.Get(15).XPos, 30);
    EXPECT_EQ(ticks.Get(16).XPos, 0);
    EXPECT_TRUE(ticks.Get(16).Caption.empty());
}

TEST(DiagramRecordTime, GivesTheNearestRecordOrYearZero) {
    auto data = FlatSet(20);
    const TDeviceTime untouched = MakeDeviceTime(1999, 1, 2, 3, 4);
    TDeviceTime t = untouched;
    RecordTimeAtX(6, *data, 4, t, 1); // (6 + 2) div 4 = 2: record 3
    EXPECT_EQ(t, data->Data[3].Time);
    RecordTimeAtX(1, *data, 1, t, 1); // Round(0.5) = 0: record 2
    EXPECT_EQ(t, data->Data[2].Time);
    RecordTimeAtX(5, *data, 10, t, 11); // (5 + 5) div 10 = 1: record 12
    EXPECT_EQ(t, data->Data[12].Time);

    t = untouched;
    RecordTimeAtX(20, *data, 1, t, 1); // record 21 of 20
    EXPECT_EQ(t.Year, 0);
    t = untouched;
    RecordTimeAtX(-40, *data, 1, t, 1); // left of the first record
    EXPECT_EQ(t.Year, 0);

    // Nothing is written for zoom 0 or a data set that is not valid.
    t = untouched;
    RecordTimeAtX(0, *data, 0, t, 1);
    EXPECT_EQ(t, untouched);
    data->Valid = false;
    RecordTimeAtX(0, *data, 1, t, 1);
    EXPECT_EQ(t, untouched);
}

TEST(DiagramRecordPosition, PlacesRecordsAndFindsTheOneUnderTheMouse) {
    EXPECT_EQ(RecordX(1, 1, 1), 0);
    EXPECT_EQ(RecordX(10, 4, 7), 42);
    EXPECT_EQ(RecordX(3, 5, 2), -4);
    EXPECT_EQ(RecordUnderX(0, 1, 1), 1);
    EXPECT_EQ(RecordUnderX(1, 1, 1), 2);
    EXPECT_EQ(RecordUnderX(6, 1, 4), 3);
    EXPECT_EQ(RecordUnderX(5, 1, 4), 2);
    EXPECT_EQ(RecordUnderX(7, 100, 14), 101); // Round(7) = 7: (7 + 7) div 14 = 1
    EXPECT_EQ(RecordUnderX(6, 100, 14), 100);
    EXPECT_EQ(RecordUnderX(12, 1, 5), 3); // Round(2.5) = 2: (12 + 2) div 5 = 2
}

TEST(DiagramRecordPosition, VisibleRangeIsCutToTheDataSet) {
    auto data = FlatSet(50);
    TRecordRange range = VisibleRecords(ViewOf(1, 52, 14), *data);
    EXPECT_EQ(range.First, 1);
    EXPECT_EQ(range.Last, 50);
    range = VisibleRecords(ViewOf(0, 10, 1), *data);
    EXPECT_EQ(range.First, 1);
    EXPECT_EQ(range.Last, 10);
}

TEST(DiagramRotatedText, GivesTheExtentsOfATurnedLabel) {
    EXPECT_EQ(RotatedTextOffset(100, 450), (TTextOffset{71, 71}));   // 70.71
    EXPECT_EQ(RotatedTextOffset(90, 450), (TTextOffset{64, 64}));    // 63.64
    EXPECT_EQ(RotatedTextOffset(100, 0), (TTextOffset{100, 0}));
    EXPECT_EQ(RotatedTextOffset(100, 900), (TTextOffset{0, 100}));
    EXPECT_EQ(RotatedTextOffset(100, 300), (TTextOffset{87, 50}));   // 86.60, 50.00
    EXPECT_EQ(RotatedTextOffset(0, 450), (TTextOffset{0, 0}));
}

TEST(DiagramGrid, StepIsOneToTenTimesAPowerOfTen) {
    EXPECT_EQ(GridStep(110), 20); // s = 11 -> 1.1, j = 1
    EXPECT_EQ(GridStep(45), 5);
    EXPECT_EQ(GridStep(7), 1);
    EXPECT_EQ(GridStep(100), 11); // s = 10 is not above 10
    EXPECT_EQ(GridStep(101), 20);
    EXPECT_EQ(GridStep(5000), 600); // s = 500 -> 5, j = 2
    EXPECT_EQ(GridStep(0), 20);    // the fallback scale of 110
    EXPECT_GT(GridStep(std::numeric_limits<double>::infinity()), 0);
    EXPECT_GT(GridStep(1e300), 0);
}

TEST(DiagramGrid, LinesAreTheRoundedStepTimesQ) {
    // H 380, Ymax 110: N 20, Round(20 × 380 / 110) = Round(69.09) = 69.
    auto ticks = GridTicks(380, 110);
    EXPECT_EQ(Rows(ticks), (std::vector<Integer>{311, 242, 173, 104, 35}));
    EXPECT_EQ(Values(ticks), (std::vector<double>{20, 40, 60, 80, 100}));
    // Ymax 45: N 5, Round(42.22) = 42; nine lines up to y = 2.
    ticks = GridTicks(380, 45);
    EXPECT_EQ(Rows(ticks), (std::vector<Integer>{338, 296, 254, 212, 170, 128, 86, 44, 2}));
    EXPECT_EQ(ticks.back().Value, 45);
    // Ymax 7: N 1, Round(54.29) = 54.
    EXPECT_EQ(Rows(GridTicks(380, 7)), (std::vector<Integer>{326, 272, 218, 164, 110, 56, 2}));
    // Rounded once, then multiplied: 18.18 -> 18 gives 46, 28, 10, not 45, 27, 9.
    EXPECT_EQ(Rows(GridTicks(100, 110)), (std::vector<Integer>{82, 64, 46, 28, 10}));
    // 5 × 2.5 = 12.5 rounds to 12.
    EXPECT_EQ(Rows(GridTicks(100, 40)), (std::vector<Integer>{88, 76, 64, 52, 40, 28, 16, 4}));
    // 20 × 4 / 110 = 0.73 still rounds to a 1-pixel step; 0.36 gives no line and no
    // endless loop.
    EXPECT_EQ(Rows(GridTicks(4, 110)), (std::vector<Integer>{3, 2, 1}));
    EXPECT_TRUE(GridTicks(2, 110).empty());
    EXPECT_TRUE(GridTicks(0, 110).empty());
}

TEST(DiagramScale, TakesTheLargestUpperErrorBoundInView) {
    auto data = FlatSet(30);
    data->Data[12].Radon = 100.0;
    data->Data[12].RadonError = 10.0;
    data->Data[25].Radon = 500.0; // out of view
    data->Data[25].RadonError = 0.0;
    TDiagramScale scale = DiagramScale(*data, ViewOf(1, 20, 1), 380);
    EXPECT_DOUBLE_EQ(scale.Ymax, 110.0);
    EXPECT_DOUBLE_EQ(scale.K, 380.0 / 110.0);
    scale = DiagramScale(*data, ViewOf(1, 30, 1), 380);
    EXPECT_DOUBLE_EQ(scale.Ymax, 500.0);

    // All zero: the scale runs to 110.
    auto flat = FlatSet(30);
    scale = DiagramScale(*flat, ViewOf(1, 30, 1), 220);
    EXPECT_DOUBLE_EQ(scale.Ymax, 110.0);
    EXPECT_DOUBLE_EQ(scale.K, 2.0);
}

TEST(DiagramStrips, ShadeBordersAndMovement) {
    auto data = FlatSet(30);
    data->SensorValidityMatrix.MovementValid = true;
    data->Data[15].Movement = true;
    data->Data[25].Movement = true;
    TViewState view = ViewOf(1, 30, 1);
    view.LeftBorderIndex = 10;
    view.RightBorderIndex = 20;

    // Borders not selected: only the movement shows.
    EXPECT_EQ(StripColour(12, view, *data), White);
    EXPECT_EQ(StripColour(15, view, *data), Silver);

    view.BordersSelected = true;
    const TRgb bordered{47, 47, 47};
    const TRgb borderedMoved{79, 79, 79};
    const TRgb silver{192, 192, 192};
    for (Integer i = 10; i <= 20; ++i)
        EXPECT_EQ(StripColour(i, view, *data), i == 15 ? borderedMoved : bordered) << i;
    EXPECT_EQ(StripColour(9, view, *data), White);
    EXPECT_EQ(StripColour(21, view, *data), White);
    EXPECT_EQ(StripColour(25, view, *data), silver);

    // Without a movement sensor the flag is not read.
    data->SensorValidityMatrix.MovementValid = false;
    EXPECT_EQ(StripColour(15, view, *data), bordered);
    EXPECT_EQ(StripColour(25, view, *data), White);
}

TEST(DiagramRadonPoint, HeightAndErrorBarPerMode) {
    TMeasurementRecord r;
    r.Radon = 50.0;
    r.RadonError = 10.0;
    EXPECT_EQ(RadonPoint(r, 1, 200, 2.0), (TRadonPoint{100, 10}));
    r.RadonError = 5.0; // p 50 × 5 % = 2.5 rounds to 2
    EXPECT_EQ(RadonPoint(r, 1, 200, 1.0), (TRadonPoint{150, 2}));
    r.RadonError = -1.0; // a detection limit sits on the zero line
    EXPECT_EQ(RadonPoint(r, 1, 200, 2.0), (TRadonPoint{200, 0}));

    r.RadonFast = 30.0;
    r.RadonFastError = 20.0;
    EXPECT_EQ(RadonPoint(r, 2, 200, 3.0), (TRadonPoint{110, 18}));
    r.Thoron = 30.0;
    r.ThoronError = -1.0;
    EXPECT_EQ(RadonPoint(r, 3, 200, 3.0), (TRadonPoint{200, 0}));

    // EEC and radon PAEC are drawn whatever their error.
    r.RadonEEC = 40.0;
    r.RadonPAEC = 60.0;
    r.RadonPAECError = -1.0;
    EXPECT_EQ(RadonPoint(r, 4, 200, 2.5), (TRadonPoint{100, -1}));
    EXPECT_EQ(RadonPoint(r, 5, 200, 2.0), (TRadonPoint{80, -1})); // p 120 × -1 % = -1.2
    r.ThoronPAEC = 10.0;
    r.ThoronPAECError = -1.0;
    EXPECT_EQ(RadonPoint(r, 6, 200, 2.0), (TRadonPoint{200, 0}));
    r.ThoronPAECError = 0.0;
    EXPECT_EQ(RadonPoint(r, 6, 200, 2.0), (TRadonPoint{180, 0}));
}

TEST(DiagramClimate, CurvesAndScalesFollowTheUnits) {
    TPhysicalUnits si;
    SetUnitSystem(UnitsSI, si);
    const TClimateScale temperature = ClimateScale(TClimateQuantity::Temperature, si);
    const TClimateScale humidity = ClimateScale(TClimateQuantity::Humidity, si);
    const TClimateScale pressure = ClimateScale(TClimateQuantity::Pressure, si);
    const TClimateScale co2 = ClimateScale(TClimateQuantity::CO2, si);

    // -20 .. 40 °C over 200 pixels: 10 °C is half-way up.
    EXPECT_EQ(ClimateY(10.0, temperature, 200), 100);
    EXPECT_EQ(ClimateY(-20.0, temperature, 200), 200);
    EXPECT_EQ(ClimateY(50.0, humidity, 200), 100);
    EXPECT_EQ(ClimateY(955.0, pressure, 200), 100); // 850 .. 1060 mbar
    EXPECT_EQ(ClimateY(-1.0, humidity, 200), 202);  // "no value" drawn as stored
    EXPECT_EQ(ClimateY(2500.0, co2, 200), 100);

    // Ticks above the offset, below the top of the scale.
    auto ticks = ClimateScaleTicks(temperature, 300);
    EXPECT_EQ(Values(ticks), (std::vector<double>{-10, 0, 10, 20, 30}));
    EXPECT_EQ(Rows(ticks), (std::vector<Integer>{250, 200, 150, 100, 50}));
    ticks = ClimateScaleTicks(humidity, 300);
    EXPECT_EQ(Values(ticks), (std::vector<double>{20, 40, 60, 80}));
    EXPECT_EQ(Rows(ticks), (std::vector<Integer>{240, 180, 120, 60}));
    EXPECT_EQ(Values(ClimateScaleTicks(pressure, 300)), (std::vector<double>{880, 910, 940, 970, 1000, 1030}));
    EXPECT_EQ(Values(ClimateScaleTicks(co2, 300)), (std::vector<double>{1000, 2000, 3000, 4000}));

    TPhysicalUnits us;
    SetUnitSystem(UnitsUS, us);
    const TClimateScale fahrenheit = ClimateScale(TClimateQuantity::Temperature, us);
    EXPECT_EQ(fahrenheit.HeaderText, us.TempUnitString);
    EXPECT_EQ(Values(ClimateScaleTicks(fahrenheit, 300)), (std::vector<double>{10, 30, 50, 70, 90}));
    const TClimateScale inches = ClimateScale(TClimateQuantity::Pressure, us);
    EXPECT_EQ(inches.Decimals, 2);
    EXPECT_EQ(Values(ClimateScaleTicks(inches, 300)), (std::vector<double>{26, 27, 28, 29, 30, 31}));

    // The first tick is always there; a step that is not positive gives only that one.
    TClimateScale wide = temperature;
    wide.Step = 100.0;
    EXPECT_EQ(Values(ClimateScaleTicks(wide, 300)), (std::vector<double>{80}));
    wide.Step = 0.0;
    EXPECT_EQ(ClimateScaleTicks(wide, 300).size(), 1u);
    wide.Step = -5.0;
    EXPECT_EQ(ClimateScaleTicks(wide, 300).size(), 1u);
}

TEST(DiagramClimate, EachCurveNeedsItsSensor) {
    TSensorValidityMatrix m;
    m.TempValid = true;
    m.CO2Valid = true;
    EXPECT_TRUE(ClimateShown(TClimateQuantity::Temperature, m));
    EXPECT_FALSE(ClimateShown(TClimateQuantity::Humidity, m));
    EXPECT_FALSE(ClimateShown(TClimateQuantity::Pressure, m));
    EXPECT_TRUE(ClimateShown(TClimateQuantity::CO2, m));

    TMeasurementRecord r;
    r.Humidity = 1;
    r.Temperature = 2;
    r.Pressure = 3;
    r.CO2 = 4;
    EXPECT_EQ(ClimateValue(r, TClimateQuantity::Humidity), 1);
    EXPECT_EQ(ClimateValue(r, TClimateQuantity::Temperature), 2);
    EXPECT_EQ(ClimateValue(r, TClimateQuantity::Pressure), 3);
    EXPECT_EQ(ClimateValue(r, TClimateQuantity::CO2), 4);
}

} // namespace
} // namespace lumetra
