#pragma once
// The alpha spectrum window without a toolkit: the count sums of the regions of
// interest, the plot geometry, the bars and the region marks with their texts. The
// paint code only draws what these return.
// Coordinates are those of the paint box: x from 0 at its left edge, y growing
// downwards. Rectangles cover Left .. Right - 1 and Top .. Bottom - 1, as a filled
// rectangle with a one-pixel outline does.

#include "core/GlobalDefinitions.h"
#include "core/UserInterface.h"

#include <string>
#include <vector>

namespace lumetra {

// The count sum of each region of interest, ROI 1 to 5.
using TROISums = Array1<Int64, 5>;

// English label of the nuclide whose alpha line ROI `roi` covers: the Dosika family
// has five ROIs from Rn-222 up, the Halvo family four from Po-218 up. Empty for a ROI
// the family does not have.
std::string NuclideLabel(Byte family, Integer roi);

// The sums as the window computes them for a new spectrum: Dosika family ROI i over
// channels ROILimits[i].LowerLimit .. UpperLimit, Halvo family ROI i over channels
// ROILevel[i] + 1 .. ROILevel[i + 1]. Both end channels count; channels outside the
// spectrum's 60 count as empty. Any other family leaves the sums as they were.
void CalculateROISums(const TInstrumentHeader& header, const TDosikaSpectrum& spectrum, TROISums& sums);

struct TSpectrumGeometry {
    Integer ChannelCount = 0; // n: the spectrum's Size, held to 0..60
    Integer Step = 0;         // width of one channel: Round(0.98 W) div n
    Integer PlotWidth = 0;    // PW = step × n
    Integer PlotHeight = 0;   // PH = Round(0.95 H)
    Integer Left = 0;         // x0 = (W - PW) div 2
    Integer Top = 0;          // y0 = (H - PH) div 2
    Integer Baseline = 0;     // yB = y0 + PH
    bool operator==(const TSpectrumGeometry&) const = default;
};

// The plot in a paint box of width × height for `channelCount` channels. Without
// channels the step is 0 (and nothing but the background is drawn).
TSpectrumGeometry SpectrumGeometry(Integer width, Integer height, Integer channelCount);

struct TSpectrumRect {
    Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TSpectrumRect&) const = default;
};

// The white plot frame with its black outline: (x0 - 1, y0 - 1) to (x0 + PW + 1, yB + 1).
TSpectrumRect SpectrumFrame(const TSpectrumGeometry& g);

// One bar per channel that has both width and height, from the baseline up to
// Round(count × PH / m), m the largest count: channel i spans x from (i - 1) step + x0
// to i step + x0. A spectrum without a positive count has no bars.
struct TSpectrumBar {
    Integer Channel = 0;
    TSpectrumRect Rect;
    bool operator==(const TSpectrumBar&) const = default;
};
std::vector<TSpectrumBar> SpectrumBars(const TSpectrumGeometry& g, const TDosikaSpectrum& spectrum);

// A text drawn with its top left corner at (X, Y).
struct TSpectrumText {
    Integer X = 0;
    Integer Y = 0;
    std::string Text;
    bool Red = false; // the count sums; the others are black
    bool operator==(const TSpectrumText&) const = default;
};

// The x at which a text `textWidth` pixels wide is drawn: its place, moved left only as
// far as needed to end 2 pixels inside an area `areaWidth` wide (the last Dosika region
// lies at the right edge of the plot), and never left of 0.
Integer TextLeftInside(Integer x, Integer textWidth, Integer areaWidth);

// "Spectrum Offset " + Offset + " Channels" at (x0 + 10, yB - 15).
TSpectrumText SpectrumOffsetText(const TSpectrumGeometry& g, Byte offset, const TTranslate& translate);

// One region boundary or region: its vertical lines (each from yB up to y0) and its
// texts, nuclide, channel range and count sum.
struct TSpectrumMark {
    std::vector<Integer> LineX;
    std::vector<TSpectrumText> Texts;
};

// The marks in drawing order. Dosika family: per ROI lines at the left edge of its
// lower and the right edge of its upper channel, texts at that left edge + 10 in rows
// y0 + 15, 30, 45 for odd ROIs and y0 + 75, 90, 105 for even ones. Halvo family: a line
// at each of the five boundaries, texts right of the first four in rows y0 + 15, 30, 45.
// Any other family: no marks.
std::vector<TSpectrumMark> SpectrumMarks(const TSpectrumGeometry& g, const TInstrumentHeader& header,
                                         const TROISums& sums, const TTranslate& translate);

} // namespace lumetra
