#include "ui/Navigation.h"

#include "core/NumberFormat.h"
#include "core/TimeConversions.h"
#include "evaluation/IntegralData.h"
#include "evaluation/RecordEvaluation.h"
#include "ui/DiagramHelpers.h"
#include "ui/DiagramLayout.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

namespace lumetra {
namespace {

Integer RecordCount(Word numberOfRecords) {
    return static_cast<Integer>(std::min<std::size_t>(numberOfRecords, MaxRecords));
}

bool HasRecords(const TInstrumentData& data) {
    return data.Valid && RecordCount(data.NumberOfRecords) >= 1;
}
bool HasRecords(const TMeasurementData& data) {
    return data.Valid && RecordCount(data.NumberOfRecords) >= 1;
}

Integer ClampInteger(Int64 value) {
    return static_cast<Integer>(
        std::clamp<Int64>(value, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

// num / den to the nearest integer, halves to even; num >= 0, den > 0. Exact, so that
// 3 / 1.2 = 2.5 rounds to 2 whatever the binary value of 1.2.
Int64 RoundRatioHalfEven(Int64 num, Int64 den) {
    const Int64 q = num / den;
    const Int64 twiceRest = 2 * (num % den);
    if (twiceRest > den || (twiceRest == den && q % 2 != 0))
        return q + 1;
    return q;
}

// An empty translate function leaves the English text.
std::string Tr(const TTranslate& translate, const std::string& english) {
    return translate ? translate(english) : english;
}

Integer Width(Integer innerWidth) {
    return std::max<Integer>(innerWidth, 0);
}

// Last = First + V + 1, cut to N.
void KeepLastInStep(TViewState& view, Integer n, Integer innerWidth) {
    const Int64 v = VisibleRecordCount(innerWidth, view.Zoom);
    view.LastVisibleRecord = ClampInteger(std::min<Int64>(Int64{view.FirstVisibleRecord} + v + 1, n));
}

std::string Joined(const std::string& value, const std::string& unit, const std::string& suffix = {}) {
    return value + " " + unit + suffix;
}

std::string RadonText(const TMeasurementRecord& record, const TPhysicalUnits& units, Byte mode,
                      const TTranslate& translate) {
    const int decimals = units.RadonDecimals;
    const bool progeny = mode == DisplayMode::RadonPAEC || mode == DisplayMode::ThoronPAEC;
    const std::string& unit = progeny ? units.PAECUnitString : units.RnUnitString;
    const Real v = DisplayValue(record, mode);
    const Real e = DisplayError(record, mode);
    const std::string value = FormatFixed(v, 7, decimals);
    if (e > 0.0)
        return Joined(value, unit, " ±" + FormatFixed(e, 3, 0) + " %");
    switch (mode) {
    case DisplayMode::RadonEEC:
    case DisplayMode::RadonPAEC:
        return Joined(Tr(translate, "B.D.L."), std::string{});
    case DisplayMode::ThoronPAEC:
        return Joined("< " + value, unit);
    default:
        // A zero error is a plain value; a negative one (or no number) a detection limit.
        return e == 0.0 ? Joined(value, unit) : Joined("< " + value, unit);
    }
}

} // namespace

Integer VisibleRecordCount(Integer innerWidth, Integer zoom) {
    return Width(innerWidth) / std::max<Integer>(zoom, 1);
}

Integer ZoomedIn(Integer zoom) {
    const Int64 z = std::max<Integer>(zoom, 1);
    return static_cast<Integer>(std::min<Int64>(RoundRatioHalfEven(z * 6, 5) + 1, MaxZoom));
}

Integer ZoomedOut(Integer zoom) {
    const Int64 z = std::clamp<Integer>(zoom, 1, MaxZoom);
    return static_cast<Integer>(std::max<Int64>(RoundRatioHalfEven(z * 5, 6), 1));
}

void ScrollGraphic(TViewState& view, Integer position, Integer numberOfRecords, Integer innerWidth) {
    view.FirstVisibleRecord = ClampInteger(Int64{position} + 1);
    KeepLastInStep(view, numberOfRecords, innerWidth);
}

bool SetScrollPosition(TScrollBarState& bar, TViewState& view, Integer position, const TInstrumentData& data,
                       Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    const Integer clamped = std::clamp<Integer>(position, 0, std::max<Integer>(bar.Maximum, 0));
    if (clamped == bar.Position)
        return false;
    bar.Position = clamped;
    ScrollGraphic(view, clamped, RecordCount(data.NumberOfRecords), innerWidth);
    return true;
}

bool ApplyScrollBarRule(TScrollBarState& bar, TViewState& view, Integer count, const TInstrumentData& data,
                        Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    const Integer n = RecordCount(data.NumberOfRecords);
    Integer position = 0;
    if (count < n) {
        bar.Enabled = true;
        bar.Maximum = n - std::max<Integer>(count, 0);
        bar.LargeChange = std::max<Integer>(count, 0) / 10;
        position = view.FirstVisibleRecord - 1;
    } else {
        bar.Enabled = false;
        bar.Maximum = 0;
    }
    return SetScrollPosition(bar, view, position, data, innerWidth);
}

bool ZoomIn(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    view.Zoom = ZoomedIn(view.Zoom);
    KeepLastInStep(view, RecordCount(data.NumberOfRecords), innerWidth);
    ApplyScrollBarRule(bar, view, VisibleRecordCount(innerWidth, view.Zoom), data, innerWidth);
    return true;
}

bool ZoomOut(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    view.Zoom = ZoomedOut(view.Zoom);
    RefitView(view, innerWidth, RecordCount(data.NumberOfRecords));
    ApplyScrollBarRule(bar, view, VisibleRecordCount(innerWidth, view.Zoom), data, innerWidth);
    return true;
}

bool FitGraphic(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    const Integer w = Width(innerWidth);
    const Integer count =
        static_cast<Integer>(std::max<Int64>(Int64{view.RightBorderIndex} - view.LeftBorderIndex + 1, 1));
    // One record to the left, so that the strip of the left border record shows.
    if (view.LeftBorderIndex > 1)
        view.FirstVisibleRecord = view.LeftBorderIndex - 1;
    if (w >= count) {
        view.Zoom = std::min<Integer>(w / count, MaxZoom);
        view.LastVisibleRecord = view.RightBorderIndex;
        ApplyScrollBarRule(bar, view, count, data, innerWidth);
    } else {
        // More records than pixels: the zoom stays, the scroll handler brings Last in step.
        SetScrollPosition(bar, view, view.FirstVisibleRecord - 1, data, innerWidth);
    }
    return true;
}

bool ResetViewAfterLoading(TViewState& view, TScrollBarState& bar, const TInstrumentData& data,
                           Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    const Integer n = RecordCount(data.NumberOfRecords);
    const Integer w = Width(innerWidth);
    view.FirstVisibleRecord = 1;
    if (w < n) {
        view.Zoom = 1;
        view.LastVisibleRecord = w + 1;
        bar = {true, 0, n - w, w / 10};
    } else {
        view.Zoom = std::min<Integer>(w / n, MaxZoom);
        view.LastVisibleRecord = n;
        bar.Enabled = false;
        bar.Position = 0;
        bar.Maximum = 0;
    }
    view.LeftBorderIndex = 1;
    view.RightBorderIndex = n;
    view.BordersSelected = false;
    return true;
}

bool RefitOnResize(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth) {
    if (!HasRecords(data))
        return false;
    RefitView(view, innerWidth, RecordCount(data.NumberOfRecords));
    ApplyScrollBarRule(bar, view, VisibleRecordCount(innerWidth, view.Zoom), data, innerWidth);
    return true;
}

TCursorLineMove MoveCursorLine(TViewState& view, Integer x) {
    TCursorLineMove move;
    if (view.DiagramRepainted)
        view.DiagramRepainted = false; // the paint has already removed the old line
    else
        move.EraseX = view.CursorX;
    move.DrawX = x;
    view.CursorX = x;
    return move;
}

TBorderClickResult SetBorders(TViewState& view, const TMeasurementData& data, const TInstrumentData& raw) {
    TBorderClickResult result;
    if (!HasRecords(data))
        return result;
    const Integer n = RecordCount(data.NumberOfRecords);
    const Integer r =
        std::clamp<Integer>(RecordUnderX(view.CursorX, view.FirstVisibleRecord, view.Zoom), 1, n);
    if (view.AwaitingFirstBorder) {
        view.PendingBorderIndex = r;
        view.AwaitingFirstBorder = false;
        const auto index = static_cast<std::size_t>(r);
        result.Kind = TBorderClick::FirstBorder;
        result.StartTestText =
            DateTimeText(SubtractMinutes(data.Data[index].Time, raw.Records[index].SampleInterval));
        result.EndTestText = "?";
        return result;
    }
    view.AwaitingFirstBorder = true;
    // A download between the two clicks may have shortened the data set.
    view.LeftBorderIndex = std::clamp<Integer>(view.PendingBorderIndex, 1, n);
    view.RightBorderIndex = r;
    if (view.RightBorderIndex < view.LeftBorderIndex)
        std::swap(view.LeftBorderIndex, view.RightBorderIndex);
    if (view.LeftBorderIndex == view.RightBorderIndex) {
        // A second click on the same record selects everything.
        view.LeftBorderIndex = 1;
        view.RightBorderIndex = n;
    }
    view.BordersSelected = true;
    result.Kind = TBorderClick::BordersSet;
    return result;
}

bool ResetBorders(TViewState& view, const TMeasurementData& data) {
    if (!HasRecords(data))
        return false;
    view.AwaitingFirstBorder = true;
    view.LeftBorderIndex = 1;
    view.RightBorderIndex = RecordCount(data.NumberOfRecords);
    view.BordersSelected = false;
    return true;
}

TReadOut CursorReadOut(const TMeasurementData& data, const TPhysicalUnits& units, const TViewState& view,
                       const TSmoothedSeries& smoothed, Integer mouseX, const TTranslate& translate) {
    TReadOut out;
    const TSensorValidityMatrix& validity = data.SensorValidityMatrix;
    const Integer n = data.Valid ? RecordCount(data.NumberOfRecords) : 0;
    const Integer r = RecordUnderX(mouseX, view.FirstVisibleRecord, view.Zoom);
    if (!data.Valid || r < 1 || r > n) {
        out.TimeText = Tr(translate, "-");
        out.RadonText = Tr(translate, "-");
        out.TempText = Tr(translate, "Temp.");
        out.HumText = Tr(translate, "Hum.");
        if (!data.Valid || validity.PresValid)
            out.AddedSensorText = Tr(translate, "Pres.");
        if (data.Valid && validity.CO2Valid)
            out.AddedSensorText = Tr(translate, "CO2");
        return out;
    }
    const auto index = static_cast<std::size_t>(r);
    const TMeasurementRecord& record = data.Data[index];
    const Byte mode = view.RadonDisplayMode;
    out.TimeText = DateTimeText(record.Time);
    if (smoothed.Period >= 1) {
        const bool progeny = mode == DisplayMode::RadonPAEC || mode == DisplayMode::ThoronPAEC;
        out.RadonText = Joined(FormatFixed(smoothed.Values[index], 7, units.RadonDecimals),
                               progeny ? units.PAECUnitString : units.RnUnitString,
                               " (" + Tr(translate, "smoothed") + ")");
    } else {
        out.RadonText = RadonText(record, units, mode, translate);
    }
    out.TempText = Joined(FormatFixed(record.Temperature, 4, 1), units.TempUnitString);
    out.HumText = FormatFixed(record.Humidity, 3, 0) + " %";
    if (validity.PresValid)
        out.AddedSensorText =
            Joined(FormatFixed(record.Pressure, 5, units.PresDecimals), units.PresUnitString);
    if (validity.CO2Valid)
        out.AddedSensorText = Joined(FormatFixed(record.CO2, 5, 0), units.CO2UnitString);
    return out;
}

std::string RadonDisplayModeName(Byte mode) {
    switch (mode) {
    case DisplayMode::Radon:
        return "Radon";
    case DisplayMode::RadonFast:
        return "Radon* (fast)";
    case DisplayMode::Thoron:
        return "Thoron";
    case DisplayMode::RadonEEC:
        return "EEC (Radon)";
    case DisplayMode::RadonPAEC:
        return "PAEC (Radon)";
    case DisplayMode::ThoronPAEC:
        return "PAEC (Thoron)";
    default:
        return {};
    }
}

Byte DisplayModeFromItemText(const std::string& itemText, const TTranslate& translate) {
    for (Byte mode = DisplayMode::Radon; mode <= DisplayMode::ThoronPAEC; ++mode)
        if (itemText == Tr(translate, RadonDisplayModeName(mode)))
            return mode;
    return DisplayMode::Radon;
}

Byte ChangeRadonDisplayMode(TViewState& view, TSmoothedSeries& smoothed, const TMeasurementData& data,
                            const std::string& itemText, const TTranslate& translate) {
    view.RadonDisplayMode = DisplayModeFromItemText(itemText, translate);
    smoothed.DisplayMode = view.RadonDisplayMode;
    SmoothSeries(data, smoothed);
    return view.RadonDisplayMode;
}

std::vector<std::string> SmoothingComboItems(const TTranslate& translate) {
    std::vector<std::string> items{Tr(translate, "no smoothing"), Tr(translate, "+/- 1 period")};
    for (int p = 2; p < SmoothingPeriodCount; ++p)
        items.push_back(Tr(translate, "+/- " + std::to_string(p) + " periods"));
    return items;
}

void SmoothingPeriodChanged(TSmoothedSeries& smoothed, int itemIndex, Byte displayMode,
                            const TMeasurementData& data) {
    smoothed.Period = std::clamp(itemIndex, 0, SmoothingPeriodCount - 1);
    if (smoothed.Period >= 1) {
        smoothed.DisplayMode = displayMode;
        SmoothSeries(data, smoothed);
    }
}

TUnitSwitch NextUnitSystem(Byte selectedUnits, const TTranslate& translate) {
    if (selectedUnits != UnitsSI)
        return {UnitsSI, Tr(translate, "pCi")};
    return {UnitsUS, Tr(translate, "Bq")};
}

bool ChangeUnits(TPhysicalUnits& units, std::string& caption, const TInstrumentData& raw,
                 TMeasurementData& data, TSmoothedSeries& smoothed, Byte displayMode,
                 const TTranslate& translate) {
    const TUnitSwitch next = NextUnitSystem(units.SelectedUnits, translate);
    SetUnitSystem(next.System, units);
    caption = next.Caption;
    if (!data.Valid)
        return false;
    // Always from the raw counts: converting converted values would drift.
    EvaluateDataSet(units, raw, data);
    smoothed.DisplayMode = displayMode;
    SmoothSeries(data, smoothed);
    return true;
}

TCutButtonState NextCutButtonState(TCutButtonState state) {
    switch (state) {
    case TCutButtonState::Hidden:
        return TCutButtonState::Cut;
    case TCutButtonState::Cut:
        return TCutButtonState::Reset;
    case TCutButtonState::Reset:
        break;
    }
    return TCutButtonState::Hidden;
}

bool CutButtonVisible(TCutButtonState state) {
    return state != TCutButtonState::Hidden;
}

std::string CutButtonCaption(TCutButtonState state, const TTranslate& translate) {
    switch (state) {
    case TCutButtonState::Cut:
        return Tr(translate, "CUT");
    case TCutButtonState::Reset:
        return Tr(translate, "RESET");
    case TCutButtonState::Hidden:
        break;
    }
    return {};
}

} // namespace lumetra
