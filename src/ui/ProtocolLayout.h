#pragma once
// The measurement protocol's geometry and texts, without a printer: the usable area of a
// page, the section heights by instrument, the placement of the sections down the pages,
// the time-axis and grid steps, the spectrum's bar width, the comment's line breaking,
// the legend titles and the RESULTS rows. The drawing code only draws what these say.
// Coordinates are printer pixels; rounding is to the nearest integer, halves to even.

#include "core/BasicTypes.h"
#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"
#include "evaluation/IntegralData.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// The usable area of a page whose drawable rectangle is width x height pixels.
struct TPageArea {
    Integer X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;
    Integer Width() const { return X1 - X0; }
    Integer Height() const { return Y1 - Y0; }
};

TPageArea UsableArea(Integer width, Integer height);

// Fractions of the usable height (heights, offsets) or width (widths).
struct TPrintLayout {
    Real MainDiagramHeight = 0;
    Real ClimateDiagramHeight = 0;
    Real SpectrumHeight = 0;
    Real CommentHeight = 0;
    Real ResultsHeight = 0;
    Real TopOffset = 0;
    Real SectionGap = 0;
    Real PlotWidth = 0;
    Real BoxWidth = 0;
    bool operator==(const TPrintLayout&) const = default;
};

TPrintLayout SelectPrintLayout(Byte deviceFamily, Byte deviceType);

// The horizontal places and the gap derived from a layout on a page.
struct TSectionGeometry {
    Integer PlotWidth = 0; // pw
    Integer PlotLeft = 0;  // px, the plots end at x1
    Integer BoxWidth = 0;  // bw
    Integer BoxLeft = 0;   // bx
    Integer Gap = 0;       // g
};

TSectionGeometry SectionGeometry(const TPageArea& area, const TPrintLayout& layout);

// Nearest integer, halves to even.
Integer RoundHalfEvenPixels(Real value);

// The height of a section of `fraction` of the usable height.
Integer SectionHeight(const TPageArea& area, Real fraction);

// The sections flow down the pages: a section that does not end above y1 starts a new
// page at y0.
class TPlacementCursor {
public:
    TPlacementCursor(const TPageArea& area, const TPrintLayout& layout);
    struct TPlace {
        Integer Top = 0;
        bool NewPage = false; // the footer is printed and a page begun before it
    };
    TPlace Place(Integer height);
    Integer Cursor() const { return Position; }

private:
    TPageArea Area;
    Integer Gap = 0;
    Integer Position = 0;
};

// The line step of a font: 1.1 times its character height, rounded.
Integer LineStep(Integer characterHeight);

// Minutes between the time ticks of a range of `totalMinutes` whose shortest sample
// interval is `shortestInterval`: a tenth of the range, raised to a multiple of the
// interval; at least 1.
Integer TimeTickStep(Integer totalMinutes, Integer shortestInterval);

// The step of the concentration grid for an axis up to `maximum` (10 when it is 0).
Real ProtocolGridStep(Real maximum);

// The spectrum's bar width: the plot width divided by the channels (integer division);
// 0 for no channels.
Integer SpectrumBarWidth(Integer plotWidth, Integer channels);

// The comment broken into lines of at most `maxWidth` as `measure` gives the printed
// width of a text: each line is the longest prefix of the rest that fits (at least one
// character, so a character wider than the box still makes progress). Breaks fall
// between any two characters (UTF-8 sequences are kept whole).
std::vector<std::string> BreakCommentLines(const std::string& comment, Integer maxWidth,
                                           const std::function<Integer(const std::string&)>& measure);

// The legend title of a display mode: "Radon", "Radon*", "Thoron", "EEC", "PAEC(Rn)",
// "PAEC(Tn)" (English; translated by the caller).
std::string ProtocolLegendTitle(Byte displayMode);

// The four rows of the RESULTS box, four columns each (already translated).
using TResultsRows = std::array<std::array<std::string, 4>, 4>;
TResultsRows ProtocolResultsRows(const TIntegralData& integral, const TInstrumentData& raw, Byte displayMode,
                                 const TPhysicalUnits& units, const TTranslate& translate);

} // namespace lumetra
