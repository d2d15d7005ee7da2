// Diagram navigation without a widget: zoom, fit, scroll bar, borders, the cursor
// read-out, display mode, smoothing period, unit switch and the service button cycle.

#include "ui/Navigation.h"

#include "core/NumberFormat.h"
#include "core/TimeConversions.h"
#include "evaluation/RecordEvaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace lumetra {
namespace {

const TTranslate Same = [](const std::string& text) { return text; };
const TTranslate Marked = [](const std::string& text) { return "[" + text + "]"; };

std::string Sep() {
    return std::string(1, LocaleDecimalSeparator());
}

TDeviceTime RecordTime(int i) {
    return AddMinutes(MakeDeviceTime(2024, 3, 1, 8, 0), (i - 1) * 10);
}

// A raw set of n records, 10 minutes apart; only validity, count and times matter here.
TInstrumentData RawSet(int n) {
    TInstrumentData raw;
    raw.Valid = true;
    raw.NumberOfRecords = static_cast<Word>(n);
    for (int i = 1; i <= n; ++i) {
        raw.Records[static_cast<std::size_t>(i)].SampleInterval = 10;
        raw.Records[static_cast<std::size_t>(i)].Time = RecordTime(i);
    }
    return raw;
}

TMeasurementData Measured(int n) {
    TMeasurementData data;
    data.Valid = true;
    data.NumberOfRecords = static_cast<Word>(n);
    for (int i = 1; i <= n; ++i)
        data.Data[static_cast<std::size_t>(i)].Time = RecordTime(i);
    return data;
}

// A view just after loading n records into a diagram w pixels wide.
struct Loaded {
    TInstrumentData Raw;
    TViewState View;
    TScrollBarState Bar;
    Integer W;
    Loaded(int n, Integer w) : Raw(RawSet(n)), W(w) { EXPECT_TRUE(ResetViewAfterLoading(View, Bar, Raw, W)); }
};

TEST(NavigationZoom, StepsInAndOutFollowTheRoundedFactorOf1_2) {
    std::vector<Integer> in;
    for (Integer z = 1; in.size() < 9;)
        in.push_back(z = ZoomedIn(z));
    EXPECT_EQ(in, (std::vector<Integer>{2, 3, 5, 7, 9, 12, 15, 19, 24}));

    std::vector<Integer> out;
    for (Integer z = 24; out.size() < 13;)
        out.push_back(z = ZoomedOut(z));
    // 3 / 1.2 = 2.5 rounds to even, so zooming out sticks at 2.
    EXPECT_EQ(out, (std::vector<Integer>{20, 17, 14, 12, 10, 8, 7, 6, 5, 4, 3, 2, 2}));
    // 9 / 1.2 = 7.5 and 15 / 1.2 = 12.5: halves go to the even neighbour.
    EXPECT_EQ(ZoomedOut(9), 8);
    EXPECT_EQ(ZoomedOut(15), 12);
    EXPECT_EQ(ZoomedOut(1), 1);
    EXPECT_EQ(ZoomedIn(MaxZoom), MaxZoom);
}

TEST(NavigationZoom, HandlersDoNothingWithoutData) {
    TInstrumentData raw; // not valid
    TViewState view;
    view.Zoom = 5;
    view.FirstVisibleRecord = 7;
    view.LastVisibleRecord = 9;
    TScrollBarState bar{true, 6, 20, 2};
    const TViewState before = view;
    const TScrollBarState barBefore = bar;
    EXPECT_FALSE(ZoomIn(view, bar, raw, 700));
    EXPECT_FALSE(ZoomOut(view, bar, raw, 700));
    EXPECT_FALSE(FitGraphic(view, bar, raw, 700));
    EXPECT_FALSE(RefitOnResize(view, bar, raw, 700));
    EXPECT_FALSE(ResetViewAfterLoading(view, bar, raw, 700));
    EXPECT_FALSE(SetScrollPosition(bar, view, 3, raw, 700));
    EXPECT_EQ(view.Zoom, before.Zoom);
    EXPECT_EQ(view.FirstVisibleRecord, before.FirstVisibleRecord);
    EXPECT_EQ(view.LastVisibleRecord, before.LastVisibleRecord);
    EXPECT_EQ(bar, barBefore);
}

TEST(NavigationScrollBar, FiftyRecordsOn700PixelsThroughZoomScrollAndZoomOut) {
    Loaded l(50, 700);
    EXPECT_EQ(l.View.Zoom, 14); // 700 div 50
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);
    EXPECT_FALSE(l.Bar.Enabled);
    EXPECT_EQ(l.Bar.Maximum, 0);
    EXPECT_EQ(l.Bar.Position, 0);

    // Round(16.8) + 1 = 18; V = 38 < 50.
    ASSERT_TRUE(ZoomIn(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 18);
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 0, 12, 3}));
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 40); // 1 + 38 + 1

    // The user drags to the end; a position past the maximum is held there.
    EXPECT_TRUE(SetScrollPosition(l.Bar, l.View, 99, l.Raw, l.W));
    EXPECT_EQ(l.Bar.Position, 12);
    EXPECT_EQ(l.View.FirstVisibleRecord, 13);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);                        // 13 + 39 cut to 50
    EXPECT_FALSE(SetScrollPosition(l.Bar, l.View, 12, l.Raw, l.W)); // same value: no scroll

    // Round(15) = 15, V = 46: 13 + 47 passes 50, so the view moves back to 4..50.
    ASSERT_TRUE(ZoomOut(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 15);
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 3, 4, 4}));
    EXPECT_EQ(l.View.FirstVisibleRecord, 4);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);

    // Round(12.5) = 12, V = 58 >= 50: the bar is disabled and back at 0.
    ASSERT_TRUE(ZoomOut(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 12);
    EXPECT_FALSE(l.Bar.Enabled);
    EXPECT_EQ(l.Bar.Position, 0);
    EXPECT_EQ(l.Bar.Maximum, 0);
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);
}

TEST(NavigationScrollBar, LoadingMoreRecordsThanPixelsScrollsAtZoom1) {
    Loaded l(1000, 700);
    EXPECT_EQ(l.View.Zoom, 1);
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 701);
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 0, 300, 70}));
    EXPECT_EQ(l.View.LeftBorderIndex, 1);
    EXPECT_EQ(l.View.RightBorderIndex, 1000);
    EXPECT_FALSE(l.View.BordersSelected);

    EXPECT_TRUE(SetScrollPosition(l.Bar, l.View, 250, l.Raw, l.W));
    EXPECT_EQ(l.View.FirstVisibleRecord, 251);
    EXPECT_EQ(l.View.LastVisibleRecord, 952); // 251 + 700 + 1

    // A new data set puts everything back, but a pending first click stays pending.
    l.View.AwaitingFirstBorder = false;
    l.View.BordersSelected = true;
    l.View.Zoom = 7;
    ASSERT_TRUE(ResetViewAfterLoading(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 1);
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 0, 300, 70}));
    EXPECT_FALSE(l.View.BordersSelected);
    EXPECT_FALSE(l.View.AwaitingFirstBorder);
}

TEST(NavigationScrollBar, ResizeRefitsTheView) {
    Loaded l(50, 700);
    ASSERT_TRUE(ZoomIn(l.View, l.Bar, l.Raw, l.W)); // zoom 18
    ASSERT_TRUE(SetScrollPosition(l.Bar, l.View, 12, l.Raw, l.W));

    // Wider: V = 900 div 18 = 50, all records fit, the view starts at 1 again.
    ASSERT_TRUE(RefitOnResize(l.View, l.Bar, l.Raw, 900));
    EXPECT_EQ(l.View.Zoom, 18);
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);
    EXPECT_FALSE(l.Bar.Enabled);
    EXPECT_EQ(l.Bar.Position, 0);

    // Narrower: V = 500 div 18 = 27.
    ASSERT_TRUE(RefitOnResize(l.View, l.Bar, l.Raw, 500));
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 29);
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 0, 23, 2}));
}

TEST(NavigationFit, BorderedRangeFillsTheWidth) {
    Loaded l(1000, 700);
    l.View.LeftBorderIndex = 100;
    l.View.RightBorderIndex = 200;
    ASSERT_TRUE(FitGraphic(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 6); // 700 div 101
    EXPECT_EQ(l.View.FirstVisibleRecord, 99);
    // The count for the bar is the 101 bordered records; moving the bar from 0 to 98
    // runs the scroll handler, which keeps the last record in step with V = 116.
    EXPECT_EQ(l.Bar, (TScrollBarState{true, 98, 899, 10}));
    EXPECT_EQ(l.View.LastVisibleRecord, 216);

    // More bordered records than pixels: the zoom stays, the bar moves to the left border.
    ASSERT_TRUE(ZoomOut(l.View, l.Bar, l.Raw, l.W)); // 6 -> 5, V = 140
    l.View.LeftBorderIndex = 300;
    l.View.RightBorderIndex = 1000;
    ASSERT_TRUE(FitGraphic(l.View, l.Bar, l.Raw, l.W));
    EXPECT_EQ(l.View.Zoom, 5);
    EXPECT_EQ(l.View.FirstVisibleRecord, 299);
    EXPECT_EQ(l.Bar.Position, 298);
    EXPECT_EQ(l.View.LastVisibleRecord, 440); // 299 + 140 + 1
}

TEST(NavigationFit, WholeSmallSetReturnsToTheLoadedZoom) {
    Loaded l(50, 700);
    ASSERT_TRUE(ZoomIn(l.View, l.Bar, l.Raw, l.W));
    ASSERT_TRUE(ZoomIn(l.View, l.Bar, l.Raw, l.W));
    ASSERT_TRUE(FitGraphic(l.View, l.Bar, l.Raw, l.W)); // borders 1..50
    EXPECT_EQ(l.View.Zoom, 14);
    EXPECT_EQ(l.View.FirstVisibleRecord, 1);
    EXPECT_EQ(l.View.LastVisibleRecord, 50);
    EXPECT_FALSE(l.Bar.Enabled);
}

// A 50-record set on a 700-pixel diagram at zoom 1; raw record 30 was a 7-minute interval.
struct Bordered {
    TInstrumentData Raw = RawSet(50);
    TMeasurementData Data = Measured(50);
    TViewState View;
    Bordered() { Raw.Records[30].SampleInterval = 7; }
    TBorderClickResult ClickAt(Integer x) {
        View.CursorX = x;
        return SetBorders(View, Data, Raw);
    }
};

TEST(NavigationBorders, RecordUnderTheCursorIsTheNearestPoint) {
    Bordered b;
    b.ClickAt(0);
    EXPECT_EQ(b.View.PendingBorderIndex, 1);
    b.View.AwaitingFirstBorder = true;
    b.ClickAt(1); // Round(0.5) = 0: (1 + 0) div 1
    EXPECT_EQ(b.View.PendingBorderIndex, 2);
    b.View.AwaitingFirstBorder = true;
    b.View.Zoom = 4;
    b.ClickAt(6); // (6 + 2) div 4 = 2
    EXPECT_EQ(b.View.PendingBorderIndex, 3);
    b.View.AwaitingFirstBorder = true;
    b.View.FirstVisibleRecord = 11;
    b.ClickAt(5); // (5 + 2) div 4 = 1
    EXPECT_EQ(b.View.PendingBorderIndex, 12);
    b.View.AwaitingFirstBorder = true;
    b.ClickAt(600); // far beyond record 50
    EXPECT_EQ(b.View.PendingBorderIndex, 50);
}

TEST(NavigationBorders, TwoClicksInEitherOrderAndTheSameRecordTwice) {
    Bordered b;
    const TBorderClickResult first = b.ClickAt(29);
    EXPECT_EQ(first.Kind, TBorderClick::FirstBorder);
    EXPECT_EQ(b.View.PendingBorderIndex, 30);
    EXPECT_FALSE(b.View.AwaitingFirstBorder);
    EXPECT_FALSE(b.View.BordersSelected);
    // Record 30 ends at 08:00 + 29 × 10 min = 12:50; its 7-minute interval began at 12:43.
    EXPECT_EQ(first.StartTestText, DateTimeText(MakeDeviceTime(2024, 3, 1, 12, 43)));
    EXPECT_EQ(first.EndTestText, "?");
    EXPECT_EQ(b.View.LeftBorderIndex, 1); // borders unchanged until the second click

    const TBorderClickResult second = b.ClickAt(9);
    EXPECT_EQ(second.Kind, TBorderClick::BordersSet);
    EXPECT_EQ(b.View.LeftBorderIndex, 10);
    EXPECT_EQ(b.View.RightBorderIndex, 30);
    EXPECT_TRUE(b.View.BordersSelected);
    EXPECT_TRUE(b.View.AwaitingFirstBorder);

    const TBorderClickResult other = b.ClickAt(4);
    EXPECT_EQ(other.StartTestText, DateTimeText(MakeDeviceTime(2024, 3, 1, 8, 30))); // record 5: 08:40 - 10
    b.ClickAt(39);
    EXPECT_EQ(b.View.LeftBorderIndex, 5);
    EXPECT_EQ(b.View.RightBorderIndex, 40);

    b.ClickAt(19);
    b.ClickAt(19);
    EXPECT_EQ(b.View.LeftBorderIndex, 1);
    EXPECT_EQ(b.View.RightBorderIndex, 50);
    EXPECT_TRUE(b.View.BordersSelected);
    EXPECT_TRUE(b.View.AwaitingFirstBorder);
}

TEST(NavigationBorders, DoubleClickResetsToTheWholeSet) {
    Bordered b;
    b.ClickAt(9);
    b.ClickAt(19);
    // A double-click first delivers its click (a first click), then the reset.
    b.ClickAt(24);
    EXPECT_FALSE(b.View.AwaitingFirstBorder);
    ASSERT_TRUE(ResetBorders(b.View, b.Data));
    EXPECT_EQ(b.View.LeftBorderIndex, 1);
    EXPECT_EQ(b.View.RightBorderIndex, 50);
    EXPECT_FALSE(b.View.BordersSelected);
    EXPECT_TRUE(b.View.AwaitingFirstBorder);
    EXPECT_EQ(b.ClickAt(3).Kind, TBorderClick::FirstBorder);
}

TEST(NavigationBorders, ClicksDoNothingWithoutData) {
    Bordered b;
    b.Data.Valid = false;
    const TViewState before = b.View;
    EXPECT_EQ(b.ClickAt(10).Kind, TBorderClick::Ignored);
    EXPECT_FALSE(ResetBorders(b.View, b.Data));
    EXPECT_TRUE(b.View.AwaitingFirstBorder);
    EXPECT_EQ(b.View.PendingBorderIndex, before.PendingBorderIndex);
    EXPECT_EQ(b.View.LeftBorderIndex, before.LeftBorderIndex);
    EXPECT_EQ(b.View.RightBorderIndex, before.RightBorderIndex);
}

TEST(NavigationCursor, OneLineAfterEachMoveNoneToEraseAfterARepaint) {
    TViewState view;
    view.DiagramRepainted = true;
    TCursorLineMove m = MoveCursorLine(view, 40);
    EXPECT_FALSE(m.EraseX.has_value());
    EXPECT_EQ(m.DrawX, 40);
    EXPECT_FALSE(view.DiagramRepainted);
    m = MoveCursorLine(view, 55);
    EXPECT_EQ(m.EraseX, 40);
    EXPECT_EQ(view.CursorX, 55);
    view.DiagramRepainted = true;
    EXPECT_FALSE(MoveCursorLine(view, 60).EraseX.has_value());
}

// Three records with values for every mode, SI units, zoom 10.
struct ReadOutFixture {
    TMeasurementData Data = Measured(3);
    TPhysicalUnits Units;
    TViewState View;
    TSmoothedSeries Smoothed;
    ReadOutFixture() {
        SetUnitSystem(UnitsSI, Units);
        View.Zoom = 10;
        TMeasurementRecord& r = Data.Data[2];
        r.Radon = 123.4;
        r.RadonError = 12.6;
        r.RadonFast = 98.2;
        r.RadonFastError = 0;
        r.Thoron = 77.7;
        r.ThoronError = -1;
        r.RadonEEC = 45.6;
        r.RadonPAEC = 300.2;
        r.RadonPAECError = 5.2;
        r.ThoronPAEC = 12.4;
        r.ThoronPAECError = 0;
        r.Temperature = 21.34;
        r.Humidity = 45.4;
        r.Pressure = 1013.2;
        r.CO2 = 850;
        Data.SensorValidityMatrix.PresValid = true;
    }
    TReadOut At(Byte mode, Integer x = 10, const TTranslate& tr = Same) {
        View.RadonDisplayMode = mode;
        return CursorReadOut(Data, Units, View, Smoothed, x, tr);
    }
    std::string Radon(Byte mode) { return At(mode).RadonText; }
};

TEST(NavigationReadOut, RadonTextOfEveryModeAndErrorSign) {
    ReadOutFixture f;
    EXPECT_EQ(f.Radon(1), "123 Bq/m³ ±13 %");
    EXPECT_EQ(f.Radon(2), "98 Bq/m³");      // error 0
    EXPECT_EQ(f.Radon(3), "< 78 Bq/m³");    // error -1: upper limit, no ± part
    EXPECT_EQ(f.Radon(4), "46 Bq/m³ ±5 %"); // EEC carries the PAEC error
    EXPECT_EQ(f.Radon(5), "300 nJ/m³ ±5 %");
    EXPECT_EQ(f.Radon(6), "< 12 nJ/m³"); // thoron PAEC error 0

    TMeasurementRecord& r = f.Data.Data[2];
    r.RadonError = -1;
    EXPECT_EQ(f.Radon(1), "< 123 Bq/m³");
    r.RadonPAECError = 0;
    EXPECT_EQ(f.Radon(4), "B.D.L. "); // the empty unit keeps its blank
    EXPECT_EQ(f.Radon(5), "B.D.L. ");
    r.RadonPAECError = -1;
    EXPECT_EQ(f.Radon(4), "B.D.L. ");
    r.ThoronPAECError = -1;
    EXPECT_EQ(f.Radon(6), "< 12 nJ/m³");
    r.ThoronPAECError = 20.4;
    EXPECT_EQ(f.Radon(6), "12 nJ/m³ ±20 %");
    r.Thoron = 12345678.0; // eight integer digits need the exponent form
    r.ThoronError = 1.5;
    EXPECT_EQ(f.Radon(3), "1" + Sep() + "234568E+07 Bq/m³ ±2 %");
}

TEST(NavigationReadOut, TimeAndClimateOfTheRecordUnderTheMouse) {
    ReadOutFixture f;
    const TReadOut out = f.At(1, 14); // (14 + 5) div 10 = 1: record 2
    EXPECT_EQ(out.TimeText, DateTimeText(MakeDeviceTime(2024, 3, 1, 8, 10)));
    EXPECT_EQ(out.TempText, "21" + Sep() + "3 °C");
    EXPECT_EQ(out.HumText, "45 %");
    EXPECT_EQ(out.AddedSensorText, "1013 mbar");

    f.Data.SensorValidityMatrix.PresValid = false;
    f.Data.SensorValidityMatrix.CO2Valid = true;
    EXPECT_EQ(f.At(1).AddedSensorText, "850 ppm");
    f.Data.SensorValidityMatrix.CO2Valid = false;
    EXPECT_FALSE(f.At(1).AddedSensorText.has_value());

    // US units: one radon decimal, two for the pressure.
    SetUnitSystem(UnitsUS, f.Units);
    f.Data.SensorValidityMatrix.PresValid = true;
    f.Data.Data[2].Radon = 3.34;
    f.Data.Data[2].Pressure = 29.923;
    const TReadOut us = f.At(1);
    EXPECT_EQ(us.RadonText, "3" + Sep() + "3 pCi/L ±13 %");
    EXPECT_EQ(us.AddedSensorText, "29" + Sep() + "92 inHg");
    EXPECT_EQ(us.TempText, "21" + Sep() + "3 °F");
}

TEST(NavigationReadOut, SmoothedValueReplacesTheRecordsOwn) {
    ReadOutFixture f;
    f.Smoothed.Period = 3;
    f.Smoothed.Values[2] = 57.4;
    f.Data.Data[2].RadonPAECError = 0; // would be B.D.L. unsmoothed
    EXPECT_EQ(f.Radon(4), "57 Bq/m³ (smoothed)");
    EXPECT_EQ(f.Radon(5), "57 nJ/m³ (smoothed)");
    EXPECT_EQ(f.Radon(6), "57 nJ/m³ (smoothed)");
    EXPECT_EQ(f.At(1, 10, Marked).RadonText, "57 Bq/m³ ([smoothed])");
}

TEST(NavigationReadOut, NamesBeyondTheLastRecordAndWithoutData) {
    ReadOutFixture f;
    const TReadOut beyond = f.At(1, 25); // (25 + 5) div 10 = 3: record 4 of 3
    EXPECT_EQ(beyond, (TReadOut{"-", "-", "Temp.", "Hum.", std::string("Pres.")}));
    f.Data.SensorValidityMatrix.CO2Valid = true; // CO2 comes last and wins
    EXPECT_EQ(f.At(1, 25).AddedSensorText, "CO2");
    f.Data.SensorValidityMatrix.PresValid = false;
    f.Data.SensorValidityMatrix.CO2Valid = false;
    EXPECT_FALSE(f.At(1, 25).AddedSensorText.has_value());
    EXPECT_EQ(f.At(1, 24).TimeText, DateTimeText(RecordTime(3))); // still record 3

    f.Data.Valid = false;
    EXPECT_EQ(f.At(1, 0, Marked), (TReadOut{"[-]", "[-]", "[Temp.]", "[Hum.]", std::string("[Pres.]")}));
    f.Data.Valid = true;
    f.Data.Data[2].RadonPAECError = 0;
    EXPECT_EQ(f.At(4, 10, Marked).RadonText, "[B.D.L.] ");
    EXPECT_EQ(f.At(4, 10, TTranslate{}).RadonText, "B.D.L. "); // no catalog: English
}

TEST(NavigationDisplayMode, ChosenByTheTranslatedItemText) {
    const std::map<std::string, std::string> german{{"Radon", "Radon"},
                                                    {"Radon* (fast)", "Radon* (schnell)"},
                                                    {"Thoron", "Thoron"},
                                                    {"EEC (Radon)", "GGK (Radon)"},
                                                    {"PAEC (Radon)", "PAEK (Radon)"},
                                                    {"PAEC (Thoron)", "PAEK (Thoron)"}};
    const TTranslate tr = [&](const std::string& s) {
        const auto it = german.find(s);
        return it == german.end() ? s : it->second;
    };
    EXPECT_EQ(DisplayModeFromItemText("Radon", tr), 1);
    EXPECT_EQ(DisplayModeFromItemText("Radon* (schnell)", tr), 2);
    EXPECT_EQ(DisplayModeFromItemText("Thoron", tr), 3);
    EXPECT_EQ(DisplayModeFromItemText("GGK (Radon)", tr), 4);
    EXPECT_EQ(DisplayModeFromItemText("PAEK (Radon)", tr), 5);
    EXPECT_EQ(DisplayModeFromItemText("PAEK (Thoron)", tr), 6);
    EXPECT_EQ(DisplayModeFromItemText("PAEC (Thoron)", tr), 1); // the English text is not offered
    EXPECT_EQ(DisplayModeFromItemText("", tr), 1);
}

TEST(NavigationDisplayMode, ChangeSmoothsTheNewQuantityEvenWithoutAPeriod) {
    TMeasurementData data = Measured(3);
    const double thoron[] = {10, 20, 60};
    for (int i = 1; i <= 3; ++i) {
        data.Data[static_cast<std::size_t>(i)].Thoron = thoron[i - 1];
        data.Data[static_cast<std::size_t>(i)].ThoronError = 5;
    }
    TViewState view;
    TSmoothedSeries smoothed;
    smoothed.Period = 0;
    EXPECT_EQ(ChangeRadonDisplayMode(view, smoothed, data, "Thoron", Same), 3);
    EXPECT_EQ(view.RadonDisplayMode, 3);
    EXPECT_EQ(smoothed.DisplayMode, 3);
    EXPECT_DOUBLE_EQ(smoothed.Values[2], 20.0); // period 0: the value itself
    smoothed.Period = 1;
    ChangeRadonDisplayMode(view, smoothed, data, "Thoron", Same);
    EXPECT_DOUBLE_EQ(smoothed.Values[2], 30.0); // (10 + 20 + 60) / 3
    EXPECT_DOUBLE_EQ(smoothed.Values[3], 40.0); // (20 + 60) / 2
}

TEST(NavigationSmoothing, ComboItemsAndPeriodChange) {
    EXPECT_EQ(SmoothingComboItems(Same),
              (std::vector<std::string>{"no smoothing", "+/- 1 period", "+/- 2 periods", "+/- 3 periods",
                                        "+/- 4 periods", "+/- 5 periods", "+/- 6 periods"}));
    EXPECT_EQ(SmoothingComboItems(Marked)[3], "[+/- 3 periods]");

    TMeasurementData data = Measured(5);
    for (int i = 1; i <= 5; ++i)
        data.Data[static_cast<std::size_t>(i)].RadonPAEC = 10.0 * i;
    TSmoothedSeries smoothed;
    SmoothingPeriodChanged(smoothed, 2, 5, data);
    EXPECT_EQ(smoothed.Period, 2);
    EXPECT_EQ(smoothed.DisplayMode, 5);
    EXPECT_DOUBLE_EQ(smoothed.Values[3], 30.0); // (10 + .. + 50) / 5
    EXPECT_DOUBLE_EQ(smoothed.Values[1], 20.0); // (10 + 20 + 30) / 3

    SmoothingPeriodChanged(smoothed, 0, 1, data); // off: the series is left alone
    EXPECT_EQ(smoothed.Period, 0);
    EXPECT_EQ(smoothed.DisplayMode, 5);
    SmoothingPeriodChanged(smoothed, 9, 5, data);
    EXPECT_EQ(smoothed.Period, 6);
}

// A Halvo type 8 set (radon, temperature, humidity, pressure) built from raw codes.
TInstrumentData HalvoRaw() {
    TInstrumentData raw;
    raw.Valid = true;
    raw.NumberOfRecords = 6;
    raw.Header.DeviceFamily = FamilyHalvo;
    raw.Header.DeviceType = 8;
    raw.Header.SoftwareVersion = 9;
    raw.Header.DeviceNumber = 2000;
    raw.Header.UniCon[1] = 2500;
    for (std::size_t i = 1; i <= 6; ++i) {
        TInstrumentRecord& r = raw.Records[i];
        r.SampleInterval = 60;
        r.Time = AddMinutes(MakeDeviceTime(2024, 5, 2, 9, 0), static_cast<Integer>(i) * 60);
        r.Counts = static_cast<Integer>(40 + 17 * i);
        r.TemperatureRaw = static_cast<Integer>(95 + i);
        r.HumidityRaw = static_cast<Integer>(100 + 3 * i);
        r.PressureRaw = static_cast<Integer>(600 + i);
    }
    return raw;
}

TEST(NavigationUnits, ButtonCycleAndCaptions) {
    TUnitSwitch s = NextUnitSystem(UnitsSI, Marked);
    EXPECT_EQ(s.System, UnitsUS);
    EXPECT_EQ(s.Caption, "[Bq]");
    s = NextUnitSystem(UnitsUS, Same);
    EXPECT_EQ(s.System, UnitsSI);
    EXPECT_EQ(s.Caption, "pCi");

    // Without data only the settings and the caption change.
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    TInstrumentData raw = HalvoRaw();
    TMeasurementData data; // not valid
    TSmoothedSeries smoothed;
    smoothed.Values[1] = 7.0;
    std::string caption;
    EXPECT_FALSE(ChangeUnits(units, caption, raw, data, smoothed, 1, Same));
    EXPECT_EQ(units.SelectedUnits, UnitsUS);
    EXPECT_EQ(units.RnUnitString, "pCi/L");
    EXPECT_EQ(caption, "Bq");
    EXPECT_FALSE(data.Valid);
    EXPECT_EQ(smoothed.Values[1], 7.0);
}

TEST(NavigationUnits, SwitchingThereAndBackGivesTheFirstEvaluation) {
    const TInstrumentData raw = HalvoRaw();
    TPhysicalUnits units;
    SetUnitSystem(UnitsSI, units);
    TMeasurementData data;
    EvaluateDataSet(units, raw, data);
    ASSERT_TRUE(data.Valid);
    TMeasurementData first;
    EvaluateDataSet(units, raw, first);

    TSmoothedSeries smoothed;
    smoothed.Period = 1;
    std::string caption;
    ASSERT_TRUE(ChangeUnits(units, caption, raw, data, smoothed, 1, Same));
    EXPECT_EQ(caption, "Bq");
    EXPECT_EQ(data.RelatedUnitSettings.SelectedUnits, UnitsUS);
    for (std::size_t i = 1; i <= 6; ++i) {
        const TMeasurementRecord& si = first.Data[i];
        const TMeasurementRecord& us = data.Data[i];
        ASSERT_GT(si.Radon, 0.0);
        EXPECT_NEAR(us.Radon, si.Radon * 0.027, 1e-9 * si.Radon);
        EXPECT_NEAR(us.Temperature, 1.81 * si.Temperature + 31.0, 1e-9);
        EXPECT_NEAR(us.Pressure, si.Pressure * 0.02953, 1e-9);
        EXPECT_DOUBLE_EQ(us.Humidity, si.Humidity);
    }
    // The series follows the new values: record 2 averages records 1..3.
    EXPECT_NEAR(smoothed.Values[2], (data.Data[1].Radon + data.Data[2].Radon + data.Data[3].Radon) / 3.0,
                1e-12);

    ASSERT_TRUE(ChangeUnits(units, caption, raw, data, smoothed, 1, Same));
    EXPECT_EQ(caption, "pCi");
    EXPECT_EQ(data.NumberOfRecords, first.NumberOfRecords);
    EXPECT_EQ(data.RelatedUnitSettings, first.RelatedUnitSettings);
    EXPECT_EQ(data.SensorValidityMatrix, first.SensorValidityMatrix);
    for (std::size_t i = 1; i <= 6; ++i)
        EXPECT_EQ(data.Data[i], first.Data[i]) << "record " << i;
    EXPECT_NEAR(smoothed.Values[2], (first.Data[1].Radon + first.Data[2].Radon + first.Data[3].Radon) / 3.0,
                1e-12);
}

TEST(NavigationCutButton, DoubleClicksCycleHiddenCutResetHidden) {
    TCutButtonState s = TCutButtonState::Hidden;
    EXPECT_FALSE(CutButtonVisible(s));
    s = NextCutButtonState(s);
    EXPECT_TRUE(CutButtonVisible(s));
    EXPECT_EQ(CutButtonCaption(s, Same), "CUT");
    s = NextCutButtonState(s);
    EXPECT_TRUE(CutButtonVisible(s));
    EXPECT_EQ(CutButtonCaption(s, Marked), "[RESET]");
    s = NextCutButtonState(s);
    EXPECT_EQ(s, TCutButtonState::Hidden);
    EXPECT_FALSE(CutButtonVisible(s));
}

} // namespace
} // namespace lumetra
