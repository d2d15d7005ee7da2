#pragma once
// Diagram navigation as plain logic over the view state: zoom, fit, scrolling, borders,
// the cursor read-out, display mode, smoothing period, unit switch and the service
// button cycle. No toolkit here; the main window's handlers call these and then paint,
// recompute the integral data or mirror the scroll bar model into the real bar.
// W is the width of the inner diagram in pixels, N the number of records.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"
#include "core/PhysicalUnits.h"
#include "evaluation/Smoothing.h"
#include "ui/ViewState.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumetra {

// English text in, the user's language out; an empty function leaves the English text.

// Keeps repeated zooming in from overflowing the pixel arithmetic.
constexpr Integer MaxZoom = 1 << 20;

// The model of the diagram's scroll bar (minimum always 0). The window copies it into
// the real bar without letting that bar report the change back.
struct TScrollBarState {
    bool Enabled = false;
    Integer Position = 0;
    Integer Maximum = 0;
    Integer LargeChange = 0;
    bool operator==(const TScrollBarState&) const = default;
};

// Records that fit the width: V = W div Zoom.
Integer VisibleRecordCount(Integer innerWidth, Integer zoom);

// Round(Zoom × 1.2) + 1 and Round(Zoom / 1.2) at least 1, rounded exactly (halves to even).
Integer ZoomedIn(Integer zoom);
Integer ZoomedOut(Integer zoom);

// The view's effect of a scroll bar position: First = position + 1, Last = First + V + 1
// cut to N.
void ScrollGraphic(TViewState& view, Integer position, Integer numberOfRecords, Integer innerWidth);

// A position change of the bar, by the user or the program: clamped to 0..Maximum; runs
// ScrollGraphic only when it differs from the bar's position. Nothing happens without
// data. True when the view scrolled.
bool SetScrollPosition(TScrollBarState& bar, TViewState& view, Integer position, const TInstrumentData& data,
                       Integer innerWidth);

// The scroll bar rule for a view showing `count` records: enabled with maximum N - count,
// large change count div 10 and position First - 1 when count < N, else position and
// maximum 0 and disabled. A changed position scrolls the view. True when it scrolled.
bool ApplyScrollBarRule(TScrollBarState& bar, TViewState& view, Integer count, const TInstrumentData& data,
                        Integer innerWidth);

// The handlers of the zoom and fit buttons. Each returns false and changes nothing
// while the instrument data set is not valid; on true the diagram is repainted.
bool ZoomIn(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth);
bool ZoomOut(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth);
bool FitGraphic(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth);

// The view after a download or file open: record 1 at the left edge, the whole set at
// the largest zoom that fits (or zoom 1 and scrolling), borders 1..N not selected. The
// bar is set directly, without running the scroll handler. False without valid data.
bool ResetViewAfterLoading(TViewState& view, TScrollBarState& bar, const TInstrumentData& data,
                           Integer innerWidth);

// The re-fit of the view after a resize of the window.
bool RefitOnResize(TViewState& view, TScrollBarState& bar, const TInstrumentData& data, Integer innerWidth);

// The cursor line: which old line to erase (none after a repaint) before the new one at
// x is drawn. Updates CursorX and clears DiagramRepainted.
struct TCursorLineMove {
    std::optional<Integer> EraseX;
    Integer DrawX = 0;
};
TCursorLineMove MoveCursorLine(TViewState& view, Integer x);

// A click on the diagram, at the last cursor position. A first click only remembers the
// record and yields the texts of the two range labels (shown in red); a second click sets
// the borders, after which the window recomputes the integral data and repaints.
enum class TBorderClick { Ignored, FirstBorder, BordersSet };
struct TBorderClickResult {
    TBorderClick Kind = TBorderClick::Ignored;
    std::string StartTestText; // FirstBorder: start of the chosen record's interval
    std::string EndTestText;   // FirstBorder: "?"
};
TBorderClickResult SetBorders(TViewState& view, const TMeasurementData& data, const TInstrumentData& raw);

// The double-click: borders 1..N, not selected, the next click a first click. False
// (and nothing changed) without a valid data set.
bool ResetBorders(TViewState& view, const TMeasurementData& data);

// The read-out labels below the diagram for the mouse at x. AddedSensorText is empty
// when the label keeps what it shows (neither pressure nor CO2 measured).
struct TReadOut {
    std::string TimeText;
    std::string RadonText;
    std::string TempText;
    std::string HumText;
    std::optional<std::string> AddedSensorText;
    bool operator==(const TReadOut&) const = default;
};
TReadOut CursorReadOut(const TMeasurementData& data, const TPhysicalUnits& units, const TViewState& view,
                       const TSmoothedSeries& smoothed, Integer mouseX, const TTranslate& translate);

// English item text of a display mode (1..6); empty for another value.
std::string RadonDisplayModeName(Byte mode);

// The display mode whose translated name is `itemText`; 1 when none matches.
Byte DisplayModeFromItemText(const std::string& itemText, const TTranslate& translate);

// A new display mode from the selected item: sets it in the view and re-smooths the
// series for it (also without smoothing, so it is ready when a period is chosen).
Byte ChangeRadonDisplayMode(TViewState& view, TSmoothedSeries& smoothed, const TMeasurementData& data,
                            const std::string& itemText, const TTranslate& translate);

// The smoothing combo box items; the index is the period (0 = none).
constexpr int SmoothingPeriodCount = 7;
std::vector<std::string> SmoothingComboItems(const TTranslate& translate);

// A new period from the combo box index (held to 0..6); with a period of 1 or more the
// series is smoothed anew for the display mode.
void SmoothingPeriodChanged(TSmoothedSeries& smoothed, int itemIndex, Byte displayMode,
                            const TMeasurementData& data);

// The unit button: the system it switches to and the caption naming the next one.
struct TUnitSwitch {
    Byte System = UnitsSI;
    std::string Caption;
};
TUnitSwitch NextUnitSystem(Byte selectedUnits, const TTranslate& translate);

// Switches the units and, with a valid evaluated set, evaluates it afresh from the raw
// records and smooths the displayed quantity anew. `caption` gets the button's new
// caption. True when the data were re-evaluated (the window then recomputes the
// integral data and repaints).
bool ChangeUnits(TPhysicalUnits& units, std::string& caption, const TInstrumentData& raw,
                 TMeasurementData& data, TSmoothedSeries& smoothed, Byte displayMode,
                 const TTranslate& translate);

// The service switch of the ZigBee cut button, stepped by double-clicks on "Time:".
enum class TCutButtonState { Hidden, Cut, Reset };
TCutButtonState NextCutButtonState(TCutButtonState state);
bool CutButtonVisible(TCutButtonState state);
std::string CutButtonCaption(TCutButtonState state, const TTranslate& translate); // empty when hidden

} // namespace lumetra
